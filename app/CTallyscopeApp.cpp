#include "app/CTallyscopeApp.h"

#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"
#include "doc/CTallyscopeDoc.h"
#include "platform/app/CDocTemplate.h"
#include "res/Resource.h"
#include "view/CTallyscopeView.h"

CTallyscopeApp theApp;

const MessageMap* CTallyscopeApp::ThisMessageMap() {
    static const MessageMap map(CWinApp::ThisMessageMap(),
                                {
                                    MapCommand<&CTallyscopeApp::OnAppAbout>(ID_APP_ABOUT),
                                    MapCommand<&CWinApp::OnFileNew>(ID_FILE_NEW),
                                    MapCommand<&CWinApp::OnFileOpen>(ID_FILE_OPEN),
                                    MapCommand<&CWinApp::OnFilePrintSetup>(ID_FILE_PRINT_SETUP),
                                });
    return &map;
}

BOOL CTallyscopeApp::InitInstance() {
    SetRegistryKey("Local AppWizard-Generated Applications");
    LoadStdProfileSettings(4); // the recent-file list

    AddDocTemplate(new CSingleDocTemplate(IDR_MAIN, RUNTIME_CLASS(CTallyscopeDoc), RUNTIME_CLASS(CMainFrame),
                                          RUNTIME_CLASS(CTallyscopeView)));

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (!ProcessShellCommand(cmdInfo))
        return FALSE;

    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();

    static_cast<CMainFrame*>(m_pMainWnd)->CreateZoomWindow();
    return TRUE;
}

void CTallyscopeApp::OnAppAbout() {
    CAboutDlg aboutDlg;
    aboutDlg.DoModal();
}

#include "app/CTallyscopeApp.h"

#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"
#include "app/WorkFileCommands.h"
#include "app/WorkRecovery.h"
#include "doc/CTallyscopeDoc.h"
#include "pdf/PdfOpening.h"
#include "platform/app/CDocTemplate.h"
#include "platform/picture/PdfPageRenderer.h"
#include "res/Resource.h"
#include "view/CTallyscopeView.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSessionManager>

CTallyscopeApp theApp;

const MessageMap* CTallyscopeApp::ThisMessageMap() {
    static const MessageMap map(CWinApp::ThisMessageMap(),
                                {
                                    MapCommand<&CTallyscopeApp::OnAppAbout>(ID_APP_ABOUT),
                                    MapCommand<&CWinApp::OnFileNew>(ID_FILE_NEW),
                                    MapCommand<&CWinApp::OnFileOpen>(ID_FILE_OPEN),
                                    MapCommand<&CWinApp::OnFilePrintSetup>(ID_FILE_PRINT_SETUP),
                                    MapCommand<&CTallyscopeApp::OnWorkSave>(ID_WORK_SAVE),
                                    MapUpdate<&CTallyscopeApp::OnUpdateWorkSave>(ID_WORK_SAVE),
                                    MapCommand<&CTallyscopeApp::OnWorkOpen>(ID_WORK_OPEN),
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
    m_bStarting = TRUE;
    const BOOL processed = ProcessShellCommand(cmdInfo);
    m_bStarting = FALSE;
    if (!processed)
        return FALSE;

    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();

    static_cast<CMainFrame*>(m_pMainWnd)->CreateZoomWindow();

    // Work left by a program that did not end normally is offered once the windows are there.
    auto* doc = static_cast<CTallyscopeDoc*>(static_cast<CMainFrame*>(m_pMainWnd)->GetActiveDocument());
    doc->StartJournal();
    WorkRecovery::OfferAtStart(*doc);
    static const QMetaObject::Connection session =
        QObject::connect(qApp, &QGuiApplication::commitDataRequest, qApp, [](QSessionManager& manager) {
            if (!theApp.CommitSessionData(manager.allowsInteraction() ? TRUE : FALSE))
                manager.cancel();
            manager.release();
        });
    return TRUE;
}

CDocument* CTallyscopeApp::OpenDocumentFile(LPCTSTR lpszFileName) {
    auto* frame = dynamic_cast<CMainFrame*>(m_pMainWnd);
    auto* before = frame != nullptr ? static_cast<CTallyscopeDoc*>(frame->GetActiveDocument()) : nullptr;
    const int opensBefore = before != nullptr ? before->GetOpenCount() : 0;
    CDocument* document = OpenWithPageChoice(lpszFileName) ? OpenAgain(lpszFileName)
                                                            : CWinApp::OpenDocumentFile(lpszFileName);
    auto* doc = static_cast<CTallyscopeDoc*>(document);
    // A file that was already open is only brought forward: nothing new to offer.
    if (doc != nullptr && !m_bStarting && (doc != before || doc->GetOpenCount() != opensBefore))
        WorkRecovery::OfferForPicture(*doc);
    return document;
}

CString CTallyscopeApp::GetMoreOpenFilters() const {
    return PdfOpening::OpenFilters();
}

// Naming the PDF that is open asks for a page again, rather than only bringing the window forward.
bool CTallyscopeApp::OpenWithPageChoice(LPCTSTR lpszFileName) {
    return lpszFileName != nullptr && *lpszFileName != '\0' && GetFirstDocTemplate() != nullptr &&
           PdfPageRenderer::IsPdfFile(QString::fromUtf8(lpszFileName));
}

CDocument* CTallyscopeApp::OpenAgain(LPCTSTR lpszFileName) {
    const QString fullPath = QDir::cleanPath(QFileInfo(QString::fromUtf8(lpszFileName)).absoluteFilePath());
    return GetFirstDocTemplate()->OpenDocumentFile(fullPath.toUtf8().constData());
}

BOOL CTallyscopeApp::CommitSessionData(BOOL bInteractionAllowed) {
    auto* frame = dynamic_cast<CMainFrame*>(m_pMainWnd);
    auto* doc = frame != nullptr ? static_cast<CTallyscopeDoc*>(frame->GetActiveDocument()) : nullptr;
    if (doc == nullptr || !doc->IsModified())
        return TRUE;
    if (!bInteractionAllowed) {
        doc->FlushJournal();
        return TRUE;
    }
    if (!doc->SaveModified())
        return FALSE;
    if (doc->IsModified())
        doc->DiscardJournal(); // answered No: the session ends without the work
    return TRUE;
}

void CTallyscopeApp::OnAppAbout() {
    CAboutDlg aboutDlg;
    aboutDlg.DoModal();
}

namespace {
CTallyscopeDoc* ActiveDocument() {
    auto* frame = dynamic_cast<CMainFrame*>(theApp.m_pMainWnd);
    return frame != nullptr ? static_cast<CTallyscopeDoc*>(frame->GetActiveDocument()) : nullptr;
}
} // namespace

void CTallyscopeApp::OnWorkSave() {
    if (CTallyscopeDoc* doc = ActiveDocument(); doc != nullptr && doc->m_pPicture != nullptr)
        WorkFileCommands::Save(*doc);
}

void CTallyscopeApp::OnWorkOpen() {
    WorkFileCommands::Open();
}

void CTallyscopeApp::OnUpdateWorkSave(CCmdUI* pCmdUI) {
    const CTallyscopeDoc* doc = ActiveDocument();
    pCmdUI->Enable(doc != nullptr && doc->m_pPicture != nullptr);
}

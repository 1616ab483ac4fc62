#pragma once
// The application object: the start-up sequence, and the About box command.

#include "platform/app/CWinApp.h"

class CTallyscopeApp : public CWinApp {
    DECLARE_MESSAGE_MAP()
public:
    CTallyscopeApp() = default;

    BOOL InitInstance() override;
    // Opens the picture as the framework does, then offers back work a program that did not end
    // normally left on it. A PDF opens even when it is the open one, for another page.
    CDocument* OpenDocumentFile(LPCTSTR lpszFileName) override;
    // The desktop session is ending (logout, shutdown). With unexported work the user is asked, as
    // on closing, where the session allows it; else the work goes to the journal for the next
    // start. FALSE when the user chose to stay, and the session should not end.
    BOOL CommitSessionData(BOOL bInteractionAllowed) override;
    void OnAppAbout();
    // The work file's commands (WorkFileCommands); saving needs a picture.
    void OnWorkSave();
    void OnWorkOpen();
    void OnUpdateWorkSave(CCmdUI* pCmdUI);

protected:
    // PDF files, then every picture and PDF, after the seed's picture entry.
    CString GetMoreOpenFilters() const override;

private:
    bool OpenWithPageChoice(LPCTSTR lpszFileName);
    CDocument* OpenAgain(LPCTSTR lpszFileName);

    BOOL m_bStarting = FALSE;
};

extern CTallyscopeApp theApp;

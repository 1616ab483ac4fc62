#pragma once
// Layer app: the document/view architecture (documents, views, frames and their bars, document
// templates) and the application object. It rests on ui and the layers beneath.
//
// The framework's application object: exactly one per process (AfxGetApp), constructed before the
// program's entry. AfxWinMain makes the QApplication, runs InitInstance once, then the message loop
// until the main window is destroyed, then ExitInstance. The object owns the document templates
// and the profile store (ProfileStore) with its recent-file list, and handles the standard application
// commands: the recent files and exit (file new and open are mapped by the program's own class).

#include "platform/core/CCmdTarget.h"
#include "platform/core/CString.h"
#include "platform/core/ProfileStore.h"

#include <memory>
#include <optional>
#include <vector>

class CDocTemplate;
class CDocument;
class CRecentFileList;
class CWnd;

// What the command line asks for: no argument makes a new document, one file name opens it.
// Arguments that begin with "-" are flags; none of the framework's flags means anything here.
class CCommandLineInfo : public CObject {
public:
    enum ShellCommand { FileNew, FileOpen, FileNothing = -1 };

    // One argument; a flag arrives without its leading "-".
    virtual void ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast);

    ShellCommand m_nShellCommand = FileNew;
    CString m_strFileName;
};

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
    DECLARE_MESSAGE_MAP()
public:
    // Without a name the application takes string AFX_IDS_APP_TITLE.
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    // The message loop; returns the exit code it ended with.
    virtual int Run();
    // Closes every document, destroys the remaining windows and forgets the templates; returns the
    // program's exit code.
    virtual int ExitInstance();
    // The desktop session or the system asks the program to end. Where the user may be asked,
    // unsaved work may be kept or let go, or the end refused (FALSE); where not, the work is put
    // where the next start finds it. The framework itself keeps nothing.
    virtual BOOL CommitSessionData(BOOL bInteractionAllowed);
    // A signal asked the program to end (EndingSignals): the work is put aside without a question,
    // then the message loop ends as after the main window closed, an open question unanswered.
    void EndOnRequest();

    // Puts the profile store under this key (an organisation name) instead of a file of its own.
    void SetRegistryKey(LPCTSTR lpszRegistryKey);
    // Reads the recent-file list, nMaxMRU entries long (0: no list).
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    // The application owns the template from now on.
    void AddDocTemplate(CDocTemplate* pTemplate);
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    // FALSE when the command line's request failed (no main window, or the file did not open).
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
    // Opens the file through the template (a file that is already open is only brought forward).
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
    virtual void AddToRecentFileList(LPCTSTR lpszPathName);
    void CloseAllDocuments(BOOL bEndSession);
    // Asks every document whether it may be closed (the main window closing, exit); FALSE when one
    // must stay, and then nothing is closed.
    BOOL SaveAllModified();
    // The command line's arguments after the program's name; the process's own unless set here.
    void SetCommandLine(std::vector<CString> arguments) { m_commandLine = std::move(arguments); }

    // The profile store: one value per section and entry. Writing a null value removes the entry.
    CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr) const;
    BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);

    void OnFileNew();
    // The Open dialog, offering the first template's filter (first, and chosen), the program's
    // further entries, then all files; then OpenDocumentFile. The dialog opens
    // in the folder it last gave a file from; before it has, in the open picture's folder, else in
    // the current folder.
    void OnFileOpen();
    // The Open dialog's filter: the first template's documents as one entry, then all files.
    CString GetOpenFilter() const;
    // The printer setup dialog; the printer chosen holds for the rest of the run.
    void OnFilePrintSetup();
    // Opens recent file nID - ID_FILE_MRU_FILE1; a file that fails to open leaves the list, one
    // that was not opened because the open document had to stay keeps its place.
    void OnOpenRecentFile(UINT nID);
    void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);
    void OnAppExit();

    const CString& GetAppName() const { return m_strAppName; }
    const CString& GetRegistryKey() const { return m_profile.GetRegistryKey(); }
    CDocTemplate* GetFirstDocTemplate() const {
        return m_templates.empty() ? nullptr : m_templates.front().get();
    }

    CWnd* m_pMainWnd = nullptr;
    CRecentFileList* m_pRecentFileList = nullptr;

protected:
    // Entries the Open dialog offers after the template's own and before all files, in the
    // framework's filter form ("Name|*.a;*.b|"); none unless the program adds some.
    virtual CString GetMoreOpenFilters() const { return CString(); }

private:
    CString OpenDialogFolder() const;

    CString m_strAppName;
    ProfileStore m_profile;
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    std::optional<std::vector<CString>> m_commandLine;
    CString m_strLastOpenFolder;
    CWinApp* m_pPreviousApp;
    BOOL m_bEndRequested = FALSE;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// The program's entry: QApplication, InitInstance (a failure exits with status 1 and no window
// left), the message loop, ExitInstance.
int AfxWinMain(int argc, char** argv);

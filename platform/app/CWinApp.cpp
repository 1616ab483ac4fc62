#include "platform/app/CWinApp.h"

#include "platform/app/CDocTemplate.h"
#include "platform/app/CDocument.h"
#include "platform/app/CFrameWnd.h"
#include "platform/app/CRecentFileList.h"
#include "platform/app/EndingSignals.h"
#include "platform/core/AfxGlobals.h"
#include "platform/core/AfxStandardIds.h"
#include "platform/picture/PdfPageRenderer.h"
#include "platform/picture/PicturePrefetch.h"
#include "platform/res/AfxResource.h"
#include "platform/res/ResourceBuilder.h"
#include "platform/ui/ApplicationStyle.h"
#include "platform/ui/FrameworkLocale.h"
#include "platform/ui/ModalHost.h"
#include "platform/ui/QtModalHost.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QPixmap>
#include <QStyle>

#include <algorithm>
#include <cstdlib>

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

namespace {
CWinApp* g_pApp = nullptr;

} // namespace

const MessageMap* CWinApp::ThisMessageMap() {
    static const MessageMap map(
        CCmdTarget::ThisMessageMap(),
        {
            MapCommand<&CWinApp::OnOpenRecentFile>(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16),
            MapUpdate<&CWinApp::OnUpdateRecentFileMenu>(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16),
            MapCommand<&CWinApp::OnAppExit>(ID_APP_EXIT),
        });
    return &map;
}

void CCommandLineInfo::ParseParam(const char* pszParam, BOOL bFlag, BOOL) {
    if (bFlag || m_nShellCommand == FileOpen)
        return;
    m_strFileName = pszParam;
    m_nShellCommand = FileOpen;
}

CWinApp::CWinApp(LPCTSTR lpszAppName)
    : m_strAppName(lpszAppName != nullptr ? CString(lpszAppName) : AfxLoadString(AFX_IDS_APP_TITLE)),
      m_profile(m_strAppName), m_pPreviousApp(g_pApp) {
    g_pApp = this;
    // Dialogs that work on "the active document" find it through the main window.
    AfxSetActiveDocumentSource([] {
        auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
        return frame != nullptr ? frame->GetActiveDocument() : nullptr;
    });
}

namespace {
// Set while the message loop runs. Some libraries end the process with exit() from inside the loop:
// Qt's X11 backend does when the connection to the display breaks (a logout, the X server gone).
// Static objects are then destroyed while every window still exists, in no order the framework
// chose, so the application object must not close its windows on the way out.
bool g_loopRunning = false;

// Registered just before the loop starts, so that it runs before the objects made until then are
// destroyed: the work is put aside while everything it needs is still there.
void PutWorkAsideWhenEndingInsideTheLoop() {
    if (CWinApp* app = AfxGetApp(); app != nullptr && g_loopRunning)
        app->CommitSessionData(FALSE);
}
} // namespace

CWinApp::~CWinApp() {
    if (g_loopRunning) {
        // Ended from inside the loop: the documents and their windows are let go, not closed, since
        // what they refer to may be gone already; the process ends in a moment and frees it all.
        for (std::unique_ptr<CDocTemplate>& docTemplate : m_templates)
            static_cast<void>(docTemplate.release());
        m_pRecentFileList = nullptr;
    }
    m_templates.clear();
    delete m_pRecentFileList;
    if (g_pApp == this)
        g_pApp = m_pPreviousApp;
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

CWnd* AfxGetMainWnd() {
    return g_pApp != nullptr ? g_pApp->m_pMainWnd : nullptr;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::Run() {
    // A request to end that came while the program started (a question at start runs a loop of
    // its own) is answered here: the loop never starts.
    if (m_bEndRequested)
        return 0;
    return QApplication::exec();
}

BOOL CWinApp::CommitSessionData(BOOL) {
    return TRUE;
}

void CWinApp::EndOnRequest() {
    CommitSessionData(FALSE);
    m_bEndRequested = TRUE;
    QCoreApplication::exit(0);
}

int CWinApp::ExitInstance() {
    CloseAllDocuments(TRUE);
    if (auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd))
        frame->DestroyWindow();
    m_pMainWnd = nullptr;
    m_templates.clear();
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    m_strLastOpenFolder.Empty();
    // Windows destroyed above go with their widgets now, while Qt is still there to delete them.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}

void CWinApp::SetRegistryKey(LPCTSTR lpszRegistryKey) {
    m_profile.SetRegistryKey(lpszRegistryKey);
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
    delete m_pRecentFileList;
    m_pRecentFileList = nullptr;
    if (nMaxMRU == 0)
        return;
    m_pRecentFileList =
        new CRecentFileList(ID_FILE_MRU_FILE1, "Recent File List", "File%d", static_cast<int>(nMaxMRU));
    m_pRecentFileList->ReadList();
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
    m_templates.emplace_back(pTemplate);
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
    std::vector<CString> arguments;
    if (m_commandLine) {
        arguments = *m_commandLine;
    } else {
        const QStringList processArguments = QCoreApplication::arguments();
        for (qsizetype i = 1; i < processArguments.size(); ++i)
            arguments.emplace_back(processArguments[i].toUtf8().constData());
    }
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const CString& argument = arguments[i];
        const bool flag = argument.GetLength() > 1 && argument.GetString()[0] == '-';
        rCmdInfo.ParseParam(flag ? argument.GetString() + 1 : argument.GetString(), flag ? TRUE : FALSE,
                            i + 1 == arguments.size() ? TRUE : FALSE);
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        if (!OnCmdMsg(ID_FILE_NEW, nullptr))
            OnFileNew();
        return m_pMainWnd != nullptr ? TRUE : FALSE;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr ? TRUE : FALSE;
    case CCommandLineInfo::FileNothing:
        return TRUE;
    }
    return FALSE;
}

CDocument* CWinApp::OpenDocumentFile(LPCTSTR lpszFileName) {
    if (lpszFileName == nullptr || *lpszFileName == '\0' || m_templates.empty())
        return nullptr;
    const QString fullPath = QDir::cleanPath(QFileInfo(QString::fromUtf8(lpszFileName)).absoluteFilePath());
    const CString path(fullPath.toUtf8().constData());
    for (const auto& docTemplate : m_templates) {
        if (CDocument* open = docTemplate->FindOpenDocument(path)) {
            if (auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd))
                frame->ActivateFrame();
            return open;
        }
    }
    return m_templates.front()->OpenDocumentFile(path);
}

void CWinApp::AddToRecentFileList(LPCTSTR lpszPathName) {
    if (m_pRecentFileList != nullptr)
        m_pRecentFileList->Add(lpszPathName);
}

void CWinApp::CloseAllDocuments(BOOL bEndSession) {
    for (const auto& docTemplate : m_templates)
        docTemplate->CloseAllDocuments(bEndSession);
}

BOOL CWinApp::SaveAllModified() {
    for (const auto& docTemplate : m_templates) {
        if (!docTemplate->SaveAllModified())
            return FALSE;
    }
    return TRUE;
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault) const {
    return m_profile.GetString(lpszSection, lpszEntry, lpszDefault);
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue) {
    return m_profile.WriteString(lpszSection, lpszEntry, lpszValue);
}

void CWinApp::OnFileNew() {
    if (CDocTemplate* docTemplate = GetFirstDocTemplate())
        docTemplate->OpenDocumentFile(nullptr);
}

void CWinApp::OnFilePrintSetup() {
    AfxGetModalHost().PrintSetup();
}

void CWinApp::OnFileOpen() {
    CDocTemplate* docTemplate = GetFirstDocTemplate();
    if (docTemplate == nullptr)
        return;
    FileDialogRequest request;
    request.openFile = true;
    request.flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
    request.title = AfxLoadString(AFX_IDS_OPENFILE);
    request.filter = GetOpenFilter();
    request.initialDir = OpenDialogFolder();
    CString path;
    if (AfxGetModalHost().FileDialog(request, path) != IDOK)
        return;
    m_strLastOpenFolder = QFileInfo(QString::fromUtf8(path.GetString())).absolutePath().toUtf8().constData();
    OpenDocumentFile(path);
}

// The filter extension lists several patterns; "*" in front of it makes them one entry. The
// framework's all-files entry follows, so that a picture of any other name can be seen too.
CString CWinApp::GetOpenFilter() const {
    CString filter;
    CString filterName;
    CString filterExt;
    CDocTemplate* docTemplate = GetFirstDocTemplate();
    if (docTemplate != nullptr && docTemplate->GetDocString(filterName, CDocTemplate::filterName) &&
        !filterName.IsEmpty() && docTemplate->GetDocString(filterExt, CDocTemplate::filterExt) &&
        !filterExt.IsEmpty())
        filter = filterName + "|*" + filterExt + "|";
    filter += GetMoreOpenFilters();
    filter += AfxLoadString(AFX_IDS_ALLFILTER) + "|*.*||";
    return filter;
}

CString CWinApp::OpenDialogFolder() const {
    QStringList candidates{QString::fromUtf8(m_strLastOpenFolder.GetString())};
    auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd);
    CDocument* document = frame != nullptr ? frame->GetActiveDocument() : nullptr;
    if (document != nullptr && !document->GetPathName().IsEmpty())
        candidates.append(QFileInfo(QString::fromUtf8(document->GetPathName().GetString())).absolutePath());
    // A folder removed since then is passed over rather than left to the dialog to guess about.
    for (const QString& folder : candidates) {
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return CString(folder.toUtf8().constData());
    }
    return CString(QDir::currentPath().toUtf8().constData());
}

void CWinApp::OnOpenRecentFile(UINT nID) {
    const int index = static_cast<int>(nID - ID_FILE_MRU_FILE1);
    if (m_pRecentFileList == nullptr || index >= m_pRecentFileList->GetCount())
        return;
    const CString path = (*m_pRecentFileList)[index];
    CDocTemplate* docTemplate = GetFirstDocTemplate();
    if (OpenDocumentFile(path) == nullptr && !(docTemplate != nullptr && docTemplate->WasLastOpenDeclined()))
        m_pRecentFileList->Remove(index);
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI) {
    const int index = static_cast<int>(pCmdUI->m_nID - ID_FILE_MRU_FILE1);
    pCmdUI->Enable(m_pRecentFileList != nullptr && index < m_pRecentFileList->GetCount());
}

void CWinApp::OnAppExit() {
    if (auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd))
        frame->OnClose();
}

namespace {
// Decoding a large picture takes about as long as building the windows, so a picture named on the
// command line is decoded on a worker thread meanwhile; the open step of start-up takes it. A
// picture nobody took is waited for and dropped before Qt goes. A PDF is not decoded ahead: its
// page and resolution are chosen when it opens.
class CommandLinePrefetch {
public:
    explicit CommandLinePrefetch(CWinApp& app) {
        CCommandLineInfo commandLine;
        app.ParseCommandLine(commandLine);
        const QString path = QString::fromUtf8(commandLine.m_strFileName.GetString());
        if (commandLine.m_nShellCommand == CCommandLineInfo::FileOpen && !PdfPageRenderer::IsPdfFile(path))
            PicturePrefetch::Begin(path);
    }
    ~CommandLinePrefetch() { PicturePrefetch::Discard(); }
    CommandLinePrefetch(const CommandLinePrefetch&) = delete;
    CommandLinePrefetch& operator=(const CommandLinePrefetch&) = delete;
};
} // namespace

namespace {
// The program's own icon is its icon resource with the lowest id, as the system picks it for a
// program's file.
const IconResource* ProgramIcon(const ResourceModule& resources) {
    const auto icon = std::min_element(resources.icons.begin(), resources.icons.end(),
                                       [](const IconResource& a, const IconResource& b) { return a.id < b.id; });
    return icon != resources.icons.end() ? &*icon : nullptr;
}
} // namespace

namespace {
// On X11 Qt hands a window's new pixels to the server through shared memory, but must then wait
// for the server before it paints the same place again: two round trips for every mouse move, which
// repaints the read-outs in both windows. Sending the few changed pixels over the connection costs
// less for moves and the same for clicks, and works on a remote display as well; only a scroll,
// which sends the whole view, costs a little more. TALLYSCOPE_X11_SHARED_MEMORY=1 keeps shared memory.
void PreferConnectionForWindowPixels() {
    if (qEnvironmentVariableIntValue("TALLYSCOPE_X11_SHARED_MEMORY") != 1 &&
        !qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
}
} // namespace

int AfxWinMain(int argc, char** argv) {
    PreferConnectionForWindowPixels();
    QApplication application(argc, argv);
    QApplication::setStyle(new ApplicationStyle(QApplication::style()->name()));
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return 1;
    const CommandLinePrefetch prefetch(*app);
    QtModalHost modalHost;
    AfxSetModalHost(&modalHost);
    AfxApplyFrameworkLocale();
    // The system (a window manager's task list, say) names the program as its resources do.
    QApplication::setApplicationName(QString::fromUtf8(app->GetAppName().GetString()));
    if (const VersionResource* version = AfxGetResourceModule().version)
        QApplication::setApplicationVersion(QString::fromUtf8(version->FileVersionText().GetString()));
    if (const IconResource* icon = ProgramIcon(AfxGetResourceModule()))
        QApplication::setWindowIcon(QIcon(QPixmap::fromImage(AfxResourcePicture(icon->imagePath))));
    const EndingSignals endingSignals([app](int) { app->EndOnRequest(); });
    if (!app->InitInstance()) {
        app->ExitInstance();
        return 1;
    }
    static const bool watching = std::atexit(PutWorkAsideWhenEndingInsideTheLoop) == 0;
    g_loopRunning = watching;
    const int loopResult = app->Run();
    g_loopRunning = false;
    const int exitResult = app->ExitInstance();
    return loopResult != 0 ? loopResult : exitResult;
}

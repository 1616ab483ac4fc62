#pragma once
// The framework's frame window on a QMainWindow: the menu, accelerators and icon of a resource id,
// control bars (toolbar, status bar) docked at its edges, its views in the middle, and the routing
// of every command that reaches it: active view (and through it the document), the frame's own
// table, then the application object. Menu items and toolbar buttons take their enabled and checked
// states from the update handlers before a menu opens and whenever the event loop falls idle; a
// disabled command is never delivered, by menu, button or key.
//
// Geometry: x, y, cx, cy are those of the whole window, the window manager's title bar and border
// included (OuterGeometry.h).

#include "platform/core/AfxStandardIds.h"
#include "platform/res/DialogTemplate.h"
#include "platform/ui/CWnd.h"

#include <QMetaObject>

#include <functional>
#include <optional>
#include <memory>
#include <vector>

class CControlBar;
class CDocTemplate;
class CDocument;
class CFrameWnd;
class CView;
class CommandActions;
class FrameWidget;
class QAction;
class QMainWindow;
class QMenu;

// Window styles of frames (the child and caption bits come with the dialog templates).
inline constexpr DWORD WS_OVERLAPPED = 0x00000000;
inline constexpr DWORD WS_THICKFRAME = 0x00040000;
inline constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
inline constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
inline constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
inline constexpr DWORD WS_EX_TOPMOST = 0x00000008;
// A tool window: with a parent, it is owned by it and the desktop keeps it above its owner.
inline constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
// The frame's title shows the active document's title, before the frame's own ("doc - app").
inline constexpr DWORD FWS_ADDTOTITLE = 0x00008000;
inline constexpr DWORD FWS_PREFIXTITLE = 0x00004000;
// A position or size left to the system.
inline constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000u);

// A resource named by number rather than by name.
inline LPCTSTR MAKEINTRESOURCE(UINT id) {
    return reinterpret_cast<LPCTSTR>(static_cast<std::uintptr_t>(id));
}
inline bool IS_INTRESOURCE(LPCTSTR name) {
    return (reinterpret_cast<std::uintptr_t>(name) >> 16) == 0;
}

// What a window is created with; PreCreateWindow may change it before the window exists.
struct CREATESTRUCT {
    void* lpCreateParams = nullptr; // the CCreateContext of a frame
    UINT hMenu = 0;                 // the menu's resource id, 0 for none
    CWnd* hwndParent = nullptr;
    int cy = CW_USEDEFAULT;
    int cx = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int x = CW_USEDEFAULT;
    DWORD style = 0;
    LPCTSTR lpszName = nullptr;
    LPCTSTR lpszClass = nullptr;
    DWORD dwExStyle = 0;
};

// What a frame needs to create its view: the view's class and the document it shows.
struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CView* m_pLastView = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
    DECLARE_MESSAGE_MAP()
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // The system's choice of place and size.
    static const CRect rectDefault;

    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                const CRect& rect = rectDefault, CWnd* pParentWnd = nullptr, LPCTSTR lpszMenuName = nullptr,
                DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
    // Creates the frame with the menu, accelerators, icon and title (field 1 of the string) of one id.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    // WM_CREATE: creates the view the creation context names. -1 fails the creation.
    int OnCreate(CREATESTRUCT* lpCreateStruct);

    // Creates a view of the context's class and document; the first pane fills the frame's middle.
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
    CView* GetActiveView() const { return m_pViewActive; }
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CDocument* GetActiveDocument();
    // Makes the first view active, runs every view's OnInitialUpdate and shows the frame.
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    virtual void ActivateFrame(int nCmdShow = -1);
    // Whether one of this frame's views shows the document.
    BOOL ShowsDocument(const CDocument* pDoc) const;

    CWnd* GetMessageBar();
    CControlBar* GetControlBar(UINT nID);
    void EnableDocking(DWORD dwDockStyle);
    void DockControlBar(CControlBar* pBar);
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    // Writes pane 0 of the status bar.
    void SetMessageText(LPCTSTR lpszText);
    void SetMessageText(UINT nID);

    const CString& GetTitle() const { return m_strTitle; }
    void SetTitle(LPCTSTR lpszTitle);
    CString GetWindowTitle() const;
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);

    // Routing: active view (then its document), this frame's table, the application.
    BOOL OnCmdMsg(UINT nID, CCmdUI* pUI) override;
    // Runs the update handlers of every menu item and button and refreshes the recent-file entries
    // and the title; the event loop calls this whenever it falls idle.
    void OnIdleUpdateCmdUI();
    // A file dropped on the frame from a file manager, once DragAcceptFiles allowed drops: brings
    // the frame forward and opens the file through the application, exactly as the Open command's
    // choice is opened. The frame takes a drop of one file that is no folder, as a copy, while no
    // modal window is up; it refuses every other drop (several files, a folder, text) untouched.
    virtual void OnDropFiles(LPCTSTR lpszFileName);
    // The close box or the system asks the frame to close. The main window first asks every
    // document whether it may be closed (and stays when one must), then closes every document
    // (destroying every frame that shows one) before it goes; another frame just goes.
    virtual void OnClose();
    // Takes the frame off the screen, detaches its views from their documents and, for the main
    // window, ends the message loop. The frame object itself is deleted with its widget.
    BOOL DestroyWindow() override;
    // Called once when the frame is destroyed, whoever destroys it.
    void SetDestroyNotify(std::function<void()> notify) { m_destroyNotify = std::move(notify); }

    void OnBarCheck(UINT nID);
    void OnUpdateControlBarMenu(CCmdUI* pCmdUI);

    // For the control bars and the tests: the Qt pieces behind the frame.
    QMainWindow* GetFrameWidget() const;
    // The one action that stands for a command in the menu and on the toolbar, made on first use.
    QAction* GetCommandAction(UINT nID);
    // The actions the accelerator table installed, one per key.
    std::vector<QAction*> GetAcceleratorActions() const;
    // Every frame that exists now, oldest first.
    static std::vector<CFrameWnd*> GetFrames();

protected:
    DWORD m_dwStyle = 0;
    CString m_strTitle;
    // Frames delete themselves with their window unless told otherwise.
    BOOL m_bAutoDelete = TRUE;

private:
    friend class CControlBar;
    friend class FrameWidget;
    friend CFrameWnd* AfxGetParentFrame(const CWnd* pWnd);

    BOOL BuildMenu(UINT nIDResource);
    void BuildAccelerators(UINT nIDResource);
    void OnMenuClosing(const QMenu& popup);
    void UpdateRecentFileMenu();
    void OnIdle();
    void RegisterControlBar(CControlBar* pBar);
    void ExecuteUserCommand(UINT nID);
    void ReleaseWidget();

    FrameWidget* m_pFrameWidget = nullptr;
    QMetaObject::Connection m_idleConnection;
    quint64 m_nIdleGeneration = 0; // the events seen at the last idle update
    DWORD m_dwDockStyle = 0;
    std::unique_ptr<CommandActions> m_pActions;
    std::vector<QAction*> m_acceleratorActions;
    std::vector<std::unique_ptr<CView>> m_views;
    std::vector<CControlBar*> m_controlBars;
    CView* m_pViewActive = nullptr;
    QAction* m_pRecentFileAction = nullptr;
    QMenu* m_pRecentFileMenu = nullptr;
    CString m_strRecentFilePlaceholder;
    // The entries the menu was last made from: the idle update runs after every event and rebuilds
    // the texts only when the list moved.
    std::optional<std::vector<CString>> m_shownRecentFiles;
    std::function<void()> m_destroyNotify;
};

// The frame one of whose views is this window, or null.
CFrameWnd* AfxGetParentFrame(const CWnd* pWnd);

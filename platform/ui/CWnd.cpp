#include "platform/ui/CWnd.h"

#include "platform/gdi/CDC.h"
#include "platform/res/Cursors.h"
#include "platform/ui/IdleTrigger.h"
#include "platform/ui/WndEventBridge.h"

#include <QGuiApplication>
#include <QWidget>

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (m_pBridge != nullptr && m_inputWidget)
        m_inputWidget->removeEventFilter(m_pBridge);
    delete m_pBridge;
}

QWidget* CWnd::GetSafeHwnd() const { return m_hWnd.data(); }

QWidget* CWnd::GetInputWidget() const { return m_inputWidget.data(); }

void CWnd::AttachWidget(QWidget* window, QWidget* input) {
    m_hWnd = window;
    m_inputWidget = input != nullptr ? input : window;
    delete m_pBridge;
    m_pBridge = new WndEventBridge(*this, nullptr);
    m_inputWidget->installEventFilter(m_pBridge);
    m_inputWidget->setMouseTracking(true);
    TakeKeyboardFocusAtInput();
}

// Keys go to the widget that has the focus. Qt hands a scroll area's focus from its viewport to the
// area itself, where no bridge listens and the arrow keys scroll, so the window's key handlers never
// heard a key. The input widget keeps the focus instead, a click into it gives it the focus, and
// focus given to the window (by its frame, or coming back after a dialog or menu) goes on to it.
void CWnd::TakeKeyboardFocusAtInput() {
    m_inputWidget->setFocusPolicy(Qt::StrongFocus);
    if (m_inputWidget == m_hWnd)
        return;
    m_inputWidget->setFocusProxy(nullptr);
    m_hWnd->setFocusProxy(m_inputWidget);
}

void CWnd::DragAcceptFiles(BOOL bAccept) {
    if (m_hWnd)
        m_hWnd->setAcceptDrops(bAccept != FALSE);
}

void CWnd::Invalidate(BOOL bErase) { InvalidateRect(nullptr, bErase); }

void CWnd::InvalidateRect(const CRect* rect, BOOL) {
    QWidget* target = m_inputWidget ? m_inputWidget.data() : m_hWnd.data();
    if (target == nullptr)
        return;
    IdleTrigger::Touch(); // what a window shows changed, and with it perhaps what commands may do
    if (rect == nullptr)
        target->update();
    else
        target->update(rect->left, rect->top, rect->Width(), rect->Height());
}

void CWnd::UpdateWindow() {
    if (QWidget* target = m_inputWidget ? m_inputWidget.data() : m_hWnd.data())
        target->repaint();
}

void CWnd::GetClientRect(CRect* rect) const {
    const QWidget* target = m_inputWidget ? m_inputWidget.data() : m_hWnd.data();
    *rect = target ? CRect(0, 0, target->width(), target->height()) : CRect();
}

int CWnd::GetScrollPos(int) const { return 0; }

CDC* CWnd::GetDC() {
    auto* dc = new CDC;
    dc->AttachSurface(GetDrawingSurface());
    return dc;
}

int CWnd::ReleaseDC(CDC* pDC) {
    if (pDC == nullptr)
        return 0;
    const bool drewOnSurface = pDC->GetSurface() != nullptr;
    delete pDC;
    if (drewOnSurface)
        PresentDrawingSurface();
    return 1;
}

void CWnd::PresentDrawingSurface() {
    Invalidate(FALSE);
}

BOOL CWnd::SendMouseMessage(UINT message, UINT nFlags, CPoint point) {
    if (const MessageMapEntry* e = FindMessageEntry(message)) {
        std::get<msgmap::MouseFn>(e->handler)(*this, nFlags, point);
        return TRUE;
    }
    Default();
    return FALSE;
}

BOOL CWnd::SendKeyMessage(UINT message, UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (const MessageMapEntry* e = FindMessageEntry(message)) {
        std::get<msgmap::KeyFn>(e->handler)(*this, nChar, nRepCnt, nFlags);
        return TRUE;
    }
    Default();
    return FALSE;
}

BOOL CWnd::SendSetCursor() {
    AfxSetCursorWindow(GetInputWidget());
    if (const MessageMapEntry* e = FindMessageEntry(WM_SETCURSOR))
        return std::get<msgmap::SetCursorFn>(e->handler)(*this, this, 1 /*HTCLIENT*/, WM_MOUSEMOVE);
    return OnSetCursor(this, 1, WM_MOUSEMOVE);
}

LRESULT CWnd::Default() { return 0; }

BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) {
    AfxSetCursorWindow(GetInputWidget());
    SetCursor(nullptr);
    return FALSE;
}

bool CWnd::OnWidgetEvent(QEvent*) { return false; }

UINT AfxMouseFlags(int qtButtons, int qtModifiers) {
    UINT flags = 0;
    if (qtButtons & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (qtButtons & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (qtButtons & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (qtModifiers & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (qtModifiers & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

UINT AfxVirtualKey(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
        return VK_MENU;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Delete:
        return VK_DELETE;
    default:
        break;
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return static_cast<UINT>('A' + (qtKey - Qt::Key_A));
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return static_cast<UINT>('0' + (qtKey - Qt::Key_0));
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return static_cast<UINT>(0x70 + (qtKey - Qt::Key_F1));
    return 0;
}

// Window placement and lifetime of CWnd: showing, moving, stacking and destroying its widget.

#include "platform/ui/CWnd.h"

#include "platform/ui/OuterGeometry.h"

#include <QGuiApplication>
#include <QWidget>

// Markers for SetWindowPos's insert-after argument; only their addresses matter.
const CWnd CWnd::wndTop;
const CWnd CWnd::wndBottom;
const CWnd CWnd::wndTopMost;
const CWnd CWnd::wndNoTopMost;

BOOL AfxCanKeepWindowOnTop() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland")) ? FALSE : TRUE;
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    QWidget* widget = m_hWnd.data();
    if (widget == nullptr)
        return FALSE;
    const BOOL wasVisible = widget->isVisible() ? TRUE : FALSE;
    switch (nCmdShow) {
    case SW_HIDE:
        widget->hide();
        break;
    case SW_SHOWMINIMIZED:
        widget->showMinimized();
        break;
    case SW_SHOWMAXIMIZED:
        widget->showMaximized();
        break;
    case SW_RESTORE:
        widget->showNormal();
        break;
    case SW_SHOWNOACTIVATE:
        widget->setAttribute(Qt::WA_ShowWithoutActivating);
        widget->show();
        break;
    default:
        widget->show();
        break;
    }
    return wasVisible;
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    QWidget* widget = m_hWnd.data();
    if (widget == nullptr)
        return FALSE;
    if ((nFlags & SWP_NOZORDER) == 0 && pWndInsertAfter != nullptr) {
        if (pWndInsertAfter == &wndTopMost || pWndInsertAfter == &wndNoTopMost) {
            const bool onTop = pWndInsertAfter == &wndTopMost;
            if (widget->isWindow() && widget->windowFlags().testFlag(Qt::WindowStaysOnTopHint) != onTop) {
                // Changing a window flag hides a shown window; put it back on the screen.
                const bool wasVisible = widget->isVisible();
                widget->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
                if (wasVisible)
                    widget->show();
            }
        }
        if (pWndInsertAfter == &wndTopMost || pWndInsertAfter == &wndTop)
            widget->raise();
        else if (pWndInsertAfter == &wndBottom)
            widget->lower();
    }
    const bool move = (nFlags & SWP_NOMOVE) == 0;
    const bool size = (nFlags & SWP_NOSIZE) == 0;
    if (widget->isWindow()) {
        // A top-level window's place and size are those of its frame.
        AfxSetOuterGeometry(*widget, move ? std::optional(QPoint(x, y)) : std::nullopt,
                            size ? std::optional(QSize(cx, cy)) : std::nullopt);
    } else {
        if (move)
            widget->move(x, y);
        if (size)
            widget->resize(cx, cy);
    }
    if (nFlags & SWP_SHOWWINDOW)
        widget->show();
    if (nFlags & SWP_HIDEWINDOW)
        widget->hide();
    return TRUE;
}

void CWnd::GetWindowRect(CRect* rect) const {
    const QWidget* widget = m_hWnd.data();
    if (widget == nullptr) {
        *rect = CRect();
        return;
    }
    const QRect r = widget->isWindow() ? widget->frameGeometry()
                                       : QRect(widget->mapToGlobal(QPoint(0, 0)), widget->size());
    *rect = CRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

BOOL CWnd::IsWindowVisible() const {
    return m_hWnd && m_hWnd->isVisible() ? TRUE : FALSE;
}

BOOL CWnd::DestroyWindow() {
    QWidget* widget = m_hWnd.data();
    if (widget == nullptr)
        return FALSE;
    widget->hide();
    widget->deleteLater();
    m_hWnd = nullptr;
    m_inputWidget = nullptr;
    return TRUE;
}

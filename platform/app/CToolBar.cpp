#include "platform/app/CToolBar.h"

#include "platform/app/CFrameWnd.h"
#include "platform/res/ResourceBuilder.h"

#include <QAction>
#include <QMainWindow>
#include <QToolBar>

IMPLEMENT_DYNAMIC(CToolBar, CControlBar)

namespace {
Qt::ToolBarArea AreaForStyle(DWORD style) {
    if (style & CBRS_ALIGN_BOTTOM)
        return Qt::BottomToolBarArea;
    if (style & CBRS_ALIGN_LEFT)
        return Qt::LeftToolBarArea;
    if (style & CBRS_ALIGN_RIGHT)
        return Qt::RightToolBarArea;
    return Qt::TopToolBarArea;
}
} // namespace

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD, DWORD dwStyle, CRect, UINT nID) {
    auto* frame = dynamic_cast<CFrameWnd*>(pParentWnd);
    QMainWindow* window = frame != nullptr ? frame->GetFrameWidget() : nullptr;
    auto* bar = new QToolBar(window);
    bar->setObjectName(QStringLiteral("toolbar-%1").arg(nID));
    if (!AttachToFrame(pParentWnd, bar, dwStyle, nID))
        return FALSE;
    // Until docking is enabled the bar stays where it was put.
    bar->setMovable(false);
    bar->setFloatable(false);
    window->addToolBar(AreaForStyle(dwStyle), bar);
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT nIDResource) {
    QToolBar* bar = GetToolBarWidget();
    const ToolBarTemplate* resource = AfxGetResourceModule().FindToolBar(nIDResource);
    if (bar == nullptr || m_pDockSite == nullptr || resource == nullptr)
        return FALSE;
    const std::vector<QPixmap> pictures = AfxToolBarPictures(*resource);
    if (pictures.empty())
        return FALSE;
    bar->clear();
    m_items.assign(resource->items.begin(), resource->items.end());
    bar->setIconSize(QSize(resource->buttonWidth, resource->buttonHeight));
    std::size_t picture = 0;
    for (UINT id : m_items) {
        if (id == ID_SEPARATOR) {
            bar->addSeparator();
            continue;
        }
        QAction* action = m_pDockSite->GetCommandAction(id);
        action->setIcon(QIcon(pictures[picture++]));
        bar->addAction(action);
    }
    return TRUE;
}

UINT CToolBar::GetItemID(int nIndex) const {
    return nIndex >= 0 && nIndex < GetCount() ? m_items[static_cast<std::size_t>(nIndex)] : ID_SEPARATOR;
}

QToolBar* CToolBar::GetToolBarWidget() const {
    return qobject_cast<QToolBar*>(m_hWnd.data());
}

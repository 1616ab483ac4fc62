#include "platform/app/CView.h"

#include "platform/app/CDocument.h"

#include <QWidget>

IMPLEMENT_DYNAMIC(CView, CWnd)

CView::~CView() {
    if (m_pDocument != nullptr)
        m_pDocument->RemoveView(this);
}

BOOL CView::Create(CWnd* pParentWnd, UINT) {
    auto* widget = new QWidget(pParentWnd != nullptr ? pParentWnd->GetSafeHwnd() : nullptr);
    AttachWidget(widget);
    return TRUE;
}

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView*, LPARAM, CObject*) { Invalidate(TRUE); }

BOOL CView::OnCmdMsg(UINT nID, CCmdUI* pUI) {
    if (CWnd::OnCmdMsg(nID, pUI))
        return TRUE;
    return m_pDocument != nullptr && m_pDocument->OnCmdMsg(nID, pUI);
}

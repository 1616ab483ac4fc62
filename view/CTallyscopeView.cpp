#include "view/CTallyscopeView.h"

#include "doc/CTallyscopeDoc.h"

IMPLEMENT_DYNCREATE(CTallyscopeView, CScrollView)

CTallyscopeDoc* CTallyscopeView::GetDocument() const { return static_cast<CTallyscopeDoc*>(CView::GetDocument()); }

// FIXME: the rendering lands with the drawing layer.
void CTallyscopeView::OnDraw(CDC*) {}

#include "zoom/CZoomView.h"

#include "res/Resource.h"

IMPLEMENT_DYNCREATE(CZoomView, CFormView)

CZoomView::CZoomView() : CFormView(IDD_ZOOM_FORM) {}

// FIXME: the magnifier's drawing lands with the drawing layer; for now it only remembers the position.
void CZoomView::UpdateZoom(int nX, int nY, BOOL bPoint) {
    m_bPoint = bPoint;
    m_nLastX = nX;
    m_nLastY = nY;
}

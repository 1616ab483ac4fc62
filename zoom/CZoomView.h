#pragma once
// The magnifier form in the zoom window.

#include "platform/CFormView.h"

class CZoomView : public CFormView {
    DECLARE_DYNCREATE(CZoomView)
public:
    CZoomView();
    ~CZoomView() override = default;

    void UpdateZoom(int nX, int nY, BOOL bPoint);

    BOOL m_bPoint = FALSE;
    int m_nLastX = 0;
    int m_nLastY = 0;
};

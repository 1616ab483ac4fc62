#pragma once
// The picture view: the chart at 1x, 2x or 4x with everything placed on it.

#include "platform/CScrollView.h"

class CTallyscopeDoc;

class CTallyscopeView : public CScrollView {
    DECLARE_DYNCREATE(CTallyscopeView)
public:
    CTallyscopeView() = default;
    ~CTallyscopeView() override = default;

    CTallyscopeDoc* GetDocument() const;
    void OnDraw(CDC* pDC) override;

    int m_nAxisMode = -1;
    int m_nShiftState = -1;
    int m_nZoom = 1;
    BOOL m_bPointSelected = FALSE;
};

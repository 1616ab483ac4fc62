#pragma once
// The framework's form view: a dialog template shown as a view.

#include "platform/CView.h"

class CFormView : public CView {
    DECLARE_DYNAMIC(CFormView)
public:
    void OnDraw(CDC*) override {}

protected:
    explicit CFormView(UINT nIDTemplate) : m_nIDHelp(nIDTemplate) {}
    UINT m_nIDHelp;
};

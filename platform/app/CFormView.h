#pragma once
// The framework's form view: a dialog template shown as a view. Create builds the template's
// controls on the view's widget; OnInitialUpdate pushes the members into them. Controls report
// through the message table (MapNotify with EN_CHANGE, BN_CLICKED, ...), except while an exchange
// is writing into them. A field that does not parse stops the exchange there: the members before
// it have their new values, those after it are not read.

#include "platform/app/CView.h"
#include "platform/ui/CDataExchange.h"

#include <memory>

class DialogItems;

class CFormView : public CView {
    DECLARE_DYNAMIC(CFormView)
public:
    ~CFormView() override;

    BOOL Create(CWnd* pParentWnd, UINT nID) override;
    void OnInitialUpdate() override;
    void OnDraw(CDC*) override {}

    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    CWnd* GetDlgItem(int nID) const override;

protected:
    explicit CFormView(UINT nIDTemplate);
    virtual void DoDataExchange(CDataExchange* pDX);

    UINT m_nIDHelp;

private:
    void OnControlNotify(int id, UINT code);

    std::unique_ptr<DialogItems> m_pItems;
};

#include "platform/app/CFormView.h"

#include "platform/res/DialogTemplate.h"
#include "platform/ui/DialogItems.h"

#include <QWidget>

IMPLEMENT_DYNAMIC(CFormView, CView)

CFormView::CFormView(UINT nIDTemplate) : m_nIDHelp(nIDTemplate), m_pItems(std::make_unique<DialogItems>()) {}

CFormView::~CFormView() {
    m_pItems->Destroy();
}

BOOL CFormView::Create(CWnd* pParentWnd, UINT) {
    const DialogTemplate* dlg = AfxFindDialogTemplate(m_nIDHelp);
    if (dlg == nullptr)
        return FALSE;
    auto* form = new QWidget(pParentWnd != nullptr ? pParentWnd->GetSafeHwnd() : nullptr);
    form->setAutoFillBackground(true);
    m_pItems->Create(*dlg, *form, [this](int id, UINT code) { OnControlNotify(id, code); });
    form->setMinimumSize(form->size());
    AttachWidget(form);
    return TRUE;
}

void CFormView::OnInitialUpdate() {
    UpdateData(FALSE);
    CView::OnInitialUpdate();
}

BOOL CFormView::UpdateData(BOOL bSaveAndValidate) {
    return m_pItems->UpdateData(*this, bSaveAndValidate, CDataExchange::WriteMode::Immediate,
                                [this](CDataExchange* pDX) { DoDataExchange(pDX); });
}

CWnd* CFormView::GetDlgItem(int nID) const {
    return m_pItems->GetDlgItem(nID);
}

void CFormView::DoDataExchange(CDataExchange*) {}

// A notification without a handler in the table is a command when it is a button's click.
void CFormView::OnControlNotify(int id, UINT code) {
    if (!OnNotify(code, static_cast<UINT>(id)) && code == BN_CLICKED)
        OnCmdMsg(static_cast<UINT>(id), nullptr);
}

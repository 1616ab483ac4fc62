#include "platform/ui/CDialog.h"

#include "platform/res/DialogTemplate.h"
#include "platform/ui/DialogItems.h"
#include "platform/ui/ModalHost.h"

#include <QDialog>

IMPLEMENT_DYNAMIC(CDialog, CWnd)

namespace {

// The dialog window: the Escape key and the close box ask the dialog for Cancel, which decides
// whether the window closes; the window never closes itself.
class DialogWindow final : public QDialog {
public:
    DialogWindow(CDialog& dialog, QWidget* parent) : QDialog(parent), m_dialog(dialog) {}

    void reject() override { m_dialog.OnCancel(); }
    void accept() override { m_dialog.OnOK(); }

private:
    CDialog& m_dialog;
};

} // namespace

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_pParentWnd(pParentWnd), m_nIDTemplate(nIDTemplate), m_pItems(std::make_unique<DialogItems>()) {}

CDialog::~CDialog() {
    DestroyModalWindow();
}

INT_PTR CDialog::DoModal() {
    return AfxGetModalHost().DoModal(*this);
}

void CDialog::EndDialog(int nResult) {
    m_bEnded = true;
    m_nModalResult = nResult;
    if (auto* window = qobject_cast<QDialog*>(GetSafeHwnd()))
        window->done(nResult);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

// A refused field puts back every member read before it, so a caller never sees half of an edit.
BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    return m_pItems->UpdateData(*this, bSaveAndValidate, CDataExchange::WriteMode::AllOrNothing,
                                [this](CDataExchange* pDX) { DoDataExchange(pDX); });
}

CWnd* CDialog::GetDlgItem(int nID) const {
    return m_pItems->GetDlgItem(nID);
}

void CDialog::DoDataExchange(CDataExchange*) {}

QDialog* CDialog::CreateModalWindow(QWidget* parent) {
    const DialogTemplate* dlg = AfxFindDialogTemplate(m_nIDTemplate);
    if (dlg == nullptr)
        return nullptr;
    DestroyModalWindow();
    if (m_pParentWnd != nullptr && m_pParentWnd->GetSafeHwnd() != nullptr)
        parent = m_pParentWnd->GetSafeHwnd();
    auto* window = new DialogWindow(*this, parent);
    window->setWindowTitle(QString::fromUtf8(dlg->title));
    window->setModal(true);
    m_pItems->Create(*dlg, *window, [this](int id, UINT code) { OnControlNotify(id, code); });
    window->setFixedSize(window->size());
    m_hWnd = window;
    m_inputWidget = window;
    m_bEnded = false;
    m_nModalResult = -1;
    return window;
}

void CDialog::InitModalWindow() {
    if (OnInitDialog() && !m_bEnded)
        m_pItems->FocusFirstTabStop();
}

void CDialog::DestroyModalWindow() {
    m_pItems->Destroy();
    delete m_hWnd.data();
    m_hWnd.clear();
    m_inputWidget.clear();
}

// A handler in the message table comes first; a button without one is a command, OK and Cancel
// being the dialog's own.
void CDialog::OnControlNotify(int id, UINT code) {
    if (OnNotify(code, static_cast<UINT>(id)))
        return;
    if (code != BN_CLICKED)
        return;
    if (id == IDOK)
        OnOK();
    else if (id == IDCANCEL)
        OnCancel();
    else
        OnCmdMsg(static_cast<UINT>(id), nullptr);
}

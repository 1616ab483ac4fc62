#include "platform/ui/DialogItems.h"

#include "platform/res/ControlWidgets.h"
#include "platform/res/DialogBuilder.h"
#include "platform/ui/CControls.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLineEdit>

namespace {

std::unique_ptr<CWnd> MakeControlObject(QWidget* widget) {
    if (qobject_cast<AfxListBoxWidget*>(widget) != nullptr)
        return std::make_unique<CListBox>();
    if (qobject_cast<AfxUpDownWidget*>(widget) != nullptr)
        return std::make_unique<CSpinButtonCtrl>();
    if (qobject_cast<QLineEdit*>(widget) != nullptr)
        return std::make_unique<CEdit>();
    if (qobject_cast<QAbstractButton*>(widget) != nullptr || qobject_cast<QGroupBox*>(widget) != nullptr)
        return std::make_unique<CButton>();
    return std::make_unique<CStatic>();
}

} // namespace

DialogItems::DialogItems() = default;
DialogItems::~DialogItems() = default;

void DialogItems::Create(const DialogTemplate& dlg, QWidget& form, NotifyFn notify) {
    Destroy();
    m_form = &form;
    m_notify = std::move(notify);
    AfxBuildDialogControls(dlg, form, [this](int id, UINT code) {
        if (!m_bLockout && m_notify)
            m_notify(id, code);
    });
    for (QWidget* child : form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (const int id = AfxGetDialogControlId(*child); id != IDC_STATIC)
            m_controls.emplace(id, child);
    }
}

void DialogItems::Destroy() {
    m_temporary.clear();
    m_bound.clear();
    m_controls.clear();
    m_form.clear();
}

QWidget* DialogItems::GetControl(int id) const {
    const auto control = m_controls.find(id);
    return control != m_controls.end() ? control->second.data() : nullptr;
}

CWnd* DialogItems::GetDlgItem(int id) {
    QWidget* widget = GetControl(id);
    if (widget == nullptr)
        return nullptr;
    if (auto bound = m_bound.find(id); bound != m_bound.end() && bound->second->GetSafeHwnd() == widget)
        return bound->second;
    std::unique_ptr<CWnd>& object = m_temporary[id];
    if (!object || object->GetSafeHwnd() != widget) {
        object = MakeControlObject(widget);
        object->SubclassWindow(widget);
    }
    return object.get();
}

void DialogItems::BindControl(int id, CWnd& control) {
    QWidget* widget = GetControl(id);
    if (widget == nullptr || control.GetSafeHwnd() == widget)
        return;
    control.SubclassWindow(widget);
    m_bound[id] = &control;
}

BOOL DialogItems::UpdateData(CWnd& owner, BOOL bSaveAndValidate, CDataExchange::WriteMode mode,
                             const ExchangeFn& exchange) {
    const bool wasLockedOut = m_bLockout;
    m_bLockout = true;
    BOOL succeeded = TRUE;
    try {
        CDataExchange dx(&owner, *this, bSaveAndValidate, mode);
        exchange(&dx);
    } catch (const AfxDataExchangeFailure&) {
        succeeded = FALSE;
    }
    m_bLockout = wasLockedOut;
    return succeeded;
}

void DialogItems::FocusFirstTabStop() {
    if (!m_form)
        return;
    if (QWidget* first = AfxFirstTabStop(*m_form))
        AfxFocusDialogControl(*first);
}

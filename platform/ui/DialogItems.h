#pragma once
// The controls of one open dialog or form, shared by CDialog and CFormView: builds them from the
// template, hands out control objects by id, runs the data exchange and delivers the controls'
// notifications. While an exchange runs, notifications are held back (a text written into an edit
// by the exchange is no user's change).

#include "platform/ui/CDataExchange.h"

#include <QPointer>
#include <functional>
#include <memory>
#include <unordered_map>

class CWnd;
class QWidget;
struct DialogTemplate;

class DialogItems {
public:
    using NotifyFn = std::function<void(int id, UINT code)>;
    using ExchangeFn = std::function<void(CDataExchange*)>;

    DialogItems();
    ~DialogItems();
    DialogItems(const DialogItems&) = delete;
    DialogItems& operator=(const DialogItems&) = delete;

    // Builds the template's controls on the form; their notifications go to notify.
    void Create(const DialogTemplate& dlg, QWidget& form, NotifyFn notify);
    // Forgets the controls and the control objects made for them (the widgets go with their form).
    void Destroy();

    QWidget* GetForm() const { return m_form.data(); }
    // The control widget with the id, found in constant time: a form's exchange addresses every
    // control on every mouse move.
    QWidget* GetControl(int id) const;
    // The control object for the id: the one bound by DDX_Control, else one of the class that fits
    // the control, kept while the controls live. Null when there is no such control.
    CWnd* GetDlgItem(int id);
    void BindControl(int id, CWnd& control);

    // Runs one exchange in the given direction; FALSE when a field did not parse.
    BOOL UpdateData(CWnd& owner, BOOL bSaveAndValidate, CDataExchange::WriteMode mode,
                    const ExchangeFn& exchange);
    // Focuses the first tab stop in template order, as a dialog does when it opens.
    void FocusFirstTabStop();

private:
    QPointer<QWidget> m_form;
    NotifyFn m_notify;
    bool m_bLockout = false;
    // The controls by id, as the builder made them; the first one wins where an id repeats.
    std::unordered_map<int, QPointer<QWidget>> m_controls;
    std::unordered_map<int, CWnd*> m_bound;
    std::unordered_map<int, std::unique_ptr<CWnd>> m_temporary;
};

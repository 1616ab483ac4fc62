#include "platform/ui/CDataExchange.h"

#include "platform/res/DialogBuilder.h"
#include "platform/ui/CControls.h"
#include "platform/ui/DialogItems.h"
#include "platform/ui/ModalHost.h"

#include <QWidget>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <string>
#include <string_view>

namespace {

std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view spaces = " \t\r\n";
    const std::size_t first = text.find_first_not_of(spaces);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(spaces) - first + 1);
}

// std::from_chars reads a minus sign but not a plus sign; a plus sign followed by another sign is
// no number.
std::string_view WithoutPlusSign(std::string_view text) {
    if (text.size() > 1 && text[0] == '+' && text[1] != '-' && text[1] != '+')
        return text.substr(1);
    return text;
}

// Writes text into a control only when it differs from what the control shows, so that the caret
// and selection of an unchanged field stay where the user left them.
void ShowText(CWnd& control, const CString& text) {
    CString current;
    control.GetWindowText(current);
    if (current != text)
        control.SetWindowText(text);
}

} // namespace

CDataExchange::CDataExchange(CWnd* pDlgWnd, DialogItems& items, BOOL bSaveAndValidate, WriteMode mode)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_items(items), m_mode(mode) {}

CWnd* CDataExchange::PrepareCtrl(int nIDC) {
    m_idLastControl = nIDC;
    return m_items.GetDlgItem(nIDC);
}

CWnd* CDataExchange::PrepareEditCtrl(int nIDC) {
    return PrepareCtrl(nIDC);
}

void CDataExchange::Fail() {
    for (auto undo = m_undoWrites.rbegin(); undo != m_undoWrites.rend(); ++undo)
        (*undo)();
    m_undoWrites.clear();
    if (QWidget* control = m_items.GetControl(m_idLastControl))
        AfxFocusDialogControl(*control);
    throw AfxDataExchangeFailure{};
}

CString AfxFormatDouble(double value) {
    CString text;
    text.Format("%.15g", value);
    return text;
}

bool AfxParseInt(const CString& text, int& value) {
    const std::string_view digits = WithoutPlusSign(Trimmed(text.str()));
    std::int64_t parsed = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), parsed, 10);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size())
        return false;
    if (parsed < std::numeric_limits<int>::min() || parsed > std::numeric_limits<int>::max())
        return false;
    value = static_cast<int>(parsed);
    return true;
}

bool AfxParseDouble(const CString& text, double& value) {
    const std::string_view number = WithoutPlusSign(Trimmed(text.str()));
    double parsed = 0.0;
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), parsed);
    if (error == std::errc::result_out_of_range && end == number.data() + number.size()) {
        // A number too small for a double reads as zero (or the nearest value), as the C library
        // reads it; one too large is still refused below. The text's form was checked above.
        static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
        parsed = strtod_l(std::string(number).c_str(), nullptr, cLocale);
        error = std::errc();
    }
    if (number.empty() || error != std::errc() || end != number.data() + number.size() ||
        !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

namespace {

// One numeric field: control-ward the member is shown as `shown`; member-ward the text must parse
// whole, or `refusal` is shown and the exchange fails at this field.
template <class T>
void ExchangeNumber(CDataExchange* pDX, int nIDC, T& value, const CString& shown,
                    bool (*parse)(const CString&, T&), const char* refusal) {
    CWnd* control = pDX->PrepareEditCtrl(nIDC);
    if (control == nullptr)
        return;
    if (!pDX->m_bSaveAndValidate) {
        ShowText(*control, shown);
        return;
    }
    CString text;
    control->GetWindowText(text);
    T parsed{};
    if (!parse(text, parsed)) {
        AfxMessageBox(refusal, MB_OK | MB_ICONWARNING);
        pDX->Fail();
    }
    pDX->Store(value, parsed);
}

} // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    ExchangeNumber(pDX, nIDC, value, AfxFormat("%d", value), AfxParseInt, AFX_MSG_PARSE_INT);
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value) {
    ExchangeNumber(pDX, nIDC, value, AfxFormatDouble(value), AfxParseDouble, AFX_MSG_PARSE_REAL);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    CWnd* control = pDX->PrepareEditCtrl(nIDC);
    if (control == nullptr)
        return;
    if (!pDX->m_bSaveAndValidate) {
        ShowText(*control, value);
        return;
    }
    CString text;
    control->GetWindowText(text);
    pDX->Store(value, text);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    auto* button = dynamic_cast<CButton*>(pDX->PrepareCtrl(nIDC));
    if (button == nullptr)
        return;
    if (pDX->m_bSaveAndValidate)
        pDX->Store(value, button->GetCheck() == BST_CHECKED ? 1 : 0);
    else
        button->SetCheck(value != 0 ? BST_CHECKED : BST_UNCHECKED);
}

void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value) {
    auto* list = dynamic_cast<CListBox*>(pDX->PrepareCtrl(nIDC));
    if (list == nullptr)
        return;
    if (!pDX->m_bSaveAndValidate) {
        list->SelectString(-1, value);
        return;
    }
    CString selected;
    if (const int index = list->GetCurSel(); index != LB_ERR)
        list->GetText(index, selected);
    pDX->Store(value, selected);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.GetSafeHwnd() == nullptr)
        pDX->GetItems().BindControl(nIDC, rControl);
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int nMin, int nMax) {
    if (!pDX->m_bSaveAndValidate || (value >= nMin && value <= nMax))
        return;
    CString message;
    message.Format(AFX_MSG_PARSE_INT_RANGE, nMin, nMax);
    AfxMessageBox(message, MB_OK | MB_ICONWARNING);
    pDX->Fail();
}

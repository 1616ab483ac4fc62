#include "platform/ui/CControls.h"

#include "platform/res/ControlWidgets.h"
#include "platform/ui/KeptSurface.h"

#include <QCheckBox>
#include <QLabel>
#include <QPixmap>
#include <QLineEdit>
#include <algorithm>

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)

namespace {

template <class Widget> Widget* WidgetOf(const CWnd& wnd) {
    return qobject_cast<Widget*>(wnd.GetSafeHwnd());
}

QString ToQt(LPCTSTR text) {
    return QString::fromUtf8(text != nullptr ? text : "");
}

LPCTSTR TextParameter(LPARAM lParam) {
    return reinterpret_cast<LPCTSTR>(lParam);
}

} // namespace

CStatic::CStatic() = default;
CStatic::~CStatic() = default;

void CStatic::SetBitmap(HBITMAP hBitmap) {
    auto* label = WidgetOf<QLabel>(*this);
    if (label == nullptr || qobject_cast<AfxStaticTextWidget*>(label) != nullptr)
        return;
    if (hBitmap == nullptr || hBitmap->isNull())
        label->clear();
    else
        label->setPixmap(QPixmap::fromImage(*hBitmap));
}

QImage* CStatic::GetDrawingSurface() {
    if (!m_pKeptSurface || m_pKeptSurface->GetWindow() != GetSafeHwnd())
        m_pKeptSurface = std::make_unique<KeptSurface>(GetSafeHwnd());
    return m_pKeptSurface->Image();
}

void CStatic::PresentDrawingSurface() {
    if (m_pKeptSurface)
        m_pKeptSurface->Present();
}

int CButton::GetCheck() const {
    auto* button = WidgetOf<QAbstractButton>(*this);
    return button != nullptr && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

// Setting the state programmatically is not a click: no BN_CLICKED follows.
void CButton::SetCheck(int nCheck) {
    if (auto* button = WidgetOf<QAbstractButton>(*this))
        button->setChecked(nCheck != BST_UNCHECKED);
}

LRESULT CButton::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case BM_GETCHECK:
        return GetCheck();
    case BM_SETCHECK:
        SetCheck(static_cast<int>(wParam));
        return 0;
    default:
        return CWnd::SendMessage(message, wParam, lParam);
    }
}

void CEdit::SetSel(int nStart, int nEnd) {
    auto* edit = WidgetOf<QLineEdit>(*this);
    if (edit == nullptr)
        return;
    const int length = static_cast<int>(edit->text().size());
    const int end = nEnd < 0 || nEnd > length ? length : nEnd;
    const int start = std::clamp(nStart, 0, end);
    edit->setSelection(start, end - start);
}

int CListBox::AddString(LPCTSTR lpszItem) {
    auto* list = WidgetOf<AfxListBoxWidget>(*this);
    if (list == nullptr)
        return LB_ERR;
    const QString text = ToQt(lpszItem);
    int index = list->count();
    if (list->IsSorted()) {
        index = 0;
        while (index < list->count() &&
               QString::compare(list->item(index)->text(), text, Qt::CaseInsensitive) <= 0)
            ++index;
    }
    list->insertItem(index, text);
    return index;
}

int CListBox::InsertString(int nIndex, LPCTSTR lpszItem) {
    auto* list = WidgetOf<AfxListBoxWidget>(*this);
    if (list == nullptr || nIndex < -1 || nIndex > list->count())
        return LB_ERR;
    const int index = nIndex == -1 ? list->count() : nIndex;
    list->insertItem(index, ToQt(lpszItem));
    return index;
}

// Qt moves the current line to a neighbour when the selected one goes; the framework's list keeps
// no selection then, so a handler that deletes and reinserts a line sees none until the next click.
int CListBox::DeleteString(UINT nIndex) {
    auto* list = WidgetOf<AfxListBoxWidget>(*this);
    if (list == nullptr || nIndex >= static_cast<UINT>(list->count()))
        return LB_ERR;
    const bool wasSelected = GetCurSel() == static_cast<int>(nIndex);
    delete list->takeItem(static_cast<int>(nIndex));
    if (wasSelected)
        SetCurSel(-1);
    return list->count();
}

void CListBox::ResetContent() {
    if (auto* list = WidgetOf<AfxListBoxWidget>(*this))
        list->clear();
}

int CListBox::GetCount() const {
    auto* list = WidgetOf<AfxListBoxWidget>(*this);
    return list != nullptr ? list->count() : LB_ERR;
}

int CListBox::GetCurSel() const {
    auto* list = WidgetOf<AfxListBoxWidget>(*this);
    if (list == nullptr)
        return LB_ERR;
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? LB_ERR : list->row(selected.first());
}

int CListBox::SetCurSel(int nSelect) {
    auto* list = WidgetOf<AfxListBoxWidget>(*this);
    if (list == nullptr)
        return LB_ERR;
    if (nSelect < 0 || nSelect >= list->count()) {
        list->clearSelection();
        list->selectionModel()->clearCurrentIndex();
        return LB_ERR;
    }
    list->setCurrentRow(nSelect, QItemSelectionModel::ClearAndSelect);
    list->scrollToItem(list->item(nSelect));
    return nSelect;
}

int CListBox::GetText(int nIndex, CString& rString) const {
    auto* list = WidgetOf<AfxListBoxWidget>(*this);
    if (list == nullptr || nIndex < 0 || nIndex >= list->count())
        return LB_ERR;
    rString = CString(list->item(nIndex)->text().toUtf8().toStdString());
    return rString.GetLength();
}

// An empty text begins every line but selects none, as the framework's list does.
int CListBox::SelectString(int nStartAfter, LPCTSTR lpszItem) {
    auto* list = WidgetOf<AfxListBoxWidget>(*this);
    const QString prefix = ToQt(lpszItem);
    if (list == nullptr || prefix.isEmpty() || list->count() == 0)
        return LB_ERR;
    const int count = list->count();
    const int first = nStartAfter < 0 || nStartAfter >= count - 1 ? 0 : nStartAfter + 1;
    for (int step = 0; step < count; ++step) {
        const int index = (first + step) % count;
        if (list->item(index)->text().startsWith(prefix, Qt::CaseInsensitive))
            return SetCurSel(index);
    }
    return LB_ERR;
}

LRESULT CListBox::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case LB_ADDSTRING:
        return AddString(TextParameter(lParam));
    case LB_INSERTSTRING:
        return InsertString(static_cast<int>(wParam), TextParameter(lParam));
    case LB_DELETESTRING:
        return DeleteString(static_cast<UINT>(wParam));
    case LB_RESETCONTENT:
        ResetContent();
        return 0;
    case LB_SETCURSEL:
        return SetCurSel(static_cast<int>(wParam));
    case LB_GETCURSEL:
        return GetCurSel();
    case LB_GETCOUNT:
        return GetCount();
    case LB_SELECTSTRING:
        return SelectString(static_cast<int>(wParam), TextParameter(lParam));
    default:
        return CWnd::SendMessage(message, wParam, lParam);
    }
}

void CSpinButtonCtrl::SetRange(short nLower, short nUpper) {
    SetRange32(nLower, nUpper);
}

void CSpinButtonCtrl::SetRange32(int nLower, int nUpper) {
    if (auto* upDown = WidgetOf<AfxUpDownWidget>(*this))
        upDown->SetRange(nLower, nUpper);
}

void CSpinButtonCtrl::GetRange32(int& nLower, int& nUpper) const {
    auto* upDown = WidgetOf<AfxUpDownWidget>(*this);
    nLower = upDown != nullptr ? upDown->GetLower() : 0;
    nUpper = upDown != nullptr ? upDown->GetUpper() : 0;
}

int CSpinButtonCtrl::SetPos(int nPos) {
    auto* upDown = WidgetOf<AfxUpDownWidget>(*this);
    return upDown != nullptr ? upDown->SetPos(nPos) : 0;
}

int CSpinButtonCtrl::GetPos() const {
    auto* upDown = WidgetOf<AfxUpDownWidget>(*this);
    if (upDown == nullptr)
        return static_cast<int>(MAKELONG(0, 1));
    bool ok = false;
    const int pos = upDown->GetPos(&ok);
    return static_cast<int>(MAKELONG(static_cast<WORD>(pos), ok ? 0 : 1));
}

LRESULT CSpinButtonCtrl::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const auto low = static_cast<short>(LOWORD(static_cast<std::uintptr_t>(lParam)));
    const auto high = static_cast<short>(HIWORD(static_cast<std::uintptr_t>(lParam)));
    switch (message) {
    case UDM_SETRANGE:
        SetRange(high, low);
        return 0;
    case UDM_SETRANGE32:
        SetRange32(static_cast<int>(wParam), static_cast<int>(lParam));
        return 0;
    case UDM_GETRANGE: {
        int lower = 0;
        int upper = 0;
        GetRange32(lower, upper);
        return MAKELONG(static_cast<WORD>(upper), static_cast<WORD>(lower));
    }
    case UDM_SETPOS:
        return SetPos(low);
    case UDM_GETPOS:
        return GetPos();
    default:
        return CWnd::SendMessage(message, wParam, lParam);
    }
}

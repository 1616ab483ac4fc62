#include "platform/res/DialogBuilder.h"

#include "platform/gdi/FontFaces.h"
#include "platform/res/ControlWidgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <algorithm>
#include <cstdint>

namespace {

constexpr const char* kControlIdProperty = "afxControlId";

// The framework's MulDiv: a * b / c rounded half away from zero.
int MulDiv(int a, int b, int c) {
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

Qt::FocusPolicy FocusPolicyFor(const DialogControl& control) {
    if (control.style & WS_TABSTOP)
        return Qt::StrongFocus;
    switch (control.kind) {
    case ControlClass::Edit:
    case ControlClass::ListBox:
        return Qt::ClickFocus;
    case ControlClass::Button:
        return (control.style & BS_TYPEMASK) == BS_GROUPBOX ? Qt::NoFocus : Qt::ClickFocus;
    default:
        return Qt::NoFocus;
    }
}

QWidget* MakeEdit(const DialogControl& control, QWidget& form, const DialogNotifyFn& notify) {
    auto* edit = new QLineEdit(&form);
    edit->setFrame((control.style & WS_BORDER) != 0);
    edit->setText(QString::fromUtf8(control.text));
    QObject::connect(edit, &QLineEdit::textChanged, edit,
                     [notify, id = control.id] { notify(id, EN_CHANGE); });
    return edit;
}

QWidget* MakeButton(const DialogControl& control, QWidget& form, const DialogNotifyFn& notify) {
    const QString text = QString::fromUtf8(control.text);
    const int id = control.id;
    switch (control.style & BS_TYPEMASK) {
    case BS_GROUPBOX: {
        // Group boxes are drawn behind the controls they frame and never take their clicks.
        auto* group = new AfxGroupBoxWidget(text, &form);
        group->setAttribute(Qt::WA_TransparentForMouseEvents);
        return group;
    }
    case BS_AUTOCHECKBOX: {
        auto* check = new QCheckBox(text, &form);
        QObject::connect(check, &QCheckBox::clicked, check, [notify, id] { notify(id, BN_CLICKED); });
        return check;
    }
    default: {
        auto* button = new QPushButton(text, &form);
        button->setDefault((control.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
        QObject::connect(button, &QPushButton::clicked, button, [notify, id] { notify(id, BN_CLICKED); });
        return button;
    }
    }
}

QWidget* MakeStatic(const DialogControl& control, QWidget& form) {
    switch (control.style & SS_TYPEMASK) {
    case SS_WHITERECT: {
        auto* rect = new QWidget(&form);
        QPalette palette = rect->palette();
        palette.setColor(QPalette::Window, Qt::white);
        rect->setPalette(palette);
        rect->setAutoFillBackground(true);
        return rect;
    }
    case SS_BITMAP: {
        auto* bitmap = new QLabel(&form);
        bitmap->setAlignment(Qt::AlignCenter);
        return bitmap;
    }
    case SS_ICON: {
        auto* icon = new QLabel(&form);
        QIcon source = QApplication::windowIcon();
        if (source.isNull())
            source = QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation);
        icon->setPixmap(source.pixmap(32, 32));
        return icon;
    }
    default:
        return new AfxStaticTextWidget(QString::fromUtf8(control.text), &form);
    }
}

QWidget* MakeListBox(const DialogControl& control, QWidget& form, const DialogNotifyFn& notify) {
    auto* list = new AfxListBoxWidget((control.style & LBS_SORT) != 0, &form);
    list->setFrameShape((control.style & WS_BORDER) ? QFrame::StyledPanel : QFrame::NoFrame);
    list->setVerticalScrollBarPolicy((control.style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded
                                                                  : Qt::ScrollBarAlwaysOff);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    if (control.style & LBS_NOTIFY)
        list->SetNotify([notify, id = control.id](UINT code) { notify(id, code); });
    return list;
}

QWidget* MakeUpDown(const DialogControl& control, QWidget& form, QWidget* previous) {
    auto* upDown = new AfxUpDownWidget(control.style, &form);
    if (control.style & UDS_AUTOBUDDY)
        upDown->SetBuddy(qobject_cast<QLineEdit*>(previous));
    return upDown;
}

// Puts a control on its template box. Captions that need more room than the box gives (a face's
// line box a pixel taller than the 8-unit labels, a check box shorter than its box) grow the
// control to the right and downward, so that no control leaves its template place.
void PlaceControl(QWidget& widget, const QRect& rect) {
    if (auto* staticText = qobject_cast<AfxStaticTextWidget*>(&widget)) {
        staticText->SetTemplateRect(rect);
        return;
    }
    QRect placed = rect;
    if (auto* check = qobject_cast<QCheckBox*>(&widget)) {
        const int indicator = check->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, check);
        const int line = check->text().isEmpty() ? 0 : check->fontMetrics().height();
        placed.setHeight(std::max({rect.height(), indicator, line}));
    }
    widget.setGeometry(placed);
}

} // namespace

QFont AfxDialogFont(const DialogTemplate& dlg) {
    return AfxFontForFace(dlg.fontFace, dlg.pointSize);
}

// The vertical unit is the font's em height in pixels, which is the character height of the
// Japanese face the templates were laid out with and of its metric twin IPAPGothic. The fallback
// faces have a much taller line box (about 1.45 em), and taking that instead would stretch every
// form past its window: the zoom form's bottom check boxes would fall outside the zoom window.
DialogBaseUnits AfxGetDialogBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabet =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(alphabet / 26 + 1) / 2, QFontInfo(font).pixelSize()};
}

QRect AfxMapDialogRect(const CRect& rect, DialogBaseUnits units) {
    const int left = MulDiv(rect.left, units.cx, 4);
    const int right = MulDiv(rect.right, units.cx, 4);
    const int top = MulDiv(rect.top, units.cy, 8);
    const int bottom = MulDiv(rect.bottom, units.cy, 8);
    return QRect(left, top, right - left, bottom - top);
}

void AfxBuildDialogControls(const DialogTemplate& dlg, QWidget& form, const DialogNotifyFn& notify) {
    const QFont font = AfxDialogFont(dlg);
    const DialogBaseUnits units = AfxGetDialogBaseUnits(font);
    form.setFont(font);
    form.resize(AfxMapDialogRect(CRect(0, 0, dlg.size.cx, dlg.size.cy), units).size());

    QWidget* previous = nullptr;
    for (const DialogControl& control : dlg.controls) {
        QWidget* widget = nullptr;
        switch (control.kind) {
        case ControlClass::Edit:
            widget = MakeEdit(control, form, notify);
            break;
        case ControlClass::Button:
            widget = MakeButton(control, form, notify);
            break;
        case ControlClass::Static:
            widget = MakeStatic(control, form);
            break;
        case ControlClass::ListBox:
            widget = MakeListBox(control, form, notify);
            break;
        case ControlClass::UpDown:
            widget = MakeUpDown(control, form, previous);
            break;
        }
        widget->setProperty(kControlIdProperty, control.id);
        PlaceControl(*widget, AfxMapDialogRect(control.rect, units));
        widget->setFocusPolicy(FocusPolicyFor(control));
        if (qobject_cast<QGroupBox*>(widget) != nullptr)
            widget->lower();
        previous = widget;
    }
}

QWidget* AfxFindDialogControl(const QWidget& form, int id) {
    if (id == IDC_STATIC)
        return nullptr;
    for (QWidget* child : form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (AfxGetDialogControlId(*child) == id)
            return child;
    return nullptr;
}

int AfxGetDialogControlId(const QWidget& widget) {
    const QVariant id = widget.property(kControlIdProperty);
    return id.isValid() ? id.toInt() : IDC_STATIC;
}

QWidget* AfxFirstTabStop(const QWidget& form) {
    for (QWidget* child : form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->property(kControlIdProperty).isValid() && (child->focusPolicy() & Qt::TabFocus) &&
            child->isEnabled())
            return child;
    return nullptr;
}

void AfxFocusDialogControl(QWidget& control) {
    control.setFocus(Qt::TabFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(&control))
        edit->selectAll();
}

// Templates become widgets: every control with its id, class and place, in tab order.
#include "platform/res/DialogBuilder.h"
#include "platform/res/ControlWidgets.h"
#include "platform/ui/CControls.h"
#include "platform/ui/CDialog.h"
#include "res/Resource.h"

#include "../../support/ScriptedModalHost.h"

#include <QCheckBox>
#include <QDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOption>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
#include <set>
#include <sstream>
#include <vector>

namespace {

constexpr UINT kAllTemplates[] = {IDD_ABOUTBOX,  IDD_AXIS,       IDD_PIXEL_DATA,
                                  IDD_DATA_EDIT, IDD_AXIS_VALUE, IDD_ZOOM_FORM,
                                  IDD_TRACE_SETTINGS};

int CountDifferingPixels(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
    return count;
}

// The pixels a caption adds to its control drawn at the given size: the control with the caption
// against the same control without one. A caption cut by its control's edges adds fewer pixels at
// the control's own size than with room to spare.
int CaptionInk(QWidget& control, const QString& caption, QSize size) {
    AfxSetWidgetText(&control, caption);
    control.resize(size);
    const QImage shown = control.grab().toImage();
    AfxSetWidgetText(&control, QString());
    control.resize(size);
    const QImage bare = control.grab().toImage();
    return CountDifferingPixels(shown, bare);
}

// Everything a check box draws (its box and its caption) against its background.
int CheckBoxInk(QWidget& control, QSize size) {
    control.resize(size);
    const QImage image = control.grab().toImage();
    QImage background(image.size(), image.format());
    background.fill(control.palette().color(control.backgroundRole()));
    return CountDifferingPixels(image, background);
}

// The room a push button's style leaves for its caption. Its frame changes with its size, so
// counting the caption's pixels at two sizes tells nothing.
std::optional<QRect> FramedCaptionRoom(QWidget& widget) {
    if (auto* button = qobject_cast<QPushButton*>(&widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    }
    return std::nullopt;
}

bool CaptionCut(QWidget& widget, const QString& caption, const QSize& roomy) {
    if (caption.isEmpty())
        return false;
    if (const std::optional<QRect> room = FramedCaptionRoom(widget))
        return !widget.rect().contains(*room) ||
               room->width() < widget.fontMetrics().horizontalAdvance(caption) ||
               room->height() < widget.fontMetrics().height();
    return CaptionInk(widget, caption, widget.size()) < CaptionInk(widget, caption, roomy);
}

struct Misfit {
    UINT templateId;
    QString what;
};

// Checks one built control at its place: it stays where the template puts it, shows its caption
// (and a check box its box) whole, and if it grew to do so, takes no room from its neighbours.
void CheckControl(UINT templateId, const DialogControl& control, QWidget& widget, const QString& caption,
                  const QRect& placed, const std::vector<QRect>& others, std::vector<Misfit>& misfits) {
    AfxSetWidgetText(&widget, caption);
    const QRect built = widget.geometry();
    const auto describe = [&](const char* fault) {
        std::ostringstream text;
        text << fault << " \"" << caption.toStdString() << "\" template (" << control.rect.left << ", "
             << control.rect.top << ") built " << built.x() << "," << built.y() << " " << built.width() << "x"
             << built.height();
        misfits.push_back({templateId, QString::fromStdString(text.str())});
    };
    if (built.topLeft() != placed.topLeft())
        describe("moved");
    const QSize roomy = built.size() + QSize(80, 40);
    if (CaptionCut(widget, caption, roomy))
        describe("caption cut");
    if (qobject_cast<QCheckBox*>(&widget) != nullptr) {
        AfxSetWidgetText(&widget, caption);
        if (CheckBoxInk(widget, built.size()) < CheckBoxInk(widget, roomy))
            describe("check box cut");
    }
    AfxSetWidgetText(&widget, caption);
    widget.setGeometry(built);
    if (built != placed) {
        for (const QRect& other : others)
            if (built.intersects(other) && !placed.intersects(other))
                describe("grew over a neighbour");
    }
}

// The widget built for a template control: by id, or for a control without one by its place and
// caption.
QWidget* BuiltControl(const QWidget& form, const DialogControl& control, const QRect& placed) {
    if (control.id != IDC_STATIC)
        return AfxFindDialogControl(form, control.id);
    for (QWidget* child : form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->pos() == placed.topLeft() && AfxGetWidgetText(child) == QString::fromUtf8(control.text))
            return child;
    return nullptr;
}

bool HasCaption(const DialogControl& control) {
    switch (control.kind) {
    case ControlClass::Button:
        return true;
    case ControlClass::Static:
        return (control.style & SS_TYPEMASK) == SS_LEFT;
    default:
        return false;
    }
}

// The texts the program writes into captioned controls while it runs, at their widest.
struct RunTimeCaption {
    UINT templateId;
    int id;
    const char* text;
};
constexpr RunTimeCaption kRunTimeCaptions[] = {
    {IDD_ZOOM_FORM, IDC_ZOOM_SOURCE, "Mouse"}, {IDD_ZOOM_FORM, IDC_ZOOM_SOURCE, "Point"},
    {IDD_ZOOM_FORM, IDC_ZOOM_X, "X = 12000"},  {IDD_ZOOM_FORM, IDC_ZOOM_Y, "Y = -9000"},
    {IDD_ZOOM_FORM, IDC_ZOOM_R, "R = 255"},    {IDD_ZOOM_FORM, IDC_ZOOM_G, "G = 255"},
    {IDD_ZOOM_FORM, IDC_ZOOM_B, "B = 255"},
};

} // namespace

TEST(DialogBuilder_Units, EdgesMapSeparatelyAndRoundHalfAway) {
    const DialogBaseUnits units{7, 17};
    // x: 50 * 7 / 4 = 87.5 -> 88, (50 + 40) * 7 / 4 = 157.5 -> 158; y: 150 * 17 / 8 = 318.75 -> 319,
    // 164 * 17 / 8 = 348.5 -> 349.
    EXPECT_EQ(AfxMapDialogRect(CRect(50, 150, 90, 164), units), QRect(88, 319, 70, 30));
    EXPECT_EQ(AfxMapDialogRect(CRect(0, 0, 4, 8), DialogBaseUnits{6, 13}), QRect(0, 0, 6, 13));
    EXPECT_EQ(AfxMapDialogRect(CRect(-4, -8, 0, 0), DialogBaseUnits{6, 13}), QRect(-6, -13, 6, 13));
}

TEST(DialogBuilder_Templates, EveryTemplateListsUniqueIdsAndFitsItsDialog) {
    for (const UINT id : kAllTemplates) {
        const DialogTemplate* dlg = AfxFindDialogTemplate(id);
        ASSERT_NE(dlg, nullptr) << id;
        EXPECT_EQ(dlg->id, id);
        std::set<int> seen;
        for (const DialogControl& c : dlg->controls) {
            if (c.id != IDC_STATIC) {
                EXPECT_TRUE(seen.insert(c.id).second) << "template " << id << " repeats control " << c.id;
            }
            EXPECT_LE(c.rect.right, dlg->size.cx) << "template " << id << " control " << c.id;
            EXPECT_LE(c.rect.bottom, dlg->size.cy) << "template " << id << " control " << c.id;
        }
    }
    EXPECT_EQ(AfxFindDialogTemplate(999), nullptr);
}

// The templates were laid out for "ＭＳ Ｐゴシック" 9 point, whose metric twin is IPAPGothic: with it
// every caption, and every text the program writes into a caption while it runs, shows whole in
// its control, at the template's place.
TEST(DialogBuilder_Captions, EveryCaptionShowsWholeAtItsTemplatePlace) {
    std::vector<Misfit> misfits;
    for (const UINT id : kAllTemplates) {
        const DialogTemplate& dlg = *AfxFindDialogTemplate(id);
        QWidget form;
        AfxBuildDialogControls(dlg, form, [](int, UINT) {});
        ASSERT_EQ(QFontInfo(form.font()).family(), "IPAPGothic") << "the templates' face is not installed";
        const DialogBaseUnits units = AfxGetDialogBaseUnits(form.font());
        std::vector<QRect> others;
        for (const DialogControl& control : dlg.controls)
            if ((control.style & BS_TYPEMASK) != BS_GROUPBOX || control.kind != ControlClass::Button)
                others.push_back(AfxMapDialogRect(control.rect, units));
        for (const DialogControl& control : dlg.controls) {
            if (!HasCaption(control))
                continue;
            const QRect placed = AfxMapDialogRect(control.rect, units);
            QWidget* widget = BuiltControl(form, control, placed);
            ASSERT_NE(widget, nullptr)
                << "template " << id << " has no widget for \"" << control.text << "\"";
            std::vector<QRect> neighbours;
            for (const QRect& other : others)
                if (other != placed)
                    neighbours.push_back(other);
            CheckControl(id, control, *widget, QString::fromUtf8(control.text), placed, neighbours, misfits);
            for (const RunTimeCaption& runTime : kRunTimeCaptions)
                if (runTime.templateId == id && runTime.id == control.id)
                    CheckControl(id, control, *widget, QString::fromUtf8(runTime.text), placed, neighbours,
                                 misfits);
        }
        // A group box's frame runs through the middle of its caption, above the controls the
        // template puts inside the box just under it.
        for (const AfxGroupBoxWidget* group : form.findChildren<AfxGroupBoxWidget*>()) {
            const int frameTop = group->y() + group->FrameTop();
            for (const QRect& other : others)
                if (group->geometry().contains(other) && other.top() <= frameTop)
                    misfits.push_back({id, "a control at " + QString::number(other.y()) +
                                               " lies on the frame of \"" + group->title() + "\" at " +
                                               QString::number(frameTop)});
        }
    }
    std::ostringstream list;
    for (const Misfit& misfit : misfits)
        list << "\n  template " << misfit.templateId << ": " << misfit.what.toStdString();
    EXPECT_TRUE(misfits.empty()) << misfits.size()
                                 << " controls do not show their captions whole:" << list.str();
}

TEST(DialogBuilder_Widgets, AxisTemplateBuildsItsControlsInPlaceAndInTabOrder) {
    ScriptedModalHost host;
    CDialog dialog(IDD_AXIS);
    QDialog* window = dialog.CreateModalWindow(nullptr);
    ASSERT_NE(window, nullptr);
    const DialogBaseUnits units = AfxGetDialogBaseUnits(window->font());
    EXPECT_EQ(window->windowTitle(), "軸の設定");
    EXPECT_EQ(window->size(), AfxMapDialogRect(CRect(0, 0, 238, 215), units).size());

    const DialogTemplate& dlg = *AfxFindDialogTemplate(IDD_AXIS);
    int labels = 0;
    for (const DialogControl& c : dlg.controls) {
        if (c.id == IDC_STATIC) {
            ++labels;
            continue;
        }
        QWidget* widget = AfxFindDialogControl(*window, c.id);
        ASSERT_NE(widget, nullptr) << c.id;
        // Check boxes shorter than their box grow downward to hold it.
        const QRect mapped = AfxMapDialogRect(c.rect, units);
        EXPECT_EQ(widget->pos(), mapped.topLeft()) << c.id;
        EXPECT_EQ(widget->width(), mapped.width()) << c.id;
        EXPECT_GE(widget->height(), mapped.height()) << c.id;
    }
    EXPECT_EQ(labels, 12);
    EXPECT_NE(qobject_cast<QLineEdit*>(AfxFindDialogControl(*window, IDC_X_MIN)), nullptr);
    EXPECT_NE(qobject_cast<QCheckBox*>(AfxFindDialogControl(*window, IDC_Y_LOG)), nullptr);
    auto* ok = qobject_cast<QPushButton*>(AfxFindDialogControl(*window, IDOK));
    ASSERT_NE(ok, nullptr);
    EXPECT_TRUE(ok->isDefault());
    EXPECT_EQ(qobject_cast<QPushButton*>(AfxFindDialogControl(*window, IDCANCEL))->text(), "ｷｬﾝｾﾙ");
    const QStringList captions = [&] {
        QStringList texts;
        for (QLabel* label : window->findChildren<QLabel*>())
            texts << label->text();
        for (QGroupBox* group : window->findChildren<QGroupBox*>())
            texts << group->title();
        return texts;
    }();
    for (const char* caption : {"原点", "X　軸", "Y　軸", "ピクセル値", "座標値", "Min", "Max", "対数軸"})
        EXPECT_TRUE(captions.contains(QString::fromUtf8(caption))) << caption;

    // Tab goes through the tab stops in template order and wraps round.
    const int tabOrder[] = {IDC_X_MIN,    IDC_X_MAX,   IDC_Y_MIN,   IDC_Y_MAX,   IDC_ORIGIN_X,
                            IDC_ORIGIN_Y, IDC_XAXIS_X, IDC_XAXIS_Y, IDC_YAXIS_X, IDC_YAXIS_Y,
                            IDOK,         IDCANCEL,    IDC_X_LOG,   IDC_Y_LOG,   IDC_X_MIN};
    QWidget* current = AfxFirstTabStop(*window);
    ASSERT_NE(current, nullptr);
    for (const int id : tabOrder) {
        EXPECT_EQ(AfxGetDialogControlId(*current), id);
        do
            current = current->nextInFocusChain();
        while (!(current->focusPolicy() & Qt::TabFocus) || current == window);
    }
    dialog.DestroyModalWindow();
}

TEST(DialogBuilder_Widgets, ListBoxKeepsTheFrameworksIndexRules) {
    ScriptedModalHost host;
    CDialog dialog(IDD_PIXEL_DATA);
    ASSERT_NE(dialog.CreateModalWindow(nullptr), nullptr);
    auto* list = dynamic_cast<CListBox*>(dialog.GetDlgItem(IDC_PIXEL_LIST));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(dialog.GetDlgItem(IDC_PIXEL_LIST), list) << "the same object while the dialog is open";

    // The sort style places added lines; inserted ones go where they are put.
    EXPECT_EQ(list->AddString("b"), 0);
    EXPECT_EQ(list->AddString("D"), 1);
    EXPECT_EQ(list->AddString("a"), 0);
    EXPECT_EQ(list->InsertString(-1, "A0"), 3);
    EXPECT_EQ(list->InsertString(1, "z"), 1);
    EXPECT_EQ(list->InsertString(6, "out"), LB_ERR);
    EXPECT_EQ(list->SendMessage(LB_GETCOUNT), 5);
    const char* expected[] = {"a", "z", "b", "D", "A0"};
    for (int i = 0; i < 5; ++i) {
        CString text;
        EXPECT_EQ(list->GetText(i, text), static_cast<int>(std::strlen(expected[i])));
        EXPECT_EQ(text, expected[i]);
    }

    EXPECT_EQ(list->GetCurSel(), LB_ERR);
    EXPECT_EQ(list->SelectString(-1, "d"), 3) << "a prefix, ignoring case";
    EXPECT_EQ(list->SelectString(-1, ""), LB_ERR);
    EXPECT_EQ(list->GetCurSel(), 3) << "a failed search keeps the selection";
    EXPECT_EQ(list->InsertString(0, "first"), 0);
    EXPECT_EQ(list->GetCurSel(), 4) << "the selected line moves with an insertion";
    EXPECT_EQ(list->DeleteString(4), 5);
    EXPECT_EQ(list->GetCurSel(), LB_ERR) << "deleting the selected line leaves no selection";
    EXPECT_EQ(list->DeleteString(5), LB_ERR);
    EXPECT_EQ(list->SendMessage(LB_INSERTSTRING, 2, reinterpret_cast<LPARAM>("mid")), 2);
    EXPECT_EQ(list->SendMessage(LB_SETCURSEL, 2), 2);
    EXPECT_EQ(list->SendMessage(LB_GETCURSEL), 2);
    dialog.DestroyModalWindow();
    EXPECT_EQ(dialog.GetDlgItem(IDC_PIXEL_LIST), nullptr);
}

// A static text keeps what it measured for texts it showed before; whatever it kept, it takes the
// size a control made afresh for the same text and face takes, also after its face changed.
TEST(DialogBuilder_Widgets, StaticTextFitsEveryCaptionAsAFreshControlWould) {
    QWidget form;
    const QRect templateBox(10, 10, 30, 12);
    auto freshSize = [&](const QString& text, const QFont& font) {
        AfxStaticTextWidget fresh(text, &form);
        fresh.setFont(font);
        fresh.SetTemplateRect(templateBox);
        return fresh.size();
    };
    AfxStaticTextWidget label(QStringLiteral("X = 1"), &form);
    label.SetTemplateRect(templateBox);
    const QFont small = label.font();
    const QString wide = QStringLiteral("X = 12000 (幅の広い読み)"), narrow = QStringLiteral("Y");
    for (const QString& text : {wide, narrow, wide, narrow}) {
        label.SetCaption(text);
        EXPECT_EQ(label.size(), freshSize(text, small)) << text.toStdString();
    }
    ASSERT_GT(freshSize(wide, small).width(), templateBox.width()) << "the wide text must make it grow";

    QFont large = small;
    large.setPointSize(small.pointSize() * 2);
    label.setFont(large);
    EXPECT_EQ(label.size(), freshSize(narrow, large));
    label.SetCaption(wide);
    EXPECT_EQ(label.size(), freshSize(wide, large));
    EXPECT_GT(label.width(), freshSize(wide, small).width());
}

// Templates become widgets: every control with its id, class and place, in tab order.
#include "platform/DialogBuilder.h"
#include "platform/CControls.h"
#include "platform/CDialog.h"
#include "res/Resource.h"

#include "../support/ScriptedModalHost.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cstring>
#include <gtest/gtest.h>
#include <set>

TEST(DialogBuilder_Units, EdgesMapSeparatelyAndRoundHalfAway) {
    const DialogBaseUnits units{7, 17};
    // x: 50 * 7 / 4 = 87.5 -> 88, (50 + 40) * 7 / 4 = 157.5 -> 158; y: 150 * 17 / 8 = 318.75 -> 319,
    // 164 * 17 / 8 = 348.5 -> 349.
    EXPECT_EQ(AfxMapDialogRect(CRect(50, 150, 90, 164), units), QRect(88, 319, 70, 30));
    EXPECT_EQ(AfxMapDialogRect(CRect(0, 0, 4, 8), DialogBaseUnits{6, 13}), QRect(0, 0, 6, 13));
    EXPECT_EQ(AfxMapDialogRect(CRect(-4, -8, 0, 0), DialogBaseUnits{6, 13}), QRect(-6, -13, 6, 13));
}

TEST(DialogBuilder_Templates, EveryTemplateListsUniqueIdsAndFitsItsDialog) {
    for (const UINT id :
         {IDD_ABOUTBOX, IDD_AXIS, IDD_PIXEL_DATA, IDD_DATA_EDIT, IDD_AXIS_VALUE, IDD_ZOOM_FORM}) {
        const DialogTemplate* dlg = AfxFindDialogTemplate(id);
        ASSERT_NE(dlg, nullptr) << id;
        EXPECT_EQ(dlg->id, id);
        std::set<int> seen;
        for (const DialogControl& c : dlg->controls) {
            if (c.id != IDC_STATIC)
                EXPECT_TRUE(seen.insert(c.id).second) << "template " << id << " repeats control " << c.id;
            EXPECT_LE(c.rect.right, dlg->size.cx) << "template " << id << " control " << c.id;
            EXPECT_LE(c.rect.bottom, dlg->size.cy) << "template " << id << " control " << c.id;
        }
    }
    EXPECT_EQ(AfxFindDialogTemplate(999), nullptr);
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
        EXPECT_EQ(widget->geometry(), AfxMapDialogRect(c.rect, units)) << c.id;
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

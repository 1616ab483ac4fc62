// The single-axis value dialog: the value and the logarithmic flag, shown and read back.
#include "dialogs/CAxisValueDlg.h"
#include "res/Resource.h"

#include "../support/DialogDriver.h"
#include "DialogTestSupport.h"

#include <QLineEdit>
#include <QTest>

TEST(AxisValueDlg, AxisValueDlg_StartsAtZeroAndShowsItsMembers) {
    ScriptedModalHost host;
    CAxisValueDlg fresh;
    EXPECT_EQ(fresh.m_dValue, 0.0);
    EXPECT_EQ(fresh.m_bLog, FALSE);

    CAxisValueDlg dlg;
    dlg.m_dValue = 1e20;
    dlg.m_bLog = TRUE;
    host.AnswerDialog([](DialogDriver& d) {
        EXPECT_EQ(d.Dialog().GetSafeHwnd()->windowTitle(), "軸の設定");
        EXPECT_EQ(d.Text(IDC_AXIS_VALUE), "1e+020");
        EXPECT_TRUE(d.IsChecked(IDC_AXIS_LOG));
        EXPECT_EQ(d.FocusedControlId(), IDC_AXIS_VALUE);
        d.SetText(IDC_AXIS_VALUE, "2.5e-3");
        d.SetCheck(IDC_AXIS_LOG, false);
        d.PressOK();
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_dValue, 2.5e-3);
    EXPECT_EQ(dlg.m_bLog, FALSE);
}

TEST(AxisValueDlg, AxisValueDlg_RefusedValueChangesNoMember) {
    ScriptedModalHost host;
    CAxisValueDlg dlg;
    dlg.m_dValue = 4.0;
    host.AnswerMessageBox(IDOK);
    host.AnswerDialog([&](DialogDriver& d) {
        d.SetCheck(IDC_AXIS_LOG, true);
        d.SetText(IDC_AXIS_VALUE, "4,5");
        EXPECT_FALSE(d.PressOK());
        EXPECT_EQ(d.FocusedControlId(), IDC_AXIS_VALUE);
        EXPECT_EQ(dlg.m_bLog, FALSE) << "the box after the refused field is not read either";
        d.PressCancel();
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_dValue, 4.0);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_STREQ(host.messages[0].text.GetString(), AFX_MSG_PARSE_REAL);
}

// On the real window Enter presses the default button and Escape cancels.
TEST(AxisValueDlg, AxisValueDlg_RealWindowAnswersEnterAndEscape) {
    RealModalHost real;
    CAxisValueDlg dlg;
    dlg.m_dValue = 0.1;
    OnNextModal([](QWidget* window) {
        QLineEdit* value = ControlOf<QLineEdit>(window, IDC_AXIS_VALUE);
        EXPECT_EQ(value->text(), "0.1");
        value->selectAll();
        QTest::keyClicks(value, "12.75");
        QTest::keyClick(value, Qt::Key_Return);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_dValue, 12.75);

    OnNextModal([](QWidget* window) {
        QLineEdit* value = ControlOf<QLineEdit>(window, IDC_AXIS_VALUE);
        QTest::keyClicks(value, "99");
        QTest::keyClick(value, Qt::Key_Escape);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_dValue, 12.75);
}

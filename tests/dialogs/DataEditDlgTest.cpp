// The point edit dialog on its own: two integers, each refused unless it is one.
#include "dialogs/CDataEditDlg.h"
#include "res/Resource.h"

#include "../support/DialogDriver.h"
#include "DialogTestSupport.h"

TEST(DataEditDlg, DataEditDlg_ShowsAndReadsBothCoordinates) {
    ScriptedModalHost host;
    CDataEditDlg dlg;
    EXPECT_EQ(dlg.m_nX, 0);
    EXPECT_EQ(dlg.m_nY, 0);
    dlg.m_nX = -2147483647 - 1;
    dlg.m_nY = 45;
    host.AnswerDialog([](DialogDriver& d) {
        EXPECT_EQ(d.Dialog().GetSafeHwnd()->windowTitle(), "データの変更");
        EXPECT_EQ(d.Text(IDC_EDIT_X), "-2147483648");
        EXPECT_EQ(d.Text(IDC_EDIT_Y), "45");
        EXPECT_EQ(d.FocusedControlId(), IDC_EDIT_X);
        d.SetText(IDC_EDIT_X, "2147483647");
        d.SetText(IDC_EDIT_Y, " -7 ");
        d.PressOK();
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_nX, 2147483647);
    EXPECT_EQ(dlg.m_nY, -7);
}

TEST(DataEditDlg, DataEditDlg_RefusesTheFirstFieldThatIsNoInteger) {
    const struct {
        const char* x;
        const char* y;
        int focused;
    } cases[] = {
        {"1", "2.0", IDC_EDIT_Y},
        {"", "3", IDC_EDIT_X},
        {"x", "y", IDC_EDIT_X},
        {"5", "-2147483649", IDC_EDIT_Y},
    };
    for (const auto& c : cases) {
        ScriptedModalHost host;
        CDataEditDlg dlg;
        dlg.m_nX = 8;
        dlg.m_nY = 9;
        host.AnswerMessageBox(IDOK);
        host.AnswerDialog([&](DialogDriver& d) {
            d.SetText(IDC_EDIT_X, c.x);
            d.SetText(IDC_EDIT_Y, c.y);
            EXPECT_FALSE(d.PressOK());
            EXPECT_EQ(d.FocusedControlId(), c.focused) << c.x << " / " << c.y;
            EXPECT_EQ(dlg.m_nX, 8);
            d.PressCancel();
        });
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(dlg.m_nX, 8);
        EXPECT_EQ(dlg.m_nY, 9);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_STREQ(host.messages[0].text.GetString(), AFX_MSG_PARSE_INT);
    }
}

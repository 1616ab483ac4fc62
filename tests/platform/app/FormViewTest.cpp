// The form view on the magnifier's template: controls from the template, the exchange in both
// directions, notifications held back while the exchange writes, and the up-down control.
#include "../../support/ScriptedModalHost.h"
#include "platform/app/CFormView.h"
#include "platform/res/ControlWidgets.h"
#include "platform/res/DialogBuilder.h"
#include "platform/ui/CControls.h"
#include "res/Resource.h"

#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

namespace {

class TestForm : public CFormView {
    DECLARE_MESSAGE_MAP()
public:
    TestForm() : CFormView(IDD_ZOOM_FORM) {}

    void OnChangeRate() { ++rateChanges; }

    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_ZOOM_SPIN, spin);
        DDX_Check(pDX, IDC_ROW_RED, rowRed);
        DDX_Text(pDX, IDC_ZOOM_RATE, rate);
        DDX_Text(pDX, IDC_ZOOM_SOURCE, source);
    }

    CSpinButtonCtrl spin;
    BOOL rowRed = FALSE;
    int rate = 2;
    CString source = "Mouse";
    int rateChanges = 0;
};

const MessageMap* TestForm::ThisMessageMap() {
    static const MessageMap map(CFormView::ThisMessageMap(),
                                {MapNotify<&TestForm::OnChangeRate>(EN_CHANGE, IDC_ZOOM_RATE)});
    return &map;
}

struct FormFixture : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(form.Create(nullptr, 0));
        form.OnInitialUpdate();
    }
    QLineEdit* RateEdit() {
        return qobject_cast<QLineEdit*>(AfxFindDialogControl(*form.GetSafeHwnd(), IDC_ZOOM_RATE));
    }
    QToolButton* Arrow(int index) {
        return AfxFindDialogControl(*form.GetSafeHwnd(), IDC_ZOOM_SPIN)
            ->findChildren<QToolButton*>()
            .at(index);
    }

    ScriptedModalHost host;
    TestForm form;
};

} // namespace

TEST_F(FormFixture, FormView_InitialUpdateFillsControlsWithoutNotifying) {
    EXPECT_EQ(RateEdit()->text(), "2");
    EXPECT_EQ(AfxGetWidgetText(AfxFindDialogControl(*form.GetSafeHwnd(), IDC_ZOOM_SOURCE)), "Mouse");
    EXPECT_EQ(form.rateChanges, 0);
    // The member bound by DDX_Control is the object GetDlgItem answers from then on.
    EXPECT_EQ(form.GetDlgItem(IDC_ZOOM_SPIN), &form.spin);
    EXPECT_NE(dynamic_cast<CStatic*>(form.GetDlgItem(IDC_ZOOM_PICTURE)), nullptr);
    EXPECT_EQ(form.GetDlgItem(9999), nullptr);
}

// Controls are looked up in an index made when the form is built: it must hold every control of
// the template under its own id, and forget one whose widget has gone.
TEST_F(FormFixture, FormView_EveryControlIsFoundByItsIdAndNoneThatHasGone) {
    const DialogTemplate* dlg = AfxFindDialogTemplate(IDD_ZOOM_FORM);
    ASSERT_NE(dlg, nullptr);
    int controls = 0;
    for (const DialogControl& control : dlg->controls) {
        if (control.id == IDC_STATIC)
            continue;
        ++controls;
        CWnd* item = form.GetDlgItem(control.id);
        ASSERT_NE(item, nullptr) << control.id;
        EXPECT_EQ(item->GetSafeHwnd(), AfxFindDialogControl(*form.GetSafeHwnd(), control.id)) << control.id;
        EXPECT_EQ(item->GetDlgCtrlID(), control.id);
    }
    EXPECT_EQ(controls, 15);
    delete AfxFindDialogControl(*form.GetSafeHwnd(), IDC_ZOOM_X);
    EXPECT_EQ(form.GetDlgItem(IDC_ZOOM_X), nullptr);
}

TEST_F(FormFixture, FormView_UserEditsAndSpinPositionsNotify) {
    RateEdit()->setText("5");
    EXPECT_EQ(form.rateChanges, 1);
    // Setting the position rewrites the edit even with the text it shows, and that is a change.
    form.spin.SendMessage(UDM_SETRANGE, 0, MAKELONG(10, 1));
    form.spin.SendMessage(UDM_SETPOS, 0, MAKELONG(5, 0));
    EXPECT_EQ(RateEdit()->text(), "5");
    EXPECT_EQ(form.rateChanges, 2);
}

TEST_F(FormFixture, FormView_FailedReadKeepsFieldsBeforeAndSkipsFieldsAfter) {
    form.GetSafeHwnd()->show();
    qobject_cast<QAbstractButton*>(AfxFindDialogControl(*form.GetSafeHwnd(), IDC_ROW_RED))->click();
    RateEdit()->setText("2x");
    form.GetDlgItem(IDC_ZOOM_SOURCE)->SetWindowText("Point");
    host.AnswerMessageBox(IDOK);

    EXPECT_FALSE(form.UpdateData(TRUE));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_STREQ(host.messages[0].text.GetString(), AFX_MSG_PARSE_INT);
    EXPECT_EQ(form.rowRed, TRUE);
    EXPECT_EQ(form.rate, 2);
    EXPECT_EQ(form.source, "Mouse");
    EXPECT_EQ(form.GetSafeHwnd()->focusWidget(), RateEdit());
    EXPECT_EQ(RateEdit()->selectedText(), "2x");
}

TEST_F(FormFixture, UpDown_ArrowsStepWithinTheRangeFromTheBuddysText) {
    // The default range runs from 100 down to 0, so the up arrow counts down.
    form.spin.SetPos(50);
    Arrow(0)->click();
    EXPECT_EQ(RateEdit()->text(), "49");

    form.spin.SendMessage(UDM_SETRANGE, 0, MAKELONG(10, 1));
    EXPECT_EQ(LOWORD(form.spin.SendMessage(UDM_GETRANGE)), 10);
    EXPECT_EQ(HIWORD(form.spin.SendMessage(UDM_GETRANGE)), 1);
    form.spin.SetPos(10);
    const int changesBefore = form.rateChanges;
    Arrow(0)->click(); // at the upper limit: no wrap
    EXPECT_EQ(RateEdit()->text(), "10");
    Arrow(1)->click();
    EXPECT_EQ(RateEdit()->text(), "9");
    EXPECT_GT(form.rateChanges, changesBefore);

    RateEdit()->setText("3"); // a typed value is where the next step starts
    QTest::keyClick(RateEdit(), Qt::Key_Up);
    EXPECT_EQ(RateEdit()->text(), "4");
    EXPECT_EQ(form.spin.GetPos(), 4);

    RateEdit()->setText("abc");
    EXPECT_NE(HIWORD(static_cast<DWORD>(form.spin.GetPos())), 0) << "an unreadable buddy is an error";
    Arrow(1)->click();
    EXPECT_EQ(RateEdit()->text(), "3");

    EXPECT_EQ(form.spin.SetPos(42), 3);
    EXPECT_EQ(RateEdit()->text(), "10") << "positions are clamped to the range";
}

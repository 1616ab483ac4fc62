// The axis settings dialog as the document's "set values" command runs it.
#include "dialogs/CAxisDlg.h"
#include "res/Resource.h"

#include "../support/DialogDriver.h"
#include "DialogTestSupport.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

using AxisDlgTest = DialogDocumentTest;

constexpr int kAllFields[] = {IDC_ORIGIN_X, IDC_ORIGIN_Y, IDC_XAXIS_X, IDC_XAXIS_Y, IDC_YAXIS_X,
                              IDC_YAXIS_Y,  IDC_X_MIN,    IDC_X_MAX,   IDC_Y_MIN,   IDC_Y_MAX};

// A calibration in which every carried field differs from every other.
void SetDistinctCalibration(CDataAxis& axis) {
    axis.m_Origin = CData();
    axis.m_Origin.m_nPixelX = 11;
    axis.m_Origin.m_nPixelY = 12;
    axis.m_Origin.m_dValueX = 0.5;
    axis.m_Origin.m_dValueY = 0.25;
    axis.m_XAxis.m_nPixelX = 21;
    axis.m_XAxis.m_nPixelY = 22;
    axis.m_XAxis.m_dValueX = 2.5;
    axis.m_XAxis.m_dValueY = -9.0; // not shown, never changed
    axis.m_YAxis.m_nPixelX = 31;
    axis.m_YAxis.m_nPixelY = 32;
    axis.m_YAxis.m_dValueX = -8.0; // not shown, never changed
    axis.m_YAxis.m_dValueY = 3.5;
    axis.m_bLogX = TRUE;
    axis.m_bLogY = FALSE;
}

} // namespace

TEST_F(AxisDlgTest, AxisDlg_ShowsTheDefaultCalibrationAfterAnOpen) {
    SetDistinctCalibration(doc.m_DataAxis);
    const QString path = files.Save(MakeTestImage(20, 20), "again.bmp");
    ASSERT_TRUE(doc.OnOpenDocument(path.toUtf8().constData()));

    host.AnswerDialog([](DialogDriver& d) {
        const struct {
            int id;
            const char* text;
        } expected[] = {{IDC_ORIGIN_X, "0"}, {IDC_ORIGIN_Y, "0"},  {IDC_XAXIS_X, "100"}, {IDC_XAXIS_Y, "0"},
                        {IDC_YAXIS_X, "0"},  {IDC_YAXIS_Y, "100"}, {IDC_X_MIN, "0"},     {IDC_X_MAX, "1"},
                        {IDC_Y_MIN, "0"},    {IDC_Y_MAX, "1"}};
        for (const auto& e : expected)
            EXPECT_EQ(d.Text(e.id), e.text) << e.id;
        EXPECT_FALSE(d.IsChecked(IDC_X_LOG));
        EXPECT_FALSE(d.IsChecked(IDC_Y_LOG));
        EXPECT_EQ(d.FocusedControlId(), IDC_X_MIN) << "the first tab stop has the focus";
        d.PressCancel();
    });
    doc.OnAxisValue();
    EXPECT_EQ(host.dialogsRun, 1);
}

TEST_F(AxisDlgTest, AxisDlg_CancelAfterEditingEverythingChangesNothing) {
    SetDistinctCalibration(doc.m_DataAxis);
    const CDataAxis before = doc.m_DataAxis;
    host.AnswerDialog([](DialogDriver& d) {
        for (const int id : kAllFields)
            d.SetText(id, "77");
        d.SetCheck(IDC_X_LOG, false);
        d.SetCheck(IDC_Y_LOG, true);
        EXPECT_TRUE(d.PressCancel());
    });
    doc.OnAxisValue();
    EXPECT_EQ(counter.updates, 0);
    EXPECT_EQ(doc.m_DataAxis.m_Origin.m_nPixelX, before.m_Origin.m_nPixelX);
    EXPECT_EQ(doc.m_DataAxis.m_XAxis.m_dValueX, before.m_XAxis.m_dValueX);
    EXPECT_EQ(doc.m_DataAxis.m_YAxis.m_nPixelY, before.m_YAxis.m_nPixelY);
    EXPECT_EQ(doc.m_DataAxis.m_bLogX, TRUE);
    EXPECT_EQ(doc.m_DataAxis.m_bLogY, FALSE);
}

// Every field lands in its own calibration field; a Y "Max" below its "Min" is taken as typed.
TEST_F(AxisDlgTest, AxisDlg_OkCopiesEveryFieldBackAndUpdatesAllViews) {
    SetDistinctCalibration(doc.m_DataAxis);
    host.AnswerDialog([](DialogDriver& d) {
        EXPECT_EQ(d.Text(IDC_X_MIN), "0.5");
        EXPECT_EQ(d.Text(IDC_X_MAX), "2.5");
        EXPECT_EQ(d.Text(IDC_Y_MIN), "0.25");
        EXPECT_EQ(d.Text(IDC_Y_MAX), "3.5");
        EXPECT_EQ(d.Text(IDC_XAXIS_Y), "22");
        EXPECT_TRUE(d.IsChecked(IDC_X_LOG));
        d.SetText(IDC_ORIGIN_X, "-5");
        d.SetText(IDC_ORIGIN_Y, "400");
        d.SetText(IDC_XAXIS_X, "300");
        d.SetText(IDC_XAXIS_Y, "401");
        d.SetText(IDC_YAXIS_X, "-4");
        d.SetText(IDC_YAXIS_Y, "10");
        d.SetText(IDC_X_MIN, "1e-3");
        d.SetText(IDC_X_MAX, "1000");
        d.SetText(IDC_Y_MIN, "50");
        d.SetText(IDC_Y_MAX, "-50");
        d.SetCheck(IDC_X_LOG, false);
        d.SetCheck(IDC_Y_LOG, true);
        EXPECT_TRUE(d.PressOK());
    });
    doc.OnAxisValue();
    const CDataAxis& a = doc.m_DataAxis;
    EXPECT_EQ(counter.updates, 1);
    EXPECT_EQ(a.m_Origin.m_nPixelX, -5);
    EXPECT_EQ(a.m_Origin.m_nPixelY, 400);
    EXPECT_EQ(a.m_XAxis.m_nPixelX, 300);
    EXPECT_EQ(a.m_XAxis.m_nPixelY, 401);
    EXPECT_EQ(a.m_YAxis.m_nPixelX, -4);
    EXPECT_EQ(a.m_YAxis.m_nPixelY, 10);
    EXPECT_EQ(a.m_Origin.m_dValueX, 1e-3);
    EXPECT_EQ(a.m_XAxis.m_dValueX, 1000.0);
    EXPECT_EQ(a.m_Origin.m_dValueY, 50.0);
    EXPECT_EQ(a.m_YAxis.m_dValueY, -50.0);
    EXPECT_EQ(a.m_bLogX, FALSE);
    EXPECT_EQ(a.m_bLogY, TRUE);
    EXPECT_EQ(a.m_XAxis.m_dValueY, -9.0);
    EXPECT_EQ(a.m_YAxis.m_dValueX, -8.0);
}

TEST_F(AxisDlgTest, AxisDlg_OkWithUnchangedFieldsStillUpdates) {
    SetDistinctCalibration(doc.m_DataAxis);
    host.AnswerDialog([](DialogDriver& d) { d.PressOK(); });
    doc.OnAxisValue();
    EXPECT_EQ(counter.updates, 1);
    EXPECT_EQ(doc.m_DataAxis.m_Origin.m_dValueY, 0.25);
    EXPECT_EQ(doc.m_DataAxis.m_XAxis.m_nPixelY, 22);
}

// Fields are read in the exchange order (origin pixels, X max, X min, X-axis pixels, Y max, Y min,
// Y-axis pixels), which is not the tab order: the first refusal in that order is the one reported.
TEST_F(AxisDlgTest, AxisDlg_RefusesBadNumbersAtTheFirstFailingField) {
    const struct {
        std::vector<std::pair<int, const char*>> edits;
        int focused;
        const char* message;
    } cases[] = {
        {{{IDC_ORIGIN_Y, "abc"}}, IDC_ORIGIN_Y, AFX_MSG_PARSE_INT},
        {{{IDC_X_MIN, "x"}, {IDC_ORIGIN_X, "1.5"}}, IDC_ORIGIN_X, AFX_MSG_PARSE_INT},
        {{{IDC_X_MIN, "z"}, {IDC_X_MAX, "1e999"}}, IDC_X_MAX, AFX_MSG_PARSE_REAL},
        {{{IDC_YAXIS_Y, "2147483648"}}, IDC_YAXIS_Y, AFX_MSG_PARSE_INT},
        {{{IDC_Y_MIN, ""}}, IDC_Y_MIN, AFX_MSG_PARSE_REAL},
    };
    for (const auto& c : cases) {
        SetDistinctCalibration(doc.m_DataAxis);
        counter.updates = 0;
        host.messages.clear();
        host.AnswerMessageBox(IDOK);
        host.AnswerDialog([&](DialogDriver& d) {
            d.SetText(IDC_ORIGIN_X, "1"); // a good field before the bad ones
            for (const auto& [id, text] : c.edits)
                d.SetText(id, text);
            EXPECT_FALSE(d.PressOK());
            EXPECT_EQ(d.FocusedControlId(), c.focused);
            auto& dialog = static_cast<CAxisDlg&>(d.Dialog());
            EXPECT_EQ(dialog.m_nOriginX, 11) << "no member changes while a field is refused";
            d.PressCancel();
        });
        doc.OnAxisValue();
        ASSERT_EQ(host.messages.size(), 1u) << c.focused;
        EXPECT_STREQ(host.messages[0].text.GetString(), c.message);
        EXPECT_EQ(doc.m_DataAxis.m_Origin.m_nPixelX, 11);
        EXPECT_EQ(counter.updates, 0);
    }
}

TEST_F(AxisDlgTest, AxisDlg_RefusedFieldCanBeMendedAndConfirmed) {
    host.AnswerMessageBox(IDOK);
    host.AnswerDialog([](DialogDriver& d) {
        d.SetText(IDC_Y_MAX, "ten");
        EXPECT_FALSE(d.PressOK());
        d.SetText(IDC_Y_MAX, "10");
        EXPECT_TRUE(d.PressOK());
    });
    doc.OnAxisValue();
    EXPECT_EQ(doc.m_DataAxis.m_YAxis.m_dValueY, 10.0);
    EXPECT_EQ(counter.updates, 1);
}

// The same run on the real Qt dialog window, typed and clicked with QTest.
TEST_F(AxisDlgTest, AxisDlg_RealWindowTakesTypedValues) {
    RealModalHost real;
    OnNextModal([](QWidget* window) {
        EXPECT_EQ(window->windowTitle(), "軸の設定");
        EXPECT_EQ(window->focusWidget(), ControlOf<QLineEdit>(window, IDC_X_MIN));
        QTest::keyClicks(ControlOf<QLineEdit>(window, IDC_X_MIN), "-20"); // replaces the selected text
        QLineEdit* yMax = ControlOf<QLineEdit>(window, IDC_Y_MAX);
        yMax->selectAll();
        QTest::keyClicks(yMax, "0.5");
        QTest::mouseClick(ControlOf<QCheckBox>(window, IDC_Y_LOG), Qt::LeftButton);
        QTest::mouseClick(ControlOf<QPushButton>(window, IDOK), Qt::LeftButton);
    });
    doc.OnAxisValue();
    EXPECT_EQ(doc.m_DataAxis.m_Origin.m_dValueX, -20.0);
    EXPECT_EQ(doc.m_DataAxis.m_YAxis.m_dValueY, 0.5);
    EXPECT_EQ(doc.m_DataAxis.m_bLogY, TRUE);
    EXPECT_EQ(doc.m_DataAxis.m_bLogX, FALSE);
    EXPECT_EQ(counter.updates, 1);
}

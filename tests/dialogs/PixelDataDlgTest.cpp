// The point list and its double-click edit, as the document's "show data" command runs them.
#include "dialogs/CPixelDataDlg.h"
#include "res/Resource.h"

#include "../support/DialogDriver.h"
#include "DialogTestSupport.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <climits>

namespace {

class PixelDataDlgTest : public DialogDocumentTest {
protected:
    // Series 1 with three points, series 2 empty, series 3 with two points; origin at (100, 300).
    void MakeThreeSeries() {
        doc.m_DataAxis.m_Origin.m_nPixelX = 100;
        doc.m_DataAxis.m_Origin.m_nPixelY = 300;
        doc.m_DataSeries.AddData(120, 255);
        doc.m_DataSeries.AddData(130, 250);
        doc.m_DataSeries.AddData(5, 400);
        doc.m_DataSeries.NewSeries();
        doc.m_DataSeries.NewSeries();
        doc.m_DataSeries.AddData(50, 50);
        doc.m_DataSeries.AddData(-20, 300);
    }

    const QStringList kThreeSeriesLines{
        "系列 =  1;No. =   1;x =    20;y =    45", "系列 =  1;No. =   2;x =    30;y =    50",
        "系列 =  1;No. =   3;x =   -95;y =  -100", "系列 =  3;No. =   1;x =   -50;y =   250",
        "系列 =  3;No. =   2;x =  -120;y =     0",
    };
};

// Answers the next edit dialog with the typed coordinates, or cancels it when none are given.
void AnswerEdit(ScriptedModalHost& host, const char* x, const char* y, QStringList* shown = nullptr) {
    host.AnswerDialog([=](DialogDriver& d) {
        if (shown != nullptr)
            *shown = {d.Text(IDC_EDIT_X), d.Text(IDC_EDIT_Y)};
        if (x == nullptr) {
            d.PressCancel();
            return;
        }
        d.SetText(IDC_EDIT_X, x);
        d.SetText(IDC_EDIT_Y, y);
        EXPECT_TRUE(d.PressOK());
    });
}

} // namespace

TEST_F(PixelDataDlgTest, PixelDataDlg_ListsEveryPointInSeriesOrder) {
    MakeThreeSeries();
    host.AnswerDialog([&](DialogDriver& d) {
        EXPECT_EQ(d.Dialog().GetSafeHwnd()->windowTitle(), "ピクセルデータ");
        EXPECT_EQ(d.Lines(IDC_PIXEL_LIST), kThreeSeriesLines);
        d.PressOK();
    });
    doc.OnDataShow();
    EXPECT_EQ(host.dialogsRun, 1);
    EXPECT_EQ(counter.updates, 0);
}

// Sorting would put "系列 = 100" before "系列 = 11"; the lines keep the order of the series.
TEST_F(PixelDataDlgTest, PixelDataDlg_SortStyleDoesNotReorderTheLines) {
    for (int i = 0; i < 100; ++i) {
        if (i > 0)
            doc.m_DataSeries.NewSeries();
        doc.m_DataSeries.AddData(i, 0);
    }
    host.AnswerDialog([](DialogDriver& d) {
        const QStringList lines = d.Lines(IDC_PIXEL_LIST);
        ASSERT_EQ(lines.size(), 100);
        EXPECT_TRUE(lines[10].startsWith("系列 = 11;")) << lines[10].toStdString();
        EXPECT_TRUE(lines[99].startsWith("系列 = 100;")) << lines[99].toStdString();
        d.PressOK();
    });
    doc.OnDataShow();
}

TEST_F(PixelDataDlgTest, PixelDataDlg_FourthLineEditsFirstPointOfThirdSeries) {
    MakeThreeSeries();
    Point(2, 0).m_bSelected = TRUE;
    QStringList shown;
    host.AnswerDialog([&](DialogDriver& d) {
        AnswerEdit(host, "10", "20", &shown);
        d.DoubleClickLine(IDC_PIXEL_LIST, 3);
        EXPECT_TRUE(d.IsOpen()) << "the list stays open after an edit";
        EXPECT_EQ(counter.updates, 1);
        QStringList expected = kThreeSeriesLines;
        expected[3] = "系列 =  3;No. =   1;x =    10;y =    20";
        EXPECT_EQ(d.Lines(IDC_PIXEL_LIST), expected);

        AnswerEdit(host, nullptr, nullptr);
        d.DoubleClickLine(IDC_PIXEL_LIST, 0);
        EXPECT_EQ(counter.updates, 2) << "Cancel updates the views too";
        EXPECT_EQ(d.Lines(IDC_PIXEL_LIST), expected);
        d.PressOK();
    });
    doc.OnDataShow();
    EXPECT_EQ(shown, QStringList({"-50", "250"}));
    EXPECT_EQ(Point(2, 0).m_nPixelX, 110);
    EXPECT_EQ(Point(2, 0).m_nPixelY, 280);
    EXPECT_EQ(Point(2, 0).m_bSelected, TRUE);
    EXPECT_EQ(Point(2, 1).m_nPixelX, -20);
    EXPECT_EQ(Point(0, 0).m_nPixelX, 120);
    EXPECT_EQ(Point(0, 0).m_nPixelY, 255);
    EXPECT_EQ(doc.m_DataSeries.m_aSeries[2]->m_aData.GetSize(), 2);
}

TEST_F(PixelDataDlgTest, PixelDataDlg_DefaultOriginCountsYUpwardAndSameValuesKeepThePoint) {
    doc.m_DataSeries.AddData(30, 40);
    host.AnswerDialog([&](DialogDriver& d) {
        EXPECT_EQ(d.Lines(IDC_PIXEL_LIST), QStringList({"系列 =  1;No. =   1;x =    30;y =   -40"}));
        AnswerEdit(host, "30", "-40");
        d.DoubleClickLine(IDC_PIXEL_LIST, 0);
        EXPECT_EQ(d.Lines(IDC_PIXEL_LIST), QStringList({"系列 =  1;No. =   1;x =    30;y =   -40"}));
        d.PressOK();
    });
    doc.OnDataShow();
    EXPECT_EQ(Point(0, 0).m_nPixelX, 30);
    EXPECT_EQ(Point(0, 0).m_nPixelY, 40);
}

TEST_F(PixelDataDlgTest, PixelDataDlg_DoubleClickOnAnEmptyListDoesNothing) {
    host.AnswerDialog([&](DialogDriver& d) {
        auto* list = qobject_cast<QListWidget*>(d.Control(IDC_PIXEL_LIST));
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->count(), 0);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->viewport()->rect().center());
        d.PressOK();
    });
    doc.OnDataShow();
    EXPECT_EQ(host.dialogsRun, 1) << "no edit dialog";
    EXPECT_EQ(counter.updates, 0);
}

// Positions at opposite ends of the 32-bit range lie 2^32 - 1 pixels apart: the list shows that
// distance, the edit dialog the nearest int, and confirming it unchanged leaves the point alone. A
// typed offset that would put the point beyond the range puts it at the range's end.
TEST_F(PixelDataDlgTest, PixelDataDlg_OffsetsNearThe32BitLimitsNeitherWrapNorMoveThePoint) {
    doc.m_DataAxis.m_Origin.m_nPixelX = INT_MIN;
    doc.m_DataAxis.m_Origin.m_nPixelY = INT_MAX;
    doc.m_DataSeries.AddData(INT_MAX, INT_MIN);
    QStringList shown;
    host.AnswerDialog([&](DialogDriver& d) {
        EXPECT_EQ(d.Lines(IDC_PIXEL_LIST),
                  QStringList({"系列 =  1;No. =   1;x = 4294967295;y = 4294967295"}));
        AnswerEdit(host, "2147483647", "2147483647", &shown);
        d.DoubleClickLine(IDC_PIXEL_LIST, 0);
        EXPECT_EQ(Point(0, 0).m_nPixelX, INT_MAX);
        EXPECT_EQ(Point(0, 0).m_nPixelY, INT_MIN);

        AnswerEdit(host, "0", "-5");
        d.DoubleClickLine(IDC_PIXEL_LIST, 0);
        EXPECT_EQ(d.Lines(IDC_PIXEL_LIST), QStringList({"系列 =  1;No. =   1;x =     0;y =     0"}));
        d.PressOK();
    });
    doc.OnDataShow();
    EXPECT_EQ(shown, QStringList({"2147483647", "2147483647"}));
    EXPECT_EQ(Point(0, 0).m_nPixelX, INT_MIN);
    EXPECT_EQ(Point(0, 0).m_nPixelY, INT_MAX);
}

// The list and the nested edit on real windows, with the mouse and the keyboard.
TEST_F(PixelDataDlgTest, PixelDataDlg_RealWindowsEditALineWithTheMouse) {
    MakeThreeSeries();
    RealModalHost real;
    OnNextModal([](QWidget* listWindow) {
        auto* list = ControlOf<QListWidget>(listWindow, IDC_PIXEL_LIST);
        ASSERT_NE(list, nullptr);
        OnNextModal(
            [](QWidget* editWindow) {
                // Keys go to the active window; until it is, Tab moves the focus without the
                // selection that lets the typing replace the field.
                EXPECT_TRUE(QTest::qWaitForWindowActive(editWindow));
                EXPECT_EQ(ControlOf<QLineEdit>(editWindow, IDC_EDIT_X)->text(), "30");
                QTest::keyClicks(ControlOf<QLineEdit>(editWindow, IDC_EDIT_X), "31");
                QTest::keyClick(ControlOf<QLineEdit>(editWindow, IDC_EDIT_X), Qt::Key_Tab);
                QTest::keyClicks(ControlOf<QLineEdit>(editWindow, IDC_EDIT_Y), "-1");
                QTest::mouseClick(ControlOf<QPushButton>(editWindow, IDOK), Qt::LeftButton);
            },
            listWindow);
        const QPoint centre = list->visualItemRect(list->item(1)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
        EXPECT_EQ(list->item(1)->text(), "系列 =  1;No. =   2;x =    31;y =    -1");
        QTest::mouseClick(ControlOf<QPushButton>(listWindow, IDOK), Qt::LeftButton);
    });
    doc.OnDataShow();
    EXPECT_EQ(Point(0, 1).m_nPixelX, 131);
    EXPECT_EQ(Point(0, 1).m_nPixelY, 301);
    EXPECT_EQ(counter.updates, 1);
}

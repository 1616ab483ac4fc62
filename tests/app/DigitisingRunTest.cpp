// A whole digitising run through the real main window: open a chart, calibrate it with the mouse and
// the value dialogs, pick two series, read the status bar, export, and compare the file.
#include "AppTestFixture.h"

#include "../support/WorkedExample.h"

#include "platform/CStatusBar.h"
#include "res/Resource.h"
#include "view/CTallyscopeView.h"

#include <QFile>
#include <QTest>
#include <QWidget>

namespace {

class DigitisingRun : public AppTest {
protected:
    // Starts on a 500 x 450 chart with the main window large enough to show all of it at zoom 1.
    void StartOnChart() {
        const QString chart = m_files.Save(MakeTestImage(500, 450), "chart.bmp");
        ASSERT_TRUE(Start({CString(chart.toUtf8().constData())}));
        MainFrame()->GetSafeHwnd()->resize(760, 700);
        QCoreApplication::processEvents();
        ASSERT_GE(Picture()->width(), 500);
        ASSERT_GE(Picture()->height(), 450);
    }
    QWidget* Picture() const { return View()->GetInputWidget(); }
    static CTallyscopeView* View() { return static_cast<CTallyscopeView*>(MainFrame()->GetActiveView()); }
    static void Command(UINT id) { ASSERT_TRUE(MainFrame()->ExecuteCommand(id)) << id; }

    void Click(QPoint at, Qt::KeyboardModifiers modifiers) {
        QTest::mouseClick(Picture(), Qt::LeftButton, modifiers, at);
    }
    void Place(QPoint at) { Click(at, Qt::ShiftModifier); }
    void EndFigure(QPoint at) { Click(at, Qt::ShiftModifier | Qt::ControlModifier); }
    void PlaceAxisPoint(UINT command, QPoint at, const char* value) {
        m_host.AnswerDialog([value](DialogDriver& dialog) {
            dialog.SetText(IDC_AXIS_VALUE, value);
            dialog.PressOK();
        });
        Command(command);
        Place(at);
    }

    std::vector<CString> Panes() {
        auto* bar = dynamic_cast<CStatusBar*>(MainFrame()->GetMessageBar());
        std::vector<CString> panes;
        for (int i = 1; i <= 5; ++i)
            panes.push_back(bar->GetPaneText(i));
        return panes;
    }
};

} // namespace

TEST_F(DigitisingRun, StatusBar_OffsetsFromTheOriginAndTheLastFinishedSeries) {
    StartOnChart();
    QTest::mouseMove(Picture(), QPoint(30, 40));
    EXPECT_EQ(Panes(),
              (std::vector<CString>{"x =  30", "y = -40", "l = 0.000000", "a = 0.000000", "系列 =   0"}));

    // Three points and a figure end: series 0 is finished, series 1 is current and empty. (QTest
    // takes the point (0, 0) for the widget's centre, so the figure keeps off it.)
    Place({20, 20});
    Place({320, 20});
    Place({320, 420});
    EndFigure({20, 420});
    const CTallyscopeDoc* doc = Document();
    ASSERT_EQ(doc->m_DataSeries.m_nCurrent, 1);
    EXPECT_EQ(doc->m_DataSeries.m_aSeries[0]->m_aData.GetSize(), 4);
    EXPECT_EQ(doc->m_DataSeries.m_aSeries[1]->m_aData.GetSize(), 0);
    QTest::mouseMove(Picture(), QPoint(31, 40));
    // The default calibration: 100 pixels per unit, so the rectangle 3 x 4 units, open on one side.
    EXPECT_EQ(Panes(),
              (std::vector<CString>{"x =  31", "y = -40", "l = 10.000000", "a = 12.000000", "系列 =   1"}));
}

TEST_F(DigitisingRun, EndToEnd_CalibratePickTwoSeriesAndExport) {
    StartOnChart();
    Command(ID_AXIS_ORIGIN);
    Place({50, 400});
    PlaceAxisPoint(ID_AXIS_XAXIS, {450, 400}, "10");
    PlaceAxisPoint(ID_AXIS_YAXIS, {50, 100}, "30");
    m_host.AnswerDialog([](DialogDriver& dialog) {
        EXPECT_EQ(dialog.Text(IDC_ORIGIN_X), "50");
        EXPECT_EQ(dialog.Text(IDC_XAXIS_X), "450");
        EXPECT_EQ(dialog.Text(IDC_X_MAX), "10");
        EXPECT_EQ(dialog.Text(IDC_Y_MAX), "30");
        dialog.SetText(IDC_X_MIN, "0");
        dialog.SetText(IDC_Y_MIN, "0");
        dialog.PressOK();
    });
    Command(ID_AXIS_VALUE);
    Command(ID_MEASURE_LENGTH);
    Command(ID_MEASURE_AREA);

    Place({50, 400});
    Place({150, 300});
    EndFigure({250, 250});
    Place({100, 350});
    EndFigure({300, 200});

    QTest::mouseMove(Picture(), QPoint(150, 100));
    EXPECT_EQ(Panes(),
              (std::vector<CString>{"x = 100", "y = 300", "l = 15.811388", "a = 0.000000", "系列 =   2"}));

    const QString typed = m_files.Path("run"); // typed without an extension
    m_host.AnswerFileDialog(CString(typed.toUtf8().constData()));
    QAction* save = KeyAction(QKeySequence(Qt::CTRL | Qt::Key_S));
    ASSERT_NE(save, nullptr);
    save->trigger();

    QFile written(typed + ".dat");
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().toStdString(), kWorkedExample);
}

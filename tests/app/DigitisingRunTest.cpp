// A whole digitising run through the real main window: open a chart, calibrate it with the mouse and
// the value dialogs, pick two series, read the status bar, export, and compare the file.
#include "AppTestFixture.h"

#include "../support/WorkedExample.h"

#include "platform/app/CStatusBar.h"
#include "platform/res/Cursors.h"
#include "platform/ui/CDialog.h"
#include "res/Resource.h"
#include "view/CTallyscopeView.h"

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QWidget>

#include <functional>

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
        Activate(Window());
    }
    static QMainWindow* Window() { return MainFrame()->GetFrameWidget(); }
    // What the window manager does when the user brings a window forward.
    static void Activate(QWidget* window) {
        window->activateWindow();
        // The headless platform leaves a menu that has closed the active window; no window
        // manager does.
        if (QApplication::activeWindow() != window)
            QApplication::setActiveWindow(window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
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

    // A key pressed and released, as often as asked, through the main window as the system
    // delivers it: to whichever widget has the focus. (QTest hands its delay argument on as the
    // key's repeat count; a keyboard's presses come one at a time.)
    static void Key(Qt::Key key, int times = 1) {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(Window()->windowHandle(), key, Qt::NoModifier, kOnePress);
    }
    static constexpr int kOnePress = 1;

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

// Keys reach the picture view as the system delivers them: to the focus widget of the active main
// window. The click that selects a point gives the view the focus, and whatever takes the focus
// afterwards gives it back to the view once the main window is active again. The arrows move the
// point in picture pixels at every zoom and never scroll the view.
TEST_F(DigitisingRun, Keys_NudgeTheSelectionThroughTheActiveWindow) {
    StartOnChart();
    CTallyscopeDoc* doc = Document();
    QMessageBox message(QMessageBox::Information, "Tallyscope", "ﾃﾞｰﾀ", QMessageBox::Ok, Window());
    QMenuBar* menuBar = Window()->menuBar();
    QAction* editMenu = menuBar->actions().at(1);
    const std::pair<const char*, std::function<void()>> interruptions[] = {
        {"nothing", [] {}},
        {"a dialog",
         [&] {
             m_host.AnswerDialog([](CDialog& about) -> INT_PTR {
                 Activate(about.GetSafeHwnd());
                 return IDOK;
             });
             Command(ID_APP_ABOUT);
         }},
        {"a menu opened and closed on the menu bar",
         [&] {
             const QPoint title = menuBar->actionGeometry(editMenu).center();
             QTest::mouseClick(menuBar, Qt::LeftButton, {}, title);
             ASSERT_TRUE(QTest::qWaitFor([&] { return editMenu->menu()->isVisible(); }));
             QTest::mouseClick(menuBar, Qt::LeftButton, {}, title);
             ASSERT_FALSE(editMenu->menu()->isVisible());
         }},
        {"a message box",
         [&] {
             message.show();
             Activate(&message);
             message.accept();
         }},
        {"the zoom window", [&] { Activate(g_zoomFrame->GetFrameWidget()); }},
    };
    const std::pair<int, UINT> zooms[] = {{1, ID_ZOOM_X1}, {2, ID_ZOOM_X2}, {4, ID_ZOOM_X4}};
    for (const auto& [zoom, zoomCommand] : zooms) {
        Command(zoomCommand);
        for (const bool axisPoint : {false, true}) {
            for (const auto& [interruption, interrupt] : interruptions) {
                const std::string what = std::to_string(zoom) + "x, " +
                                         (axisPoint ? "X-axis point" : "data point") + ", after " +
                                         interruption;
                doc->m_DataSeries.DeleteAll();
                doc->m_DataSeries.AddData(40, 50);
                doc->m_DataAxis.m_XAxis.m_nPixelX = 100;
                doc->m_DataAxis.m_XAxis.m_nPixelY = 0;
                const CData* point =
                    axisPoint ? &doc->m_DataAxis.m_XAxis : doc->m_DataSeries.m_aSeries[0]->GetData(0);
                const QPoint start(point->m_nPixelX, point->m_nPixelY);
                Click(start * zoom + QPoint(1, 1), Qt::NoModifier);
                ASSERT_EQ(doc->GetSelectedData(), point) << what;

                interrupt();
                Activate(Window());
                EXPECT_EQ(QApplication::focusWidget(), Picture()) << what;
                Key(Qt::Key_Left, 5);
                Key(Qt::Key_Up, 2);
                EXPECT_EQ(QPoint(point->m_nPixelX, point->m_nPixelY), start - QPoint(5, 2)) << what;
                EXPECT_EQ(View()->GetScrollPosition(), CPoint(0, 0)) << what;
            }
        }
    }
}

// Holding Shift shows the crosshair of the pending mode at once, releasing it the arrow, through
// the main window from its start on.
TEST_F(DigitisingRun, Cursor_FollowsShiftThroughTheActiveWindowInEveryMode) {
    StartOnChart();
    const std::pair<UINT, UINT> modes[] = {{0, IDC_CURSOR_PICK},
                                           {ID_AXIS_ORIGIN, IDC_CURSOR_ORIGIN},
                                           {ID_AXIS_XAXIS, IDC_CURSOR_XAXIS},
                                           {ID_AXIS_YAXIS, IDC_CURSOR_YAXIS}};
    for (const auto& [command, cursorId] : modes) {
        if (command != 0)
            Command(command);
        const QCursor* crosshair = LoadCursor(AfxFindResourceHandle(cursorId, RT_GROUP_CURSOR), cursorId);
        ASSERT_NE(crosshair, nullptr);
        QTest::keyPress(Window()->windowHandle(), Qt::Key_Shift, Qt::NoModifier, kOnePress);
        ASSERT_TRUE(Picture()->testAttribute(Qt::WA_SetCursor)) << cursorId;
        EXPECT_EQ(Picture()->cursor().bitmap().toImage(), crosshair->bitmap().toImage()) << cursorId;
        EXPECT_EQ(Picture()->cursor().hotSpot(), crosshair->hotSpot()) << cursorId;
        QTest::keyRelease(Window()->windowHandle(), Qt::Key_Shift, Qt::NoModifier, kOnePress);
        EXPECT_FALSE(Picture()->testAttribute(Qt::WA_SetCursor)) << cursorId << ": back to the arrow";
    }
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

// The length and area panes come from numbers kept between moves. After every kind of change they
// must show what a fresh measurement of the series before the current one gives. Most changes
// below move those numbers, several without changing which series that is or how many points it
// has, so numbers kept from before a change would show.
TEST_F(DigitisingRun, StatusBar_MeasureFollowsEveryKindOfChange) {
    StartOnChart();
    const QString otherChart = m_files.Save(MakeTestImage(500, 450), "other.bmp");
    auto figure = [this](std::initializer_list<QPoint> points, QPoint last) {
        for (QPoint point : points)
            Place(point);
        EndFigure(last);
    };
    figure({{120, 120}, {320, 140}, {300, 330}}, {140, 300});

    struct Change {
        const char* what;
        std::function<void()> make;
        bool movesNumbers;
    };
    const Change changes[] = {
        {"pick into the current series",
         [&] {
             Place({200, 200});
         },
         false},
        {"nudge a point of the finished series",
         [&] {
             Click({320, 140}, Qt::NoModifier);
             Key(Qt::Key_Right, 3);
         },
         true},
        {"retype a point of the finished series",
         [&] {
             m_host.AnswerDialog([this](DialogDriver& list) {
                 m_host.AnswerDialog([](DialogDriver& edit) {
                     edit.SetText(IDC_EDIT_X, "90");
                     edit.SetText(IDC_EDIT_Y, "-130");
                     edit.PressOK();
                 });
                 list.DoubleClickLine(IDC_PIXEL_LIST, 0);
                 list.PressOK();
             });
             Command(ID_DATA_SHOW);
         },
         true},
        {"type the calibration",
         [&] {
             m_host.AnswerDialog([](DialogDriver& dialog) {
                 dialog.SetText(IDC_X_MAX, "2.5");
                 dialog.PressOK();
             });
             Command(ID_AXIS_VALUE);
         },
         true},
        {"place the origin",
         [&] {
             Command(ID_AXIS_ORIGIN);
             Place({30, 420});
         },
         true},
        {"place the Y-axis point and type its value",
         [&] {
             PlaceAxisPoint(ID_AXIS_YAXIS, {40, 30}, "7");
         },
         true},
        {"nudge the origin",
         [&] {
             Click({30, 420}, Qt::NoModifier);
             Key(Qt::Key_Up, 2);
         },
         true},
        {"switch length measurement", [&] { Command(ID_MEASURE_LENGTH); }, false},
        {"switch area measurement", [&] { Command(ID_MEASURE_AREA); }, false},
        {"delete the latest point of the current series", [&] { Command(ID_DATA_DELETE_LAST); }, false},
        {"delete all, then a new figure of as many points",
         [&] {
             m_host.AnswerMessageBox(IDYES);
             Command(ID_DATA_DELETE_ALL);
             figure({{100, 100}, {400, 100}, {400, 400}}, {100, 400});
         },
         true},
        {"open another picture, then a new figure of as many points",
         [&] {
             m_host.AnswerFileDialog(CString(otherChart.toUtf8().constData()));
             m_host.AnswerMessageBox(IDNO); // the unexported points may go
             Command(ID_FILE_OPEN);
             figure({{60, 60}, {250, 80}, {260, 260}}, {70, 240});
         },
         true},
        {"start a new series", [&] { Command(ID_DATA_NEW_SERIES); }, true},
    };

    int x = 10;
    auto shownMeasure = [&] {
        QTest::mouseMove(Picture(), QPoint(x++, 440)); // each move somewhere new, so each one arrives
        const std::vector<CString> panes = Panes();
        return std::vector<CString>{panes[2], panes[3]};
    };
    for (const Change& change : changes) {
        const std::vector<CString> before = shownMeasure();
        change.make();
        const std::vector<CString> after = shownMeasure();
        const CTallyscopeDoc* doc = Document();
        const int previous = doc->m_DataSeries.m_nCurrent - 1;
        CString length;
        CString area;
        length.Format("l = %3lf", doc->GetLineLength(previous));
        area.Format("a = %3lf", doc->GetArea(previous));
        EXPECT_EQ(after, (std::vector<CString>{length, area})) << change.what;
        if (change.movesNumbers)
            EXPECT_NE(after, before) << change.what;
        else
            EXPECT_EQ(after, before) << change.what;
    }
}

// The trace mode through the real main window: chosen from the tools menu, a Shift-click on the
// sample chart's red curve, the export compared with the command line's; the undo of a whole trace;
// leaving the mode; the settings kept between runs.
#include "../app/AppTestFixture.h"

#include "extract/CurveTracing.h"
#include "platform/app/CStatusBar.h"
#include "platform/core/EngineModule.h"
#include "res/Resource.h"
#include "trace/TraceMode.h"
#include "trace/TracePreferences.h"
#include "view/CTallyscopeView.h"

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

namespace {

const QString kChart = QStringLiteral(TALLYSCOPE_SOURCE_DIR "/samples/chart.bmp");
// On the sample chart (480 x 360): a pixel on the red curve, one on the blue curve, one on the
// paper between them.
const QPoint kOnRedCurve(200, 188);
const QPoint kOnBlueCurve(100, 208);
const QPoint kOnPaper(300, 100);

class TraceModeRun : public AppTest {
protected:
    void StartOnSample() {
        ASSERT_TRUE(Start({CString(kChart.toUtf8().constData())}));
        Window()->resize(760, 700);
        QCoreApplication::processEvents();
        ASSERT_GE(Picture()->width(), 480);
        ASSERT_GE(Picture()->height(), 360);
        Activate(Window());
    }
    static QMainWindow* Window() { return MainFrame()->GetFrameWidget(); }
    static void Activate(QWidget* window) {
        window->activateWindow();
        if (QApplication::activeWindow() != window)
            QApplication::setActiveWindow(window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }
    static CTallyscopeView* View() { return static_cast<CTallyscopeView*>(MainFrame()->GetActiveView()); }
    static QWidget* Picture() { return View()->GetInputWidget(); }
    static void Command(UINT id) { ASSERT_TRUE(MainFrame()->ExecuteCommand(id)) << id; }
    static CCmdUI State(UINT id) { return MainFrame()->QueryCommandState(id); }
    static void ShiftClick(QPoint pixel) {
        QTest::mouseClick(Picture(), Qt::LeftButton, Qt::ShiftModifier, pixel);
    }
    static CString Message() { return MainFrame()->m_statusBar.GetPaneText(0); }

    // Opens the tools menu on the menu bar and clicks the item, as the user does.
    static void ChooseFromToolsMenu(UINT id) {
        QMenuBar* bar = Window()->menuBar();
        QAction* tools = nullptr;
        for (QAction* action : bar->actions()) {
            if (action->text() == "ツール(&T)")
                tools = action;
        }
        ASSERT_NE(tools, nullptr);
        QMenu* menu = tools->menu();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(tools).center());
        ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }));
        QAction* item = MainFrame()->GetCommandAction(id);
        ASSERT_TRUE(item->isEnabled()) << id;
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
        ASSERT_TRUE(QTest::qWaitFor([menu] { return !menu->isVisible(); }));
        Activate(Window());
    }

    // The sample chart's axes: the corner is (0 s, 0 %), the 10 s tick and the 100 % tick.
    void Calibrate() {
        m_host.AnswerDialog([](DialogDriver& dialog) {
            const std::pair<int, const char*> fields[] = {
                {IDC_ORIGIN_X, "60"}, {IDC_ORIGIN_Y, "310"}, {IDC_XAXIS_X, "450"}, {IDC_XAXIS_Y, "310"},
                {IDC_YAXIS_X, "60"},  {IDC_YAXIS_Y, "30"},   {IDC_X_MIN, "0"},     {IDC_X_MAX, "10"},
                {IDC_Y_MIN, "0"},     {IDC_Y_MAX, "100"}};
            for (const auto& [id, text] : fields)
                dialog.SetText(id, text);
            dialog.PressOK();
        });
        Command(ID_AXIS_VALUE);
    }

    QByteArray ExportFromWindow(const char* name) {
        const QString path = m_files.Path(name);
        m_host.AnswerFileDialog(CString(path.toUtf8().constData()));
        QAction* save = KeyAction(QKeySequence(Qt::CTRL | Qt::Key_S));
        if (save == nullptr)
            return {};
        save->trigger();
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static std::vector<int> SeriesSizes() {
        std::vector<int> sizes;
        const CDataSeries& series = Document()->m_DataSeries;
        for (int s = 0; s < series.m_aSeries.GetSize(); ++s)
            sizes.push_back(series.m_aSeries[s]->m_aData.GetSize());
        return sizes;
    }
};

// The command line's export of the same calibration and trace, run as a user runs it.
QByteArray ExportFromCommandLine(const QString& path, QPoint trace) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(TALLYSCOPE_PROGRAM),
                  {"--origin", "60,310=0,0", "--x-axis", "450,310=10", "--y-axis", "60,30=100", "--trace",
                   QString("%1,%2").arg(trace.x()).arg(trace.y()), "--export", path, kChart});
    EXPECT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST_F(TraceModeRun, ShiftClickOnTheRedCurve_ExportIsTheCommandLinesByteForByte) {
    StartOnSample();
    Calibrate();
    ChooseFromToolsMenu(ID_TRACE_MODE);
    MainFrame()->OnIdleUpdateCmdUI();
    EXPECT_TRUE(MainFrame()->GetCommandAction(ID_TRACE_MODE)->isChecked());

    ShiftClick(kOnRedCurve);
    const std::vector<int> sizes = SeriesSizes();
    ASSERT_EQ(sizes.size(), 1u);
    EXPECT_GE(sizes[0], 20) << "a curve across the chart, a point every few pixels";
    CString done;
    done.Format(kMsgTraceDone, sizes[0], 0);
    EXPECT_EQ(Message(), done);
    EXPECT_TRUE(Document()->IsModified()) << "unexported work, as any pick";
    MainFrame()->OnIdleUpdateCmdUI();
    EXPECT_TRUE(MainFrame()->GetCommandAction(ID_TRACE_MODE)->isChecked()) << "on for the next curve";

    const QByteArray window = ExportFromWindow("window.dat");
    ASSERT_FALSE(window.isEmpty());
    EXPECT_EQ(ExportFromCommandLine(m_files.Path("command-line.dat"), kOnRedCurve), window);
}

TEST_F(TraceModeRun, Undo_TakesBackTheLastWholeTraceAndCtrlZStillTheLatestPoint) {
    StartOnSample();
    ShiftClick({20, 20}); // two picks before the mode
    ShiftClick({30, 40});
    EXPECT_FALSE(State(ID_TRACE_UNDO).m_bEnabled);
    Command(ID_TRACE_MODE);
    ShiftClick(kOnRedCurve);
    const std::vector<int> afterRed = SeriesSizes();
    ASSERT_EQ(afterRed.size(), 2u) << "the picks' series had points, so the trace started one";
    const QByteArray beforeBlue = ExportFromWindow("before-blue.dat");
    ShiftClick(kOnBlueCurve);
    ASSERT_EQ(SeriesSizes().size(), 3u);
    EXPECT_TRUE(State(ID_TRACE_UNDO).m_bEnabled);

    Command(ID_TRACE_UNDO);
    EXPECT_EQ(SeriesSizes(), afterRed);
    EXPECT_EQ(ExportFromWindow("after-undo.dat"), beforeBlue);
    EXPECT_FALSE(State(ID_TRACE_UNDO).m_bEnabled) << "only the last trace is taken back";

    // Ctrl+Z deletes the latest point, as ever, and a trace it cut into can no longer be taken back.
    ShiftClick(kOnBlueCurve);
    QAction* undoKey = KeyAction(QKeySequence(Qt::CTRL | Qt::Key_Z));
    ASSERT_NE(undoKey, nullptr);
    const std::vector<int> beforeKey = SeriesSizes();
    undoKey->trigger();
    std::vector<int> expected = beforeKey;
    --expected.back();
    EXPECT_EQ(SeriesSizes(), expected);
    EXPECT_FALSE(State(ID_TRACE_UNDO).m_bEnabled);
}

TEST_F(TraceModeRun, Mode_OnlyWithAPictureLeftByEscapeOrTheItemAgain) {
    ASSERT_TRUE(Start());
    EXPECT_FALSE(State(ID_TRACE_MODE).m_bEnabled);
    EXPECT_TRUE(State(ID_TRACE_SETTINGS).m_bEnabled);
    ASSERT_NE(theApp.OpenDocumentFile(CString(kChart.toUtf8().constData())), nullptr);
    Window()->resize(760, 700);
    Activate(Window());
    EXPECT_TRUE(State(ID_TRACE_MODE).m_bEnabled);
    EXPECT_FALSE(State(ID_TRACE_MODE).m_bChecked);

    EXPECT_FALSE(EngineModule::IsLoaded(kTracingModuleName));
    Command(ID_TRACE_MODE);
    EXPECT_TRUE(State(ID_TRACE_MODE).m_bChecked);
    EXPECT_EQ(Message(), kMsgTraceModeOn);
    // The tracer is made ready while the user aims, before any click.
    EXPECT_TRUE(QTest::qWaitFor([] { return EngineModule::IsLoaded(kTracingModuleName); }, 10000));
    ShiftClick(kOnPaper);
    EXPECT_EQ(SeriesSizes(), std::vector<int>{0}) << "no curve there: nothing added";
    EXPECT_EQ(Message(), kMsgTraceNoCurve);
    EXPECT_FALSE(Document()->IsModified());

    QTest::keyClick(Window()->windowHandle(), Qt::Key_Escape);
    EXPECT_FALSE(State(ID_TRACE_MODE).m_bChecked);
    ShiftClick(kOnRedCurve);
    EXPECT_EQ(SeriesSizes(), std::vector<int>{1}) << "out of the mode a Shift-click picks one point";

    Command(ID_TRACE_MODE);
    Command(ID_TRACE_MODE);
    EXPECT_FALSE(State(ID_TRACE_MODE).m_bChecked);
    ShiftClick(kOnBlueCurve);
    EXPECT_EQ(SeriesSizes(), std::vector<int>{2});
}

TEST_F(TraceModeRun, Settings_KeptBetweenRunsAndRefusedOutOfRange) {
    ASSERT_TRUE(Start());
    m_host.AnswerDialog([](DialogDriver& dialog) {
        EXPECT_EQ(dialog.Text(IDC_TRACE_TOLERANCE), "20");
        EXPECT_EQ(dialog.Text(IDC_TRACE_SPACING), "5");
        EXPECT_EQ(dialog.Text(IDC_TRACE_GAP), "24");
        EXPECT_FALSE(dialog.IsChecked(IDC_TRACE_INSIDE_AXES));
        dialog.SetText(IDC_TRACE_TOLERANCE, "12");
        dialog.SetText(IDC_TRACE_SPACING, "0"); // below its range: said, and the dialog stays
        dialog.SetCheck(IDC_TRACE_INSIDE_AXES, true);
        EXPECT_FALSE(dialog.PressOK());
        EXPECT_EQ(dialog.FocusedControlId(), static_cast<int>(IDC_TRACE_SPACING));
        dialog.SetText(IDC_TRACE_SPACING, "8");
        dialog.SetText(IDC_TRACE_GAP, "0");
        EXPECT_TRUE(dialog.PressOK());
    });
    m_host.AnswerMessageBox(IDOK);
    Command(ID_TRACE_SETTINGS);
    ASSERT_EQ(m_host.messages.size(), 1u);
    EXPECT_EQ(m_host.messages[0].text, "1 から 200 までの整数を入力してください。");

    theApp.ExitInstance();
    DeleteDestroyedWindows();
    ASSERT_TRUE(Start());
    m_host.AnswerDialog([](DialogDriver& dialog) {
        EXPECT_EQ(dialog.Text(IDC_TRACE_TOLERANCE), "12");
        EXPECT_EQ(dialog.Text(IDC_TRACE_SPACING), "8");
        EXPECT_EQ(dialog.Text(IDC_TRACE_GAP), "0");
        EXPECT_TRUE(dialog.IsChecked(IDC_TRACE_INSIDE_AXES));
        dialog.SetText(IDC_TRACE_GAP, "30");
        EXPECT_TRUE(dialog.PressCancel()); // Cancel keeps what was kept
    });
    Command(ID_TRACE_SETTINGS);
    const TracePreferences kept = TracePreferences::Load();
    EXPECT_EQ(kept.colourTolerance, 12);
    EXPECT_EQ(kept.pointSpacing, 8);
    EXPECT_EQ(kept.largestGap, 0);
    EXPECT_TRUE(kept.insideReferenceBox);
}

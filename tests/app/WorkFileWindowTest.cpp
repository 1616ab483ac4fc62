// The work file in the window: saved and opened again, the work exports the same bytes (on a PDF
// page too, rendered again without asking); a file that cannot be taken is refused and the open
// work stays; a picture that changed or went is said so and another may be chosen; the picture is
// named as it was opened; and the whole run through the real menus.
#include "AppTestFixture.h"

#include "../support/PdfFiles.h"
#include "../support/TestDocuments.h"

#include "app/WorkFileCommands.h"
#include "res/Resource.h"
#include "trace/TracePreferences.h"
#include "view/CTallyscopeView.h"
#include "work/DocumentWork.h"

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <cstdio>
#include <functional>
#include <tuple>

namespace {

class WorkFileWindow : public AppTest {
protected:
    void StartOnChart() {
        m_chart = Chart("chart.bmp", Qt::white);
        ASSERT_TRUE(Start({m_chart}));
    }
    CString Chart(const char* name, QColor colour) {
        return CString(m_files.Save(MakeTestImage(200, 150, colour), name).toUtf8().constData());
    }
    static void Command(UINT id) { ASSERT_TRUE(MainFrame()->ExecuteCommand(id)) << id; }
    static CTallyscopeView* View() { return static_cast<CTallyscopeView*>(MainFrame()->GetActiveView()); }
    void SaveWork(const QString& path) {
        m_host.AnswerFileDialog(CString(path.toUtf8().constData()));
        Command(ID_WORK_SAVE);
    }
    void OpenWork(const QString& path) {
        m_host.AnswerFileDialog(CString(path.toUtf8().constData()));
        Command(ID_WORK_OPEN);
    }
    QByteArray ExportNow() { return ExportBytes(*Document(), m_files.Path("now.dat")); }
    // Some unexported work on the open chart, to be kept or replaced.
    static void PickSome() {
        CTallyscopeDoc* doc = Document();
        doc->m_DataSeries.AddData(11, 12);
        doc->m_DataSeries.AddData(13, 14);
        doc->DataChanged();
    }
    std::vector<CString> MessageTexts() const {
        std::vector<CString> texts;
        for (const auto& message : m_host.messages)
            texts.push_back(message.text);
        return texts;
    }
    static CString Format(const char* format, const QString& text) {
        CString message;
        message.Format(format, text.toUtf8().constData());
        return message;
    }

    CString m_chart;
};

struct Reference {
    int x, y;
    double valueX, valueY;
};
void Calibrate(CTallyscopeDoc& doc, Reference origin, Reference xAxis, Reference yAxis, bool logX, bool logY) {
    const auto put = [](CData& point, Reference reference) {
        point.m_nPixelX = reference.x;
        point.m_nPixelY = reference.y;
        point.m_dValueX = reference.valueX;
        point.m_dValueY = reference.valueY;
    };
    put(doc.m_DataAxis.m_Origin, origin);
    put(doc.m_DataAxis.m_XAxis, xAxis);
    put(doc.m_DataAxis.m_YAxis, yAxis);
    doc.m_DataAxis.m_bLogX = logX ? TRUE : FALSE;
    doc.m_DataAxis.m_bLogY = logY ? TRUE : FALSE;
}
void Pick(CTallyscopeDoc& doc, std::initializer_list<std::pair<int, int>> points) {
    for (const auto& [x, y] : points)
        doc.m_DataSeries.AddData(x, y);
}

// Puts a PDF page and resolution into a work file's picture; an undefined value leaves it out.
void SetPdfPage(QJsonObject& top, const QJsonValue& page, const QJsonValue& dpi) {
    QJsonObject picture = top["picture"].toObject();
    if (!page.isUndefined())
        picture["page"] = page;
    if (!dpi.isUndefined())
        picture["dpi"] = dpi;
    top["picture"] = picture;
}

CString FieldWrong(const char* field) {
    CString text;
    text.Format(kMsgWorkFieldWrong, "w.tallyscope.json", field);
    return text;
}

} // namespace

// Each state is made on the chart, saved, left for another picture, and opened again: the export
// is the same to the byte, and so is the selection. Saving is not exporting: the question still
// asks before the work is left.
TEST_F(WorkFileWindow, RoundTrip_ExportIsByteIdentical) {
    const struct {
        const char* name;
        std::function<void(CTallyscopeDoc&)> make;
    } states[] = {
        {"log axes",
         [](CTallyscopeDoc& doc) {
             Calibrate(doc, {10, 140, 0.01, 1}, {190, 140, 1000, 0}, {10, 10, 0, 1e5}, true, true);
             Pick(doc, {{20, 130}, {60, 90}, {100, 40}});
             doc.m_DataSeries.NewSeries();
             Pick(doc, {{30, 120}, {150, 20}});
         }},
        {"oblique axes, empty series between and last",
         [](CTallyscopeDoc& doc) {
             Calibrate(doc, {20, 130, -5, 2.5}, {180, 100, 7.75, 0}, {45, 10, 0, -3.125}, false, false);
             Pick(doc, {{40, 120}, {80, 100}});
             doc.m_DataSeries.NewSeries();
             doc.m_DataSeries.NewSeries();
             Pick(doc, {{90, 60}, {120, 70}, {160, 30}});
             doc.m_DataSeries.NewSeries();
         }},
        {"a selected point, both switches",
         [](CTallyscopeDoc& doc) {
             Calibrate(doc, {0, 149, 0, 0}, {199, 149, 1, 0}, {0, 0, 0, 1}, false, false);
             Pick(doc, {{10, 10}, {50, 80}, {90, 20}});
             doc.m_DataSeries.NewSeries();
             Pick(doc, {{100, 100}, {140, 110}});
             doc.m_DataSeries.m_aSeries[1]->m_aData[1]->m_bSelected = TRUE;
             doc.m_bMeasureLength = TRUE;
             doc.m_bMeasureArea = TRUE;
         }},
        {"a selected reference point",
         [](CTallyscopeDoc& doc) {
             Pick(doc, {{10, 20}});
             doc.m_DataAxis.m_XAxis.m_bSelected = TRUE;
         }},
    };
    StartOnChart();
    const CString other = Chart("other.bmp", Qt::gray);
    for (const auto& state : states) {
        SCOPED_TRACE(state.name);
        ASSERT_NE(theApp.OpenDocumentFile(other), nullptr); // the chart afresh, without points
        ASSERT_NE(theApp.OpenDocumentFile(m_chart), nullptr);
        CTallyscopeDoc* doc = Document();
        state.make(*doc);
        doc->DataChanged();
        const QByteArray exported = ExportNow();
        const WorkState before = DocumentWork::Capture(*doc);
        const QString work = m_files.Path(QString(state.name).left(3) + ".tallyscope.json");
        TracePreferences{7, 3, 40, true}.Save();
        SaveWork(work);
        TracePreferences{}.Save();
        ASSERT_TRUE(QFile::exists(work));
        EXPECT_TRUE(doc->IsModified()) << "saving the work is not exporting it";

        m_host.AnswerMessageBox(IDNO); // the .dat question, for the work left behind
        ASSERT_NE(theApp.OpenDocumentFile(other), nullptr);
        ASSERT_EQ(m_host.messages.size(), 1u);
        ASSERT_EQ(DocumentWork::Capture(*Document()).PointCount(), 0);

        OpenWork(work);
        EXPECT_EQ(Document()->GetPathName(), m_chart);
        EXPECT_EQ(ExportNow(), exported);
        EXPECT_TRUE(DocumentWork::Capture(*Document()) == before);
        EXPECT_EQ(View()->m_bPointSelected, before.selectedSeries != WorkState::kNoSelection);
        EXPECT_TRUE(Document()->IsModified());
        const TracePreferences kept = TracePreferences::Load();
        EXPECT_EQ(std::tie(kept.colourTolerance, kept.pointSpacing, kept.largestGap, kept.insideReferenceBox),
                  std::make_tuple(7, 3, 40, true))
            << "the trace settings come back with the work";
        Document()->SetModifiedFlag(FALSE);
        m_host.messages.clear();
    }
    ASSERT_GE(m_host.fileDialogs.size(), 2u);
    const FileDialogRequest& save = m_host.fileDialogs[0];
    const FileDialogRequest& open = m_host.fileDialogs[1];
    EXPECT_FALSE(save.openFile);
    EXPECT_TRUE(open.openFile);
    for (const FileDialogRequest& request : {save, open}) {
        EXPECT_EQ(request.filter, kWorkFileFilter);
        EXPECT_EQ(request.defaultExt, "tallyscope.json");
    }
    EXPECT_EQ(save.title, kTitleSaveWork);
    EXPECT_EQ(open.title, kTitleOpenWork);
    EXPECT_EQ(save.fileName, CString(m_files.Path("chart.tallyscope.json").toUtf8().constData()));
}

// A file that cannot be taken is refused with a message naming why, and everything of the open
// work stays: its picture, points, calibration, selection and its unexported state.
TEST_F(WorkFileWindow, Refusals_LeaveTheOpenWorkAsItWas) {
    StartOnChart();
    PickSome();
    const WorkState before = DocumentWork::Capture(*Document());
    const QByteArray exported = ExportNow();
    // A good file to spoil: the work of another chart.
    const QString otherChart = QString::fromUtf8(Chart("other.bmp", Qt::gray).GetString());
    WorkState good;
    good.picturePath = otherChart;
    good.pictureIdentity = WorkState::PictureIdentity::Of(otherChart);
    good.series = {{{1, 1}, {2, 2}}};
    const QString goodText = QString::fromUtf8(WorkFile::ToJson(good, m_files.Path("x.tallyscope.json")));
    const auto replaced = [&](const char* from, const char* to) {
        QString text = goodText;
        EXPECT_TRUE(text.contains(from)) << from;
        return text.replace(from, to).toUtf8();
    };
    const auto edited = [&](const std::function<void(QJsonObject&)>& edit) {
        QJsonObject top = QJsonDocument::fromJson(goodText.toUtf8()).object();
        edit(top);
        return QJsonDocument(top).toJson();
    };
    const struct {
        const char* name;
        QByteArray text;
        CString message;
        int answer; // to the message
    } cases[] = {
        {"newer version", replaced("\"version\": 1", "\"version\": 7"),
         [] {
             CString text;
             text.Format(kMsgWorkNewerVersion, "w.tallyscope.json", 7);
             return text;
         }(),
         IDOK},
        {"damaged: cut short", goodText.toUtf8().left(goodText.size() / 2),
         Format(kMsgWorkDamaged, "w.tallyscope.json"), IDOK},
        {"damaged: not JSON", "\x89PNG\r\n", Format(kMsgWorkDamaged, "w.tallyscope.json"), IDOK},
        {"not a work file", "{\"format\": \"something else\", \"version\": 1}",
         Format(kMsgWorkNotWorkFile, "w.tallyscope.json"), IDOK},
        {"wrong type: a point",
         edited([](QJsonObject& top) { top["series"] = QJsonArray{QJsonArray{QJsonArray{"1", 1}}}; }),
         [] {
             CString text;
             text.Format(kMsgWorkFieldWrong, "w.tallyscope.json", "series[0][0][0]");
             return text;
         }(),
         IDOK},
        {"wrong type: log flag", replaced("\"logX\": false", "\"logX\": 0"),
         [] {
             CString text;
             text.Format(kMsgWorkFieldWrong, "w.tallyscope.json", "calibration.logX");
             return text;
         }(),
         IDOK},
        {"out of range: selection", replaced("\"selection\": null", "\"selection\": {\"series\": 0, \"point\": 2}"),
         [] {
             CString text;
             text.Format(kMsgWorkFieldWrong, "w.tallyscope.json", "selection");
             return text;
         }(),
         IDOK},
        {"out of range: page 0", edited([](QJsonObject& top) { SetPdfPage(top, 0, 150); }),
         FieldWrong("picture.page"), IDOK},
        {"out of range: a resolution above the page dialog's", edited([](QJsonObject& top) { SetPdfPage(top, 1, 9601); }),
         FieldWrong("picture.dpi"), IDOK},
        {"out of range: a resolution below the page dialog's", edited([](QJsonObject& top) { SetPdfPage(top, 1, 9); }),
         FieldWrong("picture.dpi"), IDOK},
        {"wrong type: a page of text", edited([](QJsonObject& top) { SetPdfPage(top, "2", 150); }),
         FieldWrong("picture.page"), IDOK},
        {"wrong type: a fractional resolution", edited([](QJsonObject& top) { SetPdfPage(top, 2, 150.5); }),
         FieldWrong("picture.dpi"), IDOK},
        {"a page without its resolution", edited([](QJsonObject& top) { SetPdfPage(top, 2, QJsonValue::Undefined); }),
         FieldWrong("picture.dpi"), IDOK},
        {"a resolution without its page", edited([](QJsonObject& top) { SetPdfPage(top, QJsonValue::Undefined, 150); }),
         FieldWrong("picture.page"), IDOK},
        {"missing picture, none chosen", replaced("other.bmp", "gone.bmp"),
         Format(kMsgWorkPictureMissing, m_files.Path("gone.bmp")), IDNO},
        {"missing picture, choice cancelled", replaced("other.bmp", "gone.bmp"),
         Format(kMsgWorkPictureMissing, m_files.Path("gone.bmp")), IDYES},
    };
    const QString work = m_files.Path("w.tallyscope.json");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_files.Write("w.tallyscope.json", c.text);
        m_host.messages.clear();
        m_host.AnswerMessageBox(c.answer);
        m_host.AnswerFileDialog(CString(work.toUtf8().constData()));
        if (c.answer == IDYES)
            m_host.AnswerFileDialog(std::nullopt);
        Command(ID_WORK_OPEN);
        EXPECT_EQ(MessageTexts(), std::vector<CString>{c.message});
        EXPECT_EQ(Document()->GetPathName(), m_chart);
        EXPECT_TRUE(DocumentWork::Capture(*Document()) == before);
        EXPECT_TRUE(Document()->IsModified());
        EXPECT_EQ(ExportNow(), exported);
    }
}

// A picture that changed since the save may take the work, or another may be chosen; one that is
// gone may be replaced by a chosen one. The work lands on the picture that was opened.
TEST_F(WorkFileWindow, MovedPicture_IsSaidSoAndAnotherMayBeChosen) {
    StartOnChart();
    const CString chosen = Chart("chosen.bmp", Qt::yellow);
    const struct {
        const char* name;
        bool removed;       // else changed
        int answer;         // to the question about the picture
        bool choosesOther;  // the user picks chosen.bmp in the open dialog
    } cases[] = {
        {"changed, taken as it is", false, IDYES, false},
        {"changed, another chosen", false, IDNO, true},
        {"gone, another chosen", true, IDYES, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(theApp.OpenDocumentFile(m_chart), nullptr);
        const CString picture = Chart("moving.bmp", Qt::white);
        ASSERT_NE(theApp.OpenDocumentFile(picture), nullptr);
        Pick(*Document(), {{5, 6}, {7, 8}});
        Document()->DataChanged();
        const QString work = m_files.Path("moving.tallyscope.json");
        SaveWork(work);
        const QByteArray exported = ExportNow();
        m_host.AnswerMessageBox(IDNO);
        ASSERT_NE(theApp.OpenDocumentFile(m_chart), nullptr);
        if (c.removed)
            ASSERT_TRUE(QFile::remove(QString::fromUtf8(picture.GetString())));
        else
            Chart("moving.bmp", Qt::cyan);
        m_host.messages.clear();
        m_host.AnswerMessageBox(c.answer);
        m_host.AnswerFileDialog(CString(work.toUtf8().constData()));
        if (c.choosesOther)
            m_host.AnswerFileDialog(chosen);
        Command(ID_WORK_OPEN);
        ASSERT_EQ(m_host.messages.size(), 1u);
        const CString expectedQuestion =
            c.removed ? Format(kMsgWorkPictureMissing, QString::fromUtf8(picture.GetString()))
                      : Format(kMsgWorkPictureChanged, "moving.bmp");
        EXPECT_EQ(m_host.messages[0].text, expectedQuestion);
        EXPECT_EQ(Document()->GetPathName(), c.choosesOther ? chosen : picture);
        EXPECT_EQ(ExportNow(), exported);
        Document()->SetModifiedFlag(FALSE);
    }
}

// Work on page 2 of a PDF at 150 dpi: the work file names the page and the resolution, and opening
// it renders that page at that resolution without asking, to the same pixels and the same export.
// A PDF chosen in place of one that moved is rendered at them too.
TEST_F(WorkFileWindow, PdfPage_ComesBackOnItsPageAtItsResolution) {
    StartOnChart();
    const QString pdf = m_files.Write("paper.pdf", MakeChartPdf(2));
    m_host.AnswerDialog([](DialogDriver& dialog) {
        dialog.SetText(IDC_PDF_PAGE, "2");
        dialog.SetText(IDC_PDF_DPI, "150");
        EXPECT_TRUE(dialog.PressOK());
    });
    ASSERT_NE(theApp.OpenDocumentFile(CString(pdf.toUtf8().constData())), nullptr);
    ASSERT_EQ(Document()->GetPdfPage(), (PdfPageChoice{2, 150}));
    const QImage pixels = Document()->GetBitmapHandle()->copy();
    Calibrate(*Document(), {10, 600, 0, 0}, {800, 600, 100, 0}, {10, 10, 0, 50}, false, false);
    Pick(*Document(), {{100, 300}, {400, 320}, {700, 123}});
    Document()->DataChanged();
    const QByteArray exported = ExportNow();
    const QString work = m_files.Path("paper.tallyscope.json");
    SaveWork(work);
    QFile saved(work);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QJsonObject picture = QJsonDocument::fromJson(saved.readAll()).object()["picture"].toObject();
    EXPECT_EQ(picture["page"], QJsonValue(2));
    EXPECT_EQ(picture["dpi"], QJsonValue(150));
    const int dialogsRun = m_host.dialogsRun;

    const struct {
        const char* name;
        const char* movedTo; // the PDF moved there before the work is opened, and is chosen there
    } cases[] = {{"in its place", nullptr}, {"moved, and chosen where it went", "moved.pdf"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_host.AnswerMessageBox(IDNO); // the .dat question, for the work left behind
        ASSERT_NE(theApp.OpenDocumentFile(m_chart), nullptr);
        QString opened = pdf;
        m_host.AnswerFileDialog(CString(work.toUtf8().constData()));
        if (c.movedTo != nullptr) {
            opened = m_files.Path(c.movedTo);
            ASSERT_TRUE(QFile::rename(pdf, opened));
            m_host.AnswerMessageBox(IDYES);
            m_host.AnswerFileDialog(CString(opened.toUtf8().constData()));
        }
        Command(ID_WORK_OPEN);
        EXPECT_EQ(m_host.dialogsRun, dialogsRun) << "the page was not asked for";
        EXPECT_EQ(Document()->GetPathName(), CString(opened.toUtf8().constData()));
        EXPECT_EQ(Document()->GetPdfPage(), (PdfPageChoice{2, 150}));
        EXPECT_EQ(*Document()->GetBitmapHandle(), pixels);
        EXPECT_EQ(ExportNow(), exported);
    }
}

namespace {
// File times move in the kernel's clock ticks, a few milliseconds: a file rewritten within the
// tick it was written in keeps its time. Waits until a file written now gets a later one.
void WaitForTheFileClockToPass(const QString& path) {
    const qint64 written = FileIdentity::Of(path).modifiedNs;
    const QString probe = path + ".tick";
    ASSERT_TRUE(QTest::qWaitFor([&] {
        QFile file(probe);
        return file.open(QIODevice::WriteOnly) && file.write("tick") == 4 && file.flush() &&
               FileIdentity::Of(probe).modifiedNs > written;
    }, 5000));
    QFile::remove(probe);
}
} // namespace

// The work file names the picture as it was opened, not as it is when the work is saved: a file
// saved over it afterwards, or rewritten in place once its bytes were read, is not the one the
// points were picked on; one rewritten in place before they were read is unknown, never the new
// one. Opening the work says the picture changed.
TEST_F(WorkFileWindow, PictureIdentity_IsTheFileAsItWasOpened) {
    enum class Replacement { RenamedOnto, InPlaceOnceRead, InPlaceBeforeRead };
    const struct {
        const char* name;
        Replacement replacement;
    } cases[] = {
        {"saved over by another file", Replacement::RenamedOnto},
        {"rewritten in place once its bytes were read", Replacement::InPlaceOnceRead},
        {"rewritten in place before its bytes were read", Replacement::InPlaceBeforeRead},
    };
    StartOnChart();
    const QString work = m_files.Path("replaced.tallyscope.json");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CString picture = Chart("replaced.bmp", Qt::white);
        const QString path = QString::fromUtf8(picture.GetString());
        ASSERT_NE(theApp.OpenDocumentFile(picture), nullptr);
        WorkState::PictureIdentity opened = WorkState::PictureIdentity::Of(path);
        switch (c.replacement) {
        case Replacement::RenamedOnto: {
            const CString replacement = Chart("replacement.bmp", Qt::cyan);
            ASSERT_EQ(std::rename(replacement.GetString(), picture.GetString()), 0);
            break;
        }
        case Replacement::InPlaceOnceRead:
            ASSERT_EQ(Document()->GetPictureIdentity(), opened);
            WaitForTheFileClockToPass(path);
            Chart("replaced.bmp", Qt::cyan);
            break;
        case Replacement::InPlaceBeforeRead:
            WaitForTheFileClockToPass(path);
            Chart("replaced.bmp", Qt::cyan);
            opened = WorkState::PictureIdentity::Unknown(opened.size);
            break;
        }
        ASSERT_FALSE(WorkState::PictureIdentity::Of(path) == opened);
        Pick(*Document(), {{5, 6}});
        Document()->DataChanged();
        SaveWork(work);
        const WorkFile::ReadResult read = WorkFile::Read(work);
        ASSERT_TRUE(read.state) << read.error.Describe().toStdString();
        EXPECT_EQ(read.state->pictureIdentity, opened);

        m_host.AnswerMessageBox(IDNO); // the .dat question
        ASSERT_NE(theApp.OpenDocumentFile(m_chart), nullptr);
        m_host.messages.clear();
        m_host.AnswerMessageBox(IDCANCEL);
        OpenWork(work);
        EXPECT_EQ(MessageTexts(), std::vector<CString>{Format(kMsgWorkPictureChanged, "replaced.bmp")});
        EXPECT_EQ(Document()->GetPathName(), m_chart);
    }
}

namespace {

// What the window manager does when the user brings a window forward.
void Activate(QWidget* window) {
    window->activateWindow();
    if (QApplication::activeWindow() != window)
        QApplication::setActiveWindow(window); // the headless platform has no window manager
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
}

// Opens ツール on the menu bar with the mouse and clicks the item whose caption starts so.
void ChooseFromTools(const QString& caption) {
    QMenuBar* bar = dynamic_cast<CMainFrame*>(theApp.m_pMainWnd)->GetFrameWidget()->menuBar();
    QAction* tools = nullptr;
    for (QAction* action : bar->actions()) {
        if (action->text() == QStringLiteral("ツール(&T)"))
            tools = action;
    }
    ASSERT_NE(tools, nullptr);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(tools).center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return tools->menu()->isVisible(); }));
    for (QAction* item : tools->menu()->actions()) {
        if (item->text().startsWith(caption)) {
            QTest::mouseClick(tools->menu(), Qt::LeftButton, {}, tools->menu()->actionGeometry(item).center());
            return;
        }
    }
    FAIL() << "no item " << caption.toStdString();
}

void ExportWithCtrlS() {
    QTest::keyClick(dynamic_cast<CMainFrame*>(theApp.m_pMainWnd)->GetFrameWidget()->windowHandle(), Qt::Key_S, Qt::ControlModifier);
}

} // namespace

// The whole run through the real window: points picked with the mouse, exported with Ctrl+S, the
// work saved from the menu, the program ended and started again, the work file opened from the
// menu, and Ctrl+S writes the same bytes as before.
TEST_F(WorkFileWindow, RealWindow_SaveCloseOpenAndExport) {
    StartOnChart();
    Activate(MainFrame()->GetFrameWidget());
    for (const QPoint at : {QPoint(20, 30), QPoint(60, 45), QPoint(110, 20)})
        QTest::mouseClick(View()->GetInputWidget(), Qt::LeftButton, Qt::ShiftModifier, at);
    QTest::mouseClick(View()->GetInputWidget(), Qt::LeftButton, Qt::ShiftModifier | Qt::ControlModifier, {150, 90});
    QTest::mouseClick(View()->GetInputWidget(), Qt::LeftButton, Qt::ShiftModifier, {30, 120});
    ASSERT_EQ(DocumentWork::Capture(*Document()).PointCount(), 5);
    const QString before = m_files.Path("before.dat");
    m_host.AnswerFileDialog(CString(before.toUtf8().constData()));
    ExportWithCtrlS();
    ASSERT_TRUE(QFile::exists(before));

    const QString work = m_files.Path("run.tallyscope.json");
    m_host.AnswerFileDialog(CString(work.toUtf8().constData()));
    ChooseFromTools(QStringLiteral("作業の保存"));
    ASSERT_TRUE(QFile::exists(work));
    Command(ID_APP_EXIT);
    ASSERT_EQ(theApp.m_pMainWnd, nullptr);
    DeleteDestroyedWindows();

    ASSERT_TRUE(Start());
    Activate(MainFrame()->GetFrameWidget());
    m_host.AnswerFileDialog(CString(work.toUtf8().constData()));
    ChooseFromTools(QStringLiteral("作業を開く"));
    EXPECT_EQ(Document()->GetPathName(), m_chart);
    const QString after = m_files.Path("after.dat");
    m_host.AnswerFileDialog(CString(after.toUtf8().constData()));
    Activate(MainFrame()->GetFrameWidget());
    ExportWithCtrlS();
    QFile beforeFile(before);
    QFile afterFile(after);
    ASSERT_TRUE(beforeFile.open(QIODevice::ReadOnly));
    ASSERT_TRUE(afterFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(afterFile.readAll(), beforeFile.readAll());
    EXPECT_TRUE(m_host.messages.empty());
}

// The command line as a user meets it: the real program started with its options and no display,
// its exit status, its one line on stderr and the file it writes, or leaves as it was.
#include "cli/CommandLineParser.h"

#include "../support/LoaderLog.h"
#include "../support/PdfFiles.h"
#include "../support/PictureFiles.h"
#include "../support/TestImages.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QProcessEnvironment>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

const QString kChart = QStringLiteral(TALLYSCOPE_SOURCE_DIR "/samples/chart.bmp");
// On the sample chart: the axes' corner (0 s, 0 %), the 10 s tick and the 100 % tick, and a pixel
// on each curve.
const std::vector<std::string> kCalibration = {"--origin",   "60,310=0,0", "--x-axis",
                                               "450,310=10", "--y-axis",   "60,30=100"};
constexpr const char* kOnRedCurve = "200,188";
constexpr const char* kOnBlueCurve = "100,208";

struct Outcome {
    int status = -1;
    QByteArray out;
    QByteArray errors;
};

// The program with the arguments, where no display can be reached: it must not need one.
Outcome RunProgram(const std::vector<std::string>& arguments, const QString& program = TALLYSCOPE_PROGRAM,
                   const QProcessEnvironment& added = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& name : added.keys())
        environment.insert(name, added.value(name));
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    QProcess run;
    run.setProcessEnvironment(environment);
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    run.start(program, list);
    EXPECT_TRUE(run.waitForFinished(60000));
    return {run.exitStatus() == QProcess::NormalExit ? run.exitCode() : -1, run.readAllStandardOutput(),
            run.readAllStandardError()};
}

std::vector<std::string> With(std::vector<std::string> first, const std::vector<std::string>& more) {
    first.insert(first.end(), more.begin(), more.end());
    return first;
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(CommandLine, BadInput_OneLineOnStderrFailureStatusAndNothingWritten) {
    TestFiles files;
    const std::string out = files.Path("out.dat").toStdString();
    const std::string kept = files.Write("kept.dat", "what was there\r\n").toStdString();
    const std::string notPicture = files.Write("notes.bmp", "not a picture at all").toStdString();
    // A BMP cut off in its pixel rows: the window opens it after a warning, the command line refuses it.
    const QImage scan = MakeScanPicture(256, 256);
    const QByteArray bmp = EncodeWithQt(scan, "BMP");
    const std::string damaged =
        files.Write("damaged.bmp", bmp.left(BmpPixelOffset(bmp) + 100 * 256 * 3 + 50)).toStdString();
    const std::string chart = kChart.toStdString();
    const std::string folder = files.Path("folder").toStdString();
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(folder)));
    const std::string newerWork =
        files.Write("newer.tallyscope.json", "{\"format\": \"tallyscope-work\", \"version\": 9, \"what\": 1}")
            .toStdString();
    const std::string damagedWork =
        files.Write("damaged.tallyscope.json", "{\"format\": \"tallyscope-work\", \"vers").toStdString();
    const std::string twoPages = files.Write("two.pdf", MakeChartPdf(2)).toStdString();
    const std::string damagedPdf = files.Write("damaged.pdf", "%PDF-1.7\nnothing of a PDF follows\n").toStdString();
    const std::string noPages = files.Write("empty.pdf", MakePdfWithoutPages()).toStdString();

    const struct {
        const char* what;
        std::vector<std::string> arguments;
        int status;
        const char* named;        // what the message must name
        std::string picture = {}; // when not the sample chart
        std::string target = {};  // the export path, when not out.dat
        bool exported = true;     // whether --export is given
    } cases[] = {
        {"a pixel that is no number",
         {"--origin", "60,x=0,0", "--x-axis", "450,310=10", "--y-axis", "60,30=100"},
         2,
         "--origin 60,x=0,0: \"x\" is not a whole number"},
        {"a value that is no number",
         {"--origin", "60,310=0,0", "--x-axis", "450,310=1O", "--y-axis", "60,30=100"},
         2,
         "--x-axis 450,310=1O: \"1O\" is not a number"},
        {"a pixel with one coordinate", With(kCalibration, {"--trace", "200"}), 2,
         "\"200\" is not a pixel PX,PY"},
        {"two values for one axis",
         {"--origin", "60,310=0,0", "--x-axis", "450,310=10,3", "--y-axis", "60,30=1"},
         2,
         "is not one value"},
        {"no value", With(kCalibration, {"--spacing"}), 2, "--spacing needs a value N"},
        {"a spacing of 0", With(kCalibration, {"--spacing", "0"}), 2, "--spacing 0: \"0\" is not above 0"},
        {"a colour of five digits", With(kCalibration, {"--trace-colour", "d0202"}), 2,
         "is not a colour RRGGBB"},
        {"an option given twice", With(kCalibration, {"--origin", "1,1=0,0"}), 2, "--origin is given twice"},
        {"an unknown option", With(kCalibration, {"--tarce", "1,1"}), 2, "unknown option --tarce"},
        {"a reference point missing",
         {"--origin", "60,310=0,0", "--x-axis", "450,310=10"},
         2,
         "--y-axis is missing"},
        {"no export", kCalibration, 2, "--export is missing", {}, {}, false},
        {"a reference pixel outside the picture",
         {"--origin", "480,310=0,0", "--x-axis", "450,310=10", "--y-axis", "60,30=100"},
         1,
         "--origin: pixel 480,310 is outside the picture (480 x 360)"},
        {"a trace pixel outside the picture", With(kCalibration, {"--trace", "200,-1"}), 1,
         "--trace 200,-1: pixel 200,-1 is outside the picture"},
        {"a trace pixel on no curve", With(kCalibration, {"--trace", kOnRedCurve, "--trace", "300,100"}), 1,
         "--trace 300,100: no curve at this pixel"},
        {"a colour no curve has", With(kCalibration, {"--trace-colour", "00c000"}), 1,
         "--trace-colour 00c000: no curve of this colour"},
        {"a file that is no picture", kCalibration, 1, "notes.bmp: cannot be read as a picture", notPicture},
        {"a picture that is not there", kCalibration, 1, "missing.bmp: cannot be read as a picture",
         files.Path("missing.bmp").toStdString()},
        {"a damaged picture",
         {"--origin", "0,0=0,0", "--x-axis", "10,0=1", "--y-axis", "0,10=1"},
         1,
         "damaged.bmp: the picture is damaged",
         damaged},
        {"an export into a missing folder",
         kCalibration,
         1,
         "cannot be written",
         {},
         folder + "/no/such/out.dat"},
        {"an export onto a folder", kCalibration, 1, "cannot be written", {}, folder},
        {"a work file of a newer version", {"--work", newerWork}, 1, "newer version (format version 9"},
        {"a damaged work file", {"--work", damagedWork}, 1, "damaged.tallyscope.json: not valid JSON"},
        {"a work file that is not there", {"--work", files.Path("none.tallyscope.json").toStdString()}, 1,
         "none.tallyscope.json"},
        {"a batch without an export", With(kCalibration, {chart}), 2, "--export is missing", {}, {}, false},
        {"a work file for two pictures", With(kCalibration, {"--save-work", out + ".json", chart}), 2,
         "--save-work takes the work of one picture"},
        {"a page of 0", With(kCalibration, {"--page", "0"}), 2, "--page 0: \"0\" is not above 0", twoPages},
        {"a resolution that is no number", With(kCalibration, {"--dpi", "15O"}), 2,
         "--dpi 15O: \"15O\" is not a whole number", twoPages},
        {"a negative resolution", With(kCalibration, {"--dpi=-150"}), 2, "--dpi -150: \"-150\" is not above 0",
         twoPages},
        {"a page the PDF does not have", With(kCalibration, {"--page", "3"}), 1, "two.pdf: --page 3: the PDF has 2 pages",
         twoPages},
        {"a page of a picture that is no PDF", With(kCalibration, {"--page", "2"}), 1, "--page 2: ", chart},
        {"a resolution for a picture that is no PDF", With(kCalibration, {"--dpi", "150"}), 1, "is not a PDF", chart},
        {"a damaged PDF", kCalibration, 1, "damaged.pdf: cannot be read as a PDF", damagedPdf},
        {"a PDF without pages", kCalibration, 1, "empty.pdf: the PDF has no pages", noPages},
        {"a page too large at the resolution", With(kCalibration, {"--dpi", "30000"}), 1,
         "two.pdf: --dpi 30000: page 1 would be 166667 x 125000 pixels, larger than the largest picture", twoPages},
        {"an export over a file, failing later",
         With(kCalibration, {"--trace", "300,100"}),
         1,
         "no curve",
         {},
         kept},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments = c.arguments;
        if (c.exported)
            arguments.insert(arguments.end(), {"--export", c.target.empty() ? out : c.target});
        arguments.push_back(c.picture.empty() ? chart : c.picture);
        const QByteArray keptBefore = Contents(QString::fromStdString(kept));

        const Outcome outcome = RunProgram(arguments);
        EXPECT_EQ(outcome.status, c.status) << c.what << ": " << outcome.errors.toStdString();
        EXPECT_TRUE(outcome.errors.startsWith("tallyscope: "))
            << c.what << ": " << outcome.errors.toStdString();
        EXPECT_NE(outcome.errors.indexOf(c.named), -1) << c.what << ": " << outcome.errors.toStdString();
        EXPECT_EQ(outcome.errors.count('\n'), 1) << c.what << ": " << outcome.errors.toStdString();
        EXPECT_TRUE(outcome.out.isEmpty()) << c.what;
        EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(out))) << c.what;
        EXPECT_EQ(Contents(QString::fromStdString(kept)), keptBefore) << c.what;
    }
}

// An installation without the modules the program loads when it first needs them: a trace or a
// PDF page fails in one line that names the missing module, with nothing written, and the rest
// of the program works as before.
TEST(CommandLine, ModulesMissing_TracesAndPdfPagesFailNamingTheModuleTheRestWorks) {
    TestFiles files;
    ASSERT_TRUE(QDir().mkpath(files.Path("bare/bin")));
    const QString bare = files.Path("bare/bin/tallyscope");
    ASSERT_TRUE(QFile::copy(QStringLiteral(TALLYSCOPE_PROGRAM), bare));
    const std::string pdf = files.Write("paper.pdf", MakeChartPdf(1)).toStdString();
    const std::string out = files.Path("out.dat").toStdString();
    const struct {
        const char* what;
        std::vector<std::string> arguments;
        const char* named;
    } refused[] = {
        {"a trace", With(kCalibration, {"--trace", kOnBlueCurve, kChart.toStdString()}),
         "cannot trace curves: libtallyscope-extract.so is in none of "},
        {"a PDF page", With(kCalibration, {pdf}), "paper.pdf: cannot render PDF pages: libtallyscope-pdf.so is in none of "},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.what);
        const Outcome outcome = RunProgram(With({"--export", out}, r.arguments), bare);
        EXPECT_EQ(outcome.status, 1);
        EXPECT_NE(outcome.errors.indexOf(r.named), -1) << outcome.errors.toStdString();
        EXPECT_EQ(outcome.errors.count('\n'), 1) << outcome.errors.toStdString();
        EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(out)));
    }
    const Outcome plain = RunProgram(With({"--export", out}, With(kCalibration, {kChart.toStdString()})), bare);
    EXPECT_EQ(plain.status, 0) << plain.errors.toStdString();
    EXPECT_TRUE(Contents(QString::fromStdString(out)).startsWith("Pixcel Value\r\n"));
}

// Two curves traced into two series in the order typed, the export written whole, without a
// display; the same run again gives the same bytes.
TEST(CommandLine, Run_TracesEachCurveIntoASeriesInTheOrderTypedWithoutADisplay) {
    TestFiles files;
    const QString out = files.Path("out.dat");
    const Outcome first =
        RunProgram(With(kCalibration, {"--trace", kOnBlueCurve, "--trace-colour", "D02020", "--export",
                                       out.toStdString(), kChart.toStdString()}));
    ASSERT_EQ(first.status, 0) << first.errors.toStdString();
    EXPECT_TRUE(first.errors.isEmpty()) << first.errors.toStdString();
    const QByteArray written = Contents(out);
    ASSERT_TRUE(written.startsWith("Pixcel Value\r\nNo.\tSeries1_x\tSeries1_y\tSeries2_x\tSeries2_y\r\n"))
        << written.left(200).toStdString();
    EXPECT_FALSE(written.contains("Series3_x"));
    EXPECT_TRUE(written.contains("\r\nConverted Value\r\n"));

    const QString again = files.Path("again.dat");
    const Outcome second =
        RunProgram(With(kCalibration, {"--trace", kOnBlueCurve, "--trace-colour", "d02020",
                                       "--export=" + again.toStdString(), kChart.toStdString()}));
    ASSERT_EQ(second.status, 0) << second.errors.toStdString();
    EXPECT_EQ(Contents(again), written);
}

// Reading a PNG takes Qt's own PNG reader, known from the file's first bytes: left to guess, Qt's
// reader loads every image plugin there is (WebP, TIFF, MNG with their libraries) to ask each one,
// a price every run of a batch would pay.
TEST(CommandLine, Run_ReadsAPngWithoutLoadingImagePlugins) {
    TestFiles files;
    const QString chart = files.Path("chart.png");
    ASSERT_TRUE(QImage(kChart).save(chart, "PNG"));
    const LoaderLog log;
    const Outcome run = RunProgram(With(kCalibration, {"--trace-colour", "d02020", "--export",
                                                       files.Path("out.dat").toStdString(), chart.toStdString()}),
                                   TALLYSCOPE_PROGRAM, log.Environment());
    ASSERT_EQ(run.status, 0) << run.errors.toStdString();
    const QByteArray loaded = log.Loaded();
    ASSERT_TRUE(loaded.contains("libopencv")) << "the loader's log was not written";
    EXPECT_FALSE(loaded.contains("/imageformats/"));
}

namespace {

// A two-page PDF of 400 x 300 points: page 1 a horizontal line, page 2 a rising diagonal, both
// 2 points thick and both through the page's point (200, 150).
QByteArray MakeTwoLinePdf() {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(QSizeF(400.0, 300.0), QPageSize::Point, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    painter.setPen(QPen(Qt::black, 2.0, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QLineF(50.0, 150.0, 350.0, 150.0));
    writer.newPage();
    painter.drawLine(QLineF(50.0, 250.0, 350.0, 50.0));
    painter.end();
    return bytes;
}

// The converted values of the data file's first series.
std::vector<QPointF> ConvertedPoints(const QByteArray& dataFile) {
    const QList<QByteArray> lines = dataFile.split('\n');
    std::vector<QPointF> points;
    bool converted = false;
    for (const QByteArray& line : lines) {
        if (line.startsWith("Converted Value")) {
            converted = true;
            continue;
        }
        const QList<QByteArray> fields = line.trimmed().split('\t');
        bool numbered = false;
        fields.first().toInt(&numbered);
        if (converted && numbered && fields.size() >= 3)
            points.emplace_back(fields[1].trimmed().toDouble(), fields[2].trimmed().toDouble());
        else if (converted && !points.empty())
            break;
    }
    return points;
}

} // namespace

// Page 2 rendered at 150 dpi (833 x 625 pixels): calibrated so that a value is a pixel, x to the
// right and y up from row 600, the traced points lie on page 2's diagonal; page 1, the default,
// holds a horizontal line through the same pixel instead.
TEST(CommandLine, Pdf_PageAndResolutionChooseThePixelsTraced) {
    TestFiles files;
    const std::string pdf = files.Write("paper.pdf", MakeTwoLinePdf()).toStdString();
    const std::vector<std::string> calibration = {"--origin", "0,600=0,0", "--x-axis", "700,600=700",
                                                  "--y-axis", "0,0=600",    "--trace",  "417,312", "--dpi", "150"};
    const QString second = files.Path("second.dat");
    const Outcome page2 = RunProgram(With(calibration, {"--page", "2", "--export", second.toStdString(), pdf}));
    ASSERT_EQ(page2.status, 0) << page2.errors.toStdString();
    const std::vector<QPointF> diagonal = ConvertedPoints(Contents(second));
    ASSERT_GE(diagonal.size(), 50u) << Contents(second).left(400).toStdString();
    // The diagonal from (50, 250) to (350, 50) points, at 150 / 72 pixels a point, rows counted down.
    const double scale = 150.0 / 72.0;
    const auto rowOnDiagonal = [scale](double column) {
        return scale * 250.0 - (column - scale * 50.0) * (200.0 / 300.0);
    };
    double leftmost = 1e9;
    double rightmost = -1e9;
    for (const QPointF& point : diagonal) {
        const double row = 600.0 - point.y();
        EXPECT_NEAR(row, rowOnDiagonal(point.x()), 2.0) << point.x() << ", " << point.y();
        leftmost = std::min(leftmost, point.x());
        rightmost = std::max(rightmost, point.x());
    }
    EXPECT_LT(leftmost, scale * 50.0 + 20.0);
    EXPECT_GT(rightmost, scale * 350.0 - 20.0);

    const QString first = files.Path("first.dat");
    const Outcome page1 = RunProgram(With(calibration, {"--export", first.toStdString(), pdf}));
    ASSERT_EQ(page1.status, 0) << page1.errors.toStdString();
    const std::vector<QPointF> horizontal = ConvertedPoints(Contents(first));
    ASSERT_FALSE(horizontal.empty());
    for (const QPointF& point : horizontal)
        EXPECT_NEAR(600.0 - point.y(), scale * 150.0, 2.0) << point.x() << ", " << point.y();
}

// A work file saved from page 2 of a PDF at 150 dpi keeps them: --work on that PDF alone writes
// the saved work as it was; a new trace is traced on page 2 at 150 dpi; --page 1 takes page 1, still
// at the work file's resolution. (Calibrated so that a value is a pixel, y up from row 600.)
TEST(CommandLine, PdfWork_TheWorkFilesPageAndResolutionUnlessTheOptionsSayOtherwise) {
    TestFiles files;
    const std::string pdf = files.Write("paper.pdf", MakeTwoLinePdf()).toStdString();
    const std::string work = files.Path("paper.tallyscope.json").toStdString();
    const std::string saved = files.Path("saved.dat").toStdString();
    const Outcome save = RunProgram({"--origin", "0,600=0,0", "--x-axis", "700,600=700", "--y-axis", "0,0=600",
                                     "--page", "2", "--dpi", "150", "--trace", "417,312", "--save-work", work,
                                     "--export", saved, pdf});
    ASSERT_EQ(save.status, 0) << save.errors.toStdString();
    const QJsonObject picture =
        QJsonDocument::fromJson(Contents(QString::fromStdString(work))).object()["picture"].toObject();
    EXPECT_EQ(picture["page"], QJsonValue(2));
    EXPECT_EQ(picture["dpi"], QJsonValue(150));

    const std::string restored = files.Path("restored.dat").toStdString();
    const Outcome restore = RunProgram({"--work", work, "--export", restored, pdf});
    ASSERT_EQ(restore.status, 0) << restore.errors.toStdString();
    EXPECT_EQ(Contents(QString::fromStdString(restored)), Contents(QString::fromStdString(saved)));

    const double scale = 150.0 / 72.0;
    const struct {
        const char* name;
        std::vector<std::string> options;
        std::function<double(double)> row; // of the line at a column
    } cases[] = {
        {"the work file's page and resolution", {},
         [scale](double column) { return scale * 250.0 - (column - scale * 50.0) * (200.0 / 300.0); }},
        {"--page 1, at the work file's resolution", {"--page", "1"}, [scale](double) { return scale * 150.0; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string traced = files.Path("traced.dat").toStdString();
        const Outcome run = RunProgram(With(With({"--work", work, "--trace", "417,312", "--export", traced}, c.options), {pdf}));
        ASSERT_EQ(run.status, 0) << run.errors.toStdString();
        const std::vector<QPointF> points = ConvertedPoints(Contents(QString::fromStdString(traced)));
        ASSERT_GE(points.size(), 50u);
        for (const QPointF& point : points)
            EXPECT_NEAR(600.0 - point.y(), c.row(point.x()), 2.0) << point.x() << ", " << point.y();
    }
}

TEST(CommandLine, Help_ListsEveryOptionWithoutADisplay) {
    const Outcome help = RunProgram({"--help"});
    ASSERT_EQ(help.status, 0);
    for (const char* option :
         {"--origin PX,PY=X,Y", "--x-axis PX,PY=X", "--y-axis PX,PY=Y", "--log-x", "--log-y", "--trace PX,PY",
          "--trace-colour RRGGBB", "--spacing N", "--export OUT.dat", "--work FILE", "--save-work FILE",
          "--page N", "--dpi D"})
        EXPECT_NE(help.out.indexOf(option), -1) << option;
}

TEST(CommandLineParser, Options_ValuesTheOrderOfTracesAndWhoseRunItIs) {
    const auto parsed = CommandLineParser::Parse({"--origin=10,20=-1.5,2e3",
                                                  "--x-axis",
                                                  "100,20=10",
                                                  "--y-axis",
                                                  "10,-5=0.25",
                                                  "--log-y",
                                                  "--trace-colour",
                                                  "#00ff80",
                                                  "--trace",
                                                  "-3,4",
                                                  "--trace-colour",
                                                  "123456",
                                                  "--spacing",
                                                  "2.5",
                                                  "--gap",
                                                  "0",
                                                  "--export",
                                                  "out.dat",
                                                  "--",
                                                  "--odd name.bmp"});
    ASSERT_TRUE(std::holds_alternative<CommandLineRequest>(parsed))
        << std::get<CommandLineError>(parsed).message;
    const CommandLineRequest& request = std::get<CommandLineRequest>(parsed);
    EXPECT_EQ(request.origin->pixel, QPoint(10, 20));
    EXPECT_EQ(request.origin->valueX, -1.5);
    EXPECT_EQ(request.origin->valueY, 2000.0);
    EXPECT_EQ(request.xAxis->valueX, 10.0);
    EXPECT_EQ(request.yAxis->pixel, QPoint(10, -5));
    EXPECT_EQ(request.yAxis->valueY, 0.25);
    EXPECT_FALSE(request.logX);
    EXPECT_TRUE(request.logY);
    ASSERT_EQ(request.traces.size(), 3u);
    EXPECT_EQ(request.traces[0].start, TraceOption::Start::Colour);
    EXPECT_EQ(request.traces[0].colour, 0x00ff80u);
    EXPECT_EQ(request.traces[1].start, TraceOption::Start::Pixel);
    EXPECT_EQ(request.traces[1].pixel, QPoint(-3, 4));
    EXPECT_EQ(request.traces[2].colour, 0x123456u);
    EXPECT_EQ(request.settings.pointSpacing, 2.5);
    EXPECT_EQ(request.settings.largestGap, 0.0);
    EXPECT_EQ(request.exportPath, "out.dat");
    EXPECT_EQ(request.pictures, std::vector<std::string>{"--odd name.bmp"});

    const struct {
        std::vector<std::string> arguments;
        bool commandLine;
    } whose[] = {
        {{}, false},
        {{"chart.bmp"}, false},
        {{"--export"}, true},
        {{"chart.bmp", "--trace=1,2"}, true},
        {{"--", "--trace"}, false}, // a picture named so
        {{"--traces"}, false},      // names are spelt exactly
    };
    for (const auto& w : whose)
        EXPECT_EQ(CommandLineParser::NamesAnOption(w.arguments), w.commandLine) << w.arguments.size();
}

namespace {

// A chart of the one layout every batch picture shares (axes at the same pixels), with a red and a
// blue curve that differ from chart to chart.
QImage LayoutChart(int variant) {
    QImage chart(400, 300, QImage::Format_RGB32);
    chart.fill(Qt::white);
    QPainter painter(&chart);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(40, 260, 380, 260);
    painter.drawLine(40, 260, 40, 20);
    QPolygon red;
    QPolygon blue;
    for (int x = 50; x <= 370; x += 4) {
        red << QPoint(x, static_cast<int>(140 + 60 * std::sin(x / 40.0 + variant)));
        blue << QPoint(x, 230 - (x - 50) * (variant + 1) / 8);
    }
    painter.setPen(QPen(QColor(0xd0, 0x20, 0x20), 2));
    painter.drawPolyline(red);
    painter.setPen(QPen(QColor(0x20, 0x50, 0xc8), 2));
    painter.drawPolyline(blue);
    return chart;
}

const std::vector<std::string> kLayout = {"--origin", "40,260=0,0", "--x-axis", "380,260=34",
                                          "--y-axis", "40,20=240",  "--log-y"};
const std::vector<std::string> kColours = {"--trace-colour", "d02020", "--trace-colour", "2050c8"};

} // namespace

// A layout calibrated and traced by colour on one chart, saved, and applied to a batch of others:
// every data file is the one a single run writes for that picture; the work file's own chart gets
// its saved points back as they were.
TEST(CommandLine, Batch_EveryDataFileAsTheSingleRunWritesIt) {
    TestFiles files;
    std::vector<std::string> charts;
    for (int i = 0; i < 5; ++i)
        charts.push_back(files.Save(LayoutChart(i), QStringLiteral("chart%1.bmp").arg(i)).toStdString());
    const std::string work = files.Path("layout.tallyscope.json").toStdString();
    const std::string first = files.Path("first.dat").toStdString();
    const Outcome saved = RunProgram(With(With(kLayout, kColours), {"--save-work", work, "--export", first, charts[0]}));
    ASSERT_EQ(saved.status, 0) << saved.errors.toStdString();

    const std::string folder = files.Path("out").toStdString();
    const Outcome batch = RunProgram(With({"--work", work, "--export", folder}, charts));
    ASSERT_EQ(batch.status, 0) << batch.errors.toStdString();
    const QList<QByteArray> lines = batch.errors.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 6) << batch.errors.toStdString();
    EXPECT_TRUE(lines.last().startsWith("tallyscope: 5 pictures, 5 written, 0 failed, ")) << lines.last().toStdString();
    for (std::size_t i = 0; i < charts.size(); ++i) {
        SCOPED_TRACE(charts[i]);
        EXPECT_TRUE(lines[static_cast<int>(i)].startsWith(QByteArray::fromStdString(charts[i] + ": ")));
        EXPECT_TRUE(lines[static_cast<int>(i)].contains(" points, ")) << lines[static_cast<int>(i)].toStdString();
        const std::string single = files.Path(QStringLiteral("single%1.dat").arg(i)).toStdString();
        ASSERT_EQ(RunProgram(With(With(kLayout, kColours), {"--export", single, charts[i]})).status, 0);
        const QByteArray batched = Contents(QString::fromStdString(folder + "/chart" + std::to_string(i) + ".dat"));
        EXPECT_FALSE(batched.isEmpty());
        EXPECT_EQ(batched, Contents(QString::fromStdString(single)));
    }
    EXPECT_EQ(Contents(QString::fromStdString(folder + "/chart0.dat")), Contents(QString::fromStdString(first)));

    // The work file's own picture and nothing new: the saved work as it was, even where the picture
    // would now trace otherwise (another spacing in the work file cannot change it).
    const std::string own = files.Path("own.dat").toStdString();
    ASSERT_EQ(RunProgram({"--work", work, "--export", own, charts[0]}).status, 0);
    EXPECT_EQ(Contents(QString::fromStdString(own)), Contents(QString::fromStdString(first)));
}

// A damaged picture and a missing one among good ones: each is named with its reason, the others
// are written as ever, and the status says that not all succeeded.
TEST(CommandLine, Batch_FailingPicturesAreNamedAndTheOthersWritten) {
    TestFiles files;
    const QByteArray bmp = EncodeWithQt(LayoutChart(1), "BMP");
    const std::string damaged = files.Write("damaged.bmp", bmp.left(BmpPixelOffset(bmp) + 100 * 400 * 3)).toStdString();
    const std::string good0 = files.Save(LayoutChart(0), "good0.bmp").toStdString();
    const std::string good2 = files.Save(LayoutChart(2), "good2.png").toStdString();
    const std::string missing = files.Path("missing.bmp").toStdString();
    const std::string folder = files.Path("out").toStdString();
    const Outcome batch =
        RunProgram(With(With(kLayout, kColours), {"--export", folder, good0, damaged, missing, good2}));
    EXPECT_EQ(batch.status, 1) << batch.errors.toStdString();
    const QList<QByteArray> lines = batch.errors.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 5) << batch.errors.toStdString();
    EXPECT_TRUE(lines[1].startsWith(QByteArray::fromStdString(damaged + ": failed: ")));
    EXPECT_TRUE(lines[1].contains("damaged")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].contains("cannot be read as a picture")) << lines[2].toStdString();
    EXPECT_TRUE(lines[4].startsWith("tallyscope: 4 pictures, 2 written, 2 failed, ")) << lines[4].toStdString();
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(folder + "/damaged.dat")));
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(folder + "/missing.dat")));
    for (const std::string& good : {good0, good2}) {
        const std::string single = files.Path("single.dat").toStdString();
        ASSERT_EQ(RunProgram(With(With(kLayout, kColours), {"--export", single, good})).status, 0);
        const QString name = QFileInfo(QString::fromStdString(good)).completeBaseName() + ".dat";
        EXPECT_EQ(Contents(QString::fromStdString(folder) + "/" + name), Contents(QString::fromStdString(single)))
            << good;
    }
}

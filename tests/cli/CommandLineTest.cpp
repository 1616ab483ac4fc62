// The command line as a user meets it: the real program started with its options and no display,
// its exit status, its one line on stderr and the file it writes, or leaves as it was.
#include "cli/CommandLineParser.h"

#include "../support/PictureFiles.h"
#include "../support/TestImages.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

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
Outcome RunProgram(const std::vector<std::string>& arguments) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    QProcess program;
    program.setProcessEnvironment(environment);
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    program.start(QStringLiteral(TALLYSCOPE_PROGRAM), list);
    EXPECT_TRUE(program.waitForFinished(60000));
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            program.readAllStandardOutput(), program.readAllStandardError()};
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

TEST(CommandLine, Help_ListsEveryOptionWithoutADisplay) {
    const Outcome help = RunProgram({"--help"});
    ASSERT_EQ(help.status, 0);
    for (const char* option :
         {"--origin PX,PY=X,Y", "--x-axis PX,PY=X", "--y-axis PX,PY=Y", "--log-x", "--log-y", "--trace PX,PY",
          "--trace-colour RRGGBB", "--spacing N", "--export OUT.dat"})
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

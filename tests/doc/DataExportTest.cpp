#include "doc/CTallyscopeDoc.h"
#include "doc/DataFileWriter.h"
#include "res/Resource.h"

#include "../support/ScriptedModalHost.h"
#include "../support/TestImages.h"
#include "../support/WorkedExample.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <csignal>
#include <fcntl.h>
#include <initializer_list>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace {

using Points = std::initializer_list<std::pair<int, int>>;

// The lines joined as the file holds them, each ended by CR LF.
std::string Lines(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines)
        text += std::string(line) + "\r\n";
    return text;
}

// The pixel section of the worked example, on its own.
const std::string kWorkedPixelSection = kWorkedExample.substr(0, kWorkedExample.find("\r\n\r\n") + 2);

class DataExportTest : public ::testing::Test {
protected:
    // The command is only available with a picture; opening one also resets the data.
    void SetUp() override {
        ASSERT_TRUE(doc.OnOpenDocument(files.Save(MakeTestImage(40, 30), "chart.bmp").toUtf8().constData()));
    }

    // The calibration and switches of the worked example.
    void UseWorkedCalibration() {
        CDataAxis& axis = doc.m_DataAxis;
        axis.m_Origin.m_nPixelX = 50;
        axis.m_Origin.m_nPixelY = 400;
        axis.m_XAxis.m_nPixelX = 450;
        axis.m_XAxis.m_nPixelY = 400;
        axis.m_XAxis.m_dValueX = 10.0;
        axis.m_YAxis.m_nPixelX = 50;
        axis.m_YAxis.m_nPixelY = 100;
        axis.m_YAxis.m_dValueY = 30.0;
        doc.m_bMeasureLength = TRUE;
        doc.m_bMeasureArea = TRUE;
    }

    // Fills the current series and opens a new one after it, as Shift+Ctrl+click does.
    void AddSeries(Points points) {
        for (const auto& [x, y] : points)
            doc.m_DataSeries.AddData(x, y);
        doc.m_DataSeries.NewSeries();
    }

    void UseWorkedExample() {
        UseWorkedCalibration();
        AddSeries({{50, 400}, {150, 300}, {250, 250}});
        AddSeries({{100, 350}, {300, 200}});
    }

    // Runs the command with the save dialog answered by the path.
    void RunExport(const QString& path) {
        host.AnswerFileDialog(CString(path.toUtf8().constData()));
        EXPECT_TRUE(doc.ExecuteCommand(ID_DATA_SAVE));
    }

    // Runs the command and returns the bytes of the file written.
    std::string Export(const QString& path) {
        RunExport(path);
        return ReadFile(path);
    }

    static std::string ReadFile(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return "<missing>";
        return file.readAll().toStdString();
    }

    void ExpectOneMessage(const char* text) {
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].text, text);
        EXPECT_EQ(host.messages[0].type & MB_TYPEMASK, MB_OK);
    }

    ScriptedModalHost host;
    TestFiles files;
    CTallyscopeDoc doc;
};

// Holds the process' file-size limit low for its lifetime, so that writes fail as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
};

} // namespace

TEST_F(DataExportTest, WorkedExample_ByteForByte) {
    UseWorkedExample();
    // A longer previous file must not leave anything behind.
    const QString path = files.Write("result.dat", QByteArray(5000, 'x'));
    EXPECT_EQ(Export(path), kWorkedExample);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(DataExportTest, Dialog_SaveWithDatExtensionAndOverwriteQuestion) {
    UseWorkedExample();
    EXPECT_EQ(Export(files.Path("typed")), "<missing>");
    ASSERT_EQ(host.fileDialogs.size(), 1u);
    const FileDialogRequest& request = host.fileDialogs[0];
    EXPECT_FALSE(request.openFile);
    EXPECT_EQ(request.defaultExt, "dat");
    EXPECT_TRUE(request.fileName.IsEmpty());
    EXPECT_EQ(request.flags, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    EXPECT_EQ(request.filter, "データファイル (*.dat)|*.dat|All Files (*.*)|*.*||");
    // A name typed without an extension is saved with ".dat".
    EXPECT_EQ(ReadFile(files.Path("typed.dat")), kWorkedExample);
}

TEST_F(DataExportTest, Dialog_CancelWritesNothingAndSaysNothing) {
    UseWorkedExample();
    host.AnswerFileDialog(std::nullopt);
    EXPECT_TRUE(doc.ExecuteCommand(ID_DATA_SAVE));
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(QDir(files.Path("")).entryList(QDir::Files).filter(".dat").isEmpty());
}

TEST_F(DataExportTest, Calibration_UnusableEndsAfterThePixelSection) {
    UseWorkedExample();
    // The Y-axis point on the line through the origin and the X-axis point.
    doc.m_DataAxis.m_YAxis.m_nPixelX = 250;
    doc.m_DataAxis.m_YAxis.m_nPixelY = 400;
    EXPECT_EQ(Export(files.Path("illegal.dat")),
              kWorkedPixelSection + "\r\nAxis setting is illegal. Data can't be converted.\r\n");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(DataExportTest, Calibration_ZeroOnALogAxisIsUnusable) {
    UseWorkedExample();
    doc.m_DataAxis.m_bLogX = TRUE; // the origin's X value is 0
    EXPECT_EQ(Export(files.Path("log.dat")),
              kWorkedPixelSection + "\r\nAxis setting is illegal. Data can't be converted.\r\n");
}

TEST_F(DataExportTest, Series_OneEmptySeriesStillWritesOneRow) {
    UseWorkedCalibration();
    EXPECT_EQ(Export(files.Path("empty.dat")),
              Lines({"Pixcel Value", "No.", "1", "", "Converted Value", "No.", "1", "", "Line Length", "", "",
                     "", "Area", "", ""}));
}

TEST_F(DataExportTest, Series_EmptyInTheMiddleAndDifferentLengths) {
    UseWorkedCalibration();
    AddSeries({{50, 400}, {150, 300}, {250, 250}});
    AddSeries({});
    AddSeries({{60, 390}});
    AddSeries({{100, 350}, {300, 200}});
    EXPECT_EQ(
        Export(files.Path("mixed.dat")),
        Lines({
            "Pixcel Value",
            "No.\tSeries1_x\tSeries1_y\tSeries2_x\tSeries2_y\tSeries3_x\tSeries3_y\tSeries4_x\tSeries4_y",
            "1\t         0\t         0\t\t\t        10\t        10\t        50\t        50",
            "2\t       100\t       100\t\t\t\t\t       250\t       200",
            "3\t       200\t       150\t\t\t\t\t\t",
            "",
            "Converted Value",
            "No.\tSeries1_x\tSeries1_y\tSeries2_x\tSeries2_y\tSeries3_x\tSeries3_y\tSeries4_x\tSeries4_y",
            "1\t 0.000000e+000\t 0.000000e+000\t\t\t 2.500000e-001\t 1.000000e+000\t 1.250000e+000\t "
            "5.000000e+000",
            "2\t 2.500000e+000\t 1.000000e+001\t\t\t\t\t 6.250000e+000\t 2.000000e+001",
            "3\t 5.000000e+000\t 1.500000e+001\t\t\t\t\t\t",
            "",
            "Line Length",
            "1\t2\t3\t4\t",
            " 1.589793e+001\t\t\t 1.581139e+001\t",
            "",
            "Area",
            "1\t2\t3\t4\t",
            " 6.250000e+000\t\t\t\t",
        }));
}

TEST_F(DataExportTest, Switches_DecideTheMeasurementSections) {
    struct Case {
        BOOL length;
        BOOL area;
        const char* tail; // what follows the converted rows
    };
    const Case cases[] = {
        {FALSE, FALSE, ""},
        {TRUE, FALSE, "\r\nLine Length\r\n1\t2\t\r\n 1.589793e+001\t 1.581139e+001\t\r\n"},
        {FALSE, TRUE, "\r\nArea\r\n1\t2\t\r\n 6.250000e+000\t\t\r\n"},
    };
    UseWorkedExample();
    const std::string converted = kWorkedExample.substr(0, kWorkedExample.find("\r\nLine Length"));
    for (const Case& c : cases) {
        doc.m_bMeasureLength = c.length;
        doc.m_bMeasureArea = c.area;
        EXPECT_EQ(Export(files.Path("switches.dat")), converted + c.tail) << c.length << c.area;
    }
}

TEST_F(DataExportTest, Pixels_NegativeOffsetsStayInTheirField) {
    UseWorkedCalibration();
    AddSeries({{-50, 500}, {50, 399}, {49, 400}});
    const std::string file = Export(files.Path("negative.dat"));
    EXPECT_NE(file.find("1\t      -100\t      -100\r\n"), std::string::npos) << file;
    EXPECT_NE(file.find("2\t         0\t         1\r\n"), std::string::npos) << file;
    EXPECT_NE(file.find("3\t        -1\t         0\r\n"), std::string::npos) << file;
    EXPECT_NE(file.find("1\t-2.500000e+000\t-1.000000e+001\r\n"), std::string::npos) << file;
}

TEST_F(DataExportTest, Pixels_OffsetsBeyondThirtyTwoBitsAreExact) {
    doc.m_DataAxis.m_Origin.m_nPixelX = INT_MAX;
    doc.m_DataAxis.m_Origin.m_nPixelY = INT_MIN;
    AddSeries({{INT_MIN, INT_MAX}});
    const std::string file = Export(files.Path("far.dat"));
    EXPECT_NE(file.find("1\t-4294967295\t-4294967295\r\n"), std::string::npos) << file;
}

TEST_F(DataExportTest, OpenFailure_ReportedAndNothingCreated) {
    files.Write("plain.txt", "not a folder");
    QDir(files.Path("")).mkdir("gone");
    QDir(files.Path("")).rmdir("gone");
    QDir(files.Path("")).mkdir("folder.dat");
    const QString paths[] = {
        files.Path("plain.txt/out.dat"), // a path under a regular file
        files.Path("gone/out.dat"),      // the folder has disappeared
        files.Path("folder.dat"),        // a folder, not a file
    };
    for (const QString& path : paths) {
        ScriptedModalHost local;
        local.AnswerFileDialog(CString(path.toUtf8().constData()));
        local.AnswerMessageBox(IDOK);
        UseWorkedExample();
        EXPECT_TRUE(doc.ExecuteCommand(ID_DATA_SAVE));
        ASSERT_EQ(local.messages.size(), 1u) << path.toStdString();
        EXPECT_EQ(local.messages[0].text, kMsgDataFileOpenFailed);
        EXPECT_EQ(local.messages[0].type & MB_TYPEMASK, MB_OK);
    }
    EXPECT_EQ(QDir(files.Path("")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 3);
    EXPECT_TRUE(QFileInfo(files.Path("folder.dat")).isDir());
}

TEST_F(DataExportTest, WriteFailure_DeviceThatIsFullIsReported) {
    struct stat info {};
    if (stat("/dev/full", &info) != 0 || !S_ISCHR(info.st_mode))
        GTEST_SKIP() << "no /dev/full here";
    // Through a link, as a name typed with its extension would reach it.
    const QString link = files.Path("full.dat");
    ASSERT_TRUE(QFile::link("/dev/full", link));
    UseWorkedExample();
    host.AnswerMessageBox(IDOK);
    RunExport(link);
    ExpectOneMessage(kMsgDataFileWriteFailed);
    // A device is written in place, never replaced by a file.
    ASSERT_EQ(stat("/dev/full", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
}

TEST_F(DataExportTest, WriteFailure_PreviousFileSurvivesUnchanged) {
    UseWorkedCalibration();
    for (int k = 0; k < 2000; ++k)
        doc.m_DataSeries.AddData(k, k);
    const QByteArray previous = "the user's previous file\r\n";
    const QString path = files.Write("kept.dat", previous);
    host.AnswerMessageBox(IDOK);
    {
        const FileSizeLimit limit(4096);
        RunExport(path);
    }
    ExpectOneMessage(kMsgDataFileWriteFailed);
    EXPECT_EQ(ReadFile(path), previous.toStdString());
    // No temporary file is left next to it.
    EXPECT_EQ(QDir(files.Path("")).entryList(QDir::Files).size(), 2) << "chart.bmp and kept.dat only";
}

// Writing many points shows the wait cursor. The file is a pipe read by another thread: the export
// is far larger than what the pipe holds, so when the first bytes arrive the writing is still going
// on, and the cursor is looked at then.
TEST_F(DataExportTest, WaitCursor_ShownWhileTheFileIsWritten) {
    const QString pipe = files.Path("pipe.dat");
    ASSERT_EQ(mkfifo(pipe.toUtf8().constData(), 0600), 0);
    UseWorkedCalibration();
    for (int k = 0; k < 50'000; ++k)
        doc.m_DataSeries.AddData(k % 500, k % 400);
    std::optional<Qt::CursorShape> cursorWhileWriting;
    qint64 bytesRead = 0;
    std::thread reader([&] {
        const int fd = ::open(pipe.toUtf8().constData(), O_RDONLY);
        if (fd < 0)
            return;
        char buffer[65536];
        ssize_t n = ::read(fd, buffer, 1);
        if (const QCursor* cursor = QGuiApplication::overrideCursor())
            cursorWhileWriting = cursor->shape();
        for (; n > 0; n = ::read(fd, buffer, sizeof buffer))
            bytesRead += n;
        ::close(fd);
    });
    RunExport(pipe);
    reader.join();
    EXPECT_GT(bytesRead, 1'000'000) << "far more than a pipe holds";
    EXPECT_EQ(cursorWhileWriting, Qt::WaitCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "and gone afterwards";
}

namespace {

// What an export run in a folder the user may not write to ended with.
enum ExportOutcome : int { Written = 0, OpenFailed = 1, WriteFailed = 2, Other = 3, CannotDropRoot = 77 };

// The user a root test run becomes to meet folder permissions, which root itself passes over.
constexpr uid_t kUnprivilegedId = 65534;

// Runs the export command with the save dialog answered by the path, as an ordinary user: root
// gives up its rights in a child process (no package or helper program is needed for that), any
// other user runs it here. The answer says which message, if any, the export showed; the message
// box is answered when one is expected.
ExportOutcome ExportAsOrdinaryUser(CTallyscopeDoc& doc, const QString& path, rlim_t fileSizeLimit,
                                   ExportOutcome expected) {
    const auto run = [&]() {
        ScriptedModalHost local;
        local.AnswerFileDialog(CString(path.toUtf8().constData()));
        if (expected != Written)
            local.AnswerMessageBox(IDOK);
        const FileSizeLimit limit(fileSizeLimit);
        doc.ExecuteCommand(ID_DATA_SAVE);
        ExportOutcome outcome = Other;
        if (local.messages.empty())
            outcome = Written;
        else if (local.messages.size() == 1 && local.messages[0].text == kMsgDataFileOpenFailed)
            outcome = OpenFailed;
        else if (local.messages.size() == 1 && local.messages[0].text == kMsgDataFileWriteFailed)
            outcome = WriteFailed;
        return outcome;
    };
    if (geteuid() != 0)
        return run();
    // The ordinary user keeps a copy of a file rewritten in place in a recovery folder of its own.
    const QTemporaryDir state;
    if (chown(state.path().toUtf8().constData(), kUnprivilegedId, kUnprivilegedId) != 0)
        return CannotDropRoot;
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(kUnprivilegedId) != 0 || setuid(kUnprivilegedId) != 0)
            _exit(CannotDropRoot);
        qputenv("XDG_STATE_HOME", state.path().toUtf8());
        const ExportOutcome outcome = run();
        const bool copiesLeft =
            !QDir(state.path() + "/tallyscope").entryList({"*.kept"}, QDir::Files).isEmpty();
        _exit(copiesLeft ? Other : outcome);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return Other;
    return static_cast<ExportOutcome>(WEXITSTATUS(status));
}

} // namespace

// The safe write needs room for a temporary file beside the target. Where the folder allows no new
// file but the file itself may be written, the file is rewritten in place, every write checked, and
// a failure still reported and the previous contents put back.
TEST_F(DataExportTest, ReadOnlyFolder_WritableFileRewrittenInPlace) {
    const QString folder = files.Path("readonly");
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString existing = folder + "/result.dat";
    const QString missing = folder + "/new.dat";
    const QByteArray previous = "the user's previous file\r\n";
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(previous);
    }
    // The ordinary user may pass through the test's folders and write the file, not the folder.
    ASSERT_EQ(chmod(files.Path("").toUtf8().constData(), 0711), 0);
    ASSERT_EQ(chmod(existing.toUtf8().constData(), 0666), 0);
    ASSERT_EQ(chmod(folder.toUtf8().constData(), 0555), 0);
    struct Restore {
        QString folder;
        ~Restore() { chmod(folder.toUtf8().constData(), 0755); }
    } restore{folder};
    if (geteuid() != 0 && QFile(folder + "/probe").open(QIODevice::WriteOnly))
        GTEST_SKIP() << "this user may write to a folder without write permission, so the read-only "
                        "folder cannot be made";

    UseWorkedExample();
    const ExportOutcome written = ExportAsOrdinaryUser(doc, existing, RLIM_INFINITY, Written);
    if (written == CannotDropRoot)
        GTEST_SKIP() << "the tests run as root and cannot become an ordinary user here, so the "
                        "read-only folder cannot be made";
    EXPECT_EQ(written, Written);
    EXPECT_EQ(ReadFile(existing), kWorkedExample);

    // A new file cannot be made there at all.
    EXPECT_EQ(ExportAsOrdinaryUser(doc, missing, RLIM_INFINITY, OpenFailed), OpenFailed);
    EXPECT_FALSE(QFileInfo::exists(missing));

    // A write that fails half-way (a full disk) is reported and the file gets back what it held.
    for (int k = 0; k < 2000; ++k)
        doc.m_DataSeries.AddData(k, k);
    EXPECT_EQ(ExportAsOrdinaryUser(doc, existing, 4096, WriteFailed), WriteFailed);
    EXPECT_EQ(ReadFile(existing), kWorkedExample);
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"result.dat"});
}

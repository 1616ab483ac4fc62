#include "platform/core/CStdioFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class StdioFileTest : public ::testing::Test {
protected:
    QByteArray Path(const char* name) const { return dir.filePath(name).toUtf8(); }

    std::string Read(const char* name) const {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing>";
    }

    void WriteRaw(const char* name, const char* bytes) const {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QStringList Entries() const {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }

    QTemporaryDir dir;
};

constexpr UINT kCreate = CFile::modeCreate | CFile::modeWrite;

} // namespace

TEST_F(StdioFileTest, TextMode_EveryNewlineBecomesCrLf) {
    struct Case {
        UINT flags;
        const char* expected;
    };
    const Case cases[] = {
        {kCreate, "a\r\nb\r\n\r\n\r\nc\r\r\n"},
        {kCreate | CFile::typeText, "a\r\nb\r\n\r\n\r\nc\r\r\n"},
        {kCreate | CFile::typeBinary, "a\nb\n\n\nc\r\n"},
    };
    for (const Case& c : cases) {
        CStdioFile file;
        ASSERT_TRUE(file.Open(Path("text.dat"), c.flags));
        file.WriteString("a\nb");
        file.WriteString("\n");
        file.WriteString("");
        file.WriteString("\n\nc\r\n");
        ASSERT_TRUE(file.Close());
        EXPECT_EQ(Read("text.dat"), c.expected) << c.flags;
    }
}

TEST_F(StdioFileTest, Buffering_LongTextArrivesWholeAndInOrder) {
    std::string expected;
    CStdioFile file;
    ASSERT_TRUE(file.Open(Path("long.dat"), kCreate));
    for (int k = 0; k < 50000; ++k) {
        const std::string line = std::to_string(k) + "\t" + std::string(static_cast<std::size_t>(k % 7), 'x');
        file.WriteString((line + "\n").c_str());
        expected += line + "\r\n";
    }
    // One piece larger than any buffer.
    const std::string big(300000, 'y');
    file.WriteString((big + "\n").c_str());
    expected += big + "\r\n";
    ASSERT_TRUE(file.Close());
    EXPECT_EQ(Read("long.dat"), expected);
}

TEST_F(StdioFileTest, Replace_PreviousFileKeptUntilCloseSucceeds) {
    WriteRaw("kept.dat", "previous contents, longer than the new ones\n");
    {
        CStdioFile file;
        ASSERT_TRUE(file.Open(Path("kept.dat"), kCreate));
        file.WriteString(std::string(100000, 'z').c_str());
        EXPECT_EQ(Read("kept.dat"), "previous contents, longer than the new ones\n");
        // Abandoned without Close.
    }
    EXPECT_EQ(Read("kept.dat"), "previous contents, longer than the new ones\n");
    {
        CStdioFile file;
        ASSERT_TRUE(file.Open(Path("kept.dat"), kCreate));
        file.WriteString("new\n");
        file.Abort();
        EXPECT_FALSE(file.Close());
    }
    EXPECT_EQ(Read("kept.dat"), "previous contents, longer than the new ones\n");
    EXPECT_EQ(Entries(), QStringList({"kept.dat"}));

    CStdioFile file;
    ASSERT_TRUE(file.Open(Path("kept.dat"), kCreate));
    file.WriteString("new\n");
    ASSERT_TRUE(file.Close());
    EXPECT_EQ(Read("kept.dat"), "new\r\n");
    EXPECT_EQ(Entries(), QStringList({"kept.dat"}));
}

TEST_F(StdioFileTest, Open_RefusesWhatItCannotDo) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    struct Case {
        const char* name;
        UINT flags;
    };
    const Case cases[] = {
        {"a.dat", CFile::modeRead},
        {"a.dat", CFile::modeWrite},
        {"a.dat", CFile::modeCreate | CFile::modeReadWrite},
        {"a.dat", kCreate | CFile::modeNoTruncate},
        {"folder", kCreate},
        {"missing/a.dat", kCreate},
    };
    for (const Case& c : cases) {
        CStdioFile file;
        EXPECT_FALSE(file.Open(Path(c.name), c.flags)) << c.name << " " << c.flags;
        EXPECT_FALSE(file.IsOpen());
        file.WriteString("ignored\n");
        EXPECT_FALSE(file.Close());
    }
    EXPECT_EQ(Entries(), QStringList({"folder"}));
}

TEST_F(StdioFileTest, Pipe_WrittenInPlaceNotReplaced) {
    const QByteArray path = Path("pipe");
    ASSERT_EQ(mkfifo(path.constData(), 0600), 0);
    // The reading end is opened first, without waiting, so that opening for writing does not block.
    const int reader = open(path.constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    CStdioFile file;
    ASSERT_TRUE(file.Open(path, kCreate));
    file.WriteString("through the pipe\n");
    ASSERT_TRUE(file.Close());
    char received[64] = {};
    const ssize_t count = read(reader, received, sizeof received - 1);
    close(reader);
    EXPECT_EQ(std::string(received, count > 0 ? static_cast<std::size_t>(count) : 0), "through the pipe\r\n");
    struct stat info {};
    ASSERT_EQ(stat(path.constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

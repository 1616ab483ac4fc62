// The journal's reader: a whole journal reads back exactly; one that fails its checks (changed,
// cut, empty, too large) is told apart, with what came before the damage.
#include "doc/RecoveredWork.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

namespace {

RecoveredWork SampleWork() {
    RecoveredWork work;
    work.picturePath = "/home/user/グラフ.png";
    work.picture.size = 1234;
    work.picture.hash = QByteArray(64, 'a');
    work.writtenMs = 1700000000000;
    work.series = {{{1, 2}, {3, 4}, {5, 6}}, {{7, 8}}};
    work.origin = {10, 140, 0.0, 0.001};
    work.xAxis = {190, 140, 100.0, 0.0};
    work.yAxis = {10, 10, 0.0, 0.5};
    work.logY = true;
    work.selectedSeries = 1;
    work.selectedIndex = 0;
    return work;
}

RecoveredWork::Reading ReadBytes(const QByteArray& bytes, qint64 limit = RecoveredWork::kReadLimit) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return RecoveredWork::Read(buffer, limit);
}

QByteArray Replaced(QByteArray text, const char* what, const char* with) {
    return text.replace(what, with);
}

} // namespace

TEST(RecoveredWork, Read_WholeOrDamagedWithWhatCameBeforeTheDamage) {
    const RecoveredWork work = SampleWork();
    const QByteArray text = work.Serialise();
    struct Case {
        const char* name;
        QByteArray bytes;
        qint64 limit;
        bool whole;
        bool pictureKnown;
        bool calibrationRead;
        int points;
    };
    const qint64 all = RecoveredWork::kReadLimit;
    const Case cases[] = {
        {"whole", text, all, true, true, true, 4},
        {"empty", "", all, false, false, false, 0},
        {"a lone line end", "\n", all, false, false, false, 0},
        {"a flipped header byte", Replaced(text, "TallyscopeJournal", "TallyscopeJournaL"), all, false, false,
         false, 0},
        {"a flipped digit in a point", Replaced(text, "\n3 4\n", "\n3 5\n"), all, false, true, true, 4},
        {"a flipped digit in the checksum", text.left(text.size() - 2) + (text.endsWith("0\n") ? "1\n" : "0\n"),
         all, false, true, true, 4},
        {"cut in half", text.left(text.size() / 2), all, false, true, false, 0},
        {"cut within the points", text.left(text.indexOf("\n5 6\n") + 1), all, false, true, true, 2},
        {"cut before the checksum", text.left(text.indexOf("end ")), all, false, true, true, 4},
        {"bytes after the checksum", text + "x", all, false, true, true, 4},
        {"larger than the limit", text, text.size() - 1, false, true, true, 4},
        {"a count no file holds", Replaced(text, "points 3\n", "points 4611686018427387904\n"), all, false, true,
         true, 3},
        {"a series count no file holds", Replaced(text, "series 2\n", "series 4611686018427387904\n"), all, false,
         true, true, 4},
        {"a line longer than any journal line", QByteArray(200000, 'x'), all, false, false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RecoveredWork::Reading reading = ReadBytes(c.bytes, c.limit);
        EXPECT_EQ(reading.whole, c.whole);
        EXPECT_EQ(reading.pictureKnown, c.pictureKnown);
        EXPECT_EQ(reading.calibrationRead, c.calibrationRead);
        EXPECT_EQ(reading.work.PointCount(), c.points);
        EXPECT_TRUE(reading.work.SelectionFits());
        EXPECT_FALSE(reading.work.series.empty());
        if (c.pictureKnown) {
            EXPECT_EQ(reading.work.picturePath, work.picturePath);
        }
        if (c.whole) {
            EXPECT_EQ(reading.work.WorkText(), work.WorkText());
            EXPECT_EQ(reading.work.picture, work.picture);
            EXPECT_EQ(reading.work.writtenMs, work.writtenMs);
        }
        EXPECT_EQ(RecoveredWork::Parse(c.bytes).has_value(), c.whole || c.limit != all) << "Parse reads to the usual limit";
    }
}

// A journal file beyond the limit is read only as far as the limit: it is damaged, and what it
// began with still comes back.
TEST(RecoveredWork, Examine_AFileLargerThanTheLimitIsDamagedAndReadOnlyToTheLimit) {
    QTemporaryDir dir;
    const QString path = dir.filePath("large.journal");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(SampleWork().Serialise());
    ASSERT_TRUE(file.resize(qint64{4} << 30)); // sparse: nothing after the journal but holes
    file.close();
    const RecoveredWork::Reading reading = RecoveredWork::Examine(path);
    EXPECT_FALSE(reading.whole);
    EXPECT_EQ(reading.work.PointCount(), 4);
    EXPECT_FALSE(RecoveredWork::ReadFile(path).has_value());
}

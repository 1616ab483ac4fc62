// The open picture's file, held from the open: the journal's stamp and the work file's identity
// are those of the file as it was then, to the byte as the journal and the work file take
// them on their own, on either side of the size where the journal stops hashing every byte; a file
// saved over or removed afterwards does not change them.
#include "../support/TestImages.h"

#include "doc/OpenedPicture.h"

#include <gtest/gtest.h>

#include <QFile>

#include <cstdio>

namespace {

// Bytes that differ from block to block, so that a part hashed twice or left out shows.
QByteArray Bytes(qint64 size) {
    QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>((i * 131 + i / 4093) & 0xFF);
    return bytes;
}

} // namespace

TEST(OpenedPicture, StampAndIdentity_AreThoseTakenOfTheFileOnItsOwn) {
    const qint64 limit = RecoveredWork::kWholeHashLimit;
    const struct {
        const char* name;
        qint64 size;
    } cases[] = {
        {"empty", 0},
        {"small", 1000},
        {"one block and a byte", (qint64{1} << 20) + 1},
        {"the largest hashed whole", limit},
        {"the smallest hashed by its ends", limit + 1},
        {"large, not whole blocks", 3 * limit + 12345},
    };
    TestFiles files;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = files.Write("picture.bin", Bytes(c.size));
        const std::shared_ptr<const OpenedPicture> opened = OpenedPicture::Take(path);
        EXPECT_EQ(opened->JournalStamp(), RecoveredWork::PictureStamp::Of(path));
        EXPECT_EQ(opened->WorkIdentity(), WorkState::PictureIdentity::Of(path));
        EXPECT_EQ(opened->WorkIdentity().size, c.size);
    }
}

TEST(OpenedPicture, FileReplacedOrRemovedAfterTheOpen_IsStillTheOneOpened) {
    const struct {
        const char* name;
        bool removed; // else another file is renamed onto it
    } cases[] = {{"saved over", false}, {"removed", true}};
    TestFiles files;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = files.Write("picture.bin", Bytes(5000));
        const RecoveredWork::PictureStamp stamp = RecoveredWork::PictureStamp::Of(path);
        const WorkState::PictureIdentity identity = WorkState::PictureIdentity::Of(path);
        const std::shared_ptr<const OpenedPicture> opened = OpenedPicture::Take(path);
        if (c.removed) {
            ASSERT_TRUE(QFile::remove(path));
        } else {
            const QString other = files.Write("other.bin", Bytes(6000));
            ASSERT_EQ(std::rename(other.toUtf8().constData(), path.toUtf8().constData()), 0);
        }
        EXPECT_EQ(opened->JournalStamp(), stamp);
        EXPECT_EQ(opened->WorkIdentity(), identity);
    }
}

TEST(OpenedPicture, FileThatCannotBeOpened_HasNoStampAndNoIdentity) {
    TestFiles files;
    const std::shared_ptr<const OpenedPicture> opened = OpenedPicture::Take(files.Path("none.bmp"));
    EXPECT_FALSE(opened->Identity().IsValid());
    EXPECT_EQ(opened->JournalStamp().size, -1);
    EXPECT_EQ(opened->WorkIdentity().size, -1);
}

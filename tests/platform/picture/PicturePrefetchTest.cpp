// The command-line picture decoded ahead of the open step: taken once, only by an open of the same
// unchanged file, and with exactly the pixels a decode at the open step gives.
#include "platform/picture/PicturePrefetch.h"
#include "platform/picture/Picture.h"

#include "../../support/PictureFiles.h"
#include "../../support/TestImages.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTest>

#include <cstdio>

namespace {

class PicturePrefetchTest : public ::testing::Test {
protected:
    void TearDown() override { PicturePrefetch::Discard(); }
    TestFiles files;
};

} // namespace

TEST_F(PicturePrefetchTest, Take_OnlyTheSameFileOnceWithTheOpenStepsPixels) {
    const QString path = files.Write("scan.jpg", EncodeWithQt(MakeScanPicture(120, 90), "JPEG"));
    const QString other = files.Save(MakeTestImage(12, 9), "other.bmp");
    const DecodedPicture direct = DecodePictureFile(path);
    ASSERT_EQ(direct.result, S_OK);

    PicturePrefetch::Begin(path);
    EXPECT_FALSE(PicturePrefetch::Take(other)) << "another file decodes afresh";
    // The same file named another way is the same file.
    const QString roundabout =
        QDir(files.Path("")).filePath("../" + QDir(files.Path("")).dirName() + "/scan.jpg");
    std::optional<DecodedPicture> taken = PicturePrefetch::Take(roundabout);
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->result, S_OK);
    ASSERT_NE(taken->image, nullptr);
    EXPECT_EQ(*taken->image, *direct.image);
    EXPECT_FALSE(PicturePrefetch::Take(path)) << "a picture is taken once";
}

TEST_F(PicturePrefetchTest, Take_AFailedDecodeIsTakenAsTheFailureItIs) {
    const QString path = files.Write("broken.jpg", QByteArray("\xFF\xD8\xFF\xE0 not really a picture"));
    PicturePrefetch::Begin(path);
    std::optional<DecodedPicture> taken = PicturePrefetch::Take(path);
    ASSERT_TRUE(taken);
    EXPECT_EQ(taken->result, DecodePictureFile(path).result);
    EXPECT_TRUE(FAILED(taken->result));
    EXPECT_EQ(taken->image, nullptr);
}

TEST_F(PicturePrefetchTest, Take_AFileRewrittenSinceThePrefetchBeganIsDecodedAfresh) {
    enum class Change { OtherSize, SameSizeNewInodeOldTime };
    for (const Change change : {Change::OtherSize, Change::SameSizeNewInodeOldTime}) {
        SCOPED_TRACE(change == Change::OtherSize ? "another size" : "same size, new inode, old time");
        const QString path = files.Save(MakeTestImage(30, 20), "chart.bmp");
        const QDateTime modified = QFileInfo(path).lastModified();
        PicturePrefetch::Begin(path);
        QTest::qWait(200); // the decode of the old file is over by now
        if (change == Change::OtherSize) {
            QFile::remove(path);
            files.Save(MakeTestImage(50, 40, Qt::blue), "chart.bmp");
        } else {
            // Put in the old one's place as a program that writes a new file and renames it does,
            // stamped with the old time as a file system with coarse times could leave it.
            const QString written = files.Save(MakeTestImage(30, 20, Qt::blue), "written.bmp");
            ASSERT_EQ(
                std::rename(QFile::encodeName(written).constData(), QFile::encodeName(path).constData()), 0);
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
        }
        EXPECT_FALSE(PicturePrefetch::Take(path));

        IPictureDisp* picture = nullptr;
        ASSERT_EQ(OleLoadPictureFile(COleVariant(path.toUtf8().constData()), &picture), S_OK);
        OLE_HANDLE bitmap = nullptr;
        picture->get_Handle(&bitmap);
        EXPECT_EQ(bitmap->pixelColor(5, 5), QColor(Qt::blue));
        delete picture;
        QFile::remove(path);
    }
}

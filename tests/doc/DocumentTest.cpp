#include "doc/CTallyscopeDoc.h"
#include "res/Resource.h"
#include "view/CTallyscopeView.h"

#include "../support/ScriptedModalHost.h"
#include "../support/TestImages.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

namespace {

// A view of the tests' own: counts its updates, and is not a picture view.
class CountingView : public CView {
public:
    void OnUpdate(CView*, LPARAM, CObject*) override { ++updates; }
    void OnDraw(CDC*) override {}
    int updates = 0;
};

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override { doc.AddView(&counter); }
    void TearDown() override { doc.RemoveView(&counter); }

    // Opens a fresh picture of the given size; the test fails when it does not open.
    void OpenPicture(int width = 40, int height = 30, const QString& name = "chart.bmp") {
        const QString path = files.Save(MakeTestImage(width, height), name);
        ASSERT_TRUE(doc.OnOpenDocument(path.toUtf8().constData()));
    }

    int PointCount(int series) const { return doc.m_DataSeries.m_aSeries[series]->m_aData.GetSize(); }

    CTallyscopeDoc doc;
    CountingView counter;
    TestFiles files;
};

} // namespace

TEST_F(DocumentTest, Document_StartsEmptyWithEveryCommandDisabled) {
    EXPECT_EQ(doc.m_pPicture, nullptr);
    EXPECT_EQ(doc.GetBitmapHandle(), nullptr);
    for (UINT id : {ID_DATA_SHOW, ID_AXIS_VALUE, ID_DATA_SAVE, ID_DATA_DELETE_LAST, ID_DATA_DELETE_ALL,
                    ID_DATA_NEW_SERIES, ID_MEASURE_LENGTH, ID_MEASURE_AREA}) {
        const CCmdUI state = doc.QueryCommandState(id);
        EXPECT_FALSE(state.m_bEnabled) << id;
        EXPECT_FALSE(state.m_bChecked) << id;
    }
}

TEST_F(DocumentTest, Commands_DisabledCommandIsNeverCarriedOut) {
    EXPECT_FALSE(doc.ExecuteCommand(ID_DATA_NEW_SERIES));
    EXPECT_FALSE(doc.ExecuteCommand(ID_MEASURE_AREA));
    EXPECT_EQ(doc.m_DataSeries.m_aSeries.GetSize(), 1);
    EXPECT_FALSE(doc.m_bMeasureArea);
    EXPECT_EQ(counter.updates, 0);

    OpenPicture();
    EXPECT_TRUE(doc.ExecuteCommand(ID_DATA_NEW_SERIES));
    EXPECT_EQ(doc.m_DataSeries.m_aSeries.GetSize(), 2);
    EXPECT_EQ(counter.updates, 1);
}

TEST_F(DocumentTest, Commands_MeasurementShowsCheckedEvenWhileDisabled) {
    doc.m_bMeasureLength = TRUE;
    const CCmdUI length = doc.QueryCommandState(ID_MEASURE_LENGTH);
    EXPECT_FALSE(length.m_bEnabled);
    EXPECT_TRUE(length.m_bChecked);
    EXPECT_FALSE(doc.QueryCommandState(ID_MEASURE_AREA).m_bChecked);

    OpenPicture();
    doc.OnMeasureArea();
    doc.OnMeasureLength();
    EXPECT_TRUE(doc.QueryCommandState(ID_MEASURE_AREA).m_bChecked);
    EXPECT_FALSE(doc.QueryCommandState(ID_MEASURE_LENGTH).m_bChecked);
    EXPECT_TRUE(doc.QueryCommandState(ID_DATA_SAVE).m_bEnabled);
}

TEST_F(DocumentTest, DeleteLast_OnlyLooksAtTheCurrentSeries) {
    OpenPicture();
    for (int i = 0; i < 3; ++i)
        doc.m_DataSeries.AddData(i, i);
    doc.OnDataNewSeries();
    const int updatesBefore = counter.updates;
    doc.OnDataDeleteLast();
    EXPECT_EQ(PointCount(0), 3);
    EXPECT_EQ(counter.updates, updatesBefore) << "nothing deleted, nothing redrawn";

    doc.m_DataSeries.AddData(9, 9);
    doc.OnDataDeleteLast();
    EXPECT_EQ(PointCount(1), 0);
    EXPECT_EQ(PointCount(0), 3);
    EXPECT_EQ(counter.updates, updatesBefore + 1);
}

TEST_F(DocumentTest, DeleteLast_ClearsASelectionBeforeDeleting) {
    OpenPicture();
    doc.m_DataSeries.AddData(50, 50);
    ASSERT_TRUE(doc.SelectData(50, 50));
    doc.OnDataDeleteLast();
    EXPECT_EQ(doc.GetSelectedData(), nullptr);
}

TEST_F(DocumentTest, DeleteAll_AsksAndOnlyYesDeletes) {
    OpenPicture();
    doc.m_DataSeries.AddData(1, 1);
    doc.OnDataNewSeries();
    doc.m_DataSeries.AddData(2, 2);
    doc.m_DataAxis.m_XAxis.m_nPixelX = 321;

    ScriptedModalHost host;
    host.AnswerMessageBox(IDNO);
    doc.OnDataDeleteAll();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "全てのデータを消去します。よろしいですか?");
    EXPECT_EQ(host.messages[0].type, MB_YESNO);
    EXPECT_EQ(doc.m_DataSeries.m_aSeries.GetSize(), 2);

    host.AnswerMessageBox(IDYES);
    doc.OnDataDeleteAll();
    EXPECT_EQ(doc.m_DataSeries.m_aSeries.GetSize(), 1);
    EXPECT_EQ(doc.m_DataSeries.m_nCurrent, 0);
    EXPECT_EQ(PointCount(0), 0);
    EXPECT_EQ(doc.m_DataAxis.m_XAxis.m_nPixelX, 321) << "the calibration survives";
}

TEST_F(DocumentTest, SelectData_NearerWinsAndTieGoesToThePickedPoint) {
    struct Case {
        int pointX; // picked point on the x axis; the origin stays at (0, 0)
        int clickX;
        bool expectOrigin;
    };
    // Click 3 from the origin and 2 from the point; 2 and 3; equal distance; 7 from the point and 1
    // from the origin.
    const Case cases[] = {{5, 3, false}, {5, 2, true}, {4, 2, false}, {8, 1, true}};
    for (const Case& c : cases) {
        CTallyscopeDoc d;
        d.m_DataSeries.AddData(c.pointX, 0);
        d.ClearSelection();
        ASSERT_TRUE(d.SelectData(c.clickX, 0));
        CData* selected = d.GetSelectedData();
        EXPECT_EQ(selected == &d.m_DataAxis.m_Origin, c.expectOrigin) << c.pointX << " " << c.clickX;
        EXPECT_EQ(d.m_DataSeries.GetSelectedData() != nullptr, !c.expectOrigin) << "exactly one selected";
        EXPECT_EQ(d.m_DataAxis.GetSelectedAxis() != nullptr, c.expectOrigin);
    }
}

TEST_F(DocumentTest, SelectData_MissSelectsNothing) {
    doc.m_DataSeries.AddData(200, 200);
    EXPECT_FALSE(doc.SelectData(60, 60));
    EXPECT_EQ(doc.GetSelectedData(), nullptr);
}

TEST_F(DocumentTest, ClearSelection_LowersEveryPictureViewsMarkOnly) {
    CTallyscopeView picture;
    doc.AddView(&picture);
    picture.m_bPointSelected = TRUE;
    doc.m_DataSeries.AddData(10, 10);
    ASSERT_TRUE(doc.SelectData(10, 10));
    doc.ClearSelection();
    EXPECT_FALSE(picture.m_bPointSelected);
    EXPECT_EQ(doc.GetSelectedData(), nullptr);
    doc.RemoveView(&picture);
}

TEST_F(DocumentTest, Open_EachFormatLoadsIn24BitRowsWithExactSize) {
    const QString gif = QStringLiteral(TALLYSCOPE_TEST_DATA "/a.gif"); // Qt reads GIF but cannot write it
    for (const char* name : {"a.bmp", "a.jpg", "a.gif", "a.png"}) {
        const QString path = QString(name) == "a.gif" ? gif : files.Save(MakeTestImage(37, 23), name);
        ASSERT_TRUE(doc.OnOpenDocument(path.toUtf8().constData())) << name;
        HBITMAP bitmap = doc.GetBitmapHandle();
        ASSERT_NE(bitmap, nullptr) << name;
        EXPECT_EQ(bitmap->width(), 37);
        EXPECT_EQ(bitmap->height(), 23);
        EXPECT_EQ(bitmap->format(), QImage::Format_RGB888);
        long width = 0, height = 0;
        doc.m_pPicture->GetPicture()->get_Width(&width);
        doc.m_pPicture->GetPicture()->get_Height(&height);
        EXPECT_EQ(width, 979) << "37 px at 96 dpi";
        EXPECT_EQ(height, 609) << "23 px at 96 dpi, 608.5 rounded up";
    }
}

// Qt refuses decoded pictures over 256 MB unless told otherwise; an 8500 x 8500 scan needs 289 MB.
TEST_F(DocumentTest, Open_ScanLargerThanQtsDefaultLimit) {
    QImage scan(8500, 8500, QImage::Format_Grayscale8);
    scan.fill(200);
    const QString path = files.Path("scan.png");
    ASSERT_TRUE(scan.save(path, "PNG", 100));
    scan = QImage();
    ASSERT_TRUE(doc.OnOpenDocument(path.toUtf8().constData()));
    EXPECT_EQ(doc.GetBitmapHandle()->width(), 8500);
    EXPECT_EQ(doc.GetBitmapHandle()->height(), 8500);
}

TEST_F(DocumentTest, Open_PixelsAreTakenAsStored) {
    OpenPicture(40, 30, "orientation.bmp");
    EXPECT_EQ(doc.GetBitmapHandle()->pixelColor(1, 2), QColor(10, 20, 30));
    EXPECT_EQ(doc.GetBitmapHandle()->pixelColor(2, 1), QColor(Qt::white));
}

TEST_F(DocumentTest, Open_ResetsPointsCalibrationAndSelectionButKeepsSwitches) {
    CTallyscopeView picture;
    doc.AddView(&picture);
    OpenPicture();
    doc.m_DataSeries.AddData(5, 5);
    doc.OnDataNewSeries();
    doc.m_DataAxis.m_Origin.m_nPixelX = 77;
    doc.m_DataAxis.m_bLogX = TRUE;
    doc.m_bMeasureLength = TRUE;
    ASSERT_TRUE(doc.SelectData(5, 5));
    picture.m_bPointSelected = TRUE;

    OpenPicture(50, 50, "other.bmp");
    EXPECT_EQ(doc.m_DataSeries.m_aSeries.GetSize(), 1);
    EXPECT_EQ(PointCount(0), 0);
    EXPECT_EQ(doc.m_DataAxis.m_Origin.m_nPixelX, 0);
    EXPECT_FALSE(doc.m_DataAxis.m_bLogX);
    EXPECT_FALSE(picture.m_bPointSelected);
    EXPECT_EQ(doc.GetSelectedData(), nullptr);
    EXPECT_TRUE(doc.m_bMeasureLength);
    EXPECT_TRUE(doc.QueryCommandState(ID_MEASURE_LENGTH).m_bChecked);
    EXPECT_EQ(doc.GetBitmapHandle()->width(), 50);
    doc.RemoveView(&picture);
}

// A file that is not a usable picture must leave the open image, its points and its calibration
// exactly as they were; only the message differs between unreadable files and undecodable ones.
TEST_F(DocumentTest, Open_FailureKeepsEverythingTheDocumentHeld) {
    const QString goodJpeg = files.Save(MakeTestImage(64, 64, Qt::red), "good.jpg");
    QFile source(goodJpeg);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray jpegBytes = source.readAll();

    struct Case {
        QString path;
        const char* message;
    };
    const Case cases[] = {
        {files.Write("text.jpg", "this is not a picture\n"), kMsgOpenFailed},
        {files.Write("empty.bmp", ""), kMsgOpenFailed},
        {files.Write("truncated.jpg", jpegBytes.left(jpegBytes.size() / 3)), kMsgOpenFailed},
        {files.Path("missing.bmp"), nullptr},
    };
    OpenPicture(40, 30, "kept.bmp");
    doc.m_DataSeries.AddData(3, 4);
    doc.m_DataAxis.m_YAxis.m_dValueY = 42.0;
    const HBITMAP keptBitmap = doc.GetBitmapHandle();

    for (const Case& c : cases) {
        ScriptedModalHost host;
        host.AnswerMessageBox(IDOK);
        EXPECT_FALSE(doc.OnOpenDocument(c.path.toUtf8().constData())) << c.path.toStdString();
        ASSERT_EQ(host.messages.size(), 1u);
        if (c.message != nullptr)
            EXPECT_EQ(host.messages[0].text, c.message);
        else
            EXPECT_NE(host.messages[0].text, kMsgOpenFailed)
                << "an unreadable file gets the framework's report";
        EXPECT_EQ(doc.GetBitmapHandle(), keptBitmap);
        EXPECT_EQ(PointCount(0), 1);
        EXPECT_EQ(doc.m_DataAxis.m_YAxis.m_dValueY, 42.0);
    }
}

TEST_F(DocumentTest, UpdateAllViews_ReachesViewsInOrderAndSkipsTheSender) {
    CountingView second;
    doc.AddView(&second);
    doc.UpdateAllViews(&counter, 0, nullptr);
    EXPECT_EQ(counter.updates, 0);
    EXPECT_EQ(second.updates, 1);
    doc.RemoveView(&second);
}

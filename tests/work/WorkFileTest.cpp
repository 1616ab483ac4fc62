// The work file as text: every value of the work state reads back exactly as written, the
// picture's path is kept relative where the two can move together, and the version-1 file
// committed with the tests loads and exports the same bytes for ever.
#include "../support/TestDocuments.h"
#include "../support/TestImages.h"

#include "doc/CTallyscopeDoc.h"
#include "work/DocumentWork.h"
#include "work/WorkFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

WorkState BusyState(const QString& picture) {
    WorkState state;
    state.picturePath = picture;
    state.pictureIdentity = WorkState::PictureIdentity::Of(picture);
    state.origin = {-3, 2147483647, -0.0, 1e-300};
    state.xAxis = {-2147483647 - 1, 7, 0.1, std::numeric_limits<double>::max()};
    state.yAxis = {5, -9, std::numeric_limits<double>::denorm_min(), -123456789.123456789};
    state.logX = true;
    state.series = {{{1, 2}, {3, 4}}, {}, {{-5, 6}}, {}};
    state.currentSeries = 3;
    state.selectedSeries = 2;
    state.selectedIndex = 0;
    state.measureArea = true;
    state.extraction = {12.25, 3, 0, true};
    state.colourTraces = {{0xd62728, 20, 5, 24}, {0x000000, 0.5, 1e-3, 100}};
    return state;
}

} // namespace

// Each state goes to text and back; the values must come back bit for bit (a negative zero, the
// largest double, the smallest denormal), the picture's path as it was, and a PDF's page and
// resolution, which a picture file's work does not write.
TEST(WorkFile, Text_EveryValueReadsBackExactly) {
    TestFiles files;
    const QString picture = files.Save(MakeTestImage(30, 20), "chart.bmp");
    QDir(files.Path("")).mkpath("below");
    const QString below = files.Save(MakeTestImage(30, 20), "below/chart.png");
    WorkState referenceSelected = BusyState(picture);
    referenceSelected.selectedSeries = WorkState::kReferenceSelected;
    referenceSelected.selectedIndex = 2;
    WorkState plain;
    plain.picturePath = below;
    plain.pictureIdentity = WorkState::PictureIdentity::Of(below);
    WorkState pdfPage = BusyState(picture);
    pdfPage.pdfPage = PdfPageChoice{2, 150};
    WorkState pdfBounds = plain;
    pdfBounds.pdfPage = PdfPageChoice{2147483647, kHighestPdfDpi};
    const struct {
        const char* name;
        WorkState state;
        QString workFile;
        QString storedPath;
    } cases[] = {
        {"beside", BusyState(picture), files.Path("work.tallyscope.json"), "chart.bmp"},
        {"below", plain, files.Path("work.tallyscope.json"), "below/chart.png"},
        {"above: absolute", referenceSelected, files.Path("below/work.tallyscope.json"), picture},
        {"elsewhere: absolute", plain, "/tmp/elsewhere/w.tallyscope.json", below},
        {"a PDF page", pdfPage, files.Path("work.tallyscope.json"), "chart.bmp"},
        {"a PDF page: the largest page and resolution", pdfBounds, files.Path("work.tallyscope.json"), "below/chart.png"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray text = WorkFile::ToJson(c.state, c.workFile);
        const QJsonObject stored = QJsonDocument::fromJson(text).object()["picture"].toObject();
        EXPECT_EQ(stored["path"].toString(), c.storedPath);
        EXPECT_EQ(stored.contains("page"), c.state.pdfPage.has_value()) << "a page only for a PDF";
        EXPECT_EQ(stored.contains("dpi"), c.state.pdfPage.has_value());
        const WorkFile::ReadResult read = WorkFile::FromJson(text, c.workFile);
        ASSERT_TRUE(read.state) << read.error.Describe().toStdString();
        EXPECT_TRUE(*read.state == c.state);
        EXPECT_TRUE(std::signbit(read.state->origin.valueX) == std::signbit(c.state.origin.valueX));
        EXPECT_EQ(read.state->CheckPicture(), WorkState::PictureState::Same);
    }
}

// The document's work goes through the file and back into a fresh document: the export is the
// same to the byte.
TEST(WorkFile, Document_ExportAfterTheFileIsTheSame) {
    TestFiles files;
    const QString picture = files.Save(MakeTestImage(60, 40), "chart.bmp");
    CTallyscopeDoc before;
    DocumentWork::ApplyTo(BusyState(picture), before);
    before.m_DataAxis.m_bLogX = FALSE; // a usable calibration, so the values are written too
    before.m_DataAxis.m_XAxis.m_dValueX = 2.5;
    before.m_DataAxis.m_YAxis.m_dValueY = 1e6;
    before.m_bMeasureLength = TRUE;
    const QString work = files.Path("chart.tallyscope.json");
    WorkState saved = DocumentWork::Capture(before);
    saved.picturePath = picture;
    saved.pictureIdentity = WorkState::PictureIdentity::Of(picture);
    ASSERT_EQ(WorkFile::Write(saved, work).kind, WorkFile::Error::Kind::None);
    const WorkFile::ReadResult read = WorkFile::Read(work);
    ASSERT_TRUE(read.state) << read.error.Describe().toStdString();
    CTallyscopeDoc after;
    DocumentWork::ApplyTo(*read.state, after);
    EXPECT_EQ(ExportBytes(after, files.Path("after.dat")), ExportBytes(before, files.Path("before.dat")));
    EXPECT_EQ(after.GetSelectedData()->m_nPixelX, -5);
}

// The file committed when the format was first released: it must load, find its picture beside
// it, and export what it exported then.
TEST(WorkFile, Version1_CommittedFileLoadsAndExportsAsThen) {
    const QString folder = QStringLiteral(TALLYSCOPE_TEST_DATA "/work");
    const WorkFile::ReadResult read = WorkFile::Read(folder + "/version-1.tallyscope.json");
    ASSERT_TRUE(read.state) << read.error.Describe().toStdString();
    const WorkState& state = *read.state;
    EXPECT_EQ(state.picturePath, folder + "/chart.gif");
    EXPECT_EQ(state.CheckPicture(), WorkState::PictureState::Same);
    EXPECT_FALSE(state.pdfPage.has_value());
    EXPECT_EQ(state.series.size(), 3u);
    EXPECT_EQ(state.PointCount(), 9);
    EXPECT_EQ(state.selectedSeries, 0);
    EXPECT_EQ(state.selectedIndex, 2);
    EXPECT_TRUE(state.logY);
    EXPECT_EQ(state.extraction, (WorkState::Extraction{18.5, 4, 30, true}));
    ASSERT_EQ(state.colourTraces.size(), 1u);
    EXPECT_EQ(state.colourTraces[0], (WorkState::ColourTrace{0xd62728, 18.5, 4, 30}));

    CTallyscopeDoc doc;
    DocumentWork::ApplyTo(state, doc);
    TestFiles files;
    EXPECT_EQ(ExportBytes(doc, files.Path("now.dat")), ReadAll(folder + "/version-1.dat"));
}

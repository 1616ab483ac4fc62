#include "view/CTallyscopeView.h"

#include "../support/EventCounter.h"
#include "../support/TestDocuments.h"
#include "../support/TestImages.h"
#include "doc/CTallyscopeDoc.h"

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QScrollBar>

#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWorkspace = RGB(171, 171, 171);

COLORREF PixelAt(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

// Rows of the window rectangle as text: a letter per colour of the overlay, '.' for anything else.
std::vector<std::string> Art(const QImage& image, CRect area) {
    std::vector<std::string> rows;
    for (int y = area.top; y < area.bottom; ++y) {
        std::string row;
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF c = PixelAt(image, x, y);
            row += c == kBlue ? 'b' : c == kGreen ? 'g' : c == kRed ? 'r' : '.';
        }
        rows.push_back(row);
    }
    return rows;
}

// The smallest rectangle (right and bottom exclusive) holding every pixel of the colour.
CRect BoundsOf(const QImage& image, COLORREF color) {
    CRect bounds(image.width(), image.height(), 0, 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (PixelAt(image, x, y) == color) {
                bounds.left = std::min(bounds.left, x);
                bounds.top = std::min(bounds.top, y);
                bounds.right = std::max(bounds.right, x + 1);
                bounds.bottom = std::max(bounds.bottom, y + 1);
            }
    return bounds;
}

int Count(const QImage& image, COLORREF color) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += PixelAt(image, x, y) == color;
    return count;
}

// A document with a picture and the picture view on it, shown off-screen at a fixed size.
class ViewRendering : public ::testing::Test {
protected:
    void SetUp() override {
        doc.AddView(&view);
        view.Create(nullptr, 0);
        view.GetSafeHwnd()->resize(300, 240);
        view.GetSafeHwnd()->show();
    }
    void TearDown() override { delete view.GetSafeHwnd(); }

    void Open(const QImage& image) {
        AttachPicture(doc, image);
        view.OnInitialUpdate();
    }
    void SetZoom(int zoom) {
        view.m_nZoom = zoom;
        view.UpdateScrollSizes();
    }
    const QImage& Render() {
        view.RenderBackBuffer();
        return view.GetBackBuffer();
    }
    void AddSeries(std::initializer_list<CPoint> points, bool startNext = true) {
        for (const CPoint& p : points)
            doc.m_DataSeries.AddData(p.x, p.y);
        if (startNext)
            doc.m_DataSeries.NewSeries();
    }

    CTallyscopeDoc doc;
    CTallyscopeView view;
};

} // namespace

TEST_F(ViewRendering, NewPictureShowsTheThreeSquaresAndTwoAxisLines) {
    Open(MakeTestImage(200, 200));
    const QImage& buffer = Render();
    // Origin at (0, 0): the axis lines along row 0 and column 0, the square's visible quarter.
    EXPECT_EQ(Art(buffer, CRect(0, 0, 8, 8)), (std::vector<std::string>{
                                                  "bbbbbbbb", //
                                                  "b....b..", //
                                                  "b....b..", //
                                                  "b....b..", //
                                                  "b....b..", //
                                                  "bbbbbb..", //
                                                  "b.......", //
                                                  "b.......", //
                                              }));
    // X-axis point at (100, 0): the line ends on its centre; the square's lower half shows.
    EXPECT_EQ(Art(buffer, CRect(94, 0, 107, 7)), (std::vector<std::string>{
                                                     "bbbbbbb....b.", //
                                                     ".b.........b.", //
                                                     ".b.........b.", //
                                                     ".b.........b.", //
                                                     ".b.........b.", //
                                                     ".bbbbbbbbbbb.", //
                                                     ".............", //
                                                 }));
    // Y-axis point at (0, 100): the line stops one pixel short of it, the square's right half.
    EXPECT_EQ(Art(buffer, CRect(0, 94, 7, 107)), (std::vector<std::string>{
                                                     "b......", //
                                                     "bbbbbb.", //
                                                     "b....b.", //
                                                     "b....b.", //
                                                     "b....b.", //
                                                     "b....b.", //
                                                     ".....b.", //
                                                     ".....b.", //
                                                     ".....b.", //
                                                     ".....b.", //
                                                     ".....b.", //
                                                     "bbbbbb.", //
                                                     ".......", //
                                                 }));
    EXPECT_EQ(Count(buffer, kGreen) + Count(buffer, kRed), 0) << "no series figure";
    EXPECT_EQ(PixelAt(buffer, 250, 50), kWorkspace) << "right of the picture";
    EXPECT_EQ(PixelAt(buffer, 50, 220), kWorkspace) << "below the picture";
    EXPECT_EQ(PixelAt(buffer, 1, 2), RGB(10, 20, 30)) << "the picture's own pixel";
}

TEST_F(ViewRendering, PixelsBecomeZoomBlocksAndMarkersKeepTheirSize) {
    QImage picture = MakeTestImage(400, 400);
    picture.setPixelColor(30, 40, QColor(10, 20, 30));
    Open(picture);
    AddSeries({{10, 20}}, false); // the current series: red
    struct Case {
        int zoom;
        CPoint scroll;
        CRect circle; // window pixels, right and bottom exclusive
    };
    for (const Case& c : {Case{2, {0, 0}, {15, 35, 25, 45}}, Case{2, {8, 0}, {7, 35, 17, 45}},
                          Case{4, {0, 0}, {35, 75, 45, 85}}, Case{1, {0, 0}, {5, 15, 15, 25}}}) {
        SetZoom(c.zoom);
        view.ScrollToPosition(c.scroll);
        ASSERT_EQ(view.GetDeviceScrollPosition(), c.scroll);
        const QImage& buffer = Render();
        EXPECT_EQ(BoundsOf(buffer, kRed), c.circle) << "zoom " << c.zoom << " scrolled " << c.scroll.x;
        // Image pixel (30, 40) is the block at (30 zoom, 40 zoom), zoom pixels wide.
        const int left = c.zoom * 30 - c.scroll.x;
        const int top = c.zoom * 40 - c.scroll.y;
        EXPECT_EQ(PixelAt(buffer, left, top), RGB(10, 20, 30));
        EXPECT_EQ(PixelAt(buffer, left + c.zoom - 1, top + c.zoom - 1), RGB(10, 20, 30));
        EXPECT_EQ(PixelAt(buffer, left - 1, top), kWhite);
        EXPECT_EQ(PixelAt(buffer, left + c.zoom, top), kWhite);
        EXPECT_EQ(PixelAt(buffer, left, top + c.zoom), kWhite);
    }
}

TEST_F(ViewRendering, FinishedSeriesAreGreenAndHatchedOnlyWithTheAreaSwitch) {
    Open(MakeTestImage(280, 200));
    AddSeries({{10, 10}, {60, 10}, {60, 60}});
    AddSeries({{80, 10}, {130, 10}, {130, 60}});
    AddSeries({{150, 10}, {200, 10}, {200, 60}}, false);
    for (BOOL area : {TRUE, FALSE}) {
        doc.m_bMeasureArea = area;
        const QImage& buffer = Render();
        for (int left : {10, 80, 150}) {
            const bool finished = left != 150;
            const COLORREF pen = finished ? kGreen : kRed;
            EXPECT_EQ(PixelAt(buffer, left + 20, 10), pen) << "first segment of series at " << left;
            EXPECT_EQ(PixelAt(buffer, left + 50, 30), pen) << "second segment";
            EXPECT_EQ(PixelAt(buffer, left + 15, 20), kWhite) << "circle does not reach here";
            const bool closed = area && finished;
            EXPECT_EQ(PixelAt(buffer, left + 25, 35), closed ? kGreen : kWhite) << "closing edge, " << left;
            // Inside the triangle: a hatch line pixel (column 8k + 4) and a gap pixel.
            const int hatchColumn = (left + 42) / 8 * 8 + 4;
            EXPECT_EQ(PixelAt(buffer, hatchColumn, 21), closed ? kGreen : kWhite) << "hatch, " << left;
            EXPECT_EQ(PixelAt(buffer, hatchColumn + 1, 21), kWhite) << "gap, " << left;
        }
        EXPECT_EQ(PixelAt(buffer, 40, 19), area ? kGreen : kWhite) << "row 19 is a hatch row";
    }
}

TEST_F(ViewRendering, OneAndTwoPointSeriesAndAnEmptyLastSeries) {
    Open(MakeTestImage(200, 200));
    doc.m_bMeasureArea = TRUE;
    AddSeries({{20, 20}});
    AddSeries({{40, 40}, {70, 40}});
    // The last series is empty: it draws nothing and the earlier ones stay green.
    const QImage& buffer = Render();
    EXPECT_EQ(Count(buffer, kRed), 0);
    EXPECT_EQ(BoundsOf(buffer, kGreen).left, 15);
    EXPECT_EQ(PixelAt(buffer, 20, 20), kWhite) << "a lone point is only its circle";
    EXPECT_EQ(PixelAt(buffer, 15, 20), kGreen);
    EXPECT_EQ(PixelAt(buffer, 55, 40), kGreen) << "the segment";
    EXPECT_EQ(PixelAt(buffer, 70, 40), kGreen) << "the figure's closing segment reaches the last point";
    doc.m_bMeasureArea = FALSE;
    EXPECT_EQ(PixelAt(Render(), 70, 40), kWhite) << "the open polyline leaves out its end";
}

TEST_F(ViewRendering, ThousandPointSeriesIsClosedAndHatchedWhole) {
    Open(MakeTestImage(230, 230));
    doc.m_bMeasureArea = TRUE;
    // Around the square (20, 20)-(200, 200), clockwise from the top-left corner, 250 points a side.
    for (int i = 0; i < 1000; ++i) {
        const int t = i % 250 * 180 / 250;
        const CPoint p = i < 250   ? CPoint(20 + t, 20)
                         : i < 500 ? CPoint(200, 20 + t)
                         : i < 750 ? CPoint(200 - t, 200)
                                   : CPoint(20, 200 - t);
        doc.m_DataSeries.AddData(p.x, p.y);
    }
    doc.m_DataSeries.NewSeries();
    const QImage& buffer = Render();
    // The lower-left quarter is enclosed only by points far past the 256th.
    EXPECT_EQ(PixelAt(buffer, 60, 187), kGreen) << "hatch row inside the lower-left quarter";
    EXPECT_EQ(PixelAt(buffer, 52, 180), kGreen) << "hatch column inside the lower-left quarter";
    EXPECT_EQ(PixelAt(buffer, 53, 180), kWhite) << "gap";
    EXPECT_EQ(PixelAt(buffer, 20, 100), kGreen) << "the left side";
    EXPECT_EQ(PixelAt(buffer, 60, 211), kWhite) << "outside";
}

TEST_F(ViewRendering, SelectionCircleInvertsWhatLiesUnderIt) {
    Open(MakeTestImage(200, 200));
    AddSeries({{60, 60}}, false);
    const QImage unselected = Render().copy();
    for (const CPoint at : {CPoint(100, 0), CPoint(60, 60)}) { // an axis point and a data point alike
        doc.ClearSelection();
        ASSERT_TRUE(doc.SelectData(at.x, at.y));
        view.m_bPointSelected = TRUE;
        const QImage& selected = Render();
        // The inverted pixels are exactly those of a radius-10 circle around the point.
        QImage ring(200, 200, QImage::Format_RGB32);
        ring.fill(Qt::white);
        CDC ringDC;
        ringDC.AttachSurface(&ring);
        ringDC.Arc(at.x - 10, at.y - 10, at.x + 10, at.y + 10, at.x + 10, at.y, at.x + 10, at.y);
        int inverted = 0;
        for (int y = 0; y < 200; ++y) {
            for (int x = 0; x < 200; ++x) {
                const COLORREF before = PixelAt(unselected, x, y);
                const COLORREF expected = PixelAt(ring, x, y) != kWhite ? (~before & 0xFFFFFF) : before;
                ASSERT_EQ(PixelAt(selected, x, y), expected) << x << "," << y;
                inverted += expected != before;
            }
        }
        EXPECT_GT(inverted, 20);
    }
    // Where the circle around the X-axis point crosses the axis line, blue becomes yellow.
    doc.ClearSelection();
    doc.SelectData(100, 0);
    view.m_bPointSelected = TRUE;
    EXPECT_EQ(PixelAt(Render(), 90, 0), RGB(255, 255, 0));
    view.m_bPointSelected = FALSE;
    EXPECT_EQ(PixelAt(Render(), 90, 0), kBlue) << "no circle without the view's flag";
}

TEST_F(ViewRendering, WithoutPictureOnlyTheWorkspaceColourShows) {
    view.OnInitialUpdate();
    AddSeries({{20, 20}, {40, 40}}, false);
    const QImage& buffer = Render();
    EXPECT_EQ(Count(buffer, kWorkspace), buffer.width() * buffer.height());
    EXPECT_EQ(view.GetTotalSize(), CSize(0, 0));
}

TEST_F(ViewRendering, ScrollSizesFollowPictureAndZoomWithDefaultSteps) {
    Open(MakeTestImage(640, 480));
    for (int zoom : {1, 2, 4}) {
        SetZoom(zoom);
        int mode = 0;
        CSize total, page, line;
        view.GetDeviceScrollSizes(mode, total, page, line);
        EXPECT_EQ(mode, MM_TEXT);
        EXPECT_EQ(total, CSize(640 * zoom, 480 * zoom));
        EXPECT_EQ(page, CSize(64 * zoom, 48 * zoom));
        EXPECT_EQ(line, CSize(64 * zoom / 10, 48 * zoom / 10));
    }
    auto* area = qobject_cast<QAbstractScrollArea*>(view.GetSafeHwnd());
    EXPECT_EQ(area->horizontalScrollBar()->maximum(), 640 * 4 - area->viewport()->width());
    view.ScrollToPosition(CPoint(100000, 7));
    EXPECT_EQ(view.GetScrollPos(SB_HORZ), 640 * 4 - area->viewport()->width()) << "kept inside the extent";
    EXPECT_EQ(view.GetScrollPos(SB_VERT), 7);
    EXPECT_EQ(view.GetPictureSize(nullptr), CSize(0, 0));
}

TEST_F(ViewRendering, InvalidAreaIsTheOnlyPartRedrawn) {
    Open(MakeTestImage(200, 200));
    Render();
    doc.m_DataSeries.AddData(150, 150);
    const CRect invalid(0, 0, 100, 100);
    view.RenderBackBuffer(CSize(), &invalid);
    EXPECT_EQ(Count(view.GetBackBuffer(), kRed), 0) << "the new circle lies outside the invalid area";
    view.RenderBackBuffer();
    EXPECT_GT(Count(view.GetBackBuffer(), kRed), 0);
}

TEST_F(ViewRendering, PaintOfTheViewportShowsTheBackBuffer) {
    Open(MakeTestImage(200, 200));
    AddSeries({{50, 50}}, false);
    QWidget* viewport = view.GetInputWidget();
    const QImage shown = viewport->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QImage& buffer = view.GetBackBuffer();
    ASSERT_EQ(shown.size(), buffer.size());
    EXPECT_EQ(shown, buffer);
    EXPECT_EQ(PixelAt(shown, 45, 50), kRed);
    EXPECT_EQ(PixelAt(shown, 250, 10), kWorkspace);
}

// The workspace colour is laid only where the picture is not drawn. Every pixel of the invalid area
// must still get one or the other: before each case the buffer holds the view as it was at another
// scroll position, so a strip left unpainted would show that.
TEST_F(ViewRendering, EraseFillsExactlyWhatThePictureLeaves) {
    QImage picture(100, 80, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 2, y * 3, 40)); // never the workspace grey
    Open(picture);
    for (CData* reference : {&doc.m_DataAxis.m_Origin, &doc.m_DataAxis.m_XAxis, &doc.m_DataAxis.m_YAxis})
        reference->m_nPixelX = reference->m_nPixelY = -1000; // markers and axis lines out of sight
    struct Case {
        int zoom;
        CPoint scroll;
        CRect invalid;
    };
    const Case cases[] = {
        {1, {0, 0}, {0, 0, 300, 240}},         // picture in the corner, workspace right and below
        {2, {0, 0}, {150, 100, 260, 200}},     // the corner of the picture inside the invalid area
        {4, {50, 40}, {0, 0, 300, 240}},       // picture wider and higher than the view
        {4, {9999, 9999}, {10, 10, 250, 190}}, // scrolled to the end: workspace nowhere
        {2, {0, 0}, {210, 170, 290, 230}},     // all workspace
        {4, {100, 80}, {0, 0, 30, 20}},        // all picture
    };
    for (const Case& c : cases) {
        SetZoom(c.zoom);
        view.ScrollToPosition(CPoint(0, 0));
        Render();
        view.ScrollToPosition(c.scroll);
        const CPoint scroll = view.GetDeviceScrollPosition(); // the end, where the extent stops it
        view.RenderBackBuffer(CSize(), &c.invalid);
        const QImage& buffer = view.GetBackBuffer();
        int wrong = 0;
        for (int y = c.invalid.top; y < c.invalid.bottom; ++y) {
            for (int x = c.invalid.left; x < c.invalid.right; ++x) {
                const int px = (x + scroll.x) / c.zoom;
                const int py = (y + scroll.y) / c.zoom;
                const bool onPicture = px < picture.width() && py < picture.height();
                const QRgb expected = onPicture ? picture.pixel(px, py) : qRgb(171, 171, 171);
                wrong += buffer.pixel(x, y) != expected;
            }
        }
        EXPECT_EQ(wrong, 0) << "zoom " << c.zoom << ", scrolled to " << scroll.x << ", " << scroll.y;
    }
}

// A scroll step repaints the view once and the bar that moved; an update of the document that
// leaves the extent as it was repaints the view and neither bar.
TEST_F(ViewRendering, ScrollStepAndUpdateRepaintOnlyWhatChanged) {
    Open(MakeTestImage(400, 300));
    SetZoom(2);
    auto* area = qobject_cast<QAbstractScrollArea*>(view.GetSafeHwnd());
    QScrollBar* horizontal = area->horizontalScrollBar();
    QScrollBar* vertical = area->verticalScrollBar();
    for (int round = 0; round < 4; ++round)
        QCoreApplication::processEvents();

    EventCounter paints(QEvent::Paint);
    horizontal->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCoreApplication::processEvents();
    EXPECT_EQ(view.GetScrollPos(SB_HORZ), 8);
    EXPECT_EQ(paints.Count(view.GetInputWidget()), 1);
    EXPECT_EQ(paints.Count(horizontal), 1);
    EXPECT_EQ(paints.Count(vertical), 0);

    paints.Reset();
    doc.UpdateAllViews(nullptr, 0, nullptr);
    QCoreApplication::processEvents();
    EXPECT_EQ(paints.Count(view.GetInputWidget()), 1);
    EXPECT_EQ(paints.Count(horizontal), 0);
    EXPECT_EQ(paints.Count(vertical), 0);
}

// Lines to points typed near the 32-bit limits cross the view where the true line does, at every
// zoom: at zoom 4 such a point lies beyond 32 bits in logical units.
TEST_F(ViewRendering, FarAway_LinesAndFiguresCrossTheViewWhereTheyShould) {
    Open(MakeTestImage(280, 200));
    doc.m_DataAxis.m_XAxis.m_nPixelX = 2000000000; // slope one half through the origin at (0, 0)
    doc.m_DataAxis.m_XAxis.m_nPixelY = 1000000000;
    AddSeries({{50, 10}, {2000000000, 10}, {50, 2000000000}});        // a finished figure, hatched
    AddSeries({{0, 40}, {-2000000000, 40}, {2000000000, 40}}, false); // the current polyline
    doc.m_bMeasureArea = TRUE;
    for (int zoom : {1, 2, 4}) {
        SetZoom(zoom);
        const QImage& buffer = Render();
        // The axis line: row (x + 1) / 2 in each column past the origin's marker, whatever the zoom.
        for (int x = 8; x < 90; ++x) {
            EXPECT_EQ(PixelAt(buffer, x, (x + 1) / 2), kBlue) << "zoom " << zoom << ", column " << x;
            EXPECT_NE(PixelAt(buffer, x, (x + 1) / 2 + 1), kBlue) << "zoom " << zoom << ", column " << x;
        }
        // The current series runs along its row across the whole view, both ways from its first point.
        for (int x = 6; x < 300; ++x) {
            if ((x + 1) / 2 != 40 * zoom) { // the axis line, drawn later, crosses it there
                EXPECT_EQ(PixelAt(buffer, x, 40 * zoom), kRed) << "zoom " << zoom << ", column " << x;
            }
        }
        // The figure's top edge along row 10 and its hatch below it.
        for (int x = 50 * zoom + 6; x < 300; ++x)
            EXPECT_EQ(PixelAt(buffer, x, 10 * zoom), kGreen) << "zoom " << zoom << ", column " << x;
        EXPECT_EQ(PixelAt(buffer, 292, 10 * zoom + 16 + 3 - (10 * zoom + 16) % 8), kGreen)
            << "a hatch row inside the figure, zoom " << zoom;
    }
}

// On a screen at twice the scale the view draws at the device's resolution: each picture pixel is
// a crisp 2 x 2 square of what a ratio of 1 shows, lines along rows and columns cover exactly the
// device pixels of the logical pixels they cover at 1, and slanting lines and circles keep their
// logical width (two device pixels) but are drawn finer than an enlargement would draw them.
TEST_F(ViewRendering, DevicePixels_AtRatio2PicturePixelsAreSquaresAndFiguresAreDrawnFiner) {
    QImage picture(200, 200, QImage::Format_RGB32);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            picture.setPixel(x, y, qRgb(x, y, (x * 7 + y * 3) & 255));
    Open(picture);
    AddSeries({{120, 40}, {150, 90}}, false); // the current series: one red slanting segment
    ASSERT_TRUE(doc.SelectData(120, 40));
    view.m_bPointSelected = TRUE;
    view.RenderBackBuffer(CSize(300, 240), nullptr, 1.0);
    const QImage one = view.GetBackBuffer().copy();
    view.RenderBackBuffer(CSize(300, 240), nullptr, 2.0);
    const QImage two = view.GetBackBuffer().copy();
    ASSERT_EQ(two.size(), QSize(600, 480));
    ASSERT_EQ(two.devicePixelRatio(), 2.0);

    auto overlay = [](COLORREF c) { return c == kBlue || c == kRed || c == kGreen; };
    auto nearOverlay = [&](int x, int y) {
        for (int dy = -12; dy <= 12; ++dy)
            for (int dx = -12; dx <= 12; ++dx)
                if (x + dx >= 0 && y + dy >= 0 && x + dx < 300 && y + dy < 240 &&
                    overlay(PixelAt(one, x + dx, y + dy)))
                    return true;
        return false;
    };
    int squares = 0;
    for (int y = 0; y < 240; y += 3) {
        for (int x = 0; x < 300; x += 3) {
            if (nearOverlay(x, y)) // the selection circle's ring reaches 10 pixels out
                continue;
            for (int d = 0; d < 4; ++d)
                ASSERT_EQ(PixelAt(two, 2 * x + d % 2, 2 * y + d / 2), PixelAt(one, x, y)) << x << "," << y;
            ++squares;
        }
    }
    EXPECT_GT(squares, 3000);

    // The Y-axis point's marker at (0, 100): its right edge is column 5, rows 95 to 104, and its
    // bottom edge row 105; the axis line runs down column 0.
    for (int y = 95; y <= 105; ++y)
        for (int d = 0; d < 4; ++d)
            EXPECT_EQ(PixelAt(two, 10 + d % 2, 2 * y + d / 2), kBlue) << y;
    for (int x = 0; x <= 5; ++x)
        for (int d = 0; d < 4; ++d)
            EXPECT_EQ(PixelAt(two, 2 * x + d % 2, 210 + d / 2), kBlue) << x;
    EXPECT_EQ(PixelAt(two, 12, 200), PixelAt(one, 6, 100));

    // The slanting segment: one red pixel a row at 1, two at 2, and not in steps of 2 x 2.
    int unevenRows = 0;
    for (int y = 55; y < 75; ++y) {
        auto reds = [](const QImage& image, int row) {
            std::vector<int> columns;
            for (int x = 0; x < image.width(); ++x)
                if (PixelAt(image, x, row) == kRed)
                    columns.push_back(x);
            return columns;
        };
        ASSERT_EQ(reds(one, y).size(), 1u) << y;
        const std::vector<int> upper = reds(two, 2 * y);
        const std::vector<int> lower = reds(two, 2 * y + 1);
        ASSERT_EQ(upper.size(), 2u) << y;
        ASSERT_EQ(lower.size(), 2u) << y;
        EXPECT_EQ(upper[1], upper[0] + 1);
        unevenRows += upper != lower;
    }
    EXPECT_GT(unevenRows, 5) << "a slanting line drawn at the device's resolution, not enlarged";

    // The circles keep their logical size: radius 5 and the inverted radius 10.
    const CRect ring = BoundsOf(two, kRed);
    const CRect ringAtOne = BoundsOf(one, kRed);
    EXPECT_NEAR(ring.left, 2 * ringAtOne.left, 1);
    EXPECT_NEAR(ring.bottom, 2 * ringAtOne.bottom, 1);
}

#include "platform/gdi/CDC.h"

#include <gtest/gtest.h>

#include <QImage>

#include <climits>
#include <string>
#include <vector>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// A white surface with a context drawing on it.
struct Canvas {
    explicit Canvas(int width = 32, int height = 32, QColor fill = Qt::white)
        : image(width, height, QImage::Format_RGB32) {
        image.fill(fill);
        dc.AttachSurface(&image);
    }
    QImage image;
    CDC dc;
};

COLORREF PixelAt(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

// The rows of the device rectangle as text: '#' where the pixel differs from the background.
std::vector<std::string> Art(const QImage& image, CRect area, COLORREF background = kWhite) {
    std::vector<std::string> rows;
    for (int y = area.top; y < area.bottom; ++y) {
        std::string row;
        for (int x = area.left; x < area.right; ++x)
            row += PixelAt(image, x, y) == background ? '.' : '#';
        rows.push_back(row);
    }
    return rows;
}

int CountNot(const QImage& image, COLORREF background) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += PixelAt(image, x, y) != background;
    return count;
}

// Selects a black solid brush and no pen for its lifetime, so that only a figure's fill shows.
struct BlackFillWithoutOutline {
    explicit BlackFillWithoutOutline(CDC& dc) {
        black.CreateSolidBrush(kBlack);
        dc.SelectObject(&none);
        dc.SelectObject(&black);
    }
    CPen none{PS_NULL, 0, kBlack};
    CBrush black;
};

} // namespace

TEST(CDC_Lines, LeaveOutTheEndPixelInEveryDirection) {
    struct Case {
        CPoint from, to;
        std::vector<CPoint> lit;
    };
    const std::vector<Case> cases = {
        {{2, 3}, {6, 3}, {{2, 3}, {3, 3}, {4, 3}, {5, 3}}},
        {{6, 3}, {2, 3}, {{6, 3}, {5, 3}, {4, 3}, {3, 3}}},
        {{4, 1}, {4, 4}, {{4, 1}, {4, 2}, {4, 3}}},
        {{1, 1}, {4, 4}, {{1, 1}, {2, 2}, {3, 3}}},
        {{4, 4}, {1, 1}, {{4, 4}, {3, 3}, {2, 2}}},
        {{5, 5}, {5, 5}, {}},
    };
    for (const Case& c : cases) {
        Canvas canvas(8, 8);
        canvas.dc.MoveTo(c.from);
        EXPECT_TRUE(canvas.dc.LineTo(c.to));
        EXPECT_EQ(canvas.dc.GetCurrentPosition(), c.to);
        for (const CPoint& p : c.lit)
            EXPECT_EQ(PixelAt(canvas.image, p.x, p.y), kBlack) << p.x << "," << p.y;
        EXPECT_EQ(CountNot(canvas.image, kWhite), static_cast<int>(c.lit.size()))
            << "from " << c.from.x << "," << c.from.y << " to " << c.to.x << "," << c.to.y;
    }
}

TEST(CDC_Lines, ShallowLineLightsTheSamePixelsBothWays) {
    Canvas forward(12, 6), backward(12, 6);
    forward.dc.MoveTo(0, 0);
    forward.dc.LineTo(10, 3);
    forward.dc.LineTo(10, 4); // puts the end pixel in, as the reverse line has its start there
    backward.dc.MoveTo(10, 3);
    backward.dc.LineTo(0, 0);
    backward.dc.LineTo(0, -1);
    EXPECT_EQ(Art(forward.image, CRect(0, 0, 12, 6)), Art(backward.image, CRect(0, 0, 12, 6)));
    // A half-way row goes to the larger value: y = 1.5 at x = 5.
    EXPECT_EQ(PixelAt(forward.image, 5, 2), kBlack);
    EXPECT_EQ(PixelAt(forward.image, 5, 1), kWhite);
}

// Lines to points far outside the surface, up to the 32-bit limits and with a viewport origin that
// takes them further, light the pixels where they cross it.
TEST(CDC_Lines, FarEndPointsAnywhereInThirtyTwoBits) {
    struct Case {
        const char* name;
        CPoint origin, from, to;
        CPoint lit[12];
        int count;
    };
    const Case cases[] = {
        // Slope one half through (0, 0): y = (x + 1) / 2, a half-way row going to the larger value.
        {"diagonal",
         {0, 0},
         {-2000000000, -1000000000},
         {2000000000, 1000000000},
         {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 3}, {6, 3}, {7, 4}, {8, 4}, {9, 5}, {10, 5}, {11, 6}},
         12},
        {"diagonal drawn back",
         {0, 0},
         {2000000000, 1000000000},
         {-2000000000, -1000000000},
         {{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}, {5, 3}, {6, 3}, {7, 4}, {8, 4}, {9, 5}, {10, 5}, {11, 6}},
         12},
        {"steep",
         {0, 0},
         {5, INT_MIN},
         {5, INT_MAX},
         {{5, 0}, {5, 1}, {5, 2}, {5, 3}, {5, 4}, {5, 5}, {5, 6}, {5, 7}, {5, 8}, {5, 9}, {5, 10}, {5, 11}},
         12},
        // The origin brings the 32-bit limit to the surface; the other end lies 2^32 away.
        {"origin at the limit",
         {-(INT_MAX - 5), 0},
         {INT_MAX, 2},
         {INT_MIN, 2},
         {{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}},
         6},
    };
    for (const Case& c : cases) {
        Canvas canvas(12, 12);
        canvas.dc.SetViewportOrg(c.origin);
        canvas.dc.MoveTo(c.from);
        canvas.dc.LineTo(c.to);
        for (int i = 0; i < c.count; ++i)
            EXPECT_EQ(PixelAt(canvas.image, c.lit[i].x, c.lit[i].y), kBlack) << c.name << " " << c.lit[i].x;
        EXPECT_EQ(CountNot(canvas.image, kWhite), c.count) << c.name;
    }
}

TEST(CDC_Polygon, FarVerticesFillWhereTheFigureCoversTheSurface) {
    Canvas canvas(8, 8);
    const BlackFillWithoutOutline fill(canvas.dc);
    // Below the diagonal y = x; a corner point on the diagonal lies on the figure's right edge. The
    // origin takes the vertices past the 32-bit limits.
    canvas.dc.SetViewportOrg(3, 3);
    const CPoint triangle[] = {{INT_MIN, INT_MIN}, {INT_MAX, INT_MAX}, {INT_MIN, INT_MAX}};
    EXPECT_TRUE(canvas.dc.Polygon(triangle, 3));
    EXPECT_EQ(Art(canvas.image, CRect(0, 0, 8, 8)),
              (std::vector<std::string>{"........", "#.......", "##......", "###.....", "####....",
                                        "#####...", "######..", "#######."}));
}

TEST(CDC_Arc, RadiusTenCircleTouchesItsBoxButNotTheRightAndBottomEdges) {
    Canvas canvas(32, 32);
    // The box (5, 5)-(25, 25): columns and rows 5 to 24, symmetric about 14.5.
    EXPECT_TRUE(canvas.dc.Arc(5, 5, 25, 25, 25, 15, 25, 15));
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(PixelAt(canvas.image, 25, i), kWhite) << "right edge, row " << i;
        EXPECT_EQ(PixelAt(canvas.image, i, 25), kWhite) << "bottom edge, column " << i;
    }
    for (const CPoint& p : {CPoint(5, 14), CPoint(24, 15), CPoint(14, 5), CPoint(15, 24)})
        EXPECT_EQ(PixelAt(canvas.image, p.x, p.y), kBlack) << p.x << "," << p.y;
    for (int y = 5; y < 25; ++y)
        for (int x = 5; x < 25; ++x) {
            ASSERT_EQ(PixelAt(canvas.image, x, y), PixelAt(canvas.image, 29 - x, y)) << x << "," << y;
            ASSERT_EQ(PixelAt(canvas.image, x, y), PixelAt(canvas.image, y, x)) << x << "," << y;
        }
    // One pixel thin: no 2 x 2 block of outline pixels anywhere.
    for (int y = 5; y < 24; ++y)
        for (int x = 5; x < 24; ++x) {
            const bool block =
                PixelAt(canvas.image, x, y) == kBlack && PixelAt(canvas.image, x + 1, y) == kBlack &&
                PixelAt(canvas.image, x, y + 1) == kBlack && PixelAt(canvas.image, x + 1, y + 1) == kBlack;
            ASSERT_FALSE(block) << x << "," << y;
        }
}

TEST(CDC_Arc, RadiusFiveCircleExactPixels) {
    Canvas canvas(12, 12);
    canvas.dc.Arc(1, 1, 11, 11, 11, 6, 11, 6);
    const std::vector<std::string> expected = {
        "............", //
        "....####....", //
        "...#....#...", //
        "..#......#..", //
        ".#........#.", //
        ".#........#.", //
        ".#........#.", //
        ".#........#.", //
        "..#......#..", //
        "...#....#...", //
        "....####....", //
        "............", //
    };
    EXPECT_EQ(Art(canvas.image, CRect(0, 0, 12, 12)), expected);
}

TEST(CDC_Arc, EndsOnOneRadialDrawTheWholeEllipseOtherwiseOnlyTheSweep) {
    Canvas whole(24, 24), sameRadial(24, 24), quarter(24, 24);
    // Columns and rows 2 to 22, centred on (12, 12).
    whole.dc.Arc(2, 2, 23, 23, 23, 12, 23, 12);
    sameRadial.dc.Arc(2, 2, 23, 23, 30, 12, 40, 12); // further out on the same radial
    EXPECT_EQ(Art(whole.image, CRect(0, 0, 24, 24)), Art(sameRadial.image, CRect(0, 0, 24, 24)));
    // Counter-clockwise from the right to the top: the upper right quarter only.
    quarter.dc.Arc(2, 2, 23, 23, 23, 12, 12, 2);
    EXPECT_EQ(PixelAt(quarter.image, 22, 11), kBlack);
    EXPECT_EQ(PixelAt(quarter.image, 13, 2), kBlack);
    EXPECT_EQ(PixelAt(quarter.image, 2, 12), kWhite);
    EXPECT_EQ(PixelAt(quarter.image, 12, 22), kWhite);
    EXPECT_EQ(PixelAt(quarter.image, 22, 14), kWhite) << "below the start radial";
    const int quarterCount = CountNot(quarter.image, kWhite);
    const int wholeCount = CountNot(whole.image, kWhite);
    EXPECT_GT(quarterCount, wholeCount / 4 - 3);
    EXPECT_LT(quarterCount, wholeCount / 4 + 3);
}

TEST(CDC_FillSolidRect, ExcludesRightAndBottomEdgesAndHonoursOriginAndClip) {
    Canvas canvas(16, 16);
    canvas.dc.FillSolidRect(2, 3, 4, 2, RGB(1, 2, 3));
    EXPECT_EQ(Art(canvas.image, CRect(0, 2, 8, 6)),
              (std::vector<std::string>{"........", "..####..", "..####..", "........"}));
    EXPECT_EQ(canvas.dc.GetBkColor(), RGB(1, 2, 3)) << "the fill colour becomes the background colour";

    Canvas clipped(16, 16);
    clipped.dc.SetViewportOrg(-4, -4);
    clipped.dc.IntersectClipRect(4, 4, 8, 8); // device 0..3
    CRect box;
    EXPECT_EQ(clipped.dc.GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(box, CRect(4, 4, 8, 8));
    CRect everything(-100, -100, 100, 100);
    clipped.dc.FillSolidRect(&everything, kBlack);
    EXPECT_EQ(CountNot(clipped.image, kWhite), 16);
    EXPECT_EQ(PixelAt(clipped.image, 3, 3), kBlack);
    EXPECT_EQ(clipped.dc.GetPixel(8, 8), CLR_INVALID) << "outside the clip box";

    Canvas empty(16, 16);
    empty.dc.IntersectClipRect(20, 20, 30, 30);
    EXPECT_EQ(empty.dc.GetClipBox(&box), NULLREGION);
}

TEST(CDC_Polygon, FillsInteriorAlternatelyAndOutlinesEveryVertex) {
    Canvas canvas(12, 12);
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CBrush blue;
    blue.CreateSolidBrush(RGB(0, 0, 255));
    canvas.dc.SelectObject(&red);
    canvas.dc.SelectObject(&blue);
    const CPoint square[] = {{1, 1}, {6, 1}, {6, 6}, {1, 6}};
    EXPECT_TRUE(canvas.dc.Polygon(square, 4));
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool outline =
                (x == 1 || x == 6 || y == 1 || y == 6) && x >= 1 && x <= 6 && y >= 1 && y <= 6;
            const bool inside = x > 1 && x < 6 && y > 1 && y < 6;
            const COLORREF expected = outline ? RGB(255, 0, 0) : inside ? RGB(0, 0, 255) : kWhite;
            EXPECT_EQ(PixelAt(canvas.image, x, y), expected) << x << "," << y;
        }
    }
}

TEST(CDC_Polygon, AlternateRuleLeavesTheCentreOfAStarEmpty) {
    Canvas canvas(40, 40);
    const BlackFillWithoutOutline fill(canvas.dc);
    const CPoint star[] = {{20, 2}, {31, 36}, {2, 14}, {38, 14}, {9, 36}};
    canvas.dc.Polygon(star, 5);
    EXPECT_EQ(PixelAt(canvas.image, 20, 20), kWhite) << "the pentagon in the middle is crossed twice";
    EXPECT_EQ(PixelAt(canvas.image, 20, 8), kBlack) << "a point of the star";
    EXPECT_EQ(PixelAt(canvas.image, 6, 15), kBlack);
}

TEST(CDC_Polygon, TwoPointsDrawTheSegmentWithBothEndsAndOnePointNothing) {
    Canvas canvas(12, 4);
    const CPoint segment[] = {{1, 1}, {8, 1}};
    EXPECT_TRUE(canvas.dc.Polygon(segment, 2));
    EXPECT_EQ(Art(canvas.image, CRect(0, 1, 10, 2)), std::vector<std::string>{".########."});
    EXPECT_FALSE(canvas.dc.Polygon(segment, 1));
}

TEST(CDC_Hatch, CrossHatchAnchoredToTheDeviceTransparentOrOpaque) {
    const COLORREF green = RGB(0, 255, 0);
    for (int bkMode : {TRANSPARENT, OPAQUE}) {
        Canvas canvas(24, 24, QColor(10, 20, 30));
        CPen none(PS_NULL, 0, kBlack);
        CBrush hatch;
        ASSERT_TRUE(hatch.CreateHatchBrush(HS_CROSS, green));
        canvas.dc.SelectObject(&none);
        canvas.dc.SelectObject(&hatch);
        canvas.dc.SetBkMode(bkMode);
        canvas.dc.SetBkColor(RGB(200, 100, 50));
        // Logical positions shifted by the origin: the grid must not move with them.
        canvas.dc.SetViewportOrg(-3, -5);
        const CPoint box[] = {{3, 5}, {27, 5}, {27, 29}, {3, 29}};
        canvas.dc.Polygon(box, 4);
        for (int y = 0; y < 24; ++y) {
            for (int x = 0; x < 24; ++x) {
                const bool onLine = x % 8 == 4 || y % 8 == 3;
                const COLORREF expected =
                    onLine ? green : (bkMode == OPAQUE ? RGB(200, 100, 50) : RGB(10, 20, 30));
                ASSERT_EQ(PixelAt(canvas.image, x, y), expected) << x << "," << y << " mode " << bkMode;
            }
        }
    }
}

TEST(CDC_Mix, NotXorPenWithBlackInvertsEachOutlinePixelOnce) {
    Canvas canvas(24, 24, QColor(0, 0, 255));
    canvas.dc.FillSolidRect(0, 0, 12, 24, RGB(255, 255, 255));
    EXPECT_EQ(canvas.dc.SetROP2(R2_NOTXORPEN), R2_COPYPEN);
    Canvas reference(24, 24);
    reference.dc.Arc(2, 2, 22, 22, 22, 12, 22, 12);
    canvas.dc.Arc(2, 2, 22, 22, 22, 12, 22, 12);
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
            const bool onCircle = PixelAt(reference.image, x, y) == kBlack;
            const COLORREF below = x < 12 ? kWhite : RGB(0, 0, 255);
            const COLORREF inverted = x < 12 ? kBlack : RGB(255, 255, 0);
            EXPECT_EQ(PixelAt(canvas.image, x, y), onCircle ? inverted : below) << x << "," << y;
        }
    }
    // Drawn twice, the circle is gone again.
    canvas.dc.Arc(2, 2, 22, 22, 22, 12, 22, 12);
    EXPECT_EQ(PixelAt(canvas.image, 12, 2), RGB(0, 0, 255));
    EXPECT_EQ(PixelAt(canvas.image, 2, 12), kWhite);
}

TEST(CDC_Mix, ModesCombinePenAndDestination) {
    struct Case {
        int mode;
        COLORREF expected;
    };
    const COLORREF destination = RGB(0x0F, 0xF0, 0x55);
    const COLORREF pen = RGB(0xFF, 0x00, 0x50);
    for (const Case& c : {Case{R2_COPYPEN, pen}, Case{R2_XORPEN, RGB(0xF0, 0xF0, 0x05)},
                          Case{R2_NOTXORPEN, RGB(0x0F, 0x0F, 0xFA)}, Case{R2_NOT, RGB(0xF0, 0x0F, 0xAA)},
                          Case{R2_NOP, destination}, Case{R2_MERGEPEN, RGB(0xFF, 0xF0, 0x55)}}) {
        Canvas canvas(4, 2);
        canvas.dc.FillSolidRect(0, 0, 4, 2, destination);
        CPen coloured(PS_SOLID, 1, pen);
        canvas.dc.SelectObject(&coloured);
        canvas.dc.SetROP2(c.mode);
        canvas.dc.MoveTo(0, 0);
        canvas.dc.LineTo(2, 0);
        EXPECT_EQ(PixelAt(canvas.image, 1, 0), c.expected) << "mode " << c.mode;
        EXPECT_EQ(PixelAt(canvas.image, 1, 1), destination);
    }
}

TEST(CDC_Objects, SelectObjectReturnsThePreviousAndRefusesEmptyObjects) {
    Canvas canvas(8, 8);
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CPen blue(PS_SOLID, 1, RGB(0, 0, 255));
    CPen empty;
    CPen* stock = canvas.dc.SelectObject(&red);
    ASSERT_NE(stock, nullptr);
    EXPECT_EQ(canvas.dc.SelectObject(&blue), &red);
    EXPECT_EQ(canvas.dc.SelectObject(&empty), nullptr);
    EXPECT_EQ(canvas.dc.SelectObject(stock), &blue);
    canvas.dc.MoveTo(0, 0);
    canvas.dc.LineTo(3, 0);
    EXPECT_EQ(PixelAt(canvas.image, 1, 0), kBlack) << "the context's own pen is black";

    CPen wide;
    EXPECT_FALSE(wide.CreatePen(PS_SOLID, 3, kBlack)) << "only one-pixel pens are drawn";
    CBrush badHatch;
    EXPECT_FALSE(badHatch.CreateHatchBrush(6, kBlack));
}

TEST(CDC_StretchBlt, ReplicatesWholePixelsOnlyInsideTheClip) {
    QImage picture(3, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            picture.setPixel(x, y, qRgb(10 * x, 100 + 10 * y, 7));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.Attach(&picture));
    CDC memory;
    memory.CreateCompatibleDC(nullptr);
    ASSERT_NE(memory.SelectObject(&bitmap), nullptr);

    for (int zoom : {2, 4}) {
        Canvas canvas(16, 16);
        canvas.dc.SetViewportOrg(-1, 0);
        canvas.dc.IntersectClipRect(1, 0, 9, 6); // device 0..7 x 0..5
        EXPECT_TRUE(canvas.dc.StretchBlt(0, 0, 3 * zoom, 2 * zoom, &memory, 0, 0, 3, 2, SRCCOPY));
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                const int logicalX = x + 1;
                const bool inClip = x < 8 && y < 6;
                const bool onPicture = logicalX < 3 * zoom && y < 2 * zoom;
                const COLORREF expected =
                    inClip && onPicture ? RGB(10 * (logicalX / zoom), 100 + 10 * (y / zoom), 7) : kWhite;
                ASSERT_EQ(PixelAt(canvas.image, x, y), expected)
                    << "zoom " << zoom << " at " << x << "," << y;
            }
        }
    }
}

TEST(CDC_StretchBlt, SourceOutsideTheBitmapIsWhiteAndFractionalScalesHitTheCentre) {
    QImage picture(100, 100, QImage::Format_RGB32);
    picture.fill(qRgb(0, 0, 0));
    picture.setPixel(10, 10, qRgb(255, 0, 0));
    CBitmap bitmap;
    bitmap.Attach(&picture);
    CDC memory;
    memory.CreateCompatibleDC(nullptr);
    memory.SelectObject(&bitmap);
    // 140 / 46 is not whole: the centre of the square must still show the source's middle pixel.
    Canvas canvas(140, 140, QColor(1, 2, 3));
    canvas.dc.StretchBlt(0, 0, 140, 140, &memory, 10 - 23, 10 - 23, 46, 46, SRCCOPY);
    EXPECT_EQ(PixelAt(canvas.image, 70, 70), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(canvas.image, 0, 0), kWhite) << "source (-13, -13) is off the picture";
    EXPECT_EQ(PixelAt(canvas.image, 139, 139), kBlack);

    EXPECT_FALSE(canvas.dc.StretchBlt(0, 0, 10, 10, &memory, 0, 0, 10, 10, 0x00EE0086)) << "only SRCCOPY";
    CDC noPixels;
    noPixels.CreateCompatibleDC(nullptr);
    EXPECT_FALSE(canvas.dc.StretchBlt(0, 0, 10, 10, &noPixels, 0, 0, 10, 10, SRCCOPY));
}

// A loaded picture is held in 24-bit rows; drawing from it and reading it back must give exactly
// what a 32-bit bitmap of the same pixels gives, including the white of sources off the picture.
TEST(CDC_StretchBlt, TwentyFourBitPictureDrawsAndReadsAsThirtyTwoBit) {
    QImage wide(7, 5, QImage::Format_RGB32);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            wide.setPixel(x, y, qRgb(30 * x + 1, 50 * y + 2, (x * y * 13) & 0xFF));
    const QImage packed = wide.convertToFormat(QImage::Format_RGB888);
    struct Source {
        CBitmap bitmap;
        CDC memory;
    } sources[2];
    const QImage* pictures[2] = {&wide, &packed};
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(sources[i].bitmap.Attach(pictures[i]));
        sources[i].memory.CreateCompatibleDC(nullptr);
        ASSERT_NE(sources[i].memory.SelectObject(&sources[i].bitmap), nullptr);
    }
    BITMAP info;
    ASSERT_GT(sources[1].bitmap.GetBitmap(&info), 0);
    EXPECT_EQ(info.bmBitsPixel, 24);

    const struct {
        int x, y, width, height, srcX, srcY, srcWidth, srcHeight;
    } stretches[] = {{0, 0, 7, 5, 0, 0, 7, 5}, {1, 2, 28, 20, 0, 0, 7, 5}, {0, 0, 30, 30, -2, -1, 9, 9},
                     {0, 0, 30, 30, 3, 2, 7, 7}};
    for (const auto& s : stretches) {
        Canvas fromWide(32, 32, QColor(9, 9, 9));
        Canvas fromPacked(32, 32, QColor(9, 9, 9));
        fromWide.dc.StretchBlt(s.x, s.y, s.width, s.height, &sources[0].memory, s.srcX, s.srcY, s.srcWidth,
                               s.srcHeight, SRCCOPY);
        fromPacked.dc.StretchBlt(s.x, s.y, s.width, s.height, &sources[1].memory, s.srcX, s.srcY, s.srcWidth,
                                 s.srcHeight, SRCCOPY);
        EXPECT_EQ(fromPacked.image, fromWide.image) << "from (" << s.srcX << ", " << s.srcY << ")";
    }
    for (int y = -1; y <= 5; ++y)
        for (int x = -1; x <= 7; ++x)
            EXPECT_EQ(sources[1].memory.GetPixel(x, y), sources[0].memory.GetPixel(x, y)) << x << "," << y;
    EXPECT_EQ(sources[1].memory.GetPixel(6, 4), RGB(181, 202, (6 * 4 * 13) & 0xFF));
}

TEST(CDC_Metrics, HimetricOfAPictureGivesBackItsPixels) {
    CDC dc;
    for (int pixels : {1, 3, 37, 641, 1999, 2000, 12000}) {
        CSize size(static_cast<int>(AfxPixelsToHimetric(pixels)),
                   static_cast<int>(AfxPixelsToHimetric(pixels + 1)));
        dc.HIMETRICtoDP(&size);
        EXPECT_EQ(size, CSize(pixels, pixels + 1));
    }
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 96);
    EXPECT_EQ(GetSysColor(COLOR_APPWORKSPACE), RGB(171, 171, 171));
}

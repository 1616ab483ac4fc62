#include "zoom/CZoomView.h"

#include "../support/ScriptedModalHost.h"
#include "../support/TestDocuments.h"

#include "doc/CTallyscopeDoc.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/DeviceScale.h"
#include "platform/ui/CDataExchange.h"
#include "res/Resource.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QWidget>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);

// A picture whose pixel (x, y) is RGB(x, y, 77), so every source position can be told apart.
QImage Gradient(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, 77));
    return image;
}

QImage Filled(int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

class ZoomView : public ::testing::Test {
protected:
    void SetUp() override {
        doc.AddView(&view);
        ASSERT_TRUE(view.Create(nullptr, 0));
        view.GetSafeHwnd()->show();
        view.OnInitialUpdate();
    }
    void TearDown() override { delete view.GetSafeHwnd(); }

    // The square as drawn into the picture frame.
    QImage Square() {
        CDC* dc = view.m_picture.GetDC();
        QImage copy = dc->GetSurface() != nullptr ? dc->GetSurface()->copy(0, 0, 140, 140) : QImage();
        view.m_picture.ReleaseDC(dc);
        return copy;
    }
    static COLORREF At(const QImage& image, int x, int y) {
        const QRgb p = image.pixel(x, y);
        return RGB(qRed(p), qGreen(p), qBlue(p));
    }
    QString Text(int id) const { return view.GetDlgItem(id) ? AfxText(*view.GetDlgItem(id)) : QString(); }
    static QString AfxText(const CWnd& wnd) {
        CString text;
        wnd.GetWindowText(text);
        return QString::fromUtf8(text.GetString());
    }
    void Type(const QString& text) {
        auto* edit = qobject_cast<QLineEdit*>(view.GetDlgItem(IDC_ZOOM_RATE)->GetSafeHwnd());
        ASSERT_NE(edit, nullptr);
        edit->setText(text);
    }
    void Check(int id, bool on) {
        view.GetDlgItem(id)->SendMessage(BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED);
    }

    CTallyscopeDoc doc;
    CZoomView view;
};

} // namespace

TEST_F(ZoomView, InitialUpdateSetsDefaultsRangeAndPosition) {
    EXPECT_EQ(Text(IDC_ZOOM_SOURCE), "Mouse");
    for (int id : {IDC_ZOOM_X, IDC_ZOOM_Y, IDC_ZOOM_R, IDC_ZOOM_G, IDC_ZOOM_B})
        EXPECT_EQ(Text(id), "") << "the template's letter is replaced, control " << id;
    EXPECT_EQ(Text(IDC_ZOOM_RATE), "2");
    int lower = 0, upper = 0;
    view.m_spinRate.GetRange32(lower, upper);
    EXPECT_EQ(lower, 1);
    EXPECT_EQ(upper, 10);
    EXPECT_EQ(LOWORD(view.m_spinRate.GetPos()), 2);
    // The frame must hold the whole square, or its far edges could not be drawn or read back.
    const QWidget* frame = view.m_picture.GetSafeHwnd();
    ASSERT_NE(frame, nullptr);
    EXPECT_GE(frame->width(), 140);
    EXPECT_GE(frame->height(), 140);
}

TEST_F(ZoomView, WhiteBandsCoverTheSourceOutsideThePicture) {
    struct Case {
        int width, height, magnification, x, y;
        CRect picture; // where the picture shows in the square; white all around it
    };
    // Magnification 2 at (10, 10) in 100 x 100: 50-pixel bands on the left and on top.
    // Magnification 1 at (50, 50) in 80 x 60: bands of 20 left, 40 right (from x 100), 20 on top
    // and 60 at the bottom (from y 80).
    for (const Case& c :
         {Case{100, 100, 2, 10, 10, {50, 50, 140, 140}}, Case{80, 60, 1, 50, 50, {20, 20, 100, 80}}}) {
        AttachPicture(doc, Filled(c.width, c.height, QColor(1, 2, 3)));
        view.m_nMagnification = c.magnification;
        view.UpdateZoom(c.x, c.y, FALSE);
        const QImage square = Square();
        for (int y = 0; y < 140; ++y) {
            for (int x = 0; x < 140; ++x) {
                if (x == 70 || y == 70)
                    continue; // the cross
                const bool inside =
                    x >= c.picture.left && x < c.picture.right && y >= c.picture.top && y < c.picture.bottom;
                ASSERT_EQ(At(square, x, y), inside ? RGB(1, 2, 3) : kWhite)
                    << "magnification " << c.magnification << " at " << x << "," << y;
            }
        }
    }
}

TEST_F(ZoomView, ReadOutLabelsThePositionAndTheCentreColour) {
    AttachPicture(doc, Gradient(100, 100));
    for (BOOL point : {FALSE, TRUE}) {
        view.UpdateZoom(12, 34, point);
        EXPECT_EQ(Text(IDC_ZOOM_SOURCE), point ? "Point" : "Mouse");
        EXPECT_EQ(Text(IDC_ZOOM_X), "X = 12");
        EXPECT_EQ(Text(IDC_ZOOM_Y), "Y = -34");
        EXPECT_EQ(Text(IDC_ZOOM_R), "R = 12");
        EXPECT_EQ(Text(IDC_ZOOM_G), "G = 34");
        EXPECT_EQ(Text(IDC_ZOOM_B), "B = 77");
    }
    const QImage square = Square();
    EXPECT_EQ(At(square, 70, 70), kBlack) << "the cross is drawn after the read-out";
    EXPECT_EQ(At(square, 0, 70), kBlack);
    EXPECT_EQ(At(square, 70, 139), kBlack);
    EXPECT_EQ(At(square, 71, 71), RGB(12, 34, 77))
        << "magnification 2: pixel (71, 71) is still the centre pixel";
    EXPECT_EQ(At(square, 72, 72), RGB(13, 35, 77));
    EXPECT_EQ(At(square, 69, 69), RGB(11, 33, 77));
}

TEST_F(ZoomView, RowProfileIsFlatAtTheMeanOfTheSwitchedOnChannels) {
    AttachPicture(doc, Filled(200, 200, QColor(255, 0, 0)));
    struct Case {
        bool red, green, blue;
        int y;
        COLORREF readOut;
    };
    // Red alone over red: 255 -> y 40. Red and green: (255 * 60 / 2) / 255 = 30 -> y 70, through the
    // centre, so the read-out shows the curve's green. No switch: no curve.
    for (const Case& c : {Case{true, false, false, 40, RGB(255, 0, 0)}, Case{true, true, false, 70, kGreen},
                          Case{false, false, false, -1, RGB(255, 0, 0)}}) {
        Check(IDC_ROW_RED, c.red);
        Check(IDC_ROW_GREEN, c.green);
        Check(IDC_ROW_BLUE, c.blue);
        view.UpdateZoom(100, 100, FALSE);
        const QImage square = Square();
        int greenPixels = 0;
        for (int y = 0; y < 140; ++y)
            for (int x = 0; x < 140; ++x)
                greenPixels += At(square, x, y) == kGreen;
        if (c.y < 0) {
            EXPECT_EQ(greenPixels, 0);
        } else if (c.y == 70) {
            EXPECT_EQ(greenPixels, 0) << "the black cross covers the curve on row 70";
        } else {
            EXPECT_EQ(greenPixels, 138)
                << "columns 0 to 138 (the last line leaves out its end) but 70, under the cross";
            EXPECT_EQ(At(square, 0, c.y), kGreen);
            EXPECT_EQ(At(square, 138, c.y), kGreen);
        }
        EXPECT_EQ(Text(IDC_ZOOM_R), QString("R = %1").arg(GetRValue(c.readOut)));
        EXPECT_EQ(Text(IDC_ZOOM_G), QString("G = %1").arg(GetGValue(c.readOut)));
    }
}

TEST_F(ZoomView, ColumnProfileReadsTheRowProfileWhereItCrossesColumn70) {
    AttachPicture(doc, Filled(200, 200, QColor(0, 0, 0)));
    Check(IDC_ROW_GREEN, true); // over black: flat at y 100
    Check(IDC_COL_GREEN, true); // samples column 70, which the green curve crosses at y 100
    view.UpdateZoom(100, 100, FALSE);
    const QImage square = Square();
    EXPECT_EQ(At(square, 10, 100), kGreen);
    EXPECT_EQ(At(square, 40, 50), RGB(255, 0, 0)) << "the column curve at x 40 over black";
    EXPECT_EQ(At(square, 100, 100), RGB(255, 0, 0)) << "row 100 of column 70 was green: x 40 + 60";
}

TEST_F(ZoomView, TypedMagnificationRedrawsAroundTheLastPosition) {
    AttachPicture(doc, Gradient(100, 100));
    view.UpdateZoom(50, 50, TRUE);
    Type("5");
    EXPECT_EQ(view.m_nMagnification, 5);
    const QImage square = Square();
    // Source 28 pixels from (36, 36), each shown as a 5 x 5 block.
    EXPECT_EQ(At(square, 0, 0), RGB(36, 36, 77));
    EXPECT_EQ(At(square, 4, 4), RGB(36, 36, 77));
    EXPECT_EQ(At(square, 5, 0), RGB(37, 36, 77));
    EXPECT_EQ(At(square, 139, 139), RGB(63, 63, 77));
    EXPECT_EQ(Text(IDC_ZOOM_SOURCE), "Point") << "the last kind of position is kept";
}

TEST_F(ZoomView, RefusedMagnificationsKeepTheLastGoodValue) {
    AttachPicture(doc, Gradient(100, 100));
    view.UpdateZoom(50, 50, FALSE);
    Type("5");
    for (const char* refused : {"0", "11", "abc", "", "-3"}) {
        ScriptedModalHost host;
        host.AnswerMessageBox(IDOK);
        Type(refused);
        ASSERT_EQ(host.messages.size(), 1u) << "one message for \"" << refused << "\"";
        const bool number = QString(refused).toInt() != 0 || QString(refused) == "0";
        EXPECT_EQ(host.messages[0].text,
                  number ? "1 から 10 までの整数を入力してください。" : AFX_MSG_PARSE_INT);
        EXPECT_EQ(view.m_nMagnification, 5);
        EXPECT_EQ(Text(IDC_ZOOM_RATE), "5") << "written back";
        EXPECT_EQ(At(Square(), 5, 0), RGB(37, 36, 77)) << "still drawn at magnification 5";
    }
}

TEST_F(ZoomView, BeforeAnyPositionTheSquareCentresOnThePicture) {
    QImage picture = Filled(120, 80, QColor(9, 9, 9));
    picture.setPixel(60, 40, qRgb(200, 100, 50));
    AttachPicture(doc, picture);
    Type("4");
    EXPECT_EQ(Text(IDC_ZOOM_X), "X = 60");
    EXPECT_EQ(Text(IDC_ZOOM_Y), "Y = -40");
    EXPECT_EQ(Text(IDC_ZOOM_R), "R = 200");
    EXPECT_EQ(Text(IDC_ZOOM_G), "G = 100");
}

TEST_F(ZoomView, WithoutPictureNothingIsDrawnOrRemembered) {
    view.UpdateZoom(5, 6, TRUE);
    Type("7");
    EXPECT_EQ(view.m_nMagnification, 2) << "the form is not read";
    EXPECT_EQ(Text(IDC_ZOOM_SOURCE), "Mouse");
    EXPECT_EQ(Text(IDC_ZOOM_X), "");
    const QImage square = Square();
    EXPECT_EQ(At(square, 70, 70), kWhite);
    EXPECT_EQ(At(square, 0, 0), kWhite);
}

TEST_F(ZoomView, RepaintOfTheFormLeavesTheFrameBlankUntilTheNextUpdate) {
    AttachPicture(doc, Filled(100, 100, QColor(1, 2, 3)));
    QApplication::processEvents(); // the form's first paint
    view.UpdateZoom(50, 50, FALSE);
    QApplication::processEvents();
    EXPECT_EQ(At(Square(), 10, 10), RGB(1, 2, 3)) << "the frame's own repaint shows the square";
    QWidget* frame = view.m_picture.GetSafeHwnd();
    EXPECT_EQ(frame->grab().toImage().pixel(10, 10), qRgb(1, 2, 3)) << "on the screen too";
    doc.UpdateAllViews(nullptr);
    QApplication::processEvents();
    EXPECT_EQ(At(Square(), 10, 10), kWhite);
    EXPECT_EQ(frame->grab().toImage().pixel(10, 10), qRgb(255, 255, 255));
    view.UpdateZoom(50, 50, FALSE);
    EXPECT_EQ(At(Square(), 10, 10), RGB(1, 2, 3));
}

// The square at the screen's scale (the suite runs this at 1, 1.5 and 2): each logical pixel of it
// is the block of device pixels under it, the picture's pixels crisp, the cross one logical pixel
// wide, the profile curve drawn at the device's resolution, and the read-out as at a ratio of 1.
TEST_F(ZoomView, DevicePixels_TheSquareIsDrawnAtTheScreensResolution) {
    AttachPicture(doc, Gradient(300, 300));
    Check(IDC_ROW_RED, true);
    view.UpdateZoom(100, 150, FALSE);
    EXPECT_EQ(Text(IDC_ZOOM_R), "R = 100");
    EXPECT_EQ(Text(IDC_ZOOM_G), "G = 150");
    CDC* dc = view.m_picture.GetDC();
    ASSERT_NE(dc->GetSurface(), nullptr);
    const QImage device = dc->GetSurface()->copy();
    view.m_picture.ReleaseDC(dc);
    const DeviceScale scale{device.devicePixelRatio()};
    ASSERT_EQ(scale.Ratio(), view.m_picture.GetSafeHwnd()->devicePixelRatio());
    const int end = static_cast<int>(scale.FirstDeviceOf(140));
    ASSERT_GE(device.width(), end);

    int curve = 0;
    int crossRows = 0;
    for (int dy = 0; dy < end; ++dy) {
        const int ly = static_cast<int>(scale.LogicalOf(dy));
        crossRows += At(device, 0, dy) == kBlack && At(device, end - 1, dy) == kBlack;
        for (int dx = 0; dx < end; ++dx) {
            const int lx = static_cast<int>(scale.LogicalOf(dx));
            const COLORREF shown = At(device, dx, dy);
            if (lx == 70 || ly == 70) {
                ASSERT_EQ(shown, kBlack) << dx << "," << dy;
            } else if (shown == kGreen) {
                ++curve; // red alone over the gradient: the curve falls from y 100 as x grows
            } else {
                // Magnification 2: logical pixel (lx, ly) shows picture pixel (65 + lx / 2, 115 + ly / 2).
                ASSERT_EQ(shown, RGB(65 + lx / 2, 115 + ly / 2, 77)) << dx << "," << dy;
            }
        }
    }
    EXPECT_EQ(crossRows, scale.FirstDeviceOf(71) - scale.FirstDeviceOf(70));
    // One logical pixel thick all along, drawn at the device's resolution.
    EXPECT_NEAR(curve, 139 * scale.Ratio() * scale.Ratio(), 40 * scale.Ratio());
}

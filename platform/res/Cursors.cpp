#include "platform/res/Cursors.h"

#include "platform/gdi/DeviceScale.h"
#include "platform/res/AfxResource.h"

#include <QBitmap>
#include <QCursor>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <map>
#include <memory>

namespace {
QPointer<QWidget> g_cursorWindow;
QPointer<QWidget> g_appliedWindow; // the window the current cursor was last given to
HCURSOR g_currentCursor = nullptr;

// Qt's monochrome cursors: bitmap 1 and mask 1 is black, bitmap 0 and mask 1 is white, mask 0 is
// transparent.
std::unique_ptr<QCursor> BuildCursor(const CursorResource& resource) {
    QImage bits(32, 32, QImage::Format_Mono);
    QImage mask(32, 32, QImage::Format_Mono);
    // Index 1 is black: QBitmap::fromImage turns dark pixels into colour1, the set bits.
    const QList<QRgb> blackOnWhite{qRgb(255, 255, 255), qRgb(0, 0, 0)};
    bits.setColorTable(blackOnWhite);
    mask.setColorTable(blackOnWhite);
    bits.fill(0);
    mask.fill(0);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const char c = resource.picture[y][x];
            bits.setPixel(x, y, c == '#' ? 1 : 0);
            mask.setPixel(x, y, c == ' ' ? 0 : 1);
        }
    }
    return std::make_unique<QCursor>(QBitmap::fromImage(bits), QBitmap::fromImage(mask), resource.hotSpotX,
                                     resource.hotSpotY);
}

// Where the hot spot goes in a cursor picture of the given scale. Qt's X11 backend hands the hot
// spot to the server as it is, in the picture's own (device) pixels, so there the resource's hot
// spot pixel is scaled with the picture: a click lands on the first device pixel of the block that
// pixel became, which the view maps back to that pixel. Other backends scale it themselves.
QPoint HotSpotOf(const CursorResource& resource, const DeviceScale& scale) {
    const QPoint logical(resource.hotSpotX, resource.hotSpotY);
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return logical;
    return QPoint(static_cast<int>(scale.FirstDeviceOf(logical.x())),
                  static_cast<int>(scale.FirstDeviceOf(logical.y())));
}

// On a scaled screen: each pixel of the resource becomes a block of device pixels (the mapping of
// DeviceScale), so the cursor keeps its size and stays crisp.
std::unique_ptr<QCursor> BuildScaledCursor(const CursorResource& resource, double ratio) {
    const DeviceScale scale{ratio};
    const int size = static_cast<int>(scale.FirstDeviceOf(32));
    QImage image(size, size, QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const char c = resource.picture[scale.LogicalOf(y)][scale.LogicalOf(x)];
            image.setPixel(x, y,
                           c == ' '   ? qRgba(0, 0, 0, 0)
                           : c == '#' ? qRgb(0, 0, 0)
                                      : qRgb(255, 255, 255));
        }
    }
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    const QPoint hotSpot = HotSpotOf(resource, scale);
    return std::make_unique<QCursor>(pixmap, hotSpot.x(), hotSpot.y());
}

// The ratio of the screen the cursor is chosen for.
double CursorRatio() {
    if (g_cursorWindow)
        return g_cursorWindow->devicePixelRatio();
    return qApp != nullptr ? qApp->devicePixelRatio() : 1.0;
}
} // namespace

HINSTANCE AfxFindResourceHandle(UINT, UINT) {
    return &AfxGetResourceModule();
}

HCURSOR LoadCursor(HINSTANCE, UINT nID) {
    static std::map<std::pair<UINT, double>, std::unique_ptr<QCursor>> loaded;
    const double ratio = CursorRatio();
    if (auto it = loaded.find({nID, ratio}); it != loaded.end())
        return it->second.get();
    const CursorResource* resource = AfxGetResourceModule().FindCursor(nID);
    if (resource == nullptr)
        return nullptr;
    return (loaded[{nID, ratio}] =
                ratio == 1.0 ? BuildCursor(*resource) : BuildScaledCursor(*resource, ratio))
        .get();
}

// The view sets its cursor on every mouse move, nearly always the one it shows already; Qt would
// still go to the display each time.
HCURSOR SetCursor(HCURSOR hCursor) {
    HCURSOR previous = g_currentCursor;
    g_currentCursor = hCursor;
    if (hCursor == previous && g_cursorWindow == g_appliedWindow)
        return previous;
    g_appliedWindow = g_cursorWindow;
    if (g_cursorWindow) {
        if (hCursor != nullptr)
            g_cursorWindow->setCursor(*hCursor);
        else
            g_cursorWindow->unsetCursor();
    }
    return previous;
}

void AfxSetCursorWindow(QWidget* widget) {
    g_cursorWindow = widget;
}

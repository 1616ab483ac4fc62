#include "platform/gdi/CDC.h"

#include "platform/gdi/Rasteriser.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

// Contents:
//   1. pixel and colour helpers
//   2. CDC state and selections
//   3. CDC drawing
//   4. CDC drawing on a scaled surface
// The shapes' pixels come from the rasterisers (Rasteriser.h).

// ---- 1. pixel and colour helpers ------------------------------------------------------------------

// The rasterisers are the drawing context's own tools; their names read plainly here.
using namespace Raster;

namespace {

constexpr QRgb kWhitePixel = 0xFFFFFFFFu;

// A COLORREF (0x00BBGGRR) as a Format_RGB32 pixel (0xFFRRGGBB), and back.
QRgb ToPixel(COLORREF color) {
    return 0xFF000000u | (static_cast<QRgb>(GetRValue(color)) << 16) |
           (static_cast<QRgb>(GetGValue(color)) << 8) | GetBValue(color);
}

COLORREF ToColorRef(QRgb pixel) {
    return RGB(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

// One pixel of a readable image as an opaque Format_RGB32 pixel. Drawing surfaces are 32-bit; a
// loaded picture is held in 24-bit rows (R, G, B bytes); anything else goes through QImage.
QRgb OpaquePixel(const QImage& image, int x, int y) {
    switch (image.format()) {
    case QImage::Format_RGB888: {
        const uchar* p = image.constScanLine(y) + 3 * x;
        return 0xFF000000u | (QRgb{p[0]} << 16) | (QRgb{p[1]} << 8) | p[2];
    }
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
        return reinterpret_cast<const QRgb*>(image.constScanLine(y))[x] | 0xFF000000u;
    default:
        return image.pixel(x, y) | 0xFF000000u;
    }
}

// Writes source row y through a column map (a source column per destination pixel, -1 for one off
// the picture, which is white). A magnified row repeats each source pixel over a run of destination
// pixels: the pixel is read once and the run filled. The formats the program draws from are read
// without a call per pixel.
void MapSourceRow(const QImage& source, int y, const std::vector<int>& columns, QRgb* out) {
    const std::size_t count = columns.size();
    const uchar* row = source.constScanLine(y);
    std::size_t i = 0;
    while (i < count) {
        const int column = columns[i];
        std::size_t end = i + 1;
        while (end < count && columns[end] == column)
            ++end;
        QRgb pixel = kWhitePixel;
        if (column >= 0) {
            if (source.format() == QImage::Format_RGB888) {
                const uchar* p = row + 3 * column;
                pixel = 0xFF000000u | (QRgb{p[0]} << 16) | (QRgb{p[1]} << 8) | p[2];
            } else if (source.depth() == 32) {
                pixel = reinterpret_cast<const QRgb*>(row)[column] | 0xFF000000u;
            } else {
                pixel = OpaquePixel(source, column, y);
            }
        }
        std::fill(out + i, out + end, pixel);
        i = end;
    }
}

// The mix mode's result for pen P over destination D, bit by bit: mode - 1 is a truth table whose
// bit (2P + D) gives the result bit.
QRgb Mix(int rop2, QRgb pen, QRgb destination) {
    const std::uint32_t table = static_cast<std::uint32_t>(rop2 - 1);
    const std::uint32_t p = pen & 0xFFFFFFu;
    const std::uint32_t d = destination & 0xFFFFFFu;
    std::uint32_t result = 0;
    if (table & 1u)
        result |= ~p & ~d;
    if (table & 2u)
        result |= ~p & d;
    if (table & 4u)
        result |= p & ~d;
    if (table & 8u)
        result |= p & d;
    return 0xFF000000u | (result & 0xFFFFFFu);
}

CRect Intersect(const CRect& a, const CRect& b) {
    return CRect(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom));
}

} // namespace

COLORREF GetSysColor(int nIndex) {
    switch (nIndex) {
    case COLOR_WINDOW:
        return RGB(255, 255, 255);
    case COLOR_WINDOWTEXT:
        return RGB(0, 0, 0);
    case COLOR_APPWORKSPACE:
        return RGB(171, 171, 171);
    case COLOR_BTNFACE:
        return RGB(240, 240, 240);
    default:
        return RGB(0, 0, 0);
    }
}

// ---- 2. CDC state and selections ------------------------------------------------------------------

CDC::CDC() {
    m_stockPen.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    m_stockBrush.CreateSolidBrush(RGB(255, 255, 255));
    m_pPen = &m_stockPen;
    m_pBrush = &m_stockBrush;
    m_pBitmap = &m_stockBitmap;
}

CDC::~CDC() = default;

void CDC::AttachSurface(QImage* pSurface) {
    m_pSurface = pSurface;
    m_pReadable = pSurface;
    m_bMemory = false;
    m_scale = DeviceScale(pSurface != nullptr ? pSurface->devicePixelRatio() : 1.0);
}

BOOL CDC::CreateCompatibleDC(CDC*) {
    m_pSurface = nullptr;
    m_pReadable = nullptr;
    m_bMemory = true;
    m_pBitmap = &m_stockBitmap;
    m_scale = DeviceScale(1.0);
    return TRUE;
}

BOOL CDC::DeleteDC() {
    if (m_pReadable == nullptr && !m_bMemory)
        return FALSE;
    m_pSurface = nullptr;
    m_pReadable = nullptr;
    m_bMemory = false;
    m_pBitmap = &m_stockBitmap;
    return TRUE;
}

int CDC::SetMapMode(int nMapMode) {
    // Logical units are always device pixels; the program asks for nothing else.
    return nMapMode == MM_TEXT ? MM_TEXT : 0;
}

CPoint CDC::SetViewportOrg(int x, int y) {
    const CPoint previous = m_ptOrigin;
    m_ptOrigin = CPoint(x, y);
    return previous;
}

CRect CDC::DeviceClip() const {
    if (m_pReadable == nullptr)
        return CRect();
    const CRect surface(0, 0, m_pReadable->width(), m_pReadable->height());
    return m_bClipped ? Intersect(surface, m_rcClip) : surface;
}

CRect CDC::DeviceRect(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) const {
    auto edge = [this](std::int64_t logical) {
        const std::int64_t device = m_scale.FirstDeviceOf(logical);
        return static_cast<int>(std::clamp<std::int64_t>(device, std::numeric_limits<int>::min(),
                                                         std::numeric_limits<int>::max()));
    };
    return CRect(edge(left), edge(top), edge(right), edge(bottom));
}

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2) {
    const CRect device = DeviceRect(std::int64_t{x1} + m_ptOrigin.x, std::int64_t{y1} + m_ptOrigin.y,
                                    std::int64_t{x2} + m_ptOrigin.x, std::int64_t{y2} + m_ptOrigin.y);
    m_rcClip = m_bClipped ? Intersect(m_rcClip, device) : device;
    m_bClipped = true;
    return DeviceClip().IsRectEmpty() ? NULLREGION : SIMPLEREGION;
}

int CDC::GetClipBox(CRect* lpRect) const {
    const CRect device = DeviceClip();
    if (device.IsRectEmpty()) {
        *lpRect = CRect();
        return NULLREGION;
    }
    auto logical = [this](int deviceEdge, int origin) {
        return static_cast<int>(m_scale.LogicalOf(deviceEdge) - origin);
    };
    // The logical pixels that have a device pixel inside the clip box.
    *lpRect =
        CRect(logical(device.left, m_ptOrigin.x), logical(device.top, m_ptOrigin.y),
              logical(device.right - 1, m_ptOrigin.x) + 1, logical(device.bottom - 1, m_ptOrigin.y) + 1);
    return SIMPLEREGION;
}

CPen* CDC::SelectObject(CPen* pPen) {
    if (pPen == nullptr || pPen->GetSafeHandle() == nullptr)
        return nullptr;
    CPen* previous = m_pPen;
    m_pPen = pPen;
    m_nPenStyle = pPen->GetStyle();
    m_crPen = pPen->GetColor();
    return previous;
}

CBrush* CDC::SelectObject(CBrush* pBrush) {
    if (pBrush == nullptr || pBrush->GetSafeHandle() == nullptr)
        return nullptr;
    CBrush* previous = m_pBrush;
    m_pBrush = pBrush;
    m_brushKind = pBrush->GetKind();
    m_crBrush = pBrush->GetColor();
    m_nHatch = pBrush->GetHatchStyle();
    return previous;
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
    if (!m_bMemory || pBitmap == nullptr)
        return nullptr;
    if (pBitmap != &m_stockBitmap && pBitmap->GetSafeHandle() == nullptr)
        return nullptr;
    CBitmap* previous = m_pBitmap;
    m_pBitmap = pBitmap;
    m_pSurface = pBitmap->GetWritableImage();
    m_pReadable = static_cast<HBITMAP>(*pBitmap);
    m_scale = DeviceScale(m_pReadable != nullptr ? m_pReadable->devicePixelRatio() : 1.0);
    return previous;
}

int CDC::SetBkMode(int nBkMode) {
    const int previous = m_nBkMode;
    if (nBkMode == TRANSPARENT || nBkMode == OPAQUE)
        m_nBkMode = nBkMode;
    return previous;
}

COLORREF CDC::SetBkColor(COLORREF crColor) {
    const COLORREF previous = m_crBkColor;
    m_crBkColor = crColor;
    return previous;
}

int CDC::SetROP2(int nDrawMode) {
    const int previous = m_nRop2;
    if (nDrawMode >= R2_BLACK && nDrawMode <= R2_WHITE)
        m_nRop2 = nDrawMode;
    return previous;
}

int CDC::GetDeviceCaps(int nIndex) const {
    switch (nIndex) {
    case LOGPIXELSX:
    case LOGPIXELSY:
        return kDeviceDpi;
    case HORZRES:
        return m_pReadable ? m_pReadable->width() : 0;
    case VERTRES:
        return m_pReadable ? m_pReadable->height() : 0;
    default:
        return 0;
    }
}

void CDC::HIMETRICtoDP(CSize* lpSize) const {
    auto toPixels = [](int himetric) {
        return static_cast<int>(std::lround(static_cast<double>(himetric) * kDeviceDpi / 2540.0));
    };
    lpSize->cx = toPixels(lpSize->cx);
    lpSize->cy = toPixels(lpSize->cy);
}

// ---- 3. CDC drawing -------------------------------------------------------------------------------

void CDC::Plot(int x, int y, COLORREF color) {
    auto* pixel = reinterpret_cast<QRgb*>(m_pSurface->scanLine(y)) + x;
    *pixel = m_nRop2 == R2_COPYPEN ? ToPixel(color) : Mix(m_nRop2, ToPixel(color), *pixel);
}

void CDC::PlotOutline(std::vector<CPoint>& pixels) {
    // Sorting by row, then column, also keeps the writes in memory order.
    std::sort(pixels.begin(), pixels.end(),
              [](const CPoint& a, const CPoint& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
    pixels.erase(std::unique(pixels.begin(), pixels.end()), pixels.end());
    const CRect clip = DeviceClip();
    for (const CPoint& p : pixels) {
        if (p.x >= clip.left && p.x < clip.right && p.y >= clip.top && p.y < clip.bottom)
            Plot(p.x, p.y, m_crPen);
    }
}

CPoint CDC::MoveTo(int x, int y) {
    const CPoint previous = m_ptPosition;
    m_ptPosition = CPoint(x, y);
    return previous;
}

BOOL CDC::LineTo(int x, int y) {
    const DevicePoint from = ToDevice(m_ptPosition.x, m_ptPosition.y, m_ptOrigin);
    const DevicePoint to = ToDevice(x, y, m_ptOrigin);
    const CPoint start = m_ptPosition;
    m_ptPosition = CPoint(x, y);
    if (m_pSurface == nullptr)
        return FALSE;
    if (m_nPenStyle == PS_NULL)
        return TRUE;
    if (!m_scale.IsIdentity()) {
        ScaledLine(start, CPoint(x, y));
        return TRUE;
    }
    const CRect clip = DeviceClip();
    // A line entirely outside the clip box costs nothing however long it is.
    if (std::max(from.x, to.x) < clip.left || std::min(from.x, to.x) >= clip.right ||
        std::max(from.y, to.y) < clip.top || std::min(from.y, to.y) >= clip.bottom)
        return TRUE;
    RasterizeLine(from, to, clip, [this](int px, int py) { Plot(px, py, m_crPen); });
    return TRUE;
}

BOOL CDC::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    if (m_pSurface == nullptr)
        return FALSE;
    const int left = std::min(x1, x2) + m_ptOrigin.x;
    const int right = std::max(x1, x2) + m_ptOrigin.x;
    const int top = std::min(y1, y2) + m_ptOrigin.y;
    const int bottom = std::max(y1, y2) + m_ptOrigin.y;
    if (right <= left || bottom <= top)
        return FALSE;
    if (m_nPenStyle == PS_NULL)
        return TRUE;
    if (!m_scale.IsIdentity()) {
        ScaledEllipse(left, top, right, bottom, x3 + m_ptOrigin.x, y3 + m_ptOrigin.y, x4 + m_ptOrigin.x,
                      y4 + m_ptOrigin.y);
        return TRUE;
    }
    const CRect clip = DeviceClip();
    if (right <= clip.left || left >= clip.right || bottom <= clip.top || top >= clip.bottom)
        return TRUE;
    m_scratch.clear();
    RasterizeEllipse(left, top, right - 1, bottom - 1, m_scratch);
    // Start and end on one radial (parallel, same direction) is the whole ellipse.
    const std::int64_t cx2 = left + right - 1;
    const std::int64_t cy2 = top + bottom - 1;
    const std::int64_t sx = 2 * (x3 + m_ptOrigin.x) - cx2;
    const std::int64_t sy = 2 * (y3 + m_ptOrigin.y) - cy2;
    const std::int64_t ex = 2 * (x4 + m_ptOrigin.x) - cx2;
    const std::int64_t ey = 2 * (y4 + m_ptOrigin.y) - cy2;
    const bool wholeEllipse = sx * ey - sy * ex == 0 && sx * ex + sy * ey >= 0;
    if (!wholeEllipse) {
        std::erase_if(m_scratch, [&](const CPoint& p) {
            return !OnSweep(sx, sy, ex, ey, 2 * p.x - cx2, 2 * p.y - cy2);
        });
    }
    PlotOutline(m_scratch);
    return TRUE;
}

void CDC::FillSpan(int y, int xBegin, int xEnd) {
    auto* row = reinterpret_cast<QRgb*>(m_pSurface->scanLine(y));
    const QRgb brush = ToPixel(m_crBrush);
    const bool hatched = m_brushKind == CBrush::Kind::Hatched;
    const unsigned pattern = hatched ? CBrush::HatchRow(m_nHatch, y) : 0xFFu;
    if (pattern == 0xFFu || (hatched && m_nBkMode == OPAQUE)) {
        // Every pixel of the span is written: brush where the pattern is set, else background.
        const QRgb background = ToPixel(m_crBkColor);
        for (int x = xBegin; x < xEnd; ++x) {
            const QRgb colour = (pattern & (0x80u >> (x & 7))) ? brush : background;
            row[x] = m_nRop2 == R2_COPYPEN ? colour : Mix(m_nRop2, colour, row[x]);
        }
        return;
    }
    // Transparent hatch: visit only the pattern's columns, one in eight per set bit.
    for (int column = 0; column < 8; ++column) {
        if ((pattern & (0x80u >> column)) == 0)
            continue;
        const int first = xBegin + ((column - xBegin) % 8 + 8) % 8;
        for (int x = first; x < xEnd; x += 8)
            row[x] = m_nRop2 == R2_COPYPEN ? brush : Mix(m_nRop2, brush, row[x]);
    }
}

BOOL CDC::Polygon(const CPoint* lpPoints, int nCount) {
    if (m_pSurface == nullptr || lpPoints == nullptr || nCount < 2)
        return FALSE;
    if (!m_scale.IsIdentity()) {
        ScaledPolygon(lpPoints, nCount);
        return TRUE;
    }
    std::vector<DevicePoint> vertices;
    vertices.reserve(static_cast<std::size_t>(nCount));
    for (int i = 0; i < nCount; ++i)
        vertices.push_back(ToDevice(lpPoints[i].x, lpPoints[i].y, m_ptOrigin));
    if (m_brushKind != CBrush::Kind::Null) {
        CRect rows = DeviceClip();
        const auto [low, high] =
            std::minmax_element(vertices.begin(), vertices.end(),
                                [](const DevicePoint& a, const DevicePoint& b) { return a.y < b.y; });
        rows.top = static_cast<int>(std::max<std::int64_t>(rows.top, low->y));
        rows.bottom = static_cast<int>(std::min<std::int64_t>(rows.bottom, high->y));
        if (!rows.IsRectEmpty())
            RasterizePolygon(vertices, rows, [this](int y, int begin, int end) { FillSpan(y, begin, end); });
    }
    if (m_nPenStyle == PS_NULL)
        return TRUE;
    const CRect clip = DeviceClip();
    m_scratch.clear();
    for (int i = 0; i < nCount; ++i) {
        RasterizeLine(vertices[i], vertices[(i + 1) % nCount], clip,
                      [this](int px, int py) { m_scratch.emplace_back(px, py); });
    }
    PlotOutline(m_scratch);
    return TRUE;
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr) {
    m_crBkColor = clr;
    if (m_pSurface == nullptr)
        return;
    std::int64_t left = std::int64_t{x} + m_ptOrigin.x;
    std::int64_t top = std::int64_t{y} + m_ptOrigin.y;
    std::int64_t right = left + cx;
    std::int64_t bottom = top + cy;
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    const CRect target = DeviceRect(left, top, right, bottom);
    const CRect area = Intersect(target, DeviceClip());
    if (area.IsRectEmpty())
        return;
    const QRgb pixel = ToPixel(clr);
    for (int row = area.top; row < area.bottom; ++row) {
        auto* line = reinterpret_cast<QRgb*>(m_pSurface->scanLine(row));
        std::fill(line + area.left, line + area.right, pixel);
    }
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                     int nSrcHeight, DWORD dwRop) {
    if (dwRop != SRCCOPY || m_pSurface == nullptr || pSrcDC == nullptr || pSrcDC->m_pReadable == nullptr)
        return FALSE;
    if (nWidth <= 0 || nHeight <= 0 || nSrcWidth <= 0 || nSrcHeight <= 0)
        return FALSE;
    const QImage& source = *pSrcDC->m_pReadable;
    // The target in logical units, origin applied; the source pixel of each device pixel is that of
    // the logical pixel it belongs to.
    const std::int64_t targetLeft = std::int64_t{x} + m_ptOrigin.x;
    const std::int64_t targetTop = std::int64_t{y} + m_ptOrigin.y;
    const CRect area =
        Intersect(DeviceRect(targetLeft, targetTop, targetLeft + nWidth, targetTop + nHeight), DeviceClip());
    if (area.IsRectEmpty())
        return TRUE;
    const std::int64_t srcLeft = static_cast<std::int64_t>(xSrc) + pSrcDC->m_ptOrigin.x;
    const std::int64_t srcTop = static_cast<std::int64_t>(ySrc) + pSrcDC->m_ptOrigin.y;
    // The source pixel under the centre of destination pixel d (offset from the target's edge).
    auto sourceIndex = [](std::int64_t d, std::int64_t sourceSize, std::int64_t targetSize) {
        return (2 * d + 1) * sourceSize / (2 * targetSize);
    };
    // Only the columns and rows inside the clip box are mapped: the cost follows the visible area.
    std::vector<int> columns(static_cast<std::size_t>(area.Width()));
    for (int dx = area.left; dx < area.right; ++dx) {
        const std::int64_t sx = srcLeft + sourceIndex(m_scale.LogicalOf(dx) - targetLeft, nSrcWidth, nWidth);
        columns[static_cast<std::size_t>(dx - area.left)] =
            (sx >= 0 && sx < source.width()) ? static_cast<int>(sx) : -1;
    }
    std::int64_t previousRow = -1;
    const QRgb* previousLine = nullptr;
    for (int dy = area.top; dy < area.bottom; ++dy) {
        const std::int64_t sy = srcTop + sourceIndex(m_scale.LogicalOf(dy) - targetTop, nSrcHeight, nHeight);
        QRgb* line = reinterpret_cast<QRgb*>(m_pSurface->scanLine(dy)) + area.left;
        if (sy == previousRow && previousLine != nullptr) { // a replicated row: copy the one above
            std::memcpy(line, previousLine, columns.size() * sizeof(QRgb));
        } else if (sy < 0 || sy >= source.height()) {
            std::fill(line, line + columns.size(), kWhitePixel);
        } else {
            MapSourceRow(source, static_cast<int>(sy), columns, line);
        }
        previousRow = sy;
        previousLine = line;
    }
    return TRUE;
}

COLORREF CDC::GetPixel(int x, int y) const {
    // A logical pixel reads as its first device pixel.
    const std::int64_t dx = m_scale.FirstDeviceOf(std::int64_t{x} + m_ptOrigin.x);
    const std::int64_t dy = m_scale.FirstDeviceOf(std::int64_t{y} + m_ptOrigin.y);
    const CRect clip = DeviceClip();
    if (dx < clip.left || dx >= clip.right || dy < clip.top || dy >= clip.bottom)
        return CLR_INVALID;
    return ToColorRef(OpaquePixel(*m_pReadable, static_cast<int>(dx), static_cast<int>(dy)));
}

// ---- 4. CDC drawing on a scaled surface -----------------------------------------------------------

namespace {
CPoint Shifted(CPoint p, CPoint by) {
    return CPoint(p.x + by.x, p.y + by.y);
}
} // namespace

void CDC::ScaledLine(CPoint from, CPoint to) {
    m_scratch.clear();
    AppendScaledLine(Shifted(from, m_ptOrigin), Shifted(to, m_ptOrigin), m_scale, DeviceClip(), m_scratch);
    PlotOutline(m_scratch);
}

void CDC::ScaledEllipse(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) {
    m_scratch.clear();
    AppendScaledEllipse(CRect(left, top, right, bottom), CPoint(x3, y3), CPoint(x4, y4), m_scale,
                        DeviceClip(), m_scratch);
    PlotOutline(m_scratch);
}

void CDC::ScaledFillSpan(int y, int xBegin, int xEnd) {
    auto* row = reinterpret_cast<QRgb*>(m_pSurface->scanLine(y));
    const QRgb brush = ToPixel(m_crBrush);
    const QRgb background = ToPixel(m_crBkColor);
    const bool hatched = m_brushKind == CBrush::Kind::Hatched;
    // The hatch cells are eight logical pixels, anchored at the surface's logical (0, 0).
    const unsigned pattern =
        hatched ? CBrush::HatchRow(m_nHatch, static_cast<int>(m_scale.LogicalOf(y))) : 0xFFu;
    for (int x = xBegin; x < xEnd; ++x) {
        const bool set = (pattern & (0x80u >> (m_scale.LogicalOf(x) & 7))) != 0;
        if (!set && m_nBkMode == TRANSPARENT)
            continue;
        const QRgb colour = set ? brush : background;
        row[x] = m_nRop2 == R2_COPYPEN ? colour : Mix(m_nRop2, colour, row[x]);
    }
}

void CDC::ScaledPolygon(const CPoint* lpPoints, int nCount) {
    std::vector<CPoint> vertices;
    vertices.reserve(static_cast<std::size_t>(nCount));
    for (int i = 0; i < nCount; ++i)
        vertices.push_back(Shifted(lpPoints[i], m_ptOrigin));
    const CRect clip = DeviceClip();
    if (m_brushKind != CBrush::Kind::Null)
        RasterizeScaledPolygon(vertices, m_scale, clip,
                               [this](int y, int begin, int end) { ScaledFillSpan(y, begin, end); });
    if (m_nPenStyle == PS_NULL)
        return;
    m_scratch.clear();
    for (std::size_t i = 0; i < vertices.size(); ++i)
        AppendScaledLine(vertices[i], vertices[(i + 1) % vertices.size()], m_scale, clip, m_scratch);
    PlotOutline(m_scratch);
}

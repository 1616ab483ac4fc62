#pragma once
// Layer gdi: drawing contexts and the objects they draw with, the rasterisers, font faces. It rests
// on picture and core, and on QtGui.
//
// The framework's device context, drawing on the pixels of a QImage (Format_RGB32): a window's
// back buffer, or the bitmap selected into a memory context. A memory context that holds a loaded
// picture only reads it, in the 24-bit rows the picture is kept in (Format_RGB888), for StretchBlt
// and GetPixel. Provides pens, brushes, background
// and mix modes, MoveTo/LineTo, Arc, Polygon, FillSolidRect, StretchBlt, GetPixel, the clip box,
// the viewport origin and HIMETRIC conversion.
//
// Conventions, the framework's, kept exactly because views and tests count pixels:
// - Logical units are device pixels (MM_TEXT). Device position = logical position + viewport
//   origin; a scroll view sets the origin to minus its scroll position.
// - No antialiasing anywhere; pens are solid and one pixel wide.
// - A line from A to B lights A but not B, so a polyline lights each joint once. The pixels do not
//   depend on the direction the line is drawn in; a half-way row or column goes to the larger value.
// - Rectangles exclude their right and bottom edges: FillSolidRect(0, 0, 10, 10) fills columns
//   and rows 0 to 9, and Arc's ellipse lies inside columns left .. right-1 and rows top .. bottom-1.
// - Arc runs counter-clockwise from the start radial to the end radial; start and end on the same
//   radial draw the whole ellipse.
// - Polygon fills by the alternate rule, lighting the pixels whose corner point lies inside (left
//   and top edges in, right and bottom edges out), then outlines the closed figure with the pen.
// - Hatch brushes are 8 x 8 cells anchored at device (0, 0); HS_CROSS lights row 3 and column 4 of
//   each cell. In TRANSPARENT mode the gaps keep what lies below; in OPAQUE mode they get the
//   background colour.
// - The mix mode (SetROP2) applies to pen and brush pixels: R2_NOTXORPEN with a black pen inverts
//   every pixel under the outline, each exactly once. FillSolidRect always copies, and it leaves
//   its colour as the background colour, as the framework's does.
// - StretchBlt (SRCCOPY only) maps each destination pixel centre back to one source pixel, so
//   whole-number enlargements replicate pixels into solid blocks. It touches only destination
//   pixels inside the clip box; source pixels outside the source bitmap are written white.
// - A surface with a device pixel ratio other than 1 (a back buffer on a scaled screen) keeps its
//   logical units: each logical pixel covers the device pixels whose centres lie in it
//   (DeviceScale), and figures are drawn at the device's resolution rather than enlarged. Pens
//   and hatch lines are one logical pixel wide; a line or an outline is the band of that width
//   around its centre line, lighting the device pixels whose centres lie in the band, so lines
//   along a row or column cover exactly that row's or column's device pixels and slanting lines
//   and curves are as smooth as the device allows. Polygons fill the device pixels whose centres,
//   moved half a logical pixel up and left, lie inside. StretchBlt and FillSolidRect work on
//   whole logical pixels. At a ratio of 1 all of this is the rules above.
// - Nothing is drawn outside the clip box (the surface, narrowed by IntersectClipRect); GetPixel
//   outside it answers CLR_INVALID.

#include "platform/core/AfxTypes.h"
#include "platform/gdi/CBitmap.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/DeviceScale.h"

#include <vector>

class QImage;

inline constexpr int MM_TEXT = 1;

inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// Mix modes: the result of pen (P) and destination (D) pixels.
inline constexpr int R2_BLACK = 1;
inline constexpr int R2_NOTMERGEPEN = 2;
inline constexpr int R2_MASKNOTPEN = 3;
inline constexpr int R2_NOTCOPYPEN = 4;
inline constexpr int R2_MASKPENNOT = 5;
inline constexpr int R2_NOT = 6;
inline constexpr int R2_XORPEN = 7;
inline constexpr int R2_NOTMASKPEN = 8;
inline constexpr int R2_MASKPEN = 9;
inline constexpr int R2_NOTXORPEN = 10;
inline constexpr int R2_NOP = 11;
inline constexpr int R2_MERGENOTPEN = 12;
inline constexpr int R2_COPYPEN = 13;
inline constexpr int R2_MERGEPENNOT = 14;
inline constexpr int R2_MERGEPEN = 15;
inline constexpr int R2_WHITE = 16;

inline constexpr DWORD SRCCOPY = 0x00CC0020;

// Clip box kinds.
inline constexpr int NULLREGION = 1;
inline constexpr int SIMPLEREGION = 2;

// Device capabilities.
inline constexpr int HORZRES = 8;
inline constexpr int VERTRES = 10;
inline constexpr int LOGPIXELSX = 88;
inline constexpr int LOGPIXELSY = 90;
// Every device counts 96 pixels to the inch, as the picture loader assumes.
inline constexpr int kDeviceDpi = 96;

// System colours.
inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_APPWORKSPACE = 12;
inline constexpr int COLOR_BTNFACE = 15;
// Fixed values, so that pictures of the program look the same on every desktop theme; the
// workspace grey is RGB(171, 171, 171). Unknown indices answer black.
COLORREF GetSysColor(int nIndex);

class CDC {
public:
    CDC();
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // Binds the context to the pixels it draws on (a window's buffer), which must outlive the
    // binding and be Format_RGB32. Clip, origin and selections are left as they are.
    void AttachSurface(QImage* pSurface);
    // The pixels drawn on, or null (no surface, or a read-only bitmap selected).
    QImage* GetSurface() const { return m_pSurface; }

    // A memory context: no pixels until a bitmap is selected into it.
    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();

    int SetMapMode(int nMapMode);
    int GetMapMode() const { return MM_TEXT; }
    CPoint SetViewportOrg(int x, int y);
    CPoint SetViewportOrg(CPoint point) { return SetViewportOrg(point.x, point.y); }
    CPoint GetViewportOrg() const { return m_ptOrigin; }

    // Narrows the clip box to the rectangle (logical units); answers the kind of what remains.
    int IntersectClipRect(int x1, int y1, int x2, int y2);
    int IntersectClipRect(const CRect* lpRect) {
        return IntersectClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    }
    // The clip box in logical units; NULLREGION when nothing can be drawn.
    int GetClipBox(CRect* lpRect) const;

    // Each returns the object selected before, or null (and selects nothing) for an empty object.
    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);
    // Memory contexts only: the context then draws on (or reads) the bitmap.
    CBitmap* SelectObject(CBitmap* pBitmap);

    int SetBkMode(int nBkMode);
    int GetBkMode() const { return m_nBkMode; }
    COLORREF SetBkColor(COLORREF crColor);
    COLORREF GetBkColor() const { return m_crBkColor; }
    int SetROP2(int nDrawMode);
    int GetROP2() const { return m_nRop2; }

    CPoint MoveTo(int x, int y);
    CPoint MoveTo(CPoint point) { return MoveTo(point.x, point.y); }
    BOOL LineTo(int x, int y);
    BOOL LineTo(CPoint point) { return LineTo(point.x, point.y); }
    CPoint GetCurrentPosition() const { return m_ptPosition; }

    BOOL Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    BOOL Arc(const CRect* lpRect, CPoint ptStart, CPoint ptEnd) {
        return Arc(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom, ptStart.x, ptStart.y, ptEnd.x,
                   ptEnd.y);
    }
    // FALSE for fewer than two points.
    BOOL Polygon(const CPoint* lpPoints, int nCount);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
    void FillSolidRect(const CRect* lpRect, COLORREF clr) {
        FillSolidRect(lpRect->left, lpRect->top, lpRect->Width(), lpRect->Height(), clr);
    }
    // SRCCOPY only; FALSE for another operation, empty sizes or a source context without pixels.
    BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                    int nSrcHeight, DWORD dwRop);
    COLORREF GetPixel(int x, int y) const;
    COLORREF GetPixel(CPoint point) const { return GetPixel(point.x, point.y); }

    int GetDeviceCaps(int nIndex) const;
    // HIMETRIC (0.01 mm) to device pixels, to the nearest pixel.
    void HIMETRICtoDP(CSize* lpSize) const;

private:
    // The part of the surface that may be drawn on, in device pixels.
    CRect DeviceClip() const;
    // The device pixels of the logical rectangle (origin applied), clamped to the int range.
    CRect DeviceRect(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) const;
    // The shapes on a surface whose device pixel ratio is not 1.
    void ScaledLine(CPoint from, CPoint to);
    void ScaledEllipse(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4);
    void ScaledPolygon(const CPoint* lpPoints, int nCount);
    void ScaledFillSpan(int y, int xBegin, int xEnd);
    // Writes one pen or brush pixel through the mix mode (device position, inside the clip).
    void Plot(int x, int y, COLORREF color);
    // Writes the pixels of an outline, each once, through the mix mode.
    void PlotOutline(std::vector<CPoint>& pixels);
    void FillSpan(int y, int xBegin, int xEnd);

    QImage* m_pSurface = nullptr;
    const QImage* m_pReadable = nullptr;
    DeviceScale m_scale;
    bool m_bMemory = false;
    bool m_bClipped = false;
    CRect m_rcClip; // device pixels, meaningful while m_bClipped
    CPoint m_ptOrigin;
    CPoint m_ptPosition;
    int m_nBkMode = OPAQUE;
    COLORREF m_crBkColor = RGB(255, 255, 255);
    int m_nRop2 = R2_COPYPEN;

    // The framework's defaults: a black pen, a white brush, an empty bitmap.
    CPen m_stockPen;
    CBrush m_stockBrush;
    CBitmap m_stockBitmap;
    CPen* m_pPen = nullptr;
    CBrush* m_pBrush = nullptr;
    CBitmap* m_pBitmap = nullptr;
    // Copies taken at selection, so a deleted object never leaves the context dangling.
    int m_nPenStyle = PS_SOLID;
    COLORREF m_crPen = RGB(0, 0, 0);
    CBrush::Kind m_brushKind = CBrush::Kind::Solid;
    COLORREF m_crBrush = RGB(255, 255, 255);
    int m_nHatch = HS_HORIZONTAL;

    std::vector<CPoint> m_scratch;
};

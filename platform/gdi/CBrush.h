#pragma once
// The framework's brush: solid, hatched (the six 8 x 8 hatch patterns) or null. Hatch patterns are
// anchored to the device's (0, 0), not to the figure, so neighbouring figures share one grid.

#include "platform/gdi/CGdiObject.h"

inline constexpr int HS_HORIZONTAL = 0;
inline constexpr int HS_VERTICAL = 1;
inline constexpr int HS_FDIAGONAL = 2;
inline constexpr int HS_BDIAGONAL = 3;
inline constexpr int HS_CROSS = 4;
inline constexpr int HS_DIAGCROSS = 5;

class CBrush : public CGdiObject {
public:
    enum class Kind { Null, Solid, Hatched };

    CBrush() = default;

    BOOL CreateSolidBrush(COLORREF crColor);
    BOOL CreateHatchBrush(int nIndex, COLORREF crColor);
    // The brush that fills nothing (the framework's NULL_BRUSH / HOLLOW_BRUSH).
    BOOL CreateNullBrush();

    Kind GetKind() const { return m_kind; }
    COLORREF GetColor() const { return m_crColor; }
    int GetHatchStyle() const { return m_nHatch; }

    // The pattern row for device row y, leftmost pixel of the 8-pixel cell in the highest bit;
    // the pattern repeats every 8 pixels both ways.
    static unsigned HatchRow(int nHatch, int y);
    static bool HatchCovers(int nHatch, int x, int y) {
        return (HatchRow(nHatch, y) & (0x80u >> (x & 7))) != 0;
    }

private:
    Kind m_kind = Kind::Null;
    COLORREF m_crColor = RGB(255, 255, 255);
    int m_nHatch = HS_HORIZONTAL;
};

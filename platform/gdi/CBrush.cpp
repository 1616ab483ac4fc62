#include "platform/gdi/CBrush.h"

#include <cstdint>

namespace {
// One byte per pattern row, the leftmost pixel in the highest bit: the framework's hatch cells,
// whose horizontal line lies on row 3 and whose vertical line lies on column 4.
constexpr std::uint8_t kHatchRows[6][8] = {
    {0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00}, // HS_HORIZONTAL
    {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08}, // HS_VERTICAL
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}, // HS_FDIAGONAL: down to the right
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}, // HS_BDIAGONAL: up to the right
    {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08}, // HS_CROSS
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81}, // HS_DIAGCROSS
};
} // namespace

BOOL CBrush::CreateSolidBrush(COLORREF crColor) {
    if (m_bCreated)
        return FALSE;
    m_kind = Kind::Solid;
    m_crColor = crColor;
    m_bCreated = true;
    return TRUE;
}

BOOL CBrush::CreateHatchBrush(int nIndex, COLORREF crColor) {
    if (m_bCreated || nIndex < HS_HORIZONTAL || nIndex > HS_DIAGCROSS)
        return FALSE;
    m_kind = Kind::Hatched;
    m_crColor = crColor;
    m_nHatch = nIndex;
    m_bCreated = true;
    return TRUE;
}

BOOL CBrush::CreateNullBrush() {
    if (m_bCreated)
        return FALSE;
    m_kind = Kind::Null;
    m_bCreated = true;
    return TRUE;
}

unsigned CBrush::HatchRow(int nHatch, int y) {
    return kHatchRows[nHatch][y & 7];
}

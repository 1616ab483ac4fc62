#include "platform/gdi/CPen.h"

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
    const bool supportedStyle = nPenStyle == PS_SOLID || nPenStyle == PS_NULL;
    const bool supportedWidth = nWidth == 0 || nWidth == 1;
    if (m_bCreated || !supportedStyle || !supportedWidth)
        return FALSE;
    m_nStyle = nPenStyle;
    m_crColor = crColor;
    m_bCreated = true;
    return TRUE;
}

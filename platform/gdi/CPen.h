#pragma once
// The framework's pen. Only the kinds the program draws with are offered: solid pens one pixel
// wide (width 0 means one pixel, as in the framework) and the null pen that draws nothing.

#include "platform/gdi/CGdiObject.h"

inline constexpr int PS_SOLID = 0;
inline constexpr int PS_NULL = 5;

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int nPenStyle, int nWidth, COLORREF crColor) { CreatePen(nPenStyle, nWidth, crColor); }

    // FALSE for a style or width this framework cannot draw; the pen then stays empty.
    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);

    int GetStyle() const { return m_nStyle; }
    COLORREF GetColor() const { return m_crColor; }

private:
    int m_nStyle = PS_SOLID;
    COLORREF m_crColor = RGB(0, 0, 0);
};

#pragma once
// One point: a picked curve point, or one of the calibration's reference points (which alone use
// the two chart values).

#include "platform/core/CObject.h"

class CData : public CObject {
    DECLARE_SERIAL(CData)
public:
    CData() = default;
    ~CData() override = default;
    CData(const CData&) = default;
    CData& operator=(const CData&) = default;

    double m_dValueX = 0.0;
    double m_dValueY = 0.0;
    int m_nPixelX = 0;
    int m_nPixelY = 0;
    BOOL m_bSelected = FALSE;
};

#pragma once
// The points of one series, in picking order. The array owns its points.

#include "model/CData.h"
#include "platform/core/CTypedObArray.h"

class CDataArray : public CObject {
    DECLARE_SERIAL(CDataArray)
public:
    CDataArray() = default;
    ~CDataArray() override;

    // Appends a new, unselected point at the pixel position.
    void AddData(int nX, int nY);
    // The point at the index, or null outside 0 .. GetSize() - 1.
    CData* GetData(int nIndex) const;

    CTypedObArray<CData> m_aData;
};

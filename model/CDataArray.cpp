#include "model/CDataArray.h"

IMPLEMENT_SERIAL(CDataArray, CObject, 0)

CDataArray::~CDataArray() {
    m_aData.SetSize(0);
    m_aData.FreeExtra();
}

void CDataArray::AddData(int nX, int nY) {
    auto* point = new CData;
    point->m_nPixelX = nX;
    point->m_nPixelY = nY;
    m_aData.Add(point);
}

CData* CDataArray::GetData(int nIndex) const {
    if (nIndex < 0 || nIndex > m_aData.GetUpperBound())
        return nullptr;
    return m_aData[nIndex];
}

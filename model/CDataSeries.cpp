#include "model/CDataSeries.h"

#include "model/Geometry.h"

IMPLEMENT_SERIAL(CDataSeries, CObject, 0)

CDataSeries::CDataSeries() {
    m_aSeries.Add(new CDataArray);
    m_nCurrent = 0;
}

CDataSeries::~CDataSeries() {
    m_aSeries.SetSize(0);
    m_aSeries.FreeExtra();
}

void CDataSeries::AddData(int nX, int nY) { m_aSeries[m_nCurrent]->AddData(nX, nY); }

void CDataSeries::NewSeries() {
    m_aSeries.Add(new CDataArray);
    ++m_nCurrent;
}

void CDataSeries::DeleteAll() {
    m_aSeries.SetSize(0);
    m_aSeries.FreeExtra();
    m_aSeries.Add(new CDataArray);
    m_nCurrent = 0;
}

BOOL CDataSeries::SelectData(int nX, int nY) {
    for (int i = 0; i < m_aSeries.GetSize(); ++i) {
        const CDataArray* series = m_aSeries[i];
        for (int j = 0; j < series->m_aData.GetSize(); ++j) {
            CData* point = series->m_aData[j];
            if (PixelDistance(nX, nY, point->m_nPixelX, point->m_nPixelY) < kDataHitTolerance) {
                point->m_bSelected = TRUE;
                return TRUE;
            }
        }
    }
    return FALSE;
}

CData* CDataSeries::GetSelectedData() const {
    for (int i = 0; i < m_aSeries.GetSize(); ++i) {
        const CDataArray* series = m_aSeries[i];
        for (int j = 0; j < series->m_aData.GetSize(); ++j) {
            if (series->m_aData[j]->m_bSelected)
                return series->m_aData[j];
        }
    }
    return nullptr;
}

void CDataSeries::ClearSelection() {
    for (int i = 0; i < m_aSeries.GetSize(); ++i) {
        const CDataArray* series = m_aSeries[i];
        for (int j = 0; j < series->m_aData.GetSize(); ++j)
            series->m_aData[j]->m_bSelected = FALSE;
    }
}

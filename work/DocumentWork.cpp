#include "work/DocumentWork.h"

#include "doc/CTallyscopeDoc.h"

namespace {

WorkState::Reference ReferenceOf(const CData& point) {
    return {point.m_nPixelX, point.m_nPixelY, point.m_dValueX, point.m_dValueY};
}

void PutReference(CData& point, const WorkState::Reference& reference) {
    point.m_nPixelX = reference.x;
    point.m_nPixelY = reference.y;
    point.m_dValueX = reference.valueX;
    point.m_dValueY = reference.valueY;
    point.m_bSelected = FALSE;
}

} // namespace

WorkState DocumentWork::Capture(const CTallyscopeDoc& doc) {
    WorkState state;
    state.picturePath = QString::fromUtf8(doc.GetPathName().GetString());
    state.pdfPage = doc.GetPdfPage();
    const CDataSeries& all = doc.m_DataSeries;
    state.series.assign(static_cast<std::size_t>(all.m_aSeries.GetSize()), WorkState::Series());
    for (int s = 0; s < all.m_aSeries.GetSize(); ++s) {
        const CDataArray& points = *all.m_aSeries[s];
        WorkState::Series& copy = state.series[static_cast<std::size_t>(s)];
        copy.reserve(static_cast<std::size_t>(points.m_aData.GetSize()));
        for (int i = 0; i < points.m_aData.GetSize(); ++i) {
            const CData& point = *points.m_aData[i];
            copy.emplace_back(point.m_nPixelX, point.m_nPixelY);
            if (point.m_bSelected && state.selectedSeries == WorkState::kNoSelection) {
                state.selectedSeries = s;
                state.selectedIndex = i;
            }
        }
    }
    state.currentSeries = all.m_nCurrent;
    const CDataAxis& axis = doc.m_DataAxis;
    state.origin = ReferenceOf(axis.m_Origin);
    state.xAxis = ReferenceOf(axis.m_XAxis);
    state.yAxis = ReferenceOf(axis.m_YAxis);
    const CData* references[] = {&axis.m_Origin, &axis.m_XAxis, &axis.m_YAxis};
    for (int r = 0; r < 3; ++r) {
        if (references[r]->m_bSelected) { // the document's selection prefers a reference point
            state.selectedSeries = WorkState::kReferenceSelected;
            state.selectedIndex = r;
            break;
        }
    }
    state.logX = axis.m_bLogX != FALSE;
    state.logY = axis.m_bLogY != FALSE;
    state.measureLength = doc.m_bMeasureLength != FALSE;
    state.measureArea = doc.m_bMeasureArea != FALSE;
    return state;
}

void DocumentWork::ApplyTo(const WorkState& state, CTallyscopeDoc& doc) {
    doc.ClearSelection();
    CDataSeries& all = doc.m_DataSeries;
    all.DeleteAll();
    for (std::size_t s = 0; s < state.series.size(); ++s) {
        if (s > 0)
            all.NewSeries();
        for (const auto& [x, y] : state.series[s])
            all.AddData(x, y);
    }
    CDataAxis& axis = doc.m_DataAxis;
    PutReference(axis.m_Origin, state.origin);
    PutReference(axis.m_XAxis, state.xAxis);
    PutReference(axis.m_YAxis, state.yAxis);
    axis.m_bLogX = state.logX ? TRUE : FALSE;
    axis.m_bLogY = state.logY ? TRUE : FALSE;
    doc.m_bMeasureLength = state.measureLength ? TRUE : FALSE;
    doc.m_bMeasureArea = state.measureArea ? TRUE : FALSE;
    if (state.selectedSeries >= 0) {
        all.m_aSeries[state.selectedSeries]->m_aData[state.selectedIndex]->m_bSelected = TRUE;
    } else if (state.selectedSeries == WorkState::kReferenceSelected) {
        CData* references[] = {&axis.m_Origin, &axis.m_XAxis, &axis.m_YAxis};
        references[state.selectedIndex]->m_bSelected = TRUE;
    }
}

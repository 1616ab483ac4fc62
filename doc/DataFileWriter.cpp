#include "doc/DataFileWriter.h"

#include "doc/CTallyscopeDoc.h"
#include "platform/core/CStdioFile.h"

#include <algorithm>
#include <cstdint>

namespace {
// 64-bit differences: a point far outside the picture must not wrap around.
long long PixelOffset(int to, int from) {
    return static_cast<long long>(static_cast<std::int64_t>(to) - static_cast<std::int64_t>(from));
}
} // namespace

DataFileWriter::DataFileWriter(const CTallyscopeDoc& document, CStdioFile& file)
    : m_document(document), m_file(file), m_frame(document.m_DataAxis) {
    const CDataSeries& series = document.m_DataSeries;
    m_nSeries = series.m_aSeries.GetSize();
    // The empty series a "new series" command has just opened is not part of the data; an empty
    // series anywhere else keeps its columns.
    if (m_nSeries > 0 && series.m_aSeries[m_nSeries - 1]->m_aData.GetSize() == 0)
        --m_nSeries;
    for (int s = 0; s < m_nSeries; ++s)
        m_nRows = std::max(m_nRows, Series(s).m_aData.GetSize());
}

const CDataArray& DataFileWriter::Series(int nIndex) const {
    return *m_document.m_DataSeries.m_aSeries[nIndex];
}

void DataFileWriter::Write() {
    // The pixel section does not depend on the calibration and is always written.
    m_file.WriteString("Pixcel Value\n");
    WriteHeader();
    WriteRows(RowValues::Pixel);
    if (!IsConvertible(m_frame)) {
        m_file.WriteString("\nAxis setting is illegal. Data can't be converted.\n");
        return;
    }
    m_file.WriteString("\nConverted Value\n");
    WriteHeader();
    WriteRows(RowValues::Converted);
    if (m_document.m_bMeasureLength)
        WriteMeasureSection("\nLine Length\n", 2, &MeasureLineLength);
    if (m_document.m_bMeasureArea)
        WriteMeasureSection("\nArea\n", 3, &MeasureArea);
}

void DataFileWriter::WriteHeader() {
    m_line.Empty();
    m_line += "No.";
    for (int s = 1; s <= m_nSeries; ++s)
        m_line.AppendFormat("\tSeries%d_x\tSeries%d_y", s, s);
    WriteLine();
}

void DataFileWriter::WriteRows(RowValues values) {
    const int originX = m_frame.m_nOriginX;
    const int originY = m_frame.m_nOriginY;
    for (int r = 1; r <= m_nRows; ++r) {
        m_line.Empty();
        m_line.AppendFormat("%d", r);
        for (int s = 0; s < m_nSeries; ++s) {
            const CData* point = Series(s).GetData(r - 1);
            if (point == nullptr) {
                m_line += "\t\t";
            } else if (values == RowValues::Pixel) {
                // Up on the picture is positive, hence the y difference the other way round.
                m_line.AppendFormat("\t% 10lld\t% 10lld", PixelOffset(point->m_nPixelX, originX),
                                    PixelOffset(originY, point->m_nPixelY));
            } else {
                const ChartValue value = ConvertPixel(m_frame, point->m_nPixelX, point->m_nPixelY);
                m_line.AppendFormat("\t% 10.6le\t% 10.6le", value.x, value.y);
            }
        }
        WriteLine();
    }
}

void DataFileWriter::WriteMeasureSection(const char* title, int nMinimumPoints, Measure measure) {
    m_file.WriteString(title);
    m_line.Empty();
    for (int s = 1; s <= m_nSeries; ++s)
        m_line.AppendFormat("%d\t", s);
    WriteLine();
    m_line.Empty();
    for (int s = 0; s < m_nSeries; ++s) {
        const CDataArray& series = Series(s);
        if (series.m_aData.GetSize() >= nMinimumPoints)
            m_line.AppendFormat("% 10.6le\t", measure(m_frame, series));
        else
            m_line += "\t";
    }
    WriteLine();
}

void DataFileWriter::WriteLine() {
    m_line += "\n";
    m_file.WriteString(m_line);
}

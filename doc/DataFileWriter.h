#pragma once
// The .dat data file: tab-separated ASCII with CR LF line ends. The pixel position of every point
// of every series relative to the origin (y counted upward), then, when the calibration can be
// used, the converted chart values and, as the document's two switches say, the length and the
// area of every series; otherwise one line saying the calibration is unusable.
//
// The text is built one line at a time in a reused buffer and each line is written as soon as it
// is complete; the conversion frame is built once for the whole file.

#include "doc/ConversionFrame.h"
#include "platform/core/CString.h"

class CStdioFile;
class CTallyscopeDoc;

inline constexpr const char* kDataFileExtension = "dat";
inline constexpr const char* kDataFileFilter = "データファイル (*.dat)|*.dat|All Files (*.*)|*.*||";
inline constexpr const char* kMsgDataFileOpenFailed = "ファイルを開くことができません";
inline constexpr const char* kMsgDataFileWriteFailed = "ファイルに書き込むことができませんでした";

class DataFileWriter {
public:
    DataFileWriter(const CTallyscopeDoc& document, CStdioFile& file);

    // Writes every section in file order. Write errors are left in the file object for its Close.
    void Write();

private:
    enum class RowValues { Pixel, Converted };
    using Measure = double (*)(const ConversionFrame&, const CDataArray&);

    const CDataArray& Series(int nIndex) const;
    void WriteHeader();
    void WriteRows(RowValues values);
    void WriteMeasureSection(const char* title, int nMinimumPoints, Measure measure);
    void WriteLine();

    const CTallyscopeDoc& m_document;
    CStdioFile& m_file;
    ConversionFrame m_frame;
    int m_nSeries = 0; // the exported series: all but an empty last one
    int m_nRows = 1;   // the longest exported series, but at least one row
    CString m_line;
};

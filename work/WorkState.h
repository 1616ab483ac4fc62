#pragma once
// The work on one picture, as one description that both the recovery journal and the work file
// write: the picture it belongs to (for a PDF, the page and resolution it was rendered at), the
// calibration, every series with its points in picture
// pixels in picking order, the current series and the selection, the two measurement switches,
// and what the curve tracer was told: its settings and the traces made by colour. It holds plain
// values only; DocumentWork takes it from a document and puts it back.

#include "extract/TraceSettings.h"
#include "platform/picture/PictureResult.h"

#include <QByteArray>
#include <QColor>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

class WorkState {
public:
    // A reference point of the calibration: its pixel and the chart values there (the origin
    // uses both, the X-axis point the first, the Y-axis point the second; all four are kept so
    // that nothing the document holds is lost).
    struct Reference {
        int x = 0;
        int y = 0;
        double valueX = 0.0;
        double valueY = 0.0;
        // Bit for bit: a negative zero differs from zero, as the export prints it.
        bool operator==(const Reference& other) const;
    };
    // The picture's file as it was when the work was saved: its size and the SHA-256 of its bytes.
    struct PictureIdentity {
        qint64 size = -1;
        QByteArray sha256; // lower-case hex
        // The file as it is now; size -1 when it cannot be read.
        static PictureIdentity Of(const QString& path);
        // A file of this size whose bytes are not known (it changed while they were being read):
        // its hash is one no file has, so it never passes for the picture.
        static PictureIdentity Unknown(qint64 size);
        bool operator==(const PictureIdentity&) const = default;
    };
    enum class PictureState { Same, Changed, Missing };
    // How the trace settings were set when the work was saved (the settings dialog's fields).
    struct Extraction {
        double colourTolerance = TraceSettings{}.colourTolerance;
        double pointSpacing = TraceSettings{}.pointSpacing;
        double largestGap = TraceSettings{}.largestGap;
        // Traces stay inside the box the three reference points span.
        bool insideReferenceBox = false;
        bool operator==(const Extraction&) const = default;
    };
    // A series made by following the longest stroke of a colour, with the settings it used.
    struct ColourTrace {
        QRgb colour = 0; // 0xRRGGBB
        double colourTolerance = TraceSettings{}.colourTolerance;
        double pointSpacing = TraceSettings{}.pointSpacing;
        double largestGap = TraceSettings{}.largestGap;
        bool operator==(const ColourTrace&) const = default;
    };
    using Series = std::vector<std::pair<int, int>>;

    // Selection values of selectedSeries besides a series' index.
    static constexpr int kNoSelection = -2;
    static constexpr int kReferenceSelected = -1;

    bool operator==(const WorkState&) const = default;

    int PointCount() const;
    // Whether the selection names a point or reference point the work has.
    bool SelectionFits() const;
    // Whether the selection fits and the current series is the last one.
    bool IsConsistent() const;
    // Whether the picture file is still the one the work was saved with.
    PictureState CheckPicture() const;

    QString picturePath; // absolute
    PictureIdentity pictureIdentity;
    // The page of a PDF the points were picked on, at the resolution it was rendered at; nothing
    // for a picture file. Points are pixels of that rendering, so it is as much the work as they.
    std::optional<PdfPageChoice> pdfPage;
    Reference origin;
    Reference xAxis;
    Reference yAxis;
    bool logX = false;
    bool logY = false;
    // Never empty: a document always has a series to pick into.
    std::vector<Series> series{Series()};
    // The series that receives new points; the document's is always the last one.
    int currentSeries = 0;
    // The selected point: a picked one (series, index) or a reference point (kReferenceSelected,
    // then 0 origin, 1 X axis, 2 Y axis); none when selectedSeries is kNoSelection.
    int selectedSeries = kNoSelection;
    int selectedIndex = 0;
    bool measureLength = false;
    bool measureArea = false;
    Extraction extraction;
    std::vector<ColourTrace> colourTraces;
};

#include "cli/CommandLineRun.h"

#include "doc/CTallyscopeDoc.h"
#include "doc/DataFileWriter.h"
#include "extract/CurveTracer.h"
#include "platform/core/CStdioFile.h"
#include "trace/TracePreferences.h"
#include "trace/TracedSeries.h"

#include <QImage>

#include <memory>

namespace {
std::string PixelText(QPoint pixel) {
    return std::to_string(pixel.x()) + "," + std::to_string(pixel.y());
}

// Empty when the pixel lies on the picture.
std::string OutsideProblem(const std::string& what, QPoint pixel, const QImage& picture) {
    if (picture.rect().contains(pixel))
        return {};
    return what + ": pixel " + PixelText(pixel) + " is outside the picture (" +
           std::to_string(picture.width()) + " x " + std::to_string(picture.height()) + ")";
}
} // namespace

CommandLineRun::CommandLineRun(const CommandLineRequest& request, std::ostream& errors)
    : m_request(request), m_errors(errors) {}

int CommandLineRun::Execute() {
    const std::string& picture = m_request.pictures.front();
    CTallyscopeDoc doc;
    std::string problem = LoadPicture(doc, picture);
    if (problem.empty())
        problem = Calibrate(doc);
    if (problem.empty())
        problem = Trace(doc);
    if (problem.empty())
        problem = Export(doc, m_request.exportPath);
    if (problem.empty())
        return kSucceeded;
    m_errors << "tallyscope: " << problem << '\n';
    return kFailed;
}

// The window's rules for pictures: what cannot be decoded is refused; a damaged file of which only
// a part could be decoded, which the window opens after a warning, is refused too, since nobody
// is there to read the warning and a trace over its undefined part would be wrong data.
std::string CommandLineRun::LoadPicture(CTallyscopeDoc& doc, const std::string& picture) const {
    COleVariant fileName(picture.c_str());
    IPictureDisp* dispatch = nullptr;
    const HRESULT result = OleLoadPictureFile(fileName, &dispatch);
    std::unique_ptr<IPictureDisp> loaded(dispatch);
    if (FAILED(result) || loaded == nullptr)
        return picture + ": cannot be read as a picture (BMP, JPEG, GIF, PNG)";
    if (result == S_PICTURE_INCOMPLETE)
        return picture + ": the picture is damaged; only a part of it could be read";
    doc.m_pPicture = new CPictureHolder;
    doc.m_pPicture->SetPictureDispatch(loaded.release());
    if (doc.GetBitmapHandle() == nullptr)
        return picture + ": cannot be read as a picture";
    return {};
}

// The reference points and their values go where the axis dialogs put them.
std::string CommandLineRun::Calibrate(CTallyscopeDoc& doc) const {
    const QImage& picture = *doc.GetBitmapHandle();
    const std::pair<const char*, const ReferenceOption*> references[] = {
        {"--origin", &*m_request.origin}, {"--x-axis", &*m_request.xAxis}, {"--y-axis", &*m_request.yAxis}};
    for (const auto& [name, reference] : references) {
        if (std::string problem = OutsideProblem(name, reference->pixel, picture); !problem.empty())
            return problem;
    }
    CDataAxis& axis = doc.m_DataAxis;
    const auto place = [](CData& point, const ReferenceOption& reference) {
        point.m_nPixelX = reference.pixel.x();
        point.m_nPixelY = reference.pixel.y();
    };
    place(axis.m_Origin, *m_request.origin);
    axis.m_Origin.m_dValueX = m_request.origin->valueX;
    axis.m_Origin.m_dValueY = m_request.origin->valueY;
    place(axis.m_XAxis, *m_request.xAxis);
    axis.m_XAxis.m_dValueX = m_request.xAxis->valueX;
    place(axis.m_YAxis, *m_request.yAxis);
    axis.m_YAxis.m_dValueY = m_request.yAxis->valueY;
    axis.m_bLogX = m_request.logX ? TRUE : FALSE;
    axis.m_bLogY = m_request.logY ? TRUE : FALSE;
    doc.DataChanged();
    return {};
}

std::string CommandLineRun::Trace(CTallyscopeDoc& doc) const {
    if (m_request.traces.empty())
        return {};
    const QImage& picture = *doc.GetBitmapHandle();
    for (const TraceOption& trace : m_request.traces) {
        if (trace.start != TraceOption::Start::Pixel)
            continue;
        if (std::string problem = OutsideProblem(trace.typed, trace.pixel, picture); !problem.empty())
            return problem;
    }
    TraceSettings settings = m_request.settings;
    if (m_request.insideReferenceBox)
        settings.bounds = ReferenceBox(doc.m_DataAxis);
    const CurveTracer tracer(picture);
    for (const TraceOption& trace : m_request.traces) {
        const TraceResult result = trace.start == TraceOption::Start::Pixel
                                       ? tracer.TraceFrom(trace.pixel, settings)
                                       : tracer.TraceColour(trace.colour, settings);
        const std::vector<QPoint> pixels = result.Pixels();
        if (result.outcome != TraceOutcome::Traced || pixels.empty()) {
            return trace.typed + (trace.start == TraceOption::Start::Pixel ? ": no curve at this pixel"
                                                                           : ": no curve of this colour");
        }
        TracedSeries::AddTo(doc, pixels);
    }
    return {};
}

// The export's own writer on the framework's file, which replaces the target only once every byte
// is written: a failure leaves whatever was there before.
std::string CommandLineRun::Export(const CTallyscopeDoc& doc, const std::string& path) const {
    CStdioFile file;
    if (!file.Open(path.c_str(), CFile::modeCreate | CFile::modeWrite))
        return path + ": cannot be written";
    DataFileWriter(doc, file).Write();
    if (!file.Close())
        return path + ": could not be written whole; nothing was written";
    return {};
}

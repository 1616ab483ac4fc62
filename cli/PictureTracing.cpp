#include "cli/PictureTracing.h"

#include "doc/OpenedPicture.h"
#include "extract/CurveTracer.h"
#include "platform/picture/PdfPageRenderer.h"
#include "platform/picture/Picture.h"
#include "platform/picture/PictureDecoder.h"

#include <QElapsedTimer>
#include <QImage>

#include <memory>

namespace {

std::string PixelText(QPoint pixel) {
    return std::to_string(pixel.x()) + "," + std::to_string(pixel.y());
}

// Empty when the pixel lies on the picture.
std::string OutsideProblem(const std::string& what, QPoint pixel, QSize size) {
    if (QRect(QPoint(0, 0), size).contains(pixel))
        return {};
    return what + ": pixel " + PixelText(pixel) + " is outside the picture (" + std::to_string(size.width()) +
           " x " + std::to_string(size.height()) + ")";
}

// The window's rules for pictures: what cannot be decoded is refused; a damaged file of which only
// a part could be decoded, which the window opens after a warning, is refused too, since nobody
// is there to read the warning and a trace over its undefined part would be wrong data.
std::string ReadProblem(const DecodedPicture& decoded, const std::string& picture) {
    if (FAILED(decoded.result) || decoded.image == nullptr || decoded.image->isNull())
        return picture + ": cannot be read as a picture (BMP, JPEG, GIF, PNG)";
    if (decoded.result == S_PICTURE_INCOMPLETE)
        return picture + ": the picture is damaged; only a part of it could be read";
    return {};
}

std::string SizeText(QSize size) {
    return std::to_string(size.width()) + " x " + std::to_string(size.height()) + " pixels";
}

// What the PDF loader's refusal means for this file, in one line naming the option at fault.
std::string PdfProblem(HRESULT result, const std::string& picture, const PdfPageChoice& choice) {
    const std::string page = "--page " + std::to_string(choice.page);
    const std::string dpi = "--dpi " + std::to_string(choice.dpi);
    switch (result) {
    case PDF_E_LOCKED:
        return picture + ": the PDF is locked by a password";
    case PDF_E_NO_RENDERER:
        return picture + ": cannot render PDF pages: " +
               PdfPageRenderer(QString::fromStdString(picture)).ModuleError().toStdString();
    case PDF_E_NO_PAGES:
        return picture + ": the PDF has no pages";
    case PDF_E_NO_SUCH_PAGE: {
        const int count = PdfPageRenderer(QString::fromStdString(picture)).PageCount();
        return picture + ": " + page + ": the PDF has " + std::to_string(count) + (count == 1 ? " page" : " pages");
    }
    case PDF_E_BAD_RESOLUTION:
        return picture + ": " + dpi + ": the page would have no pixels at this resolution";
    case PDF_E_TOO_LARGE:
    case E_OUTOFMEMORY: {
        const QSize size = PdfPageRenderer(QString::fromStdString(picture)).PixelSize(choice.page, choice.dpi);
        return picture + ": " + dpi + ": page " + std::to_string(choice.page) + " would be " + SizeText(size) +
               (result == E_OUTOFMEMORY ? ", more than the memory free"
                                        : ", larger than the largest picture the program takes");
    }
    default:
        return picture + ": cannot be read as a PDF; it is damaged or not a PDF";
    }
}

// The picture's pixels: the file decoded as the window decodes it, or the chosen page of a PDF
// rendered as the window renders it. Holds the picture while the tracing reads it.
class LoadedPicture {
public:
    LoadedPicture(const RunPlan& plan, const std::string& picture) {
        const QString path = QString::fromStdString(picture);
        if (PdfPageRenderer::IsPdfFile(path)) {
            IPictureDisp* rendered = nullptr;
            const HRESULT result = OleLoadPdfPage(COleVariant(picture.c_str()), plan.pdfChoice, &rendered);
            m_pdfPage.reset(rendered);
            OLE_HANDLE handle = nullptr;
            if (FAILED(result) || m_pdfPage == nullptr || FAILED(m_pdfPage->get_Handle(&handle)) || handle == nullptr)
                problem = PdfProblem(FAILED(result) ? result : PDF_E_DAMAGED, picture, plan.pdfChoice);
            image = handle;
            return;
        }
        m_decoded = DecodePictureFile(path);
        problem = ReadProblem(m_decoded, picture);
        image = m_decoded.image.get();
    }

    std::string problem;
    const QImage* image = nullptr; // valid when there is no problem

private:
    DecodedPicture m_decoded;
    std::unique_ptr<IPictureDisp> m_pdfPage;
};

std::string CheckPixels(const RunPlan& plan, QSize size) {
    const std::pair<const char*, const WorkState::Reference*> references[] = {
        {"--origin", &plan.layout.origin}, {"--x-axis", &plan.layout.xAxis}, {"--y-axis", &plan.layout.yAxis}};
    for (const auto& [name, reference] : references) {
        if (std::string problem = OutsideProblem(name, QPoint(reference->x, reference->y), size); !problem.empty())
            return problem;
    }
    for (const PlannedTrace& trace : plan.traces) {
        if (trace.option.start != TraceOption::Start::Pixel)
            continue;
        if (std::string problem = OutsideProblem(trace.option.typed, trace.option.pixel, size); !problem.empty())
            return problem;
    }
    return {};
}

std::string Trace(const RunPlan& plan, const QImage& image, TracedPicture& traced) {
    const CurveTracer tracer(image);
    const std::optional<QRect> bounds = plan.Bounds();
    for (const PlannedTrace& trace : plan.traces) {
        TraceSettings settings = trace.settings;
        settings.bounds = bounds;
        const bool fromPixel = trace.option.start == TraceOption::Start::Pixel;
        const TraceResult result = fromPixel ? tracer.TraceFrom(trace.option.pixel, settings)
                                             : tracer.TraceColour(trace.option.colour, settings);
        if (result.outcome == TraceOutcome::EngineMissing)
            return "cannot trace curves: " + tracer.EngineError().toStdString();
        std::vector<QPoint> pixels = result.Pixels();
        if (result.outcome != TraceOutcome::Traced || pixels.empty())
            return trace.option.typed + (fromPixel ? ": no curve at this pixel" : ": no curve of this colour");
        traced.series.push_back(std::move(pixels));
    }
    return {};
}

} // namespace

TracedPicture TracePicture(const RunPlan& plan, const std::string& picture) {
    QElapsedTimer clock;
    clock.start();
    TracedPicture traced;
    const QString path = QString::fromStdString(picture);
    // Held from before the picture is read: its identity is that of the file as it was read.
    const std::shared_ptr<const OpenedPicture> opened = plan.NeedsIdentity() ? OpenedPicture::Take(path) : nullptr;
    {
        const LoadedPicture loaded(plan, picture);
        traced.problem = loaded.problem;
        if (traced.problem.empty()) {
            traced.size = loaded.image->size();
            traced.problem = CheckPixels(plan, traced.size);
        }
        if (PdfPageRenderer::IsPdfFile(path))
            traced.pdfPage = plan.pdfChoice;
        if (traced.problem.empty() && opened) {
            traced.identity = opened->WorkIdentity();
            traced.restoresWork = plan.RestoresOn(traced.identity, traced.pdfPage);
        }
        if (traced.problem.empty() && !traced.restoresWork)
            traced.problem = Trace(plan, *loaded.image, traced);
    } // the picture's memory goes before the next one is read
    traced.seconds = clock.nsecsElapsed() / 1e9;
    return traced;
}

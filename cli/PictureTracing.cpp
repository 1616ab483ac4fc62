#include "cli/PictureTracing.h"

#include "extract/CurveTracer.h"
#include "platform/picture/PictureDecoder.h"

#include <QElapsedTimer>
#include <QImage>

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
    {
        const DecodedPicture decoded = DecodePictureFile(path);
        traced.problem = ReadProblem(decoded, picture);
        if (traced.problem.empty()) {
            traced.size = decoded.image->size();
            traced.problem = CheckPixels(plan, traced.size);
        }
        if (traced.problem.empty() && plan.NeedsIdentity()) {
            traced.identity = WorkState::PictureIdentity::Of(path);
            traced.restoresWork = plan.RestoresOn(traced.identity);
        }
        if (traced.problem.empty() && !traced.restoresWork)
            traced.problem = Trace(plan, *decoded.image, traced);
    } // the picture's memory goes before the next one is read
    traced.seconds = clock.nsecsElapsed() / 1e9;
    return traced;
}

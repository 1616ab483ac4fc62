#include "cli/RunPlan.h"

#include "doc/CTallyscopeDoc.h"
#include "trace/TracePreferences.h"
#include "work/DocumentWork.h"
#include "work/WorkFile.h"

namespace {

TraceSettings SettingsOf(const WorkState::ColourTrace& trace) {
    TraceSettings settings;
    settings.colourTolerance = trace.colourTolerance;
    settings.pointSpacing = trace.pointSpacing;
    settings.largestGap = trace.largestGap;
    return settings;
}

std::string ColourText(QRgb colour) {
    char text[8];
    std::snprintf(text, sizeof text, "%06X", colour & 0xFFFFFFu);
    return text;
}

// The options' reference points go where the axis dialogs put them: the origin's two values, the
// X-axis point's X value, the Y-axis point's Y value; the rest stays as it was.
void Calibrate(WorkState& state, const CommandLineRequest& request) {
    if (request.origin) {
        state.origin.x = request.origin->pixel.x();
        state.origin.y = request.origin->pixel.y();
        state.origin.valueX = request.origin->valueX;
        state.origin.valueY = request.origin->valueY;
    }
    if (request.xAxis) {
        state.xAxis.x = request.xAxis->pixel.x();
        state.xAxis.y = request.xAxis->pixel.y();
        state.xAxis.valueX = request.xAxis->valueX;
    }
    if (request.yAxis) {
        state.yAxis.x = request.yAxis->pixel.x();
        state.yAxis.y = request.yAxis->pixel.y();
        state.yAxis.valueY = request.yAxis->valueY;
    }
    state.logX = state.logX || request.logX;
    state.logY = state.logY || request.logY;
}

} // namespace

std::variant<RunPlan, std::string> RunPlan::Make(const CommandLineRequest& request) {
    RunPlan plan;
    plan.m_newTraces = !request.traces.empty();
    plan.m_fromWork = !request.workPath.empty();
    plan.m_savesWork = !request.saveWorkPath.empty();
    if (plan.m_fromWork) {
        const WorkFile::ReadResult read = WorkFile::Read(QString::fromStdString(request.workPath));
        if (!read.state)
            return request.workPath + ": " + read.error.Describe().toStdString();
        plan.layout = *read.state;
        plan.extraction = plan.layout.extraction;
        for (const WorkState::ColourTrace& trace : plan.layout.colourTraces) {
            const TraceOption option{TraceOption::Start::Colour, {}, trace.colour,
                                     request.workPath + ": trace of colour " + ColourText(trace.colour)};
            plan.traces.push_back({option, SettingsOf(trace)});
            plan.colourTraces.push_back(trace);
        }
    } else {
        plan.layout = DocumentWork::Capture(CTallyscopeDoc()); // the calibration of a new document
    }
    Calibrate(plan.layout, request);
    if (request.settingsGiven || !plan.m_fromWork) {
        plan.extraction = {request.settings.colourTolerance, request.settings.pointSpacing,
                           request.settings.largestGap, request.insideReferenceBox};
    }
    plan.insideReferenceBox = plan.extraction.insideReferenceBox;
    // What the options say wins, each on its own: a --dpi alone keeps the work file's page.
    const PdfPageChoice fallback = plan.layout.pdfPage.value_or(PdfPageChoice{1, kDefaultPdfDpi});
    plan.pdfChoice = {request.pdfPage.value_or(fallback.page), request.pdfDpi.value_or(fallback.dpi)};
    for (const TraceOption& option : request.traces) {
        plan.traces.push_back({option, request.settings});
        if (option.start == TraceOption::Start::Colour) {
            plan.colourTraces.push_back({option.colour, request.settings.colourTolerance,
                                         request.settings.pointSpacing, request.settings.largestGap});
        }
    }
    return plan;
}

std::optional<QRect> RunPlan::Bounds() const {
    if (!insideReferenceBox)
        return std::nullopt;
    CDataAxis axis;
    const auto place = [](CData& point, const WorkState::Reference& reference) {
        point.m_nPixelX = reference.x;
        point.m_nPixelY = reference.y;
    };
    place(axis.m_Origin, layout.origin);
    place(axis.m_XAxis, layout.xAxis);
    place(axis.m_YAxis, layout.yAxis);
    return ReferenceBox(axis);
}

// A work file written before pages were kept names none: its picture is taken at any page, as then.
bool RunPlan::RestoresOn(const WorkState::PictureIdentity& identity, const std::optional<PdfPageChoice>& pdfPage) const {
    return RestoresWork() && identity.size >= 0 && identity == layout.pictureIdentity &&
           (!layout.pdfPage || layout.pdfPage == pdfPage);
}

WorkState RunPlan::Calibration() const {
    WorkState state;
    state.origin = layout.origin;
    state.xAxis = layout.xAxis;
    state.yAxis = layout.yAxis;
    state.logX = layout.logX;
    state.logY = layout.logY;
    state.measureLength = layout.measureLength;
    state.measureArea = layout.measureArea;
    return state;
}

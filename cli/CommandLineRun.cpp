#include "cli/CommandLineRun.h"

#include "cli/PictureTracing.h"
#include "cli/RunPlan.h"
#include "doc/CTallyscopeDoc.h"
#include "doc/DataFileWriter.h"
#include "extract/CurveTracer.h"
#include "platform/core/CStdioFile.h"
#include "platform/picture/PdfPageRenderer.h"
#include "platform/picture/PictureDecoder.h"
#include "trace/TracedSeries.h"
#include "work/DocumentWork.h"
#include "work/WorkFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QThreadPool>

#include <cstdio>
#include <future>
#include <map>
#include <memory>

namespace {

std::string Seconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", seconds);
    return text;
}

// "120 + 0 + 87 points"
std::string PointsPerSeries(const TracedPicture& traced, const RunPlan& plan) {
    std::vector<std::size_t> counts;
    if (traced.restoresWork) {
        for (const WorkState::Series& series : plan.layout.series)
            counts.push_back(series.size());
    } else {
        for (const std::vector<QPoint>& series : traced.series)
            counts.push_back(series.size());
    }
    std::string text;
    for (std::size_t i = 0; i < counts.size(); ++i)
        text += (i > 0 ? " + " : "") + std::to_string(counts[i]);
    return (counts.empty() ? std::string("no") : text) + " points";
}

// DIR/<picture name without its extension>.dat
std::string ExportPathIn(const std::string& folder, const std::string& picture) {
    const QString name = QFileInfo(QString::fromStdString(picture)).completeBaseName() + ".dat";
    return QDir(QString::fromStdString(folder)).filePath(name).toStdString();
}

// --page and --dpi choose what is rendered of a PDF; with no PDF among the pictures they were
// meant for another file, and a run that quietly ignored them would digitise the wrong thing.
std::string PdfOptionsProblem(const CommandLineRequest& request) {
    if (!request.pdfPage && !request.pdfDpi)
        return {};
    for (const std::string& picture : request.pictures) {
        if (PdfPageRenderer::IsPdfFile(QString::fromStdString(picture)))
            return {};
    }
    const std::string option = request.pdfPage ? "--page " + std::to_string(*request.pdfPage)
                                               : "--dpi " + std::to_string(*request.pdfDpi);
    const std::string pictures = request.pictures.size() == 1 ? request.pictures.front() + " is not a PDF"
                                                              : "none of the pictures is a PDF";
    return option + ": " + pictures;
}

} // namespace

CommandLineRun::CommandLineRun(const CommandLineRequest& request, std::ostream& errors)
    : m_request(request), m_errors(errors) {}

int CommandLineRun::Execute() {
    AllowLargePictures();
    if (const std::string problem = PdfOptionsProblem(m_request); !problem.empty()) {
        m_errors << "tallyscope: " << problem << '\n';
        return kFailed;
    }
    auto plan = RunPlan::Make(m_request);
    if (const auto* problem = std::get_if<std::string>(&plan)) {
        m_errors << "tallyscope: " << *problem << '\n';
        return kFailed;
    }
    const RunPlan& made = std::get<RunPlan>(plan);
    // The tracer's once-per-run tables are made while the first picture is read, not after it.
    // (The future waits for them on its way out.)
    std::future<void> prepared;
    if (!made.traces.empty())
        prepared = std::async(std::launch::async, &CurveTracer::Prepare);
    return m_request.pictures.size() == 1 ? RunOne(made) : RunBatch(made);
}

int CommandLineRun::RunOne(const RunPlan& plan) {
    const std::string& picture = m_request.pictures.front();
    const TracedPicture traced = TracePicture(plan, picture);
    std::string problem = traced.problem;
    if (problem.empty())
        problem = Finish(plan, traced, picture, m_request.exportPath);
    if (problem.empty())
        return kSucceeded;
    m_errors << "tallyscope: " << problem << '\n';
    return kFailed;
}

// Every picture is read and traced on the thread pool, as many at once as there are cores; the
// documents and files are made here, in the pictures' order, as each one's tracing is done.
int CommandLineRun::RunBatch(const RunPlan& plan) {
    QElapsedTimer clock;
    clock.start();
    const std::string& folder = m_request.exportPath;
    if (!QDir().mkpath(QString::fromStdString(folder))) {
        m_errors << "tallyscope: " << folder << ": the folder for the data files cannot be made\n";
        return kFailed;
    }
    const std::vector<std::string>& pictures = m_request.pictures;
    std::vector<std::promise<TracedPicture>> promises(pictures.size());
    std::vector<std::future<TracedPicture>> results;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        results.push_back(promises[i].get_future());
        QThreadPool::globalInstance()->start(
            [&plan, &picture = pictures[i], &promise = promises[i]] { promise.set_value(TracePicture(plan, picture)); });
    }
    // Two pictures of the same name in different folders would write the same data file.
    std::map<std::string, std::string> written;
    int failed = 0;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const TracedPicture traced = results[i].get();
        QElapsedTimer finishing;
        finishing.start();
        const std::string target = ExportPathIn(folder, pictures[i]);
        std::string problem = traced.problem;
        if (problem.empty() && written.count(target) > 0)
            problem = pictures[i] + ": its data file " + target + " is the one of " + written[target];
        if (problem.empty())
            problem = Finish(plan, traced, pictures[i], target);
        if (problem.empty()) {
            written[target] = pictures[i];
            m_errors << pictures[i] << ": " << PointsPerSeries(traced, plan) << ", "
                     << Seconds(traced.seconds + finishing.nsecsElapsed() / 1e9) << '\n';
        } else {
            ++failed;
            m_errors << pictures[i] << ": failed: " << problem << '\n';
        }
    }
    m_errors << "tallyscope: " << pictures.size() << " pictures, " << pictures.size() - failed << " written, "
             << failed << " failed, " << Seconds(clock.nsecsElapsed() / 1e9) << '\n';
    return failed == 0 ? kSucceeded : kFailed;
}

std::string CommandLineRun::Finish(const RunPlan& plan, const TracedPicture& traced, const std::string& picture,
                                   const std::string& exportPath) const {
    CTallyscopeDoc doc;
    DocumentWork::ApplyTo(traced.restoresWork ? plan.layout : plan.Calibration(), doc);
    doc.DataChanged();
    for (const std::vector<QPoint>& pixels : traced.series)
        TracedSeries::AddTo(doc, pixels);
    if (!exportPath.empty()) {
        if (std::string problem = Export(doc, exportPath); !problem.empty())
            return problem;
    }
    if (!m_request.saveWorkPath.empty())
        return SaveWork(plan, traced, doc, picture);
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

// The picture is recorded as it was read, not as it may be by now.
std::string CommandLineRun::SaveWork(const RunPlan& plan, const TracedPicture& traced, const CTallyscopeDoc& doc,
                                     const std::string& picture) const {
    WorkState state = DocumentWork::Capture(doc);
    state.picturePath = QDir::cleanPath(QFileInfo(QString::fromStdString(picture)).absoluteFilePath());
    state.pictureIdentity = traced.identity;
    state.pdfPage = traced.pdfPage;
    state.extraction = plan.extraction;
    state.colourTraces = plan.colourTraces;
    const WorkFile::Error error = WorkFile::Write(state, QString::fromStdString(m_request.saveWorkPath));
    if (error.kind != WorkFile::Error::Kind::None)
        return m_request.saveWorkPath + ": cannot be written: " + error.detail.toStdString();
    return {};
}

#include "trace/TraceMode.h"

#include "dialogs/CTraceSettingsDlg.h"
#include "doc/CTallyscopeDoc.h"
#include "extract/CurveTracer.h"
#include "platform/app/CFrameWnd.h"
#include "platform/app/CWinApp.h"
#include "platform/ui/CWaitCursor.h"
#include "res/Resource.h"
#include "trace/TracePreferences.h"
#include "view/CTallyscopeView.h"

#include <chrono>
#include <future>
#include <new>

const MessageMap* TraceMode::ThisMessageMap() {
    static const MessageMap map(CCmdTarget::ThisMessageMap(),
                                {
                                    MapCommand<&TraceMode::OnTraceMode>(ID_TRACE_MODE),
                                    MapUpdate<&TraceMode::OnUpdateTraceMode>(ID_TRACE_MODE),
                                    MapCommand<&TraceMode::OnTraceUndo>(ID_TRACE_UNDO),
                                    MapUpdate<&TraceMode::OnUpdateTraceUndo>(ID_TRACE_UNDO),
                                    MapCommand<&TraceMode::OnTraceSettings>(ID_TRACE_SETTINGS),
                                });
    return &map;
}

namespace {
// A trace usually ends long before a person notices; one that does not (a very large scan) shows
// the wait cursor after this long. The work runs on a thread of its own so that the cursor can be
// put up while it runs; the window takes no input meanwhile, as with any other wait cursor.
constexpr std::chrono::milliseconds kWaitCursorDelay{200};

template <class Work> auto RunShowingWaitCursorWhenSlow(Work work) {
    auto result = std::async(std::launch::async, std::move(work));
    if (result.wait_for(kWaitCursorDelay) == std::future_status::ready)
        return result.get();
    CWaitCursor wait;
    return result.get();
}
} // namespace

TraceMode::TraceMode(CTallyscopeView& view) : m_view(view) {}

TraceMode::~TraceMode() = default;

CTallyscopeDoc* TraceMode::Document() const {
    return m_view.GetDocument();
}

bool TraceMode::IsOn() const {
    return m_bOn && Document() != nullptr && Document()->GetBitmapHandle() != nullptr;
}

void TraceMode::Leave() {
    if (!m_bOn)
        return;
    m_bOn = false;
    m_tracer.reset();
    m_pTracedPicture = nullptr;
    ShowMessage(nullptr);
}

bool TraceMode::TracerIsFor(const QImage* picture) const {
    return m_tracer && picture != nullptr && m_pTracedPicture == picture &&
           m_nTracedOpenCount == Document()->GetOpenCount();
}

void TraceMode::ForgetStaleTracer() {
    if (m_tracer && (Document() == nullptr || !TracerIsFor(Document()->GetBitmapHandle())))
        m_tracer.reset();
}

const CurveTracer& TraceMode::TracerFor(const QImage& picture) {
    if (!TracerIsFor(&picture)) {
        m_tracer.reset();
        m_tracer =
            RunShowingWaitCursorWhenSlow([&picture] { return std::make_unique<CurveTracer>(picture); });
        m_pTracedPicture = &picture;
        m_nTracedOpenCount = Document()->GetOpenCount();
    }
    return *m_tracer;
}

void TraceMode::TraceAt(QPoint pixel) {
    CTallyscopeDoc* doc = Document();
    const QImage* picture = doc->GetBitmapHandle();
    if (picture == nullptr)
        return;
    const TraceSettings settings = TracePreferences::Load().ForAxis(doc->m_DataAxis);
    TraceResult result;
    try {
        const CurveTracer& tracer = TracerFor(*picture);
        result = RunShowingWaitCursorWhenSlow([&] { return tracer.TraceFrom(pixel, settings); });
    } catch (const std::bad_alloc&) {
        m_tracer.reset();
        ShowMessage(kMsgTraceFailed);
        return;
    }
    if (result.outcome == TraceOutcome::EngineMissing) {
        CString missing;
        missing.Format(kMsgTraceNoEngine, kTracingModuleFileName);
        ShowMessage(missing);
        return;
    }
    const std::vector<QPoint> pixels = result.Pixels();
    if (result.outcome != TraceOutcome::Traced || pixels.empty()) {
        ShowMessage(kMsgTraceNoCurve);
        return;
    }
    m_lastTrace = TracedSeries::AddTo(*doc, pixels);
    CString done;
    done.Format(kMsgTraceDone, m_lastTrace->PointCount(), doc->m_DataSeries.m_nCurrent);
    ShowMessage(done);
}

// Without a text, the status bar goes back to its idle message.
void TraceMode::ShowMessage(const char* text) const {
    auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    if (frame == nullptr)
        return;
    if (text != nullptr)
        frame->SetMessageText(text);
    else
        frame->SetMessageText(AFX_IDS_IDLEMESSAGE);
}

void TraceMode::OnTraceMode() {
    if (m_bOn) {
        Leave();
        return;
    }
    m_bOn = true;
    if (!m_engineReady.valid())
        m_engineReady = std::async(std::launch::async, &CurveTracer::Prepare);
    ShowMessage(kMsgTraceModeOn);
}

void TraceMode::OnUpdateTraceMode(CCmdUI* pCmdUI) {
    const bool picture = Document() != nullptr && Document()->GetBitmapHandle() != nullptr;
    pCmdUI->Enable(picture);
    pCmdUI->SetCheck(m_bOn && picture);
}

void TraceMode::OnTraceUndo() {
    if (m_lastTrace)
        m_lastTrace->RemoveFrom(*Document());
    m_lastTrace.reset();
}

void TraceMode::OnUpdateTraceUndo(CCmdUI* pCmdUI) {
    pCmdUI->Enable(m_lastTrace && Document() != nullptr && m_lastTrace->IsIntactIn(*Document()));
}

void TraceMode::OnTraceSettings() {
    TracePreferences preferences = TracePreferences::Load();
    CTraceSettingsDlg dlg;
    dlg.m_nColourTolerance = preferences.colourTolerance;
    dlg.m_nPointSpacing = preferences.pointSpacing;
    dlg.m_nLargestGap = preferences.largestGap;
    dlg.m_bInsideReferenceBox = preferences.insideReferenceBox ? TRUE : FALSE;
    if (dlg.DoModal() != IDOK)
        return;
    preferences.colourTolerance = dlg.m_nColourTolerance;
    preferences.pointSpacing = dlg.m_nPointSpacing;
    preferences.largestGap = dlg.m_nLargestGap;
    preferences.insideReferenceBox = dlg.m_bInsideReferenceBox != FALSE;
    preferences.Save();
}

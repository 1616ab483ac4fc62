#pragma once
// The picture view's trace mode, from the tools menu. While it is on, a Shift-click on a curve
// hands the clicked pixel to the curve tracer and gives the points it returns to the document as
// one new series of ordinary picks; the last such trace can be taken back whole. The mode stays on
// for the next curve until its menu item is chosen again or Escape is pressed. It takes its three
// commands through the view's command routing and knows the view only for its document and its
// repaint; the view hands it the clicks and the key.

#include "platform/core/CCmdTarget.h"
#include "trace/TracedSeries.h"

#include <QPoint>

#include <future>
#include <memory>
#include <optional>

class CTallyscopeView;
class CTallyscopeDoc;
class CurveTracer;
class QImage;

class TraceMode : public CCmdTarget {
    DECLARE_MESSAGE_MAP()
public:
    explicit TraceMode(CTallyscopeView& view);
    ~TraceMode() override;
    TraceMode(const TraceMode&) = delete;
    TraceMode& operator=(const TraceMode&) = delete;

    // On, and a picture to trace on.
    bool IsOn() const;
    // Traces the curve under the picture pixel into a new series; a curve not found is said in the
    // status bar and changes nothing.
    void TraceAt(QPoint pixel);
    // Turns the mode off (Escape); nothing when it is off.
    void Leave();
    // The document has changed (another picture may be open): a tracer prepared for a picture
    // that is no longer shown goes, so that its pixels are not held beside the new picture's.
    void ForgetStaleTracer();

    void OnTraceMode();
    void OnUpdateTraceMode(CCmdUI* pCmdUI);
    void OnTraceUndo();
    void OnUpdateTraceUndo(CCmdUI* pCmdUI);
    void OnTraceSettings();

private:
    CTallyscopeDoc* Document() const;
    // The tracer prepared for the picture the document shows now, made on first use.
    const CurveTracer& TracerFor(const QImage& picture);
    bool TracerIsFor(const QImage* picture) const;
    void ShowMessage(const char* text) const;

    CTallyscopeView& m_view;
    bool m_bOn = false;
    std::optional<TracedSeries> m_lastTrace;
    // The prepared picture is kept while the mode is on, so that the next curve costs only its own
    // following; it is made again when another picture is opened.
    std::unique_ptr<CurveTracer> m_tracer;
    const QImage* m_pTracedPicture = nullptr;
    int m_nTracedOpenCount = -1;
    // The tracer's module and its once-per-run tables (a tenth of a second and more), made in the
    // background from the moment the mode is first turned on, while the user aims at a curve.
    std::future<void> m_engineReady;
};

// The status bar's message pane is narrow beside the read-outs: the messages are kept short.
inline constexpr const char* kMsgTraceModeOn = "曲線を Shift+クリック";
inline constexpr const char* kMsgTraceNoCurve = "そこに曲線が見つかりません";
inline constexpr const char* kMsgTraceFailed = "メモリ不足で抽出できません";
inline constexpr const char* kMsgTraceNoEngine = "抽出の部品 (%s) を読み込めません";
// "%d": the number of points, then the series' index as the status bar counts it.
inline constexpr const char* kMsgTraceDone = "%d 点を抽出しました (系列 %d)";

// The program's own entry with two additions: when the picture view has painted an open picture for
// the first time, the probe reports it (ProbeReport.h) and quits; and when the program has ended it
// reports its peak resident memory. bench_open starts it as a child process to time the way from
// launch to the picture on screen and to read the program's peak.
#include "ProbeReport.h"

#include "app/CTallyscopeApp.h"
#include "doc/CTallyscopeDoc.h"
#include "platform/app/CFrameWnd.h"
#include "platform/app/CView.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {

// Watches every paint; a paint of the picture view once the document holds a picture ends the run
// as soon as the event loop is free again, that is after the paint has reached the screen.
class PaintWatcher final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_bReported && IsPictureView(watched) && PictureIsOpen()) {
            m_bReported = true;
            QTimer::singleShot(0, this, [] {
                ReportPainted();
                QCoreApplication::quit();
            });
        }
        return false;
    }

private:
    static CFrameWnd* MainFrame() { return dynamic_cast<CFrameWnd*>(AfxGetMainWnd()); }
    static bool IsPictureView(QObject* watched) {
        CFrameWnd* frame = MainFrame();
        CView* view = frame != nullptr ? frame->GetActiveView() : nullptr;
        QWidget* viewWidget = view != nullptr ? view->GetSafeHwnd() : nullptr;
        auto* widget = qobject_cast<QWidget*>(watched);
        return viewWidget != nullptr && widget != nullptr &&
               (widget == viewWidget || viewWidget->isAncestorOf(widget));
    }
    static bool PictureIsOpen() {
        CFrameWnd* frame = MainFrame();
        auto* doc = frame != nullptr ? dynamic_cast<CTallyscopeDoc*>(frame->GetActiveDocument()) : nullptr;
        return doc != nullptr && doc->m_pPicture != nullptr;
    }

    bool m_bReported = false;
};

void InstallPaintWatcher() {
    QCoreApplication::instance()->installEventFilter(new PaintWatcher(QCoreApplication::instance()));
}
Q_COREAPP_STARTUP_FUNCTION(InstallPaintWatcher)

} // namespace

int main(int argc, char** argv) {
    [[maybe_unused]] CWinApp* volatile application = &theApp;
    const int result = AfxWinMain(argc, argv);
    ReportPeak();
    return result;
}

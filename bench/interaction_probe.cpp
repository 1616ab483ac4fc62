// The program's own entry, made ready for bench_interaction to drive it through the display: once
// the picture view has painted the picture for the first time, the probe fills the document
// (BenchDocument.h, with the finished series as long as TALLYSCOPE_PROBE_POINTS says, 500 unless
// told), zooms to 4, and reports on its standard output where the picture view lies on the screen:
// "ready <x> <y> <width> <height>". From then on it is the real program, until it is killed.
#include "BenchDocument.h"

#include "app/CTallyscopeApp.h"
#include "doc/CTallyscopeDoc.h"
#include "platform/app/CFrameWnd.h"
#include "platform/app/CView.h"
#include "res/Resource.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

CFrameWnd* MainFrame() {
    return dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
}

QWidget* PictureWidget() {
    CFrameWnd* frame = MainFrame();
    CView* view = frame != nullptr ? frame->GetActiveView() : nullptr;
    return view != nullptr ? view->GetInputWidget() : nullptr;
}

CTallyscopeDoc* Document() {
    CFrameWnd* frame = MainFrame();
    return frame != nullptr ? dynamic_cast<CTallyscopeDoc*>(frame->GetActiveDocument()) : nullptr;
}

void ReportReady() {
    QWidget* picture = PictureWidget();
    const QPoint origin = picture->mapToGlobal(QPoint(0, 0));
    std::printf("ready %d %d %d %d\n", origin.x(), origin.y(), picture->width(), picture->height());
    std::fflush(stdout);
}

// Fills the document and zooms once the picture is shown, then waits a moment for the repaints
// that asks for before reporting, so the first measured event does not pay for them.
void Prepare() {
    CTallyscopeDoc* doc = Document();
    const int points = qEnvironmentVariableIsSet("TALLYSCOPE_PROBE_POINTS")
                           ? qEnvironmentVariableIntValue("TALLYSCOPE_PROBE_POINTS")
                           : 500;
    FillDocument(*doc, points);
    doc->UpdateAllViews(nullptr);
    MainFrame()->GetActiveView()->ExecuteCommand(ID_ZOOM_X4);
    QTimer::singleShot(500, ReportReady);
}

class PaintWatcher final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_bPrepared && watched == PictureWidget() &&
            Document() != nullptr && Document()->m_pPicture != nullptr) {
            m_bPrepared = true;
            QTimer::singleShot(0, this, Prepare);
        }
        return false;
    }

private:
    bool m_bPrepared = false;
};

void InstallPaintWatcher() {
    QCoreApplication::instance()->installEventFilter(new PaintWatcher(QCoreApplication::instance()));
}
Q_COREAPP_STARTUP_FUNCTION(InstallPaintWatcher)

} // namespace

int main(int argc, char** argv) {
    [[maybe_unused]] CWinApp* volatile application = &theApp;
    return AfxWinMain(argc, argv);
}

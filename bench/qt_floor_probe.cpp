// The least a Qt Widgets program on this machine holds a picture in: a 600 x 500 main window with
// one Japanese menu title in the program's face and a scrolling area that paints the picture,
// decoded by the program's own decoder into the same 24-bit rows. No toolbar, status bar, zoom
// window, dialogs or back buffer. bench_open runs it beside the launch probe on the largest chart,
// so that every run shows how much of the program's peak memory any Qt program showing that
// picture would already take. It speaks the launch probe's protocol (ProbeReport.h); with
// TALLYSCOPE_FLOOR_PROBE_STAYS set it stays open after the first paint instead, so that bench_open
// can also watch it on screen as it watches the program and g3data (BM_OpenSeen).
#include "ProbeReport.h"

#include "platform/gdi/FontFaces.h"
#include "platform/picture/PictureDecoder.h"

#include <QApplication>
#include <QImage>
#include <QMainWindow>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QTimer>

#include <future>
#include <memory>

namespace {

class PictureWidget final : public QWidget {
public:
    explicit PictureWidget(const QImage& picture) : m_picture(picture) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        resize(picture.size());
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.drawImage(event->rect(), m_picture, event->rect());
        if (!m_bReported && !qEnvironmentVariableIsSet("TALLYSCOPE_FLOOR_PROBE_STAYS")) {
            m_bReported = true;
            QTimer::singleShot(0, qApp, [] {
                ReportPainted();
                QCoreApplication::quit();
            });
        }
    }

private:
    const QImage& m_picture;
    bool m_bReported = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc < 2)
        return 2;
    AllowLargePictures();
    // Decoded while the window is made, as the program does.
    auto decoding = std::async(std::launch::async, DecodePictureFile, QString::fromLocal8Bit(argv[1]));
    QMainWindow window;
    window.menuBar()->setFont(AfxGetProgramFont());
    window.menuBar()->addMenu(QString::fromUtf8("ファイル(&F)"));
    const DecodedPicture decoded = decoding.get();
    if (decoded.image == nullptr)
        return 1;
    auto* area = new QScrollArea;
    area->setWidget(new PictureWidget(*decoded.image));
    window.setCentralWidget(area);
    window.resize(600, 500);
    window.show();
    const int result = application.exec();
    ReportPeak();
    return result;
}

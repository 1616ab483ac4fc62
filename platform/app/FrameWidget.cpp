#include "platform/app/FrameWidget.h"

#include "platform/app/CFrameWnd.h"
#include "platform/core/AfxStandardIds.h"
#include "platform/ui/CaptionBar.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPainter>
#include <QStatusTipEvent>
#include <QUrl>

#include <utility>

namespace {
// The one file a drop carries: a single local file that is no folder; nothing for several files,
// a folder, a remote address or plain text.
std::optional<QString> SingleLocalFile(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls())
        return std::nullopt;
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return std::nullopt;
    const QString path = urls.front().toLocalFile();
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    return path;
}
} // namespace


FrameWidget::FrameWidget(CFrameWnd* frame, QWidget* parent, Qt::WindowFlags flags)
    : QMainWindow(parent, flags), m_pFrame(frame) {}

FrameWidget::~FrameWidget() {
    delete std::exchange(m_pOwnedFrame, nullptr);
}

void FrameWidget::DrawOwnCaption() {
    setMenuWidget(new AfxCaptionBar(this));
    const int border = AfxCaptionBar::kBorder;
    setContentsMargins(border, border, border, border);
    m_bDrawsBorder = true;
}

void FrameWidget::paintEvent(QPaintEvent* event) {
    QMainWindow::paintEvent(event);
    if (!m_bDrawsBorder)
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

bool FrameWidget::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip && m_pFrame != nullptr) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        // An empty tip inside an open menu is an item without a prompt, which shows nothing;
        // anywhere else the pointer has left a button, and the idle text comes back.
        if (!tip.isEmpty())
            m_pFrame->SetMessageText(tip.toUtf8().constData());
        else if (QApplication::activePopupWidget() != nullptr)
            m_pFrame->SetMessageText("");
        else
            m_pFrame->SetMessageText(AFX_IDS_IDLEMESSAGE);
        return true;
    }
    return QMainWindow::event(event);
}

void FrameWidget::closeEvent(QCloseEvent* event) {
    if (m_pFrame != nullptr)
        m_pFrame->OnClose();
    // The frame lets go of its window when it is destroyed; otherwise it stays.
    event->setAccepted(m_pFrame == nullptr);
}

void FrameWidget::dragEnterEvent(QDragEnterEvent* event) {
    AcceptSingleFile(event);
}

void FrameWidget::dragMoveEvent(QDragMoveEvent* event) {
    AcceptSingleFile(event);
}

void FrameWidget::dropEvent(QDropEvent* event) {
    const std::optional<QString> path = AcceptSingleFile(event);
    if (!path)
        return;
    // The file opens once the drop is over: opening may ask a question or report a failure,
    // and the program the file came from waits for the drop to end until then.
    QMetaObject::invokeMethod(
        this,
        [this, fileName = path->toUtf8()] {
            if (m_pFrame != nullptr)
                m_pFrame->OnDropFiles(fileName.constData());
        },
        Qt::QueuedConnection);
}

// Takes a drop of one file as a copy, never a move: a file manager deletes the original of a file
// that was moved. Refused while a modal window is up, since that window may be working on the
// document the file would replace.
std::optional<QString> FrameWidget::AcceptSingleFile(QDropEvent* event) {
    const std::optional<QString> path = SingleLocalFile(event->mimeData());
    if (!path || m_pFrame == nullptr || !(event->possibleActions() & Qt::CopyAction) ||
        QApplication::activeModalWidget() != nullptr) {
        event->ignore();
        return std::nullopt;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return path;
}

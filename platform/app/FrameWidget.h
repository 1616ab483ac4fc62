#pragma once
// The frame's widget: a QMainWindow that hands close requests, status-line prompts and dropped
// files to its frame. A drop is taken when it carries one local file, as a copy, and the file opens
// once the drop is over. Once the frame lets go of its widget (DestroyWindow), the widget only
// waits to be deleted, and takes the frame object along if the frame deletes itself with its window.

#include <QMainWindow>

#include <optional>

class CFrameWnd;
class QDropEvent;

class FrameWidget final : public QMainWindow {
public:
    FrameWidget(CFrameWnd* frame, QWidget* parent, Qt::WindowFlags flags);
    ~FrameWidget() override;

    // Gives the frame a caption without buttons and a border of its own (CaptionBar.h).
    void DrawOwnCaption();

    CFrameWnd* m_pFrame;
    CFrameWnd* m_pOwnedFrame = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Only widgets that accept drops (DragAcceptFiles) get these, also for drops on their children.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    std::optional<QString> AcceptSingleFile(QDropEvent* event);

    bool m_bDrawsBorder = false;
};

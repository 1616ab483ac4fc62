#pragma once
// One pane of the status bar: a label in a box of its own. The label shows the text and draws the
// pane's border; the box is what the bar's row lays out, and the label always fills it. A text
// wider than the pane is cut at the pane's edge.
//
// A label asks its parent for a new layout whenever its text changes, even where nothing can move.
// With the bar's row as the parent, every new read-out laid out and repainted the whole bar, on
// every mouse move. The box has no layout: it takes the request itself and passes it on to the row
// only when what the pane asks of the row can have changed. A pane shows one line of text.
//
// What a pane asks of the row never depends on the length of a stretching pane's text, so no
// message, however long, makes the row (and with it the window) wider.

#include <QSize>
#include <QWidget>

class QLabel;

class StatusPane final : public QWidget {
public:
    explicit StatusPane(QWidget* parent);

    QLabel* Label() const { return m_label; }
    // The pane keeps this width whatever its text.
    void KeepWidth(int width);
    // The pane takes the width the other panes leave, none when they leave none.
    void LetWidthStretch();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* m_label;
    bool m_stretches = false;
    int m_width = 0;
    // The height the row was given last.
    mutable int m_givenHeight = 0;
};

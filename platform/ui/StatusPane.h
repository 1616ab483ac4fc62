#pragma once
// One pane of the status bar: a label in a box of its own. The label shows the text and draws the
// pane's border; the box is what the bar's row lays out, and the label always fills it.
//
// A label asks its parent for a new layout whenever its text changes, even where nothing can move.
// With the bar's row as the parent, every new read-out laid out and repainted the whole bar, on
// every mouse move. The box has no layout: it takes the request itself and passes it on to the row
// only when what the pane asks of the row can have changed. A pane shows one line of text.

#include <QSize>
#include <QWidget>

class QLabel;

class StatusPane final : public QWidget {
public:
    explicit StatusPane(QWidget* parent);

    QLabel* Label() const { return m_label; }
    // The pane keeps this width whatever its text.
    void KeepWidth(int width);
    // The pane takes the width the row gives it.
    void LetWidthStretch();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool HasFixedWidth() const;

    QLabel* m_label;
    // The hints the row was given last.
    mutable QSize m_givenHint;
    mutable QSize m_givenMinimumHint;
};

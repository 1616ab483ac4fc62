#pragma once
// The Qt widgets behind the two dialog controls that Qt has no direct match for: a list box that
// reports double-clicks anywhere in it and keeps its sort style, and an up-down control that steps
// a position inside a range and writes it into its buddy edit. Plus the one place that knows how
// each control widget shows its text (window text, in the framework's terms).

#include "platform/core/AfxTypes.h"

#include <QCache>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <functional>

#include <QLineEdit>
class QToolButton;

// The callback a control uses to notify its dialog: the notification code (LBN_DBLCLK, ...).
using ControlNotifyFn = std::function<void(UINT code)>;

class AfxListBoxWidget final : public QListWidget {
    Q_OBJECT
public:
    AfxListBoxWidget(bool sorted, QWidget* parent);

    bool IsSorted() const { return m_bSorted; }
    void SetNotify(ControlNotifyFn notify) { m_notify = std::move(notify); }

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool m_bSorted;
    ControlNotifyFn m_notify;
};

// Positions are kept as the framework keeps them: a lower and an upper limit in either order (the
// up arrow moves towards the upper one), the default range being lower 100, upper 0.
class AfxUpDownWidget final : public QWidget {
    Q_OBJECT
public:
    AfxUpDownWidget(DWORD style, QWidget* parent);

    void SetBuddy(QLineEdit* buddy);
    QLineEdit* GetBuddy() const { return m_buddy.data(); }

    void SetRange(int lower, int upper);
    int GetLower() const { return m_lower; }
    int GetUpper() const { return m_upper; }
    // Clamps to the range and, with the buddy-integer style, writes the position into the buddy.
    // Returns the previous position.
    int SetPos(int pos);
    // The position, read back from the buddy's text when the control writes integers into it.
    // ok is false when that text is not an integer inside the range; the stored position is
    // returned then.
    int GetPos(bool* ok = nullptr) const;
    // One step of an arrow: towards the upper limit for up (+1), towards the lower for down (-1).
    void Step(int direction);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DWORD m_style;
    int m_lower = 100;
    int m_upper = 0;
    int m_pos = 0;
    QPointer<QLineEdit> m_buddy;
    QToolButton* m_up;
    QToolButton* m_down;
};

// A static text control. Its text is drawn from the control's top-left corner as the framework
// draws it, except that the line is raised, never above the control's top, when the face's line box
// is taller than the control and the strokes would be cut at the bottom: the templates' labels are
// one em (8 units) high, and a face's line box often exceeds its em by a pixel or two. A text wider
// or taller than the template's box makes the control grow to the right and downward; it never moves.
class AfxStaticTextWidget final : public QLabel {
    Q_OBJECT
public:
    AfxStaticTextWidget(const QString& text, QWidget* parent);

    // Places the control on the template's box, grown to its text.
    void SetTemplateRect(const QRect& rect);
    // Shows a new text, growing the control as far as the text needs, never below the template's box.
    void SetCaption(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    struct TextExtent {
        QRect ink;       // the pixels the text covers, relative to its origin
        int advance = 0; // the text's advance width
    };

    // Takes the text's ink, measured or kept from an earlier showing, and grows the control to it.
    void Refit();
    // The extent of a text in the control's face. Measuring draws the text, and the magnifier's
    // read-outs take a new text on every mouse move, mostly one they showed before (a colour value,
    // a column passed again), so the control keeps what it measured for its last few hundred texts.
    TextExtent MeasureText(const QString& text);
    // The size the control needs: the template's box, grown to the text's ink.
    QSize FittedSize() const;
    // Where the text's origin (left end of its baseline) goes so that its ink stays inside.
    QPoint TextOrigin() const;

    // The face a text is measured and drawn in: a read-out such as the magnifier's (a new one on
    // every mouse move) looks the same unshaped and costs far less.
    const QFont& FaceFor(const QString& text) const;

    QSize m_templateSize;
    QFont m_unshapedFont; // the control's face, without shaping
    QRect m_ink;          // the pixels the text covers, relative to its origin
    int m_advance = 0;    // the text's advance width
    QCache<QString, TextExtent> m_measured{256};
};

// A group box as the framework draws one: the frame's top line runs through the middle of the
// caption, which sits a little in from the left edge. The templates place the controls inside a
// box just under its caption, where styles that put the caption above the frame draw the line.
class AfxGroupBoxWidget final : public QGroupBox {
    Q_OBJECT
public:
    AfxGroupBoxWidget(const QString& title, QWidget* parent);

    // Where the caption is drawn, in the box's coordinates.
    QRect TitleRect() const;
    // The row of the frame's top line, in the box's coordinates.
    int FrameTop() const { return fontMetrics().height() / 2; }

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The text a control shows (an edit's contents, a label's or button's caption, a window's title).
QString AfxGetWidgetText(const QWidget* widget);
void AfxSetWidgetText(QWidget* widget, const QString& text);

#include "platform/res/ControlWidgets.h"

#include "platform/res/DialogTemplate.h"

#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

AfxListBoxWidget::AfxListBoxWidget(bool sorted, QWidget* parent) : QListWidget(parent), m_bSorted(sorted) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
}

// The list reports a double-click wherever it lands, after the first click has made its selection,
// so that a handler sees the line under the mouse as the current one.
void AfxListBoxWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    QListWidget::mouseDoubleClickEvent(event);
    if (m_notify)
        m_notify(LBN_DBLCLK);
}

AfxUpDownWidget::AfxUpDownWidget(DWORD style, QWidget* parent)
    : QWidget(parent), m_style(style), m_up(new QToolButton(this)), m_down(new QToolButton(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* button : {m_up, m_down}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        layout->addWidget(button);
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    connect(m_up, &QToolButton::clicked, this, [this] { Step(+1); });
    connect(m_down, &QToolButton::clicked, this, [this] { Step(-1); });
}

void AfxUpDownWidget::SetBuddy(QLineEdit* buddy) {
    if (m_buddy)
        m_buddy->removeEventFilter(this);
    m_buddy = buddy;
    if (m_buddy && (m_style & UDS_ARROWKEYS))
        m_buddy->installEventFilter(this);
}

void AfxUpDownWidget::SetRange(int lower, int upper) {
    m_lower = lower;
    m_upper = upper;
}

int AfxUpDownWidget::SetPos(int pos) {
    const int previous = m_pos;
    m_pos = std::clamp(pos, std::min(m_lower, m_upper), std::max(m_lower, m_upper));
    if (m_buddy && (m_style & UDS_SETBUDDYINT))
        AfxSetWidgetText(m_buddy, QString::number(m_pos));
    return previous;
}

int AfxUpDownWidget::GetPos(bool* ok) const {
    if (ok != nullptr)
        *ok = true;
    if (!m_buddy || !(m_style & UDS_SETBUDDYINT))
        return m_pos;
    bool parsed = false;
    const int value = m_buddy->text().trimmed().toInt(&parsed);
    const bool inRange = parsed && value >= std::min(m_lower, m_upper) && value <= std::max(m_lower, m_upper);
    if (ok != nullptr)
        *ok = inRange;
    return inRange ? value : m_pos;
}

// A step starts from what the buddy shows, so a typed value is stepped from rather than lost; at a
// limit the position stays (no wrapping).
void AfxUpDownWidget::Step(int direction) {
    const int towardsUpper = m_upper >= m_lower ? 1 : -1;
    SetPos(GetPos() + direction * towardsUpper);
}

bool AfxUpDownWidget::eventFilter(QObject* watched, QEvent* event) {
    // The type is tested first: while the buddy is being destroyed it is no longer a QLineEdit,
    // and comparing it with the guarded pointer would cast it to one.
    if (event->type() == QEvent::KeyPress && watched == m_buddy) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

namespace {

// The pixels a text covers when drawn with its origin at (0, 0). Measured on a drawing rather than
// taken from the font's glyph boxes, which may be a pixel off for a whole line of CJK text.
QRect TextInk(const QFont& font, const QString& text) {
    if (text.isEmpty())
        return {};
    const QFontMetrics metrics(font);
    const int margin = metrics.height();
    QImage image(metrics.horizontalAdvance(text) + 2 * margin, 3 * margin,
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(margin, margin + metrics.ascent(), text);
    painter.end();
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(line[x]) != 0)
                ink |= QRect(x - margin, y - margin - metrics.ascent(), 1, 1);
    }
    return ink;
}

} // namespace

// The control paints its own background, so a new text repaints the control alone, not the form
// behind it as well.
AfxStaticTextWidget::AfxStaticTextWidget(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextFormat(Qt::PlainText);
    setAutoFillBackground(true);
    m_unshapedFont = font();
    m_unshapedFont.setStyleStrategy(QFont::PreferNoShaping);
}

// Shaping adds nothing to ASCII but kerning, and kerning pairs letters: a text of ASCII in which no
// two letters meet ("X = -12", "R = 255") is drawn the same unshaped, "Point" perhaps not.
const QFont& AfxStaticTextWidget::FaceFor(const QString& text) const {
    bool afterLetter = false;
    for (const QChar c : text) {
        if (c.unicode() >= 0x80 || (afterLetter && c.isLetter()))
            return font();
        afterLetter = c.isLetter();
    }
    return m_unshapedFont;
}

void AfxStaticTextWidget::SetTemplateRect(const QRect& rect) {
    m_templateSize = rect.size();
    move(rect.topLeft());
    Refit();
}

void AfxStaticTextWidget::SetCaption(const QString& text) {
    if (text == this->text())
        return;
    setText(text);
    Refit();
}

void AfxStaticTextWidget::Refit() {
    const TextExtent extent = MeasureText(text());
    m_ink = extent.ink;
    m_advance = extent.advance;
    // Fixed, not merely resized: a label of fixed size tells nobody of a new text, where any other
    // label has its parent lay out again on every read-out change, which the parent does not need.
    setFixedSize(FittedSize());
    update();
}

AfxStaticTextWidget::TextExtent AfxStaticTextWidget::MeasureText(const QString& text) {
    if (const TextExtent* extent = m_measured.object(text))
        return *extent;
    const QFont& face = FaceFor(text);
    const TextExtent extent{TextInk(face, text), QFontMetrics(face).horizontalAdvance(text)};
    m_measured.insert(text, new TextExtent(extent));
    return extent;
}

QSize AfxStaticTextWidget::FittedSize() const {
    if (m_ink.isEmpty())
        return m_templateSize;
    const int width = TextOrigin().x() + std::max(m_advance, m_ink.right() + 1);
    return {std::max(m_templateSize.width(), width), std::max(m_templateSize.height(), m_ink.height())};
}

QPoint AfxStaticTextWidget::TextOrigin() const {
    const int x = std::max(0, -m_ink.left());
    if (m_ink.isEmpty())
        return {x, fontMetrics().ascent()};
    const int lowestFitting = std::max(m_templateSize.height(), m_ink.height()) - 1 - m_ink.bottom();
    return {x, std::max(-m_ink.top(), std::min(fontMetrics().ascent(), lowestFitting))};
}

void AfxStaticTextWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setFont(FaceFor(text()));
    const QPoint origin = TextOrigin();
    const QRect line(origin.x(), origin.y() - fontMetrics().ascent(), width(), fontMetrics().height());
    style()->drawItemText(&painter, line, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, palette(),
                          isEnabled(), text(), foregroundRole());
}

void AfxStaticTextWidget::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        m_unshapedFont = font();
        m_unshapedFont.setStyleStrategy(QFont::PreferNoShaping);
        m_measured.clear();
        Refit();
    }
}

AfxGroupBoxWidget::AfxGroupBoxWidget(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

QRect AfxGroupBoxWidget::TitleRect() const {
    if (title().isEmpty())
        return {};
    // The caption starts one average character in, with a little gap to the line on either side.
    const int indent = fontMetrics().averageCharWidth();
    return {indent, 0, fontMetrics().horizontalAdvance(title()) + 4, fontMetrics().height()};
}

void AfxGroupBoxWidget::paintEvent(QPaintEvent*) {
    // An etched frame, a shadow line with a light one inside it; the style's own group box frame
    // always leaves room for a caption above it.
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, FrameTop(), -1, -1);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(frame.adjusted(1, 1, 0, 0));
    const QRect title = TitleRect();
    if (title.isEmpty())
        return;
    painter.fillRect(title, palette().color(backgroundRole()));
    style()->drawItemText(&painter, title.adjusted(2, 0, -2, 0),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, palette(), isEnabled(),
                          this->title(), QPalette::WindowText);
}

QString AfxGetWidgetText(const QWidget* widget) {
    if (auto* edit = qobject_cast<const QLineEdit*>(widget))
        return edit->text();
    if (auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (auto* group = qobject_cast<const QGroupBox*>(widget))
        return group->title();
    return widget != nullptr ? widget->windowTitle() : QString();
}

// An edit reports a change for every text written into it, even the text it already shows, as the
// framework's edit control does; QLineEdit alone would stay silent then.
void AfxSetWidgetText(QWidget* widget, const QString& text) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        if (edit->text() == text)
            emit edit->textChanged(text);
        else
            edit->setText(text);
    } else if (auto* staticText = qobject_cast<AfxStaticTextWidget*>(widget))
        staticText->SetCaption(text);
    else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(widget))
        group->setTitle(text);
    else if (widget != nullptr)
        widget->setWindowTitle(text);
}

#include "platform/app/CStatusBar.h"

#include "platform/app/CFrameWnd.h"
#include "platform/res/AfxResource.h"
#include "platform/ui/StatusPane.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QScreen>
#include <QStatusBar>

IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    auto* frame = dynamic_cast<CFrameWnd*>(pParentWnd);
    QMainWindow* window = frame != nullptr ? frame->GetFrameWidget() : nullptr;
    auto* bar = new QStatusBar(window);
    if (!AttachToFrame(pParentWnd, bar, dwStyle, nID))
        return FALSE;
    // The panes live in one row of their own, so that their order and stretching are exactly ours.
    auto* row = new QWidget(bar);
    m_pLayout = new QHBoxLayout(row);
    m_pLayout->setContentsMargins(0, 0, 0, 0);
    m_pLayout->setSpacing(2);
    bar->addWidget(row, 1);
    window->setStatusBar(bar);
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
    if (m_pLayout == nullptr || nIDCount < 0)
        return FALSE;
    for (Pane& pane : m_panes)
        delete pane.box;
    m_panes.clear();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int defaultWidth = screen != nullptr ? screen->geometry().width() / 4 : 256;
    for (int i = 0; i < nIDCount; ++i) {
        Pane pane;
        pane.id = lpIDArray != nullptr ? lpIDArray[i] : ID_SEPARATOR;
        CString text;
        if (pane.id != ID_SEPARATOR && !AfxLoadString(pane.id, text))
            return FALSE;
        pane.box = new StatusPane(m_pLayout->parentWidget());
        pane.label = pane.box->Label();
        pane.label->setTextFormat(Qt::PlainText);
        pane.label->setText(QString::fromUtf8(text.GetString()));
        if (pane.id != ID_SEPARATOR) {
            pane.width = pane.label->fontMetrics().horizontalAdvance(pane.label->text()) + 6;
        } else {
            pane.width = defaultWidth;
            if (i == 0)
                pane.style = SBPS_STRETCH | SBPS_NOBORDERS;
        }
        m_pLayout->addWidget(pane.box);
        m_panes.push_back(pane);
        ApplyPaneInfo(i);
    }
    return TRUE;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
    if (!IsPaneIndex(nIndex))
        return;
    Pane& pane = m_panes[static_cast<std::size_t>(nIndex)];
    pane.id = nID;
    pane.style = nStyle;
    pane.width = cxWidth;
    ApplyPaneInfo(nIndex);
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
    if (!IsPaneIndex(nIndex))
        return;
    const Pane& pane = m_panes[static_cast<std::size_t>(nIndex)];
    nID = pane.id;
    nStyle = pane.style;
    cxWidth = pane.width;
}

// The read-outs are written on every mouse move, mostly with the text they already show; only a
// new text costs a repaint of its pane.
BOOL CStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL) {
    if (!IsPaneIndex(nIndex))
        return FALSE;
    QLabel* label = m_panes[static_cast<std::size_t>(nIndex)].label;
    const QString text = QString::fromUtf8(lpszNewText ? lpszNewText : "");
    if (label->text() == text)
        return TRUE;
    // A pane keeps its width whatever it shows: a longer text is cut at its edge, as the message
    // pane's is, and the panes beside it never move.
    label->setText(text);
    return TRUE;
}

CString CStatusBar::GetPaneText(int nIndex) const {
    if (!IsPaneIndex(nIndex))
        return {};
    return CString(m_panes[static_cast<std::size_t>(nIndex)].label->text().toUtf8().constData());
}

QLabel* CStatusBar::GetPaneWidget(int nIndex) const {
    return IsPaneIndex(nIndex) ? m_panes[static_cast<std::size_t>(nIndex)].label : nullptr;
}

namespace {
// Pixels between a pane's border and its text, left and right.
constexpr int kPaneTextGap = 2;
} // namespace

void CStatusBar::ApplyPaneInfo(int nIndex) {
    Pane& pane = m_panes[static_cast<std::size_t>(nIndex)];
    QLabel* label = pane.label;
    StatusPane* box = pane.box;
    if (pane.style & SBPS_NOBORDERS)
        label->setFrameStyle(QFrame::NoFrame);
    else if (pane.style & SBPS_POPOUT)
        label->setFrameStyle(QFrame::Panel | QFrame::Raised);
    else
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    // As in the framework, a pane's width is that of its text; the border and a small gap on each
    // side come on top, so a read-out as wide as the width still shows whole.
    label->setIndent(kPaneTextGap);
    if (pane.style & SBPS_STRETCH) {
        box->LetWidthStretch();
        m_pLayout->setStretch(nIndex, 1);
    } else {
        box->KeepWidth(pane.width + 2 * (label->frameWidth() + kPaneTextGap));
        m_pLayout->setStretch(nIndex, 0);
        DrawWithoutShaping(*label);
    }
    box->updateGeometry(); // a new border changes the label's height
}

// A fixed pane holds a read-out, measured and drawn anew on every mouse move: its digits and
// letters look the same unshaped, and shaping was a large part of a move's cost.
void CStatusBar::DrawWithoutShaping(QLabel& label) {
    QFont font = label.font();
    font.setStyleStrategy(QFont::PreferNoShaping);
    label.setFont(font);
}

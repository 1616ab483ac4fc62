#include "zoom/CZoomView.h"

#include "doc/CTallyscopeDoc.h"
#include "platform/gdi/CDC.h"
#include "res/Resource.h"

#include <algorithm>
#include <cstdint>

IMPLEMENT_DYNCREATE(CZoomView, CFormView)

const MessageMap* CZoomView::ThisMessageMap() {
    static const MessageMap map(CFormView::ThisMessageMap(),
                                {
                                    MapNotify<&CZoomView::OnChangeZoomRate>(EN_CHANGE, IDC_ZOOM_RATE),
                                });
    return &map;
}

namespace {
constexpr int kSquare = 140; // the square's side in window pixels
constexpr int kMiddle = 70;  // its middle row and column
constexpr int kProfileSpan = 60;
constexpr int kRowProfileBase = 100;   // y of a row profile at components 0; 255 reaches y 40
constexpr int kColumnProfileBase = 40; // x of a column profile at components 0; 255 reaches x 100
constexpr COLORREF kOutside = RGB(255, 255, 255);

// The width or height of a white band: the count of source pixels outside the picture times the
// magnification, kept within the square however far outside the position lies.
int BandSize(std::int64_t outsidePixels, int magnification) {
    return static_cast<int>(std::min<std::int64_t>(outsidePixels * magnification, kSquare));
}

struct Channels {
    BOOL red;
    BOOL green;
    BOOL blue;
    int Count() const { return (red ? 1 : 0) + (green ? 1 : 0) + (blue ? 1 : 0); }
};

// The mean of the switched-on components, scaled to 0 .. 60.
int ProfileValue(COLORREF colour, const Channels& channels) {
    const int sum = (channels.red ? GetRValue(colour) : 0) + (channels.green ? GetGValue(colour) : 0) +
                    (channels.blue ? GetBValue(colour) : 0);
    return sum * kProfileSpan / channels.Count() / 255;
}

// A profile curve: the pixels along the middle row (or column) are all read before the curve is
// drawn, so the curve never samples itself.
void DrawProfile(CDC* pDC, const Channels& channels, bool alongRow) {
    if (channels.Count() == 0)
        return;
    int values[kSquare];
    for (int i = 0; i < kSquare; ++i)
        values[i] = ProfileValue(alongRow ? pDC->GetPixel(i, kMiddle) : pDC->GetPixel(kMiddle, i), channels);
    auto pointAt = [&](int i) {
        return alongRow ? CPoint(i, kRowProfileBase - values[i]) : CPoint(kColumnProfileBase + values[i], i);
    };
    pDC->MoveTo(pointAt(0));
    for (int i = 1; i < kSquare; ++i)
        pDC->LineTo(pointAt(i));
}
} // namespace

CZoomView::CZoomView() : CFormView(IDD_ZOOM_FORM) {}
CZoomView::~CZoomView() = default;

CTallyscopeDoc* CZoomView::GetDocument() const {
    return static_cast<CTallyscopeDoc*>(CView::GetDocument());
}

void CZoomView::DoDataExchange(CDataExchange* pDX) {
    CFormView::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ZOOM_SPIN, m_spinRate);
    DDX_Control(pDX, IDC_ZOOM_PICTURE, m_picture);
    for (const auto& [nID, pValue] : ChannelSwitches())
        DDX_Check(pDX, nID, *pValue);
    // The magnification divides the square: a value outside 1 .. 10 is refused and the last good
    // one kept, so 0 or a negative size never reaches the division.
    int magnification = m_nMagnification;
    DDX_Text(pDX, IDC_ZOOM_RATE, magnification);
    DDV_MinMaxInt(pDX, magnification, kMinMagnification, kMaxMagnification);
    m_nMagnification = magnification;
    for (const auto& [nID, pText] : ReadOuts())
        DDX_Text(pDX, nID, *pText);
}

std::array<CZoomView::ReadOut, 6> CZoomView::ReadOuts() {
    return {{{IDC_ZOOM_SOURCE, &m_strSource},
             {IDC_ZOOM_X, &m_strX},
             {IDC_ZOOM_Y, &m_strY},
             {IDC_ZOOM_B, &m_strB},
             {IDC_ZOOM_G, &m_strG},
             {IDC_ZOOM_R, &m_strR}}};
}

std::array<CZoomView::ChannelSwitch, 6> CZoomView::ChannelSwitches() {
    return {{{IDC_ROW_BLUE, &m_bRowBlue},
             {IDC_COL_BLUE, &m_bColBlue},
             {IDC_ROW_GREEN, &m_bRowGreen},
             {IDC_COL_GREEN, &m_bColGreen},
             {IDC_ROW_RED, &m_bRowRed},
             {IDC_COL_RED, &m_bColRed}}};
}

void CZoomView::OnInitialUpdate() {
    CFormView::OnInitialUpdate();
    m_spinRate.SendMessage(UDM_SETRANGE, 0, MAKELONG(kMaxMagnification, kMinMagnification));
    m_spinRate.SendMessage(UDM_SETPOS, 0, MAKELONG(static_cast<WORD>(m_nMagnification), 0));
}

void CZoomView::OnChangeZoomRate() {
    CTallyscopeDoc* pDoc = GetDocument();
    if (pDoc == nullptr || pDoc->m_pPicture == nullptr)
        return;
    // A refused text has had its one message; the last good value goes back into the box at once,
    // so the redraw's own reading of the form does not complain a second time.
    if (!UpdateData(TRUE))
        UpdateData(FALSE);
    if (!m_bHasPosition) {
        BITMAP info;
        if (GetObject(pDoc->GetBitmapHandle(), sizeof(BITMAP), &info) == 0)
            info = BITMAP();
        m_nLastX = info.bmWidth / 2;
        m_nLastY = info.bmHeight / 2;
    }
    UpdateZoom(m_nLastX, m_nLastY, m_bPoint);
}

void CZoomView::UpdateZoom(int nX, int nY, BOOL bPoint) {
    CTallyscopeDoc* pDoc = GetDocument();
    if (pDoc == nullptr || pDoc->m_pPicture == nullptr)
        return;
    m_bPoint = bPoint;
    m_nLastX = nX;
    m_nLastY = nY;
    m_bHasPosition = true;

    CDC* pDC = m_picture.GetDC();
    DrawSquare(pDC, nX, nY);
    DrawProfilesAndReadOut(pDC);
    m_picture.ReleaseDC(pDC);

    m_strSource = bPoint ? "Point" : "Mouse";
    m_strX.Format("X = %d", nX);
    m_strY.Format("Y = %d", -nY); // upward positive, as the status bar counts
    ShowReadOuts();
}

// This runs on every mouse move: after the first time, only the read-outs whose text changed are
// pushed, unless the whole form was read (and may have refused the magnification's text).
void CZoomView::ShowReadOuts() {
    const bool whole = !m_bReadOutsShown || m_bFormRead;
    if (whole)
        UpdateData(FALSE);
    const std::array<ReadOut, 6> readOuts = ReadOuts();
    for (std::size_t i = 0; i < readOuts.size(); ++i) {
        const auto& [nID, pText] = readOuts[i];
        if (!whole && *pText != m_shownReadOuts[i]) {
            if (CWnd* control = GetDlgItem(nID))
                control->SetWindowText(*pText);
        }
        m_shownReadOuts[i] = *pText;
    }
    m_bReadOutsShown = true;
}

// The channel switches take effect with every drawing. The whole form is read only when the
// magnification's box holds other than the value in use, so that a text it refuses is said as
// before; otherwise the switches are all that can have changed.
void CZoomView::ReadChannelSwitches() {
    CString rate;
    CString inUse;
    if (CWnd* box = GetDlgItem(IDC_ZOOM_RATE))
        box->GetWindowText(rate);
    inUse.Format("%d", m_nMagnification);
    m_bFormRead = rate != inUse;
    if (m_bFormRead) {
        UpdateData(TRUE);
        return;
    }
    for (const auto& [nID, pValue] : ChannelSwitches()) {
        if (auto* button = dynamic_cast<CButton*>(GetDlgItem(nID)))
            *pValue = button->GetCheck() == BST_CHECKED ? TRUE : FALSE;
    }
}

// The source square of side 140 / m around the position, stretched over the whole square, with
// white bands over the parts that lie outside the picture.
void CZoomView::DrawSquare(CDC* pDC, int nX, int nY) {
    CTallyscopeDoc* pDoc = GetDocument();
    CDC memDC;
    memDC.CreateCompatibleDC(pDC);
    CBitmap bitmap;
    BITMAP info;
    CBitmap* pOldBitmap = nullptr;
    if (bitmap.Attach(pDoc->GetBitmapHandle())) {
        pOldBitmap = memDC.SelectObject(&bitmap);
        bitmap.GetBitmap(&info);
    }
    const int m = std::clamp(m_nMagnification, kMinMagnification, kMaxMagnification);
    const int src = kSquare / m;
    const int half = src / 2;
    pDC->StretchBlt(0, 0, kSquare, kSquare, &memDC, nX - half, nY - half, src, src, SRCCOPY);
    if (pOldBitmap != nullptr)
        memDC.SelectObject(pOldBitmap);
    bitmap.Detach();
    memDC.DeleteDC();

    const std::int64_t x = nX;
    const std::int64_t y = nY;
    if (x - half < 0)
        pDC->FillSolidRect(0, 0, BandSize(half - x, m), kSquare, kOutside);
    if (x + half > info.bmWidth) {
        const int w = BandSize(x + half - info.bmWidth, m);
        pDC->FillSolidRect(kSquare - w, 0, w, kSquare, kOutside);
    }
    if (y - half < 0)
        pDC->FillSolidRect(0, 0, kSquare, BandSize(half - y, m), kOutside);
    if (y + half > info.bmHeight) {
        const int h = BandSize(y + half - info.bmHeight, m);
        pDC->FillSolidRect(0, kSquare - h, kSquare, h, kOutside);
    }
}

// The profiles of the switched-on channels, the colour read-out of the middle pixel as now shown
// (pushed to the form by the caller), and then the cross, which the read-out never sees.
void CZoomView::DrawProfilesAndReadOut(CDC* pDC) {
    CPen rowPen(PS_SOLID, 1, RGB(0, 255, 0));
    CPen* pOldPen = pDC->SelectObject(&rowPen);
    ReadChannelSwitches();
    DrawProfile(pDC, Channels{m_bRowRed, m_bRowGreen, m_bRowBlue}, true);
    pDC->SelectObject(pOldPen);

    CPen columnPen(PS_SOLID, 1, RGB(255, 0, 0));
    pOldPen = pDC->SelectObject(&columnPen);
    DrawProfile(pDC, Channels{m_bColRed, m_bColGreen, m_bColBlue}, false);
    pDC->SelectObject(pOldPen);

    const COLORREF centre = pDC->GetPixel(kMiddle, kMiddle);
    m_strR.Format("R = %d", GetRValue(centre));
    m_strG.Format("G = %d", GetGValue(centre));
    m_strB.Format("B = %d", GetBValue(centre));

    pDC->MoveTo(0, kMiddle);
    pDC->LineTo(kSquare, kMiddle);
    pDC->MoveTo(kMiddle, 0);
    pDC->LineTo(kMiddle, kSquare);
}

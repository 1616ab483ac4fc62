#pragma once
// The magnifier form in the zoom window: a 140 x 140 square magnifying the pixels around one image
// pixel, marked with a cross, with its position and its red, green and blue components as text,
// and optional intensity profiles through the middle row (green curve) and the middle column (red
// curve) built from the channels switched on. The square is drawn into the picture frame only when
// a position arrives or the magnification changes; a repaint of the form leaves the frame blank.

#include "platform/app/CFormView.h"
#include "platform/ui/CControls.h"

#include <array>

class CTallyscopeDoc;

class CZoomView : public CFormView {
    DECLARE_DYNCREATE(CZoomView)
    DECLARE_MESSAGE_MAP()
public:
    CZoomView();
    ~CZoomView() override;

    CTallyscopeDoc* GetDocument() const;

    void OnInitialUpdate() override;
    // Draws the neighbourhood of image pixel (nX, nY); bPoint tells a selected point from the mouse.
    void UpdateZoom(int nX, int nY, BOOL bPoint);
    void OnChangeZoomRate();

    CSpinButtonCtrl m_spinRate;
    CStatic m_picture;
    BOOL m_bRowBlue = FALSE;
    BOOL m_bColBlue = FALSE;
    BOOL m_bRowGreen = FALSE;
    BOOL m_bColGreen = FALSE;
    BOOL m_bRowRed = FALSE;
    BOOL m_bColRed = FALSE;
    int m_nMagnification = 2;
    CString m_strSource = "Mouse";
    CString m_strX;
    CString m_strY;
    CString m_strB;
    CString m_strG;
    CString m_strR;
    BOOL m_bPoint = FALSE;
    // The last position; before the first one arrives, the middle of the picture stands in.
    int m_nLastX = 0;
    int m_nLastY = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    // The controls and the members they show, each listed once for both the form's exchange and the
    // per-move path that touches only these.
    struct ReadOut {
        int nID;
        CString* pText;
    };
    struct ChannelSwitch {
        int nID;
        BOOL* pValue;
    };
    std::array<ReadOut, 6> ReadOuts();
    std::array<ChannelSwitch, 6> ChannelSwitches();

    void DrawSquare(CDC* pDC, int nX, int nY);
    void DrawProfilesAndReadOut(CDC* pDC);
    void ReadChannelSwitches();
    void ShowReadOuts();

    bool m_bHasPosition = false;
    bool m_bReadOutsShown = false; // the read-outs were pushed once
    bool m_bFormRead = false;      // the last drawing read the whole form
    CString m_shownReadOuts[6];    // as last pushed, in the order of ReadOuts()
};

// The magnifications the box accepts.
inline constexpr int kMinMagnification = 1;
inline constexpr int kMaxMagnification = 10;

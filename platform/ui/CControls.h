#pragma once
// The framework's control classes as dialogs and forms use them: CStatic, CButton, CEdit, CListBox
// and CSpinButtonCtrl. Each is a thin handle on a control widget built from a template; the
// control's state lives in the widget, so a temporary handle from GetDlgItem and a member bound by
// DDX_Control see the same control. List indexes count from 0; LB_ERR answers a bad index.

#include "platform/core/CString.h"
#include "platform/picture/Picture.h"
#include "platform/ui/CWnd.h"

#include <memory>

// List box messages and results.
inline constexpr UINT LB_ADDSTRING = 0x0180;
inline constexpr UINT LB_INSERTSTRING = 0x0181;
inline constexpr UINT LB_DELETESTRING = 0x0182;
inline constexpr UINT LB_RESETCONTENT = 0x0184;
inline constexpr UINT LB_SETCURSEL = 0x0186;
inline constexpr UINT LB_GETCURSEL = 0x0188;
inline constexpr UINT LB_GETCOUNT = 0x018B;
inline constexpr UINT LB_SELECTSTRING = 0x018C;
inline constexpr int LB_ERR = -1;

// Button messages and check states.
inline constexpr UINT BM_GETCHECK = 0x00F0;
inline constexpr UINT BM_SETCHECK = 0x00F1;
inline constexpr int BST_UNCHECKED = 0;
inline constexpr int BST_CHECKED = 1;

// Up-down messages. UDM_SETRANGE's long parameter holds the upper limit in its low word and the
// lower limit in its high word, each a signed 16-bit value; UDM_SETPOS takes the position in the
// low word; UDM_GETPOS answers the position in the low word and a non-zero high word on error.
inline constexpr UINT UDM_SETRANGE = 0x0465;
inline constexpr UINT UDM_GETRANGE = 0x0466;
inline constexpr UINT UDM_SETPOS = 0x0467;
inline constexpr UINT UDM_GETPOS = 0x0468;
inline constexpr UINT UDM_SETRANGE32 = 0x046F;

class KeptSurface;

// A static control keeps what GetDC draws on it (a picture frame its form paints) until its form
// repaints over it; it then shows its own background again.
class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    CStatic();
    ~CStatic() override;

    // A bitmap static (SS_BITMAP) shows a copy of the bitmap, centred, at the device pixel ratio the
    // bitmap's image carries; a null handle shows nothing. Other statics ignore it.
    void SetBitmap(HBITMAP hBitmap);

protected:
    QImage* GetDrawingSurface() override;
    void PresentDrawingSurface() override;

private:
    std::unique_ptr<KeptSurface> m_pKeptSurface;
};

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    int GetCheck() const;
    void SetCheck(int nCheck);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) override;
};

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    // Selects characters nStart up to nEnd; nEnd -1 selects to the end.
    void SetSel(int nStart, int nEnd);
};

class CListBox : public CWnd {
    DECLARE_DYNAMIC(CListBox)
public:
    // Adds a line: in sorted order with the sort style, else at the end. Returns its index.
    int AddString(LPCTSTR lpszItem);
    // Inserts a line at the index (-1: at the end) without sorting. Returns its index or LB_ERR.
    int InsertString(int nIndex, LPCTSTR lpszItem);
    // Deletes a line; a deleted selected line leaves no selection. Returns the lines left or LB_ERR.
    int DeleteString(UINT nIndex);
    void ResetContent();
    int GetCount() const;
    // The selected line's index, or LB_ERR when none is selected.
    int GetCurSel() const;
    // Selects a line; -1 clears the selection. Returns LB_ERR for -1 or a bad index.
    int SetCurSel(int nSelect);
    // The line's text; returns its length, or LB_ERR for a bad index.
    int GetText(int nIndex, CString& rString) const;
    // Selects the first line after nStartAfter (-1: from the top, wrapping round) that begins with
    // the text, ignoring case. Returns its index, or LB_ERR leaving the selection as it was.
    int SelectString(int nStartAfter, LPCTSTR lpszItem);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) override;
};

class CSpinButtonCtrl : public CWnd {
    DECLARE_DYNAMIC(CSpinButtonCtrl)
public:
    void SetRange(short nLower, short nUpper);
    void SetRange32(int nLower, int nUpper);
    void GetRange32(int& nLower, int& nUpper) const;
    // Moves to the position (clamped to the range) and writes it into an integer buddy; returns
    // the previous position.
    int SetPos(int nPos);
    // The position as the buddy shows it; the high word is non-zero when the buddy's text is not a
    // position inside the range.
    int GetPos() const;
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) override;
};

#pragma once
// The framework's data exchange between a dialog's members and its controls. DoDataExchange lists
// the fields; each DDX_ call moves one of them control-ward (m_bSaveAndValidate FALSE) or
// member-ward (TRUE). Ints are shown in plain decimal and doubles in the general format with up to
// 15 significant digits; on the way back a text must parse whole, or the framework's message is
// shown, that field gets the focus and the exchange stops. Whether the members read before the
// failing field keep their new values depends on the write mode the dialog or form chose.

#include "platform/core/CString.h"

#include <functional>
#include <vector>

class CWnd;
class DialogItems;

inline constexpr const char* AFX_MSG_PARSE_INT = "整数を入力してください。";
inline constexpr const char* AFX_MSG_PARSE_REAL = "数値を入力してください。";
inline constexpr const char* AFX_MSG_PARSE_INT_RANGE = "%d から %d までの整数を入力してください。";

// Thrown by CDataExchange::Fail and caught where the exchange started.
struct AfxDataExchangeFailure {};

class CDataExchange {
public:
    enum class WriteMode {
        Immediate,   // each member is written as soon as its field has been read, and stays written
        AllOrNothing // as Immediate, but a failing field puts back the members read before it
    };

    CDataExchange(CWnd* pDlgWnd, DialogItems& items, BOOL bSaveAndValidate, WriteMode mode);

    // The control the next exchange works on, remembered so that Fail can focus it. Null when the
    // dialog has no control with the id.
    CWnd* PrepareCtrl(int nIDC);
    CWnd* PrepareEditCtrl(int nIDC);
    // Focuses the last prepared control (an edit with its text selected) and ends the exchange.
    [[noreturn]] void Fail();

    // Hands a value read from a control to its member at once, so that a range check right after
    // it sees the new value; with AllOrNothing the old value is kept for Fail to put back.
    template <class T> void Store(T& member, const T& value) {
        if (m_mode == WriteMode::AllOrNothing)
            m_undoWrites.push_back([&member, previous = member] { member = previous; });
        member = value;
    }

    DialogItems& GetItems() { return m_items; }

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

private:
    DialogItems& m_items;
    WriteMode m_mode;
    int m_idLastControl = 0;
    std::vector<std::function<void()>> m_undoWrites;
};

void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// A check box: 0 clear, 1 checked.
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// A list box: the selected line's text (empty without a selection); control-ward, selects the
// first line beginning with the text.
void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value);
// Binds a control object to the control once; afterwards GetDlgItem answers that object.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// Member-ward, refuses a value read by the DDX_Text just before it when it lies outside nMin to
// nMax: the framework's range message, that field focused, the exchange stopped.
void DDV_MinMaxInt(CDataExchange* pDX, int value, int nMin, int nMax);

// How DDX_Text shows and reads numbers. An int is an optional sign and decimal digits within 32
// bits; a double is a finite decimal number in fixed or exponent notation. Spaces around either
// are allowed; nothing else.
CString AfxFormatDouble(double value);
bool AfxParseInt(const CString& text, int& value);
bool AfxParseDouble(const CString& text, double& value);

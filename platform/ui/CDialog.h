#pragma once
// The framework's modal dialog on a dialog template. DoModal hands the dialog to the modal host,
// which builds its window (CreateModalWindow), runs OnInitDialog (InitModalWindow), lets the user
// work until EndDialog, and destroys the window again. Controls report through the message table
// (MapNotify with BN_CLICKED, EN_CHANGE, LBN_DBLCLK); OK and Cancel, the Escape key and the close
// box end up in OnOK and OnCancel. On OK every field is read back; when one does not parse, no
// member changes and the dialog stays open.

#include "platform/ui/CDataExchange.h"
#include "platform/ui/CWnd.h"

#include <memory>

class DialogItems;
class QDialog;
class QWidget;

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Runs the dialog through the modal host; IDOK, IDCANCEL, or -1 when it cannot be shown.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    // Pushes the members into the controls, then returns TRUE to give the first tab stop the focus.
    virtual BOOL OnInitDialog();
    // Reads the fields back and ends with IDOK, unless a field does not parse.
    virtual void OnOK();
    virtual void OnCancel();

    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    CWnd* GetDlgItem(int nID) const override;
    UINT GetTemplateId() const { return m_nIDTemplate; }

    // The modal host's side of a run. CreateModalWindow builds the window and its controls (null
    // without a template); the dialog owns it until DestroyModalWindow.
    QDialog* CreateModalWindow(QWidget* parent);
    void InitModalWindow();
    bool HasEnded() const { return m_bEnded; }
    INT_PTR GetModalResult() const { return m_nModalResult; }
    void DestroyModalWindow();

protected:
    virtual void DoDataExchange(CDataExchange* pDX);

    CWnd* m_pParentWnd;

private:
    void OnControlNotify(int id, UINT code);

    UINT m_nIDTemplate;
    std::unique_ptr<DialogItems> m_pItems;
    bool m_bEnded = false;
    INT_PTR m_nModalResult = -1;
};

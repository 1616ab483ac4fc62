#pragma once
// The About box: template IDD_ABOUTBOX, with nothing to exchange and no handlers of its own.

#include "platform/ui/CDialog.h"
#include "res/Resource.h"

class CAboutDlg : public CDialog {
public:
    enum { IDD = IDD_ABOUTBOX };
    CAboutDlg() : CDialog(IDD) {}
};

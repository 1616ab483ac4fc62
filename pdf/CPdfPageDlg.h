#pragma once
// Asks which page of a PDF to open and at what resolution: the page (from 1, with arrows), the
// resolution in dots per inch, typed or set with the 150, 300 and 600 buttons, the size the
// picture will have, and a preview of the page chosen. OK refuses a page or resolution the
// picture loader would refuse, with the loader's own reason, and stays open.

#include "platform/picture/PdfPageRenderer.h"
#include "platform/ui/CControls.h"
#include "platform/ui/CDialog.h"

#include <QImage>

class CPdfPageDlg : public CDialog {
    DECLARE_MESSAGE_MAP()
public:
    // The lowest and highest resolution the dialog takes; within them, the picture's size decides
    // (a small figure may be rendered finely, a poster not).
    static constexpr int kMinDpi = kLowestPdfDpi;
    static constexpr int kMaxDpi = kHighestPdfDpi;

    CPdfPageDlg(const PdfPageRenderer& renderer, const QString& fileName, CWnd* pParent = nullptr);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnChangePage();
    void OnChangeDpi();
    void OnDpi150() { SetDpiText(150); }
    void OnDpi300() { SetDpiText(300); }
    void OnDpi600() { SetDpiText(600); }

    // The preview shown, for tests: the page it shows (0 for none) and its pixels.
    int GetPreviewPage() const { return m_nPreviewPage; }
    const QImage& GetPreview() const { return m_preview; }

    int m_nPage = 1;
    int m_nDpi = kDefaultPdfDpi;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

private:
    // The whole number an edit holds, or 0 when it holds none.
    int ReadNumber(int nID) const;
    void SetDpiText(int dpi);
    void ShowPreview(int page);
    void ShowPixelSize();

    const PdfPageRenderer& m_renderer;
    QString m_fileName;
    CStatic m_previewControl;
    CSpinButtonCtrl m_pageSpin;
    QImage m_preview;
    int m_nPreviewPage = 0;
};

#include "pdf/CPdfPageDlg.h"

#include "pdf/PdfOpening.h"
#include "platform/ui/ModalHost.h"
#include "res/Resource.h"

#include <QWidget>

const MessageMap* CPdfPageDlg::ThisMessageMap() {
    static const MessageMap map(CDialog::ThisMessageMap(),
                                {
                                    MapNotify<&CPdfPageDlg::OnChangePage>(EN_CHANGE, IDC_PDF_PAGE),
                                    MapNotify<&CPdfPageDlg::OnChangeDpi>(EN_CHANGE, IDC_PDF_DPI),
                                    MapNotify<&CPdfPageDlg::OnDpi150>(BN_CLICKED, IDC_PDF_DPI_150),
                                    MapNotify<&CPdfPageDlg::OnDpi300>(BN_CLICKED, IDC_PDF_DPI_300),
                                    MapNotify<&CPdfPageDlg::OnDpi600>(BN_CLICKED, IDC_PDF_DPI_600),
                                });
    return &map;
}

CPdfPageDlg::CPdfPageDlg(const PdfPageRenderer& renderer, const QString& fileName, CWnd* pParent)
    : CDialog(IDD_PDF_PAGE, pParent), m_renderer(renderer), m_fileName(fileName) {}

void CPdfPageDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PDF_PREVIEW, m_previewControl);
    DDX_Control(pDX, IDC_PDF_PAGE_SPIN, m_pageSpin);
    DDX_Text(pDX, IDC_PDF_PAGE, m_nPage);
    DDV_MinMaxInt(pDX, m_nPage, 1, m_renderer.PageCount());
    DDX_Text(pDX, IDC_PDF_DPI, m_nDpi);
    DDV_MinMaxInt(pDX, m_nDpi, kMinDpi, kMaxDpi);
}

BOOL CPdfPageDlg::OnInitDialog() {
    CString title;
    title.Format("%s のページと解像度", m_fileName.toUtf8().constData());
    SetWindowText(title);
    const BOOL result = CDialog::OnInitDialog();
    m_pageSpin.SetRange32(1, m_renderer.PageCount());
    m_pageSpin.SetPos(m_nPage);
    CString count;
    count.Format("(全 %d ページ)", m_renderer.PageCount());
    if (CWnd* label = GetDlgItem(IDC_PDF_PAGE_COUNT))
        label->SetWindowText(count);
    if (m_nPreviewPage != m_nPage) // the page's edit, filled above, may have shown it already
        ShowPreview(m_nPage);
    ShowPixelSize();
    return result;
}

// The page and resolution must be ones the loader takes: a refusal is said here, where they can
// still be changed, rather than after the dialog has gone.
void CPdfPageDlg::OnOK() {
    if (!UpdateData(TRUE))
        return;
    const PdfPageChoice choice{m_nPage, m_nDpi};
    const HRESULT hr = m_renderer.Check(choice);
    if (FAILED(hr)) {
        AfxMessageBox(PdfOpening::RefusalMessage(hr, m_fileName, choice, &m_renderer), MB_OK | MB_ICONWARNING);
        return;
    }
    EndDialog(IDOK);
}

void CPdfPageDlg::OnChangePage() {
    const int page = ReadNumber(IDC_PDF_PAGE);
    if (page >= 1 && page <= m_renderer.PageCount() && page != m_nPreviewPage)
        ShowPreview(page);
    ShowPixelSize();
}

void CPdfPageDlg::OnChangeDpi() {
    ShowPixelSize();
}

int CPdfPageDlg::ReadNumber(int nID) const {
    CWnd* edit = GetDlgItem(nID);
    if (edit == nullptr)
        return 0;
    CString text;
    edit->GetWindowText(text);
    bool ok = false;
    const int number = QString::fromUtf8(text.GetString()).trimmed().toInt(&ok);
    return ok ? number : 0;
}

void CPdfPageDlg::SetDpiText(int dpi) {
    if (CWnd* edit = GetDlgItem(IDC_PDF_DPI))
        edit->SetWindowText(QByteArray::number(dpi).constData());
}

// The preview is rendered at the screen's resolution, so that it is as sharp as the box allows.
void CPdfPageDlg::ShowPreview(int page) {
    QWidget* box = m_previewControl.GetSafeHwnd();
    if (box == nullptr)
        return;
    const qreal ratio = box->devicePixelRatioF();
    m_preview = m_renderer.RenderPreview(page, (QSizeF(box->size()) * ratio).toSize());
    m_preview.setDevicePixelRatio(ratio);
    m_nPreviewPage = m_preview.isNull() ? 0 : page;
    m_previewControl.SetBitmap(m_preview.isNull() ? nullptr : &m_preview);
}

void CPdfPageDlg::ShowPixelSize() {
    const int page = ReadNumber(IDC_PDF_PAGE);
    const int dpi = ReadNumber(IDC_PDF_DPI);
    CString text;
    if (page >= 1 && page <= m_renderer.PageCount() && dpi >= kMinDpi && dpi <= kMaxDpi) {
        const QSize size = m_renderer.PixelSize(page, dpi);
        text.Format("%d × %d ピクセル", size.width(), size.height());
    }
    if (CWnd* label = GetDlgItem(IDC_PDF_PIXEL_SIZE))
        label->SetWindowText(text);
}

#include "pdf/PdfOpening.h"

#include "pdf/CPdfPageDlg.h"
#include "platform/app/CWinApp.h"
#include "platform/picture/PdfDocument.h"
#include "platform/picture/PdfPageRenderer.h"
#include "platform/picture/PictureDecoder.h"
#include "platform/res/AfxResource.h"
#include "platform/ui/CWaitCursor.h"
#include "platform/ui/ModalHost.h"
#include "res/Resource.h"

#include <QFileInfo>

namespace {

constexpr const char* kProfileSection = "PDF";
constexpr const char* kProfileDpi = "Resolution";

QByteArray Utf8(const QString& text) {
    return text.toUtf8();
}

void Refuse(HRESULT hr, const QString& fileName, const PdfPageChoice& choice, const PdfPageRenderer* renderer) {
    AfxMessageBox(PdfOpening::RefusalMessage(hr, fileName, choice, renderer), MB_OK | MB_ICONWARNING);
}

// The page and resolution the user picks in the dialog, which starts from the remembered
// resolution; nothing when the user cancels.
std::optional<PdfPageChoice> AskForPage(const PdfPageRenderer& renderer, const QString& fileName) {
    CPdfPageDlg dialog(renderer, fileName);
    dialog.m_nDpi = PdfOpening::RememberedDpi();
    if (dialog.DoModal() != IDOK)
        return std::nullopt;
    PdfOpening::RememberDpi(dialog.m_nDpi);
    return PdfPageChoice{dialog.m_nPage, dialog.m_nDpi};
}

// Rendering a page at a high resolution takes a while: the wait cursor shows for it, and is gone
// before any message about the outcome.
HRESULT RenderWaiting(const QString& path, const PdfPageChoice& choice, IPictureDisp** ppPicture) {
    CWaitCursor wait;
    return OleLoadPdfPage(COleVariant(Utf8(path).constData()), choice, ppPicture);
}

} // namespace

std::unique_ptr<IPictureDisp> PdfOpening::Load(const QString& path, const std::optional<PdfPageChoice>& preset,
                                               bool& cancelled) {
    cancelled = false;
    const QString fileName = QFileInfo(path).fileName();
    std::optional<PdfPageChoice> choice = preset;
    {
        const PdfPageRenderer renderer(path);
        const PdfPageChoice checked = choice.value_or(PdfPageChoice{1, RememberedDpi()});
        const HRESULT status = renderer.Check(checked);
        if (renderer.Status() != S_OK || (preset && FAILED(status))) {
            Refuse(renderer.Status() != S_OK ? renderer.Status() : status, fileName, checked, &renderer);
            return nullptr;
        }
        if (!choice)
            choice = AskForPage(renderer, fileName);
        cancelled = !choice;
        if (!choice)
            return nullptr;
    }
    IPictureDisp* picture = nullptr;
    const HRESULT hr = RenderWaiting(path, *choice, &picture);
    if (FAILED(hr)) {
        Refuse(hr, fileName, *choice, nullptr);
        return nullptr;
    }
    return std::unique_ptr<IPictureDisp>(picture);
}

CString PdfOpening::RefusalMessage(HRESULT hr, const QString& fileName, const PdfPageChoice& choice,
                                   const PdfPageRenderer* renderer) {
    const QByteArray name = Utf8(fileName);
    CString text;
    switch (hr) {
    case PDF_E_DAMAGED:
        text.Format(kMsgPdfDamaged, name.constData());
        break;
    case PDF_E_LOCKED:
        text.Format(kMsgPdfLocked, name.constData());
        break;
    case PDF_E_NO_PAGES:
        text.Format(kMsgPdfNoPages, name.constData());
        break;
    case PDF_E_NO_SUCH_PAGE:
        text.Format(kMsgPdfNoSuchPage, name.constData(), choice.page, renderer ? renderer->PageCount() : 0);
        break;
    case PDF_E_BAD_RESOLUTION:
        text.Format(kMsgPdfBadResolution, choice.dpi, name.constData());
        break;
    case PDF_E_TOO_LARGE: {
        const QSize size = renderer ? renderer->PixelSize(choice.page, choice.dpi) : QSize();
        text.Format(kMsgPdfTooLarge, name.constData(), choice.page, choice.dpi, size.width(), size.height(),
                    kPictureAllocationLimitMB);
        break;
    }
    case PDF_E_NO_RENDERER:
        text.Format(kMsgPdfNoRenderer, kPdfModuleFileName, name.constData());
        break;
    case E_OUTOFMEMORY:
        text.Format(kMsgPdfOutOfMemory, name.constData(), choice.page, choice.dpi);
        break;
    default:
        text.Format(kMsgPdfDamaged, name.constData());
        break;
    }
    return text;
}

CString PdfOpening::Title(const CString& fileName, const PdfPageChoice& choice) {
    CString title;
    title.Format(kMsgPdfTitle, fileName.GetString(), choice.page, choice.dpi);
    return title;
}

int PdfOpening::RememberedDpi() {
    const CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return kDefaultPdfDpi;
    bool ok = false;
    const int dpi = QString::fromUtf8(app->GetProfileString(kProfileSection, kProfileDpi, "").GetString()).toInt(&ok);
    return ok && dpi >= CPdfPageDlg::kMinDpi && dpi <= CPdfPageDlg::kMaxDpi ? dpi : kDefaultPdfDpi;
}

void PdfOpening::RememberDpi(int dpi) {
    if (CWinApp* app = AfxGetApp())
        app->WriteProfileString(kProfileSection, kProfileDpi, QByteArray::number(dpi).constData());
}

CString PdfOpening::OpenFilters() {
    QStringList patterns;
    for (const QString& suffix : DecodablePictureSuffixes())
        patterns << "*." + suffix;
    patterns << "*.pdf";
    return AfxLoadString(IDS_OPEN_FILTER_PDF) + "|*.pdf|" + AfxLoadString(IDS_OPEN_FILTER_PICTURES) + "|" +
           CString(Utf8(patterns.join(';')).constData()) + "|";
}

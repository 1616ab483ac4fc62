#include "platform/picture/Picture.h"

#include "platform/picture/PdfPageRenderer.h"
#include "platform/picture/PictureDecoder.h"
#include "platform/picture/PicturePrefetch.h"

#include <QImage>

#include <cmath>

IPicture::IPicture(std::unique_ptr<QImage> image, std::optional<PdfPageChoice> pdfPage)
    : m_image(std::move(image)), m_pdfPage(pdfPage) {}
IPicture::~IPicture() = default;

HRESULT IPicture::get_Type(short* pType) const {
    *pType = m_image ? PICTYPE_BITMAP : PICTYPE_NONE;
    return S_OK;
}

HRESULT IPicture::get_Handle(OLE_HANDLE* pHandle) const {
    *pHandle = m_image.get();
    return m_image ? S_OK : E_FAIL;
}

HRESULT IPicture::get_Width(OLE_XSIZE_HIMETRIC* pWidth) const {
    if (!m_image)
        return E_FAIL;
    *pWidth = AfxPixelsToHimetric(m_image->width());
    return S_OK;
}

HRESULT IPicture::get_Height(OLE_YSIZE_HIMETRIC* pHeight) const {
    if (!m_image)
        return E_FAIL;
    *pHeight = AfxPixelsToHimetric(m_image->height());
    return S_OK;
}

long AfxPixelsToHimetric(int pixels) { return std::lround(static_cast<double>(pixels) * 2540.0 / 96.0); }

HRESULT OleLoadPictureFile(const COleVariant& varFileName, IPictureDisp** ppPicture) {
    *ppPicture = nullptr;
    const QString path = QString::fromUtf8(varFileName.m_bstrVal.GetString());
    std::optional<DecodedPicture> decoded = PicturePrefetch::Take(path);
    if (!decoded)
        decoded = DecodePictureFile(path);
    if (FAILED(decoded->result))
        return decoded->result;
    *ppPicture = new IPicture(std::move(decoded->image));
    return decoded->result;
}

HRESULT OleLoadPdfPage(const COleVariant& varFileName, const PdfPageChoice& choice, IPictureDisp** ppPicture) {
    *ppPicture = nullptr;
    const QString path = QString::fromUtf8(varFileName.m_bstrVal.GetString());
    const FileIdentity before = FileIdentity::Of(path);
    DecodedPicture rendered = PdfPageRenderer(path).Render(choice);
    if (FAILED(rendered.result))
        return rendered.result;
    // A file rewritten while poppler read it may have given a page of two files.
    if (!before.IsValid() || !(FileIdentity::Of(path) == before))
        return PDF_E_DAMAGED;
    *ppPicture = new IPicture(std::move(rendered.image), choice);
    return S_OK;
}

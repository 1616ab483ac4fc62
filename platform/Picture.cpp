#include "platform/Picture.h"

#include <QImage>
#include <QImageReader>
#include <QPainter>

#include <cmath>

IPicture::IPicture(std::unique_ptr<QImage> image) : m_image(std::move(image)) {}
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

namespace {
// Transparent pixels (a GIF's transparent index) are shown on white, as a picture on paper.
std::unique_ptr<QImage> ToOpaque32Bit(QImage decoded) {
    if (!decoded.hasAlphaChannel())
        return std::make_unique<QImage>(decoded.convertToFormat(QImage::Format_RGB32));
    auto opaque = std::make_unique<QImage>(decoded.size(), QImage::Format_RGB32);
    if (opaque->isNull())
        return nullptr;
    opaque->fill(Qt::white);
    QPainter painter(opaque.get());
    painter.drawImage(0, 0, decoded);
    return opaque;
}
} // namespace

HRESULT OleLoadPictureFile(const COleVariant& varFileName, IPictureDisp** ppPicture) {
    *ppPicture = nullptr;
    if (QImageReader::allocationLimit() < kPictureAllocationLimitMB)
        QImageReader::setAllocationLimit(kPictureAllocationLimitMB);
    QImageReader reader(QString::fromUtf8(varFileName.m_bstrVal.GetString()));
    reader.setAutoTransform(false);
    QImage decoded;
    if (!reader.read(&decoded) || decoded.isNull())
        return CTL_E_INVALIDPICTURE;
    std::unique_ptr<QImage> image = ToOpaque32Bit(std::move(decoded));
    if (!image || image->isNull())
        return E_OUTOFMEMORY;
    *ppPicture = new IPicture(std::move(image));
    return S_OK;
}

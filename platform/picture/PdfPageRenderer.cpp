#include "platform/picture/PdfPageRenderer.h"

#include "platform/picture/PdfDocument.h"
#include "platform/picture/PixelBuffer.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr double kPointsPerInch = 72.0;
// Where a PDF reader looks for the signature: some files carry a few bytes before it.
constexpr qint64 kSignatureWindow = 1024;

// A length in points at the resolution, in whole pixels, rounded as poppler sizes a whole page.
double PixelLength(double points, int dpi) {
    return std::round(points * dpi / kPointsPerInch);
}

// The band's rows as opaque 32-bit pixels, which the picture's memory packs into 24 bits.
bool MakeOpaque32Bit(QImage& band) {
    switch (band.format()) {
    case QImage::Format_RGB32:
        return true;
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        band.convertTo(QImage::Format_RGB32); // the paper is opaque: nothing shows through
        return true;
    default:
        band.convertTo(QImage::Format_RGB32);
        return !band.isNull();
    }
}

} // namespace

PdfPageRenderer::PdfPageRenderer(const QString& path, qint64 bandBytes) : m_bandBytes(bandBytes) {
    if (QFileInfo(path).size() == 0) {
        m_status = PDF_E_NO_PAGES;
        return;
    }
    m_document = PdfDocument::Open(path, m_status, &m_moduleError);
    if (m_document != nullptr)
        m_status = m_document->PageCount() > 0 ? S_OK : PDF_E_NO_PAGES;
}

PdfPageRenderer::~PdfPageRenderer() = default;

bool PdfPageRenderer::IsPdfFile(const QString& path) {
    if (QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0)
        return true;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(kSignatureWindow).contains("%PDF-");
}

int PdfPageRenderer::PageCount() const {
    return m_status == S_OK ? m_document->PageCount() : 0;
}

QSizeF PdfPageRenderer::PageSizePoints(int page) const {
    if (page < 1 || page > PageCount())
        return QSizeF();
    return m_document->PageSizePoints(page - 1);
}

QSize PdfPageRenderer::PixelSize(int page, int dpi) const {
    const QSizeF points = PageSizePoints(page);
    const auto clamped = [](double pixels) { return static_cast<int>(std::min<double>(pixels, INT_MAX)); };
    return QSize(clamped(PixelLength(points.width(), dpi)), clamped(PixelLength(points.height(), dpi)));
}

// The picture must fit the loader's limit in its 24-bit rows, and one of its rows a band.
HRESULT PdfPageRenderer::Check(const PdfPageChoice& choice) const {
    if (m_status != S_OK)
        return m_status;
    if (choice.page < 1 || choice.page > PageCount())
        return PDF_E_NO_SUCH_PAGE;
    if (choice.dpi <= 0)
        return PDF_E_BAD_RESOLUTION;
    const QSizeF points = PageSizePoints(choice.page);
    const double width = PixelLength(points.width(), choice.dpi);
    const double height = PixelLength(points.height(), choice.dpi);
    if (width < 1.0 || height < 1.0)
        return PDF_E_BAD_RESOLUTION;
    if (3.0 * width * height > kPictureAllocationLimitMB * 1048576.0 || 4.0 * width > m_bandBytes)
        return PDF_E_TOO_LARGE;
    return S_OK;
}

DecodedPicture PdfPageRenderer::Render(const PdfPageChoice& choice) const {
    DecodedPicture result;
    result.result = Check(choice);
    if (FAILED(result.result))
        return result;
    const QSize size = PixelSize(choice.page, choice.dpi);
    PixelBuffer pixels(size.width(), size.height(), QImage::Format_RGB888);
    if (!pixels.IsValid()) {
        result.result = E_OUTOFMEMORY;
        return result;
    }
    if (!RenderBands(choice.page, choice.dpi, size, pixels)) {
        result.result = PDF_E_DAMAGED;
        return result;
    }
    result.image = pixels.Release();
    result.result = S_OK;
    return result;
}

// Each band is the same part of the whole page rendered at once (PdfDocument::Render).
bool PdfPageRenderer::RenderBands(int page, int dpi, QSize size, PixelBuffer& pixels) const {
    const int bandRows = static_cast<int>(std::clamp<qint64>(m_bandBytes / (4 * qint64{size.width()}), 1, size.height()));
    for (int top = 0; top < size.height(); top += bandRows) {
        const int rows = std::min(bandRows, size.height() - top);
        QImage band = m_document->Render(page - 1, dpi, QRect(0, top, size.width(), rows));
        if (band.isNull() || band.size() != QSize(size.width(), rows) || !MakeOpaque32Bit(band) ||
            !pixels.PackRowsFrom(band, top))
            return false;
    }
    return true;
}

QImage PdfPageRenderer::RenderPreview(int page, QSize box) const {
    const QSizeF points = PageSizePoints(page);
    if (points.isEmpty() || box.isEmpty())
        return QImage();
    const double scale = std::min(box.width() / points.width(), box.height() / points.height());
    const double dpi = kPointsPerInch * scale;
    const int width = std::max(1, static_cast<int>(std::floor(points.width() * scale)));
    const int height = std::max(1, static_cast<int>(std::floor(points.height() * scale)));
    QImage preview = m_document->Render(page - 1, dpi, QRect(0, 0, width, height));
    if (!preview.isNull() && !MakeOpaque32Bit(preview))
        return QImage();
    return preview;
}

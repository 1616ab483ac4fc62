#pragma once
// A page of a PDF made into a picture: poppler's Qt binding (PdfDocument) renders the page at a chosen
// resolution, antialiased (graphics and text), on white paper, into the one 24-bit image the
// program holds (QImage::Format_RGB888, as PictureDecoder leaves every picture). The page is
// rendered a band of rows at a time, each band packed into the picture's rows as it comes, so that
// beside the picture nothing larger than a band is held. A PDF the program cannot show is refused
// with a code that names why (PictureResult.h): not a readable PDF, locked by a password, no pages,
// no such page, no usable resolution, or a page larger than the largest picture the loader takes.
//
// Page numbers count from 1; sizes are in points (1/72 inch) and pixels, a pixel of the picture
// covering 72 / dpi points, the picture's top-left corner the page's top-left corner.

#include "platform/picture/PictureResult.h"

#include <QImage>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <memory>

class PdfDocument;
class PixelBuffer;

class PdfPageRenderer {
public:
    // The most bytes a band of 32-bit rows takes while it is rendered.
    static constexpr qint64 kBandBytes = qint64{64} << 20;

    // Opens the file; Status() says whether it can be rendered.
    explicit PdfPageRenderer(const QString& path, qint64 bandBytes = kBandBytes);
    ~PdfPageRenderer();
    PdfPageRenderer(const PdfPageRenderer&) = delete;
    PdfPageRenderer& operator=(const PdfPageRenderer&) = delete;

    // Whether the file names a PDF: one that begins with the PDF signature, or, whatever it holds,
    // one whose name ends in .pdf (so that an empty or damaged PDF is refused as a PDF).
    static bool IsPdfFile(const QString& path);

    // S_OK, PDF_E_DAMAGED, PDF_E_LOCKED, PDF_E_NO_PAGES or PDF_E_NO_RENDERER.
    HRESULT Status() const { return m_status; }
    // Why the PDF module could not be loaded, for PDF_E_NO_RENDERER.
    const QString& ModuleError() const { return m_moduleError; }
    int PageCount() const;
    // The page's size in points, its own rotation applied; empty for a page not in the file.
    QSizeF PageSizePoints(int page) const;
    // The picture's size for the page at the resolution, in pixels.
    QSize PixelSize(int page, int dpi) const;
    // Whether the page at the resolution can be rendered: S_OK or the refusal.
    HRESULT Check(const PdfPageChoice& choice) const;
    // The page at the resolution as the program's picture; on failure no image and the refusal.
    DecodedPicture Render(const PdfPageChoice& choice) const;
    // The page scaled to fit the box, for a preview (32-bit, white paper); null on failure.
    QImage RenderPreview(int page, QSize box) const;

private:
    bool RenderBands(int page, int dpi, QSize size, PixelBuffer& pixels) const;

    std::unique_ptr<PdfDocument> m_document;
    HRESULT m_status = PDF_E_DAMAGED;
    QString m_moduleError;
    qint64 m_bandBytes;
};

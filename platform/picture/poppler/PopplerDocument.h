#pragma once
// The PDF module's document: poppler's Qt binding rendering with its own rasteriser (Splash),
// antialiased graphics and text on white paper, as the page would be printed.

#include "platform/picture/PdfDocument.h"

namespace Poppler {
class Document;
}

class PopplerDocument final : public PdfDocument {
public:
    explicit PopplerDocument(std::unique_ptr<Poppler::Document> document);
    ~PopplerDocument() override;

    int PageCount() const override;
    QSizeF PageSizePoints(int index) const override;
    QImage Render(int index, double dpi, QRect area) const override;

private:
    std::unique_ptr<Poppler::Document> m_document;
};

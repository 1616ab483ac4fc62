#pragma once
// A PDF as the page renderer needs it: how many pages, each page's size, and any rows of a page
// rendered at a resolution, antialiased on white paper. poppler's Qt binding gives it from a module
// of its own (poppler/PopplerDocument), loaded the first time a PDF is opened (EngineModule).

#include "platform/picture/PictureResult.h"

#include <QImage>
#include <QRect>
#include <QSizeF>
#include <QString>

#include <memory>

class PdfDocument {
public:
    virtual ~PdfDocument() = default;

    // Pages count from 0 here.
    virtual int PageCount() const = 0;
    // The page's size in points, its own rotation applied; empty when poppler cannot tell.
    virtual QSizeF PageSizePoints(int index) const = 0;
    // The part of the page that area covers when the whole page is rendered at dpi; null on failure.
    virtual QImage Render(int index, double dpi, QRect area) const = 0;

    // The file opened as a PDF; null with status PDF_E_DAMAGED, PDF_E_LOCKED or PDF_E_NO_RENDERER
    // (the module cannot be loaded: why is in moduleError).
    static std::unique_ptr<PdfDocument> Open(const QString& path, HRESULT& status, QString* moduleError = nullptr);
};

// What the module gives: the document, or null with the status as above.
using PdfDocumentOpener = PdfDocument* (*)(const QString& path, HRESULT* status);
inline constexpr const char* kPdfModuleName = "tallyscope-pdf";
inline constexpr const char* kPdfModuleFileName = "libtallyscope-pdf.so";
inline constexpr const char* kPdfOpenerName = "tallyscope_open_pdf";

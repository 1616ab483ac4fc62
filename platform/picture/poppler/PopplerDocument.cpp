#include "platform/picture/poppler/PopplerDocument.h"

#include <poppler-qt6.h>

#include <QColor>

namespace {

// poppler tells the terminal what it thinks of a damaged file; the program says it to the user.
void IgnorePopplerMessage(const QString&, const QVariant&) {}

void SilencePoppler() {
    static const bool silenced = [] {
        Poppler::setDebugErrorFunction(IgnorePopplerMessage, QVariant());
        return true;
    }();
    (void)silenced;
}

void PrepareForRendering(Poppler::Document& document) {
    document.setRenderBackend(Poppler::Document::SplashBackend);
    document.setRenderHint(Poppler::Document::Antialiasing, true);
    document.setRenderHint(Poppler::Document::TextAntialiasing, true);
    document.setPaperColor(Qt::white);
}

} // namespace

PopplerDocument::PopplerDocument(std::unique_ptr<Poppler::Document> document) : m_document(std::move(document)) {
    PrepareForRendering(*m_document);
}

PopplerDocument::~PopplerDocument() = default;

int PopplerDocument::PageCount() const {
    return m_document->numPages();
}

QSizeF PopplerDocument::PageSizePoints(int index) const {
    const std::unique_ptr<Poppler::Page> page = m_document->page(index);
    return page ? page->pageSizeF() : QSizeF();
}

// poppler renders an area as the same part of the whole page rendered at once: the page is laid out
// at the full resolution and only the area is drawn.
QImage PopplerDocument::Render(int index, double dpi, QRect area) const {
    const std::unique_ptr<Poppler::Page> page = m_document->page(index);
    return page ? page->renderToImage(dpi, dpi, area.x(), area.y(), area.width(), area.height()) : QImage();
}

extern "C" __attribute__((visibility("default"))) PdfDocument* tallyscope_open_pdf(const QString& path,
                                                                                   HRESULT* status) {
    SilencePoppler();
    std::unique_ptr<Poppler::Document> document = Poppler::Document::load(path);
    if (!document) {
        *status = PDF_E_DAMAGED;
        return nullptr;
    }
    if (document->isLocked()) {
        *status = PDF_E_LOCKED;
        return nullptr;
    }
    *status = S_OK;
    return new PopplerDocument(std::move(document));
}

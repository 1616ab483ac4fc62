#include "platform/picture/PdfDocument.h"

#include "platform/core/EngineModule.h"

std::unique_ptr<PdfDocument> PdfDocument::Open(const QString& path, HRESULT& status, QString* moduleError) {
    const auto open = reinterpret_cast<PdfDocumentOpener>(EngineModule::Function(kPdfModuleName, kPdfOpenerName, moduleError));
    if (open == nullptr) {
        status = PDF_E_NO_RENDERER;
        return nullptr;
    }
    status = PDF_E_DAMAGED;
    return std::unique_ptr<PdfDocument>(open(path, &status));
}

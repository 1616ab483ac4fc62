#include "platform/core/AfxGlobals.h"

namespace {
std::function<CDocument*()>& ActiveDocumentSource() {
    static std::function<CDocument*()> source;
    return source;
}
} // namespace

CDocument* AfxGetActiveDocument() {
    const std::function<CDocument*()>& source = ActiveDocumentSource();
    return source ? source() : nullptr;
}

void AfxSetActiveDocumentSource(std::function<CDocument*()> source) {
    ActiveDocumentSource() = std::move(source);
}

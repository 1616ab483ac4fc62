#include "TestDocuments.h"

#include "doc/CTallyscopeDoc.h"

#include <memory>

void AttachPicture(CTallyscopeDoc& doc, const QImage& image) {
    delete doc.m_pPicture;
    doc.m_pPicture = new CPictureHolder;
    doc.m_pPicture->SetPictureDispatch(
        new IPicture(std::make_unique<QImage>(image.convertToFormat(QImage::Format_RGB888))));
}

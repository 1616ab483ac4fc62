#include "TestDocuments.h"

#include "doc/CTallyscopeDoc.h"
#include "doc/DataFileWriter.h"
#include "platform/core/CStdioFile.h"

#include <QFile>

#include <memory>

void AttachPicture(CTallyscopeDoc& doc, const QImage& image) {
    delete doc.m_pPicture;
    doc.m_pPicture = new CPictureHolder;
    doc.m_pPicture->SetPictureDispatch(
        new IPicture(std::make_unique<QImage>(image.convertToFormat(QImage::Format_RGB888))));
}

QByteArray ExportBytes(const CTallyscopeDoc& doc, const QString& path) {
    CStdioFile file;
    if (!file.Open(path.toUtf8().constData(), CFile::modeCreate | CFile::modeWrite))
        return QByteArray("<not written>");
    DataFileWriter(doc, file).Write();
    file.Close();
    QFile written(path);
    return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray("<missing>");
}

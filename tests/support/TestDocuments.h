#pragma once
// Documents with a picture, made without going through a file.

#include <QImage>

class CTallyscopeDoc;

// Gives the document a picture holding a copy of the image in 24-bit rows, as opening a file
// would (the data and calibration are left as they are).
void AttachPicture(CTallyscopeDoc& doc, const QImage& image);

class QByteArray;
class QString;
// The .dat export of the document as it is now, written to path and read back; nothing of the
// document changes (it stays unexported).
QByteArray ExportBytes(const CTallyscopeDoc& doc, const QString& path);

#pragma once
// Documents with a picture, made without going through a file.

#include <QImage>

class CTallyscopeDoc;

// Gives the document a picture holding a copy of the image in 24-bit rows, as opening a file
// would (the data and calibration are left as they are).
void AttachPicture(CTallyscopeDoc& doc, const QImage& image);

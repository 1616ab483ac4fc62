#pragma once
// Turns a picture file into the one image the program holds: 24-bit rows (QImage::Format_RGB888),
// opaque (transparent pixels shown on white, as a picture on paper), decoded once with no second
// copy of the picture along the way. JPEG goes straight from the file into the rows through
// libjpeg-turbo (JpegReader); BMP, GIF and every other format Qt reads go through Qt's image
// plugins, whose 32-bit result is narrowed to 24 bits in place, or for an uncompressed BMP, a strip
// of rows at a time into the 24-bit rows.
//
// Damage is judged by what the format and the decoder say (PictureIntegrity, the JPEG decoder's
// warnings, the reader's error state), never by the pixels. A damaged file is refused, or, where a
// useful part of it was decoded, loaded with S_PICTURE_INCOMPLETE and the rest filled the same way
// every time: white rows for a BMP that breaks off, the decoders' own fill for JPEG and GIF.

#include "platform/picture/PictureResult.h"

#include <QString>
#include <QStringList>

#include <memory>

class QImage;

// Decodes the named file. The file is opened once and read, never mapped; one that changes while it
// is read (cut short, rewritten, replaced) is refused rather than shown as a mixture. Safe to call
// on any thread once the QApplication exists and AllowLargePictures has run.
DecodedPicture DecodePictureFile(const QString& path);

// The rows of an uncompressed BMP this wide that are decoded at a time. Qt's reader would decode
// the whole picture at 32 bits a pixel, a third more than the 24-bit picture it becomes; decoded a
// strip at a time, nothing larger than a strip is held beside the picture.
int BmpStripRows(int width);

// The file name suffixes of every kind of picture the decoder reads, in lower case ("bmp", "jpg",
// ...): JPEG, and whatever Qt's image plugins read on this system.
QStringList DecodablePictureSuffixes();

// Lets Qt's readers decode pictures up to kPictureAllocationLimitMB (Qt's own limit is 256 MB).
// The limit is one setting for the whole program, read by every reader, so it is raised once, on
// the main thread, before any decoding starts on another.
void AllowLargePictures();

#pragma once
// JPEG files decoded with libjpeg-turbo's libjpeg interface, streamed from the file straight into
// the picture's 24-bit rows, so that neither the compressed file nor a 32-bit copy is ever held
// alongside the picture. Colour conversion (YCbCr, greyscale, RGB) is libjpeg's own; CMYK and
// YCCK files, which libjpeg gives as CMYK, are turned into RGB row by row as Qt's plugin does.
//
// Every warning of the decoder is heard, with its code: a file that only lacks its end marker, or
// carries stray bytes before a marker, has had every pixel decoded and loads as whole. Any other
// warning (data ending inside a scan, corrupt entropy-coded data) marks the picture incomplete,
// and a file whose damage comes before the first row was decoded, or that the decoder gives up on,
// is refused.

#include "platform/picture/PictureDecoder.h"

#include <QString>

// Whether the bytes begin as a JPEG file does.
bool IsJpegSignature(const QByteArray& head);

// Decodes the JPEG file open on the descriptor, from its start; the descriptor stays open and its
// position is not kept. A file whose colour space libjpeg cannot give as RGB or CMYK answers
// E_NOTIMPL, so that the caller can try Qt's reader.
DecodedPicture ReadJpegFile(int descriptor);

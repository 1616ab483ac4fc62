#pragma once
// GIF files made by the tests and benchmarks themselves, since Qt reads GIF but cannot write it:
// one image, 8-bit global colour table, real LZW compression with variable code widths. The
// writer also says where the parts of the file lie, so that tests can damage them on purpose.

#include <QByteArray>
#include <QImage>

#include <optional>

struct GifFile {
    QByteArray bytes;
    int lzwCodeSizeOffset = 0; // the image's "LZW minimum code size" byte
    int imageDataOffset = 0;   // the first data sub-block of the image
    int trailerOffset = 0;     // the final ';'
};

// Writes the image. Up to 256 distinct colours are kept exactly (Qt's own reduction to 8 bits
// handles more). With a transparent colour, pixels of exactly that colour are marked transparent
// through a graphic control extension.
GifFile WriteGif(const QImage& image, std::optional<QRgb> transparent = std::nullopt);

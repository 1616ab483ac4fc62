#pragma once
// Picture files made byte by byte for the loader's tests: intact ones in each format the program
// opens, and the ways real files come damaged. Qt writes BMP and JPEG; GIF and run-length encoded
// BMP are written here (GifWriter, EncodeRleBmp).

#include <QByteArray>
#include <QImage>

#include <vector>

// A 16-colour picture of bands and diagonals, so that rows and columns can be told apart; colour
// index 0 (used only where nothing else is drawn) is pure red.
QImage MakePalettePicture(int width, int height);
// A picture of soft gradients with a few sharp lines, as a chart scan looks to a JPEG encoder.
QImage MakeScanPicture(int width, int height);

QByteArray EncodeWithQt(const QImage& image, const char* format, int quality = 90);
// A CMYK JPEG as Adobe writes it (inverted values), written with libjpeg since Qt writes none.
// Pixel (R, G, B) is stored as C = R, M = G, Y = B with K = 255, except that every third column
// stores K = 170 and so comes out darker.
QByteArray EncodeCmykJpeg(const QImage& image);

enum class JpegScans { Progressive, OneComponentEach };
// A JPEG of several scans, written with libjpeg: progressive (libjpeg's usual series of spectral
// and refining scans), or sequential with each colour component in a scan of its own.
QByteArray EncodeMultiScanJpeg(const QImage& image, JpegScans scans);
// Where each scan of a JPEG begins (its SOS marker), in file order.
std::vector<int> JpegScanStarts(const QByteArray& jpeg);

enum class RleDepth { Eight, Four };
// A bottom-up BMP with RLE8 or RLE4 compression of a picture of at most 16 colours (256 for
// RLE8): runs of at most 255, an end-of-line code after each row, an end-of-bitmap code at the end.
// With shortRow set, that row stops half-way with its end-of-line code, leaving the rest unset.
QByteArray EncodeRleBmp(const QImage& palettePicture, RleDepth depth, int shortRow = -1);

enum class BitFields { Rgb565, Argb8888 };
// A bottom-up BMP with BI_BITFIELDS: 16-bit pixels of 5, 6 and 5 bits (masks after a 40-byte
// header), or 32-bit pixels with alpha (masks in a 108-byte header).
QByteArray EncodeBitFieldsBmp(const QImage& picture, BitFields fields);

// Where the pixel data of a BMP begin (its declared offset).
int BmpPixelOffset(const QByteArray& bmp);
// Where the entropy-coded data of a JPEG's first scan begin (right after its SOS header).
int JpegScanDataOffset(const QByteArray& jpeg);

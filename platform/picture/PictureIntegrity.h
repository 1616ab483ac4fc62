#pragma once
// What a picture file's own structure says about how much of its picture it really holds, read
// before any decoder runs: the declared pixel data against the file's size for BMP (and every run
// of an RLE bitmap), the block structure of the first image for GIF. Decoders fill what a file
// does not define in ways of their own, some with whatever memory held before, so the loader
// refuses or marks a damaged file from these findings rather than from the pixels it gets.
//
// Damage a real file commonly carries and decoders fully recover from is not damage here: bytes
// after a BMP's pixel data, a GIF that ends without its trailer or breaks off after its first
// image.

#include <QtGlobal>

class QIODevice;

enum class FileIntegrity {
    Whole,      // every pixel of the picture is in the file
    Incomplete, // the file breaks off inside the pixel data; a useful part of it is there
    Unusable,   // no usable picture: no pixel data, or pixel data that cannot be placed
};

struct BmpIntegrity {
    FileIntegrity integrity = FileIntegrity::Unusable;
    // Uncompressed and Incomplete: the rows the file holds in full, counted in file order, which
    // is from the bottom of the picture up unless the bitmap is stored top-down.
    int completeRows = 0;
    bool topDown = false;
    // Run-length encoded and Whole: the runs leave some pixels unset (end-of-line or end-of-bitmap
    // codes before a row is full, jumps), which the bitmap then shows in its first palette colour.
    bool leavesGaps = false;
    // Uncompressed: where the rows begin in the file and the bytes each row takes there.
    qint64 pixelsAt = 0;
    qint64 stride = 0;
    // Uncompressed, with the rows at the offset the header declares, past everything a decoder
    // reads before them (headers, colour masks, palette): any run of rows put after a copy of the
    // bytes before the first row reads as those rows of the picture.
    bool rowsStandAlone = false;
};

struct GifIntegrity {
    FileIntegrity integrity = FileIntegrity::Unusable;
};

// Checks a whole BMP file (beginning "BM") of the given size, read from the device. A file that
// turns out shorter than the size while it is read has changed under the check: Unusable.
BmpIntegrity CheckBmpFile(QIODevice& file, qint64 size);
// Checks a whole GIF file (beginning "GIF8") up to the end of its first image, likewise.
GifIntegrity CheckGifFile(QIODevice& file, qint64 size);

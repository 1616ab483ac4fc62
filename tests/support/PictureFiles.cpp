#include "PictureFiles.h"

#include <QBuffer>
#include <QPainter>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include <jpeglib.h>

namespace {

void PutLe(QByteArray& out, quint32 value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

quint32 ReadLe32(const QByteArray& bytes, int at) {
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<uchar>(bytes[at + i]);
    return value;
}

// The runs of one row as (length, index) pairs, each at most 255 long.
std::vector<std::pair<int, int>> RowRuns(const QImage& picture, int y, int width) {
    std::vector<std::pair<int, int>> runs;
    const uchar* row = picture.constScanLine(y);
    for (int x = 0; x < width;) {
        int length = 1;
        while (x + length < width && length < 255 && row[x + length] == row[x])
            ++length;
        runs.emplace_back(length, row[x]);
        x += length;
    }
    return runs;
}

struct BmpLayout {
    int width;
    int height;
    int depth;
    quint32 compression;
    int infoSize;   // 40, or 108 with the colour masks and a colour space in the header
    int extraBytes; // colour masks or palette between the headers and the pixels
};

// The file header and the info header of a bottom-up BMP; what lies between them and the pixels
// is for the caller to write.
QByteArray BmpHeaders(const BmpLayout& layout, int colours, int pixelBytes) {
    const int pixelsAt = 14 + layout.infoSize + layout.extraBytes;
    QByteArray bmp("BM");
    PutLe(bmp, static_cast<quint32>(pixelsAt + pixelBytes), 4);
    PutLe(bmp, 0, 4);
    PutLe(bmp, static_cast<quint32>(pixelsAt), 4);
    PutLe(bmp, static_cast<quint32>(layout.infoSize), 4);
    PutLe(bmp, static_cast<quint32>(layout.width), 4);
    PutLe(bmp, static_cast<quint32>(layout.height), 4);
    PutLe(bmp, 1, 2);
    PutLe(bmp, static_cast<quint32>(layout.depth), 2);
    PutLe(bmp, layout.compression, 4);
    PutLe(bmp, static_cast<quint32>(pixelBytes), 4);
    PutLe(bmp, 2835, 4);
    PutLe(bmp, 2835, 4);
    PutLe(bmp, static_cast<quint32>(colours), 4);
    PutLe(bmp, 0, 4);
    return bmp;
}

// A pixel of a 32-bit picture as the bit fields hold it.
quint32 FieldsOf(QRgb pixel, BitFields fields) {
    if (fields == BitFields::Argb8888)
        return pixel;
    return (static_cast<quint32>(qRed(pixel)) >> 3 << 11) | (static_cast<quint32>(qGreen(pixel)) >> 2 << 5) |
           (static_cast<quint32>(qBlue(pixel)) >> 3);
}

} // namespace

QImage MakePalettePicture(int width, int height) {
    QImage picture(width, height, QImage::Format_Indexed8);
    QList<QRgb> palette{qRgb(255, 0, 0)};
    for (int i = 1; i < 16; ++i)
        palette.append(qRgb(16 * i, 255 - 16 * i, (40 * i) & 0xFF));
    picture.setColorTable(palette);
    for (int y = 0; y < height; ++y) {
        uchar* row = picture.scanLine(y);
        for (int x = 0; x < width; ++x)
            row[x] = static_cast<uchar>(1 + (x / 5 + y / 3 + ((x + y) % 7 == 0 ? 4 : 0)) % 15);
    }
    return picture;
}

QImage MakeScanPicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x)
            row[x] = qRgb(200 + x % 50, 150 + y % 100, (x * 3 + y * 5) & 0xFF);
    }
    QPainter painter(&picture);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(4, height - 4, width - 4, height - 4);
    painter.drawLine(4, 4, 4, height - 4);
    painter.setPen(QPen(Qt::blue, 1));
    painter.drawLine(4, height - 4, width - 4, 4);
    return picture;
}

QByteArray EncodeWithQt(const QImage& image, const char* format, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

namespace {
// A JPEG written by libjpeg: `configure` sets what differs from libjpeg's defaults, `row` gives the
// samples of each row in turn.
QByteArray CompressWithLibjpeg(int width, int height, int components, J_COLOR_SPACE space,
                               const std::function<void(jpeg_compress_struct&)>& configure,
                               const std::function<JSAMPLE*(int y)>& row) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    configure(info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[] = {row(static_cast<int>(info.next_scanline))};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(out), static_cast<qsizetype>(size));
    std::free(out);
    return bytes;
}
} // namespace

QByteArray EncodeCmykJpeg(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::vector<JSAMPLE> samples(4 * static_cast<std::size_t>(rgb.width()));
    // CMYK in the file, with Adobe's marker.
    return CompressWithLibjpeg(
        rgb.width(), rgb.height(), 4, JCS_CMYK,
        [](jpeg_compress_struct& info) { jpeg_set_quality(&info, 95, TRUE); },
        [&](int y) {
            const auto* pixels = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            for (int x = 0; x < rgb.width(); ++x) {
                samples[4 * x] = static_cast<JSAMPLE>(qRed(pixels[x]));
                samples[4 * x + 1] = static_cast<JSAMPLE>(qGreen(pixels[x]));
                samples[4 * x + 2] = static_cast<JSAMPLE>(qBlue(pixels[x]));
                samples[4 * x + 3] = static_cast<JSAMPLE>(x % 3 == 0 ? 170 : 255);
            }
            return samples.data();
        });
}

QByteArray EncodeMultiScanJpeg(const QImage& image, JpegScans scans) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    // One component a scan: the luminance, then each colour difference.
    jpeg_scan_info oneComponentEach[3]{};
    for (int c = 0; c < 3; ++c) {
        oneComponentEach[c].comps_in_scan = 1;
        oneComponentEach[c].component_index[0] = c;
        oneComponentEach[c].Se = DCTSIZE2 - 1;
    }
    return CompressWithLibjpeg(
        rgb.width(), rgb.height(), 3, JCS_RGB,
        [&](jpeg_compress_struct& info) {
            jpeg_set_quality(&info, 90, TRUE);
            if (scans == JpegScans::Progressive) {
                jpeg_simple_progression(&info);
            } else {
                info.scan_info = oneComponentEach;
                info.num_scans = 3;
            }
        },
        [&](int y) { return const_cast<JSAMPLE*>(rgb.constScanLine(y)); });
}

QByteArray EncodeRleBmp(const QImage& palettePicture, RleDepth depth, int shortRow) {
    const bool four = depth == RleDepth::Four;
    const int width = palettePicture.width();
    const int height = palettePicture.height();
    const QList<QRgb> palette = palettePicture.colorTable();
    const int colours = four ? 16 : static_cast<int>(palette.size());

    QByteArray pixels;
    for (int fileRow = 0; fileRow < height; ++fileRow) {
        const int y = height - 1 - fileRow; // bottom-up
        const int rowWidth = y == shortRow ? width / 2 : width;
        for (const auto& [length, index] : RowRuns(palettePicture, y, rowWidth)) {
            pixels.append(static_cast<char>(length));
            pixels.append(static_cast<char>(four ? (index << 4) | index : index));
        }
        pixels.append('\0').append('\0'); // end of line
    }
    pixels.append('\0').append('\1'); // end of bitmap

    QByteArray bmp = BmpHeaders({width, height, four ? 4 : 8, four ? 2u : 1u, 40, 4 * colours}, colours,
                                static_cast<int>(pixels.size())); // BI_RLE4 or BI_RLE8
    for (int i = 0; i < colours; ++i) {
        const QRgb colour = i < palette.size() ? palette[i] : qRgb(0, 0, 0);
        bmp.append(static_cast<char>(qBlue(colour)));
        bmp.append(static_cast<char>(qGreen(colour)));
        bmp.append(static_cast<char>(qRed(colour)));
        bmp.append('\0');
    }
    return bmp + pixels;
}

QByteArray EncodeBitFieldsBmp(const QImage& picture, BitFields fields) {
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    const bool alpha = fields == BitFields::Argb8888;
    const int bytesPerPixel = alpha ? 4 : 2;
    const int stride = (argb.width() * bytesPerPixel + 3) / 4 * 4;
    QByteArray pixels;
    for (int y = argb.height() - 1; y >= 0; --y) { // bottom-up
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            PutLe(pixels, FieldsOf(row[x], fields), bytesPerPixel);
        pixels.append(QByteArray(stride - argb.width() * bytesPerPixel, '\0'));
    }
    const BmpLayout layout{argb.width(),     argb.height(), 8 * bytesPerPixel, 3,
                           alpha ? 108 : 40, alpha ? 0 : 12};
    QByteArray bmp = BmpHeaders(layout, 0, static_cast<int>(pixels.size())); // BI_BITFIELDS
    const std::vector<quint32> masks =
        alpha ? std::vector<quint32>{0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}
              : std::vector<quint32>{0xF800, 0x07E0, 0x001F};
    for (quint32 mask : masks)
        PutLe(bmp, mask, 4);
    if (alpha)
        bmp.append(QByteArray(108 - 40 - 16, '\0')); // no colour space, end points or gamma
    return bmp + pixels;
}

int BmpPixelOffset(const QByteArray& bmp) {
    return static_cast<int>(ReadLe32(bmp, 10));
}

int JpegScanDataOffset(const QByteArray& jpeg) {
    int at = 2; // after SOI
    while (at + 4 <= jpeg.size()) {
        if (static_cast<uchar>(jpeg[at]) != 0xFF)
            return -1;
        const uchar marker = static_cast<uchar>(jpeg[at + 1]);
        const int length = (static_cast<uchar>(jpeg[at + 2]) << 8) | static_cast<uchar>(jpeg[at + 3]);
        if (marker == 0xDA)
            return at + 2 + length;
        at += 2 + length;
    }
    return -1;
}

std::vector<int> JpegScanStarts(const QByteArray& jpeg) {
    // Entropy-coded data never holds 0xFF 0xDA: a 0xFF byte of data is followed by 0x00.
    std::vector<int> starts;
    for (int at = jpeg.indexOf("\xFF\xDA"); at >= 0; at = jpeg.indexOf("\xFF\xDA", at + 2))
        starts.push_back(at);
    return starts;
}

#include "platform/picture/PictureIntegrity.h"

#include <QIODevice>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

// Little-endian reads of the file, through a window of it that moves as the checks go (they go
// forward, but for a look back at a header). The file is read, never mapped: a file that another
// program cuts short meanwhile gives a short read here, which is noted, where a mapping would end
// the process. The caller checks Has() first.
class Bytes {
public:
    Bytes(QIODevice& device, qint64 size) : m_device(device), m_size(size) {}

    bool Has(qint64 at, qint64 count) const {
        return at >= 0 && count >= 0 && at <= m_size && count <= m_size - at;
    }
    quint32 U8(qint64 at) const {
        if (at < m_windowAt || at >= m_windowAt + m_window.size())
            Load(at);
        return at - m_windowAt < m_window.size() ? static_cast<uchar>(m_window[at - m_windowAt]) : 0;
    }
    quint32 U16(qint64 at) const { return U8(at) | (U8(at + 1) << 8); }
    quint32 U32(qint64 at) const { return U16(at) | (U16(at + 2) << 16); }
    // Whether the file held less than its size promised when it was read.
    bool CameShort() const { return m_cameShort; }

private:
    static constexpr qint64 kWindowSize = 64 * 1024;

    void Load(qint64 at) const {
        const qint64 wanted = std::min(kWindowSize, m_size - at);
        m_windowAt = at;
        m_window.resize(0);
        if (wanted <= 0 || !m_device.seek(at)) {
            m_cameShort = true;
            return;
        }
        m_window = m_device.read(wanted);
        if (m_window.size() < wanted)
            m_cameShort = true;
    }

    QIODevice& m_device;
    qint64 m_size;
    mutable QByteArray m_window;
    mutable qint64 m_windowAt = 0;
    mutable bool m_cameShort = false;
};

// ---- BMP ------------------------------------------------------------------------------------------

constexpr qint64 kFileHeaderSize = 14;
constexpr quint32 kCoreHeaderSize = 12; // the old OS/2 header: 16-bit sizes, 3-byte palette entries
constexpr quint32 kInfoHeaderSize = 40;
constexpr quint32 kRgb = 0;
constexpr quint32 kRle8 = 1;
constexpr quint32 kRle4 = 2;
constexpr quint32 kBitFields = 3;

struct BmpHeader {
    qint64 width = 0;
    qint64 height = 0; // negative for a top-down bitmap
    quint32 bitsPerPixel = 0;
    quint32 compression = kRgb;
    qint64 pixelsAt = 0; // where the decoder starts reading pixels
    // Whether the declared offset lies at or past the furthest any decoder reads before the pixels:
    // the whole header (however much of it the decoder takes in), the three colour masks that
    // follow a 40-byte header of a bit-field bitmap, and the palette after the longest header.
    bool offsetPastHeaders = false;
};

// Reads the headers as the decoder does; false for a layout it would not read either.
bool ReadBmpHeader(const Bytes& file, BmpHeader& header) {
    if (!file.Has(0, kFileHeaderSize + 4))
        return false;
    const quint32 declaredOffset = file.U32(10);
    const quint32 infoSize = file.U32(kFileHeaderSize);
    quint32 colourCount = 0;
    qint64 entrySize = 4;
    if (infoSize == kCoreHeaderSize) {
        if (!file.Has(kFileHeaderSize, kCoreHeaderSize))
            return false;
        header.width = static_cast<qint16>(file.U16(18));
        header.height = static_cast<qint16>(file.U16(20));
        header.bitsPerPixel = file.U16(24);
        entrySize = 3;
    } else if (infoSize == 40 || infoSize == 64 || infoSize == 108 || infoSize == 124) {
        if (!file.Has(kFileHeaderSize, kInfoHeaderSize))
            return false;
        header.width = static_cast<qint32>(file.U32(18));
        header.height = static_cast<qint32>(file.U32(22));
        header.bitsPerPixel = file.U16(28);
        header.compression = file.U32(30);
        colourCount = file.U32(46);
    } else {
        return false;
    }
    // A depth the decoder does not know would leave no row size to measure the file by.
    const quint32 depth = header.bitsPerPixel;
    if (header.width <= 0 || header.height == 0 ||
        (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32))
        return false;
    if (header.bitsPerPixel <= 8 && colourCount == 0)
        colourCount = 1u << header.bitsPerPixel;
    if (header.bitsPerPixel > 8)
        colourCount = 0;
    // The palette follows the first 40 bytes of a longer header; the pixels lie at the declared
    // offset, unless that points back into the headers, where they follow the palette instead.
    const qint64 paletteAt = kFileHeaderSize + (infoSize > kInfoHeaderSize ? kInfoHeaderSize : infoSize);
    const qint64 paletteEnd = paletteAt + entrySize * colourCount;
    header.pixelsAt = declaredOffset > paletteEnd ? qint64{declaredOffset} : paletteEnd;
    const qint64 masks = infoSize == kInfoHeaderSize && header.compression == kBitFields ? 12 : 0;
    header.offsetPastHeaders = declaredOffset >= kFileHeaderSize + infoSize + masks + entrySize * colourCount;
    return true;
}

BmpIntegrity CheckUncompressed(const BmpHeader& header, qint64 fileSize) {
    BmpIntegrity result;
    result.topDown = header.height < 0;
    const qint64 rows = std::abs(header.height);
    const qint64 stride = (header.width * header.bitsPerPixel + 31) / 32 * 4;
    const qint64 complete = (fileSize - header.pixelsAt) / stride;
    result.pixelsAt = header.pixelsAt;
    result.stride = stride;
    result.rowsStandAlone = header.offsetPastHeaders;
    if (complete >= rows) {
        result.integrity = FileIntegrity::Whole;
    } else if (complete > 0) {
        result.integrity = FileIntegrity::Incomplete;
        result.completeRows = static_cast<int>(complete);
    }
    return result;
}

// Follows the runs of an RLE8 or RLE4 bitmap without decoding them: every run must fit its row,
// every jump must stay inside the picture, and the codes must last until the picture is full or an
// end-of-bitmap code comes. Anything else means the decoder would put pixels where they do not
// belong, or leave rows it never reached, so the file is not usable.
BmpIntegrity CheckRunLengths(const Bytes& file, const BmpHeader& header) {
    BmpIntegrity result;
    const qint64 width = header.width;
    const qint64 rows = std::abs(header.height);
    const bool fourBits = header.compression == kRle4;
    qint64 x = 0;
    qint64 y = 0;
    qint64 at = header.pixelsAt;
    auto finish = [&](bool gaps) {
        result.integrity = FileIntegrity::Whole;
        result.leavesGaps = gaps;
        return result;
    };
    while (y < rows) {
        if (!file.Has(at, 2))
            return y == rows - 1 && x == width ? finish(result.leavesGaps) : result;
        const quint32 count = file.U8(at);
        const quint32 code = file.U8(at + 1);
        at += 2;
        if (count > 0) { // a run of one value
            if (x + count > width)
                return result;
            x += count;
        } else if (code == 0) { // end of line
            result.leavesGaps |= x < width;
            x = 0;
            ++y;
        } else if (code == 1) { // end of bitmap
            return finish(result.leavesGaps || y < rows - 1 || x < width);
        } else if (code == 2) { // jump right and up
            if (!file.Has(at, 2))
                return result;
            const quint32 dx = file.U8(at);
            const quint32 dy = file.U8(at + 1);
            at += 2;
            result.leavesGaps |= dx > 0 || dy > 0;
            x += dx;
            y += dy;
            if (x > width || y >= rows)
                return result;
        } else { // code pixels given one by one, padded to a 16-bit boundary
            const qint64 bytes = fourBits ? (code + 1) / 2 : code;
            if (x + code > width || !file.Has(at, bytes))
                return result;
            x += code;
            at += bytes + (bytes & 1);
        }
    }
    return finish(result.leavesGaps);
}

// ---- GIF ------------------------------------------------------------------------------------------

constexpr qint64 kGifHeaderSize = 13; // signature, screen size, flags, background, aspect
constexpr int kSmallestCodeSize = 2;
constexpr int kLargestCodeSize = 8; // pixels are at most 8 bits

qint64 ColourTableSize(quint32 flags) {
    return (flags & 0x80) != 0 ? 3 * (qint64{2} << (flags & 0x07)) : 0;
}

// Skips a chain of data sub-blocks; false when the file ends inside it.
bool SkipSubBlocks(const Bytes& file, qint64& at) {
    while (file.Has(at, 1)) {
        const quint32 length = file.U8(at++);
        if (length == 0)
            return true;
        at += length;
    }
    return false;
}

// The LZW data of an image: whole when its chain of sub-blocks ends; incomplete when the file
// breaks off inside it after some data.
GifIntegrity CheckImageData(const Bytes& file, qint64 at) {
    GifIntegrity result;
    bool someData = false;
    while (file.Has(at, 1)) {
        const quint32 length = file.U8(at++);
        if (length == 0) {
            result.integrity = FileIntegrity::Whole;
            return result;
        }
        someData = someData || file.Has(at, 1);
        at += length;
    }
    result.integrity = someData ? FileIntegrity::Incomplete : FileIntegrity::Unusable;
    return result;
}

GifIntegrity CheckGif(const Bytes& file) {
    if (!file.Has(0, kGifHeaderSize))
        return GifIntegrity();
    qint64 at = kGifHeaderSize + ColourTableSize(file.U8(10));
    while (file.Has(at, 1)) {
        const quint32 introducer = file.U8(at++);
        if (introducer == 0x21) { // extension: label, then sub-blocks
            ++at;
            if (!SkipSubBlocks(file, at))
                break;
        } else if (introducer == 0x2C) { // image descriptor
            if (!file.Has(at, 9))
                break;
            at += 9 + ColourTableSize(file.U8(at + 8));
            if (!file.Has(at, 1))
                break;
            const int codeSize = static_cast<int>(file.U8(at++));
            if (codeSize < kSmallestCodeSize || codeSize > kLargestCodeSize)
                break;
            return CheckImageData(file, at);
        } else { // the trailer before any image, or a block no GIF has
            break;
        }
    }
    return GifIntegrity();
}

} // namespace

BmpIntegrity CheckBmpFile(QIODevice& file, qint64 size) {
    const Bytes bytes(file, size);
    BmpHeader header;
    BmpIntegrity result;
    if (ReadBmpHeader(bytes, header) && header.pixelsAt < size) {
        switch (header.compression) {
        case kRgb:
        case kBitFields:
            result = CheckUncompressed(header, size);
            break;
        case kRle8:
        case kRle4:
            result = CheckRunLengths(bytes, header);
            break;
        default:
            break;
        }
    }
    return bytes.CameShort() ? BmpIntegrity() : result;
}

GifIntegrity CheckGifFile(QIODevice& file, qint64 size) {
    const Bytes bytes(file, size);
    const GifIntegrity result = CheckGif(bytes);
    return bytes.CameShort() ? GifIntegrity() : result;
}

#include "GifWriter.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

void PutWord(QByteArray& out, int value) {
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>((value >> 8) & 0xFF));
}

// Packs codes of varying width, least significant bit first, into data sub-blocks of up to 255
// bytes, as GIF's LZW stream is laid out.
class CodePacker {
public:
    void Put(int code, int width) {
        m_accumulator |= static_cast<std::uint32_t>(code) << m_bits;
        m_bits += width;
        while (m_bits >= 8) {
            m_bytes.push_back(static_cast<char>(m_accumulator & 0xFF));
            m_accumulator >>= 8;
            m_bits -= 8;
        }
    }
    void WriteSubBlocks(QByteArray& out) {
        if (m_bits > 0)
            m_bytes.push_back(static_cast<char>(m_accumulator & 0xFF));
        for (std::size_t at = 0; at < m_bytes.size(); at += 255) {
            const std::size_t length = std::min<std::size_t>(255, m_bytes.size() - at);
            out.append(static_cast<char>(length));
            out.append(m_bytes.data() + at, static_cast<qsizetype>(length));
        }
        out.append('\0');
    }

private:
    std::vector<char> m_bytes;
    std::uint32_t m_accumulator = 0;
    int m_bits = 0;
};

// The classic LZW of GIF: a clear code first, the code width grows as the table fills, and a full
// table (4096 codes) is cleared and started again.
void CompressIndices(const QImage& indexed, int minCodeSize, CodePacker& packer) {
    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    constexpr int kMaxCodes = 4096;
    std::vector<std::int16_t> table(static_cast<std::size_t>(kMaxCodes) * 256, -1);
    int nextCode = endCode + 1;
    int width = minCodeSize + 1;
    packer.Put(clearCode, width);
    int prefix = -1;
    for (int y = 0; y < indexed.height(); ++y) {
        const uchar* row = indexed.constScanLine(y);
        for (int x = 0; x < indexed.width(); ++x) {
            const int pixel = row[x];
            if (prefix < 0) {
                prefix = pixel;
                continue;
            }
            std::int16_t& entry = table[static_cast<std::size_t>(prefix) * 256 + pixel];
            if (entry >= 0) {
                prefix = entry;
                continue;
            }
            packer.Put(prefix, width);
            entry = static_cast<std::int16_t>(nextCode++);
            if (nextCode > (1 << width) && width < 12)
                ++width;
            if (nextCode == kMaxCodes) {
                packer.Put(clearCode, width);
                std::fill(table.begin(), table.end(), std::int16_t{-1});
                nextCode = endCode + 1;
                width = minCodeSize + 1;
            }
            prefix = pixel;
        }
    }
    if (prefix >= 0)
        packer.Put(prefix, width);
    packer.Put(endCode, width);
}

} // namespace

GifFile WriteGif(const QImage& image, std::optional<QRgb> transparent) {
    const QImage indexed = image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    QList<QRgb> colours = indexed.colorTable();
    int tableBits = 1; // the table holds 2^tableBits entries, at least 2
    while ((1 << tableBits) < colours.size())
        ++tableBits;
    colours.resize(1 << tableBits, qRgb(0, 0, 0));

    GifFile gif;
    QByteArray& out = gif.bytes;
    out.append("GIF89a");
    PutWord(out, image.width());
    PutWord(out, image.height());
    out.append(static_cast<char>(0x80 | 0x70 | (tableBits - 1))); // global table, 8-bit colour
    out.append('\0');                                             // background index
    out.append('\0');                                             // no aspect ratio
    for (QRgb colour : colours) {
        out.append(static_cast<char>(qRed(colour)));
        out.append(static_cast<char>(qGreen(colour)));
        out.append(static_cast<char>(qBlue(colour)));
    }
    if (transparent) {
        const int index = static_cast<int>(colours.indexOf(*transparent | 0xFF000000u));
        out.append("\x21\xF9\x04", 3);
        out.append(static_cast<char>(index >= 0 ? 0x01 : 0x00));
        PutWord(out, 0);
        out.append(static_cast<char>(index >= 0 ? index : 0));
        out.append('\0');
    }
    out.append(',');
    PutWord(out, 0);
    PutWord(out, 0);
    PutWord(out, image.width());
    PutWord(out, image.height());
    out.append('\0'); // no local table, not interlaced

    const int minCodeSize = std::max(2, tableBits);
    gif.lzwCodeSizeOffset = static_cast<int>(out.size());
    out.append(static_cast<char>(minCodeSize));
    gif.imageDataOffset = static_cast<int>(out.size());
    CodePacker packer;
    CompressIndices(indexed, minCodeSize, packer);
    packer.WriteSubBlocks(out);
    gif.trailerOffset = static_cast<int>(out.size());
    out.append(';');
    return gif;
}

#include "platform/picture/BmpStripDevice.h"

#include "platform/picture/PictureIntegrity.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {

// Where the fields that change with the number of rows lie in a BMP's headers.
constexpr qsizetype kFileSizeAt = 2;
constexpr qsizetype kInfoSizeAt = 14;
constexpr qsizetype kCoreHeightAt = 20; // the old 12-byte header: a 16-bit height
constexpr qsizetype kHeightAt = 22;     // every longer header: a 32-bit height
constexpr qsizetype kImageSizeAt = 34;  // every longer header: the bytes of the pixel data
constexpr quint32 kCoreHeaderSize = 12;

// Writes a field of the headers, where the headers reach that far.
template <typename Field>
void PutField(QByteArray& headers, qsizetype at, Field value) {
    if (at + qsizetype{sizeof(Field)} <= headers.size())
        qToLittleEndian(value, headers.data() + at);
}

// Copies what part holds of the bytes [from, from + maxSize) into data; the number copied.
qint64 CopyFrom(const QByteArray& part, qint64 from, char* data, qint64 maxSize) {
    if (from < 0 || from >= part.size() || maxSize <= 0)
        return 0;
    const qint64 count = std::min(maxSize, part.size() - from);
    std::memcpy(data, part.constData() + from, static_cast<std::size_t>(count));
    return count;
}

} // namespace

BmpStripDevice::BmpStripDevice(QIODevice& file, const BmpIntegrity& bmp, int height)
    : m_file(file), m_pixelsAt(bmp.pixelsAt), m_stride(bmp.stride), m_height(height), m_topDown(bmp.topDown) {
}

bool BmpStripDevice::ReadHeaders() {
    if (!m_file.seek(0))
        return false;
    m_headers = m_file.read(m_pixelsAt);
    return m_headers.size() == m_pixelsAt && m_headers.size() > kInfoSizeAt + 4 &&
           open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

bool BmpStripDevice::ShowRows(int top, int bottom) {
    const int rows = bottom - top;
    // A bottom-up file holds the picture's last row first.
    const int firstInFile = m_topDown ? top : m_height - bottom;
    const qint64 bytes = m_stride * rows;
    m_rows.resize(bytes);
    if (!m_file.seek(m_pixelsAt + m_stride * firstInFile) || m_file.read(m_rows.data(), bytes) != bytes)
        return false;
    DeclareRows(rows);
    return seek(0);
}

void BmpStripDevice::DeclareRows(int rows) {
    const qint64 stored = m_topDown ? -rows : rows;
    PutField(m_headers, kFileSizeAt, static_cast<quint32>(size()));
    if (qFromLittleEndian<quint32>(m_headers.constData() + kInfoSizeAt) == kCoreHeaderSize) {
        PutField(m_headers, kCoreHeightAt, static_cast<quint16>(stored));
        return;
    }
    PutField(m_headers, kHeightAt, static_cast<quint32>(stored));
    PutField(m_headers, kImageSizeAt, static_cast<quint32>(m_rows.size()));
}

qint64 BmpStripDevice::readData(char* data, qint64 maxSize) {
    const qint64 at = pos();
    const qint64 fromHeaders = CopyFrom(m_headers, at, data, maxSize);
    const qint64 rowsAt = at + fromHeaders - m_headers.size();
    return fromHeaders + CopyFrom(m_rows, rowsAt, data + fromHeaders, maxSize - fromHeaders);
}

qint64 BmpStripDevice::writeData(const char*, qint64) {
    return -1;
}

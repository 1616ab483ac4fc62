#pragma once
// One horizontal strip of an uncompressed BMP file, shown to a decoder as a bitmap of its own: the
// file's own bytes before its rows (headers, colour masks, palette) with the height made the
// strip's, then the strip's rows as the file holds them. Qt's BMP reader, given a whole file,
// makes the whole picture at 32 bits a pixel; given one strip at a time, it needs a strip's worth
// of memory and no more.
//
// Every byte comes from the file through the device it was opened as, so that a file cut short or
// rewritten while it is read is noticed there, as for any other read of it.

#include <QByteArray>
#include <QIODevice>

struct BmpIntegrity;

class BmpStripDevice final : public QIODevice {
public:
    // The bitmap in file, found uncompressed with its rows standing alone (BmpIntegrity); height
    // is the picture's number of rows.
    BmpStripDevice(QIODevice& file, const BmpIntegrity& bmp, int height);

    // Reads the bytes before the rows, once, and opens the device; false when the file gives
    // fewer than it promised.
    bool ReadHeaders();
    // Shows rows [top, bottom) of the picture, counted from its top, read from the file now, with
    // the device back at its start for the next decode; false when the file gives fewer bytes
    // than it promised.
    bool ShowRows(int top, int bottom);

    bool isSequential() const override { return false; }
    qint64 size() const override { return m_headers.size() + m_rows.size(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    // Makes the headers describe a bitmap of this many rows, stored as the file stores its own.
    void DeclareRows(int rows);

    QIODevice& m_file;
    qint64 m_pixelsAt;
    qint64 m_stride;
    int m_height;
    bool m_topDown;
    QByteArray m_headers; // the file's bytes before its first row, as declared for the strip
    QByteArray m_rows;    // the strip's rows, in file order
};

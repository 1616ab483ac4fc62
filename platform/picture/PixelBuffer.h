#pragma once
// Memory for a large picture's pixels, mapped straight from the system, and the packing of 32-bit
// pictures into 24-bit rows in place. On some machines (virtual ones above all) taking a hundred
// megabytes one page fault at a time costs more than decoding the picture, so the memory is asked
// for in huge pages where the system gives them, and a helper thread asks the system for the pages
// ahead of the decoder that fills them (MADV_POPULATE_WRITE; a system without it goes without the
// helper: nothing but the decoder ever writes the memory, so no row it filled can be undone). A
// 32-bit picture can be packed into 24-bit rows in place, and the quarter it no longer needs goes
// back to the system, so that a picture decoded at 32 bits is never held twice. Whichever way a
// picture's memory came, the image handed on owns it through one owner type (PixelBuffer.cpp),
// given back with the image.

#include <QImage>

#include <atomic>
#include <cstddef>
#include <memory>
#include <thread>

class PixelBuffer {
public:
    // Maps memory for a width x height image of the format (QImage::Format_RGB888 or Format_RGB32)
    // and starts populating it. IsValid() is false when the memory could not be had.
    PixelBuffer(int width, int height, QImage::Format format);
    // Stops the helper and waits for it; gives the memory back unless the image was released.
    ~PixelBuffer();
    PixelBuffer(const PixelBuffer&) = delete;
    PixelBuffer& operator=(const PixelBuffer&) = delete;

    bool IsValid() const { return m_base != nullptr; }
    // The image over the memory, for a decoder to fill. It does not own the memory.
    QImage& Image() { return m_image; }
    // Row y of the memory, for a decoder that writes rows itself.
    uchar* Row(int y) const { return m_base + y * m_image.bytesPerLine(); }
    // Whether Image() still shows this memory (a decoder given the image may have made its own).
    bool HoldsImage() const { return m_base != nullptr && m_image.constBits() == m_base; }
    // Packs the Format_RGB32 image into Format_RGB888 rows in place, keeping only the memory the
    // packed rows need; false (and nothing done) when the image is not this memory's or not RGB32.
    bool PackTo24Bit();
    // Packs the rows of an opaque 32-bit image (QImage::Format_RGB32, or opaque Format_ARGB32 or
    // Format_ARGB32_Premultiplied) as wide as this Format_RGB888 memory into its rows from row y
    // on; false (and nothing done) for any other image, or one that would not fit there.
    bool PackRowsFrom(const QImage& rows, int y);
    // The image as it now is, owning its memory from here on.
    std::unique_ptr<QImage> Release();

    // Takes over an image of 32-bit pixels (QImage::Format_RGB32, or opaque Format_ARGB32 or
    // Format_ARGB32_Premultiplied) that shares its memory with no other image, and packs it into
    // Format_RGB888 rows in the same memory, which the result keeps; the pages the packed rows no
    // longer reach go back to the system. Null, with the image left as it was, for any other image.
    static std::unique_ptr<QImage> PackInPlace(QImage& image);

    // Whether a helper thread populates this memory.
    bool HasHelper() const;
    // Makes new buffers behave as on a system without MADV_POPULATE_WRITE.
    static bool populateDisabledForTesting;

private:
    void WaitForHelper();

    uchar* m_base = nullptr;
    std::size_t m_length = 0;
    QImage m_image;
    std::atomic<bool> m_abandoned{false}; // tells the helper to stop populating
    std::thread m_helper;
};

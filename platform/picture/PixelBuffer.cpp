#include "platform/picture/PixelBuffer.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdint>
#include <cstring>

namespace {

// Below this a picture's page faults cost too little to be worth a thread.
constexpr std::size_t kHelperThreshold = std::size_t{8} << 20;
// The helper populates this much at a time, so that the decoder soon finds its rows ready.
constexpr std::size_t kPopulateStep = std::size_t{4} << 20;

std::size_t PageSize() {
    static const std::size_t size = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    return size;
}

std::size_t RoundUpToPage(std::size_t bytes) {
    return (bytes + PageSize() - 1) / PageSize() * PageSize();
}

// QImage wants every row to start on a 32-bit boundary.
qsizetype BytesPerLine(int width, QImage::Format format) {
    const qsizetype bytes = format == QImage::Format_RGB888 ? 3 * qsizetype{width} : 4 * qsizetype{width};
    return (bytes + 3) / 4 * 4;
}

// The pages are only faulted in, never written: the decoder may already have filled the rows the
// helper reaches, so anything that stores into them, even the zero a fresh page holds, could undo
// its work. A system without MADV_POPULATE_WRITE (Linux before 5.14) leaves the decoder to take
// its own page faults; so does one that refuses the request for any other reason.
void Populate(uchar* base, std::size_t length, const std::atomic<bool>* abandoned) {
    for (std::size_t at = 0; at < length && !abandoned->load(std::memory_order_relaxed);
         at += kPopulateStep) {
        const std::size_t step = std::min(kPopulateStep, length - at);
        if (madvise(base + at, step, MADV_POPULATE_WRITE) != 0)
            return;
    }
}

// Whether this system populates pages on request; asked once, on a page of our own.
bool CanPopulate() {
    static const bool supported = [] {
        void* page = mmap(nullptr, PageSize(), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (page == MAP_FAILED)
            return false;
        const bool populated = madvise(page, PageSize(), MADV_POPULATE_WRITE) == 0;
        munmap(page, PageSize());
        return populated;
    }();
    return supported && !PixelBuffer::populateDisabledForTesting;
}

// What keeps a finished picture's pixels alive: memory mapped for it, or the 32-bit image whose
// memory its packed rows took over. An image made by ImageOwning holds one of these and gives it
// back, whichever it is, when the last copy of the image goes.
struct PixelMemory {
    uchar* mappedBase = nullptr;
    std::size_t mappedLength = 0;
    QImage formerImage;

    ~PixelMemory() {
        if (mappedBase != nullptr)
            munmap(mappedBase, mappedLength);
    }
};

void ReleasePixelMemory(void* memory) {
    delete static_cast<PixelMemory*>(memory);
}

std::unique_ptr<QImage> ImageOwning(std::unique_ptr<PixelMemory> memory, uchar* base, int width, int height,
                                    qsizetype bytesPerLine, QImage::Format format) {
    return std::make_unique<QImage>(base, width, height, bytesPerLine, format, ReleasePixelMemory,
                                    memory.release());
}

static_assert(std::endian::native == std::endian::little,
              "32-bit pixels are read as stored by Qt on little-endian machines");

// The formats whose pixels are 32-bit words 0xAARRGGBB, which PackRow reads.
bool IsPacked32Bit(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

// Packs one row of 32-bit pixels (0xAARRGGBB) into R, G, B bytes at the same or a lower address,
// four pixels at a time; every source pixel is read before the bytes that overlap it are written.
// A byte-swapped pixel shifted right by 8 holds R, G, B in memory order.
void PackRow(const uchar* from, uchar* to, int width) {
    int x = 0;
    for (; x + 4 <= width; x += 4, from += 16, to += 12) {
        std::uint32_t p[4];
        std::memcpy(p, from, sizeof p);
        const std::uint64_t a = __builtin_bswap32(p[0]) >> 8;
        const std::uint64_t b = __builtin_bswap32(p[1]) >> 8;
        const std::uint64_t c = __builtin_bswap32(p[2]) >> 8;
        const std::uint32_t d = __builtin_bswap32(p[3]) >> 8;
        const std::uint64_t first = a | b << 24 | c << 48;
        const std::uint32_t second = static_cast<std::uint32_t>(c >> 16) | d << 8;
        std::memcpy(to, &first, sizeof first);
        std::memcpy(to + 8, &second, sizeof second);
    }
    for (; x < width; ++x, from += 4, to += 3) {
        const uchar blue = from[0], green = from[1], red = from[2];
        to[0] = red;
        to[1] = green;
        to[2] = blue;
    }
}

// Packs every row of a 32-bit image at base into 24-bit rows from base on.
void PackRows(uchar* base, int width, int height, qsizetype from, qsizetype to) {
    for (int y = 0; y < height; ++y)
        PackRow(base + y * from, base + y * to, width);
}

} // namespace

PixelBuffer::PixelBuffer(int width, int height, QImage::Format format) {
    if (width <= 0 || height <= 0)
        return;
    const qsizetype bytesPerLine = BytesPerLine(width, format);
    m_length = RoundUpToPage(static_cast<std::size_t>(bytesPerLine) * static_cast<std::size_t>(height));
    void* memory = mmap(nullptr, m_length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        return;
    m_base = static_cast<uchar*>(memory);
    // Huge pages where the system has them: a picture's memory is written once from end to end, and
    // on a virtual machine the first touch of every small page costs as much as decoding into it.
    // Nothing is lost where the advice is refused.
    madvise(m_base, m_length, MADV_HUGEPAGE);
    m_image = QImage(m_base, width, height, bytesPerLine, format);
    if (m_length >= kHelperThreshold && CanPopulate())
        m_helper = std::thread(Populate, m_base, m_length, &m_abandoned);
}

PixelBuffer::~PixelBuffer() {
    // Memory that is about to go back needs no more pages: a decode that gave up early on a picture
    // of a gigabyte does not wait for the rest of it to be populated.
    m_abandoned.store(true, std::memory_order_relaxed);
    WaitForHelper();
    m_image = QImage();
    if (m_base != nullptr)
        munmap(m_base, m_length);
}

void PixelBuffer::WaitForHelper() {
    if (m_helper.joinable())
        m_helper.join();
}

bool PixelBuffer::PackTo24Bit() {
    if (!HoldsImage() || m_image.format() != QImage::Format_RGB32)
        return false;
    WaitForHelper();
    const int width = m_image.width();
    const int height = m_image.height();
    const qsizetype to = BytesPerLine(width, QImage::Format_RGB888);
    PackRows(m_base, width, height, m_image.bytesPerLine(), to);
    m_image = QImage(m_base, width, height, to, QImage::Format_RGB888);
    const std::size_t kept = RoundUpToPage(static_cast<std::size_t>(to) * static_cast<std::size_t>(height));
    if (kept < m_length) {
        munmap(m_base + kept, m_length - kept);
        m_length = kept;
    }
    return true;
}

bool PixelBuffer::PackRowsFrom(const QImage& rows, int y) {
    if (!HoldsImage() || m_image.format() != QImage::Format_RGB888 || !IsPacked32Bit(rows.format()) ||
        rows.width() != m_image.width() || y < 0 || rows.height() > m_image.height() - y)
        return false;
    for (int i = 0; i < rows.height(); ++i)
        PackRow(rows.constScanLine(i), Row(y + i), rows.width());
    return true;
}

bool PixelBuffer::populateDisabledForTesting = false;

bool PixelBuffer::HasHelper() const {
    return m_helper.joinable();
}

std::unique_ptr<QImage> PixelBuffer::Release() {
    WaitForHelper();
    auto memory = std::make_unique<PixelMemory>();
    memory->mappedBase = m_base;
    memory->mappedLength = m_length;
    auto image = ImageOwning(std::move(memory), m_base, m_image.width(), m_image.height(), m_image.bytesPerLine(),
                             m_image.format());
    m_image = QImage();
    m_base = nullptr;
    m_length = 0;
    return image;
}

std::unique_ptr<QImage> PixelBuffer::PackInPlace(QImage& image) {
    if (image.isNull() || !image.isDetached() || !IsPacked32Bit(image.format()))
        return nullptr;
    // The 32-bit image lives on, unseen, as the owner of the memory the packed rows use.
    auto memory = std::make_unique<PixelMemory>();
    memory->formerImage = std::move(image);
    uchar* base = memory->formerImage.bits();
    const int width = memory->formerImage.width();
    const int height = memory->formerImage.height();
    const qsizetype from = memory->formerImage.bytesPerLine();
    const qsizetype to = BytesPerLine(width, QImage::Format_RGB888);
    PackRows(base, width, height, from, to);
    // Whole pages past the packed rows hold nothing any more; the system may have them back (they
    // would read as zeros, and nothing reads them).
    const auto used = reinterpret_cast<std::uintptr_t>(base) + static_cast<std::uintptr_t>(to) * height;
    const auto end = reinterpret_cast<std::uintptr_t>(base) + static_cast<std::uintptr_t>(from) * height;
    const std::uintptr_t firstFree = (used + PageSize() - 1) / PageSize() * PageSize();
    if (firstFree < end)
        madvise(reinterpret_cast<void*>(firstFree), (end - firstFree) / PageSize() * PageSize(),
                MADV_DONTNEED);
    return ImageOwning(std::move(memory), base, width, height, to, QImage::Format_RGB888);
}

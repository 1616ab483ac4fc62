// The pixel memory's helper thread must never undo what the decoder has written, whether or not
// the system can populate pages on request.
#include "platform/picture/PixelBuffer.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstddef>

TEST(PixelBuffer, Helper_NeverOverwritesRowsTheDecoderFilled) {
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    for (const bool populateAvailable : {true, false}) {
        SCOPED_TRACE(populateAvailable ? "with MADV_POPULATE_WRITE" : "as on a system without it");
        PixelBuffer::populateDisabledForTesting = !populateAvailable;
        // 64 MB: the helper is still at work while the rows are written from the top.
        PixelBuffer pixels(4096, 4096, QImage::Format_RGB32);
        PixelBuffer::populateDisabledForTesting = false;
        ASSERT_TRUE(pixels.IsValid());
        if (!populateAvailable) {
            EXPECT_FALSE(pixels.HasHelper());
        }
        uchar* base = pixels.Row(0);
        const std::size_t length = std::size_t{4096} * 4096 * 4;
        for (std::size_t at = 0; at < length; at += page)
            base[at] = 0xA5;
        const std::unique_ptr<QImage> image = pixels.Release(); // waits for the helper
        const uchar* bits = image->constBits();
        std::size_t lost = 0;
        for (std::size_t at = 0; at < length; at += page)
            lost += bits[at] != 0xA5 ? 1 : 0;
        EXPECT_EQ(lost, 0u);
    }
}

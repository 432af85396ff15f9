#include <gtest/gtest.h>

#include <cstring>

#include "platform/uikit/Bitmap.h"
#include "platform/uikit/PngDecoder.h"
#include "platform/uikit/PngEncoder.h"

using platform::Bitmap;
using platform::RGBA;

namespace {

std::uint32_t cairoWordAt(const platform::CairoARGB32& image, int x, int y) {
    std::uint32_t word = 0;
    std::memcpy(&word, image.bytes.data() + y * image.stride + x * 4, sizeof word);
    return word;
}

} // namespace

TEST(Bitmap, SizesAreCheckedAndPixelsAddressedRowByRow) {
    EXPECT_FALSE(Bitmap::allocate(0, 5));
    EXPECT_FALSE(Bitmap::withRGBA(2, 2, std::vector<std::uint8_t>(15)));
    auto bitmap = Bitmap::withRGBA(2, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->stride(), 8u);
    EXPECT_EQ(bitmap->pixelAt(1, 0), (RGBA{5, 6, 7, 8}));
    EXPECT_EQ(bitmap->pixelAt(0, 1), (RGBA{9, 10, 11, 12}));
    EXPECT_EQ(bitmap->pixelAt(2, 0), RGBA{});
    bitmap->setPixel(1, 1, {200, 201, 202, 203});
    bitmap->setPixel(5, 5, {1, 1, 1, 1});
    EXPECT_EQ(bitmap->bytes()[12], 200);
    EXPECT_EQ(bitmap->bytes().size(), 16u);
}

TEST(Bitmap, CairoCopyIsPremultipliedNativeEndianARGB) {
    auto bitmap = Bitmap::allocate(3, 2);
    ASSERT_TRUE(bitmap);
    bitmap->setPixel(0, 0, {255, 128, 0, 128});
    bitmap->setPixel(1, 0, {200, 10, 10, 0});
    bitmap->setPixel(2, 0, {1, 2, 3, 255});
    bitmap->setPixel(0, 1, {255, 255, 255, 1});

    auto cairo = bitmap->toCairoARGB32();
    EXPECT_EQ(cairo.width, 3);
    EXPECT_EQ(cairo.height, 2);
    EXPECT_EQ(cairo.stride, 12);
    ASSERT_EQ(cairo.bytes.size(), 24u);
    // 128 * 128 / 255 = 64.25 rounds to 64; 255 * 128 / 255 is exactly 128.
    EXPECT_EQ(cairoWordAt(cairo, 0, 0), 0x80804000u);
    EXPECT_EQ(cairoWordAt(cairo, 1, 0), 0u);
    EXPECT_EQ(cairoWordAt(cairo, 2, 0), 0xFF010203u);
    EXPECT_EQ(cairoWordAt(cairo, 0, 1), 0x01010101u);
    EXPECT_EQ(Bitmap().toCairoARGB32().bytes.size(), 0u);
}

TEST(PngEncoder, RoundTripsEveryAlphaAndColourExactly) {
    // 256 x 3: every alpha value, with colours that premultiplication would have changed.
    auto bitmap = Bitmap::allocate(256, 3);
    ASSERT_TRUE(bitmap);
    for (std::uint32_t y = 0; y < 3; ++y)
        for (std::uint32_t x = 0; x < 256; ++x)
            bitmap->setPixel(x, y,
                             {static_cast<std::uint8_t>(255 - x), static_cast<std::uint8_t>(x * 7 + y),
                              static_cast<std::uint8_t>(y * 90), static_cast<std::uint8_t>(x)});
    auto png = platform::PngEncoder::encode(*bitmap);
    ASSERT_FALSE(png.empty());
    auto decoded = platform::PngDecoder::decode(png);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, *bitmap);

    EXPECT_TRUE(platform::PngEncoder::encode(Bitmap()).empty());
}

#include <gtest/gtest.h>

#include <png.h>

#include "tests/platform/uikit/AllocationWatch.h"
#include "tests/platform/uikit/ImageFixtures.h"
#include "platform/uikit/ImageDecoder.h"
#include "platform/uikit/JpegDecoder.h"
#include "platform/uikit/PngDecoder.h"

using platform::Bitmap;
using platform::ImageDecoder;
using platform::ImageLimits;
using platform::PngDecoder;
using platform::RGBA;

namespace {

constexpr std::size_t oneGigabyte = std::size_t{1} << 30;

std::uint8_t sample(std::uint32_t x, std::uint32_t y, std::uint32_t channel) {
    return static_cast<std::uint8_t>(x * 37 + y * 11 + channel * 71);
}

fixtures::PngRecipe rgbaSpec(std::uint32_t width, std::uint32_t height, bool interlaced = false) {
    auto recipe = fixtures::pngRecipe(width, height, PNG_COLOR_TYPE_RGB_ALPHA, 8, interlaced);
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x)
            for (std::uint32_t channel = 0; channel < 4; ++channel)
                recipe.rows.push_back(sample(x, y, channel));
    return recipe;
}

RGBA rgbaSample(std::uint32_t x, std::uint32_t y) {
    return {sample(x, y, 0), sample(x, y, 1), sample(x, y, 2), sample(x, y, 3)};
}

void expectEveryPixel(const Bitmap& bitmap, RGBA (*expected)(std::uint32_t, std::uint32_t)) {
    for (std::uint32_t y = 0; y < bitmap.height(); ++y)
        for (std::uint32_t x = 0; x < bitmap.width(); ++x)
            ASSERT_EQ(bitmap.pixelAt(x, y), expected(x, y)) << "at " << x << "," << y;
}

std::vector<std::uint8_t> smallRGBAPng() {
    return fixtures::writePng(rgbaSpec(9, 7));
}

} // namespace

TEST(PngDecoder, KeepsStraightRGBAExactlyInterlacedOrNot) {
    for (bool interlaced : {false, true}) {
        SCOPED_TRACE(interlaced ? "Adam7" : "progressive rows");
        // 13 x 11 leaves some Adam7 passes partly empty.
        auto bitmap = PngDecoder::decode(fixtures::writePng(rgbaSpec(13, 11, interlaced)));
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(bitmap->width(), 13u);
        EXPECT_EQ(bitmap->height(), 11u);
        EXPECT_EQ(bitmap->bytes().size(), 13u * 11u * 4u);
        expectEveryPixel(*bitmap, rgbaSample);
    }
}

TEST(PngDecoder, ExpandsGreyLowBitDepthsAndGreyAlpha) {
    auto grey = fixtures::pngRecipe(4, 2, PNG_COLOR_TYPE_GRAY, 8);
    grey.rows = {0, 85, 170, 255, 1, 2, 3, 4};
    auto greyBitmap = PngDecoder::decode(fixtures::writePng(grey));
    ASSERT_TRUE(greyBitmap);
    EXPECT_EQ(greyBitmap->pixelAt(1, 0), (RGBA{85, 85, 85, 255}));
    EXPECT_EQ(greyBitmap->pixelAt(3, 1), (RGBA{4, 4, 4, 255}));

    // One bit a pixel, 10 pixels: a row takes two bytes, the last six bits are padding.
    auto bilevel = fixtures::pngRecipe(10, 1, PNG_COLOR_TYPE_GRAY, 1);
    bilevel.rows = {0b10110000, 0b01000000};
    auto bilevelBitmap = PngDecoder::decode(fixtures::writePng(bilevel));
    ASSERT_TRUE(bilevelBitmap);
    const std::uint8_t expected[10] = {255, 0, 255, 255, 0, 0, 0, 0, 0, 255};
    for (std::uint32_t x = 0; x < 10; ++x)
        EXPECT_EQ(bilevelBitmap->pixelAt(x, 0), (RGBA{expected[x], expected[x], expected[x], 255})) << x;

    // Two bits: 0..3 scale to 0, 85, 170, 255.
    auto twoBit = fixtures::pngRecipe(4, 1, PNG_COLOR_TYPE_GRAY, 2);
    twoBit.rows = {0b00011011};
    auto twoBitBitmap = PngDecoder::decode(fixtures::writePng(twoBit));
    ASSERT_TRUE(twoBitBitmap);
    EXPECT_EQ(twoBitBitmap->pixelAt(2, 0), (RGBA{170, 170, 170, 255}));

    auto greyAlpha = fixtures::pngRecipe(2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8);
    greyAlpha.rows = {200, 10, 30, 255};
    auto greyAlphaBitmap = PngDecoder::decode(fixtures::writePng(greyAlpha));
    ASSERT_TRUE(greyAlphaBitmap);
    EXPECT_EQ(greyAlphaBitmap->pixelAt(0, 0), (RGBA{200, 200, 200, 10}));
    EXPECT_EQ(greyAlphaBitmap->pixelAt(1, 0), (RGBA{30, 30, 30, 255}));
}

TEST(PngDecoder, TransparencyChunkBecomesAlpha) {
    // A 4-bit palette whose tRNS covers only the first two entries: the rest stay opaque.
    auto palette = fixtures::pngRecipe(4, 1, PNG_COLOR_TYPE_PALETTE, 4);
    palette.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 8, 7}};
    palette.paletteAlpha = {0, 128};
    palette.rows = {0x01, 0x23};
    auto paletteBitmap = PngDecoder::decode(fixtures::writePng(palette));
    ASSERT_TRUE(paletteBitmap);
    EXPECT_EQ(paletteBitmap->pixelAt(0, 0), (RGBA{255, 0, 0, 0}));
    EXPECT_EQ(paletteBitmap->pixelAt(1, 0), (RGBA{0, 255, 0, 128}));
    EXPECT_EQ(paletteBitmap->pixelAt(2, 0), (RGBA{0, 0, 255, 255}));
    EXPECT_EQ(paletteBitmap->pixelAt(3, 0), (RGBA{9, 8, 7, 255}));

    // An RGB colour key: exactly that colour turns transparent.
    auto keyed = fixtures::pngRecipe(2, 1, PNG_COLOR_TYPE_RGB, 8);
    keyed.rows = {10, 20, 30, 10, 20, 31};
    keyed.transparentRGB = fixtures::PaletteEntry{10, 20, 30};
    auto keyedBitmap = PngDecoder::decode(fixtures::writePng(keyed));
    ASSERT_TRUE(keyedBitmap);
    EXPECT_EQ(keyedBitmap->pixelAt(0, 0).a, 0);
    EXPECT_EQ(keyedBitmap->pixelAt(1, 0), (RGBA{10, 20, 31, 255}));

    auto greyKeyed = fixtures::pngRecipe(2, 1, PNG_COLOR_TYPE_GRAY, 8);
    greyKeyed.rows = {77, 78};
    greyKeyed.transparentGrey = 77;
    auto greyKeyedBitmap = PngDecoder::decode(fixtures::writePng(greyKeyed));
    ASSERT_TRUE(greyKeyedBitmap);
    EXPECT_EQ(greyKeyedBitmap->pixelAt(0, 0).a, 0);
    EXPECT_EQ(greyKeyedBitmap->pixelAt(1, 0), (RGBA{78, 78, 78, 255}));
}

TEST(PngDecoder, SixteenBitSamplesKeepTheirHighByte) {
    // Big-endian samples; the low bytes are chosen so that rounding would give a different answer.
    auto rgba16 = fixtures::pngRecipe(1, 1, PNG_COLOR_TYPE_RGB_ALPHA, 16);
    rgba16.rows = {0x12, 0xFF, 0xAB, 0x01, 0x00, 0x80, 0xFF, 0xFF};
    auto bitmap = PngDecoder::decode(fixtures::writePng(rgba16));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->pixelAt(0, 0), (RGBA{0x12, 0xAB, 0x00, 0xFF}));

    auto grey16 = fixtures::pngRecipe(2, 1, PNG_COLOR_TYPE_GRAY, 16, true);
    grey16.rows = {0x40, 0x00, 0x41, 0x00};
    grey16.transparentGrey = 0x4000;
    auto greyBitmap = PngDecoder::decode(fixtures::writePng(grey16));
    ASSERT_TRUE(greyBitmap);
    EXPECT_EQ(greyBitmap->pixelAt(0, 0).a, 0);
    EXPECT_EQ(greyBitmap->pixelAt(1, 0), (RGBA{0x41, 0x41, 0x41, 255}));
}

TEST(PngDecoder, BrokenDataGivesNothing) {
    auto png = smallRGBAPng();
    ASSERT_TRUE(PngDecoder::decode(png));

    EXPECT_FALSE(PngDecoder::decode({}));
    EXPECT_FALSE(PngDecoder::decode(std::span(png).first(8)));
    // Cut anywhere before the image data is complete. Only the closing IEND chunk (12 bytes) may be
    // missing: the pixels are all there by then.
    for (std::size_t length = 0; length + 12 < png.size(); ++length)
        ASSERT_FALSE(PngDecoder::decode(std::span(png).first(length))) << "cut at " << length;

    // A damaged IHDR fails its CRC.
    auto badHeader = png;
    badHeader[16] ^= 0x01;
    EXPECT_FALSE(PngDecoder::decode(badHeader));

    // Damaged compressed data whose chunk CRC was made to match: zlib's own check still fails.
    const std::size_t idat = 8 + 25; // signature + IHDR chunk
    ASSERT_EQ(std::string(png.begin() + idat + 4, png.begin() + idat + 8), "IDAT");
    std::uint32_t idatLength =
        std::uint32_t{png[idat]} << 24 | png[idat + 1] << 16 | png[idat + 2] << 8 | png[idat + 3];
    std::vector<std::uint8_t> data(png.begin() + idat + 8, png.begin() + idat + 8 + idatLength);
    auto withIDAT = [&](const std::vector<std::uint8_t>& idatData) {
        auto recrafted = std::vector<std::uint8_t>(png.begin(), png.begin() + idat);
        auto chunk = fixtures::pngChunk("IDAT", idatData);
        recrafted.insert(recrafted.end(), chunk.begin(), chunk.end());
        recrafted.insert(recrafted.end(), png.begin() + idat + 12 + idatLength, png.end());
        return recrafted;
    };
    // The hand-made CRC is right, so the damaged copy fails for its data alone.
    EXPECT_EQ(withIDAT(data), png);
    data[data.size() / 2] ^= 0x5A;
    EXPECT_FALSE(PngDecoder::decode(withIDAT(data)));

    // Image data that ends before the first row.
    EXPECT_FALSE(PngDecoder::decode(fixtures::pngWithoutPixels(4, 4)));
}

TEST(PngDecoder, OversizedHeadersAreRefusedBeforeAnyPixelMemory) {
    // 100000 x 100000 would be 40 GB of RGBA; 9000 x 9000 passes the per-side cap but not the pixel
    // count. Neither may allocate more than a few kilobytes on the way to saying no.
    for (auto size : {100'000u, 9'000u}) {
        SCOPED_TRACE(size);
        auto header = fixtures::pngWithoutPixels(size, size);
        AllocationWatch watch(oneGigabyte);
        EXPECT_FALSE(ImageDecoder::decode(header));
        EXPECT_LT(watch.largestRequest(), std::size_t{1} << 20);
    }

    // The limits are exact: a 9 x 7 image needs 63 pixels and 9 a side.
    auto png = smallRGBAPng();
    EXPECT_TRUE(PngDecoder::decode(png, ImageLimits{63, 9}));
    EXPECT_FALSE(PngDecoder::decode(png, ImageLimits{62, 9}));
    EXPECT_FALSE(PngDecoder::decode(png, ImageLimits{63, 8}));
}

TEST(ImageDecoder, ToldByTheSignatureNotTheName) {
    auto png = smallRGBAPng();
    EXPECT_EQ(ImageDecoder::detectFormat(png), platform::ImageFormat::PNG);
    auto decoded = ImageDecoder::decode(png);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->pixelAt(3, 4), rgbaSample(3, 4));

    const std::vector<std::uint8_t> jpegStart{0xFF, 0xD8, 0xFF, 0xE0};
    EXPECT_EQ(ImageDecoder::detectFormat(jpegStart), platform::ImageFormat::JPEG);
    EXPECT_FALSE(ImageDecoder::decode(jpegStart));

    using namespace std::string_view_literals;
    const std::string_view others[] = {"GIF89a\x01\x00\x01\x00"sv,
                                       "BM\x3a\x00\x00\x00"sv,
                                       "RIFF\x10\x00\x00\x00WEBPVP8 "sv,
                                       "<svg xmlns='http://www.w3.org/2000/svg'/>"sv,
                                       "\x89PNG"sv,
                                       ""sv};
    for (const auto& other : others) {
        std::vector<std::uint8_t> bytes(other.begin(), other.end());
        EXPECT_EQ(ImageDecoder::detectFormat(bytes), platform::ImageFormat::Unknown) << other;
        EXPECT_FALSE(ImageDecoder::decode(bytes)) << other;
    }
    // A PNG handed to the JPEG path directly, and the reverse, fail cleanly too.
    EXPECT_FALSE(platform::JpegDecoder::decode(png));
}

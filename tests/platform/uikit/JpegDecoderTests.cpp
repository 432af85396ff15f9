#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/platform/uikit/AllocationWatch.h"
#include "tests/platform/uikit/ImageFixtures.h"
#include "tests/support/HostilePictures.h"
#include "platform/uikit/ImageDecoder.h"
#include "platform/uikit/JpegDecoder.h"

using platform::Bitmap;
using platform::JpegDecoder;
using platform::RGBA;

namespace {

// Four flat 16 x 16 quadrants, aligned to the encoder's blocks so that each centre comes back close
// to its colour.
constexpr RGBA quadrantColours[4] = {
    {220, 30, 40, 255}, {30, 200, 60, 255}, {20, 40, 210, 255}, {240, 240, 240, 255}};

RGBA quadrantColour(std::uint32_t x, std::uint32_t y) {
    return quadrantColours[(y / 16) * 2 + x / 16];
}

fixtures::JpegRecipe quadrantsJpeg(bool progressive) {
    auto recipe = fixtures::jpegRecipe(32, 32, 3);
    recipe.progressive = progressive;
    for (std::uint32_t y = 0; y < 32; ++y)
        for (std::uint32_t x = 0; x < 32; ++x) {
            RGBA colour = quadrantColour(x, y);
            recipe.samples.insert(recipe.samples.end(), {colour.r, colour.g, colour.b});
        }
    return recipe;
}

void expectNear(RGBA actual, RGBA expected, int tolerance) {
    EXPECT_NEAR(actual.r, expected.r, tolerance);
    EXPECT_NEAR(actual.g, expected.g, tolerance);
    EXPECT_NEAR(actual.b, expected.b, tolerance);
    EXPECT_EQ(actual.a, expected.a);
}

} // namespace

TEST(JpegDecoder, DecodesBaselineAndProgressiveColourImagesToOpaqueRGBA) {
    for (bool progressive : {false, true}) {
        SCOPED_TRACE(progressive ? "progressive" : "baseline");
        auto jpeg = fixtures::writeJpeg(quadrantsJpeg(progressive));
        EXPECT_EQ(platform::ImageDecoder::detectFormat(jpeg), platform::ImageFormat::JPEG);
        auto bitmap = platform::ImageDecoder::decode(jpeg);
        ASSERT_TRUE(bitmap);
        EXPECT_EQ(bitmap->width(), 32u);
        EXPECT_EQ(bitmap->height(), 32u);
        for (std::uint32_t y = 8; y < 32; y += 16)
            for (std::uint32_t x = 8; x < 32; x += 16)
                expectNear(bitmap->pixelAt(x, y), quadrantColour(x, y), 8);
    }
}

TEST(JpegDecoder, GreyAndCMYKBecomeRGBA) {
    auto grey = fixtures::jpegRecipe(16, 8, 1);
    for (std::uint32_t y = 0; y < 8; ++y)
        for (std::uint32_t x = 0; x < 16; ++x)
            grey.samples.push_back(x < 8 ? 40 : 200);
    auto greyBitmap = JpegDecoder::decode(fixtures::writeJpeg(grey));
    ASSERT_TRUE(greyBitmap);
    RGBA dark = greyBitmap->pixelAt(3, 3), light = greyBitmap->pixelAt(12, 4);
    EXPECT_TRUE(dark.r == dark.g && dark.g == dark.b);
    expectNear(dark, {40, 40, 40, 255}, 4);
    expectNear(light, {200, 200, 200, 255}, 4);

    // libjpeg marks CMYK files with an Adobe segment, so the samples count as inverted (Photoshop's
    // convention): stored 255, 0, 0, 255 is no cyan, full magenta and yellow, no black: red.
    auto cmyk = fixtures::jpegRecipe(8, 8, 4);
    for (int i = 0; i < 64; ++i)
        cmyk.samples.insert(cmyk.samples.end(), {255, 0, 0, 255});
    auto cmykBitmap = JpegDecoder::decode(fixtures::writeJpeg(cmyk));
    ASSERT_TRUE(cmykBitmap);
    expectNear(cmykBitmap->pixelAt(4, 4), {255, 0, 0, 255}, 8);
}

TEST(JpegDecoder, TruncatedOrDamagedDataGivesNothing) {
    auto jpeg = fixtures::writeJpeg(quadrantsJpeg(false));
    ASSERT_TRUE(JpegDecoder::decode(jpeg));
    EXPECT_FALSE(JpegDecoder::decode({}));
    // Every cut before the end-of-image marker loses image data.
    for (std::size_t length = 0; length + 2 < jpeg.size(); ++length)
        ASSERT_FALSE(JpegDecoder::decode(std::span(jpeg).first(length))) << "cut at " << length;

    auto progressive = fixtures::writeJpeg(quadrantsJpeg(true));
    EXPECT_FALSE(JpegDecoder::decode(std::span(progressive).first(progressive.size() * 2 / 3)));

    std::size_t frame = fixtures::jpegFrameHeaderOffset(jpeg);
    ASSERT_NE(frame, 0u);
    // A zero height (the DNL form) and an unsupported precision are refused.
    auto zeroHeight = jpeg;
    zeroHeight[frame + 1] = 0;
    zeroHeight[frame + 2] = 0;
    EXPECT_FALSE(JpegDecoder::decode(zeroHeight));
    auto twelveBit = jpeg;
    twelveBit[frame] = 12;
    EXPECT_FALSE(JpegDecoder::decode(twelveBit));
    // Lossless JPEG is a process libjpeg does not decode.
    auto lossless = jpeg;
    lossless[frame - 3] = 0xC3;
    EXPECT_FALSE(JpegDecoder::decode(lossless));
}

TEST(JpegDecoder, OversizedFrameHeadersAreRefusedBeforeAnyPixelMemory) {
    auto jpeg = fixtures::writeJpeg(quadrantsJpeg(false));
    std::size_t frame = fixtures::jpegFrameHeaderOffset(jpeg);
    ASSERT_NE(frame, 0u);
    auto announce = [&](std::uint16_t width, std::uint16_t height) {
        auto patched = jpeg;
        patched[frame + 1] = static_cast<std::uint8_t>(height >> 8);
        patched[frame + 2] = static_cast<std::uint8_t>(height);
        patched[frame + 3] = static_cast<std::uint8_t>(width >> 8);
        patched[frame + 4] = static_cast<std::uint8_t>(width);
        return patched;
    };
    // 60000 a side passes no cap; 8000 x 6000 passes the side cap but not the pixel count.
    for (auto [width, height] : {std::pair{60'000, 60'000}, std::pair{8'000, 6'000}}) {
        SCOPED_TRACE(width);
        auto patched = announce(static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height));
        AllocationWatch watch(std::size_t{1} << 30);
        EXPECT_FALSE(JpegDecoder::decode(patched));
        EXPECT_LT(watch.largestRequest(), std::size_t{1} << 20);
    }
    // The caps are exact: 32 x 32 needs 1024 pixels and 32 a side.
    EXPECT_TRUE(JpegDecoder::decode(jpeg, platform::ImageLimits{32 * 32, 32}));
    EXPECT_FALSE(JpegDecoder::decode(jpeg, platform::ImageLimits{32 * 32 - 1, 32}));
    EXPECT_FALSE(JpegDecoder::decode(jpeg, platform::ImageLimits{32 * 32, 31}));
}

TEST(JpegDecoder, FilesWithMoreScansThanEncodersWriteAreRefused) {
    auto manyScans = hostilepictures::manyScanGreyJpeg(64, 48);
    ASSERT_EQ(hostilepictures::scanCount(manyScans), 704);
    EXPECT_FALSE(JpegDecoder::decode(manyScans)) << "valid, but 704 passes over the picture";
    EXPECT_FALSE(platform::ImageDecoder::decode(manyScans, platform::ImageReduction::toCover(16)));

    platform::ImageLimits generous;
    generous.maxScans = 1000;
    auto decoded = JpegDecoder::decode(manyScans, generous);
    ASSERT_TRUE(decoded) << "the file itself is sound";
    EXPECT_EQ(decoded->width(), 64u);

    // An ordinary progressive file is well inside the limit.
    auto ordinary = fixtures::writeJpeg(quadrantsJpeg(true));
    EXPECT_GT(hostilepictures::scanCount(ordinary), 1);
    EXPECT_TRUE(JpegDecoder::decode(ordinary));
}

TEST(JpegDecoder, APictureNeedingMoreDecoderMemoryThanAllowedIsRefused) {
    // A progressive picture keeps every coefficient until its last scan: 128 bytes per 8 x 8 block.
    auto recipe = fixtures::jpegRecipe(512, 512, 1);
    recipe.samples.assign(512 * 512, 0x60);
    recipe.progressive = true;
    auto bytes = fixtures::writeJpeg(recipe);
    platform::ImageLimits tight;
    tight.maxDecoderMemory = 256 * 1024;
    EXPECT_FALSE(JpegDecoder::decode(bytes, tight));
    EXPECT_TRUE(JpegDecoder::decode(bytes));
}

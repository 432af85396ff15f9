// The preview's frames: the canvas's pixels as a JPEG, a translucent pixel shown over black, and the
// same picture always the same bytes (the frame store drops a repeat by comparing them).
#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdlib>
#include <span>

#include "hosts/preview/FrameEncoder.h"
#include "platform/uikit/ImageDecoder.h"

namespace {

std::optional<platform::Bitmap> decode(const std::string& bytes) {
    return platform::ImageDecoder::decode(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
}

// Three 8-point-wide stripes, each as wide as two of JPEG's 8-pixel blocks at scale 2.
platform::render::Canvas stripes() {
    auto canvas = platform::render::Canvas::create({24, 8}, 2);
    EXPECT_TRUE(canvas);
    auto fill = [&](double x, double r, double g, double b, double a) {
        cairo_set_source_rgba(canvas->context(), r, g, b, a);
        cairo_rectangle(canvas->context(), x, 0, 8, 8);
        cairo_fill(canvas->context());
    };
    fill(0, 1, 0, 0, 1);
    fill(8, 0.2, 0.4, 1, 1);
    fill(16, 1, 1, 1, 0.5);
    return std::move(*canvas);
}

void expectNear(platform::RGBA pixel, int r, int g, int b) {
    // Quality 90 keeps flat colour within a few levels.
    EXPECT_LE(std::abs(pixel.r - r), 4) << int(pixel.r);
    EXPECT_LE(std::abs(pixel.g - g), 4) << int(pixel.g);
    EXPECT_LE(std::abs(pixel.b - b), 4) << int(pixel.b);
    EXPECT_EQ(pixel.a, 255);
}

} // namespace

TEST(FrameEncoder, WritesTheCanvasAtItsPixelSizeShownOverBlack) {
    auto canvas = stripes();
    auto picture = decode(corvale::preview::FrameEncoder::encode(canvas));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width(), 48u);
    EXPECT_EQ(picture->height(), 16u);
    expectNear(picture->pixelAt(8, 8), 255, 0, 0);
    expectNear(picture->pixelAt(24, 3), 51, 102, 255);
    // Half-transparent white over black.
    expectNear(picture->pixelAt(40, 12), 128, 128, 128);
}

TEST(FrameEncoder, TheSamePictureIsTheSameBytes) {
    auto first = corvale::preview::FrameEncoder::encode(stripes());
    auto second = corvale::preview::FrameEncoder::encode(stripes());
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first, second);
    auto other = stripes();
    cairo_set_source_rgb(other.context(), 0, 1, 0);
    cairo_rectangle(other.context(), 0, 0, 1, 1);
    cairo_fill(other.context());
    EXPECT_NE(corvale::preview::FrameEncoder::encode(other), first);
}

// The preview's frames: the canvas's pixels as RGB PNG, a translucent pixel shown over black.
#include <gtest/gtest.h>

#include <cairo.h>
#include <png.h>

#include <vector>

#include "hosts/preview/FrameEncoder.h"

namespace {

// Decoded as 8-bit RGB; empty when the bytes are no PNG.
std::vector<std::uint8_t> decodeRGB(const std::string& bytes, png_uint_32* width, png_uint_32* height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        return {};
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr))
        return {};
    *width = image.width;
    *height = image.height;
    return pixels;
}

void fill(cairo_t* context, double x, double r, double g, double b, double a) {
    cairo_set_source_rgba(context, r, g, b, a);
    cairo_rectangle(context, x, 0, 1, 2);
    cairo_fill(context);
}

} // namespace

TEST(FrameEncoder, WritesTheCanvasAsRGBShownOverBlack) {
    auto canvas = platform::render::Canvas::create({3, 2}, 2);
    ASSERT_TRUE(canvas);
    fill(canvas->context(), 0, 1, 0, 0, 1);
    fill(canvas->context(), 1, 0.2, 0.4, 1, 1);
    fill(canvas->context(), 2, 1, 1, 1, 0.5);
    auto png = corvale::preview::FrameEncoder::encode(*canvas);
    png_uint_32 width = 0, height = 0;
    auto pixels = decodeRGB(png, &width, &height);
    ASSERT_FALSE(pixels.empty());
    EXPECT_EQ(width, 6u);
    EXPECT_EQ(height, 4u);
    auto at = [&](int x, int y) {
        const auto* pixel = &pixels[(static_cast<std::size_t>(y) * width + static_cast<std::size_t>(x)) * 3];
        return std::vector<int>{pixel[0], pixel[1], pixel[2]};
    };
    EXPECT_EQ(at(0, 0), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(at(1, 3), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(at(2, 1), (std::vector<int>{51, 102, 255}));
    // Half-transparent white over black.
    auto translucent = at(5, 2);
    for (int channel : translucent)
        EXPECT_NEAR(channel, 128, 1);
}

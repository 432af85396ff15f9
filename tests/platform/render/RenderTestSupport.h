#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/render/Canvas.h"

// Pixel checks shared by the drawing tests.
namespace rendertest {

inline bool near(platform::RGBA pixel, platform::RGBA expected, int tolerance = 2) {
    return std::abs(pixel.r - expected.r) <= tolerance && std::abs(pixel.g - expected.g) <= tolerance &&
           std::abs(pixel.b - expected.b) <= tolerance && std::abs(pixel.a - expected.a) <= tolerance;
}

inline ::testing::AssertionResult pixelIs(const platform::render::Canvas& canvas, CGPoint point,
                                          platform::RGBA expected, int tolerance = 2) {
    platform::RGBA pixel = canvas.pixelAtPoint(point);
    if (near(pixel, expected, tolerance))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "pixel at (" << point.x << ", " << point.y << ") is (" << int(pixel.r) << ", " << int(pixel.g)
           << ", " << int(pixel.b) << ", " << int(pixel.a) << "), expected (" << int(expected.r) << ", "
           << int(expected.g) << ", " << int(expected.b) << ", " << int(expected.a) << ")";
}

// How many pixels of a rectangle (in points) are within `tolerance` of a colour.
inline long countNear(const platform::render::Canvas& canvas, CGRect rect, platform::RGBA colour,
                      int tolerance = 3) {
    long count = 0;
    double scale = canvas.scale();
    for (int y = int(rect.origin.y * scale); y < int((rect.origin.y + rect.size.height) * scale); ++y)
        for (int x = int(rect.origin.x * scale); x < int((rect.origin.x + rect.size.width) * scale); ++x)
            count += near(canvas.pixelAt(x, y), colour, tolerance) ? 1 : 0;
    return count;
}

inline constexpr platform::RGBA red{255, 0, 0, 255};
inline constexpr platform::RGBA blue{0, 0, 255, 255};
inline constexpr platform::RGBA white{255, 255, 255, 255};
inline constexpr platform::RGBA clear{0, 0, 0, 0};

} // namespace rendertest

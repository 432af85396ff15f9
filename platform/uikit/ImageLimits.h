#pragma once

#include <cstdint>

namespace platform {

// How large an image the decoders accept, checked against the size a file announces before any
// pixel memory is allocated: a few bytes of header must not make us allocate gigabytes.
struct ImageLimits {
    // 40 megapixels: 160 MB of RGBA.
    std::uint64_t maxPixels = 40'000'000;
    std::uint32_t maxSide = 16'384;
    // Progressive JPEG scans: each one is a pass over the whole picture, and encoders write about
    // ten (libjpeg-turbo's own tools refuse more than 100).
    int maxScans = 100;
    // What libjpeg may allocate for one picture (a progressive one keeps all its coefficients).
    long maxDecoderMemory = 96L * 1024 * 1024;

    bool allows(std::uint64_t width, std::uint64_t height) const {
        return width > 0 && height > 0 && width <= maxSide && height <= maxSide &&
               width * height <= maxPixels;
    }
};

} // namespace platform

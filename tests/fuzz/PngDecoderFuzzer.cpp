// Feeds arbitrary bytes to the PNG decoder, whole and reduced. Whatever decodes one way decodes the
// other, the reduced picture has exactly the size the reduction asks of the announced one, and a
// reduction that changes nothing gives the whole decode.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/uikit/PngDecoder.h"

namespace {

// Smaller than the platform's own limits, so that each run stays quick; the code paths are the same.
platform::ImageLimits fuzzingLimits() {
    platform::ImageLimits limits;
    limits.maxPixels = 4'000'000;
    limits.maxSide = 4096;
    return limits;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::span<const std::uint8_t> bytes(data, size);
    const auto limits = fuzzingLimits();
    auto whole = platform::PngDecoder::decode(bytes, limits);
    // The box comes from the last byte, so the fuzzer explores reductions as well as files.
    const std::uint32_t box = size > 0 ? 1 + data[size - 1] % 64 : 1;
    const auto reduction = platform::ImageReduction{box, 96};
    auto reduced = platform::PngDecoder::decode(bytes, reduction, limits);
    if (whole.has_value() != reduced.has_value())
        __builtin_trap();
    if (!whole)
        return 0;
    if (reduced->sourceSize != platform::PixelSize{whole->width(), whole->height()})
        __builtin_trap();
    const auto expected = reduction.reducedSize(reduced->sourceSize);
    if (reduced->bitmap.width() != expected.width || reduced->bitmap.height() != expected.height)
        __builtin_trap();
    if (!reduction.reduces(reduced->sourceSize) && !(reduced->bitmap == *whole))
        __builtin_trap();
    return 0;
}

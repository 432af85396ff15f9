#include "platform/uikit/ImageDecoder.h"

#include <algorithm>
#include <array>

#include "platform/uikit/JpegDecoder.h"
#include "platform/uikit/PngDecoder.h"

namespace platform {

namespace {

constexpr std::array<std::uint8_t, 8> pngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Start of image, then the first byte of the next marker.
constexpr std::array<std::uint8_t, 3> jpegSignature{0xFF, 0xD8, 0xFF};

template <std::size_t N>
bool startsWith(std::span<const std::uint8_t> bytes, const std::array<std::uint8_t, N>& signature) {
    return bytes.size() >= N && std::equal(signature.begin(), signature.end(), bytes.begin());
}

} // namespace

ImageFormat ImageDecoder::detectFormat(std::span<const std::uint8_t> bytes) {
    if (startsWith(bytes, pngSignature))
        return ImageFormat::PNG;
    if (startsWith(bytes, jpegSignature))
        return ImageFormat::JPEG;
    return ImageFormat::Unknown;
}

std::optional<Bitmap> ImageDecoder::decode(std::span<const std::uint8_t> bytes, const ImageLimits& limits) {
    switch (detectFormat(bytes)) {
    case ImageFormat::PNG:
        return PngDecoder::decode(bytes, limits);
    case ImageFormat::JPEG:
        return JpegDecoder::decode(bytes, limits);
    case ImageFormat::Unknown:
        break;
    }
    return std::nullopt;
}

std::optional<DecodedPicture> ImageDecoder::decode(std::span<const std::uint8_t> bytes,
                                                   const ImageReduction& reduction, const ImageLimits& limits) {
    switch (detectFormat(bytes)) {
    case ImageFormat::PNG:
        return PngDecoder::decode(bytes, reduction, limits);
    case ImageFormat::JPEG:
        return JpegDecoder::decode(bytes, reduction, limits);
    case ImageFormat::Unknown:
        break;
    }
    return std::nullopt;
}

} // namespace platform

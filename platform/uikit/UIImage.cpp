#include "platform/uikit/UIImage.h"

#include <cmath>
#include <sstream>
#include <vector>

#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSData.h"
#include "platform/uikit/DecodedPictureBudget.h"
#include "platform/uikit/ImageDecoder.h"
#include "platform/uikit/ImageFileName.h"
#include "platform/uikit/PngEncoder.h"
#include "platform/uikit/UIScreen.h"
#include "platform/uikit/UITraitCollection.h"

namespace {

[[maybe_unused]] const Class registeredImage = platform::registerClass<UIImage>("UIImage");

double acceptedScale(double scale) {
    return std::isfinite(scale) && scale > 0 ? scale : 1;
}

double displayScale(const std::shared_ptr<UITraitCollection>& traits) {
    if (traits && traits->displayScale() > 0)
        return traits->displayScale();
    return UIScreen::mainScreen()->scale();
}

// The bitmap shared, its bytes counted against the process's budget until the last holder lets
// go; nullptr when they do not fit.
std::shared_ptr<const platform::Bitmap> budgeted(platform::Bitmap bitmap) {
    const std::size_t bytes = bitmap.bytes().size();
    auto& budget = platform::DecodedPictureBudget::shared();
    if (!budget.take(bytes))
        return nullptr;
    return std::shared_ptr<const platform::Bitmap>(new platform::Bitmap(std::move(bitmap)),
                                                   [bytes](const platform::Bitmap* held) {
                                                       delete held;
                                                       platform::DecodedPictureBudget::shared().giveBack(bytes);
                                                   });
}

} // namespace

std::shared_ptr<UIImage> UIImage::imageWithData(const std::shared_ptr<NSData>& data) {
    return imageWithData(data, 1);
}

std::shared_ptr<UIImage> UIImage::imageWithData(const std::shared_ptr<NSData>& data, double scale) {
    if (!data)
        return nullptr;
    return imageWithData(std::span<const std::uint8_t>(data->bytes()), scale);
}

std::shared_ptr<UIImage> UIImage::imageWithData(std::span<const std::uint8_t> bytes, double scale) {
    return imageWithData(bytes, scale, platform::ImageReduction::none());
}

std::shared_ptr<UIImage> UIImage::imageWithData(const std::shared_ptr<NSData>& data, double scale,
                                                const platform::ImageReduction& reduction) {
    if (!data)
        return nullptr;
    return imageWithData(std::span<const std::uint8_t>(data->bytes()), scale, reduction);
}

std::shared_ptr<UIImage> UIImage::imageWithData(std::span<const std::uint8_t> bytes, double scale,
                                                const platform::ImageReduction& reduction) {
    auto picture = platform::ImageDecoder::decode(bytes, reduction);
    if (!picture || picture->bitmap.isEmpty())
        return nullptr;
    const double kept = double(picture->bitmap.width()) / picture->sourceSize.width;
    return imageWithBitmap(budgeted(std::move(picture->bitmap)), acceptedScale(scale) * kept);
}

std::shared_ptr<UIImage> UIImage::imageWithBitmap(std::shared_ptr<const platform::Bitmap> bitmap,
                                                  double scale) {
    if (!bitmap || bitmap->isEmpty())
        return nullptr;
    auto image = std::make_shared<UIImage>();
    image->m_bitmap = std::move(bitmap);
    image->m_scale = acceptedScale(scale);
    return image;
}

std::shared_ptr<UIImage> UIImage::imageWithFile(const std::string& devicePath, double scale) {
    std::vector<std::uint8_t> bytes;
    if (!platform::readFile(devicePath, bytes))
        return nullptr;
    auto image = imageWithData(bytes, scale);
    if (image)
        image->m_sourcePath = platform::DeviceRoot::normalize(devicePath);
    return image;
}

std::shared_ptr<UIImage> UIImage::imageWithContentsOfFile(std::string_view devicePath) {
    if (devicePath.empty())
        return nullptr;
    return imageWithFile(std::string(devicePath), platform::ImageFileName::scaleFromPath(devicePath));
}

std::shared_ptr<UIImage> UIImage::imageNamed(std::string_view name, const std::shared_ptr<NSBundle>& bundle,
                                             const std::shared_ptr<UITraitCollection>& traits) {
    if (!bundle || name.empty())
        return nullptr;
    for (const auto& variant : platform::ImageFileName::variantsForName(name, displayScale(traits))) {
        auto path = bundle->pathForResource(variant.resourceName, variant.type);
        if (!path)
            continue;
        // A variant that exists but does not decode gives way to the next one.
        if (auto image = imageWithFile(*path, variant.scale)) {
            image->m_name = std::string(name);
            return image;
        }
    }
    return nullptr;
}

CGSize UIImage::size() const {
    if (!m_bitmap)
        return CGSizeZero;
    return CGSizeMake(m_bitmap->width() / m_scale, m_bitmap->height() / m_scale);
}

std::string UIImage::description() const {
    std::ostringstream text;
    CGSize points = size();
    text << "<UIImage: " << static_cast<const void*>(this) << ">";
    if (!m_name.empty())
        text << " named(" << m_name << ")";
    else if (!m_sourcePath.empty())
        text << " file(" << m_sourcePath << ")";
    text << " {" << points.width << ", " << points.height << "} @" << m_scale << "x";
    return text.str();
}

std::shared_ptr<NSData> UIImagePNGRepresentation(const std::shared_ptr<UIImage>& image) {
    if (!image || !image->bitmap())
        return nullptr;
    auto bytes = platform::PngEncoder::encode(*image->bitmap());
    if (bytes.empty())
        return nullptr;
    return std::make_shared<NSData>(std::move(bytes));
}

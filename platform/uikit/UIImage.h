#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/runtime/NSObject.h"
#include "platform/uikit/Bitmap.h"
#include "platform/uikit/CGGeometry.h"
#include "platform/uikit/ImageReduction.h"

class NSBundle;
class NSData;
class UITraitCollection;

// An immutable decoded image with a scale: its size in points is its pixel size divided by the
// scale. Images are shared: the same bitmap may back many image views. Pixels decoded from data
// count against the process's DecodedPictureBudget while an image holds them; data that would
// pass it gives nil.
class UIImage : public NSObject {
public:
    // An empty image (no bitmap, size zero, scale 1). Use the class methods to make real ones.
    UIImage() = default;

    // PNG or JPEG data (told by its signature); nil for data that does not decode. A scale that is
    // not a positive number counts as 1.
    static std::shared_ptr<UIImage> imageWithData(const std::shared_ptr<NSData>& data);
    static std::shared_ptr<UIImage> imageWithData(const std::shared_ptr<NSData>& data, double scale);
    static std::shared_ptr<UIImage> imageWithData(std::span<const std::uint8_t> bytes, double scale = 1);
    // Decoded no larger than `reduction` needs, as ImageIO's thumbnails are: the image keeps the
    // whole picture's size in points, its scale lowered by as much as its pixels were reduced.
    static std::shared_ptr<UIImage> imageWithData(const std::shared_ptr<NSData>& data, double scale,
                                                  const platform::ImageReduction& reduction);
    static std::shared_ptr<UIImage> imageWithData(std::span<const std::uint8_t> bytes, double scale,
                                                  const platform::ImageReduction& reduction);
    // A file at a device path, with the scale its name announces ("icon@2x.png" is 2x).
    static std::shared_ptr<UIImage> imageWithContentsOfFile(std::string_view devicePath);
    // The image `name` from a bundle's resources, in the variant that suits the display scale of
    // `traits` (the main screen's when traits is nil or has no scale): "<name>@<scale>x" first, then
    // the nearest other scales, where the plain "<name>" is the 1x file; PNG, then JPEG. `name`
    // may carry its type. nil when the bundle is nil or no variant exists and decodes.
    static std::shared_ptr<UIImage> imageNamed(std::string_view name, const std::shared_ptr<NSBundle>& bundle,
                                               const std::shared_ptr<UITraitCollection>& traits = nullptr);
    // Wraps pixels that are already decoded (drawn images); nil for a nil or empty bitmap.
    static std::shared_ptr<UIImage> imageWithBitmap(std::shared_ptr<const platform::Bitmap> bitmap,
                                                    double scale = 1);

    // In points.
    CGSize size() const;
    double scale() const { return m_scale; }
    // nullptr for an empty image.
    const std::shared_ptr<const platform::Bitmap>& bitmap() const { return m_bitmap; }
    // For debugging: the name given to imageNamed, and the device path of the file the image was
    // read from (empty when it came from data).
    const std::string& name() const { return m_name; }
    const std::string& sourcePath() const { return m_sourcePath; }

    std::string description() const override;

private:
    static std::shared_ptr<UIImage> imageWithFile(const std::string& devicePath, double scale);

    std::shared_ptr<const platform::Bitmap> m_bitmap;
    double m_scale = 1;
    std::string m_name;
    std::string m_sourcePath;
};

using UIImagePtr = std::shared_ptr<UIImage>;

// The image as PNG data; nil for a nil or empty image.
std::shared_ptr<NSData> UIImagePNGRepresentation(const std::shared_ptr<UIImage>& image);

#include "platform/uikit/ImageFileName.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

namespace platform {

namespace {

constexpr std::array<std::string_view, 3> imageTypes{"png", "jpg", "jpeg"};
constexpr std::array<int, 3> availableScales{1, 2, 3};
constexpr int largestAnnouncedScale = 9;

bool equalsIgnoringCase(std::string_view lhs, std::string_view rhs) {
    return std::equal(lhs.begin(), lhs.end(), rhs.begin(), rhs.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

std::string_view lastPathComponent(std::string_view path) {
    auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The name without a known image type: "icon@2x.png" -> "icon@2x"; the type goes to *type.
std::string_view stripImageType(std::string_view name, std::string_view* type) {
    auto dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return name;
    std::string_view extension = name.substr(dot + 1);
    for (auto known : imageTypes) {
        if (equalsIgnoringCase(extension, known)) {
            if (type)
                *type = extension;
            return name.substr(0, dot);
        }
    }
    return name;
}

// The scale in a "name@<n>x" or "name@<n>x~device" stem, or 0.
int announcedScale(std::string_view stem) {
    if (auto tilde = stem.rfind('~'); tilde != std::string_view::npos)
        stem = stem.substr(0, tilde);
    if (stem.size() < 4 || stem.back() != 'x')
        return 0;
    char digit = stem[stem.size() - 2];
    if (stem[stem.size() - 3] != '@' || digit < '1' || digit > '0' + largestAnnouncedScale)
        return 0;
    return digit - '0';
}

std::vector<int> scalesByPreference(double preferredScale) {
    std::vector<int> scales(availableScales.begin(), availableScales.end());
    std::stable_sort(scales.begin(), scales.end(), [preferredScale](int lhs, int rhs) {
        double lhsDistance = std::abs(lhs - preferredScale);
        double rhsDistance = std::abs(rhs - preferredScale);
        if (lhsDistance != rhsDistance)
            return lhsDistance < rhsDistance;
        return lhs > rhs;
    });
    return scales;
}

std::string scaledName(std::string_view base, int scale) {
    std::string name(base);
    if (scale != 1)
        name += "@" + std::to_string(scale) + "x";
    return name;
}

} // namespace

double ImageFileName::scaleFromPath(std::string_view path) {
    int scale = announcedScale(stripImageType(lastPathComponent(path), nullptr));
    return scale > 0 ? scale : 1;
}

std::vector<ImageFileName::Variant> ImageFileName::variantsForName(std::string_view name,
                                                                   double preferredScale) {
    std::string_view givenType;
    std::string_view base = stripImageType(name, &givenType);
    std::vector<std::string_view> types(imageTypes.begin(), imageTypes.end());
    if (!givenType.empty())
        types = {givenType};
    std::vector<Variant> variants;
    if (base.empty())
        return variants;
    if (int scale = announcedScale(lastPathComponent(base)); scale > 0) {
        // The caller named one scale: only that file will do.
        for (auto type : types)
            variants.push_back({std::string(base), std::string(type), double(scale)});
        return variants;
    }
    for (int scale : scalesByPreference(preferredScale))
        for (auto type : types)
            variants.push_back({scaledName(base, scale), std::string(type), double(scale)});
    return variants;
}

} // namespace platform

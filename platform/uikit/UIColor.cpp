#include "platform/uikit/UIColor.h"

#include <cstdio>

#include "platform/uikit/ResolvingTraits.h"
#include "platform/uikit/UITraitCollection.h"

namespace {

[[maybe_unused]] const Class registeredColor = platform::registerClass<UIColor>("UIColor");

// A provider may answer another dynamic colour; this many hops and no more, so a provider that
// answers itself cannot loop.
constexpr int maximumResolutionDepth = 8;

std::shared_ptr<UIColor> rgb255(int red, int green, int blue, double alpha = 1.0) {
    return UIColor::colorWithRed(red / 255.0, green / 255.0, blue / 255.0, alpha);
}

std::shared_ptr<UIColor> lightDark(std::shared_ptr<UIColor> light, std::shared_ptr<UIColor> dark) {
    return UIColor::colorWithDynamicProvider(
        [light = std::move(light), dark = std::move(dark)](const std::shared_ptr<UITraitCollection>& traits) {
            return traits && traits->userInterfaceStyle() == UIUserInterfaceStyle::Dark ? dark : light;
        });
}

} // namespace

std::shared_ptr<UIColor> UIColor::colorWithRed(double red, double green, double blue, double alpha) {
    auto color = std::make_shared<UIColor>();
    color->m_components = {red, green, blue, alpha};
    return color;
}

std::shared_ptr<UIColor> UIColor::colorWithWhite(double white, double alpha) {
    return colorWithRed(white, white, white, alpha);
}

std::shared_ptr<UIColor> UIColor::colorWithDynamicProvider(DynamicProvider provider) {
    if (!provider)
        return nullptr;
    auto color = std::make_shared<UIColor>();
    color->m_provider = std::move(provider);
    return color;
}

std::shared_ptr<UIColor> UIColor::whiteColor() {
    static const auto color = colorWithWhite(1, 1);
    return color;
}

std::shared_ptr<UIColor> UIColor::blackColor() {
    static const auto color = colorWithWhite(0, 1);
    return color;
}

std::shared_ptr<UIColor> UIColor::clearColor() {
    static const auto color = colorWithWhite(0, 0);
    return color;
}

std::shared_ptr<UIColor> UIColor::redColor() {
    static const auto color = colorWithRed(1, 0, 0, 1);
    return color;
}

std::shared_ptr<UIColor> UIColor::systemBlueColor() {
    static const auto color = lightDark(rgb255(0, 122, 255), rgb255(10, 132, 255));
    return color;
}

std::shared_ptr<UIColor> UIColor::systemGrayColor() {
    static const auto color = lightDark(rgb255(142, 142, 147), rgb255(142, 142, 147));
    return color;
}

std::shared_ptr<UIColor> UIColor::labelColor() {
    static const auto color = lightDark(blackColor(), whiteColor());
    return color;
}

std::shared_ptr<UIColor> UIColor::secondaryLabelColor() {
    static const auto color = lightDark(rgb255(60, 60, 67, 0.6), rgb255(235, 235, 245, 0.6));
    return color;
}

std::shared_ptr<UIColor> UIColor::placeholderTextColor() {
    static const auto color = lightDark(rgb255(60, 60, 67, 0.3), rgb255(235, 235, 245, 0.3));
    return color;
}

std::shared_ptr<UIColor> UIColor::systemBackgroundColor() {
    static const auto color = lightDark(whiteColor(), blackColor());
    return color;
}

std::shared_ptr<UIColor> UIColor::systemGroupedBackgroundColor() {
    static const auto color = lightDark(rgb255(242, 242, 247), blackColor());
    return color;
}

std::shared_ptr<UIColor> UIColor::secondarySystemGroupedBackgroundColor() {
    static const auto color = lightDark(whiteColor(), rgb255(28, 28, 30));
    return color;
}

std::shared_ptr<UIColor> UIColor::separatorColor() {
    static const auto color = lightDark(rgb255(60, 60, 67, 0.29), rgb255(84, 84, 88, 0.6));
    return color;
}

std::shared_ptr<UIColor>
UIColor::resolvedColorWithTraitCollection(const std::shared_ptr<UITraitCollection>& traits) {
    if (!isDynamic())
        return selfAs<UIColor>();
    auto components = resolvedComponents(platform::completedTraitCollection(traits));
    return colorWithRed(components.red, components.green, components.blue, components.alpha);
}

UIColor::Components UIColor::resolvedComponents(const std::shared_ptr<UITraitCollection>& traits) const {
    const UIColor* color = this;
    std::shared_ptr<UIColor> keepAlive;
    for (int depth = 0; color->isDynamic(); ++depth) {
        if (depth == maximumResolutionDepth)
            return {};
        keepAlive = color->m_provider(traits);
        if (!keepAlive)
            return {};
        color = keepAlive.get();
    }
    return color->m_components;
}

bool UIColor::getRed(double* red, double* green, double* blue, double* alpha) const {
    auto components = resolvedComponents(platform::resolvingTraitCollection());
    if (red)
        *red = components.red;
    if (green)
        *green = components.green;
    if (blue)
        *blue = components.blue;
    if (alpha)
        *alpha = components.alpha;
    return true;
}

bool UIColor::getWhite(double* white, double* alpha) const {
    auto components = resolvedComponents(platform::resolvingTraitCollection());
    // Rec. 601 luma, as a grey conversion of an sRGB colour.
    if (white)
        *white = 0.299 * components.red + 0.587 * components.green + 0.114 * components.blue;
    if (alpha)
        *alpha = components.alpha;
    return true;
}

std::shared_ptr<UIColor> UIColor::colorWithAlphaComponent(double alpha) const {
    if (!isDynamic())
        return colorWithRed(m_components.red, m_components.green, m_components.blue, alpha);
    return colorWithDynamicProvider(
        [provider = m_provider, alpha](const std::shared_ptr<UITraitCollection>& traits) {
            auto resolved = provider(traits);
            auto components = resolved ? resolved->resolvedComponents(traits) : Components{};
            return colorWithRed(components.red, components.green, components.blue, alpha);
        });
}

bool UIColor::isEqual(const std::shared_ptr<UIColor>& other) const {
    if (!other)
        return false;
    if (other.get() == this)
        return true;
    auto traits = platform::resolvingTraitCollection();
    auto mine = resolvedComponents(traits);
    auto theirs = other->resolvedComponents(traits);
    return mine.red == theirs.red && mine.green == theirs.green && mine.blue == theirs.blue &&
           mine.alpha == theirs.alpha;
}

std::string UIColor::description() const {
    auto components = resolvedComponents(platform::resolvingTraitCollection());
    char text[96];
    std::snprintf(text, sizeof text, "UIExtendedSRGBColorSpace %g %g %g %g", components.red, components.green,
                  components.blue, components.alpha);
    return text;
}

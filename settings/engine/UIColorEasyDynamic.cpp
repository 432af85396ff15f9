#include "settings/engine/UIColorEasyDynamic.h"

#include <string>
#include <vector>

#include "platform/foundation/NSProcessInfo.h"
#include "platform/runtime/MethodBinding.h"
#include "platform/runtime/ObjCRuntime.h"
#include "platform/uikit/UITraitCollection.h"

namespace {

constexpr std::size_t componentCount = 3;

std::vector<std::string_view> splitComponents(std::string_view string) {
    std::vector<std::string_view> components;
    while (true) {
        auto separator = string.find(':');
        components.push_back(string.substr(0, separator));
        if (separator == std::string_view::npos)
            return components;
        string.remove_prefix(separator + 1);
    }
}

float componentValue(std::string_view component) {
    return Value(std::string(component)).floatValue();
}

bool systemHasDarkAppearance() {
    return NSProcessInfo::processInfo().isOperatingSystemAtLeastVersion({13, 0, 0});
}

[[maybe_unused]] const bool categoryRegistered = (UIColorEasyDynamic::registerCategory(), true);

} // namespace

UIColorPtr UIColorEasyDynamic::dynamicColorWithLightVariant(const UIColorPtr& light, const UIColorPtr& dark) {
    if (!dark || !systemHasDarkAppearance())
        return light;
    return UIColor::colorWithDynamicProvider([light, dark](const std::shared_ptr<UITraitCollection>& traits) {
        return traits && traits->userInterfaceStyle() == UIUserInterfaceStyle::Dark ? dark : light;
    });
}

UIColorPtr UIColorEasyDynamic::_colorFromKVString(std::string_view string) {
    auto components = splitComponents(string);
    if (components.size() < componentCount)
        return nullptr;
    return UIColor::colorWithRed(componentValue(components[0]), componentValue(components[1]),
                                 componentValue(components[2]), 1.0);
}

UIColorPtr UIColorEasyDynamic::colorForKey(std::string_view key, const Value& dictionary) {
    const Value& lightString = dictionary[key];
    if (lightString.isNull())
        return nullptr;
    auto light = _colorFromKVString(lightString.stringValue());
    if (!light)
        return nullptr;
    const Value& darkString = dictionary[std::string(key) + ":dark"];
    auto dark = darkString.isNull() ? nullptr : _colorFromKVString(darkString.stringValue());
    return dynamicColorWithLightVariant(light, dark);
}

void UIColorEasyDynamic::registerCategory() {
    Class colorClass = objc_getClass("UIColor");
    using platform::bind;
    platform::addClassMethods(colorClass, {
        {"_colorFromKVString:", bind<&_colorFromKVString>()},
        {"colorForKey:fromDictionary:", bind<&colorForKey>()},
        {"dynamicColorWithLightVariant:darkVariant:", bind<&dynamicColorWithLightVariant>()},
    });
}

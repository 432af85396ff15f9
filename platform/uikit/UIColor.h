#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/runtime/NSObject.h"

class UITraitCollection;

// A colour: fixed sRGB components (unclamped, as extended sRGB allows), or a dynamic colour whose
// provider picks a colour for a trait collection (light or dark appearance). A dynamic colour is
// resolved whenever its components are read: getRed() and isEqual() use the current trait collection.
class UIColor : public NSObject {
public:
    using DynamicProvider =
        std::function<std::shared_ptr<UIColor>(const std::shared_ptr<UITraitCollection>&)>;

    static std::shared_ptr<UIColor> colorWithRed(double red, double green, double blue, double alpha);
    static std::shared_ptr<UIColor> colorWithWhite(double white, double alpha);
    // nullptr for an empty provider. A provider that answers nil resolves to clearColor.
    static std::shared_ptr<UIColor> colorWithDynamicProvider(DynamicProvider provider);

    static std::shared_ptr<UIColor> whiteColor();
    static std::shared_ptr<UIColor> blackColor();
    static std::shared_ptr<UIColor> clearColor();
    static std::shared_ptr<UIColor> redColor();
    static std::shared_ptr<UIColor> systemBlueColor();                       // dynamic
    static std::shared_ptr<UIColor> systemGrayColor();                       // dynamic
    static std::shared_ptr<UIColor> labelColor();                            // dynamic: black / white
    static std::shared_ptr<UIColor> secondaryLabelColor();                   // dynamic
    static std::shared_ptr<UIColor> placeholderTextColor();                  // dynamic
    static std::shared_ptr<UIColor> systemBackgroundColor();                 // dynamic: white / black
    static std::shared_ptr<UIColor> systemGroupedBackgroundColor();          // dynamic
    static std::shared_ptr<UIColor> secondarySystemGroupedBackgroundColor(); // dynamic
    static std::shared_ptr<UIColor> separatorColor();                        // dynamic

    bool isDynamic() const { return static_cast<bool>(m_provider); }
    // The fixed colour for these traits: the receiver itself when it is not dynamic.
    std::shared_ptr<UIColor>
    resolvedColorWithTraitCollection(const std::shared_ptr<UITraitCollection>& traits);
    // The components resolved with the current trait collection; any pointer may be null.
    bool getRed(double* red, double* green, double* blue, double* alpha) const;
    bool getWhite(double* white, double* alpha) const;
    // The same colour with another alpha; a dynamic colour stays dynamic.
    std::shared_ptr<UIColor> colorWithAlphaComponent(double alpha) const;

    // Equal when the components resolved with the current trait collection are equal.
    bool isEqual(const std::shared_ptr<UIColor>& other) const;
    // "UIExtendedSRGBColorSpace 0.47 0.53 0.97 1", resolved with the current trait collection.
    std::string description() const override;

    // Public so std::make_shared can build one; use the class methods.
    UIColor() = default;

private:
    struct Components {
        double red = 0, green = 0, blue = 0, alpha = 0;
    };
    Components resolvedComponents(const std::shared_ptr<UITraitCollection>& traits) const;

    Components m_components;
    DynamicProvider m_provider;
};

using UIColorPtr = std::shared_ptr<UIColor>;

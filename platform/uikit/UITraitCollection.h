#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/runtime/NSObject.h"

// Both spellings work: UIUserInterfaceStyle::Dark and the platform's UIUserInterfaceStyleDark.
enum class UIUserInterfaceStyle : std::int64_t { Unspecified = 0, Light = 1, Dark = 2 };
inline constexpr UIUserInterfaceStyle UIUserInterfaceStyleUnspecified = UIUserInterfaceStyle::Unspecified;
inline constexpr UIUserInterfaceStyle UIUserInterfaceStyleLight = UIUserInterfaceStyle::Light;
inline constexpr UIUserInterfaceStyle UIUserInterfaceStyleDark = UIUserInterfaceStyle::Dark;

enum class UIUserInterfaceSizeClass : std::int64_t { Unspecified = 0, Compact = 1, Regular = 2 };
inline constexpr UIUserInterfaceSizeClass UIUserInterfaceSizeClassUnspecified =
    UIUserInterfaceSizeClass::Unspecified;
inline constexpr UIUserInterfaceSizeClass UIUserInterfaceSizeClassCompact = UIUserInterfaceSizeClass::Compact;
inline constexpr UIUserInterfaceSizeClass UIUserInterfaceSizeClassRegular = UIUserInterfaceSizeClass::Regular;

// An immutable set of traits (appearance, horizontal size class, display scale). A trait that was
// never given is unspecified: Unspecified for the enumerations, 0 for the display scale.
class UITraitCollection : public NSObject {
public:
    // Every trait unspecified.
    UITraitCollection() = default;

    static std::shared_ptr<UITraitCollection>
    traitCollectionWithUserInterfaceStyle(UIUserInterfaceStyle style);
    static std::shared_ptr<UITraitCollection>
    traitCollectionWithHorizontalSizeClass(UIUserInterfaceSizeClass sizeClass);
    static std::shared_ptr<UITraitCollection> traitCollectionWithDisplayScale(double scale);
    // Each trait from the last collection that specifies it; nil entries are skipped.
    static std::shared_ptr<UITraitCollection> traitCollectionWithTraitsFromCollections(
        const std::vector<std::shared_ptr<UITraitCollection>>& collections);

    // The traits code on this thread resolves against (dynamic colours, images): the collection
    // last made current on this thread, or one with every trait unspecified.
    static std::shared_ptr<UITraitCollection> currentTraitCollection();
    static void setCurrentTraitCollection(std::shared_ptr<UITraitCollection> traits);

    UIUserInterfaceStyle userInterfaceStyle() const { return m_userInterfaceStyle; }
    UIUserInterfaceSizeClass horizontalSizeClass() const { return m_horizontalSizeClass; }
    double displayScale() const { return m_displayScale; }

    // Makes the receiver current on this thread while `body` runs, then puts the previous one back.
    void performAsCurrentTraitCollection(const std::function<void()>& body);

    // True when every trait that `traits` specifies has the same value here; nil contains nothing.
    bool containsTraitsInCollection(const std::shared_ptr<UITraitCollection>& traits) const;
    bool isEqual(const UITraitCollection& other) const;
    std::string description() const override;

private:
    UIUserInterfaceStyle m_userInterfaceStyle = UIUserInterfaceStyle::Unspecified;
    UIUserInterfaceSizeClass m_horizontalSizeClass = UIUserInterfaceSizeClass::Unspecified;
    double m_displayScale = 0;
};

using UITraitCollectionPtr = std::shared_ptr<UITraitCollection>;

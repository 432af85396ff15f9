#include "platform/uikit/UITraitCollection.h"

#include <sstream>

namespace {

[[maybe_unused]] const Class registeredTraitCollection =
    platform::registerClass<UITraitCollection>("UITraitCollection");

thread_local std::shared_ptr<UITraitCollection> currentTraits;

const char* styleName(UIUserInterfaceStyle style) {
    switch (style) {
    case UIUserInterfaceStyle::Light:
        return "Light";
    case UIUserInterfaceStyle::Dark:
        return "Dark";
    case UIUserInterfaceStyle::Unspecified:
        break;
    }
    return "Unspecified";
}

const char* sizeClassName(UIUserInterfaceSizeClass sizeClass) {
    switch (sizeClass) {
    case UIUserInterfaceSizeClass::Compact:
        return "Compact";
    case UIUserInterfaceSizeClass::Regular:
        return "Regular";
    case UIUserInterfaceSizeClass::Unspecified:
        break;
    }
    return "Unspecified";
}

// A scale that is not a positive number stays unspecified.
double acceptedScale(double scale) {
    return scale > 0 ? scale : 0;
}

} // namespace

std::shared_ptr<UITraitCollection>
UITraitCollection::traitCollectionWithUserInterfaceStyle(UIUserInterfaceStyle style) {
    auto traits = std::make_shared<UITraitCollection>();
    traits->m_userInterfaceStyle = style;
    return traits;
}

std::shared_ptr<UITraitCollection>
UITraitCollection::traitCollectionWithHorizontalSizeClass(UIUserInterfaceSizeClass sizeClass) {
    auto traits = std::make_shared<UITraitCollection>();
    traits->m_horizontalSizeClass = sizeClass;
    return traits;
}

std::shared_ptr<UITraitCollection> UITraitCollection::traitCollectionWithDisplayScale(double scale) {
    auto traits = std::make_shared<UITraitCollection>();
    traits->m_displayScale = acceptedScale(scale);
    return traits;
}

std::shared_ptr<UITraitCollection> UITraitCollection::traitCollectionWithTraitsFromCollections(
    const std::vector<std::shared_ptr<UITraitCollection>>& collections) {
    auto merged = std::make_shared<UITraitCollection>();
    for (const auto& traits : collections) {
        if (!traits)
            continue;
        if (traits->m_userInterfaceStyle != UIUserInterfaceStyle::Unspecified)
            merged->m_userInterfaceStyle = traits->m_userInterfaceStyle;
        if (traits->m_horizontalSizeClass != UIUserInterfaceSizeClass::Unspecified)
            merged->m_horizontalSizeClass = traits->m_horizontalSizeClass;
        if (traits->m_displayScale > 0)
            merged->m_displayScale = traits->m_displayScale;
    }
    return merged;
}

std::shared_ptr<UITraitCollection> UITraitCollection::currentTraitCollection() {
    if (!currentTraits)
        currentTraits = std::make_shared<UITraitCollection>();
    return currentTraits;
}

void UITraitCollection::setCurrentTraitCollection(std::shared_ptr<UITraitCollection> traits) {
    currentTraits = std::move(traits);
}

void UITraitCollection::performAsCurrentTraitCollection(const std::function<void()>& body) {
    if (!body)
        return;
    auto previous = currentTraits;
    currentTraits = selfAs<UITraitCollection>();
    // Puts the previous collection back however body leaves.
    struct Restore {
        std::shared_ptr<UITraitCollection>& slot;
        std::shared_ptr<UITraitCollection> previous;
        ~Restore() { slot = std::move(previous); }
    } restore{currentTraits, std::move(previous)};
    body();
}

bool UITraitCollection::containsTraitsInCollection(const std::shared_ptr<UITraitCollection>& traits) const {
    if (!traits)
        return false;
    if (traits->m_userInterfaceStyle != UIUserInterfaceStyle::Unspecified &&
        traits->m_userInterfaceStyle != m_userInterfaceStyle)
        return false;
    if (traits->m_horizontalSizeClass != UIUserInterfaceSizeClass::Unspecified &&
        traits->m_horizontalSizeClass != m_horizontalSizeClass)
        return false;
    return traits->m_displayScale == 0 || traits->m_displayScale == m_displayScale;
}

bool UITraitCollection::isEqual(const UITraitCollection& other) const {
    return m_userInterfaceStyle == other.m_userInterfaceStyle &&
           m_horizontalSizeClass == other.m_horizontalSizeClass && m_displayScale == other.m_displayScale;
}

std::string UITraitCollection::description() const {
    std::ostringstream text;
    text << "<UITraitCollection: " << static_cast<const void*>(this)
         << "; UserInterfaceStyle = " << styleName(m_userInterfaceStyle)
         << ", HorizontalSizeClass = " << sizeClassName(m_horizontalSizeClass)
         << ", DisplayScale = " << m_displayScale << ">";
    return text.str();
}

#include "platform/uikit/UIAlertControllerVisualStyle.h"

#include "platform/uikit/UITraitCollection.h"

namespace {

[[maybe_unused]] const Class registeredVisualStyle =
    platform::registerClass<UIAlertControllerVisualStyle>("UIAlertControllerVisualStyle");

constexpr CGFloat titleFontSize = 17;
constexpr CGFloat messageFontSize = 13;

} // namespace

UIAlertControllerVisualStyle::UIAlertControllerVisualStyle(std::shared_ptr<UITraitCollection> traits,
                                                           bool usesDynamicColors)
    : m_traits(std::move(traits)), m_usesDynamicColors(usesDynamicColors) {}

std::shared_ptr<UIFont> UIAlertControllerVisualStyle::messageLabelFont() const {
    return UIFont::systemFontOfSize(messageFontSize);
}

std::shared_ptr<UIColor> UIAlertControllerVisualStyle::messageLabelColor() const {
    return m_usesDynamicColors ? UIColor::labelColor() : UIColor::blackColor();
}

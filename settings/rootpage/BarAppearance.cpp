#include "settings/rootpage/BarAppearance.h"

#include "platform/uikit/UIImage.h"

namespace BarAppearance {

void theme(UINavigationBar& bar, const UIColorPtr& headerColour) {
    bar.setBarTintColor(headerColour);
    bar.setTintColor(UIColor::whiteColor());
    bar.setBarStyle(UIBarStyle::BlackTranslucent);
    bar.setTranslucent(false);
    bar.setShadowImage(std::make_shared<UIImage>());
}

void restore(UINavigationBar& bar) {
    const auto look = UINavigationBar::appearance();
    bar.setBarTintColor(look->barTintColor());
    bar.setTintColor(look->ownTintColor());
    bar.setBarStyle(look->barStyle());
    bar.setShadowImage(look->shadowImage());
    bar.setTranslucent(true);
}

} // namespace BarAppearance

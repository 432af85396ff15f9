#include "platform/uikit/UINavigationBar.h"

std::shared_ptr<UINavigationBar> UINavigationBar::appearance() {
    static const auto shared = std::make_shared<UINavigationBar>();
    return shared;
}

void UINavigationBar::setTintColor(const UIColorPtr& color) {
    m_ownTintColor = color;
    UIView::setTintColor(color);
}

void UINavigationBar::_applyAppearance() {
    const auto look = appearance();
    if (look.get() == this)
        return;
    setBarTintColor(look->barTintColor());
    setTintColor(look->ownTintColor());
    setBarStyle(look->barStyle());
    setTranslucent(look->isTranslucent());
    setShadowImage(look->shadowImage());
}

void UINavigationBar::setTranslucent(bool translucent) {
    if (translucent == m_translucent)
        return;
    m_translucent = translucent;
    if (auto container = superview())
        container->setNeedsLayout();
}

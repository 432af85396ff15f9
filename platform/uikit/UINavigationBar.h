#pragma once

#include <memory>

#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIView.h"

enum class UIBarStyle {
    Default = 0,
    Black = 1,
    // Deprecated on the platform but still honoured: a black bar (2).
    BlackTranslucent = 2,
};

// The bar above a navigation controller's pages. Only its look is stored: bar tint, tint, bar style,
// translucency and the shadow image (the hairline under the bar; an empty image removes it, nil means
// the default hairline).
class UINavigationBar : public UIView {
public:
    UINavigationBar() = default;

    // The application-wide look of navigation bars (`[UINavigationBar appearance]`): values set on it
    // are given to every bar that a navigation controller makes afterwards, and code reads them back
    // to restore a bar. Its tint colour is nil until set. Main thread only.
    static std::shared_ptr<UINavigationBar> appearance();

    const UIColorPtr& barTintColor() const { return m_barTintColor; }
    void setBarTintColor(const UIColorPtr& color) { m_barTintColor = color; }
    UIBarStyle barStyle() const { return m_barStyle; }
    void setBarStyle(UIBarStyle style) { m_barStyle = style; }
    bool isTranslucent() const { return m_translucent; }
    // The controller whose view holds the bar lays its page out again: an opaque bar moves pages
    // that do not extend under it.
    void setTranslucent(bool translucent);
    const std::shared_ptr<UIImage>& shadowImage() const { return m_shadowImage; }
    void setShadowImage(const std::shared_ptr<UIImage>& image) { m_shadowImage = image; }
    // Whether the bar draws its bottom hairline: only a set image without pixels removes it.
    bool showsShadowHairline() const { return !m_shadowImage || m_shadowImage->bitmap() != nullptr; }

    // The tint set on this bar itself; nil while it inherits. (tintColor() resolves inheritance.)
    const UIColorPtr& ownTintColor() const { return m_ownTintColor; }
    void setTintColor(const UIColorPtr& color) override;

    // Takes the appearance's values (what a navigation controller does with a new bar).
    void _applyAppearance();

private:
    UIColorPtr m_barTintColor;
    UIColorPtr m_ownTintColor;
    std::shared_ptr<UIImage> m_shadowImage;
    UIBarStyle m_barStyle = UIBarStyle::Default;
    bool m_translucent = true;
};

using UINavigationBarPtr = std::shared_ptr<UINavigationBar>;

#pragma once

#include "uikit/UIView.h"

enum class UIBarStyle {
    Default = 0,
    Black = 1,
};

// The bar above a navigation controller's pages. Only its look is stored for now.
class UINavigationBar : public UIView {
public:
    UINavigationBar() = default;

    const UIColorPtr& barTintColor() const { return m_barTintColor; }
    void setBarTintColor(const UIColorPtr& color) { m_barTintColor = color; }
    UIBarStyle barStyle() const { return m_barStyle; }
    void setBarStyle(UIBarStyle style) { m_barStyle = style; }
    bool isTranslucent() const { return m_translucent; }
    void setTranslucent(bool translucent) { m_translucent = translucent; }
    bool prefersLargeTitles() const { return m_prefersLargeTitles; }
    void setPrefersLargeTitles(bool prefers) { m_prefersLargeTitles = prefers; }

private:
    UIColorPtr m_barTintColor;
    UIBarStyle m_barStyle = UIBarStyle::Default;
    bool m_translucent = true;
    bool m_prefersLargeTitles = false;
};

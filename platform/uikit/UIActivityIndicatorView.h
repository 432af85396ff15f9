#pragma once

#include "platform/uikit/UIView.h"

enum class UIActivityIndicatorViewStyle {
    WhiteLarge = 0,
    White = 1,
    Gray = 2,
    Medium = 100,
    Large = 101,
};

// A spinner. With hidesWhenStopped (the default) it is hidden whenever it is not animating.
class UIActivityIndicatorView : public UIView {
public:
    UIActivityIndicatorView();
    explicit UIActivityIndicatorView(UIActivityIndicatorViewStyle style);

    bool hidesWhenStopped() const { return m_hidesWhenStopped; }
    UIActivityIndicatorViewStyle activityIndicatorViewStyle() const { return m_style; }
    const UIColorPtr& color() const { return m_color; }
    void setColor(const UIColorPtr& color) { m_color = color; }

private:
    UIColorPtr m_color;
    UIActivityIndicatorViewStyle m_style = UIActivityIndicatorViewStyle::Medium;
    bool m_animating = false;
    bool m_hidesWhenStopped = true;
};

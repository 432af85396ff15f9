#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/uikit/UIAppearance.h"
#include "platform/uikit/UIControl.h"

class UIImage;

enum class UIButtonType {
    Custom = 0,
    System = 1,
    DetailDisclosure = 2,
    InfoLight = 3,
    InfoDark = 4,
    ContactAdd = 5,
};

// A button with a title, title colour and image per control state. What a state lacks comes from
// the normal state, as on the platform. A system button draws its title (and its image as a
// template) in its tint colour unless a title colour is set. Its intrinsic content size is its
// image beside its title (system font of 15 points), or 30 by 34 points when it has neither.
class UIButton : public UIControl, public UIAppearance<UIButton> {
public:
    static constexpr std::string_view appearanceClassName = "UIButton";

    static std::shared_ptr<UIButton> buttonWithType(UIButtonType type);
    UIButton() = default;


    void setTitle(std::optional<std::string> title, UIControlState state);
    std::optional<std::string> titleForState(UIControlState state) const;
    void setTitleColor(const UIColorPtr& color, UIControlState state);
    UIColorPtr titleColorForState(UIControlState state) const;
    void setImage(const std::shared_ptr<UIImage>& image, UIControlState state);
    std::shared_ptr<UIImage> imageForState(UIControlState state) const;

    // For the control's present state().
    std::optional<std::string> currentTitle() const { return titleForState(state()); }
    std::shared_ptr<UIImage> currentImage() const { return imageForState(state()); }
    // The title colour for the present state: the one set, else the tint (system) or white (custom).
    UIColorPtr currentTitleColor() const;

    CGSize intrinsicContentSize() const override;
    CGSize sizeThatFits(CGSize size) const override;

private:
    template <class T>
    static T valueForState(const std::map<UIControlState, T>& values, UIControlState state);

    std::map<UIControlState, std::string> m_titles;
    std::map<UIControlState, UIColorPtr> m_titleColors;
    std::map<UIControlState, std::shared_ptr<UIImage>> m_images;
    UIButtonType m_type = UIButtonType::Custom;
};

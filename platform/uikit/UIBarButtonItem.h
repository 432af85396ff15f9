#pragma once

#include <memory>
#include <string>

#include "platform/runtime/NSObject.h"
#include "platform/uikit/UIColor.h"

class UIImage;
class UIView;

enum class UIBarButtonItemStyle {
    Plain = 0,
    Bordered = 1,
    Done = 2,
};

// An item of a navigation bar: an image or a title (or a custom view), and the action that a tap
// sends to the target (held weakly) through the runtime, with the item as the argument.
class UIBarButtonItem : public NSObject {
public:
    static std::shared_ptr<UIBarButtonItem> initWithImage(const std::shared_ptr<UIImage>& image,
                                                          UIBarButtonItemStyle style, const id& target,
                                                          std::string action);
    static std::shared_ptr<UIBarButtonItem> initWithTitle(std::string title, UIBarButtonItemStyle style,
                                                          const id& target, std::string action);
    UIBarButtonItem() = default;

    const std::shared_ptr<UIImage>& image() const { return m_image; }
    void setImage(const std::shared_ptr<UIImage>& image) { m_image = image; }
    const std::string& title() const { return m_title; }
    void setTitle(std::string title) { m_title = std::move(title); }
    UIBarButtonItemStyle style() const { return m_style; }
    id target() const { return m_target.lock(); }
    void setTarget(const id& target) { m_target = target; }
    // The full selector string, e.g. "shareTapped:".
    const std::string& action() const { return m_action; }
    const std::shared_ptr<UIView>& customView() const { return m_customView; }
    const UIColorPtr& tintColor() const { return m_tintColor; }
    void setTintColor(const UIColorPtr& color) { m_tintColor = color; }
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }

    // What a tap does: sends the action to the target. False when disabled, when there is no
    // target or action any more, or when the target does not respond to the action.
    bool _sendAction();

private:
    std::shared_ptr<UIImage> m_image;
    std::string m_title;
    std::weak_ptr<NSObject> m_target;
    std::string m_action;
    std::shared_ptr<UIView> m_customView;
    UIColorPtr m_tintColor;
    UIBarButtonItemStyle m_style = UIBarButtonItemStyle::Plain;
    bool m_enabled = true;
};

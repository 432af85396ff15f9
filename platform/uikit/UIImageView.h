#pragma once

#include <memory>

#include "platform/uikit/UIView.h"

class UIImage;

// Shows an image in its bounds as its content mode says. Its intrinsic content size is the image's
// size in points (none without an image).
class UIImageView : public UIView {
public:
    static constexpr platform::RegisteredName<UIImageView> registeredName{"UIImageView"};
    UIImageView();
    // Sets the image and sizes the view to it, as the platform does.
    std::shared_ptr<UIImageView> initWithImage(const std::shared_ptr<UIImage>& image);

    const std::shared_ptr<UIImage>& image() const { return m_image; }
    void setImage(const std::shared_ptr<UIImage>& image);

    CGSize intrinsicContentSize() const override;
    CGSize sizeThatFits(CGSize size) const override;

    // Where the image is drawn in the bounds (it may reach outside them, e.g. aspect fill).
    CGRect _imageRect() const;
    // Where content of `contentSize` goes in `bounds` under a content mode.
    static CGRect rectForContentMode(UIViewContentMode mode, CGSize contentSize, CGRect bounds);

private:
    std::shared_ptr<UIImage> m_image;
};

using UIImageViewPtr = std::shared_ptr<UIImageView>;

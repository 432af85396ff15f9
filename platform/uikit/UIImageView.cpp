#include "platform/uikit/UIImageView.h"

#include <algorithm>

#include "platform/uikit/UIImage.h"

namespace {

[[maybe_unused]] const Class registeredImageView =
    platform::registerClass<UIImageView, UIView>();

} // namespace

UIImageView::UIImageView() {
    setUserInteractionEnabled(false);
}

std::shared_ptr<UIImageView> UIImageView::initWithImage(const std::shared_ptr<UIImage>& image) {
    setImage(image);
    if (image)
        setFrame({CGPointZero, image->size()});
    return selfAs<UIImageView>();
}

void UIImageView::setImage(const std::shared_ptr<UIImage>& image) {
    if (image == m_image)
        return;
    bool sizeChanged = !image || !m_image || image->size() != m_image->size();
    m_image = image;
    if (sizeChanged)
        invalidateIntrinsicContentSize();
}

CGSize UIImageView::intrinsicContentSize() const {
    if (!m_image)
        return {UIViewNoIntrinsicMetric, UIViewNoIntrinsicMetric};
    return m_image->size();
}

CGSize UIImageView::sizeThatFits(CGSize size) const {
    return m_image ? m_image->size() : UIView::sizeThatFits(size);
}

CGRect UIImageView::_imageRect() const {
    CGRect bounds = {CGPointZero, this->bounds().size};
    return m_image ? rectForContentMode(contentMode(), m_image->size(), bounds) : bounds;
}

CGRect UIImageView::rectForContentMode(UIViewContentMode mode, CGSize content, CGRect bounds) {
    CGFloat width = content.width, height = content.height;
    if (mode == UIViewContentModeScaleToFill || mode == UIViewContentModeRedraw || width <= 0 || height <= 0)
        return bounds;
    if (mode == UIViewContentModeScaleAspectFit || mode == UIViewContentModeScaleAspectFill) {
        CGFloat across = bounds.size.width / width, down = bounds.size.height / height;
        CGFloat scale =
            mode == UIViewContentModeScaleAspectFit ? std::min(across, down) : std::max(across, down);
        width *= scale;
        height *= scale;
    }
    CGFloat left = bounds.origin.x, right = CGRectGetMaxX(bounds) - width;
    CGFloat top = bounds.origin.y, bottom = CGRectGetMaxY(bounds) - height;
    CGFloat midX = (left + right) / 2, midY = (top + bottom) / 2;
    switch (mode) {
    case UIViewContentModeTop:
        return {{midX, top}, {width, height}};
    case UIViewContentModeBottom:
        return {{midX, bottom}, {width, height}};
    case UIViewContentModeLeft:
        return {{left, midY}, {width, height}};
    case UIViewContentModeRight:
        return {{right, midY}, {width, height}};
    case UIViewContentModeTopLeft:
        return {{left, top}, {width, height}};
    case UIViewContentModeTopRight:
        return {{right, top}, {width, height}};
    case UIViewContentModeBottomLeft:
        return {{left, bottom}, {width, height}};
    case UIViewContentModeBottomRight:
        return {{right, bottom}, {width, height}};
    default:
        return {{midX, midY}, {width, height}};
    }
}

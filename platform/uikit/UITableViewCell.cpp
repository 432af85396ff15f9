#include "platform/uikit/UITableViewCell.h"

#include <algorithm>

#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"

namespace {

[[maybe_unused]] const Class registeredClass =
    platform::registerClass<UITableViewCell, UIView>();

} // namespace

std::shared_ptr<UITableViewCell> UITableViewCell::initWithStyle(UITableViewCellStyle style,
                                                                std::string reuseIdentifier) {
    m_style = style;
    m_reuseIdentifier = std::move(reuseIdentifier);
    contentView();
    return selfAs<UITableViewCell>();
}

const std::shared_ptr<UIView>& UITableViewCell::contentView() {
    if (!m_contentView) {
        m_contentView = std::make_shared<UIView>();
        insertSubview(m_contentView, 0);
    }
    return m_contentView;
}

void UITableViewCell::setAccessoryView(const std::shared_ptr<UIView>& view) {
    if (m_accessoryView == view)
        return;
    if (m_accessoryView)
        m_accessoryView->removeFromSuperview();
    m_accessoryView = view;
    if (view)
        addSubview(view);
    setNeedsLayout();
}

void UITableViewCell::setText(std::string text) {
    m_text = std::move(text);
    if (m_textLabel || !m_text.empty())
        textLabel()->setText(m_text);
    setNeedsLayout();
}

void UITableViewCell::setDetailText(std::string text) {
    m_detailText = std::move(text);
    if (m_detailTextLabel || !m_detailText.empty())
        detailTextLabel()->setText(m_detailText);
    setNeedsLayout();
}

const std::shared_ptr<UILabel>& UITableViewCell::textLabel() {
    if (!m_textLabel) {
        m_textLabel = std::make_shared<UILabel>();
        m_textLabel->setText(m_text);
        contentView()->addSubview(m_textLabel);
    }
    return m_textLabel;
}

const std::shared_ptr<UILabel>& UITableViewCell::detailTextLabel() {
    if (!m_detailTextLabel) {
        m_detailTextLabel = std::make_shared<UILabel>();
        m_detailTextLabel->setTextColor(UIColor::secondaryLabelColor());
        m_detailTextLabel->setTextAlignment(NSTextAlignmentRight);
        m_detailTextLabel->setText(m_detailText);
        contentView()->addSubview(m_detailTextLabel);
    }
    return m_detailTextLabel;
}

void UITableViewCell::setImage(const std::shared_ptr<UIImage>& image) {
    m_image = image;
    if (!m_imageView && image) {
        m_imageView = std::make_shared<UIImageView>();
        contentView()->addSubview(m_imageView);
    }
    if (m_imageView) {
        m_imageView->setImage(image);
        m_imageView->setHidden(!image);
    }
    setNeedsLayout();
}

CGFloat UITableViewCell::_accessoryLeadingEdge() const {
    CGFloat right = bounds().size.width - horizontalMargin;
    if (m_accessoryView && !m_accessoryView->isHidden())
        return right - m_accessoryView->bounds().size.width - accessorySpacing;
    switch (m_accessoryType) {
    case UITableViewCellAccessoryDisclosureIndicator:
        return right - chevronWidth - accessorySpacing - 2;
    case UITableViewCellAccessoryCheckmark:
        return right - 14 - accessorySpacing;
    default:
        return right;
    }
}

void UITableViewCell::layoutSubviews() {
    UIView::layoutSubviews();
    CGRect box = bounds();
    if (m_contentView && m_contentView->translatesAutoresizingMaskIntoConstraints())
        m_contentView->setFrame(box);
    if (m_accessoryView && m_accessoryView->translatesAutoresizingMaskIntoConstraints()) {
        CGSize size = m_accessoryView->bounds().size;
        m_accessoryView->setFrame({{box.size.width - horizontalMargin - size.width, (box.size.height - size.height) / 2},
                                   size});
    }
    CGFloat leading = horizontalMargin;
    if (m_image && m_imageView) {
        CGSize size = m_image->size();
        m_imageView->setFrame({{leading, (box.size.height - size.height) / 2}, size});
        leading += size.width + 12;
    }
    layoutLabels(leading, _accessoryLeadingEdge());
}

void UITableViewCell::layoutLabels(CGFloat leading, CGFloat trailing) {
    CGFloat height = bounds().size.height;
    CGFloat detailWidth = 0;
    if (m_detailTextLabel && !m_detailText.empty() && m_style == UITableViewCellStyleValue1) {
        CGFloat room = std::max<CGFloat>(0, (trailing - leading) * 0.6);
        detailWidth = std::min(room, m_detailTextLabel->sizeThatFits({room, height}).width);
        m_detailTextLabel->setFrame({{trailing - detailWidth, 0}, {detailWidth, height}});
    } else if (m_detailTextLabel) {
        m_detailTextLabel->setFrame(CGRectZero);
    }
    if (m_textLabel) {
        CGFloat gap = detailWidth > 0 ? accessorySpacing : 0;
        m_textLabel->setFrame({{leading, 0}, {std::max<CGFloat>(0, trailing - leading - detailWidth - gap), height}});
    }
}

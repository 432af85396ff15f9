#include "platform/uikit/UIButton.h"

#include <algorithm>
#include <cmath>

#include "platform/uikit/TextLayout.h"
#include "platform/uikit/UIFont.h"
#include "platform/uikit/UIImage.h"

namespace {

[[maybe_unused]] const Class registeredButton = platform::registerClass<UIButton, UIControl>("UIButton");

} // namespace

std::shared_ptr<UIButton> UIButton::buttonWithType(UIButtonType type) {
    auto button = std::make_shared<UIButton>();
    button->m_type = type;
    return button;
}

template <class T>
T UIButton::valueForState(const std::map<UIControlState, T>& values, UIControlState state) {
    if (auto found = values.find(state); found != values.end())
        return found->second;
    if (auto normal = values.find(UIControlStateNormal); normal != values.end())
        return normal->second;
    return T{};
}

void UIButton::setTitle(std::optional<std::string> title, UIControlState state) {
    if (title)
        m_titles[state] = std::move(*title);
    else
        m_titles.erase(state);
    invalidateIntrinsicContentSize();
}

std::optional<std::string> UIButton::titleForState(UIControlState state) const {
    if (m_titles.find(state) == m_titles.end() && m_titles.find(UIControlStateNormal) == m_titles.end())
        return std::nullopt;
    return valueForState(m_titles, state);
}

void UIButton::setTitleColor(const UIColorPtr& color, UIControlState state) {
    if (color)
        m_titleColors[state] = color;
    else
        m_titleColors.erase(state);
}

UIColorPtr UIButton::titleColorForState(UIControlState state) const {
    return valueForState(m_titleColors, state);
}

void UIButton::setImage(const std::shared_ptr<UIImage>& image, UIControlState state) {
    if (image)
        m_images[state] = image;
    else
        m_images.erase(state);
    invalidateIntrinsicContentSize();
}

std::shared_ptr<UIImage> UIButton::imageForState(UIControlState state) const {
    return valueForState(m_images, state);
}

UIColorPtr UIButton::currentTitleColor() const {
    if (auto color = titleColorForState(state()))
        return color;
    return m_type == UIButtonType::Custom ? UIColor::whiteColor() : tintColor();
}

CGSize UIButton::intrinsicContentSize() const {
    auto image = currentImage();
    auto title = currentTitle();
    if (!image && (!title || title->empty()))
        return {30, 34};
    CGSize size = image ? image->size() : CGSizeZero;
    if (title && !title->empty()) {
        auto font = UIFont::systemFontOfSize(15);
        CGSize text = platform::TextLayout(NSAttributedString(*title), *font, nullptr, {}).size();
        size.width += std::ceil(text.width - 1e-9);
        size.height = std::max(size.height, std::ceil(text.height - 1e-9));
    }
    return size;
}

CGSize UIButton::sizeThatFits(CGSize) const {
    return intrinsicContentSize();
}

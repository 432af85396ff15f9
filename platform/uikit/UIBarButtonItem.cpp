#include "platform/uikit/UIBarButtonItem.h"

#include "platform/uikit/UIView.h"

namespace {

[[maybe_unused]] const Class registeredBarButtonItem =
    platform::registerClass<UIBarButtonItem>("UIBarButtonItem");

} // namespace

std::shared_ptr<UIBarButtonItem> UIBarButtonItem::initWithImage(const std::shared_ptr<UIImage>& image,
                                                                UIBarButtonItemStyle style, const id& target,
                                                                std::string action) {
    auto item = std::make_shared<UIBarButtonItem>();
    item->m_image = image;
    item->m_style = style;
    item->m_target = target;
    item->m_action = std::move(action);
    return item;
}

std::shared_ptr<UIBarButtonItem> UIBarButtonItem::initWithTitle(std::string title, UIBarButtonItemStyle style,
                                                                const id& target, std::string action) {
    auto item = std::make_shared<UIBarButtonItem>();
    item->m_title = std::move(title);
    item->m_style = style;
    item->m_target = target;
    item->m_action = std::move(action);
    return item;
}

bool UIBarButtonItem::_sendAction() {
    auto target = m_target.lock();
    if (!m_enabled || !target || m_action.empty() || !target->respondsToSelector(m_action))
        return false;
    objc_msgSend(target, m_action, {selfAs<UIBarButtonItem>()});
    return true;
}

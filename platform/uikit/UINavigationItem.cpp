#include "platform/uikit/UINavigationItem.h"

#include "platform/uikit/UIBarButtonItem.h"

namespace {

[[maybe_unused]] const Class registeredNavigationItem =
    platform::registerClass<UINavigationItem>("UINavigationItem");

} // namespace

void UINavigationItem::setRightBarButtonItem(const std::shared_ptr<UIBarButtonItem>& item, bool) {
    m_rightBarButtonItem = item;
}

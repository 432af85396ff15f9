#include "platform/uikit/UISegmentedControl.h"

#include <algorithm>

namespace {

[[maybe_unused]] const Class registeredSegmentedControl =
    platform::registerClass<UISegmentedControl, UIControl>("UISegmentedControl");

} // namespace

std::string UISegmentedControl::titleForSegmentAtIndex(std::size_t index) const {
    return index < m_titles.size() ? m_titles[index] : std::string();
}

void UISegmentedControl::setTitle(std::string title, std::size_t index) {
    if (index < m_titles.size())
        m_titles[index] = std::move(title);
}

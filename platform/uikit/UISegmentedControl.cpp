#include "platform/uikit/UISegmentedControl.h"

#include <algorithm>

#include "platform/uikit/UITouch.h"

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

std::shared_ptr<UISegmentedControl> UISegmentedControl::initWithItems(std::vector<std::string> items) {
    auto control = std::make_shared<UISegmentedControl>();
    control->m_titles = std::move(items);
    return control;
}

void UISegmentedControl::insertSegmentWithTitle(std::string title, std::size_t index) {
    index = std::min(index, m_titles.size());
    m_titles.insert(m_titles.begin() + static_cast<std::ptrdiff_t>(index), std::move(title));
    // The selection stays on the same segment.
    if (m_selectedSegmentIndex >= static_cast<long>(index))
        ++m_selectedSegmentIndex;
}

void UISegmentedControl::removeAllSegments() {
    m_titles.clear();
    m_selectedSegmentIndex = UISegmentedControlNoSegment;
}

void UISegmentedControl::setSelectedSegmentIndex(long index) {
    bool inRange = index >= 0 && static_cast<std::size_t>(index) < m_titles.size();
    m_selectedSegmentIndex = inRange ? index : UISegmentedControlNoSegment;
}

long UISegmentedControl::segmentAtPoint(CGPoint point) const {
    CGRect box = bounds();
    if (m_titles.empty() || !CGRectContainsPoint(box, point) || box.size.width <= 0)
        return UISegmentedControlNoSegment;
    auto index = static_cast<long>((point.x - box.origin.x) / box.size.width * static_cast<double>(m_titles.size()));
    return std::clamp(index, 0L, static_cast<long>(m_titles.size()) - 1);
}

void UISegmentedControl::endTrackingWithTouch(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>&) {
    long index = segmentAtPoint(touch->locationInView(selfAs<UIView>()));
    if (index == UISegmentedControlNoSegment || index == m_selectedSegmentIndex)
        return;
    setSelectedSegmentIndex(index);
    sendActionsForControlEvents(UIControlEventValueChanged);
}

#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/uikit/UIAppearance.h"
#include "platform/uikit/UIControl.h"

// A row of titled segments of equal width, at most one selected. A touch lifted inside selects the
// segment under it and sends ValueChanged when that changed the selection.
class UISegmentedControl : public UIControl, public UIAppearance<UISegmentedControl> {
public:
    static constexpr std::string_view appearanceClassName = "UISegmentedControl";
    static constexpr long UISegmentedControlNoSegment = -1;

    UISegmentedControl() = default;
    static std::shared_ptr<UISegmentedControl> initWithItems(std::vector<std::string> items);

    std::size_t numberOfSegments() const { return m_titles.size(); }
    // Empty for an index out of range.
    std::string titleForSegmentAtIndex(std::size_t index) const;
    void setTitle(std::string title, std::size_t index);

    // An index past the end appends.
    void insertSegmentWithTitle(std::string title, std::size_t index);
    void removeAllSegments();

    long selectedSegmentIndex() const { return m_selectedSegmentIndex; }
    // Out-of-range indexes select nothing (UISegmentedControlNoSegment). Sends no action.
    void setSelectedSegmentIndex(long index);

    // The segment under a point in the bounds' coordinates; UISegmentedControlNoSegment outside.
    long segmentAtPoint(CGPoint point) const;

    void endTrackingWithTouch(const std::shared_ptr<UITouch>& touch, const std::shared_ptr<UIEvent>& event) override;

private:
    std::vector<std::string> m_titles;
    long m_selectedSegmentIndex = UISegmentedControlNoSegment;
};

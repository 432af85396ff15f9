#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/uikit/UIAppearance.h"
#include "platform/uikit/UIControl.h"

// A row of titled segments, at most one selected.
class UISegmentedControl : public UIControl, public UIAppearance<UISegmentedControl> {
public:
    static constexpr std::string_view appearanceClassName = "UISegmentedControl";
    static constexpr long UISegmentedControlNoSegment = -1;

    UISegmentedControl() = default;

    std::size_t numberOfSegments() const { return m_titles.size(); }
    // Empty for an index out of range.
    std::string titleForSegmentAtIndex(std::size_t index) const;
    void setTitle(std::string title, std::size_t index);

    long selectedSegmentIndex() const { return m_selectedSegmentIndex; }

private:
    std::vector<std::string> m_titles;
    long m_selectedSegmentIndex = UISegmentedControlNoSegment;
};

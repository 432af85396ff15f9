#include "platform/uikit/NSAttributedString.h"

#include <algorithm>

#include "platform/uikit/Utf16.h"

namespace {

[[maybe_unused]] const Class registeredAttributedString =
    platform::registerClass<NSAttributedString>();

bool sameValue(const NSAttributeValue& lhs, const NSAttributeValue& rhs) {
    if (lhs.index() != rhs.index())
        return false;
    if (auto font = std::get_if<UIFontPtr>(&lhs)) {
        const auto& other = std::get<UIFontPtr>(rhs);
        return *font == other || (*font && other && (*font)->isEqual(*other));
    }
    if (auto color = std::get_if<UIColorPtr>(&lhs)) {
        const auto& other = std::get<UIColorPtr>(rhs);
        return *color == other || (*color && other && (*color)->isEqual(other));
    }
    return std::get<double>(lhs) == std::get<double>(rhs);
}

bool sameAttributes(const NSAttributes& lhs, const NSAttributes& rhs) {
    return lhs.size() == rhs.size() &&
           std::equal(lhs.begin(), lhs.end(), rhs.begin(), [](const auto& a, const auto& b) {
               return a.first == b.first && sameValue(a.second, b.second);
           });
}

} // namespace

NSAttributedString::NSAttributedString(std::string string, NSAttributes attributes)
    : m_string(std::move(string)), m_length(platform::utf16Length(m_string)) {
    if (m_length > 0)
        m_runs.push_back({{0, m_length}, std::move(attributes)});
}

NSAttributes NSAttributedString::attributesAtIndex(std::size_t index, NSRange* effectiveRange) const {
    for (const Run& run : m_runs)
        if (index >= run.range.location && index < NSMaxRange(run.range)) {
            if (effectiveRange)
                *effectiveRange = run.range;
            return run.attributes;
        }
    if (effectiveRange)
        *effectiveRange = {index, 0};
    return {};
}

bool NSAttributedString::isEqualToAttributedString(const NSAttributedString& other) const {
    if (m_string != other.m_string || m_runs.size() != other.m_runs.size())
        return false;
    for (std::size_t index = 0; index < m_runs.size(); ++index)
        if (m_runs[index].range != other.m_runs[index].range ||
            !sameAttributes(m_runs[index].attributes, other.m_runs[index].attributes))
            return false;
    return true;
}

UIFontPtr NSAttributedString::fontIn(const NSAttributes& attributes) {
    auto found = attributes.find(NSFontAttributeName);
    if (found == attributes.end())
        return nullptr;
    auto font = std::get_if<UIFontPtr>(&found->second);
    return font ? *font : nullptr;
}

UIColorPtr NSAttributedString::colorIn(const NSAttributes& attributes, NSAttributedStringKey key) {
    auto found = attributes.find(key);
    if (found == attributes.end())
        return nullptr;
    auto color = std::get_if<UIColorPtr>(&found->second);
    return color ? *color : nullptr;
}

double NSAttributedString::numberIn(const NSAttributes& attributes, NSAttributedStringKey key,
                                    double fallback) {
    auto found = attributes.find(key);
    if (found == attributes.end())
        return fallback;
    auto number = std::get_if<double>(&found->second);
    return number ? *number : fallback;
}

NSRange NSAttributedString::clamped(NSRange range) const {
    std::size_t location = std::min(range.location, m_length);
    return {location, std::min(range.length, m_length - location)};
}

std::size_t NSAttributedString::splitAt(NSRange range) {
    std::size_t first = m_runs.size();
    for (std::size_t boundary : {range.location, NSMaxRange(range)}) {
        for (std::size_t index = 0; index < m_runs.size(); ++index) {
            Run& run = m_runs[index];
            if (boundary > run.range.location && boundary < NSMaxRange(run.range)) {
                Run tail{{boundary, NSMaxRange(run.range) - boundary}, run.attributes};
                run.range.length = boundary - run.range.location;
                m_runs.insert(m_runs.begin() + static_cast<std::ptrdiff_t>(index) + 1, std::move(tail));
                break;
            }
        }
    }
    for (std::size_t index = 0; index < m_runs.size(); ++index)
        if (m_runs[index].range.location == range.location) {
            first = index;
            break;
        }
    return first;
}

void NSAttributedString::mergeEqualNeighbours() {
    for (std::size_t index = 1; index < m_runs.size();) {
        if (sameAttributes(m_runs[index - 1].attributes, m_runs[index].attributes)) {
            m_runs[index - 1].range.length += m_runs[index].range.length;
            m_runs.erase(m_runs.begin() + static_cast<std::ptrdiff_t>(index));
        } else {
            ++index;
        }
    }
}

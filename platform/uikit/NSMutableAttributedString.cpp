#include "platform/uikit/NSMutableAttributedString.h"

namespace {

[[maybe_unused]] const Class registeredMutableAttributedString =
    platform::registerClass<NSMutableAttributedString, NSAttributedString>("NSMutableAttributedString");

} // namespace

void NSMutableAttributedString::appendAttributedString(const NSAttributedString& other) {
    std::size_t offset = m_length;
    m_string += other.string();
    m_length += other.length();
    for (const Run& run : other._runs())
        m_runs.push_back({{run.range.location + offset, run.range.length}, run.attributes});
    mergeEqualNeighbours();
}

void NSMutableAttributedString::addAttribute(NSAttributedStringKey name, const NSAttributeValue& value,
                                             NSRange range) {
    addAttributes({{std::string(name), value}}, range);
}

void NSMutableAttributedString::addAttributes(const NSAttributes& attributes, NSRange range) {
    range = clamped(range);
    if (range.length == 0)
        return;
    for (std::size_t index = splitAt(range);
         index < m_runs.size() && m_runs[index].range.location < NSMaxRange(range); ++index)
        for (const auto& [name, value] : attributes)
            m_runs[index].attributes.insert_or_assign(name, value);
    mergeEqualNeighbours();
}

void NSMutableAttributedString::removeAttribute(NSAttributedStringKey name, NSRange range) {
    range = clamped(range);
    if (range.length == 0)
        return;
    for (std::size_t index = splitAt(range);
         index < m_runs.size() && m_runs[index].range.location < NSMaxRange(range); ++index) {
        auto found = m_runs[index].attributes.find(name);
        if (found != m_runs[index].attributes.end())
            m_runs[index].attributes.erase(found);
    }
    mergeEqualNeighbours();
}

#include "platform/uikit/NSIndexPath.h"

#include <cstdio>

namespace {

[[maybe_unused]] const Class registeredIndexPath = platform::registerClass<NSIndexPath>("NSIndexPath");

} // namespace

std::shared_ptr<NSIndexPath> NSIndexPath::indexPathForRow(long row, long section) {
    return std::make_shared<NSIndexPath>(row, section);
}

int NSIndexPath::compare(const std::shared_ptr<NSIndexPath>& other) const {
    if (!other)
        return 1;
    auto order = *this <=> *other;
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

std::string NSIndexPath::description() const {
    char text[96];
    std::snprintf(text, sizeof text, "{length = 2, path = %ld - %ld}", m_section, m_row);
    return NSObject::description() + " " + text;
}

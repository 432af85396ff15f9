#include "platform/foundation/NSSet.h"

#include <algorithm>

namespace {
[[maybe_unused]] const Class registeredSet = platform::registerClass<NSSet>("NSSet");
} // namespace

std::shared_ptr<NSSet> NSSet::setWithObject(const id& object) {
    return setWithObjects({object});
}

std::shared_ptr<NSSet> NSSet::setWithObjects(const std::vector<id>& objects) {
    auto set = std::make_shared<NSSet>();
    for (const auto& object : objects)
        set->add(object);
    return set;
}

bool NSSet::containsObject(const id& object) const {
    return std::find(m_objects.begin(), m_objects.end(), object) != m_objects.end();
}

void NSSet::add(const id& object) {
    if (object && !containsObject(object))
        m_objects.push_back(object);
}

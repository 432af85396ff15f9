#pragma once

#include <memory>
#include <vector>

#include "platform/runtime/NSObject.h"

// An unordered collection of distinct objects, compared by identity, as messages pass them
// (`sendActions:withResult:` takes a set of actions). Property-list data goes in a Value instead.
class NSSet : public NSObject {
public:
    static std::shared_ptr<NSSet> setWithObject(const id& object);
    static std::shared_ptr<NSSet> setWithObjects(const std::vector<id>& objects);

    // In the order they were first added; nil objects are never held.
    const std::vector<id>& allObjects() const { return m_objects; }
    std::size_t count() const { return m_objects.size(); }
    bool containsObject(const id& object) const;

    NSSet() = default;

private:
    void add(const id& object);

    std::vector<id> m_objects;
};

using NSSetPtr = std::shared_ptr<NSSet>;

#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/runtime/NSObject.h"
#include "platform/uikit/UIColor.h"

class UIView;

namespace platform {

// Every value set on an appearance proxy, by control class, containment and property. A rule with
// containers [C1, C2, ...] applies to a control that lies inside an instance of C1 (a view, or the
// view controller that owns a view), which itself lies inside an instance of C2, and so on: the
// innermost container first, as appearanceWhenContainedInInstancesOfClasses: takes them. Classes
// match their subclasses. When several rules set one property for a control, the one with more
// containers wins, then the one for the more derived control class, then the one set last.
//
// Thread-safe, though UIKit code uses it on the main thread only.
class AppearanceRegistry {
public:
    static AppearanceRegistry& shared();

    void setValue(Class controlClass, const std::vector<Class>& containers, std::string_view property,
                  const id& value);
    // The value recorded for exactly this class and containment, or nil: "what onTintColor was set
    // on [UISwitch appearanceWhenContainedInInstancesOfClasses:@[KVCorvaleSettingsController]]".
    id value(Class controlClass, const std::vector<Class>& containers, std::string_view property) const;
    UIColorPtr color(Class controlClass, const std::vector<Class>& containers,
                     std::string_view property) const;

    // The value that a control of controlClass would take inside these containers (innermost
    // first), with the matching and precedence above: "what onTintColor applies to a switch inside
    // a KVCorvaleSettingsController page".
    id resolvedValue(Class controlClass, const std::vector<Class>& containerChain,
                     std::string_view property) const;
    // Every property that applies to this view where it now is, with its winning value.
    std::vector<std::pair<std::string, id>> valuesForView(const UIView& view) const;
    // The classes that contain a view, innermost first: each ancestor view's class, followed by the
    // class of the view controller that owns that ancestor, if any.
    static std::vector<Class> containerChainOfView(const UIView& view);

    // Forgets every rule (tests and hosts that start over).
    void removeAllValues();

private:
    struct Rule {
        Class controlClass = nullptr;
        std::vector<Class> containers;
        std::string property;
        id value;
        std::uint64_t sequence = 0;
    };

    AppearanceRegistry() = default;
    // Property -> winning value, for a control of this class inside this chain. Caller holds the lock.
    std::map<std::string, id> winningValuesLocked(Class controlClass, const std::vector<Class>& chain,
                                                  std::string_view onlyProperty = {}) const;
    bool hasRuleForClassLocked(Class controlClass) const;

    mutable std::mutex m_mutex;
    std::vector<Rule> m_rules;
    std::uint64_t m_nextSequence = 1;
};

} // namespace platform

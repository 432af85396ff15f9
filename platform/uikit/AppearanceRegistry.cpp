#include "platform/uikit/AppearanceRegistry.h"

#include <tuple>

#include "platform/uikit/UIView.h"
#include "platform/uikit/UIViewController.h"

namespace platform {

namespace {

// Whether the containers appear in the chain in order (innermost first), each matched by an instance
// of it or of a subclass.
bool containersMatch(const std::vector<Class>& containers, const std::vector<Class>& chain) {
    std::size_t position = 0;
    for (Class container : containers) {
        while (position < chain.size() && !class_isSubclassOfClass(chain[position], container))
            ++position;
        if (position == chain.size())
            return false;
        ++position;
    }
    return true;
}

std::size_t classDepth(Class cls) {
    std::size_t depth = 0;
    for (Class ancestor = class_getSuperclass(cls); ancestor; ancestor = class_getSuperclass(ancestor))
        ++depth;
    return depth;
}

} // namespace

AppearanceRegistry& AppearanceRegistry::shared() {
    static AppearanceRegistry registry;
    return registry;
}

void AppearanceRegistry::setValue(Class controlClass, const std::vector<Class>& containers,
                                  std::string_view property, const id& value) {
    std::lock_guard lock(m_mutex);
    for (auto rule = m_rules.begin(); rule != m_rules.end(); ++rule) {
        if (rule->controlClass != controlClass || rule->containers != containers ||
            rule->property != property)
            continue;
        if (!value) {
            m_rules.erase(rule);
            return;
        }
        rule->value = value;
        rule->sequence = m_nextSequence++;
        return;
    }
    if (value)
        m_rules.push_back({controlClass, containers, std::string(property), value, m_nextSequence++});
}

id AppearanceRegistry::value(Class controlClass, const std::vector<Class>& containers,
                             std::string_view property) const {
    std::lock_guard lock(m_mutex);
    for (const auto& rule : m_rules)
        if (rule.controlClass == controlClass && rule.containers == containers && rule.property == property)
            return rule.value;
    return nullptr;
}

UIColorPtr AppearanceRegistry::color(Class controlClass, const std::vector<Class>& containers,
                                     std::string_view property) const {
    return std::dynamic_pointer_cast<UIColor>(value(controlClass, containers, property));
}

id AppearanceRegistry::resolvedValue(Class controlClass, const std::vector<Class>& containerChain,
                                     std::string_view property) const {
    std::lock_guard lock(m_mutex);
    auto values = winningValuesLocked(controlClass, containerChain, property);
    auto found = values.find(std::string(property));
    return found == values.end() ? nullptr : found->second;
}

std::vector<std::pair<std::string, id>> AppearanceRegistry::valuesForView(const UIView& view) const {
    Class cls = view.getClass();
    {
        std::lock_guard lock(m_mutex);
        if (!hasRuleForClassLocked(cls))
            return {};
    }
    // Walking the view tree takes no lock of ours.
    auto chain = containerChainOfView(view);
    std::lock_guard lock(m_mutex);
    auto values = winningValuesLocked(cls, chain);
    return {values.begin(), values.end()};
}

std::vector<Class> AppearanceRegistry::containerChainOfView(const UIView& view) {
    std::vector<Class> chain;
    for (auto ancestor = view.superview(); ancestor; ancestor = ancestor->superview()) {
        chain.push_back(ancestor->getClass());
        if (auto controller = ancestor->_viewDelegate())
            chain.push_back(controller->getClass());
    }
    return chain;
}

void AppearanceRegistry::removeAllValues() {
    std::lock_guard lock(m_mutex);
    m_rules.clear();
}

bool AppearanceRegistry::hasRuleForClassLocked(Class controlClass) const {
    for (const auto& rule : m_rules)
        if (class_isSubclassOfClass(controlClass, rule.controlClass))
            return true;
    return false;
}

std::map<std::string, id> AppearanceRegistry::winningValuesLocked(Class controlClass,
                                                                  const std::vector<Class>& chain,
                                                                  std::string_view onlyProperty) const {
    // Precedence: more containers, then a more derived control class, then set later.
    using Rank = std::tuple<std::size_t, std::size_t, std::uint64_t>;
    std::map<std::string, std::pair<Rank, id>> best;
    for (const auto& rule : m_rules) {
        if (!onlyProperty.empty() && rule.property != onlyProperty)
            continue;
        if (!class_isSubclassOfClass(controlClass, rule.controlClass) ||
            !containersMatch(rule.containers, chain))
            continue;
        Rank rank{rule.containers.size(), classDepth(rule.controlClass), rule.sequence};
        auto [entry, inserted] = best.try_emplace(rule.property, rank, rule.value);
        if (!inserted && entry->second.first < rank)
            entry->second = {rank, rule.value};
    }
    std::map<std::string, id> values;
    for (auto& [property, ranked] : best)
        values.emplace(property, ranked.second);
    return values;
}

} // namespace platform

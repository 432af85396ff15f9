#include "platform/runtime/ClassRegistry.h"

#include <algorithm>
#include <mutex>

namespace platform {

namespace {

// Calls whatever the superclass of `cls` implements at the time of the call: what a hook on an
// inherited method hands back as the previous implementation, so that later hooks on the
// superclass are still seen.
IMP forwarderToSuperclass(Class cls, std::string_view selector) {
    return [cls, selector = std::string(selector)](const id& self, const MessageArguments& arguments) {
        return objc_msgSendSuper(class_getSuperclass(cls), self, selector, arguments);
    };
}

} // namespace

ClassRegistry& ClassRegistry::shared() {
    // Never destroyed: classes must outlive every static object that might still send a message.
    static auto* registry = new ClassRegistry;
    return *registry;
}

ClassRegistry::ClassRegistry() {
    m_rootClass = registerNative(
        "NSObject", "", typeid(NSObject), [] { return std::make_shared<NSObject>(); },
        [](const NSObject&) { return true; });
}

objc_class* ClassRegistry::entryLocked(std::string_view name) const {
    auto found = m_classes.find(name);
    return found == m_classes.end() ? nullptr : found->second.get();
}

objc_class* ClassRegistry::makeEntryLocked(std::string_view name) {
    auto entry = std::make_unique<objc_class>();
    entry->name = std::string(name);
    auto* cls = entry.get();
    m_classes.emplace(entry->name, std::move(entry));
    return cls;
}

Class ClassRegistry::find(std::string_view name) const {
    std::shared_lock lock(m_mutex);
    auto* cls = entryLocked(name);
    return cls && cls->state == objc_class::State::Registered ? cls : nullptr;
}

Class ClassRegistry::allocate(Class superclass, std::string_view name) {
    if (name.empty())
        return nullptr;
    std::unique_lock lock(m_mutex);
    auto* cls = entryLocked(name);
    if (cls && cls->state != objc_class::State::Placeholder)
        return nullptr;
    if (!cls)
        cls = makeEntryLocked(name);
    else if (inheritsLocked(superclass, cls))
        return nullptr; // a placeholder that would become its own ancestor
    cls->superclass = superclass;
    cls->state = objc_class::State::Allocated;
    return cls;
}

void ClassRegistry::registerAllocated(Class cls) {
    if (!cls)
        return;
    std::unique_lock lock(m_mutex);
    if (cls->state == objc_class::State::Allocated)
        cls->state = objc_class::State::Registered;
}

Class ClassRegistry::registerNative(std::string_view name, std::string_view superclassName,
                                    std::type_index type, InstanceFactory factory,
                                    std::function<bool(const NSObject&)> isInstance) {
    if (name.empty())
        return nullptr;
    std::unique_lock lock(m_mutex);
    auto* cls = entryLocked(name);
    if (!cls)
        cls = makeEntryLocked(name);
    if (cls->state != objc_class::State::Registered && !superclassName.empty() && superclassName != name) {
        // A superclass not registered yet gets a placeholder that its own registration completes.
        // A name that would make the class its own ancestor is not linked.
        auto* superclass = entryLocked(superclassName);
        if (!superclass)
            superclass = makeEntryLocked(superclassName);
        if (!inheritsLocked(superclass, cls))
            cls->superclass = superclass;
    }
    cls->state = objc_class::State::Registered;
    cls->factory = std::move(factory);
    cls->isInstance = std::move(isInstance);
    if (std::find(m_nativeClasses.begin(), m_nativeClasses.end(), cls) == m_nativeClasses.end())
        m_nativeClasses.push_back(cls);
    m_classesByType[type] = cls;
    m_resolvedTypes.clear();
    ++m_generation;
    return cls;
}

Class ClassRegistry::superclassOf(Class cls) const {
    if (!cls)
        return nullptr;
    std::shared_lock lock(m_mutex);
    return cls->superclass;
}

bool ClassRegistry::isSubclass(Class cls, Class ancestor) const {
    std::shared_lock lock(m_mutex);
    return inheritsLocked(cls, ancestor);
}

bool ClassRegistry::inheritsLocked(Class cls, Class ancestor) const {
    if (!ancestor)
        return false;
    for (; cls; cls = cls->superclass) {
        if (cls == ancestor)
            return true;
    }
    return false;
}

std::optional<Class> ClassRegistry::cachedClassForType(std::type_index type) const {
    if (auto exact = m_classesByType.find(type); exact != m_classesByType.end())
        return exact->second;
    if (auto resolved = m_resolvedTypes.find(type); resolved != m_resolvedTypes.end())
        return resolved->second;
    return std::nullopt;
}

std::size_t ClassRegistry::depthLocked(Class cls) const {
    std::size_t depth = 0;
    for (; cls; cls = cls->superclass)
        ++depth;
    return depth;
}

Class ClassRegistry::bestNativeMatch(const NSObject& object) const {
    Class best = m_rootClass;
    std::size_t bestDepth = 0;
    for (Class candidate : m_nativeClasses) {
        if (!candidate->isInstance || !candidate->isInstance(object))
            continue;
        if (auto depth = depthLocked(candidate); depth > bestDepth) {
            best = candidate;
            bestDepth = depth;
        }
    }
    return best;
}

Class ClassRegistry::classForNativeObject(const NSObject& object) {
    std::type_index type(typeid(object));
    std::uint64_t generation = 0;
    Class best = nullptr;
    {
        std::shared_lock lock(m_mutex);
        if (auto cached = cachedClassForType(type))
            return *cached;
        best = bestNativeMatch(object);
        generation = m_generation;
    }
    std::unique_lock lock(m_mutex);
    // A registration in between may have made a closer class: only cache what is still current.
    if (generation == m_generation)
        m_resolvedTypes.emplace(type, best);
    return best;
}

InstanceFactory ClassRegistry::factoryFor(Class cls) const {
    std::shared_lock lock(m_mutex);
    for (; cls; cls = cls->superclass) {
        if (cls->factory)
            return cls->factory;
    }
    return {};
}

bool ClassRegistry::addMethod(Class cls, std::string_view selector, IMP implementation, const char* types) {
    if (!cls || selector.empty() || !implementation)
        return false;
    // Made and, when refused, destroyed outside the lock: destroying a function may run any code.
    objc_class::Method method{std::make_shared<const IMP>(std::move(implementation)), types ? types : ""};
    std::unique_lock lock(m_mutex);
    auto [position, inserted] = cls->methods.try_emplace(std::string(selector), std::move(method));
    return inserted;
}

IMP ClassRegistry::replaceMethod(Class cls, std::string_view selector, IMP implementation,
                                 const char* types) {
    if (!cls || selector.empty() || !implementation)
        return {};
    auto replacement = std::make_shared<const IMP>(std::move(implementation));
    std::shared_ptr<const IMP> replaced;
    {
        std::unique_lock lock(m_mutex);
        auto& method = cls->methods[std::string(selector)];
        replaced = std::exchange(method.implementation, std::move(replacement));
        if (types && *types)
            method.types = types;
    }
    return replaced ? *replaced : IMP{};
}

std::shared_ptr<const IMP> ClassRegistry::lookupLocked(Class cls, std::string_view selector) const {
    for (; cls; cls = cls->superclass) {
        if (auto found = cls->methods.find(selector); found != cls->methods.end())
            return found->second.implementation;
    }
    return nullptr;
}

std::shared_ptr<const IMP> ClassRegistry::lookup(Class cls, std::string_view selector) const {
    std::shared_lock lock(m_mutex);
    return lookupLocked(cls, selector);
}

bool ClassRegistry::hook(Class cls, std::string_view selector, IMP replacement, IMP* previous) {
    auto installed = std::make_shared<const IMP>(std::move(replacement));
    // What the hook displaces is destroyed after the lock is released.
    std::shared_ptr<const IMP> replaced;
    IMP displacedPrevious;
    {
        std::unique_lock lock(m_mutex);
        auto own = cls->methods.find(selector);
        if (own == cls->methods.end() && !lookupLocked(cls->superclass, selector))
            return false;
        // The slot is filled while the lock is held: any send that could reach the replacement
        // takes the lock after this.
        IMP saved =
            own != cls->methods.end() ? *own->second.implementation : forwarderToSuperclass(cls, selector);
        if (previous)
            displacedPrevious = std::exchange(*previous, std::move(saved));
        if (own != cls->methods.end())
            replaced = std::exchange(own->second.implementation, std::move(installed));
        else
            cls->methods.emplace(std::string(selector), objc_class::Method{std::move(installed), ""});
    }
    return true;
}

} // namespace platform

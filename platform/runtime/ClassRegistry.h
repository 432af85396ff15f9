#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <typeindex>
#include <unordered_map>
#include <vector>

#include "platform/runtime/ObjCClass.h"

namespace platform {

// The process's one table of classes, shared by the host and every module it loads. Classes are
// never freed, so a Class stays valid for the life of the process. Implementations are copied out
// under the lock and called by the caller outside it.
class ClassRegistry {
public:
    static ClassRegistry& shared();

    Class find(std::string_view name) const;
    Class allocate(Class superclass, std::string_view name);
    void registerAllocated(Class cls);
    Class registerNative(std::string_view name, std::string_view superclassName, std::type_index type,
                         InstanceFactory factory, std::function<bool(const NSObject&)> isInstance);

    Class superclassOf(Class cls) const;
    bool isSubclass(Class cls, Class ancestor) const;
    // The class of an object that was not made by class_createInstance, from its C++ type.
    Class classForNativeObject(const NSObject& object);
    // The factory of cls or of its nearest ancestor that has one.
    InstanceFactory factoryFor(Class cls) const;

    bool addMethod(Class cls, std::string_view selector, IMP implementation, const char* types);
    IMP replaceMethod(Class cls, std::string_view selector, IMP implementation, const char* types);
    std::shared_ptr<const IMP> lookup(Class cls, std::string_view selector) const;
    // Installs replacement and fills *previous while holding the lock; false when nothing implements
    // the selector.
    bool hook(Class cls, std::string_view selector, IMP replacement, IMP* previous);

private:
    ClassRegistry();
    objc_class* entryLocked(std::string_view name) const;
    objc_class* makeEntryLocked(std::string_view name);
    std::shared_ptr<const IMP> lookupLocked(Class cls, std::string_view selector) const;
    std::optional<Class> cachedClassForType(std::type_index type) const;
    Class bestNativeMatch(const NSObject& object) const;
    std::size_t depthLocked(Class cls) const;
    bool inheritsLocked(Class cls, Class ancestor) const;

    mutable std::shared_mutex m_mutex;
    std::map<std::string, std::unique_ptr<objc_class>, std::less<>> m_classes;
    std::vector<Class> m_nativeClasses;
    std::unordered_map<std::type_index, Class> m_classesByType;
    // Unregistered C++ types resolved to their nearest registered base; cleared on every registration.
    std::unordered_map<std::type_index, Class> m_resolvedTypes;
    std::uint64_t m_generation = 0;
    Class m_rootClass = nullptr;
};

} // namespace platform

#include "platform/runtime/ObjCRuntime.h"

#include <exception>

#include "platform/foundation/NSLog.h"
#include "platform/runtime/ClassRegistry.h"

namespace {

platform::ClassRegistry& registry() {
    return platform::ClassRegistry::shared();
}

int length(std::string_view text) {
    return static_cast<int>(text.size());
}

MessageValue unrecognized(const id& receiver, Class cls, std::string_view selector) {
    NSLog("-[%s %.*s]: unrecognized selector sent to instance %p", class_getName(cls), length(selector),
          selector.data(), static_cast<const void*>(receiver.get()));
    return {};
}

// Runs an implementation; anything it throws stops here, because nothing throws out of the platform.
MessageValue invoke(const IMP& implementation, const id& receiver, Class cls, std::string_view selector,
                    const MessageArguments& arguments) {
    try {
        return implementation(receiver, arguments);
    } catch (const std::exception& exception) {
        NSLog("-[%s %.*s]: implementation threw: %s", class_getName(cls), length(selector), selector.data(),
              exception.what());
    } catch (...) {
        NSLog("-[%s %.*s]: implementation threw", class_getName(cls), length(selector), selector.data());
    }
    return {};
}

MessageValue send(Class lookupStart, const id& receiver, std::string_view selector,
                  const MessageArguments& arguments) {
    if (!receiver)
        return {};
    auto implementation = registry().lookup(lookupStart, selector);
    if (!implementation)
        return unrecognized(receiver, lookupStart, selector);
    return invoke(*implementation, receiver, lookupStart, selector, arguments);
}

// Class methods share the class's method table under a "+" prefix, so they inherit along the same
// chain as instance methods and can never be found by an instance send.
std::string classSelector(std::string_view selector) {
    return "+" + std::string(selector);
}

} // namespace

Class objc_getClass(std::string_view name) {
    return registry().find(name);
}

Class objc_allocateClassPair(Class superclass, std::string_view name, std::size_t) {
    return registry().allocate(superclass, name);
}

void objc_registerClassPair(Class cls) {
    registry().registerAllocated(cls);
}

const char* class_getName(Class cls) {
    return cls ? cls->name.c_str() : "nil";
}

Class class_getSuperclass(Class cls) {
    return registry().superclassOf(cls);
}

bool class_addMethod(Class cls, std::string_view selector, IMP imp, const char* types) {
    return registry().addMethod(cls, selector, std::move(imp), types);
}

IMP class_replaceMethod(Class cls, std::string_view selector, IMP imp, const char* types) {
    return registry().replaceMethod(cls, selector, std::move(imp), types);
}

std::optional<IMP> class_getMethodImplementation(Class cls, std::string_view selector) {
    if (auto implementation = registry().lookup(cls, selector))
        return *implementation;
    return std::nullopt;
}

bool class_respondsToSelector(Class cls, std::string_view selector) {
    return registry().lookup(cls, selector) != nullptr;
}

bool class_isSubclassOfClass(Class cls, Class ancestor) {
    return registry().isSubclass(cls, ancestor);
}

id class_createInstance(Class cls) {
    auto factory = registry().factoryFor(cls);
    if (!factory)
        return nullptr;
    id object = factory();
    if (object)
        object->m_class = cls;
    return object;
}

Class object_getClass(const id& object) {
    return object ? object->getClass() : nullptr;
}

const char* object_getClassName(const id& object) {
    return class_getName(object_getClass(object));
}

MessageValue objc_msgSend(const id& receiver, std::string_view selector, const MessageArguments& arguments) {
    return send(object_getClass(receiver), receiver, selector, arguments);
}

MessageValue objc_msgSendSuper(Class superclass, const id& receiver, std::string_view selector,
                               const MessageArguments& arguments) {
    return send(superclass, receiver, selector, arguments);
}

bool class_addClassMethod(Class cls, std::string_view selector, IMP imp) {
    return registry().addMethod(cls, classSelector(selector), std::move(imp), "");
}

bool class_respondsToClassSelector(Class cls, std::string_view selector) {
    return cls && registry().lookup(cls, classSelector(selector)) != nullptr;
}

MessageValue objc_msgSendClass(Class cls, std::string_view selector, const MessageArguments& arguments) {
    if (!cls)
        return {};
    auto implementation = registry().lookup(cls, classSelector(selector));
    if (!implementation) {
        NSLog("+[%s %.*s]: unrecognized selector sent to class", class_getName(cls), length(selector),
              selector.data());
        return {};
    }
    return invoke(*implementation, nullptr, cls, selector, arguments);
}

void MSHookMessageEx(Class cls, std::string_view selector, IMP replacement, IMP* previous) {
    if (!cls || !replacement) {
        NSLog("MSHookMessageEx: nothing to hook for %.*s on %s", length(selector), selector.data(),
              class_getName(cls));
        if (previous)
            *previous = nullptr;
        return;
    }
    if (!registry().hook(cls, selector, std::move(replacement), previous)) {
        NSLog("MSHookMessageEx: -[%s %.*s] not found", class_getName(cls), length(selector), selector.data());
        if (previous)
            *previous = nullptr;
    }
}

namespace platform {

Class registerNativeClass(std::string_view name, std::string_view superclassName, std::type_index type,
                          InstanceFactory factory, std::function<bool(const NSObject&)> isInstance) {
    return ClassRegistry::shared().registerNative(name, superclassName, type, std::move(factory),
                                                  std::move(isInstance));
}

} // namespace platform

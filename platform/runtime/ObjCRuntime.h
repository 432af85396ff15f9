#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <type_traits>
#include <typeindex>
#include <utility>

#include "platform/runtime/MessageValue.h"
#include "platform/runtime/NSObject.h"

// The object runtime: classes by name, method tables keyed by full selector strings
// ("tableView:heightForRowAtIndexPath:"), dynamic sends and method substitution. Every function
// is thread-safe; an implementation is looked up under the registry lock and called outside it, so
// an implementation may itself add methods or install hooks.

using IMP = std::function<MessageValue(const id& self, const MessageArguments& arguments)>;

// The registered class with this name, or nullptr.
Class objc_getClass(std::string_view name);
// A class defined at run time (a host's "SpringBoard"). Its instances are made by the nearest C++
// factory up the superclass chain. Returns nullptr when the name is taken or empty. Methods may be
// added before objc_registerClassPair makes the class findable by name.
Class objc_allocateClassPair(Class superclass, std::string_view name, std::size_t extraBytes = 0);
void objc_registerClassPair(Class cls);

const char* class_getName(Class cls); // "nil" for nullptr
Class class_getSuperclass(Class cls);
// Adds an instance method to cls itself; false when cls already has its own method for the selector.
bool class_addMethod(Class cls, std::string_view selector, IMP imp, const char* types = "");
// Sets cls's own method, returning the implementation it replaced (empty when cls had none).
IMP class_replaceMethod(Class cls, std::string_view selector, IMP imp, const char* types = "");
// The implementation that a send to an instance of cls would run: searches superclasses.
std::optional<IMP> class_getMethodImplementation(Class cls, std::string_view selector);
bool class_respondsToSelector(Class cls, std::string_view selector);
bool class_isSubclassOfClass(Class cls, Class ancestor); // true for cls itself

// A new instance of cls, made by the nearest C++ factory up the chain; it reports cls as its class.
// nullptr when no class up the chain can be instantiated.
id class_createInstance(Class cls);
Class object_getClass(const id& object);
const char* object_getClassName(const id& object);

// Sends a message. A nil receiver gives an empty result. A selector that nobody up the chain
// implements logs "-[Class selector]: unrecognized selector sent to instance 0x..." and gives an empty
// result. Nothing escapes from an implementation that throws: it is logged and the result is empty.
MessageValue objc_msgSend(const id& receiver, std::string_view selector,
                          const MessageArguments& arguments = {});
// Sends to the implementation found from `superclass` upwards: how an override calls super.
MessageValue objc_msgSendSuper(Class superclass, const id& receiver, std::string_view selector,
                               const MessageArguments& arguments = {});

// Class methods ("+[FBSSystemService sharedService]"). The implementation is called with a nil self;
// lookup climbs the superclass chain as for instance methods. Sending to Nil gives an empty result;
// an unknown class selector is logged and gives an empty result.
bool class_addClassMethod(Class cls, std::string_view selector, IMP imp);
bool class_respondsToClassSelector(Class cls, std::string_view selector);
MessageValue objc_msgSendClass(Class cls, std::string_view selector, const MessageArguments& arguments = {});

// The method-substitution framework's call. Replaces cls's instance method and hands back the
// implementation it replaces: cls's own, or (when cls only inherits it) one that forwards to
// whatever the superclass implements at call time. *previous is written before the replacement
// can run, so a replacement entered on another thread during installation finds it filled. When
// nobody implements the selector nothing is installed, the failure is logged and *previous is
// emptied.
void MSHookMessageEx(Class cls, std::string_view selector, IMP replacement, IMP* previous);

namespace platform {

using InstanceFactory = std::function<id()>;

// Registers a C++ type under a class name; the non-template half of registerClass.
Class registerNativeClass(std::string_view name, std::string_view superclassName, std::type_index type,
                          InstanceFactory factory, std::function<bool(const NSObject&)> isInstance);

// Registers the C++ class T under an Objective-C class name whose superclass is given by name, so
// objc_getClass(name) finds it, class_createInstance makes a T (when T is default-constructible) and
// objects whose dynamic type is T report this class. superclassName may be empty for a root class,
// and may name a class that is registered later (static registration order is arbitrary) or defined
// at run time: the link is made then. Registering a name again returns the existing class (a module
// loaded twice), pointing it at the newest C++ type. A C++ class that is never registered reports its
// nearest registered C++ base.
template <class T> Class registerClassNamed(std::string_view name, std::string_view superclassName) {
    static_assert(std::is_base_of_v<NSObject, T>, "registered classes derive from NSObject");
    InstanceFactory factory;
    if constexpr (std::is_default_constructible_v<T> && !std::is_abstract_v<T>)
        factory = [] { return std::make_shared<T>(); };
    return registerNativeClass(
        name, superclassName, typeid(T), std::move(factory),
        [](const NSObject& object) { return dynamic_cast<const T*>(&object) != nullptr; });
}

// Registers T under name as a subclass of the class its C++ base Base is registered as. Base must
// declare its registeredName (see RegisteredName.h), so a superclass cannot be misspelt or be a C++
// class that was never registered.
template <class T, class Base = NSObject> Class registerClass(std::string_view name) {
    static_assert(std::is_base_of_v<Base, T>, "a registered class derives from its registered superclass");
    static_assert(RegisteredClass<Base>, "the superclass is not a registered class: declare its registeredName");
    return registerClassNamed<T>(name, Base::registeredName.name);
}

// Registers T under the name it declares itself, which its own subclasses then take as their superclass.
template <class T, class Base = NSObject> Class registerClass() {
    static_assert(RegisteredClass<T>, "the class does not declare its registeredName");
    return registerClass<T, Base>(T::registeredName.name);
}

// Wraps a callable that takes the receiver as a std::shared_ptr<T> (and the arguments) into an IMP.
// A receiver that is not a T gets an empty result. The callable may return void or anything a
// MessageValue is made from.
template <class T, class Function> IMP methodImplementation(Function function) {
    return
        [function = std::move(function)](const id& self, const MessageArguments& arguments) -> MessageValue {
            auto receiver = std::dynamic_pointer_cast<T>(self);
            if (!receiver)
                return {};
            if constexpr (std::is_void_v<std::invoke_result_t<const Function&, const std::shared_ptr<T>&,
                                                              const MessageArguments&>>) {
                function(receiver, arguments);
                return {};
            } else {
                return MessageValue(function(receiver, arguments));
            }
        };
}

} // namespace platform

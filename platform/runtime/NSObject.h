#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/runtime/RegisteredName.h"

struct objc_class;
// A class of the object runtime. The registry owns classes for the life of the process, so a Class
// never dangles; nullptr plays Nil.
using Class = objc_class*;

class NSObject;
using id = std::shared_ptr<NSObject>;

id class_createInstance(Class cls);

// The root of every object that takes part in messaging. Objects are always owned by shared_ptr,
// so selfAs() can hand out strong references to the receiver from inside a member function.
//
// An object answers getClass() with the class it was created for by class_createInstance, or else
// with the registered class of its dynamic C++ type (see platform::registerClass). A C++ subclass
// that was never registered reports its nearest registered C++ base; register a class to make it
// findable by name and to give it its own method table.
class NSObject : public std::enable_shared_from_this<NSObject> {
public:
    static constexpr platform::RegisteredName<NSObject> registeredName{"NSObject"};

    NSObject() = default;
    NSObject(const NSObject&) = default;
    NSObject& operator=(const NSObject&) = default;
    virtual ~NSObject();

    Class getClass() const;
    const char* className() const;
    bool respondsToSelector(std::string_view selector) const;
    bool isKindOfClass(Class cls) const;
    // "<ClassName: 0x...>", as logs print an object.
    virtual std::string description() const;

    // The receiver as a T, or nullptr when it is not a T or not owned by a shared_ptr.
    template <class T> std::shared_ptr<T> selfAs() {
        return std::dynamic_pointer_cast<T>(weak_from_this().lock());
    }
    template <class T> std::shared_ptr<const T> selfAs() const {
        return std::dynamic_pointer_cast<const T>(weak_from_this().lock());
    }

private:
    friend id class_createInstance(Class cls);
    // Set once by class_createInstance before the object is handed out; null means "look it up by
    // the C++ type".
    Class m_class = nullptr;
};

// Anyone who sees NSObject also sees the runtime functions that work on it.
#include "platform/runtime/ObjCRuntime.h"

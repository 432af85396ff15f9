#include "platform/runtime/NSObject.h"

#include <cstdio>

#include "platform/runtime/ClassRegistry.h"

NSObject::~NSObject() = default;

Class NSObject::getClass() const {
    return m_class ? m_class : platform::ClassRegistry::shared().classForNativeObject(*this);
}

const char* NSObject::className() const {
    return class_getName(getClass());
}

bool NSObject::respondsToSelector(std::string_view selector) const {
    return class_respondsToSelector(getClass(), selector);
}

bool NSObject::isKindOfClass(Class cls) const {
    return class_isSubclassOfClass(getClass(), cls);
}

std::string NSObject::description() const {
    char address[32];
    std::snprintf(address, sizeof address, "%p", static_cast<const void*>(this));
    return std::string("<") + className() + ": " + address + ">";
}

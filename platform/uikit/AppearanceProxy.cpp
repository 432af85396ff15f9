#include "platform/uikit/AppearanceProxy.h"

#include "platform/uikit/AppearanceRegistry.h"

namespace platform {

namespace {

// Proxies take messages too, for code that sets appearance through the runtime.
Class registerProxyClass() {
    Class cls = registerClass<AppearanceProxy>("_UIAppearance");
    for (const char* property : {"tintColor", "onTintColor", "backgroundColor"}) {
        std::string name = property;
        std::string setter =
            "set" + std::string(1, static_cast<char>(name[0] - 'a' + 'A')) + name.substr(1) + ":";
        class_addMethod(
            cls, setter,
            methodImplementation<AppearanceProxy>(
                [name](const std::shared_ptr<AppearanceProxy>& proxy, const MessageArguments& arguments) {
                    proxy->setValue(name, argument(arguments, 0).object());
                }));
        class_addMethod(cls, name,
                        methodImplementation<AppearanceProxy>(
                            [name](const std::shared_ptr<AppearanceProxy>& proxy, const MessageArguments&) {
                                return proxy->value(name);
                            }));
    }
    return cls;
}

[[maybe_unused]] const Class registeredProxy = registerProxyClass();

} // namespace

AppearanceProxy::AppearanceProxy(Class controlClass, std::vector<Class> containers)
    : m_controlClass(controlClass), m_containers(std::move(containers)) {}

std::shared_ptr<AppearanceProxy> AppearanceProxy::appearanceForClass(Class controlClass,
                                                                     std::vector<Class> containers) {
    return std::make_shared<AppearanceProxy>(controlClass, std::move(containers));
}

void AppearanceProxy::setValue(std::string_view property, const id& value) {
    AppearanceRegistry::shared().setValue(m_controlClass, m_containers, property, value);
}

id AppearanceProxy::value(std::string_view property) const {
    return AppearanceRegistry::shared().value(m_controlClass, m_containers, property);
}

UIColorPtr AppearanceProxy::color(std::string_view property) const {
    return std::dynamic_pointer_cast<UIColor>(value(property));
}

} // namespace platform

#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/NSObject.h"
#include "platform/uikit/UIColor.h"

namespace platform {

// What `[UISwitch appearance]` or `[UISwitch appearanceWhenContainedInInstancesOfClasses:@[...]]`
// returns: values set on it are recorded in the AppearanceRegistry for that control class and that
// containment (the last value set wins), and reach every such control when it enters a window.
// Registered with the runtime as "_UIAppearance", answering setTintColor:, setOnTintColor: and
// setBackgroundColor: as well.
class AppearanceProxy : public NSObject {
public:
    AppearanceProxy(Class controlClass, std::vector<Class> containers);
    // The proxy of any class by its runtime class: `[cls appearanceWhenContainedInInstancesOfClasses:]`.
    static std::shared_ptr<AppearanceProxy> appearanceForClass(Class controlClass,
                                                               std::vector<Class> containers = {});

    Class controlClass() const { return m_controlClass; }
    const std::vector<Class>& containers() const { return m_containers; }

    void setTintColor(const UIColorPtr& color) { setValue("tintColor", color); }
    UIColorPtr tintColor() const { return color("tintColor"); }
    void setOnTintColor(const UIColorPtr& color) { setValue("onTintColor", color); }
    UIColorPtr onTintColor() const { return color("onTintColor"); }
    void setBackgroundColor(const UIColorPtr& color) { setValue("backgroundColor", color); }
    UIColorPtr backgroundColor() const { return color("backgroundColor"); }

    // Any property by name; nil removes the recorded value.
    void setValue(std::string_view property, const id& value);
    id value(std::string_view property) const;

private:
    UIColorPtr color(std::string_view property) const;

    Class m_controlClass;
    std::vector<Class> m_containers;
};

} // namespace platform

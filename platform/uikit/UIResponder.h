#pragma once

#include "platform/runtime/NSObject.h"

// The common base of views, view controllers and the application, as on the platform. Events are
// delivered by the hosts directly, so it holds nothing yet.
class UIResponder : public NSObject {
public:
    static constexpr platform::RegisteredName<UIResponder> registeredName{"UIResponder"};
    UIResponder() = default;
};

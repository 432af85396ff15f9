#pragma once

#include <memory>

#include "platform/runtime/NSObject.h"
#include "platform/uikit/UIResponder.h"

// A touch event: the touches that changed, as the window delivers them.
class UIEvent : public NSObject {
public:
    explicit UIEvent(UITouchSet touches) : m_touches(std::move(touches)) {}

    const UITouchSet& allTouches() const { return m_touches; }

private:
    UITouchSet m_touches;
};

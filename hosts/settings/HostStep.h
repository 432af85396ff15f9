#pragma once

#include <string>

#include "platform/foundation/Value.h"
#include "platform/uikit/CGGeometry.h"

namespace corvale::settingshost {

// One thing the person does, in the order the command line gives them.
struct HostStep {
    enum class Kind {
        dump,
        set,
        tap,
        alert,
        back,
        home,
        lint,
        render,
        scroll,
        tapCredit,
        tapBranding,
        waitCredits,
        tapAt,
        type,
        returnKey
    };

    Kind kind = Kind::dump;
    // The row key of `set`, the row label of `tap`, the action title of `alert`, the PNG file of
    // `render`.
    std::string name;
    // The value of `set`; the content offset (a number) of `scroll`.
    Value value;
    // The service button of `tap-credit` (the credited person's name is `name`), from 0.
    long index = 0;
    // The screen point of `tap-at`; the text of `type` is `name`.
    CGPoint point = CGPointZero;
};

} // namespace corvale::settingshost

#pragma once

#include <string_view>

#include "platform/foundation/Value.h"
#include "platform/uikit/UIColor.h"

// The colour methods the pane adds to UIColor (the "EasyDynamic" category). C++ cannot add static
// members to another class, so they live here and are also registered as class methods of the
// runtime class "UIColor", where tools that load the pane (the Settings host's lint) reach them.
//
// A colour string is "red:green:blue", each a fraction from 0 to 1 read with floatValue's rule;
// components after the third are ignored and alpha is always 1.
class UIColorEasyDynamic {
public:
    // The light colour itself when there is no dark colour or the system predates dark appearance
    // (before 13.0); otherwise a dynamic colour that picks the dark one in dark appearance.
    static UIColorPtr dynamicColorWithLightVariant(const UIColorPtr& light, const UIColorPtr& dark);
    // nil for a string with fewer than three components: it describes no colour.
    static UIColorPtr _colorFromKVString(std::string_view string);
    // The colour under `key` in the dictionary, with its "<key>:dark" variant when there is one; nil
    // when the key is absent or its string describes no colour.
    static UIColorPtr colorForKey(std::string_view key, const Value& dictionary);

    // Adds the three class methods to the runtime class "UIColor"; done once when the pane loads.
    static void registerCategory();
};

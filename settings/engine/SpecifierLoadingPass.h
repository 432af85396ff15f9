#pragma once

#include "platform/foundation/Value.h"
#include "platform/preferences/PSListController.h"

namespace corvale {

// One loading pass over a page's raw rows: drops rows whose "OSRequirement" does not hold for the
// running system, gives "PostNotification" button rows the notification action, and works out
// which "DependsOn" names are shown from the values stored now.
class SpecifierLoadingPass {
public:
    struct Result {
        PSSpecifierList specifiers;
        // From each depended-upon name to a boolean.
        Value visibility = Value::dictionary();
    };

    static constexpr const char* notificationAction = "notificationButtonPerformedAction:";

    // The page reads stored values for the visibility state.
    explicit SpecifierLoadingPass(PSListController& page) : m_page(page) {}

    Result run(const PSSpecifierList& raw);

    // {"major", "minor", "patch"} of the running system, what requirements are evaluated against.
    static Value versionDictionary();
    // A requirement that is not a string or does not parse is not met: it cannot be checked.
    static bool meetsRequirement(const Value& requirement, const Value& version);

private:
    PSListController& m_page;
};

} // namespace corvale

#pragma once

#include <memory>

#include "platform/foundation/NSBundle.h"
#include "platform/foundation/Value.h"
#include "platform/preferences/PSSpecifier.h"

// The rows that close the root page: the Credits group with one credit row per person, then the
// links group with one button row per link; while nothing has arrived, a loading row or, once
// loading failed, a row that says so.
class CreditsAreaRows {
public:
    struct Known {
        Value credits; // null until delivered
        Value links;   // null until delivered
        bool failed = false;
    };

    // bundle gives the credit rows their "bundlePath"; linkTarget receives the link rows' action.
    CreditsAreaRows(std::shared_ptr<NSBundle> bundle, id linkTarget);

    void appendTo(PSSpecifierList& rows, const Known& known) const;

    static constexpr long creditRowHeight = 84;

private:
    void appendCreditRows(PSSpecifierList& rows, const Value& people) const;
    void appendLinkRows(PSSpecifierList& rows, const Value& entries) const;

    std::shared_ptr<NSBundle> m_bundle;
    id m_linkTarget;
};

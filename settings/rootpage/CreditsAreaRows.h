#pragma once

#include <cstddef>
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

    // The rows an answer had beyond the bounds below.
    struct LeftOut {
        std::size_t credits = 0;
        std::size_t links = 0;
    };

    LeftOut appendTo(PSSpecifierList& rows, const Known& known) const;

    static constexpr long creditRowHeight = 84;
    // A page builds at most this many credit rows and link rows; an answer with more is cut short.
    // Far more than any tweak credits, and few enough that building and laying out every cell of
    // the list stays within a second or two.
    static constexpr std::size_t maximumCreditRows = 50;
    static constexpr std::size_t maximumLinkRows = 50;

private:
    std::size_t appendCreditRows(PSSpecifierList& rows, const Value& people) const;
    std::size_t appendLinkRows(PSSpecifierList& rows, const Value& entries) const;

    std::shared_ptr<NSBundle> m_bundle;
    id m_linkTarget;
};

#include "settings/rootpage/CreditsAreaRows.h"

#include <cstdint>
#include <string>
#include <utility>

#include "platform/preferences/PSTableCell.h"
#include "platform/runtime/ObjCRuntime.h"

CreditsAreaRows::CreditsAreaRows(std::shared_ptr<NSBundle> bundle, id linkTarget)
    : m_bundle(std::move(bundle)), m_linkTarget(std::move(linkTarget)) {}

CreditsAreaRows::LeftOut CreditsAreaRows::appendTo(PSSpecifierList& rows, const Known& known) const {
    LeftOut leftOut;
    if (!known.credits.isNull()) {
        rows.push_back(PSSpecifier::groupSpecifierWithName("Credits"));
        leftOut.credits = appendCreditRows(rows, known.credits);
        if (!known.links.isNull())
            leftOut.links = appendLinkRows(rows, known.links);
    } else if (!known.links.isNull()) {
        leftOut.links = appendLinkRows(rows, known.links);
    } else {
        rows.push_back(PSSpecifier::groupSpecifierWithName("Credits"));
        const bool failed = known.failed;
        rows.push_back(PSSpecifier::preferenceSpecifierNamed(
            failed ? "Couldn't load credits" : "", nullptr, "", "", nullptr,
            PSTableCell::cellTypeFromString(failed ? "PSStaticTextCell" : "PSSpinnerCell"), nullptr));
    }
    return leftOut;
}

std::size_t CreditsAreaRows::appendCreditRows(PSSpecifierList& rows, const Value& people) const {
    if (!people.isArray())
        return 0;
    std::size_t built = 0;
    std::size_t leftOut = 0;
    for (const Value& person : people.asArray()) {
        // Copying the keys of anything but an object would have nothing to copy from.
        if (!person.isDictionary())
            continue;
        if (built == maximumCreditRows) {
            ++leftOut;
            continue;
        }
        ++built;
        auto row = PSSpecifier::preferenceSpecifierNamed(
            "", nullptr, "", "", nullptr, PSTableCell::cellTypeFromString("PSDefaultCell"), nullptr);
        for (const auto& [key, value] : person.asDictionary())
            row->setProperty(value, key);
        row->setObjectProperty(objc_getClass("KVCorvaleCreditCell"), "cellClass");
        row->setProperty(Value(m_bundle ? m_bundle->bundlePath() : std::string()), "bundlePath");
        row->setProperty(Value(static_cast<std::int64_t>(creditRowHeight)), "height");
        rows.push_back(row);
    }
    return leftOut;
}

std::size_t CreditsAreaRows::appendLinkRows(PSSpecifierList& rows, const Value& entries) const {
    rows.push_back(PSSpecifier::emptyGroupSpecifier());
    if (!entries.isArray())
        return 0;
    std::size_t built = 0;
    std::size_t leftOut = 0;
    for (const Value& entry : entries.asArray()) {
        const Value title = entry.isDictionary() ? entry["title"] : Value();
        const Value url = entry.isDictionary() ? entry["url"] : Value();
        if (!title.isString() || !url.isString())
            continue;
        if (built == maximumLinkRows) {
            ++leftOut;
            continue;
        }
        ++built;
        auto row =
            PSSpecifier::preferenceSpecifierNamed(title.asString(), m_linkTarget, "", "", nullptr,
                                                  PSTableCell::cellTypeFromString("PSButtonCell"), nullptr);
        row->setProperty(url, "url");
        row->action = "URLSpecifierPerformedAction:";
        rows.push_back(row);
    }
    return leftOut;
}

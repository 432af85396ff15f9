#include "settings/engine/SpecifierLoadingPass.h"

#include <map>
#include <set>
#include <string>

#include "platform/foundation/NSPredicate.h"
#include "platform/foundation/NSProcessInfo.h"
#include "platform/preferences/PSTableCell.h"

namespace corvale {

Value SpecifierLoadingPass::versionDictionary() {
    const auto version = NSProcessInfo::processInfo().operatingSystemVersion();
    return Value::dictionary({{"major", Value(version.majorVersion)},
                              {"minor", Value(version.minorVersion)},
                              {"patch", Value(version.patchVersion)}});
}

bool SpecifierLoadingPass::meetsRequirement(const Value& requirement, const Value& version) {
    if (requirement.isNull())
        return true;
    if (!requirement.isString())
        return false;
    auto predicate = NSPredicate::predicateWithFormat(requirement.asString());
    return predicate && predicate->evaluateWithObject(version);
}

SpecifierLoadingPass::Result SpecifierLoadingPass::run(const PSSpecifierList& raw) {
    Result result;
    const PSCellType buttonCell = PSTableCell::cellTypeFromString("PSButtonCell");
    const Value version = versionDictionary();
    std::set<std::string> dependedUpon;
    std::map<std::string, std::shared_ptr<PSSpecifier>> rowsByKey;

    for (const auto& row : raw) {
        if (!row || !meetsRequirement(row->propertyForKey("OSRequirement"), version))
            continue;
        result.specifiers.push_back(row);
        if (row->cellType() == buttonCell && !row->propertyForKey("PostNotification").isNull())
            row->action = notificationAction;
        if (const Value dependsOn = row->propertyForKey("DependsOn"); dependsOn.isString())
            dependedUpon.insert(dependsOn.asString());
        // A later row with the same key wins.
        if (const Value key = row->propertyForKey("key"); key.isString())
            rowsByKey[key.asString()] = row;
    }

    for (const auto& name : dependedUpon) {
        auto row = rowsByKey.find(name);
        const bool shown = row != rowsByKey.end() && m_page.readPreferenceValue(row->second).boolValue();
        result.visibility.set(name, Value(shown));
    }
    return result;
}

} // namespace corvale

#include "hosts/settings/PaneLint.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <variant>

#include "platform/foundation/DeviceRoot.h"
#include "platform/foundation/NSPredicate.h"
#include "platform/foundation/PathComponent.h"
#include "platform/foundation/PropertyList.h"
#include "platform/preferences/PSTableCell.h"

namespace corvale::settingshost {

namespace {

constexpr const char* themeKeys[] = {"headerColour", "headerColour:dark", "tintColour", "tintColour:dark"};

// The string "key" of every row of the list.
std::vector<std::string> rowKeys(const Value& items) {
    std::vector<std::string> keys;
    for (const auto& row : items.asArray())
        if (row["key"].isString())
            keys.push_back(row["key"].asString());
    return keys;
}

std::string requirementProblem(const Value& requirement) {
    if (!requirement.isString())
        return "is not a string, so the row is never shown";
    auto parsed = NSPredicate::parse(requirement.asString());
    if (const auto* error = std::get_if<platform::PredicateParseError>(&parsed))
        return "does not parse (at character " + std::to_string(error->position) + ": " + error->reason +
               "), so the row is never shown";
    return {};
}

std::string dependencyProblem(const Value& dependency, const std::vector<std::string>& keys,
                              bool isMainList) {
    if (!dependency.isString())
        return "is not a string, so the row is always collapsed";
    if (!isMainList)
        return "is never evaluated on a sub-page, so the row is always collapsed";
    if (std::find(keys.begin(), keys.end(), dependency.asString()) == keys.end())
        return "names a key that no row of this list has, so the row is always collapsed";
    return {};
}

// Rows whose control changes a value that the row then stores.
bool storesAValue(PSCellType cellType) {
    switch (cellType) {
    case PSSwitchCell:
    case PSSliderCell:
    case PSSegmentCell:
    case PSEditTextCell:
    case PSSecureEditTextCell:
    case PSLinkListCell:
        return true;
    default:
        return false;
    }
}

void lintControlRow(PSCellType cellType, const Value& row, const std::function<void(const char*, std::string)>& add) {
    if (storesAValue(cellType) && !row.contains("set")) {
        if (!row["key"].isString())
            add("key", "is missing, so the row's value is never stored");
        else if (!row["defaults"].isString())
            add("defaults", "is missing, so the row's value is never stored");
    }
    const Value& titles = row["validTitles"];
    const Value& values = row["validValues"];
    if (titles.isArray() && values.isArray() && titles.asArray().size() != values.asArray().size())
        add("validTitles", "has " + std::to_string(titles.asArray().size()) + " titles for " +
                               std::to_string(values.asArray().size()) + " values");
    if (cellType == PSLinkListCell && !row.contains("detail"))
        add("detail", "is missing, so tapping the list row opens nothing");
}

} // namespace

PaneLint::PaneLint(std::string bundlePath, std::string mainListName, ColourCheck colourCheck)
    : m_bundlePath(std::move(bundlePath)), m_mainListName(std::move(mainListName)),
      m_colourCheck(std::move(colourCheck)) {}

std::vector<std::string> PaneLint::listFileNames() const {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& file :
         std::filesystem::directory_iterator(platform::DeviceRoot::resolve(m_bundlePath), error)) {
        auto name = file.path().filename().string();
        if (file.path().extension() == ".plist" && name != "Info.plist" && file.is_regular_file(error))
            names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

void PaneLint::lintTweakName(std::vector<LintProblem>& problems) const {
    auto info = platform::PropertyList::readFile(m_bundlePath + "/Info.plist");
    if (!info)
        return;
    const Value& name = (*info)["KVTweakName"];
    if (!name.isString())
        return;
    const std::string& text = name.asString();
    if (!platform::isSinglePathComponent(text) || !platform::isSinglePathComponent(text + ".json"))
        problems.push_back({"Info.plist", Value(), "KVTweakName", name,
                            "is not a single path component, so the credits are never fetched"});
}

std::vector<LintProblem> PaneLint::run() const {
    std::vector<LintProblem> problems;
    lintTweakName(problems);
    for (const auto& name : listFileNames()) {
        auto list = platform::PropertyList::readFile(m_bundlePath + "/" + name);
        if (!list || !list->isDictionary()) {
            problems.push_back({name, Value(), "", Value(), "is not a property-list dictionary"});
            continue;
        }
        auto found = lintList(name, *list, name == m_mainListName + ".plist");
        problems.insert(problems.end(), found.begin(), found.end());
    }
    return problems;
}

std::vector<LintProblem> PaneLint::lintList(const std::string& fileName, const Value& list,
                                            bool isMainList) const {
    std::vector<LintProblem> problems;
    const Value& items = list["items"];
    if (!items.isArray())
        return problems;
    auto keys = rowKeys(items);
    for (const auto& row : items.asArray())
        if (row.isDictionary())
            lintRow(fileName, row, keys, isMainList, problems);
    if (isMainList)
        lintThemeColours(fileName, list, problems);
    return problems;
}

void PaneLint::lintRow(const std::string& fileName, const Value& row, const std::vector<std::string>& keys,
                       bool isMainList, std::vector<LintProblem>& problems) const {
    auto add = [&](const char* property, std::string problem) {
        if (!problem.empty())
            problems.push_back({fileName, row["label"], property, row[property], std::move(problem)});
    };
    PSCellType cellType = PSDefaultCell;
    if (row.contains("cell")) {
        const Value& cell = row["cell"];
        cellType = cell.isString() ? PSTableCell::cellTypeFromString(cell.asString()) : PSUnknownCell;
        if (cellType == PSUnknownCell)
            add("cell", "is not a cell type the framework knows");
    }
    lintControlRow(cellType, row, add);
    for (const char* flag : {"enabled", "negate"})
        if (row.contains(flag) && !row[flag].isBool())
            add(flag, "is not a boolean");
    if (row.contains("confirmation") && !row["confirmation"].isDictionary())
        add("confirmation", "is not a dictionary, so the button runs without asking");
    if (row.contains("OSRequirement"))
        add("OSRequirement", requirementProblem(row["OSRequirement"]));
    if (row.contains("DependsOn"))
        add("DependsOn", dependencyProblem(row["DependsOn"], keys, isMainList));
}

void PaneLint::lintThemeColours(const std::string& fileName, const Value& list,
                                std::vector<LintProblem>& problems) const {
    if (!m_colourCheck)
        return;
    for (const char* key : themeKeys) {
        if (!list.contains(key))
            continue;
        // The pane reads the entry's string form, so a number is a one-component colour string.
        if (!m_colourCheck(list[key].stringValue()))
            problems.push_back({fileName, Value(), key, list[key], "describes no colour"});
    }
}

} // namespace corvale::settingshost

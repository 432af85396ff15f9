#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/foundation/Value.h"
#include "hosts/settings/LintProblem.h"

namespace corvale::settingshost {

// Finds the faults that make a pane's rows behave other than their author meant, in every list of
// the preferences bundle (each "*.plist" beside Info.plist that holds an "items" array):
// - an "OSRequirement" that is not a string or does not parse (the row is then never shown);
// - a "DependsOn" that is not a string, or that names a key no row of the same list carries, or
//   that sits in a sub-page's list, where dependencies are never evaluated (the row then stays
//   collapsed);
// - a "cell" that is not a cell type the framework knows;
// - in the main list (<tweak name>.plist), a theme colour ("headerColour", "tintColour" and their
//   ":dark" variants) that describes no colour;
// - in Info.plist, a "KVTweakName" that cannot name the credits cache file ("<name>.json") as one
//   path component, so the credits are never fetched.
class PaneLint {
public:
    // Whether a colour string describes a colour; the pane's own parser answers in the host.
    using ColourCheck = std::function<bool(const std::string&)>;

    // `bundlePath` is a device path. Without a colour check, colours are not looked at.
    PaneLint(std::string bundlePath, std::string mainListName, ColourCheck colourCheck);

    // In file-name order, then row order.
    std::vector<LintProblem> run() const;

    // One list; `isMainList` adds the theme keys and keeps its "DependsOn" rows from being reported
    // as sub-page rows.
    std::vector<LintProblem> lintList(const std::string& fileName, const Value& list, bool isMainList) const;

private:
    std::vector<std::string> listFileNames() const;
    void lintTweakName(std::vector<LintProblem>& problems) const;
    void lintRow(const std::string& fileName, const Value& row, const std::vector<std::string>& keys,
                 bool isMainList, std::vector<LintProblem>& problems) const;
    void lintThemeColours(const std::string& fileName, const Value& list,
                          std::vector<LintProblem>& problems) const;

    std::string m_bundlePath;
    std::string m_mainListName;
    ColourCheck m_colourCheck;
};

} // namespace corvale::settingshost

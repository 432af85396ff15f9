#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvale::preview {

// Where the Settings app stood, read back from its navigation position ("prefs:root=Corvale&path=
// Sub/More", "prefs:" on the list): the pane's label and the identifiers of the rows that opened
// each page pushed since.
struct NavigationPath {
    std::optional<std::string> paneLabel;
    std::vector<std::string> rowIdentifiers;

    static NavigationPath parse(std::string_view position);
};

} // namespace corvale::preview

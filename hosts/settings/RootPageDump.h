#pragma once

#include <memory>

#include <nlohmann/json.hpp>

#include "platform/preferences/PSListController.h"
#include "platform/uikit/NSIndexPath.h"

namespace corvale::settingshost {

// What a page shows around its rows: the header above the table, the navigation bar (its look, title
// view and right button) and the status bar; and, for a credit row, the credited person as the cell
// shows them. The pane's own classes are read by the names they answer to, so any pane can be dumped;
// parts a page does not have are null.
class RootPageDump {
public:
    // {"company", "title", "height", "topOffset"}: the header's labels, its height and where its top
    // stands relative to the bottom of the top layout guide.
    static nlohmann::ordered_json header(const std::shared_ptr<PSListController>& page);
    // {"title", "subtitle", "showingIcon", "whiteText"}.
    static nlohmann::ordered_json titleView(const std::shared_ptr<PSListController>& page);
    // {"barTintColour", "tintColour", "barStyle", "translucent", "hairline", "statusBarStyle"} of the bar
    // on screen (the outermost navigation controller's) and the application's status bar.
    static nlohmann::ordered_json bars(const std::shared_ptr<PSListController>& page);
    // {"image", "action"}.
    static nlohmann::ordered_json rightBarButton(const std::shared_ptr<PSListController>& page);
    // {"name", "position", "buttons": [accessibility labels], "pictureSet"}.
    static nlohmann::ordered_json credit(const std::shared_ptr<PSListController>& page,
                                         const std::shared_ptr<NSIndexPath>& indexPath);
};

} // namespace corvale::settingshost

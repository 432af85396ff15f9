#pragma once

#include <memory>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/foundation/Value.h"
#include "platform/preferences/PSListController.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIControl.h"
#include "platform/uikit/UITableViewCell.h"

namespace corvale::settingshost {

// What a person sees of a page, as the one JSON object of a `dump` line:
// {"page": {"class", "title"}, "theme": {"headerColour", "tintColour"}, "sections": [{"footer",
// "rows": [{"cell", "label", "key", "id", "height", "value", and "credit" for a credit row}]}],
// "header", "titleView", "bars", "rightBarButton" (see RootPageDump), "alert", "events"}.
// Everything comes from the page as the table would ask it: the sections and heights through the
// page's table callbacks, values through readPreferenceValue. Colours are resolved with the page's
// traits and given as [r, g, b, a], each clamped to 0...1 and rounded to six decimals.
class PageDump {
public:
    static nlohmann::ordered_json dump(const std::shared_ptr<PSListController>& page,
                                       const std::shared_ptr<UIAlertController>& alert,
                                       const std::vector<Value>& events);

    static nlohmann::ordered_json theme(const std::shared_ptr<PSListController>& page);
    static nlohmann::ordered_json sections(const std::shared_ptr<PSListController>& page);
    static nlohmann::ordered_json alert(const std::shared_ptr<UIAlertController>& alert);
    // A respring event always has "via", "reason", "options" and "targetURL", in that order.
    static nlohmann::ordered_json event(const Value& event);
    // Null for a nil colour.
    static nlohmann::ordered_json colour(const std::shared_ptr<UIColor>& colour,
                                         const std::shared_ptr<UITraitCollection>& traits);

private:
    static nlohmann::ordered_json row(const std::shared_ptr<PSListController>& page,
                                      const std::shared_ptr<PSSpecifier>& specifier, CGFloat height);
    static nlohmann::ordered_json cellName(const PSSpecifier& specifier);
    // The shown cell's frame on screen, enabled state, value text, control and check mark.
    static void addShownCell(nlohmann::ordered_json& row, const std::shared_ptr<UITableViewCell>& cell,
                             bool listPage);
    static nlohmann::ordered_json control(const std::shared_ptr<UIControl>& control);
    static nlohmann::ordered_json screenFrame(const UIView& view);
    // [x, y, w, h] in points, to a thousandth.
    static nlohmann::ordered_json rectangle(CGRect frame);
};

} // namespace corvale::settingshost

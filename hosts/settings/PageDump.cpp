#include "hosts/settings/PageDump.h"

#include <algorithm>
#include <cmath>

#include "platform/foundation/SimulatedDevice.h"
#include "platform/preferences/PSListItemsController.h"
#include "platform/render/AlertPainter.h"
#include "platform/preferences/PSTableCell.h"
#include "platform/runtime/ObjCRuntime.h"
#include "hosts/settings/RootPageDump.h"
#include "hosts/common/ValueJSON.h"
#include "platform/uikit/NSIndexPath.h"
#include "platform/uikit/UISegmentedControl.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UISwitch.h"
#include "platform/uikit/UITextField.h"
#include "platform/uikit/UITraitCollection.h"
#include "platform/uikit/UIWindow.h"

namespace corvale::settingshost {

namespace {

double displayed(double component) {
    if (!std::isfinite(component))
        return 0;
    return std::round(std::clamp(component, 0.0, 1.0) * 1e6) / 1e6;
}

nlohmann::ordered_json optionalString(const std::optional<std::string>& text) {
    return text ? nlohmann::ordered_json(*text) : nlohmann::ordered_json(nullptr);
}

const char* styleName(UIAlertActionStyle style) {
    switch (style) {
    case UIAlertActionStyle::Cancel:
        return "cancel";
    case UIAlertActionStyle::Destructive:
        return "destructive";
    case UIAlertActionStyle::Default:
        break;
    }
    return "default";
}

} // namespace

nlohmann::ordered_json PageDump::dump(const std::shared_ptr<PSListController>& page,
                                      const std::shared_ptr<UIAlertController>& alertController,
                                      const std::vector<Value>& events) {
    // Laid out first, so that every row has its cell where the screen shows it; then the rows, since
    // loading them may set the page's title from its list.
    if (auto window = page->view()->window())
        window->layoutIfNeeded();
    auto rows = sections(page);
    nlohmann::ordered_json line;
    const auto& table = page->table();
    line["page"] = {{"class", object_getClassName(page)},
                    {"title", page->title()},
                    {"contentOffset", table->contentOffset().y},
                    {"insetTop", table->adjustedContentInset().top}};
    line["theme"] = theme(page);
    line["sections"] = std::move(rows);
    line["header"] = RootPageDump::header(page);
    line["titleView"] = RootPageDump::titleView(page);
    line["bars"] = RootPageDump::bars(page);
    line["rightBarButton"] = RootPageDump::rightBarButton(page);
    // Only when the page cut its credits short, so that ordinary dumps stay as they are.
    if (class_respondsToSelector(object_getClass(page), "_rowsLeftOut")) {
        Value leftOut = objc_msgSend(page, "_rowsLeftOut").value();
        if (leftOut["credits"].integerValue() > 0 || leftOut["links"].integerValue() > 0)
            line["rowsLeftOut"] = hosts::ValueJSON::from(leftOut);
    }
    line["alert"] = alert(alertController);
    line["events"] = nlohmann::ordered_json::array();
    for (const auto& recorded : events)
        line["events"].push_back(event(recorded));
    return line;
}

nlohmann::ordered_json PageDump::theme(const std::shared_ptr<PSListController>& page) {
    auto traits = page->traitCollection();
    // Only a themed page has a header colour.
    auto headerColour = class_respondsToSelector(object_getClass(page), "headerColour")
                            ? objc_msgSend(page, "headerColour").objectAs<UIColor>()
                            : nullptr;
    auto tintColour = page->view()->tintColor();
    return {{"headerColour", colour(headerColour, traits)}, {"tintColour", colour(tintColour, traits)}};
}

nlohmann::ordered_json PageDump::colour(const std::shared_ptr<UIColor>& colour,
                                        const std::shared_ptr<UITraitCollection>& traits) {
    if (!colour)
        return nullptr;
    double red = 0, green = 0, blue = 0, alpha = 0;
    colour->resolvedColorWithTraitCollection(traits)->getRed(&red, &green, &blue, &alpha);
    return {displayed(red), displayed(green), displayed(blue), displayed(alpha)};
}

nlohmann::ordered_json PageDump::sections(const std::shared_ptr<PSListController>& page) {
    const auto& table = page->table();
    auto sections = nlohmann::ordered_json::array();
    bool listPage = std::dynamic_pointer_cast<PSListItemsController>(page) != nullptr;
    long sectionCount = page->numberOfSectionsInTableView(table);
    for (long section = 0; section < sectionCount; ++section) {
        auto rows = nlohmann::ordered_json::array();
        long rowCount = page->tableViewNumberOfRowsInSection(table, section);
        for (long index = 0; index < rowCount; ++index) {
            auto indexPath = NSIndexPath::indexPathForRow(index, section);
            if (auto specifier = page->specifierAtIndexPath(indexPath)) {
                auto shown = row(page, specifier, page->tableViewHeightForRowAtIndexPath(table, indexPath));
                addShownCell(shown, table->cellForRowAtIndexPath(indexPath), listPage);
                if (auto credit = RootPageDump::credit(page, indexPath); !credit.is_null())
                    shown["credit"] = std::move(credit);
                rows.push_back(std::move(shown));
            }
        }
        sections.push_back(
            {{"footer", optionalString(page->tableViewTitleForFooterInSection(table, section))},
             {"rows", rows}});
    }
    return sections;
}

nlohmann::ordered_json PageDump::row(const std::shared_ptr<PSListController>& page,
                                     const std::shared_ptr<PSSpecifier>& specifier, CGFloat height) {
    const Value& key = specifier->properties()["key"];
    nlohmann::ordered_json row;
    row["cell"] = cellName(*specifier);
    row["label"] = specifier->name();
    row["key"] = key.isString() ? nlohmann::ordered_json(key.asString()) : nlohmann::ordered_json(nullptr);
    row["id"] = specifier->identifier();
    row["height"] = height;
    row["value"] = key.isString() ? hosts::ValueJSON::from(page->readPreferenceValue(specifier)) : nullptr;
    return row;
}

nlohmann::ordered_json PageDump::screenFrame(const UIView& view) {
    return rectangle(view.convertRect(view.bounds(), nullptr));
}

nlohmann::ordered_json PageDump::rectangle(CGRect frame) {
    auto rounded = [](CGFloat value) { return std::round(value * 1000) / 1000; };
    return {rounded(frame.origin.x), rounded(frame.origin.y), rounded(frame.size.width), rounded(frame.size.height)};
}

nlohmann::ordered_json PageDump::control(const std::shared_ptr<UIControl>& control) {
    if (!control)
        return nullptr;
    auto traits = control->traitCollection();
    nlohmann::ordered_json shown;
    UIColorPtr tint = control->tintColor();
    if (auto toggle = std::dynamic_pointer_cast<UISwitch>(control)) {
        shown["type"] = "switch";
        shown["value"] = toggle->isOn();
        // The on track's colour: its own, else the system green.
        tint = toggle->onTintColor() ? toggle->onTintColor() : UIColor::colorWithRed(0.204, 0.78, 0.349, 1);
    } else if (auto slider = std::dynamic_pointer_cast<UISlider>(control)) {
        shown["type"] = "slider";
        shown["value"] = slider->value();
    } else if (auto segments = std::dynamic_pointer_cast<UISegmentedControl>(control)) {
        shown["type"] = "segment";
        shown["value"] = segments->selectedSegmentIndex();
    } else if (auto field = std::dynamic_pointer_cast<UITextField>(control)) {
        shown["type"] = "textField";
        shown["value"] = field->isSecureTextEntry() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(field->text());
    } else {
        return nullptr;
    }
    shown["frame"] = screenFrame(*control);
    shown["tintColour"] = colour(tint, traits);
    return shown;
}

void PageDump::addShownCell(nlohmann::ordered_json& row, const std::shared_ptr<UITableViewCell>& cell,
                            bool listPage) {
    auto preferenceCell = std::dynamic_pointer_cast<PSTableCell>(cell);
    row["frame"] = cell ? screenFrame(*cell) : nlohmann::ordered_json(nullptr);
    row["enabled"] = preferenceCell ? preferenceCell->isCellEnabled() : true;
    std::string valueText = preferenceCell ? preferenceCell->valueText() : std::string();
    row["valueText"] = valueText.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(valueText);
    row["control"] = control(preferenceCell ? preferenceCell->control() : nullptr);
    // Only a list page's rows carry a check, on the chosen one.
    if (listPage)
        row["checked"] = cell && cell->accessoryType() == UITableViewCellAccessoryCheckmark;
}

nlohmann::ordered_json PageDump::cellName(const PSSpecifier& specifier) {
    auto name = PSTableCell::stringFromCellType(specifier.cellType());
    if (!name.empty())
        return std::string(name);
    // A cell type the framework does not know: show what the list asked for.
    return hosts::ValueJSON::from(specifier.properties()["cell"]);
}

nlohmann::ordered_json PageDump::alert(const std::shared_ptr<UIAlertController>& alert) {
    if (!alert)
        return nullptr;
    auto actions = nlohmann::ordered_json::array();
    const CGSize screen = platform::SimulatedDevice::screenSize();
    for (std::size_t index = 0; index < alert->actions().size(); ++index) {
        const auto& action = alert->actions()[index];
        CGRect frame = platform::render::AlertPainter::frameOfAction(*alert, screen, index);
        actions.push_back({{"title", action->title()},
                           {"style", styleName(action->style())},
                           {"preferred", action == alert->preferredAction()},
                           {"frame", rectangle(frame)}});
    }
    return {{"title", alert->title()}, {"message", alert->message()}, {"actions", actions}};
}

nlohmann::ordered_json PageDump::event(const Value& event) {
    const Value& respring = event["respring"];
    if (!respring.isDictionary())
        return hosts::ValueJSON::from(event);
    nlohmann::ordered_json details;
    for (const char* key : {"via", "reason", "options", "targetURL"})
        details[key] = hosts::ValueJSON::from(respring[key]);
    return {{"respring", details}};
}

} // namespace corvale::settingshost

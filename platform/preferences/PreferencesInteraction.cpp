#include "platform/preferences/PreferencesInteraction.h"

#include <algorithm>

#include "platform/preferences/PSTableCell.h"
#include "platform/uikit/TouchScreen.h"
#include "platform/uikit/UIWindow.h"

namespace platform {

template <class Matches>
std::shared_ptr<PSSpecifier>
PreferencesInteraction::firstShownRow(const std::shared_ptr<PSListController>& page, Matches matches) {
    if (!page)
        return nullptr;
    auto table = page->table();
    for (long section = 0; section < table->numberOfSections(); ++section) {
        for (long row = 0; row < table->numberOfRowsInSection(section); ++row) {
            auto specifier = page->specifierAtIndexPath(NSIndexPath::indexPathForRow(row, section));
            if (specifier && matches(*specifier))
                return specifier;
        }
    }
    return nullptr;
}

std::shared_ptr<PSSpecifier>
PreferencesInteraction::rowWithLabel(const std::shared_ptr<PSListController>& page, std::string_view label) {
    return firstShownRow(page, [&](const PSSpecifier& specifier) { return specifier.name() == label; });
}

std::shared_ptr<PSSpecifier> PreferencesInteraction::rowWithKey(const std::shared_ptr<PSListController>& page,
                                                                std::string_view key) {
    return firstShownRow(page, [&](const PSSpecifier& specifier) {
        const Value& rowKey = specifier.properties()["key"];
        return rowKey.isString() && rowKey.asString() == key;
    });
}

std::shared_ptr<UIView> PreferencesInteraction::tapRowAtItsCentre(const std::shared_ptr<PSListController>& page,
                                                                  const std::shared_ptr<NSIndexPath>& indexPath) {
    const auto& table = page->table();
    auto cell = table->cellForRowAtIndexPath(indexPath);
    auto window = table->window();
    if (!cell || !window)
        return nullptr;
    window->layoutIfNeeded();
    auto reaches = [&](const std::shared_ptr<UIView>& hit) {
        return hit && (hit == cell || hit->isDescendantOfView(cell) || hit == table);
    };
    auto centre = [&] {
        CGRect bounds = cell->bounds();
        return cell->convertPoint({CGRectGetMidX(bounds), CGRectGetMidY(bounds)}, window);
    };
    if (!reaches(window->hitTest(centre(), nullptr))) {
        // Off screen or under a bar: scrolled to the middle of the list first, as a person would.
        CGRect row = cell->frame();
        UIEdgeInsets inset = table->adjustedContentInset();
        CGFloat visible = table->bounds().size.height - inset.top - inset.bottom;
        CGFloat lowest = std::max(-inset.top, table->contentSize().height + inset.bottom - table->bounds().size.height);
        CGFloat offset = std::clamp(CGRectGetMidY(row) - inset.top - visible / 2, -inset.top, lowest);
        table->setContentOffset({table->contentOffset().x, offset});
        window->layoutIfNeeded();
    }
    CGPoint point = centre();
    if (!reaches(window->hitTest(point, nullptr)))
        return nullptr;
    return TouchScreen::tap(*window, point);
}

bool PreferencesInteraction::tapRowWithLabel(const std::shared_ptr<PSListController>& page,
                                             std::string_view label) {
    auto specifier = rowWithLabel(page, label);
    auto indexPath = page ? page->indexPathForSpecifier(specifier) : nullptr;
    if (!indexPath)
        return false;
    const auto& table = page->table();
    table->cellForRowAtIndexPath(indexPath);
    if (table->window()) {
        tapRowAtItsCentre(page, indexPath);
        return true;
    }
    // A page in no window has no screen to touch: the table's delegate hears of the tap directly.
    if (auto delegate = table->delegate())
        delegate->tableViewDidSelectRowAtIndexPath(table, indexPath);
    return true;
}

bool PreferencesInteraction::setValueOfRowWithKey(const std::shared_ptr<PSListController>& page,
                                                  std::string_view key, const Value& value) {
    auto specifier = rowWithKey(page, key);
    if (!specifier)
        return false;
    auto indexPath = page->indexPathForSpecifier(specifier);
    auto cell = std::dynamic_pointer_cast<PSTableCell>(indexPath ? page->table()->cellForRowAtIndexPath(indexPath)
                                                                 : nullptr);
    if (cell && cell->control()) {
        cell->_changeControlValue(value);
        return true;
    }
    // Rows without a control (a list row's value is chosen on its own page) store through the setter.
    id target = specifier->target();
    if (!target)
        target = page;
    std::string_view setter = specifier->setter.empty() ? PSSpecifier::defaultSetter : specifier->setter;
    objc_msgSend(target, setter, {MessageValue(value), MessageValue(specifier)});
    return true;
}

} // namespace platform

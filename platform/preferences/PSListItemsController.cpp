#include "platform/preferences/PSListItemsController.h"

namespace {

[[maybe_unused]] const Class registeredClass =
    platform::registerClass<PSListItemsController, PSListController>();

const Value& listOf(const PSSpecifier& specifier, const Value& own, const char* key) {
    return own.isArray() ? own : specifier.properties()[key];
}

bool valuesMatch(const Value& lhs, const Value& rhs) {
    if (lhs.isNumber() && rhs.isNumber())
        return lhs.doubleValue() == rhs.doubleValue();
    return lhs == rhs;
}

} // namespace

std::shared_ptr<PSSpecifierList> PSListItemsController::specifiers() {
    if (_specifiers)
        return _specifiers;
    auto list = std::make_shared<PSSpecifierList>();
    list->push_back(PSSpecifier::emptyGroupSpecifier());
    if (auto row = specifier()) {
        const Value& titles = listOf(*row, row->titles(), "validTitles");
        if (titles.isArray())
            for (const auto& title : titles.asArray())
                list->push_back(PSSpecifier::preferenceSpecifierNamed(title.stringValue(), nullptr, "", "", nullptr,
                                                                      PSListItemCell, nullptr));
    }
    _specifiers = list;
    return _specifiers;
}

Value PSListItemsController::valueOfChoice(long index) const {
    auto row = specifier();
    if (!row || index < 0)
        return {};
    const Value& values = listOf(*row, row->values(), "validValues");
    if (!values.isArray() || index >= static_cast<long>(values.asArray().size()))
        return {};
    return values.asArray()[static_cast<std::size_t>(index)];
}

long PSListItemsController::chosenIndex() {
    auto row = specifier();
    if (!row)
        return -1;
    Value current = valueOfRow(row);
    for (long index = 0; !valueOfChoice(index).isNull(); ++index)
        if (valuesMatch(valueOfChoice(index), current))
            return index;
    return -1;
}

void PSListItemsController::tableViewWillDisplayCellForRowAtIndexPath(const std::shared_ptr<UITableView>&,
                                                                      const std::shared_ptr<UITableViewCell>& cell,
                                                                      const std::shared_ptr<NSIndexPath>& indexPath) {
    cell->setAccessoryType(indexPath->row() == chosenIndex() ? UITableViewCellAccessoryCheckmark
                                                             : UITableViewCellAccessoryNone);
}

void PSListItemsController::tableViewDidSelectRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                                             const std::shared_ptr<NSIndexPath>& indexPath) {
    tableView->deselectRowAtIndexPath(indexPath, true);
    auto row = specifier();
    Value chosen = valueOfChoice(indexPath->row());
    if (!row || chosen.isNull())
        return;
    id target = row->target();
    if (!target)
        target = selfAs<PSListController>();
    std::string_view setter = row->setter.empty() ? PSSpecifier::defaultSetter : row->setter;
    objc_msgSend(target, setter, {MessageValue(chosen), MessageValue(row)});
    moveCheckmark();
}

void PSListItemsController::moveCheckmark() {
    const auto& tableView = table();
    long chosen = chosenIndex();
    for (const auto& indexPath : tableView->indexPathsForVisibleRows())
        if (auto cell = tableView->cellForRowAtIndexPath(indexPath))
            cell->setAccessoryType(indexPath->row() == chosen ? UITableViewCellAccessoryCheckmark
                                                              : UITableViewCellAccessoryNone);
}

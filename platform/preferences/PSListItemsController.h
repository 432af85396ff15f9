#pragma once

#include <memory>

#include "platform/preferences/PSListController.h"

// The page a list row opens: one row per choice of the row that opened it ("validTitles", with
// "validValues"), a checkmark on the stored one. Tapping a choice stores its value through the
// list row's setter on the list row's target (so the pane's writer and notification run) and moves
// the checkmark; the page underneath shows the new title when it appears again.
class PSListItemsController : public PSListController {
public:
    static constexpr platform::RegisteredName<PSListItemsController> registeredName{"PSListItemsController"};

    PSListItemsController() = default;

    std::shared_ptr<PSSpecifierList> specifiers() override;
    void tableViewDidSelectRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                          const std::shared_ptr<NSIndexPath>& indexPath) override;
    void tableViewWillDisplayCellForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                                   const std::shared_ptr<UITableViewCell>& cell,
                                                   const std::shared_ptr<NSIndexPath>& indexPath) override;

private:
    // The choice's value; null for an index past the values.
    Value valueOfChoice(long index) const;
    long chosenIndex();
    void moveCheckmark();
};

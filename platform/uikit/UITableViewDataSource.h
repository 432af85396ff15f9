#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/uikit/NSTextAlignment.h"
#include "platform/uikit/NSIndexPath.h"

class UITableView;
class UITableViewCell;

// What a table asks for its content. Only the row count and the cell are required, as on the
// platform; the rest have the platform's answers (one section, no header or footer title).
class UITableViewDataSource {
public:
    virtual ~UITableViewDataSource() = default;

    virtual long numberOfSectionsInTableView(const std::shared_ptr<UITableView>&) { return 1; }
    virtual long tableViewNumberOfRowsInSection(const std::shared_ptr<UITableView>& tableView,
                                                long section) = 0;
    virtual std::shared_ptr<UITableViewCell>
    tableViewCellForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                   const std::shared_ptr<NSIndexPath>& indexPath) = 0;
    // Nothing for a section without a title.
    virtual std::optional<std::string> tableViewTitleForHeaderInSection(const std::shared_ptr<UITableView>&,
                                                                        long) {
        return std::nullopt;
    }
    virtual std::optional<std::string> tableViewTitleForFooterInSection(const std::shared_ptr<UITableView>&,
                                                                        long) {
        return std::nullopt;
    }
    // How a grouped table aligns a section's footer (the platform does it with a footer view).
    virtual NSTextAlignment _tableViewFooterAlignmentInSection(const std::shared_ptr<UITableView>&, long) {
        return NSTextAlignmentNatural;
    }
};

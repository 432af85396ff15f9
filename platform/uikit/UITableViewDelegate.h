#pragma once

#include <memory>

#include "platform/uikit/CGGeometry.h"
#include "platform/uikit/NSIndexPath.h"
#include "platform/uikit/UIScrollViewDelegate.h"

class UITableView;
class UITableViewCell;

// A row height that asks the table for its standard height (its rowHeight).
inline constexpr CGFloat UITableViewAutomaticDimension = -1.0;

// What a table tells about and asks of its owner; every method is optional. A negative row height,
// UITableViewAutomaticDimension among them, means the table's own rowHeight. A table's delegate is
// also its delegate as a scroll view.
class UITableViewDelegate : public UIScrollViewDelegate {
public:
    virtual CGFloat tableViewHeightForRowAtIndexPath(const std::shared_ptr<UITableView>&,
                                                     const std::shared_ptr<NSIndexPath>&) {
        return UITableViewAutomaticDimension;
    }
    virtual void tableViewWillDisplayCellForRowAtIndexPath(const std::shared_ptr<UITableView>&,
                                                           const std::shared_ptr<UITableViewCell>&,
                                                           const std::shared_ptr<NSIndexPath>&) {}
    virtual void tableViewDidSelectRowAtIndexPath(const std::shared_ptr<UITableView>&,
                                                  const std::shared_ptr<NSIndexPath>&) {}
};

#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/NSBundle.h"
#include "platform/foundation/Value.h"
#include "platform/preferences/PSSpecifier.h"
#include "platform/preferences/SpecifierSections.h"
#include "platform/uikit/UITableView.h"
#include "platform/uikit/UITableViewDataSource.h"
#include "platform/uikit/UITableViewDelegate.h"
#include "platform/uikit/UIViewController.h"

// A page of preference rows shown in a table. The page's view is its table, whose data source and
// delegate the page is. The rows come from specifiers(); the base class returns _specifiers as it
// stands, and subclasses override specifiers() to load the list when _specifiers holds none.
//
// Sections follow the rows: a group row opens a section (its label is the header, its "footerText"
// the footer) and rows before the first group make an untitled first section. The section model
// and the cells are kept until reloadSpecifiers and clearCache respectively, so a change of
// _specifiers shows after reloadSpecifiers.
//
// Values: a row with "key" and "defaults" stores its value in that preference domain; a row without
// them keeps its value in memory, in its "value" property.
class PSListController : public UIViewController, public UITableViewDataSource, public UITableViewDelegate {
public:
    static constexpr platform::RegisteredName<PSListController> registeredName{"PSListController"};
    // The height of a row without a "height" property. The platform sizes such rows itself; this
    // stand-in has no self-sizing cells and answers the standard row height instead.
    static constexpr CGFloat defaultRowHeight = UITableView::defaultRowHeight;

    PSListController() = default;

    // --- Rows -----------------------------------------------------------------------------------
    // The page's rows; nullptr while there is no list.
    virtual std::shared_ptr<PSSpecifierList> specifiers();
    // Replaces the list and shows it.
    void setSpecifiers(std::shared_ptr<PSSpecifierList> specifiers);
    // The rows of `<bundle>/<name>.plist` (its "items" array), each with `target` as target; the
    // list's top-level "title" becomes this page's title. nullptr when there is no bundle or the
    // file is missing or not a property-list dictionary.
    std::shared_ptr<PSSpecifierList> loadSpecifiersFromPlistName(std::string_view name, const id& target,
                                                                 const std::shared_ptr<NSBundle>& bundle);
    // Forgets the cells made so far.
    void clearCache();
    // Rebuilds the sections from specifiers() and reloads the table.
    void reloadSpecifiers();
    // The row shown at the index path; nullptr when there is none.
    std::shared_ptr<PSSpecifier> specifierAtIndexPath(const std::shared_ptr<NSIndexPath>& indexPath);
    // Where a row is shown; nullptr for a group row or a row that is not shown.
    std::shared_ptr<NSIndexPath> indexPathForSpecifier(const std::shared_ptr<PSSpecifier>& specifier);
    // The first row of the list with this identifier.
    std::shared_ptr<PSSpecifier> specifierForID(std::string_view identifier);

    // --- The page -------------------------------------------------------------------------------
    // The row that opened this page.
    std::shared_ptr<PSSpecifier> specifier() const { return m_specifier; }
    void setSpecifier(const std::shared_ptr<PSSpecifier>& specifier) { m_specifier = specifier; }
    // The bundle the page's resources come from: set by whoever makes the page; pages opened from
    // this one get the same.
    std::shared_ptr<NSBundle> bundle() const { return m_bundle; }
    void setBundle(const std::shared_ptr<NSBundle>& bundle) { m_bundle = bundle; }
    // Made on first use (before the view loads, too), with this page as data source and delegate.
    const std::shared_ptr<UITableView>& table();
    void loadView() override;
    // Shows the rows' values again: a page opened from this one may have changed them.
    void viewWillAppear(bool animated) override;

    // --- Values ---------------------------------------------------------------------------------
    // The stored value of the row, else its "default"; the null Value when it has neither.
    virtual Value readPreferenceValue(const std::shared_ptr<PSSpecifier>& specifier);
    // Stores the value (synchronising the domain to disk), then posts the row's "PostNotification"
    // on the Darwin notify centre when it has one. A null value removes the stored one.
    virtual void setPreferenceValue(const Value& value, const std::shared_ptr<PSSpecifier>& specifier);
    // What the row's getter ("get", else readPreferenceValue:) answers, sent to the row's target (this
    // page when the target is gone): the value its cell shows.
    Value valueOfRow(const std::shared_ptr<PSSpecifier>& specifier);

    // --- Table callbacks --------------------------------------------------------------------------
    long numberOfSectionsInTableView(const std::shared_ptr<UITableView>& tableView) override;
    long tableViewNumberOfRowsInSection(const std::shared_ptr<UITableView>& tableView, long section) override;
    // The row's cell, made once per row until clearCache: from the row's "cellClass" (a class
    // object, or a class name looked up in the runtime) when that makes a table cell, else a
    // PSTableCell; either way initialised with initWithStyle(style, reuseIdentifier, row).
    std::shared_ptr<UITableViewCell>
    tableViewCellForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                   const std::shared_ptr<NSIndexPath>& indexPath) override;
    std::optional<std::string> tableViewTitleForHeaderInSection(const std::shared_ptr<UITableView>& tableView,
                                                                long section) override;
    std::optional<std::string> tableViewTitleForFooterInSection(const std::shared_ptr<UITableView>& tableView,
                                                                long section) override;
    // The group's "footerAlignment": 0 left, 1 centred, 2 right.
    NSTextAlignment _tableViewFooterAlignmentInSection(const std::shared_ptr<UITableView>& tableView,
                                                       long section) override;
    // The row's "height" when it is a number, else defaultRowHeight.
    CGFloat tableViewHeightForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                             const std::shared_ptr<NSIndexPath>& indexPath) override;
    void tableViewWillDisplayCellForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                                   const std::shared_ptr<UITableViewCell>& cell,
                                                   const std::shared_ptr<NSIndexPath>& indexPath) override;
    // A tap: a link row with a detail class opens that page on the navigation controller; a link or
    // button row with an action sends it to the row's target, with the row as argument.
    void tableViewDidSelectRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                          const std::shared_ptr<NSIndexPath>& indexPath) override;

protected:
    // The page's current rows; nullptr while there is no list (as opposed to an empty one).
    std::shared_ptr<PSSpecifierList> _specifiers;

private:
    const platform::SpecifierSections& sections();
    std::shared_ptr<UITableViewCell> makeCell(const std::shared_ptr<PSSpecifier>& specifier);
    void pushDetailPage(const std::shared_ptr<PSSpecifier>& specifier, Class detailClass);
    // A row with a "confirmation" dictionary asks first: its "okTitle" runs the action, its
    // "cancelTitle" nothing.
    void confirmAction(const std::shared_ptr<PSSpecifier>& specifier, const Value& confirmation);

    std::shared_ptr<PSSpecifier> m_specifier;
    std::shared_ptr<NSBundle> m_bundle;
    std::shared_ptr<UITableView> m_table;
    std::optional<platform::SpecifierSections> m_sections;
    std::map<std::shared_ptr<PSSpecifier>, std::shared_ptr<UITableViewCell>> m_cells;
};

using PSListControllerPtr = std::shared_ptr<PSListController>;

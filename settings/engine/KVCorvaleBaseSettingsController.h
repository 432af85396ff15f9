#pragma once

#include <memory>

#include "platform/foundation/NSBundle.h"
#include "platform/foundation/NSURL.h"
#include "platform/foundation/Value.h"
#include "platform/preferences/PSListController.h"
#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIImage.h"

// Every page of the pane. It loads the page's rows from the tweak's property list and applies the
// list's extensions: "OSRequirement" removes rows the running system does not meet, "DependsOn"
// collapses rows while the switch they name is off, "PostNotification" wires button rows (to an
// action the root page defines) and "url" rows open links. It writes values (keeping the collapsed
// rows current and offering a respring for "RespringRequired" rows), restarts SpringBoard, and
// themes the page from the list's colour keys.
//
// Registered in the runtime with the selectors rows and hosts send by name: URLSpecifierPerformedAction:,
// respringToSettings:, _targetURL, refreshSpecifiers, headerColour, tweakName, tweakVersion,
// preferencesBundle.
class KVCorvaleBaseSettingsController : public PSListController {
public:
    static constexpr platform::RegisteredName<KVCorvaleBaseSettingsController> registeredName{"KVCorvaleBaseSettingsController"};
    // Collapsed rows keep their cell and place but are drawn this high.
    static constexpr CGFloat collapsedRowHeight = 0.01;

    void viewDidLoad() override;

    // --- Rows -----------------------------------------------------------------------------------
    // Runs the loading pass when there is no list yet.
    std::shared_ptr<PSSpecifierList> specifiers() override;
    virtual void _loadSpecifiers();
    void URLSpecifierPerformedAction(const std::shared_ptr<PSSpecifier>& specifier);
    // Loads the rows again and shows them.
    void refreshSpecifiers();
    // Makes the table ask every row's height again.
    void reevaluateVisibilityAnimated(bool animated);

    CGFloat tableViewHeightForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                             const std::shared_ptr<NSIndexPath>& indexPath) override;
    void tableViewWillDisplayCellForRowAtIndexPath(const std::shared_ptr<UITableView>& tableView,
                                                   const std::shared_ptr<UITableViewCell>& cell,
                                                   const std::shared_ptr<NSIndexPath>& indexPath) override;

    // --- Writing and restarting -----------------------------------------------------------------
    void setPreferenceValue(const Value& value, const std::shared_ptr<PSSpecifier>& specifier) override;
    // Restarts SpringBoard, asking to reopen Settings where it is now when returnToSettings is true.
    void respringToSettings(bool returnToSettings);
    // Where Settings is now, as the Settings app itself records it; nil outside the Settings app.
    std::shared_ptr<NSURL> _targetURL();

    // --- The tweak ------------------------------------------------------------------------------
    // The bundle "<opening row's "bundle">.bundle" beside this page's own bundle; looked up afresh
    // each time. nil when there is no such bundle.
    virtual std::shared_ptr<NSBundle> preferencesBundle();
    // "KVTweakName" / "KVTweakVersion" of the preferences bundle; the null Value when missing.
    Value tweakName();
    Value tweakVersion();
    std::shared_ptr<UIImage> tweakIcon();
    // nil until the view has loaded.
    UIColorPtr headerColour() const { return _headerColour; }

protected:
    // From a depended-upon row key to whether the rows that depend on it are shown. The null Value
    // until a loading pass has run (a sub-page never runs one), a dictionary afterwards.
    Value visibilityForDependedUponItems;
    UIColorPtr _headerColour;

private:
    void presentRespringAlert();
    void applyTheme();
    void updateVisibilityAfterWriting(const std::shared_ptr<PSSpecifier>& specifier);
};

using KVCorvaleBaseSettingsControllerPtr = std::shared_ptr<KVCorvaleBaseSettingsController>;

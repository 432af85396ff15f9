#pragma once

#include <memory>
#include <string_view>

#include "platform/foundation/Value.h"
#include "platform/preferences/PSListController.h"

namespace platform {

// What a person does on a preferences page, for hosts and tests: tapping a row and changing the
// value of a row's control. Both go the way the device's touches go: through the table's delegate,
// and through the selector the row's control sends to the row's target.
class PreferencesInteraction {
public:
    // The first shown row (not a group) with this label; nullptr when there is none.
    static std::shared_ptr<PSSpecifier> rowWithLabel(const std::shared_ptr<PSListController>& page,
                                                     std::string_view label);
    // The first shown row whose "key" is this key; nullptr when there is none.
    static std::shared_ptr<PSSpecifier> rowWithKey(const std::shared_ptr<PSListController>& page,
                                                   std::string_view key);

    // Touches the centre of the row's cell (scrolling the row into view first when it is off
    // screen); a page in no window has its table's delegate told directly. False when the page
    // shows no row with that label.
    static bool tapRowWithLabel(const std::shared_ptr<PSListController>& page, std::string_view label);
    // Changes the row's control, which reports the change as a touch would; a row without a control
    // has its setter ("setPreferenceValue:specifier:" unless the row names another) sent to its
    // target, or to the page when the target is gone. False when no row has that key.
    static bool setValueOfRowWithKey(const std::shared_ptr<PSListController>& page, std::string_view key,
                                     const Value& value);

    // The view the touch reached; nullptr when the row could not be brought under a finger.
    static std::shared_ptr<UIView> tapRowAtItsCentre(const std::shared_ptr<PSListController>& page,
                                                     const std::shared_ptr<NSIndexPath>& indexPath);

private:
    template <class Matches>
    static std::shared_ptr<PSSpecifier> firstShownRow(const std::shared_ptr<PSListController>& page,
                                                      Matches matches);
};

} // namespace platform

// The steps that touch what the root page adds to its rows: credit buttons, the maker's button in the
// bar, and waiting for the credits to arrive.
#include <chrono>
#include <thread>

#include "platform/foundation/RunLoop.h"
#include "platform/runtime/ObjCRuntime.h"
#include "hosts/settings/StepRunner.h"
#include "platform/uikit/NSIndexPath.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UIControl.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIStackView.h"
#include "platform/uikit/UIWindow.h"

namespace corvale::settingshost {

namespace {

constexpr auto creditsTimeout = std::chrono::seconds(10);
// An answer may lead to another request a moment later (a changed hash to a download): the exchange
// counts as settled only when it stays so for this long, which also lets short animations (the title
// view's swap) finish.
constexpr auto settledFor = std::chrono::milliseconds(200);

// The service buttons of the credit row showing this person; nil when no row does.
std::shared_ptr<UIStackView> creditButtons(const std::shared_ptr<PSListController>& page,
                                           const std::string& name) {
    const auto& table = page->table();
    const long sections = page->numberOfSectionsInTableView(table);
    for (long section = 0; section < sections; ++section) {
        const long rows = page->tableViewNumberOfRowsInSection(table, section);
        for (long row = 0; row < rows; ++row) {
            id cell = table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(row, section));
            if (!cell || !class_respondsToSelector(object_getClass(cell), "optionStackView"))
                continue;
            if (objc_msgSend(cell, "name").value().stringValue() == name)
                return objc_msgSend(cell, "optionStackView").objectAs<UIStackView>();
        }
    }
    return nullptr;
}

// The credits are in and every credit cell made so far shows what its picture download brought.
bool creditsSettled(const std::shared_ptr<PSListController>& page) {
    if (!objc_msgSend(page, "_creditsExchangeSettled").value().boolValue())
        return false;
    const auto& table = page->table();
    const long sections = page->numberOfSectionsInTableView(table);
    for (long section = 0; section < sections; ++section) {
        const long rows = page->tableViewNumberOfRowsInSection(table, section);
        for (long row = 0; row < rows; ++row) {
            id cell = table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(row, section));
            if (cell && class_respondsToSelector(object_getClass(cell), "_pictureSettled") &&
                !objc_msgSend(cell, "_pictureSettled").value().boolValue())
                return false;
        }
    }
    return true;
}

} // namespace

bool StepRunner::tapCredit(const HostStep& step) {
    auto page = requireTopPage("tap-credit");
    if (!page)
        return false;
    if (m_application.presentedAlert())
        return fail("tap-credit: an alert covers the page; answer it first with 'alert TITLE'");
    auto buttons = creditButtons(page, step.name);
    if (!buttons)
        return fail("tap-credit: no credit row shows '" + step.name + "'");
    const auto& arranged = buttons->arrangedSubviews();
    if (step.index < 0 || static_cast<std::size_t>(step.index) >= arranged.size())
        return fail("tap-credit: '" + step.name + "' has " + std::to_string(arranged.size()) +
                    " buttons; there is no button " + std::to_string(step.index));
    auto button = std::dynamic_pointer_cast<UIControl>(arranged[static_cast<std::size_t>(step.index)]);
    if (!button)
        return fail("tap-credit: that button is no control");
    button->sendActionsForControlEvents(UIControlEventTouchUpInside);
    return true;
}

bool StepRunner::tapBranding() {
    auto page = requireTopPage("tap-branding");
    if (!page)
        return false;
    const auto& item = page->navigationItem()->rightBarButtonItem();
    if (!item)
        return fail("tap-branding: the page '" + page->title() + "' has no button in the navigation bar");
    if (!item->_sendAction())
        return fail("tap-branding: the button in the navigation bar does nothing");
    return true;
}

bool StepRunner::waitCredits() {
    auto page = requireTopPage("wait-credits");
    if (!page)
        return false;
    // A page without credits has nothing to wait for.
    if (!class_respondsToSelector(object_getClass(page), "_creditsExchangeSettled"))
        return true;
    auto& loop = platform::RunLoop::main();
    const auto deadline = std::chrono::steady_clock::now() + creditsTimeout;
    while (std::chrono::steady_clock::now() < deadline) {
        loop.runUntil([&] { return creditsSettled(page); },
                      std::chrono::duration_cast<std::chrono::milliseconds>(
                          deadline - std::chrono::steady_clock::now()));
        std::this_thread::sleep_for(settledFor);
        loop.runUntilIdle();
        if (creditsSettled(page)) {
            // Cells made while waiting were placed by the table but have not laid out their own views.
            if (const auto& window = m_application.window())
                window->layoutIfNeeded();
            return true;
        }
    }
    return fail("wait-credits: the credits did not settle within " + std::to_string(creditsTimeout.count()) +
                " seconds");
}

} // namespace corvale::settingshost

#pragma once

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/foundation/RunLoop.h"
#include "settings/rootpage/KVCorvaleSettingsController.h"
#include "tests/settings/engine/PaneFixture.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UITraitCollection.h"
#include "platform/uikit/UIWindow.h"

// The root page in a device whose credits server refuses connections (the tests hand the page its
// credits themselves), shown as Settings shows a pane: inside a navigation controller that is itself
// the page of the app's outer navigation controller, whose bar is the one on screen.
class RootPageFixture : public PaneFixture {
protected:
    void SetUp() override {
        PaneFixture::SetUp();
        if (const char* server = std::getenv("CORVALE_CREDITS_SERVER"))
            previousServer = server;
        setenv("CORVALE_CREDITS_SERVER", "http://127.0.0.1:9", 1);
        UIApplication::sharedApplication()->setStatusBarStyle(UIStatusBarStyle::Default);
    }
    void TearDown() override {
        if (window)
            window->setHidden(true);
        window.reset();
        platform::RunLoop::main().runUntilIdle();
        if (previousServer)
            setenv("CORVALE_CREDITS_SERVER", previousServer->c_str(), 1);
        else
            unsetenv("CORVALE_CREDITS_SERVER");
        PaneFixture::TearDown();
    }

    std::shared_ptr<KVCorvaleSettingsController>
    showRootPage(UIUserInterfaceSizeClass sizeClass = UIUserInterfaceSizeClassCompact) {
        auto page = openPage<KVCorvaleSettingsController>();
        inner = UINavigationController::initWithRootViewController(page);
        inner->setNavigationBarHidden(true);
        outer = UINavigationController::initWithRootViewController(inner);
        window = std::make_shared<UIWindow>();
        window->setFrame(CGRect{{0, 0}, {375, 667}});
        window->_setTraitCollection(UITraitCollection::traitCollectionWithHorizontalSizeClass(sizeClass));
        window->setRootViewController(outer);
        window->makeKeyAndVisible();
        // The refused server answers quickly: wait for the page's Failed state so that nothing
        // arrives later in the test.
        platform::RunLoop::main().runUntil([&] { return page->_creditsExchangeSettled(); },
                                           std::chrono::seconds(10));
        settle();
        return page;
    }

    void setSizeClass(UIUserInterfaceSizeClass sizeClass) {
        window->_setTraitCollection(UITraitCollection::traitCollectionWithHorizontalSizeClass(sizeClass));
        settle();
    }

    void settle() {
        platform::RunLoop::main().runUntilIdle();
        if (window)
            window->layoutIfNeeded();
    }

    std::shared_ptr<UINavigationBar> bar() const { return outer->navigationBar(); }

    std::optional<std::string> previousServer;
    std::shared_ptr<UINavigationController> inner;
    std::shared_ptr<UINavigationController> outer;
    std::shared_ptr<UIWindow> window;
};

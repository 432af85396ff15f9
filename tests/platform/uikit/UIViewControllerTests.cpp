#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/foundation/Dispatch.h"
#include "platform/foundation/NSLog.h"
#include "platform/foundation/RunLoop.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIWindow.h"

namespace {

using Log = std::vector<std::string>;

// A page that writes every lifecycle callback into a shared log.
class RecordingPage : public UIViewController {
public:
    RecordingPage(std::string name, Log& log) : m_name(std::move(name)), m_log(log) {}

    void loadView() override {
        m_log.push_back(m_name + ".loadView");
        UIViewController::loadView();
    }
    void viewDidLoad() override {
        m_log.push_back(m_name + ".viewDidLoad" + (isViewLoaded() ? "" : "(no view)"));
    }
    void viewWillAppear(bool) override { m_log.push_back(m_name + ".viewWillAppear"); }
    void viewDidAppear(bool) override { m_log.push_back(m_name + ".viewDidAppear"); }
    void viewWillDisappear(bool) override { m_log.push_back(m_name + ".viewWillDisappear"); }
    void viewDidDisappear(bool) override { m_log.push_back(m_name + ".viewDidDisappear"); }

private:
    std::string m_name;
    Log& m_log;
};

TEST(UIViewController, ViewLoadsOnceOnFirstAccess) {
    Log log;
    auto page = std::make_shared<RecordingPage>("page", log);
    EXPECT_FALSE(page->isViewLoaded());
    EXPECT_EQ(page->viewIfLoaded(), nullptr);
    EXPECT_TRUE(log.empty());

    auto view = page->view();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(page->view(), view);
    EXPECT_EQ(log, (Log{"page.loadView", "page.viewDidLoad"}));
    EXPECT_EQ(view->_viewDelegate(), page);

    // Titles reach the navigation item, made on first use.
    page->setTitle("Corvale");
    EXPECT_EQ(page->navigationItem()->title(), "Corvale");
    EXPECT_EQ(page->navigationItem(), page->navigationItem());
}

TEST(UINavigationController, PushAndPopSendAppearanceCallbacksInPlatformOrder) {
    Log log;
    auto root = std::make_shared<RecordingPage>("root", log);
    auto detail = std::make_shared<RecordingPage>("detail", log);
    auto navigation = UINavigationController::initWithRootViewController(root);
    EXPECT_TRUE(log.empty()) << "nothing loads before the navigation controller is shown";

    auto window = std::make_shared<UIWindow>();
    window->setRootViewController(navigation);
    EXPECT_EQ(log, (Log{"root.loadView", "root.viewDidLoad"})) << "a hidden window shows nothing yet";
    log.clear();
    window->makeKeyAndVisible();
    EXPECT_EQ(log, (Log{"root.viewWillAppear", "root.viewDidAppear"}));
    EXPECT_EQ(root->view()->window(), window);

    log.clear();
    navigation->pushViewController(detail, true);
    EXPECT_EQ(log, (Log{"detail.loadView", "detail.viewDidLoad", "root.viewWillDisappear",
                        "detail.viewWillAppear", "root.viewDidDisappear", "detail.viewDidAppear"}));
    EXPECT_EQ(navigation->topViewController(), detail);
    EXPECT_EQ(detail->navigationController(), navigation);
    EXPECT_EQ(detail->parentViewController(), navigation);
    EXPECT_EQ(detail->view()->window(), window);
    EXPECT_EQ(root->view()->window(), nullptr);

    // The same page cannot be pushed twice.
    {
        platform::LogCapture capture;
        navigation->pushViewController(detail, false);
        EXPECT_EQ(navigation->viewControllers().size(), 2u);
    }

    log.clear();
    EXPECT_EQ(navigation->popViewControllerAnimated(true), detail);
    EXPECT_EQ(log, (Log{"detail.viewWillDisappear", "root.viewWillAppear", "detail.viewDidDisappear",
                        "root.viewDidAppear"}));
    EXPECT_EQ(detail->parentViewController(), nullptr);
    EXPECT_EQ(detail->navigationController(), nullptr);
    EXPECT_EQ(navigation->popViewControllerAnimated(true), nullptr) << "the root stays";
    EXPECT_EQ(navigation->viewControllers(), (std::vector<UIViewControllerPtr>{root}));

    // Hiding the window makes the visible page disappear.
    log.clear();
    window->setHidden(true);
    EXPECT_EQ(log, (Log{"root.viewWillDisappear", "root.viewDidDisappear"}));
}

TEST(UINavigationController, PagesPushedWhileHiddenAppearWithTheController) {
    Log log;
    auto root = std::make_shared<RecordingPage>("root", log);
    auto second = std::make_shared<RecordingPage>("second", log);
    auto third = std::make_shared<RecordingPage>("third", log);
    auto navigation = UINavigationController::initWithRootViewController(root);
    navigation->pushViewController(second, false);
    navigation->pushViewController(third, false);
    EXPECT_TRUE(log.empty());

    auto window = std::make_shared<UIWindow>();
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    EXPECT_EQ(log,
              (Log{"third.loadView", "third.viewDidLoad", "third.viewWillAppear", "third.viewDidAppear"}));

    log.clear();
    auto popped = navigation->popToRootViewControllerAnimated(false);
    EXPECT_EQ(popped, (std::vector<UIViewControllerPtr>{second, third}));
    EXPECT_EQ(log, (Log{"root.loadView", "root.viewDidLoad", "third.viewWillDisappear", "root.viewWillAppear",
                        "third.viewDidDisappear", "root.viewDidAppear"}));
    EXPECT_FALSE(second->isViewLoaded()) << "a page that never showed never loads";
}

TEST(UIViewController, PresentationRecordsBothEndsAndRefusesASecondPresentation) {
    Log log;
    auto page = std::make_shared<RecordingPage>("page", log);
    auto sheet = std::make_shared<RecordingPage>("sheet", log);
    auto other = std::make_shared<RecordingPage>("other", log);
    auto window = std::make_shared<UIWindow>();
    window->setRootViewController(page);
    window->makeKeyAndVisible();
    log.clear();

    bool completed = false;
    page->presentViewController(sheet, false, [&] { completed = true; });
    EXPECT_TRUE(completed) << "without animation the completion runs at once";
    EXPECT_EQ(page->presentedViewController(), sheet);
    EXPECT_EQ(sheet->presentingViewController(), page);
    EXPECT_EQ(sheet->view()->window(), window);
    EXPECT_EQ(log,
              (Log{"sheet.loadView", "sheet.viewDidLoad", "sheet.viewWillAppear", "sheet.viewDidAppear"}));

    {
        platform::LogCapture capture;
        bool secondCompleted = false;
        page->presentViewController(other, true, [&] { secondCompleted = true; });
        platform::RunLoop::main().runUntilIdle();
        EXPECT_TRUE(capture.contains("which is already presenting"));
        EXPECT_FALSE(secondCompleted);
        EXPECT_EQ(page->presentedViewController(), sheet);
        EXPECT_EQ(other->presentingViewController(), nullptr);
    }

    // Dismissing from the presented side works too; the animated completion waits for the main queue.
    log.clear();
    bool dismissed = false;
    sheet->dismissViewControllerAnimated(true, [&] { dismissed = true; });
    EXPECT_EQ(page->presentedViewController(), nullptr);
    EXPECT_EQ(sheet->presentingViewController(), nullptr);
    EXPECT_EQ(sheet->view()->window(), nullptr);
    EXPECT_EQ(log, (Log{"sheet.viewWillDisappear", "sheet.viewDidDisappear"}));
    EXPECT_FALSE(dismissed);
    platform::RunLoop::main().runUntilIdle();
    EXPECT_TRUE(dismissed);

    // Nothing left to dismiss: no completion.
    bool ranAgain = false;
    page->dismissViewControllerAnimated(false, [&] { ranAgain = true; });
    EXPECT_FALSE(ranAgain);
}

TEST(UIViewController, DismissingAPresenterTakesTheWholeChainDown) {
    Log log;
    auto page = std::make_shared<RecordingPage>("page", log);
    auto first = std::make_shared<RecordingPage>("first", log);
    auto second = std::make_shared<RecordingPage>("second", log);
    page->presentViewController(first, false, nullptr);
    first->presentViewController(second, false, nullptr);
    log.clear();

    page->dismissViewControllerAnimated(false, nullptr);
    EXPECT_EQ(log, (Log{"second.viewWillDisappear", "second.viewDidDisappear", "first.viewWillDisappear",
                        "first.viewDidDisappear"}));
    EXPECT_EQ(first->presentedViewController(), nullptr);
    EXPECT_EQ(second->presentingViewController(), nullptr);
}

} // namespace

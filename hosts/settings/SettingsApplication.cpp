#include "hosts/settings/SettingsApplication.h"

#include <iostream>

#include "platform/foundation/PercentEncoding.h"
#include "platform/foundation/RunLoop.h"
#include "platform/preferences/PSTableCell.h"
#include "platform/preferences/SpecifierListReader.h"

namespace corvale::settingshost {

namespace {

void report(std::string* problem, std::string message) {
    if (problem)
        *problem = std::move(message);
}

std::string encoded(std::string_view part) {
    return platform::PercentEncoding::encode(part, platform::PercentEncoding::Allowed::Unreserved);
}

// The last alert in the chain of controllers presented from `controller`.
std::shared_ptr<UIAlertController> alertPresentedFrom(std::shared_ptr<UIViewController> controller) {
    std::shared_ptr<UIAlertController> alert;
    while (controller && (controller = controller->presentedViewController()))
        if (auto presented = std::dynamic_pointer_cast<UIAlertController>(controller))
            alert = presented;
    return alert;
}

} // namespace

SettingsApplication::~SettingsApplication() {
    dismissPresented();
    platform::RunLoop::main().runUntilIdle();
}

void SettingsApplication::dismissPresented() {
    std::vector<std::shared_ptr<UIViewController>> controllers;
    if (m_navigation) {
        controllers = m_navigation->viewControllers();
        controllers.push_back(m_navigation);
    }
    if (m_outerNavigation) {
        for (const auto& page : m_outerNavigation->viewControllers())
            controllers.push_back(page);
        controllers.push_back(m_outerNavigation);
    }
    for (const auto& controller : controllers)
        if (controller->presentedViewController())
            controller->dismissViewControllerAnimated(false, nullptr);
}

std::unique_ptr<SettingsApplication> SettingsApplication::launch(const std::optional<std::string>& paneLabel,
                                                                 std::string* problem) {
    auto entries = PreferenceLoaderEntry::findAll(problem);
    if (entries.empty())
        return nullptr;
    std::unique_ptr<SettingsApplication> application(new SettingsApplication());
    // The app owns the list page, so the page never calls back into an app that is gone.
    auto* app = application.get();
    application->m_home = SettingsHomePage::make(std::move(entries), [app](const PreferenceLoaderEntry& entry) {
        std::string reason;
        if (!app->openPane(entry, &reason))
            std::cerr << "corvale-settings: cannot open the pane: " << reason << '\n';
    });
    const PreferenceLoaderEntry* shown = nullptr;
    const auto& installed = application->m_home->entries();
    for (const auto& entry : installed)
        if (paneLabel && entry.label() == *paneLabel)
            shown = &entry;
    if (paneLabel && !shown) {
        report(problem, "no installed pane is labelled '" + *paneLabel + "'");
        return nullptr;
    }
    if (!paneLabel && installed.size() == 1)
        shown = &installed.front();
    if (!shown) {
        application->showWindow(application->m_home);
        return application;
    }
    // A pane opened at launch is the app's first page, as when the app is opened on it by URL.
    auto page = firstPageOf(*shown, &application->m_bundle, problem);
    if (!page)
        return nullptr;
    application->m_entry = *shown;
    application->m_navigation = UINavigationController::initWithRootViewController(page);
    application->m_navigation->setNavigationBarHidden(true);
    application->showWindow(application->m_navigation);
    page->view();
    platform::RunLoop::main().runUntilIdle();
    return application;
}

std::shared_ptr<PSListController> SettingsApplication::firstPageOf(const PreferenceLoaderEntry& entry,
                                                                   std::shared_ptr<NSBundle>* bundle,
                                                                   std::string* problem) {
    if (entry.isSimplePane()) {
        // A pane of rows: a plain list page whose rows come from the entry file itself.
        auto page = std::make_shared<PSListController>();
        page->setSpecifier(openingSpecifier(entry, objc_getClass("PSListController")));
        page->setSpecifiers(platform::SpecifierListReader::specifiersFromList(entry.file, page));
        const Value& title = entry.file["title"];
        page->setTitle(title.isString() ? title.asString() : entry.label());
        bundle->reset();
        return page;
    }
    auto paneBundle = NSBundle::bundleWithPath(entry.bundlePath());
    if (!paneBundle) {
        report(problem, "no bundle at " + entry.bundlePath());
        return nullptr;
    }
    if (!paneBundle->load()) {
        report(problem, "the module of " + entry.bundlePath() + " does not load");
        return nullptr;
    }
    Class pageClass = paneBundle->principalClass();
    if (!pageClass)
        pageClass = objc_getClass(entry.detailClassName());
    if (!pageClass) {
        report(problem, entry.bundlePath() + " names no principal class and the runtime has no class '" +
                            entry.detailClassName() + "'");
        return nullptr;
    }
    auto page = std::dynamic_pointer_cast<PSListController>(class_createInstance(pageClass));
    if (!page) {
        report(problem, std::string(class_getName(pageClass)) + " is not a PSListController");
        return nullptr;
    }
    page->setSpecifier(openingSpecifier(entry, pageClass));
    page->setBundle(paneBundle);
    if (!entry.label().empty())
        page->setTitle(entry.label());
    *bundle = paneBundle;
    return page;
}

bool SettingsApplication::openPane(const PreferenceLoaderEntry& entry, std::string* problem) {
    std::shared_ptr<NSBundle> bundle;
    auto page = firstPageOf(entry, &bundle, problem);
    if (!page)
        return false;
    m_entry = entry;
    m_bundle = bundle;
    m_navigation = UINavigationController::initWithRootViewController(page);
    m_navigation->setNavigationBarHidden(true);
    m_outerNavigation->pushViewController(m_navigation, true);
    return true;
}

void SettingsApplication::goHome() {
    dismissPresented();
    m_outerNavigation->setViewControllers({m_home}, false);
    m_navigation.reset();
    m_entry.reset();
    m_bundle.reset();
    platform::RunLoop::main().runUntilIdle();
}

std::shared_ptr<PSSpecifier> SettingsApplication::openingSpecifier(const PreferenceLoaderEntry& entry,
                                                                   Class pageClass) {
    auto cellType = PSTableCell::cellTypeFromString(entry.entry["cell"].stringValue());
    auto specifier =
        PSSpecifier::preferenceSpecifierNamed(entry.label(), nullptr, "", "", pageClass,
                                              cellType == PSUnknownCell ? PSLinkCell : cellType, nullptr);
    for (const auto& [key, value] : entry.entry.asDictionary())
        specifier->setProperty(value, key);
    return specifier;
}

void SettingsApplication::showWindow(const std::shared_ptr<UIViewController>& root) {
    // The app's outer bar is the one on screen; a pane's own navigation controller hides its bar.
    m_outerNavigation = UINavigationController::initWithRootViewController(root);
    m_window = std::make_shared<UIWindow>();
    m_window->setRootViewController(m_outerNavigation);
    m_window->makeKeyAndVisible();
    root->view();
    platform::RunLoop::main().runUntilIdle();
}

std::shared_ptr<PSListController> SettingsApplication::topPage() const {
    auto top = m_outerNavigation->topViewController();
    if (m_navigation && top == m_navigation)
        return std::dynamic_pointer_cast<PSListController>(m_navigation->topViewController());
    return std::dynamic_pointer_cast<PSListController>(top);
}

std::shared_ptr<UIAlertController> SettingsApplication::presentedAlert() const {
    if (m_navigation) {
        const auto& pages = m_navigation->viewControllers();
        for (auto page = pages.rbegin(); page != pages.rend(); ++page)
            if (auto alert = alertPresentedFrom(*page))
                return alert;
        if (auto alert = alertPresentedFrom(m_navigation))
            return alert;
    }
    const auto& outer = m_outerNavigation->viewControllers();
    for (auto page = outer.rbegin(); page != outer.rend(); ++page)
        if (auto alert = alertPresentedFrom(*page))
            return alert;
    return alertPresentedFrom(m_outerNavigation);
}

bool SettingsApplication::goBack() {
    bool popped = false;
    if (m_navigation && m_navigation->viewControllers().size() > 1) {
        popped = m_navigation->popViewControllerAnimated(true) != nullptr;
    } else if (m_outerNavigation->viewControllers().size() > 1) {
        popped = m_outerNavigation->popViewControllerAnimated(true) != nullptr;
        if (popped && m_outerNavigation->topViewController() == m_home) {
            m_navigation.reset();
            m_entry.reset();
            m_bundle.reset();
        }
    }
    platform::RunLoop::main().runUntilIdle();
    return popped;
}

std::string SettingsApplication::navigationPosition() const {
    if (!m_entry || !m_navigation)
        return "prefs:";
    std::string position = "prefs:root=" + encoded(m_entry->label());
    const auto& pages = m_navigation->viewControllers();
    std::string path;
    for (std::size_t index = 1; index < pages.size(); ++index) {
        auto page = std::dynamic_pointer_cast<PSListController>(pages[index]);
        auto specifier = page ? page->specifier() : nullptr;
        if (!path.empty())
            path += '/';
        path += encoded(specifier ? specifier->identifier() : std::string());
    }
    if (!path.empty())
        position += "&path=" + path;
    return position;
}

} // namespace corvale::settingshost

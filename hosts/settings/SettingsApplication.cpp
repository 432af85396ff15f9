#include "hosts/settings/SettingsApplication.h"

#include "platform/foundation/PercentEncoding.h"
#include "platform/foundation/RunLoop.h"
#include "platform/preferences/PSTableCell.h"

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

SettingsApplication::SettingsApplication(PreferenceLoaderEntry entry, std::shared_ptr<NSBundle> bundle)
    : m_entry(std::move(entry)), m_bundle(std::move(bundle)) {}

SettingsApplication::~SettingsApplication() {
    if (!m_navigation)
        return;
    for (const auto& page : m_navigation->viewControllers())
        if (page->presentedViewController())
            page->dismissViewControllerAnimated(false, nullptr);
    if (m_navigation->presentedViewController())
        m_navigation->dismissViewControllerAnimated(false, nullptr);
    if (m_outerNavigation && m_outerNavigation->presentedViewController())
        m_outerNavigation->dismissViewControllerAnimated(false, nullptr);
    platform::RunLoop::main().runUntilIdle();
}

std::unique_ptr<SettingsApplication> SettingsApplication::open(const PreferenceLoaderEntry& entry,
                                                               std::string* problem) {
    auto bundle = NSBundle::bundleWithPath(entry.bundlePath());
    if (!bundle) {
        report(problem, "no bundle at " + entry.bundlePath());
        return nullptr;
    }
    if (!bundle->load()) {
        report(problem, "the module of " + entry.bundlePath() + " does not load");
        return nullptr;
    }
    Class pageClass = bundle->principalClass();
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
    page->setBundle(bundle);
    std::unique_ptr<SettingsApplication> application(new SettingsApplication(entry, bundle));
    application->show(page);
    return application;
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

void SettingsApplication::show(const std::shared_ptr<PSListController>& page) {
    if (!m_entry.label().empty())
        page->setTitle(m_entry.label());
    // The app keeps a pane's pages in a navigation controller of their own, shown as a page of its
    // outer navigation controller; the outer bar is the one on screen.
    m_navigation = UINavigationController::initWithRootViewController(page);
    m_navigation->setNavigationBarHidden(true);
    m_outerNavigation = UINavigationController::initWithRootViewController(m_navigation);
    m_window = std::make_shared<UIWindow>();
    m_window->setRootViewController(m_outerNavigation);
    m_window->makeKeyAndVisible();
    page->view();
    platform::RunLoop::main().runUntilIdle();
}

std::shared_ptr<PSListController> SettingsApplication::topPage() const {
    return std::dynamic_pointer_cast<PSListController>(m_navigation->topViewController());
}

std::shared_ptr<UIAlertController> SettingsApplication::presentedAlert() const {
    const auto& pages = m_navigation->viewControllers();
    for (auto page = pages.rbegin(); page != pages.rend(); ++page)
        if (auto alert = alertPresentedFrom(*page))
            return alert;
    return alertPresentedFrom(m_navigation);
}

bool SettingsApplication::goBack() {
    bool popped = m_navigation->popViewControllerAnimated(true) != nullptr;
    platform::RunLoop::main().runUntilIdle();
    return popped;
}

std::string SettingsApplication::navigationPosition() const {
    std::string position = "prefs:root=" + encoded(m_entry.label());
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

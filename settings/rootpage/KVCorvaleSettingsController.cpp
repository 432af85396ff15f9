#include "settings/rootpage/KVCorvaleSettingsController.h"

#include <algorithm>
#include <cstdio>

#include "platform/corefoundation/CFNotificationCenter.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSProcessInfo.h"
#include "platform/preferences/PSTableCell.h"
#include "platform/runtime/MethodBinding.h"
#include "platform/runtime/ObjCRuntime.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UITraitCollection.h"
#include "settings/rootpage/BarAppearance.h"
#include "settings/rootpage/CreditsAreaRows.h"
#include "settings/rootpage/RootPageHeader.h"
#include "settings/rootpage/ScrollInsets.h"

#ifndef CORVALE_MAKER_WEBSITE
#define CORVALE_MAKER_WEBSITE "halcyra.example"
#endif

namespace {

using Controller = KVCorvaleSettingsController;
using platform::bind;

[[maybe_unused]] const Class registeredClass =
    platform::registerClass<Controller, KVCorvaleBaseSettingsController>("KVCorvaleSettingsController", {
        {"notificationButtonPerformedAction:", bind<&Controller::notificationButtonPerformedAction>()},
        {"openHalcyraWebsite:", bind<&Controller::openHalcyraWebsite>()},
        {"copyrightText", bind<&Controller::copyrightText>()},
        {"adjustForNavigationBarMode", bind<&Controller::adjustForNavigationBarMode>()},
        // What hosts read by name: the header's views and whether the credits exchange has settled.
        {"headerView", bind<&Controller::headerView>()},
        {"_titleLabel", bind<&Controller::_titleLabel>()},
        {"_companyLabel", bind<&Controller::_companyLabel>()},
        {"_creditsExchangeSettled", bind<&Controller::_creditsExchangeSettled>()},
        {"_rowsLeftOut", bind<&Controller::_rowsLeftOut>()},
        {"didScroll", bind<&Controller::didScroll>()},
    });

} // namespace

// --- Loading the view ---------------------------------------------------------------------------

// The header stands still over the scrolling table, so the page's view holds the table rather than
// being it, as the Settings app's list pages are built.
void KVCorvaleSettingsController::loadView() {
    auto container = std::make_shared<UIView>();
    const auto& tableView = table();
    container->setFrame(tableView->frame());
    tableView->setFrame(container->bounds());
    tableView->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    container->addSubview(tableView);
    setView(container);
}

void KVCorvaleSettingsController::viewDidLoad() {
    KVCorvaleBaseSettingsController::viewDidLoad();
    // The header reaches up under the themed, opaque bar.
    setExtendedLayoutIncludesOpaqueBars(true);
    const auto& tableView = table();
    tableView->setContentInset(UIEdgeInsets{tableTopInset, 0, 0, 0});
    const UIEdgeInsets insets = ScrollInsets::inForce(*tableView);
    tableView->setContentOffset(CGPoint{-insets.left, -insets.top});
    readBranding();
    startCredits();
    buildTitleView();
    if (showsHalcyraBranding)
        buildBrandingButton();
    buildHeader();
    adjustForNavigationBarMode();
}

void KVCorvaleSettingsController::readBranding() {
    companyName = "Halcyra";
    companyCopyrightName = companyName;
    showsHalcyraBranding = true;
    firstCopyrightYear = 2016;
    const auto bundle = preferencesBundle();
    const auto path = bundle ? bundle->pathForResource(tweakName().stringValue(), "plist") : std::nullopt;
    const auto list = path ? NSDictionary::dictionaryWithContentsOfFile(*path) : std::nullopt;
    if (!list || !list->isDictionary())
        return;
    const Value& branding = *list;
    if (const Value shows = branding["showsHalcyraBranding"]; !shows.isNull())
        showsHalcyraBranding = shows.boolValue();
    if (const Value name = branding["companyName"]; !name.isNull())
        companyName = name.stringValue();
    const Value copyrightName = branding["companyCopyrightName"];
    companyCopyrightName = copyrightName.isNull() ? companyName : copyrightName.stringValue();
    if (const Value year = branding["firstCopyrightYear"]; !year.isNull())
        firstCopyrightYear = year.integerValue();
}

void KVCorvaleSettingsController::startCredits() {
    creditsManager = KVCorvaleSettingsCreditsManager::initWithTweakName(tweakName().stringValue());
    if (!creditsManager)
        return;
    creditsManager->setDelegate(selfAs<KVCorvaleSettingsController>());
    creditsManager->startFetch();
}

void KVCorvaleSettingsController::buildTitleView() {
    _titleView = KVCorvaleSettingsNavigationTitleView::titleViewWithFrame(CGRect{{0, 0}, {200, 32}});
    _titleView->setTitle(tweakName().stringValue());
    _titleView->setSubtitle("Version " + tweakVersion().stringValue());
    _titleView->setIconImage(tweakIcon());
    _titleView->setShowingIcon(true);
    // Outside any window nothing else lays the title view out; the bar shows it at this size.
    _titleView->layoutIfNeeded();
    navigationItem()->setTitleView(_titleView);
}

void KVCorvaleSettingsController::buildBrandingButton() {
    auto logo = UIImage::imageNamed("NavLogo", preferencesBundle(), nullptr);
    navigationItem()->setRightBarButtonItem(UIBarButtonItem::initWithImage(
        logo, UIBarButtonItemStyle::Plain, selfAs<KVCorvaleSettingsController>(), "openHalcyraWebsite:"));
}

void KVCorvaleSettingsController::buildHeader() {
    auto header = RootPageHeader::build(view(), topLayoutGuide(), headerColour(),
                                        {companyName, tweakName().stringValue(), tweakVersion().stringValue()});
    _headerView = header.view;
    companyLabel = header.companyLabel;
    titleLabel = header.titleLabel;
    headerViewTopConstraint = header.topConstraint;
    headerViewHeightConstraint = header.heightConstraint;
    headerContentsViewCenterConstraint = header.contentsCenterConstraint;
}

// --- Rows ---------------------------------------------------------------------------------------

void KVCorvaleSettingsController::_loadSpecifiers() {
    KVCorvaleBaseSettingsController::_loadSpecifiers();
    // Without a list there is nothing to add to; the next request for rows tries the list again.
    if (!_specifiers) {
        setTitle(tweakName().stringValue());
        return;
    }
    _specifiers->insert(_specifiers->begin(), PSSpecifier::emptyGroupSpecifier());
    appendCreditsArea();
    setTitle(tweakName().stringValue());
}

void KVCorvaleSettingsController::appendCreditsArea() {
    const CreditsAreaRows rows(preferencesBundle(), selfAs<KVCorvaleSettingsController>());
    rowsLeftOut = rows.appendTo(*_specifiers, {_credits(), _links(), _errorOccurredFetchingCredits()});
}

std::optional<std::string>
KVCorvaleSettingsController::tableViewTitleForFooterInSection(const std::shared_ptr<UITableView>& tableView,
                                                              long section) {
    if (section < numberOfSectionsInTableView(tableView) - 1)
        return KVCorvaleBaseSettingsController::tableViewTitleForFooterInSection(tableView, section);
    return copyrightText();
}

std::string KVCorvaleSettingsController::copyrightText() {
    return "\u00A9 " + copyrightYearText() + " " + companyCopyrightName;
}

std::string KVCorvaleSettingsController::copyrightYearText() {
    const auto calendar = NSCalendar::calendarWithIdentifier(NSCalendarIdentifierGregorian);
    const auto now = m_currentDate.value_or(std::chrono::system_clock::now());
    const std::int64_t year = calendar->component(NSCalendarUnit::Year, now).value_or(firstCopyrightYear);
    if (year > firstCopyrightYear)
        return std::to_string(firstCopyrightYear) + "-" + std::to_string(year);
    return std::to_string(std::min(year, firstCopyrightYear));
}

std::shared_ptr<NSURL> KVCorvaleSettingsController::makerWebsiteURL() {
    return NSURL::URLWithString(std::string("https://") + CORVALE_MAKER_WEBSITE + "/?src=twkprefsnav");
}

void KVCorvaleSettingsController::openHalcyraWebsite(const id&) {
    UIApplication::sharedApplication()->openURL(makerWebsiteURL());
}

void KVCorvaleSettingsController::notificationButtonPerformedAction(
    const std::shared_ptr<PSSpecifier>& specifier) {
    if (!specifier)
        return;
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                         specifier->propertyForKey("PostNotification").stringValue(), nullptr,
                                         Value(), true);
}

// --- Credits ------------------------------------------------------------------------------------

void KVCorvaleSettingsController::creditsManagerDidLoadCreditsAndLinks(
    const std::shared_ptr<KVCorvaleSettingsCreditsManager>&, const Value& newCredits, const Value& newLinks) {
    {
        std::lock_guard lock(creditsLock);
        credits = newCredits;
        links = newLinks;
    }
    scheduleRefresh();
}

void KVCorvaleSettingsController::creditsManagerDidFailToLoadWithError(
    const std::shared_ptr<KVCorvaleSettingsCreditsManager>&, const NSErrorPtr&) {
    {
        std::lock_guard lock(creditsLock);
        if (!credits.isNull() && !links.isNull()) {
            ++m_creditsAnswers;
            return;
        }
        errorOccurredFetchingCredits = true;
    }
    scheduleRefresh();
}

void KVCorvaleSettingsController::scheduleRefresh() {
    ++m_pendingRefreshes;
    ++m_creditsAnswers;
    auto self = selfAs<KVCorvaleSettingsController>();
    dispatch_async(dispatch_get_main_queue(), [self] {
        self->refreshSpecifiers();
        --self->m_pendingRefreshes;
    });
}

bool KVCorvaleSettingsController::_creditsExchangeSettled() const {
    return creditsManager && !creditsManager->inProgress() && m_creditsAnswers.load() > 0 &&
           m_pendingRefreshes.load() == 0;
}

Value KVCorvaleSettingsController::_rowsLeftOut() const {
    return Value::dictionary({{"credits", static_cast<std::int64_t>(rowsLeftOut.credits)},
                              {"links", static_cast<std::int64_t>(rowsLeftOut.links)}});
}

Value KVCorvaleSettingsController::_credits() const {
    std::lock_guard lock(creditsLock);
    return credits;
}

Value KVCorvaleSettingsController::_links() const {
    std::lock_guard lock(creditsLock);
    return links;
}

bool KVCorvaleSettingsController::_errorOccurredFetchingCredits() const {
    std::lock_guard lock(creditsLock);
    return errorOccurredFetchingCredits;
}

// --- Bars ---------------------------------------------------------------------------------------

void KVCorvaleSettingsController::traitCollectionDidChange(
    const std::shared_ptr<UITraitCollection>& previous) {
    KVCorvaleBaseSettingsController::traitCollectionDidChange(previous);
    adjustForNavigationBarMode();
}

void KVCorvaleSettingsController::adjustForNavigationBarMode() {
    const auto traits = traitCollection();
    themeNavigationBar = !traits || traits->horizontalSizeClass() != UIUserInterfaceSizeClassRegular;
    if (_titleView)
        _titleView->setWhiteText(themeNavigationBar);
    if (headerContentsViewCenterConstraint)
        headerContentsViewCenterConstraint->setConstant(themeNavigationBar ? themedHeaderStackOffset : 0);
    setThemedStatusBar(themeNavigationBar);
    setNavbarEffectActive(themeNavigationBar);
}

void KVCorvaleSettingsController::setThemedStatusBar(bool themed) {
    _themedStatusBar = themed;
    UIApplication::sharedApplication()->setStatusBarStyle(
        themed ? UIStatusBarStyle::LightContent : static_cast<UIStatusBarStyle>(_originalStatusBarStyle));
}

std::shared_ptr<UINavigationBar> KVCorvaleSettingsController::_themedNavigationBar() const {
    const auto own = navigationController();
    const auto outer = own ? own->navigationController() : nullptr;
    return outer ? outer->navigationBar() : nullptr;
}

void KVCorvaleSettingsController::setNavbarEffectActive(bool active) {
    if (active == __navbarEffectActive)
        return;
    __navbarEffectActive = active;
    const auto bar = _themedNavigationBar();
    if (!bar)
        return;
    if (active)
        BarAppearance::theme(*bar, headerColour());
    else
        BarAppearance::restore(*bar);
}

void KVCorvaleSettingsController::viewWillAppear(bool animated) {
    KVCorvaleBaseSettingsController::viewWillAppear(animated);
    if (!_themedStatusBar)
        _originalStatusBarStyle =
            static_cast<std::int64_t>(UIApplication::sharedApplication()->statusBarStyle());
    setNavbarEffectActive(themeNavigationBar);
    setThemedStatusBar(themeNavigationBar);
}

void KVCorvaleSettingsController::viewDidAppear(bool animated) {
    KVCorvaleBaseSettingsController::viewDidAppear(animated);
    hasAppeared = true;
}

void KVCorvaleSettingsController::viewWillDisappear(bool animated) {
    KVCorvaleBaseSettingsController::viewWillDisappear(animated);
    setNavbarEffectActive(false);
    setThemedStatusBar(false);
}

// --- Scrolling ----------------------------------------------------------------------------------

void KVCorvaleSettingsController::didScroll() {
    const auto& tableView = table();
    const CGFloat inset = ScrollInsets::inForce(*tableView).top;
    const CGFloat offset = tableView->contentOffset().y;
    const CGFloat scrolled = inset + offset;
    if (headerViewHeightConstraint)
        headerViewHeightConstraint->setConstant(headerHeight - std::min<CGFloat>(scrolled, 0));
    if (headerViewTopConstraint)
        headerViewTopConstraint->setConstant(-std::max<CGFloat>(scrolled, 0));
    UIEdgeInsets indicators = tableView->scrollIndicatorInsets();
    indicators.top = std::max<CGFloat>(headerHeight - offset - inset, 0);
    tableView->setScrollIndicatorInsets(indicators);

    bool showIcon = true;
    if (titleLabel && _headerView)
        showIcon = scrolled <= CGRectGetMaxY(titleLabel->convertRect(titleLabel->bounds(), _headerView));
    if (_titleView)
        _titleView->setShowingIcon(showIcon, hasAppeared);
}

void KVCorvaleSettingsController::scrollViewDidScroll(const std::shared_ptr<UIScrollView>&) {
    didScroll();
}

void KVCorvaleSettingsController::scrollViewDidEndDraggingWillDecelerate(const std::shared_ptr<UIScrollView>&,
                                                                         bool) {
    didScroll();
}

void KVCorvaleSettingsController::scrollViewDidScrollToTop(const std::shared_ptr<UIScrollView>&) {
    didScroll();
}

void KVCorvaleSettingsController::scrollViewDidEndDecelerating(const std::shared_ptr<UIScrollView>&) {
    didScroll();
}

#include "settings/rootpage/KVCorvaleSettingsController.h"

#include <algorithm>
#include <cstdio>

#include "platform/corefoundation/CFNotificationCenter.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/NSDictionary.h"
#include "platform/foundation/NSProcessInfo.h"
#include "platform/preferences/PSTableCell.h"
#include "platform/runtime/ObjCRuntime.h"
#include "platform/uikit/NSLayoutDimension.h"
#include "platform/uikit/NSLayoutXAxisAnchor.h"
#include "platform/uikit/NSLayoutYAxisAnchor.h"
#include "platform/uikit/NSMutableAttributedString.h"
#include "platform/uikit/UIApplication.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UILayoutGuide.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UIStackView.h"
#include "platform/uikit/UITraitCollection.h"

#ifndef CORVALE_MAKER_WEBSITE
#define CORVALE_MAKER_WEBSITE "halcyra.example"
#endif

namespace {

using Controller = KVCorvaleSettingsController;

[[maybe_unused]] const Class registeredClass = [] {
    Class cls =
        platform::registerClass<Controller>("KVCorvaleSettingsController", "KVCorvaleBaseSettingsController");
    class_addMethod(
        cls, "notificationButtonPerformedAction:",
        platform::methodImplementation<Controller>([](const auto& self, const MessageArguments& arguments) {
            self->notificationButtonPerformedAction(platform::argument(arguments, 0).objectAs<PSSpecifier>());
        }));
    class_addMethod(
        cls, "openHalcyraWebsite:",
        platform::methodImplementation<Controller>([](const auto& self, const MessageArguments& arguments) {
            self->openHalcyraWebsite(platform::argument(arguments, 0).object());
        }));
    class_addMethod(cls, "copyrightText",
                    platform::methodImplementation<Controller>(
                        [](const auto& self, const auto&) { return Value(self->copyrightText()); }));
    class_addMethod(cls, "adjustForNavigationBarMode",
                    platform::methodImplementation<Controller>(
                        [](const auto& self, const auto&) { self->adjustForNavigationBarMode(); }));
    // What hosts read by name: the header's views and whether the credits exchange has settled.
    class_addMethod(cls, "headerView",
                    platform::methodImplementation<Controller>(
                        [](const auto& self, const auto&) { return id(self->headerView()); }));
    class_addMethod(cls, "_titleLabel",
                    platform::methodImplementation<Controller>(
                        [](const auto& self, const auto&) { return id(self->_titleLabel()); }));
    class_addMethod(cls, "_companyLabel",
                    platform::methodImplementation<Controller>(
                        [](const auto& self, const auto&) { return id(self->_companyLabel()); }));
    class_addMethod(cls, "_creditsExchangeSettled",
                    platform::methodImplementation<Controller>([](const auto& self, const auto&) {
                        return Value(self->_creditsExchangeSettled());
                    }));
    class_addMethod(cls, "_rowsLeftOut",
                    platform::methodImplementation<Controller>(
                        [](const auto& self, const auto&) { return self->_rowsLeftOut(); }));
    class_addMethod(
        cls, "didScroll",
        platform::methodImplementation<Controller>([](const auto& self, const auto&) { self->didScroll(); }));
    return cls;
}();

constexpr NSOperatingSystemVersion adjustedInsetsRelease{11, 0, 0};

void activate(const std::shared_ptr<NSLayoutConstraint>& constraint) {
    constraint->setActive(true);
}

std::shared_ptr<UILabel> makeHeaderLabel() {
    auto label = std::make_shared<UILabel>();
    label->setNumberOfLines(1);
    label->setAdjustsFontSizeToFitWidth(true);
    label->setMinimumScaleFactor(static_cast<CGFloat>(5.0f / 6.0f));
    label->setClipsToBounds(true);
    return label;
}

std::shared_ptr<NSAttributedString> textWith(std::string text, const UIColorPtr& colour, CGFloat size) {
    return std::make_shared<NSAttributedString>(
        std::move(text),
        NSAttributes{{std::string(NSFontAttributeName), UIFont::systemFontOfSize(size, UIFontWeightMedium)},
                     {std::string(NSForegroundColorAttributeName), colour}});
}

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
    const auto& tableView = table();
    tableView->setContentInset(UIEdgeInsets{tableTopInset, 0, 0, 0});
    const bool adjusted = NSProcessInfo::processInfo().isOperatingSystemAtLeastVersion(adjustedInsetsRelease);
    const UIEdgeInsets insets = adjusted ? tableView->adjustedContentInset() : tableView->contentInset();
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
    const auto pageView = view();
    _headerView = std::make_shared<UIView>();
    _headerView->setFrame(CGRect{{0, 0}, {pageView->bounds().size.width, headerHeight}});
    _headerView->setTranslatesAutoresizingMaskIntoConstraints(false);
    _headerView->setUserInteractionEnabled(false);
    _headerView->setPreservesSuperviewLayoutMargins(true);
    pageView->addSubview(_headerView);
    activate(_headerView->leftAnchor()->constraintEqualToAnchor(pageView->leftAnchor()));
    activate(_headerView->rightAnchor()->constraintEqualToAnchor(pageView->rightAnchor()));
    headerViewHeightConstraint = _headerView->heightAnchor()->constraintEqualToConstant(headerHeight);
    activate(headerViewHeightConstraint);
    headerViewTopConstraint =
        _headerView->topAnchor()->constraintEqualToAnchor(topLayoutGuide()->bottomAnchor());
    activate(headerViewTopConstraint);
    buildHeaderStack(buildHeaderContents(_headerView));
}

std::shared_ptr<UIView>
KVCorvaleSettingsController::buildHeaderContents(const std::shared_ptr<UIView>& header) {
    auto contents = std::make_shared<UIView>();
    contents->setFrame(header->bounds());
    contents->setBackgroundColor(headerColour());
    contents->setPreservesSuperviewLayoutMargins(true);
    contents->setTranslatesAutoresizingMaskIntoConstraints(false);
    header->addSubview(contents);
    activate(contents->heightAnchor()->constraintEqualToAnchor(header->heightAnchor()));
    activate(contents->topAnchor()->constraintEqualToAnchor(header->topAnchor()));
    activate(contents->bottomAnchor()->constraintEqualToAnchor(header->bottomAnchor()));
    activate(contents->leftAnchor()->constraintEqualToAnchor(header->leftAnchor()));
    activate(contents->rightAnchor()->constraintEqualToAnchor(header->rightAnchor()));
    return contents;
}

void KVCorvaleSettingsController::buildHeaderStack(const std::shared_ptr<UIView>& contents) {
    auto company = makeHeaderLabel();
    company->setText(companyName);
    company->setFont(UIFont::systemFontOfSize(16, UIFontWeightSemibold));
    company->setTextColor(UIColor::colorWithWhite(1.0, 0.7));
    companyLabel = company;

    titleLabel = makeHeaderLabel();
    titleLabel->setAttributedText(headerTitleText());

    auto stack = std::make_shared<UIStackView>();
    stack->addArrangedSubview(company);
    stack->addArrangedSubview(titleLabel);
    stack->setAxis(UILayoutConstraintAxisVertical);
    stack->setSpacing(8);
    stack->setTranslatesAutoresizingMaskIntoConstraints(false);
    contents->addSubview(stack);
    headerContentsViewCenterConstraint =
        stack->centerYAnchor()->constraintEqualToAnchor(contents->centerYAnchor());
    activate(headerContentsViewCenterConstraint);
    activate(stack->leftAnchor()->constraintEqualToAnchor(contents->layoutMarginsGuide()->leftAnchor()));
    activate(stack->rightAnchor()->constraintEqualToAnchor(contents->layoutMarginsGuide()->rightAnchor()));
}

std::shared_ptr<NSAttributedString> KVCorvaleSettingsController::headerTitleText() {
    auto text = std::make_shared<NSMutableAttributedString>(
        *textWith(tweakName().stringValue(), UIColor::whiteColor(), 36));
    text->appendAttributedString(
        *textWith(" v" + tweakVersion().stringValue(), UIColor::colorWithWhite(1.0, 0.5), 22));
    return text;
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
    m_creditRowsLeftOut = 0;
    m_linkRowsLeftOut = 0;
    const Value knownCredits = _credits();
    const Value knownLinks = _links();
    if (!knownCredits.isNull()) {
        _specifiers->push_back(PSSpecifier::groupSpecifierWithName("Credits"));
        appendCreditRows(knownCredits);
        if (!knownLinks.isNull())
            appendLinkRows(knownLinks);
    } else if (!knownLinks.isNull()) {
        appendLinkRows(knownLinks);
    } else {
        _specifiers->push_back(PSSpecifier::groupSpecifierWithName("Credits"));
        const bool failed = _errorOccurredFetchingCredits();
        _specifiers->push_back(PSSpecifier::preferenceSpecifierNamed(
            failed ? "Couldn't load credits" : "", nullptr, "", "", nullptr,
            PSTableCell::cellTypeFromString(failed ? "PSStaticTextCell" : "PSSpinnerCell"), nullptr));
    }
}

void KVCorvaleSettingsController::appendCreditRows(const Value& people) {
    if (!people.isArray())
        return;
    const auto bundle = preferencesBundle();
    std::size_t built = 0;
    for (const Value& person : people.asArray()) {
        // Copying the keys of anything but an object would have nothing to copy from.
        if (!person.isDictionary())
            continue;
        if (built == maximumCreditRows) {
            ++m_creditRowsLeftOut;
            continue;
        }
        ++built;
        auto row = PSSpecifier::preferenceSpecifierNamed(
            "", nullptr, "", "", nullptr, PSTableCell::cellTypeFromString("PSDefaultCell"), nullptr);
        for (const auto& [key, value] : person.asDictionary())
            row->setProperty(value, key);
        row->setObjectProperty(objc_getClass("KVCorvaleCreditCell"), "cellClass");
        row->setProperty(Value(bundle ? bundle->bundlePath() : std::string()), "bundlePath");
        row->setProperty(Value(static_cast<std::int64_t>(creditRowHeight)), "height");
        _specifiers->push_back(row);
    }
}

void KVCorvaleSettingsController::appendLinkRows(const Value& entries) {
    _specifiers->push_back(PSSpecifier::emptyGroupSpecifier());
    if (!entries.isArray())
        return;
    const auto self = selfAs<KVCorvaleSettingsController>();
    std::size_t built = 0;
    for (const Value& entry : entries.asArray()) {
        const Value title = entry.isDictionary() ? entry["title"] : Value();
        const Value url = entry.isDictionary() ? entry["url"] : Value();
        if (!title.isString() || !url.isString())
            continue;
        if (built == maximumLinkRows) {
            ++m_linkRowsLeftOut;
            continue;
        }
        ++built;
        auto row =
            PSSpecifier::preferenceSpecifierNamed(title.asString(), self, "", "", nullptr,
                                                  PSTableCell::cellTypeFromString("PSButtonCell"), nullptr);
        row->setProperty(url, "url");
        row->action = "URLSpecifierPerformedAction:";
        _specifiers->push_back(row);
    }
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
    return Value::dictionary({{"credits", static_cast<std::int64_t>(m_creditRowsLeftOut)},
                              {"links", static_cast<std::int64_t>(m_linkRowsLeftOut)}});
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
    if (active) {
        bar->setBarTintColor(headerColour());
        bar->setTintColor(UIColor::whiteColor());
        bar->setBarStyle(UIBarStyle::BlackTranslucent);
        bar->setTranslucent(false);
        bar->setShadowImage(std::make_shared<UIImage>());
        return;
    }
    const auto look = UINavigationBar::appearance();
    bar->setBarTintColor(look->barTintColor());
    bar->setTintColor(look->ownTintColor());
    bar->setBarStyle(look->barStyle());
    bar->setShadowImage(look->shadowImage());
    bar->setTranslucent(true);
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

CGFloat KVCorvaleSettingsController::topContentInset() const {
    const auto& tableView = const_cast<KVCorvaleSettingsController*>(this)->table();
    return NSProcessInfo::processInfo().isOperatingSystemAtLeastVersion(adjustedInsetsRelease)
               ? tableView->adjustedContentInset().top
               : tableView->contentInset().top;
}

void KVCorvaleSettingsController::didScroll() {
    const auto& tableView = table();
    const CGFloat inset = topContentInset();
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

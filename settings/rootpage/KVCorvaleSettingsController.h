#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "settings/credits/KVCorvaleSettingsCreditsManager.h"
#include "settings/credits/KVCorvaleSettingsCreditsManagerDelegate.h"
#include "settings/engine/KVCorvaleBaseSettingsController.h"
#include "platform/foundation/NSCalendar.h"
#include "settings/rootpage/CreditsAreaRows.h"
#include "settings/rootpage/KVCorvaleSettingsNavigationTitleView.h"
#include "settings/rootpage/RootPageHeader.h"
#include "platform/uikit/NSLayoutConstraint.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UINavigationBar.h"

// The pane's first page and the bundle's principal class. Above the rows it shows a coloured header
// with the maker's and the tweak's names; the bar carries the title view and, unless the tweak's list
// turns it off, a button to the maker's website. After the rows comes the credits area, fed by the
// credits manager, and the copyright line closes the list.
//
// On narrow screens (any horizontal size class but regular) the navigation bar and the status bar
// take the header colour, the header follows scrolling and the title view swaps the tweak's icon for
// its name once the header's title has gone under the bar. The bars are restored whenever the page is
// about to disappear and themed again when it comes back.
class KVCorvaleSettingsController : public KVCorvaleBaseSettingsController,
                                    public KVCorvaleSettingsCreditsManagerDelegate {
public:
    static constexpr CGFloat headerHeight = RootPageHeader::height;
    static constexpr CGFloat tableTopInset = 135;
    static constexpr CGFloat themedHeaderStackOffset = -6;
    static constexpr long creditRowHeight = CreditsAreaRows::creditRowHeight;

    KVCorvaleSettingsController() = default;

    // --- The page -------------------------------------------------------------------------------
    void loadView() override;
    void viewDidLoad() override;
    void _loadSpecifiers() override;
    std::optional<std::string> tableViewTitleForFooterInSection(const std::shared_ptr<UITableView>& tableView,
                                                                long section) override;
    std::string copyrightText();
    std::string copyrightYearText();
    void openHalcyraWebsite(const id& sender);
    void notificationButtonPerformedAction(const std::shared_ptr<PSSpecifier>& specifier);
    // https://<maker's website>/?src=twkprefsnav
    static std::shared_ptr<NSURL> makerWebsiteURL();

    // --- Credits --------------------------------------------------------------------------------
    void creditsManagerDidLoadCreditsAndLinks(const std::shared_ptr<KVCorvaleSettingsCreditsManager>& manager,
                                              const Value& credits, const Value& links) override;
    void creditsManagerDidFailToLoadWithError(const std::shared_ptr<KVCorvaleSettingsCreditsManager>& manager,
                                              const NSErrorPtr& error) override;

    // --- Bars and scrolling ---------------------------------------------------------------------
    void traitCollectionDidChange(const std::shared_ptr<UITraitCollection>& previous) override;
    void adjustForNavigationBarMode();
    bool themedStatusBar() const { return _themedStatusBar; }
    void setThemedStatusBar(bool themed);
    bool _navbarEffectActive() const { return __navbarEffectActive; }
    void set_navbarEffectActive(bool active) { __navbarEffectActive = active; }
    void setNavbarEffectActive(bool active);
    std::int64_t originalStatusBarStyle() const { return _originalStatusBarStyle; }
    void setOriginalStatusBarStyle(std::int64_t style) { _originalStatusBarStyle = style; }
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void didScroll();
    void scrollViewDidScroll(const std::shared_ptr<UIScrollView>& scrollView) override;
    void scrollViewDidEndDraggingWillDecelerate(const std::shared_ptr<UIScrollView>& scrollView,
                                                bool decelerate) override;
    void scrollViewDidScrollToTop(const std::shared_ptr<UIScrollView>& scrollView) override;
    void scrollViewDidEndDecelerating(const std::shared_ptr<UIScrollView>& scrollView) override;

    // --- What the page shows (read by hosts and tests) ------------------------------------------
    const std::shared_ptr<UIView>& headerView() const { return _headerView; }
    void setHeaderView(const std::shared_ptr<UIView>& view) { _headerView = view; }
    const KVCorvaleSettingsNavigationTitleViewPtr& titleView() const { return _titleView; }
    void setTitleView(const KVCorvaleSettingsNavigationTitleViewPtr& view) { _titleView = view; }
    const std::shared_ptr<UILabel>& _titleLabel() const { return titleLabel; }
    std::shared_ptr<UILabel> _companyLabel() const { return companyLabel.lock(); }
    const std::shared_ptr<NSLayoutConstraint>& _headerViewTopConstraint() const {
        return headerViewTopConstraint;
    }
    const std::shared_ptr<NSLayoutConstraint>& _headerViewHeightConstraint() const {
        return headerViewHeightConstraint;
    }
    const std::shared_ptr<NSLayoutConstraint>& _headerContentsViewCenterConstraint() const {
        return headerContentsViewCenterConstraint;
    }
    const std::shared_ptr<KVCorvaleSettingsCreditsManager>& _creditsManager() const { return creditsManager; }
    const std::string& _companyName() const { return companyName; }
    const std::string& _companyCopyrightName() const { return companyCopyrightName; }
    bool _showsHalcyraBranding() const { return showsHalcyraBranding; }
    std::int64_t _firstCopyrightYear() const { return firstCopyrightYear; }
    bool _themeNavigationBar() const { return themeNavigationBar; }
    bool _hasAppeared() const { return hasAppeared; }
    // Credits, links and the failure flag as they stand now (they may change on the session queue).
    Value _credits() const;
    Value _links() const;
    bool _errorOccurredFetchingCredits() const;
    // True once the credits manager has answered at least once, has no request running and every
    // rebuild it asked for has run. It may turn false again when an answer leads to another request.
    bool _creditsExchangeSettled() const;
    // Credit and link rows the last rebuild left out beyond its bounds: {"credits": n, "links": n}.
    // Kept for the host to show instead of logged, since the pane logs only its directory failures.
    Value _rowsLeftOut() const;
    // The bar the page themes: its navigation controller's own navigation controller's bar.
    std::shared_ptr<UINavigationBar> _themedNavigationBar() const;
    // The date copyrightYearText reads; the clock's now when none was given.
    void _setCurrentDate(std::optional<NSCalendar::Date> date) { m_currentDate = date; }

private:
    void readBranding();
    void startCredits();
    void buildTitleView();
    void buildBrandingButton();
    void buildHeader();
    void appendCreditsArea();
    void scheduleRefresh();

    std::shared_ptr<UILabel> titleLabel;
    std::shared_ptr<KVCorvaleSettingsCreditsManager> creditsManager;
    // Main thread only, like the rows they count.
    CreditsAreaRows::LeftOut rowsLeftOut;
    // Written on the credits manager's queue, read on the main thread.
    mutable std::mutex creditsLock;
    Value credits;
    Value links;
    bool errorOccurredFetchingCredits = false;
    std::shared_ptr<NSLayoutConstraint> headerContentsViewCenterConstraint;
    std::shared_ptr<NSLayoutConstraint> headerViewTopConstraint;
    std::shared_ptr<NSLayoutConstraint> headerViewHeightConstraint;
    bool themeNavigationBar = false;
    bool hasAppeared = false;
    std::string companyName = "Halcyra";
    std::string companyCopyrightName = "Halcyra";
    bool showsHalcyraBranding = true;
    std::int64_t firstCopyrightYear = 2016;
    bool __navbarEffectActive = false;
    bool _themedStatusBar = false;
    std::shared_ptr<UIView> _headerView;
    KVCorvaleSettingsNavigationTitleViewPtr _titleView;
    std::int64_t _originalStatusBarStyle = 0;

    std::weak_ptr<UILabel> companyLabel;
    std::atomic<int> m_creditsAnswers{0};
    std::atomic<int> m_pendingRefreshes{0};
    std::optional<NSCalendar::Date> m_currentDate;
};

using KVCorvaleSettingsControllerPtr = std::shared_ptr<KVCorvaleSettingsController>;

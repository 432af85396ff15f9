#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/uikit/NSAttributedString.h"
#include "platform/uikit/UIAlertAction.h"
#include "platform/uikit/UIAlertControllerDescriptor.h"
#include "platform/uikit/UIAlertControllerStyle.h"
#include "platform/uikit/UIAlertControllerVisualStyle.h"
#include "platform/uikit/UIViewController.h"

class UITraitCollection;

// An alert or action sheet: a title, a message and its actions, presented by a view controller.
//
// Its view is the card's top part: 270 points wide, centred in the window it is presented in, as
// high as the header content view (0 without one), which is pinned to its top, left and right and
// takes its height from its own constraints. Title, message and buttons are drawn below it.
class UIAlertController : public UIViewController {
public:
    static constexpr platform::RegisteredName<UIAlertController> registeredName{"UIAlertController"};
    static constexpr CGFloat cardWidth = 270;

    static std::shared_ptr<UIAlertController> alertControllerWithTitle(std::string title, std::string message,
                                                                       UIAlertControllerStyle style);
    UIAlertController() = default;

    const std::string& message() const { return m_message; }
    UIAlertControllerStyle preferredStyle() const { return m_style; }

    // An action already added is not added twice.
    void addAction(const std::shared_ptr<UIAlertAction>& action);
    const std::vector<std::shared_ptr<UIAlertAction>>& actions() const { return m_actions; }
    std::shared_ptr<UIAlertAction> preferredAction() const { return m_preferredAction; }
    // Only one of this alert's own actions (or nil) is taken; anything else is ignored.
    void setPreferredAction(const std::shared_ptr<UIAlertAction>& action);

    void viewDidLoad() override;
    // Centres the card in the view it was presented into.
    void viewDidAppear(bool animated) override;

    // --- Private operations (what tweaks reach for) ---------------------------------------------
    // The style the alert draws its texts with, for its traits (the key window's, else the current
    // ones). Exists from 13.0; earlier releases ask visualStyleForAlertControllerStyle instead.
    std::shared_ptr<UIAlertControllerVisualStyle> _visualStyle() const;
    // The route before 13.0: a style for a controller style, traits and descriptor (each may be nil).
    std::shared_ptr<UIAlertControllerVisualStyle>
    visualStyleForAlertControllerStyle(UIAlertControllerStyle style,
                                       std::shared_ptr<UITraitCollection> traits,
                                       std::shared_ptr<UIAlertControllerDescriptor> descriptor) const;
    std::shared_ptr<UIAlertControllerDescriptor> _currentDescriptor() const;

    // Shown instead of message() when set (nil goes back to the plain message); also sets message()
    // to its text, as the platform's alert does.
    void _setAttributedMessage(std::shared_ptr<NSAttributedString> message);
    std::shared_ptr<NSAttributedString> _attributedMessage() const { return m_attributedMessage; }

    // A controller whose view is shown above the title. It becomes a child of the alert, so its
    // view loads and appears with the alert's; nil removes the one set before.
    void _setHeaderContentViewController(std::shared_ptr<UIViewController> controller);
    std::shared_ptr<UIViewController> _headerContentViewController() const { return m_headerContent; }

protected:
    // What alertControllerWithTitle does to a new alert; subclasses' own factories call it.
    void _initWithTitle(std::string title, std::string message, UIAlertControllerStyle style);

private:
    std::string m_message;
    std::shared_ptr<NSAttributedString> m_attributedMessage;
    std::shared_ptr<UIViewController> m_headerContent;
    std::vector<std::shared_ptr<UIAlertAction>> m_actions;
    std::shared_ptr<UIAlertAction> m_preferredAction;
    UIAlertControllerStyle m_style = UIAlertControllerStyle::Alert;

    void installHeaderContentView();
    void placeCardInSuperview();

    std::vector<std::shared_ptr<NSLayoutConstraint>> m_cardConstraints;
};

using UIAlertControllerPtr = std::shared_ptr<UIAlertController>;

namespace platform {

// What a user's tap on the alert's first enabled action with this title does: the alert is
// dismissed from its presenter (if presented), then the action's handler runs, as on the device,
// where the handler runs once the dismissal has begun. False when the alert has no such enabled
// action; nothing happens then.
bool tapAlertAction(const std::shared_ptr<UIAlertController>& alert, std::string_view title);

} // namespace platform

#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/uikit/UIImage.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIStackView.h"
#include "platform/uikit/UIView.h"

// The root page's navigation title: the tweak's name over a smaller subtitle, which can give way to
// the tweak's icon. In icon mode the text has slid 36 points down and faded out while the icon has
// dropped into place; title mode is the reverse.
class KVCorvaleSettingsNavigationTitleView : public UIView {
public:
    static constexpr CGFloat iconSide = 29;
    static constexpr CGFloat slideDistance = 36;
    static constexpr double swapDuration = 0.15;

    // Title mode with white text; the icon is transparent and not yet moved.
    KVCorvaleSettingsNavigationTitleView() = default;
    std::shared_ptr<UIView> initWithFrame(CGRect frame) override;
    // A new view made with initWithFrame.
    static std::shared_ptr<KVCorvaleSettingsNavigationTitleView> titleViewWithFrame(CGRect frame);

    const std::string& title() const { return _title; }
    void setTitle(std::string title);
    const std::optional<std::string>& subtitle() const { return _subtitle; }
    // None or "" hides the lower line.
    void setSubtitle(std::optional<std::string> subtitle);
    const std::shared_ptr<UIImage>& iconImage() const { return _iconImage; }
    void setIconImage(const std::shared_ptr<UIImage>& image);
    bool showingIcon() const { return _showingIcon; }
    // Applies the mode at once, even when it is already in force.
    void setShowingIcon(bool showingIcon);
    // Does nothing when the mode is already in force; animated, the swap runs over 0.15 s.
    void setShowingIcon(bool showingIcon, bool animated);
    bool whiteText() const { return _whiteText; }
    void setWhiteText(bool whiteText);

    const std::shared_ptr<UILabel>& _titleLabel() const { return titleLabel; }
    const std::shared_ptr<UILabel>& _subtitleLabel() const { return subtitleLabel; }
    const std::shared_ptr<UIStackView>& _titleStackView() const { return titleStackView; }
    const std::shared_ptr<UIImageView>& _iconImageView() const { return iconImageView; }

private:
    void buildSubviews();
    void buildTitleStack();
    void buildIconView();

    std::string _title;
    std::optional<std::string> _subtitle;
    std::shared_ptr<UIImage> _iconImage;
    bool _showingIcon = false;
    bool _whiteText = false;

    std::shared_ptr<UILabel> titleLabel;
    std::shared_ptr<UILabel> subtitleLabel;
    std::shared_ptr<UIStackView> titleStackView;
    std::shared_ptr<UIImageView> iconImageView;
};

using KVCorvaleSettingsNavigationTitleViewPtr = std::shared_ptr<KVCorvaleSettingsNavigationTitleView>;

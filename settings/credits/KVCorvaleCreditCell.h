#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/credits/KVCorvaleCreditOption.h"
#include "settings/credits/KVCorvaleSettingsCreditsImageManager.h"
#include "settings/credits/KVCorvaleSettingsCreditsImageManagerDelegate.h"
#include "platform/preferences/PSTableCell.h"
#include "platform/uikit/UIButton.h"
#include "platform/uikit/UIImageView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UIScrollView.h"
#include "platform/uikit/UIStackView.h"

// The cell of one credited person: a round picture, the role in small capitals over the name, and a
// sideways-scrolling row of service buttons, one per account. It reads its row once, while it is
// being made; the picture arrives later from its image manager.
class KVCorvaleCreditCell : public PSTableCell, public KVCorvaleSettingsCreditsImageManagerDelegate {
public:
    static constexpr std::string_view reuseIdentifier = "KVCreditCell";
    static constexpr CGFloat avatarSide = 58;
    static constexpr CGFloat buttonSide = 20;
    static constexpr CGFloat buttonSpacing = 10;

    KVCorvaleCreditCell() = default;

    using PSTableCell::initWithStyle;
    std::shared_ptr<PSTableCell> initWithStyle(UITableViewCellStyle style, std::string reuseIdentifier,
                                               const std::shared_ptr<PSSpecifier>& specifier) override;
    std::shared_ptr<PSTableCell> initWithSpecifier(const std::shared_ptr<PSSpecifier>& specifier);

    void layoutSubviews() override;
    void parseSpecifiers(const std::shared_ptr<PSSpecifier>& specifier);

    const std::vector<std::shared_ptr<KVCorvaleCreditOption>>& creditOptions() const {
        return m_creditOptions;
    }
    // Replaces every button.
    void setCreditOptions(std::vector<std::shared_ptr<KVCorvaleCreditOption>> options);
    void _doCreditOptions();
    // Opens the option whose index is the button's tag.
    void buttonTapped(const std::shared_ptr<UIButton>& button);
    // The image file `<bundlePath>/<name>`, else the bundle's image of that name in the variant for the
    // screen's scale; nil without either or without a bundle path.
    std::shared_ptr<UIImage> imageFromFilename(const std::string& name) const;

    // Moves the picture to the main queue before showing it, even when it came from there.
    void creditsImageManagerDidLoadImage(const std::shared_ptr<KVCorvaleSettingsCreditsImageManager>& manager,
                                         const std::shared_ptr<UIImage>& image) override;

    // No picture download is running and every delivered picture is shown (what hosts wait for).
    bool _pictureSettled() const;

    std::string name() const;
    void setName(std::string name);
    // The upper-cased role, as shown.
    std::string position() const;
    void setPosition(const std::string& position);

    const std::optional<std::string>& bundlePath() const { return m_bundlePath; }
    const std::shared_ptr<KVCorvaleSettingsCreditsImageManager>& imageManager() const {
        return m_imageManager;
    }
    const std::shared_ptr<UILabel>& nameLabel() const { return m_nameLabel; }
    const std::shared_ptr<UILabel>& positionLabel() const { return m_positionLabel; }
    const std::shared_ptr<UIImageView>& avatarImageView() const { return m_avatarImageView; }
    const std::shared_ptr<UIScrollView>& optionScrollView() const { return m_optionScrollView; }
    const std::shared_ptr<UIStackView>& optionStackView() const { return m_optionStackView; }

private:
    void buildAvatar();
    std::shared_ptr<UIView> buildTextContainer();
    void buildLabels(const std::shared_ptr<UIView>& container);
    void buildOptionRow(const std::shared_ptr<UIView>& container);
    std::shared_ptr<UIButton> makeButton(const KVCorvaleCreditOption& option, long index);

    std::optional<std::string> m_bundlePath;
    std::shared_ptr<KVCorvaleSettingsCreditsImageManager> m_imageManager;
    std::shared_ptr<UILabel> m_nameLabel;
    std::shared_ptr<UILabel> m_positionLabel;
    std::shared_ptr<UIImageView> m_avatarImageView;
    std::shared_ptr<UIScrollView> m_optionScrollView;
    std::shared_ptr<UIStackView> m_optionStackView;
    std::shared_ptr<UIStackView> m_labelStackView;
    std::vector<std::shared_ptr<KVCorvaleCreditOption>> m_creditOptions;
    std::atomic<int> m_picturesInFlight{0};
};

using KVCorvaleCreditCellPtr = std::shared_ptr<KVCorvaleCreditCell>;

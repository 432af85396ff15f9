#pragma once

#include <memory>
#include <string>

#include "platform/uikit/UIView.h"

class UIImage;
class UIImageView;
class UILabel;

enum UITableViewCellStyle : int {
    UITableViewCellStyleDefault = 0,
    UITableViewCellStyleValue1,
    UITableViewCellStyleValue2,
    UITableViewCellStyleSubtitle,
};

enum UITableViewCellAccessoryType : int {
    UITableViewCellAccessoryNone = 0,
    UITableViewCellAccessoryDisclosureIndicator,
    UITableViewCellAccessoryDetailDisclosureButton,
    UITableViewCellAccessoryCheckmark,
    UITableViewCellAccessoryDetailButton,
};

enum UITableViewCellSelectionStyle : int {
    UITableViewCellSelectionStyleNone = 0,
    UITableViewCellSelectionStyleBlue,
    UITableViewCellSelectionStyleGray,
    UITableViewCellSelectionStyleDefault,
};

// One row of a table. Cells are made with the default constructor (so the runtime can make them by
// class name) and then initialised with initWithStyle, which subclasses override to build their
// content. The content view is the cell's only subview until an accessory view is set or a text
// is shown.
//
// Layout, as the Settings app's rows have it: the accessory view (or the space of the chevron or
// checkmark the cell draws itself) at the right margin, centred; the title label at the left
// margin in 17 points; the detail label of the value style ends where the accessory begins, in the
// secondary colour; the content view fills the cell.
class UITableViewCell : public UIView {
public:
    static constexpr platform::RegisteredName<UITableViewCell> registeredName{"UITableViewCell"};
    UITableViewCell() = default;

    // Keeps the style and reuse identifier and makes the content view; returns the cell itself.
    virtual std::shared_ptr<UITableViewCell> initWithStyle(UITableViewCellStyle style,
                                                           std::string reuseIdentifier);

    UITableViewCellStyle style() const { return m_style; }
    const std::string& reuseIdentifier() const { return m_reuseIdentifier; }
    // Made on first use when initWithStyle has not run.
    const std::shared_ptr<UIView>& contentView();

    // What the row says: its title and, for the value and subtitle styles, the detail text.
    const std::string& text() const { return m_text; }
    void setText(std::string text);
    const std::string& detailText() const { return m_detailText; }
    void setDetailText(std::string text);
    // The labels showing them, made when a text is first set (or on first use).
    const std::shared_ptr<UILabel>& textLabel();
    const std::shared_ptr<UILabel>& detailTextLabel();
    // The picture at the row's leading edge; the labels start after it.
    const std::shared_ptr<UIImage>& image() const { return m_image; }
    void setImage(const std::shared_ptr<UIImage>& image);
    // The left edge of the accessory area: where the labels must end.
    CGFloat _accessoryLeadingEdge() const;

    static constexpr CGFloat horizontalMargin = 16;
    static constexpr CGFloat chevronWidth = 8;
    static constexpr CGFloat accessorySpacing = 8;

    UITableViewCellAccessoryType accessoryType() const { return m_accessoryType; }
    void setAccessoryType(UITableViewCellAccessoryType type) { m_accessoryType = type; }
    const std::shared_ptr<UIView>& accessoryView() const { return m_accessoryView; }
    // Replaces the accessory view: the old one leaves the cell, the new one becomes a subview.
    void setAccessoryView(const std::shared_ptr<UIView>& view);
    UITableViewCellSelectionStyle selectionStyle() const { return m_selectionStyle; }
    void setSelectionStyle(UITableViewCellSelectionStyle style) { m_selectionStyle = style; }

    // Called before a table shows the cell again for another row.
    virtual void prepareForReuse() {}

    void layoutSubviews() override;

protected:
    // Where the detail text goes for this style (value cells: to the right; subtitle: below).
    virtual void layoutLabels(CGFloat leading, CGFloat trailing);

private:
    std::shared_ptr<UIImage> m_image;
    std::shared_ptr<UIImageView> m_imageView;
    std::shared_ptr<UILabel> m_textLabel;
    std::shared_ptr<UILabel> m_detailTextLabel;
    std::shared_ptr<UIView> m_contentView;
    std::shared_ptr<UIView> m_accessoryView;
    std::string m_reuseIdentifier;
    std::string m_text;
    std::string m_detailText;
    UITableViewCellStyle m_style = UITableViewCellStyleDefault;
    UITableViewCellAccessoryType m_accessoryType = UITableViewCellAccessoryNone;
    UITableViewCellSelectionStyle m_selectionStyle = UITableViewCellSelectionStyleDefault;
};

using UITableViewCellPtr = std::shared_ptr<UITableViewCell>;

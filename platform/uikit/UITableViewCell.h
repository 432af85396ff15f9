#pragma once

#include <memory>
#include <string>

#include "platform/uikit/UIView.h"

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
// content. The content view is the cell's only subview until an accessory view is set.
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
    void setText(std::string text) { m_text = std::move(text); }
    const std::string& detailText() const { return m_detailText; }

    UITableViewCellAccessoryType accessoryType() const { return m_accessoryType; }
    void setAccessoryType(UITableViewCellAccessoryType type) { m_accessoryType = type; }
    const std::shared_ptr<UIView>& accessoryView() const { return m_accessoryView; }
    UITableViewCellSelectionStyle selectionStyle() const { return m_selectionStyle; }
    void setSelectionStyle(UITableViewCellSelectionStyle style) { m_selectionStyle = style; }

    // Called before a table shows the cell again for another row.
    virtual void prepareForReuse() {}

private:
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

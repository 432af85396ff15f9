#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/foundation/Value.h"
#include "platform/preferences/PSCellType.h"
#include "platform/preferences/PSSpecifier.h"
#include "platform/uikit/UITableViewCell.h"

class UIControl;

// The cell of a preferences row. The framework makes cells with the default constructor (or by
// class name through the runtime, for a row's "cellClass") and then calls the three-argument
// initWithStyle; subclasses override it, call this one first and build their content after.
//
// A row that has a value holds the control that shows and changes it: a switch as its accessory
// ("negate" shows the inverse), a slider ("min", "max", "showValue" with a value label), segments
// ("validTitles", or "shortTitles", and "validValues"), a text field ("placeholder", "keyboard",
// "isNumeric"; bullets for the secure cell); title-value and list rows show their value as detail
// text. When the control changes (a touch, or _changeControlValue), the cell sends the row's setter
// ("set", else setPreferenceValue:specifier:) to the row's target with the new value; a text field
// does so when editing ends. An "enabled" of false dims the row and its control, which then take no
// touch.
class PSTableCell : public UITableViewCell {
public:
    static constexpr platform::RegisteredName<PSTableCell> registeredName{"PSTableCell"};
    PSTableCell() = default;

    using UITableViewCell::initWithStyle;
    // Keeps the specifier and shows its label; returns the cell itself.
    virtual std::shared_ptr<PSTableCell> initWithStyle(UITableViewCellStyle style,
                                                       std::string reuseIdentifier,
                                                       const std::shared_ptr<PSSpecifier>& specifier);

    std::shared_ptr<PSSpecifier> specifier() const { return m_specifier; }
    // Shows another row in this cell.
    virtual void refreshCellContentsWithSpecifier(const std::shared_ptr<PSSpecifier>& specifier);

    // Shows the row's stored value (in its control or detail text).
    virtual void setValue(const Value& value);
    // The value the control shows, as the row stores it; null for rows without a control.
    Value controlValue() const;
    // The control of the row; nullptr when it has none.
    std::shared_ptr<UIControl> control() const { return m_control; }
    // What the row shows as its value: the list title, the title value, the field's text (bullets
    // when secure), the slider's value label; empty when none.
    std::string valueText() const;
    bool isCellEnabled() const { return m_cellEnabled; }
    void setCellEnabled(bool enabled);

    // Puts the value in the control and reports it as a touch would (ValueChanged; a text field ends
    // editing). False when the row has no control or the control is disabled.
    bool _changeControlValue(const Value& value);

    void layoutSubviews() override;
    void tintColorDidChange() override;
    void didMoveToWindow() override;

    // PSUnknownCell for a name that is not a cell type.
    static PSCellType cellTypeFromString(std::string_view name);
    // "" for PSUnknownCell.
    static std::string_view stringFromCellType(PSCellType cellType);

protected:
    void layoutLabels(CGFloat leading, CGFloat trailing) override;

private:
    void buildControl(PSCellType cellType);
    void controlDidChange();
    void showSliderValue();
    void refreshTextColour();

    std::shared_ptr<PSSpecifier> m_specifier;
    std::shared_ptr<UIControl> m_control;
    std::shared_ptr<UIView> m_valueLabel;
    bool m_cellEnabled = true;
};

using PSTableCellPtr = std::shared_ptr<PSTableCell>;

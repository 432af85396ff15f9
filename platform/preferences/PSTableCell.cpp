#include "platform/preferences/PSTableCell.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/preferences/CellTypeNames.h"
#include "platform/uikit/UIActivityIndicatorView.h"
#include "platform/uikit/UILabel.h"
#include "platform/uikit/UISegmentedControl.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UISwitch.h"
#include "platform/uikit/UITextField.h"

namespace {

[[maybe_unused]] const Class registeredClass =
    platform::registerClass<PSTableCell, UITableViewCell>();

constexpr double disabledAlpha = 0.4;
constexpr CGFloat segmentHeight = 32;
constexpr CGFloat sliderValueWidth = 48;

UITableViewCellAccessoryType accessoryForCellType(PSCellType cellType) {
    switch (cellType) {
    case PSLinkCell:
    case PSLinkListCell:
        return UITableViewCellAccessoryDisclosureIndicator;
    default:
        return UITableViewCellAccessoryNone;
    }
}

bool valuesMatch(const Value& lhs, const Value& rhs) {
    if (lhs.isNumber() && rhs.isNumber())
        return lhs.doubleValue() == rhs.doubleValue();
    return lhs == rhs;
}

const Value& listOf(const PSSpecifier& specifier, const Value& own, const char* key) {
    return own.isArray() ? own : specifier.properties()[key];
}

double numberOr(const PSSpecifier& specifier, const char* key, double fallback) {
    const Value& value = specifier.properties()[key];
    return value.isNumber() ? value.doubleValue() : fallback;
}

bool isTrue(const PSSpecifier& specifier, const char* key) {
    const Value& value = specifier.properties()[key];
    return value.isBool() && value.boolValue();
}

// The position of the value among the row's "validValues"; -1 when it is not one of them.
long indexOfValue(const PSSpecifier& specifier, const Value& value) {
    const Value& values = listOf(specifier, specifier.values(), "validValues");
    if (!values.isArray())
        return -1;
    const auto& array = values.asArray();
    for (std::size_t index = 0; index < array.size(); ++index)
        if (valuesMatch(array[index], value))
            return static_cast<long>(index);
    return -1;
}

std::vector<std::string> titlesOf(const PSSpecifier& specifier, bool preferShort) {
    std::vector<std::string> titles;
    const Value& shortTitles = specifier.properties()["shortTitles"];
    const Value& list = preferShort && shortTitles.isArray() ? shortTitles
                                                              : listOf(specifier, specifier.titles(), "validTitles");
    if (list.isArray())
        for (const auto& title : list.asArray())
            titles.push_back(title.stringValue());
    return titles;
}

std::string formattedNumber(double value) {
    char text[32];
    if (std::fabs(value - std::round(value)) < 1e-9)
        std::snprintf(text, sizeof text, "%.0f", value);
    else
        std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

UIKeyboardType keyboardFor(const PSSpecifier& specifier) {
    if (isTrue(specifier, "isNumeric"))
        return UIKeyboardType::NumberPad;
    std::string keyboard = specifier.properties()["keyboard"].stringValue();
    if (keyboard == "numbers")
        return UIKeyboardType::NumberPad;
    if (keyboard == "phone")
        return UIKeyboardType::PhonePad;
    return UIKeyboardType::Default;
}

} // namespace

std::shared_ptr<PSTableCell> PSTableCell::initWithStyle(UITableViewCellStyle style,
                                                        std::string reuseIdentifier,
                                                        const std::shared_ptr<PSSpecifier>& specifier) {
    UITableViewCell::initWithStyle(style, std::move(reuseIdentifier));
    refreshCellContentsWithSpecifier(specifier);
    return selfAs<PSTableCell>();
}

void PSTableCell::refreshCellContentsWithSpecifier(const std::shared_ptr<PSSpecifier>& specifier) {
    m_specifier = specifier;
    PSCellType cellType = specifier ? specifier->cellType() : PSDefaultCell;
    setText(specifier ? specifier->name() : std::string());
    setAccessoryType(accessoryForCellType(cellType));
    buildControl(cellType);
    const Value& enabled = specifier ? specifier->properties()["enabled"] : Value();
    setCellEnabled(!enabled.isBool() || enabled.boolValue());
    refreshTextColour();
}

void PSTableCell::buildControl(PSCellType cellType) {
    if (m_control)
        m_control->removeFromSuperview();
    if (m_valueLabel)
        m_valueLabel->removeFromSuperview();
    m_control.reset();
    m_valueLabel.reset();
    setAccessoryView(nullptr);
    const auto& row = *m_specifier;
    switch (cellType) {
    case PSSwitchCell: {
        auto toggle = std::make_shared<UISwitch>();
        toggle->setFrame(CGRectMake(0, 0, 51, 31));
        setAccessoryView(toggle);
        m_control = toggle;
        break;
    }
    case PSSliderCell: {
        auto slider = std::make_shared<UISlider>();
        slider->setMaximumValue(numberOr(row, "max", 1));
        slider->setMinimumValue(numberOr(row, "min", 0));
        contentView()->addSubview(slider);
        m_control = slider;
        if (isTrue(row, "showValue")) {
            auto label = std::make_shared<UILabel>();
            label->setTextAlignment(NSTextAlignmentRight);
            label->setTextColor(UIColor::secondaryLabelColor());
            contentView()->addSubview(label);
            m_valueLabel = label;
        }
        break;
    }
    case PSSegmentCell: {
        auto segments = UISegmentedControl::initWithItems(titlesOf(row, true));
        contentView()->addSubview(segments);
        m_control = segments;
        break;
    }
    case PSEditTextCell:
    case PSSecureEditTextCell: {
        auto field = std::make_shared<UITextField>();
        field->setPlaceholder(row.properties()["placeholder"].stringValue());
        field->setSecureTextEntry(cellType == PSSecureEditTextCell);
        field->setKeyboardType(keyboardFor(row));
        contentView()->addSubview(field);
        m_control = field;
        break;
    }
    case PSSpinnerCell: {
        auto spinner = std::make_shared<UIActivityIndicatorView>();
        spinner->setFrame(CGRectMake(0, 0, 20, 20));
        setAccessoryView(spinner);
        break;
    }
    default:
        break;
    }
    setNeedsLayout();
    if (!m_control)
        return;
    std::weak_ptr<PSTableCell> weakSelf = selfAs<PSTableCell>();
    UIControlEvents reported = cellType == PSEditTextCell || cellType == PSSecureEditTextCell
                                   ? UIControlEventEditingDidEnd
                                   : UIControlEventValueChanged;
    m_control->addAction(
        [weakSelf](const std::shared_ptr<UIControl>&) {
            if (auto self = weakSelf.lock())
                self->controlDidChange();
        },
        reported);
}

void PSTableCell::setCellEnabled(bool enabled) {
    m_cellEnabled = enabled;
    setUserInteractionEnabled(enabled);
    if (m_control) {
        m_control->setEnabled(enabled);
        m_control->setAlpha(enabled ? 1 : disabledAlpha);
    }
    if (!text().empty())
        textLabel()->setAlpha(enabled ? 1 : disabledAlpha);
    if (!detailText().empty())
        detailTextLabel()->setAlpha(enabled ? 1 : disabledAlpha);
}

void PSTableCell::setValue(const Value& value) {
    if (!m_specifier)
        return;
    const auto& row = *m_specifier;
    if (auto toggle = std::dynamic_pointer_cast<UISwitch>(m_control)) {
        bool on = value.boolValue();
        toggle->setOn(isTrue(row, "negate") ? !on : on);
    } else if (auto slider = std::dynamic_pointer_cast<UISlider>(m_control)) {
        slider->setValue(value.isNumber() ? value.doubleValue() : slider->minimumValue());
        showSliderValue();
    } else if (auto segments = std::dynamic_pointer_cast<UISegmentedControl>(m_control)) {
        segments->setSelectedSegmentIndex(indexOfValue(row, value));
    } else if (auto field = std::dynamic_pointer_cast<UITextField>(m_control)) {
        field->setText(value.isNull() ? std::string() : value.stringValue());
    } else if (row.cellType() == PSLinkListCell || row.cellType() == PSTitleValueCell) {
        long index = indexOfValue(row, value);
        auto titles = titlesOf(row, false);
        if (index >= 0 && index < static_cast<long>(titles.size()))
            setDetailText(titles[static_cast<std::size_t>(index)]);
        else
            setDetailText(row.cellType() == PSTitleValueCell && !value.isNull() ? value.stringValue() : "");
        setCellEnabled(m_cellEnabled);
    }
}

Value PSTableCell::controlValue() const {
    if (!m_specifier)
        return {};
    const auto& row = *m_specifier;
    if (auto toggle = std::dynamic_pointer_cast<UISwitch>(m_control))
        return Value(isTrue(row, "negate") ? !toggle->isOn() : toggle->isOn());
    if (auto slider = std::dynamic_pointer_cast<UISlider>(m_control))
        return Value(slider->value());
    if (auto segments = std::dynamic_pointer_cast<UISegmentedControl>(m_control)) {
        const Value& values = listOf(row, row.values(), "validValues");
        long index = segments->selectedSegmentIndex();
        if (!values.isArray() || index < 0 || index >= static_cast<long>(values.asArray().size()))
            return {};
        return values.asArray()[static_cast<std::size_t>(index)];
    }
    if (auto field = std::dynamic_pointer_cast<UITextField>(m_control))
        return Value(field->text());
    return {};
}

std::string PSTableCell::valueText() const {
    if (auto field = std::dynamic_pointer_cast<UITextField>(m_control))
        return field->displayedText();
    if (auto label = std::dynamic_pointer_cast<UILabel>(m_valueLabel))
        return label->text();
    return detailText();
}

bool PSTableCell::_changeControlValue(const Value& value) {
    if (!m_control || !m_control->isEnabled() || !m_specifier)
        return false;
    if (auto field = std::dynamic_pointer_cast<UITextField>(m_control)) {
        field->setText(value.stringValue());
        m_control->sendActionsForControlEvents(UIControlEventEditingDidEnd);
        return true;
    }
    setValue(value);
    m_control->sendActionsForControlEvents(UIControlEventValueChanged);
    return true;
}

void PSTableCell::controlDidChange() {
    auto specifier = m_specifier;
    if (!specifier)
        return;
    showSliderValue();
    id target = specifier->target();
    if (!target)
        return;
    std::string_view setter = specifier->setter.empty() ? PSSpecifier::defaultSetter : specifier->setter;
    objc_msgSend(target, setter, {MessageValue(controlValue()), MessageValue(specifier)});
}

void PSTableCell::showSliderValue() {
    auto label = std::dynamic_pointer_cast<UILabel>(m_valueLabel);
    auto slider = std::dynamic_pointer_cast<UISlider>(m_control);
    if (label && slider)
        label->setText(formattedNumber(slider->value()));
}

void PSTableCell::refreshTextColour() {
    if (m_specifier && m_specifier->cellType() == PSButtonCell && !text().empty())
        textLabel()->setTextColor(tintColor());
}

void PSTableCell::tintColorDidChange() {
    UITableViewCell::tintColorDidChange();
    refreshTextColour();
}

void PSTableCell::didMoveToWindow() {
    UITableViewCell::didMoveToWindow();
    refreshTextColour();
}

void PSTableCell::layoutSubviews() {
    UITableViewCell::layoutSubviews();
}

void PSTableCell::layoutLabels(CGFloat leading, CGFloat trailing) {
    CGRect box = bounds();
    // A slider or segment row is all control: its label is not shown, as on the device.
    bool controlFillsRow = std::dynamic_pointer_cast<UISlider>(m_control) || std::dynamic_pointer_cast<UISegmentedControl>(m_control);
    if (!text().empty())
        textLabel()->setHidden(controlFillsRow);
    if (auto slider = std::dynamic_pointer_cast<UISlider>(m_control)) {
        CGFloat end = m_valueLabel ? trailing - sliderValueWidth - accessorySpacing : trailing;
        slider->setFrame({{leading, 0}, {std::max<CGFloat>(0, end - leading), box.size.height}});
        if (m_valueLabel)
            m_valueLabel->setFrame({{trailing - sliderValueWidth, 0}, {sliderValueWidth, box.size.height}});
        return;
    }
    if (std::dynamic_pointer_cast<UISegmentedControl>(m_control)) {
        CGFloat height = std::min(segmentHeight, box.size.height);
        m_control->setFrame(
            {{leading, (box.size.height - height) / 2}, {std::max<CGFloat>(0, trailing - leading), height}});
        return;
    }
    UITableViewCell::layoutLabels(leading, trailing);
    if (auto field = std::dynamic_pointer_cast<UITextField>(m_control)) {
        CGFloat start = leading;
        if (!text().empty()) {
            auto label = textLabel();
            CGFloat width = std::min(label->sizeThatFits({trailing - leading, box.size.height}).width,
                                     (trailing - leading) * 0.45);
            label->setFrame({{leading, 0}, {width, box.size.height}});
            start = leading + width + 2 * accessorySpacing;
        }
        field->setFrame({{start, 0}, {std::max<CGFloat>(0, trailing - start), box.size.height}});
    }
}

PSCellType PSTableCell::cellTypeFromString(std::string_view name) {
    return platform::CellTypeNames::cellType(name);
}

std::string_view PSTableCell::stringFromCellType(PSCellType cellType) {
    return platform::CellTypeNames::name(cellType);
}

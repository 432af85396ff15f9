#include "followprompt/alert/ZRMerrowAlertHeaderAnimatedBackgroundNode.h"

#include "platform/uikit/UIColor.h"
#include "platform/uikit/UIFont.h"

namespace {

[[maybe_unused]] const Class registeredNode =
    platform::registerClass<ZRMerrowAlertHeaderAnimatedBackgroundNode, UILabel>("ZRMerrowAlertHeaderAnimatedBackgroundNode");

constexpr double textWhiteLevel = 0.4;

} // namespace

std::shared_ptr<ZRMerrowAlertHeaderAnimatedBackgroundNode>
ZRMerrowAlertHeaderAnimatedBackgroundNode::initWithInfo(const Value& info) {
    // Unsigned arithmetic as on the device: a missing prominence (0) wraps to the largest value.
    const auto prominence = static_cast<std::uint64_t>(info["prominence"].integerValue()) - 1u;
    return initWithTitle(info["name"].stringValue(), prominence);
}

std::shared_ptr<ZRMerrowAlertHeaderAnimatedBackgroundNode>
ZRMerrowAlertHeaderAnimatedBackgroundNode::initWithTitle(std::string title, std::uint64_t prominence) {
    _prominence = prominence;
    initWithFrame(CGRectZero);
    setText(std::move(title));
    return selfAs<ZRMerrowAlertHeaderAnimatedBackgroundNode>();
}

std::shared_ptr<UIView> ZRMerrowAlertHeaderAnimatedBackgroundNode::initWithFrame(CGRect frame) {
    auto view = UILabel::initWithFrame(frame);
    setTextColor(UIColor::colorWithWhite(textWhiteLevel, _alphaForProminence(_prominence)));
    setFont(UIFont::systemFontOfSize(_fontSizeForProminence(_prominence)));
    return view;
}

double ZRMerrowAlertHeaderAnimatedBackgroundNode::_fontSizeForProminence(std::uint64_t prominence) {
    switch (prominence) {
    case 1:
        return 13;
    case 2:
        return 11;
    default:
        return 16;
    }
}

double ZRMerrowAlertHeaderAnimatedBackgroundNode::_alphaForProminence(std::uint64_t prominence) {
    return prominence == 1 || prominence == 2 ? 1.0 : 0.5;
}

double ZRMerrowAlertHeaderAnimatedBackgroundNode::_speedForProminence(std::uint64_t prominence) {
    return 6.0 * (static_cast<double>(prominence) + 1.0);
}

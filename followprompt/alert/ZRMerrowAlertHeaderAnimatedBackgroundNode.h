#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/foundation/Value.h"
#include "platform/uikit/UILabel.h"

// One drifting name of the header's cloud. Its prominence (the item's "prominence" minus one) picks
// its size, opacity and speed; the background view keeps the node's row in its tag.
class ZRMerrowAlertHeaderAnimatedBackgroundNode : public UILabel {
public:
    ZRMerrowAlertHeaderAnimatedBackgroundNode() = default;

    // Reads "name" and "prominence" of one background item.
    std::shared_ptr<ZRMerrowAlertHeaderAnimatedBackgroundNode> initWithInfo(const Value& info);
    std::shared_ptr<ZRMerrowAlertHeaderAnimatedBackgroundNode> initWithTitle(std::string title,
                                                                             std::uint64_t prominence);
    // Styles the label for the prominence stored before it is called.
    std::shared_ptr<UIView> initWithFrame(CGRect frame) override;

    std::uint64_t prominence() const { return _prominence; }

    static double _fontSizeForProminence(std::uint64_t prominence);
    static double _alphaForProminence(std::uint64_t prominence);
    // Points per second, leftwards.
    static double _speedForProminence(std::uint64_t prominence);

private:
    std::uint64_t _prominence = 0;
};

using ZRMerrowAlertHeaderAnimatedBackgroundNodePtr =
    std::shared_ptr<ZRMerrowAlertHeaderAnimatedBackgroundNode>;

#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "followprompt/alert/ZRMerrowAlertHeaderAnimatedBackgroundNode.h"
#include "platform/foundation/Value.h"
#include "platform/uikit/CADisplayLink.h"
#include "platform/uikit/UIView.h"

// The band of names behind the header's avatar: nine rows of names drifting leftwards, each row
// refilled from the right as soon as its last name has crossed the left edge. A display link moves
// them while the view is in a window. Items without a string "name" or with a "prominence" that is
// not a number of at least 1 are left out; with no usable items the band stays empty.
class ZRMerrowAlertHeaderAnimatedBackgroundView : public UIView {
public:
    static constexpr long rowCount = 9;
    static constexpr int samplesPerPlacement = 10;
    static constexpr double entranceDuration = 0.2;
    static constexpr double entranceStagger = 0.15;
    static constexpr double entranceScale = 0.5;

    ZRMerrowAlertHeaderAnimatedBackgroundView() = default;
    ~ZRMerrowAlertHeaderAnimatedBackgroundView() override;

    using UIView::initWithFrame;
    // The items are the header's "background_items" array; the display link is made, not scheduled.
    std::shared_ptr<ZRMerrowAlertHeaderAnimatedBackgroundView> initWithFrame(CGRect frame, const Value& info);

    void didMoveToWindow() override;
    void layoutSubviews() override;
    // One display frame: moves every name by the time since the previous frame.
    void tick();
    // Replaces every name with one per row, placed apart from each other; animated, they pop in from
    // the centre outwards.
    void spawnInitialItemsAnimated(bool animated);

    // The next item as a node (cyclically through the items); nil when there are none.
    ZRMerrowAlertHeaderAnimatedBackgroundNodePtr createNode();
    // The centre y of a node in a row.
    CGFloat findVerticalPositionForNode(const ZRMerrowAlertHeaderAnimatedBackgroundNodePtr& node,
                                        std::uint64_t rowIndex) const;
    // Of ten random x positions on the line of `start`, the one farthest from its closest node;
    // `start` itself when no sample beats it.
    CGPoint findBestPositionForNewNodeSampling(
        CGPoint start, const std::vector<ZRMerrowAlertHeaderAnimatedBackgroundNodePtr>& nodes) const;
    // The squared distance to the closest node's centre; -1 without nodes.
    double distanceOfClosestNodeForPoint(
        CGPoint point, const std::vector<ZRMerrowAlertHeaderAnimatedBackgroundNodePtr>& nodes) const;
    static double monotonicDistanceBetween(CGPoint a, CGPoint b);

    const std::vector<ZRMerrowAlertHeaderAnimatedBackgroundNodePtr>& currentNodes() const {
        return m_currentNodes;
    }
    const Value::Array& items() const { return m_items; }
    const std::shared_ptr<CADisplayLink>& displayLink() const { return m_displayLink; }
    double lastTick() const { return m_lastTick; }

private:
    static bool isUsableItem(const Value& item);
    std::uint32_t sampleWidth() const;
    void addNode(const ZRMerrowAlertHeaderAnimatedBackgroundNodePtr& node);
    void animateEntrance(std::vector<ZRMerrowAlertHeaderAnimatedBackgroundNodePtr> nodes,
                         CGPoint centre) const;
    void spawnIntoFreeRows(const std::vector<bool>& occupied);

    std::vector<ZRMerrowAlertHeaderAnimatedBackgroundNodePtr> m_currentNodes;
    Value::Array m_items;
    std::uint64_t m_lastItemIndex = 0;
    CGSize m_lastSize = CGSizeZero;
    std::shared_ptr<CADisplayLink> m_displayLink;
    double m_lastTick = 0;
};

using ZRMerrowAlertHeaderAnimatedBackgroundViewPtr =
    std::shared_ptr<ZRMerrowAlertHeaderAnimatedBackgroundView>;

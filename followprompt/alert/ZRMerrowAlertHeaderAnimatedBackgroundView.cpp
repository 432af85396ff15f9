#include "followprompt/alert/ZRMerrowAlertHeaderAnimatedBackgroundView.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/foundation/MediaClock.h"
#include "platform/foundation/NSProcessInfo.h"
#include "platform/foundation/RandomSource.h"
#include "platform/runtime/MethodBinding.h"
#include "platform/uikit/NSRunLoop.h"

namespace {

using View = ZRMerrowAlertHeaderAnimatedBackgroundView;

// The display link reaches tick() through the runtime, by selector.
[[maybe_unused]] const Class backgroundViewClass = platform::registerClass<View, UIView>(
    "ZRMerrowAlertHeaderAnimatedBackgroundView", {{"tick", platform::bind<&View::tick>(), "v@:"}});

bool runsIOS13OrLater() {
    return NSProcessInfo::processInfo().isOperatingSystemAtLeastVersion({13, 0, 0});
}

} // namespace

ZRMerrowAlertHeaderAnimatedBackgroundView::~ZRMerrowAlertHeaderAnimatedBackgroundView() {
    if (m_displayLink)
        m_displayLink->invalidate();
}

std::shared_ptr<ZRMerrowAlertHeaderAnimatedBackgroundView>
ZRMerrowAlertHeaderAnimatedBackgroundView::initWithFrame(CGRect frame, const Value& info) {
    UIView::initWithFrame(frame);
    m_items.clear();
    for (const auto& item : info.asArray())
        if (isUsableItem(item))
            m_items.push_back(item);
    auto self = selfAs<ZRMerrowAlertHeaderAnimatedBackgroundView>();
    m_displayLink = CADisplayLink::displayLinkWithTarget(self, "tick");
    return self;
}

bool ZRMerrowAlertHeaderAnimatedBackgroundView::isUsableItem(const Value& item) {
    const auto& prominence = item["prominence"];
    return item["name"].isString() && (prominence.isInteger() || prominence.isReal()) &&
           prominence.doubleValue() >= 1;
}

void ZRMerrowAlertHeaderAnimatedBackgroundView::didMoveToWindow() {
    UIView::didMoveToWindow();
    if (!m_displayLink)
        return;
    if (window()) {
        m_displayLink->addToRunLoop(NSRunLoop::currentRunLoop(), NSRunLoopCommonModes);
        if (!runsIOS13OrLater())
            spawnInitialItemsAnimated(true);
    } else {
        // Off screen nothing should tick, and the run loop must not keep the link (and its work) alive.
        m_displayLink->removeFromRunLoop(NSRunLoop::currentRunLoop(), NSRunLoopCommonModes);
    }
}

void ZRMerrowAlertHeaderAnimatedBackgroundView::layoutSubviews() {
    UIView::layoutSubviews();
    const CGSize size = bounds().size;
    if (size.width == m_lastSize.width && size.height == m_lastSize.height)
        return;
    spawnInitialItemsAnimated(runsIOS13OrLater());
    m_lastSize = size;
}

ZRMerrowAlertHeaderAnimatedBackgroundNodePtr ZRMerrowAlertHeaderAnimatedBackgroundView::createNode() {
    if (m_items.empty())
        return nullptr;
    if (m_lastItemIndex >= m_items.size())
        m_lastItemIndex = 0;
    auto node = std::make_shared<ZRMerrowAlertHeaderAnimatedBackgroundNode>();
    node->initWithInfo(m_items[m_lastItemIndex]);
    if (++m_lastItemIndex >= m_items.size())
        m_lastItemIndex = 0;
    return node;
}

CGFloat ZRMerrowAlertHeaderAnimatedBackgroundView::findVerticalPositionForNode(
    const ZRMerrowAlertHeaderAnimatedBackgroundNodePtr& node, std::uint64_t rowIndex) const {
    const CGFloat rowHeight = bounds().size.height / static_cast<CGFloat>(rowCount);
    return rowHeight * (static_cast<CGFloat>(rowIndex) + 0.5) - node->frame().size.height / 2;
}

std::uint32_t ZRMerrowAlertHeaderAnimatedBackgroundView::sampleWidth() const {
    const CGFloat width = bounds().size.width;
    if (!(width >= 1))
        return 0;
    if (width >= static_cast<CGFloat>(std::numeric_limits<std::uint32_t>::max()))
        return std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(width);
}

CGPoint ZRMerrowAlertHeaderAnimatedBackgroundView::findBestPositionForNewNodeSampling(
    CGPoint start, const std::vector<ZRMerrowAlertHeaderAnimatedBackgroundNodePtr>& nodes) const {
    double bestDistance = 0;
    CGPoint best = start;
    const std::uint32_t width = sampleWidth();
    for (int sample = 0; sample < samplesPerPlacement; ++sample) {
        const CGPoint candidate{static_cast<CGFloat>(arc4random_uniform(width)), start.y};
        const double distance = distanceOfClosestNodeForPoint(candidate, nodes);
        if (distance > bestDistance) {
            bestDistance = distance;
            best = candidate;
        }
    }
    return best;
}

double ZRMerrowAlertHeaderAnimatedBackgroundView::distanceOfClosestNodeForPoint(
    CGPoint point, const std::vector<ZRMerrowAlertHeaderAnimatedBackgroundNodePtr>& nodes) const {
    if (nodes.empty())
        return -1;
    double closest = std::numeric_limits<double>::max();
    for (const auto& node : nodes)
        closest = std::min(closest, monotonicDistanceBetween(point, node->center()));
    return closest;
}

double ZRMerrowAlertHeaderAnimatedBackgroundView::monotonicDistanceBetween(CGPoint a, CGPoint b) {
    const double dx = a.x - b.x;
    const double dy = a.y - b.y;
    return dx * dx + dy * dy;
}

void ZRMerrowAlertHeaderAnimatedBackgroundView::addNode(
    const ZRMerrowAlertHeaderAnimatedBackgroundNodePtr& node) {
    m_currentNodes.push_back(node);
    addSubview(node);
}

void ZRMerrowAlertHeaderAnimatedBackgroundView::spawnInitialItemsAnimated(bool animated) {
    m_lastItemIndex = 0;
    for (const auto& node : m_currentNodes)
        node->removeFromSuperview();
    m_currentNodes.clear();
    const CGPoint centre{CGRectGetMidX(bounds()), CGRectGetMidY(bounds())};
    CGFloat x = centre.x;
    std::vector<ZRMerrowAlertHeaderAnimatedBackgroundNodePtr> placed;
    for (long row = 0; row < rowCount; ++row) {
        auto node = createNode();
        if (!node)
            break;
        if (animated) {
            node->setAlpha(0);
            node->setTransform(CGAffineTransformMakeScale(entranceScale, entranceScale));
        }
        node->setTag(row);
        node->sizeToFit();
        const CGFloat y = findVerticalPositionForNode(node, static_cast<std::uint64_t>(row));
        const CGPoint point = findBestPositionForNewNodeSampling({x, y}, placed);
        node->setCenter(point);
        x = point.x;
        placed.push_back(node);
        addSubview(node);
    }
    if (animated)
        animateEntrance(placed, centre);
    m_currentNodes = std::move(placed);
}

void ZRMerrowAlertHeaderAnimatedBackgroundView::animateEntrance(
    std::vector<ZRMerrowAlertHeaderAnimatedBackgroundNodePtr> nodes, CGPoint centre) const {
    std::stable_sort(nodes.begin(), nodes.end(), [centre](const auto& a, const auto& b) {
        return monotonicDistanceBetween(a->center(), centre) < monotonicDistanceBetween(b->center(), centre);
    });
    const UIViewAnimationOptions options =
        UIViewAnimationOptionAllowUserInteraction | UIViewAnimationOptionBeginFromCurrentState;
    for (std::size_t index = 0; index < nodes.size(); ++index) {
        std::weak_ptr<ZRMerrowAlertHeaderAnimatedBackgroundNode> weakNode = nodes[index];
        UIView::animateWithDuration(
            entranceDuration, entranceStagger * static_cast<double>(index), options,
            [weakNode] {
                if (auto node = weakNode.lock()) {
                    node->setAlpha(1);
                    node->setTransform(CGAffineTransformIdentity);
                }
            },
            nullptr);
    }
}

void ZRMerrowAlertHeaderAnimatedBackgroundView::tick() {
    const double now = CACurrentMediaTime();
    if (!(m_lastTick > 0)) {
        m_lastTick = now;
        return;
    }
    const double dt = now - m_lastTick;
    std::vector<bool> occupied(rowCount, false);
    const auto snapshot = m_currentNodes;
    for (const auto& node : snapshot) {
        const CGPoint centre = node->center();
        const double speed =
            ZRMerrowAlertHeaderAnimatedBackgroundNode::_speedForProminence(node->prominence());
        node->setCenter({centre.x - dt * speed, centre.y});
        if (CGRectGetMaxX(node->frame()) < 0) {
            node->removeFromSuperview();
            std::erase(m_currentNodes, node);
        } else if (node->center().x > 0 && node->tag() >= 0 && node->tag() < rowCount) {
            occupied[static_cast<std::size_t>(node->tag())] = true;
        }
    }
    spawnIntoFreeRows(occupied);
    m_lastTick = now;
}

void ZRMerrowAlertHeaderAnimatedBackgroundView::spawnIntoFreeRows(const std::vector<bool>& occupied) {
    for (long row = 0; row < rowCount; ++row) {
        if (occupied[static_cast<std::size_t>(row)])
            continue;
        auto node = createNode();
        if (!node)
            return;
        node->setTag(row);
        node->sizeToFit();
        const CGFloat x = bounds().size.width + node->bounds().size.width / 2;
        node->setCenter({x, findVerticalPositionForNode(node, static_cast<std::uint64_t>(row))});
        addNode(node);
    }
}

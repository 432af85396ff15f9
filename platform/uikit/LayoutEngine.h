#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/uikit/CGGeometry.h"
#include "platform/uikit/layout/Solver.h"

class NSLayoutConstraint;
class UIView;

namespace platform {

class LayoutItem;

// The Auto Layout engine of one view tree, owned by the tree's top view.
//
// It keeps one incremental solver in step with the tree: update() walks the tree, collects the active
// constraints and the items they name (with their superviews up to the top), and then only removes
// and adds what changed since the last update: a new constant is one constraint out and in again, a
// resized top view is a new suggested value for its edit variables. Besides the constraints of the
// code, it makes each member's own constraints:
// - the top view sits at (0, 0); its size is a pair of edit variables just below required, unless it
//   is laid out by constraints itself;
// - a view that translates its autoresizing mask is placed by its frame, and follows its superview's
//   size by its mask (the same rule as the frame-based autoresizing, written as linear constraints);
// - a view laid out by constraints that has an intrinsic content size hugs it (at its hugging
//   priority) and resists being squeezed below it (at its compression resistance priority);
// - layout guides sit where their owning view puts them.
// A required constraint that cannot be satisfied is logged as the platform logs it and left out.
class LayoutEngine {
public:
    explicit LayoutEngine(UIView& root);
    ~LayoutEngine();
    LayoutEngine(const LayoutEngine&) = delete;
    LayoutEngine& operator=(const LayoutEngine&) = delete;

    void setNeedsUpdate() { m_needsUpdate = true; }
    // Brings the solver in step with the tree and writes the solution into the items' variables.
    // Views whose solved frame changed have their superview marked as needing layout.
    void updateIfNeeded();
    bool isMember(const LayoutItem& item) const { return m_items.count(&item) != 0; }
    // Where the engine puts a member view, in its superview's bounds coordinates.
    std::optional<CGRect> solvedFrame(const UIView& view) const;
    // How many constraints the solver holds (for tests and benchmarks).
    std::size_t solverConstraintCount() const { return m_solver.constraintCount(); }

private:
    struct ItemEntry {
        std::weak_ptr<LayoutItem> item;
        std::vector<layout::Constraint> own;
        std::uint64_t revision = 0;
        std::uint64_t seen = 0;
        bool built = false;
    };
    struct ConstraintEntry {
        std::weak_ptr<NSLayoutConstraint> constraint;
        std::optional<layout::Constraint> solved;
        std::uint64_t revision = 0;
        std::uint64_t seen = 0;
        bool built = false;
    };

    void collect(UIView& view);
    void want(LayoutItem& item);
    void wantConstraint(NSLayoutConstraint& constraint);
    void removeStale();
    void addMissing();
    void updateRootSize();
    void markMovedViews();
    std::vector<layout::Constraint> ownConstraints(LayoutItem& item);
    std::optional<layout::Constraint> solverConstraint(NSLayoutConstraint& constraint);
    bool addToSolver(const layout::Constraint& constraint, const NSLayoutConstraint* owner);

    UIView& m_root;
    layout::Solver m_solver;
    std::unordered_map<const LayoutItem*, ItemEntry> m_items;
    std::unordered_map<const NSLayoutConstraint*, ConstraintEntry> m_constraints;
    std::vector<const LayoutItem*> m_wantedItems;
    std::vector<const NSLayoutConstraint*> m_wantedConstraints;
    std::optional<CGSize> m_rootEditSize;
    std::uint64_t m_pass = 0;
    bool m_needsUpdate = true;
};

} // namespace platform

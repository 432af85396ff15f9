// The form the benchmark lays out, checked for the geometry it should produce.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/uikit/layout/Solver.h"

using namespace platform::layout;

namespace {

struct Box {
    explicit Box(const std::string& name) : x(name + ".x"), y(name + ".y"), w(name + ".w"), h(name + ".h") {}
    Variable x, y, w, h;
};

} // namespace

TEST(LayoutForm, LabelsAndFieldsFollowTheContainer) {
    constexpr int kRows = 12;
    Box container("container");
    std::vector<Box> labels, fields;
    Solver solver;
    auto add = [&](const Constraint& constraint) {
        ASSERT_EQ(solver.addConstraint(constraint), AddResult::Added);
    };
    add(container.x == 0);
    add(container.y == 0);
    for (int row = 0; row < kRows; ++row) {
        labels.emplace_back("label" + std::to_string(row));
        fields.emplace_back("field" + std::to_string(row));
        const Box& label = labels.back();
        const Box& field = fields.back();
        add(label.x == container.x + 20);
        add(field.x == label.x + label.w + 8);
        add(field.x + field.w == container.x + container.w - 20);
        add(label.w >= 60);
        add(field.w >= 40);
        add(row == 0 ? label.y == container.y + 20 : label.y == labels[row - 1].y + labels[row - 1].h + 8);
        add(field.y == label.y);
        add(field.h == label.h);
        add((label.h == 30) | Strength::strong());
        add((label.w == 100) | Strength::weak());
    }
    Constraint fit =
        (labels.back().y + labels.back().h <= container.y + container.h - 20) | Strength::medium();
    add(fit);
    ASSERT_EQ(solver.addEditVariable(container.w, Strength::strong()), EditResult::Done);
    ASSERT_EQ(solver.addEditVariable(container.h, Strength::strong()), EditResult::Done);

    // Wide enough: labels keep their preferred width and fields take the rest. Too narrow for that:
    // labels give way (weak) down to their minimum, then the fields reach theirs and the required
    // minimums push the container wider than suggested.
    const std::vector<std::array<double, 4>> cases{
        // width, height, expected label width, expected container width
        {320, 480, 100, 320},
        {200, 900, 100, 200},
        {150, 700, 62, 150},
        {100, 700, 60, 148},
        {1024, 768, 100, 1024}};
    for (const auto& [width, height, labelWidth, containerWidth] : cases) {
        solver.suggestValue(container.w, width);
        solver.suggestValue(container.h, height);
        solver.updateVariables();
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        EXPECT_DOUBLE_EQ(container.w.value(), containerWidth);
        EXPECT_DOUBLE_EQ(container.h.value(), height);
        for (int row = 0; row < kRows; ++row) {
            EXPECT_DOUBLE_EQ(labels[row].x.value(), 20);
            EXPECT_DOUBLE_EQ(labels[row].w.value(), labelWidth);
            EXPECT_DOUBLE_EQ(fields[row].x.value(), 28 + labelWidth);
            EXPECT_DOUBLE_EQ(fields[row].w.value(), containerWidth - 48 - labelWidth);
            EXPECT_DOUBLE_EQ(labels[row].y.value(), 20 + 38 * row);
            EXPECT_DOUBLE_EQ(fields[row].y.value(), labels[row].y.value());
            EXPECT_DOUBLE_EQ(labels[row].h.value(), 30);
            EXPECT_DOUBLE_EQ(fields[row].h.value(), 30);
        }
    }

    // The medium "fit" constraint loses to the strong heights, whatever the container's height.
    solver.suggestValue(container.h, 100);
    EXPECT_DOUBLE_EQ((solver.updateVariables(), labels.back().y.value()), 20 + 38 * (kRows - 1));
    EXPECT_DOUBLE_EQ(container.h.value(), 100);
    // Without the container's height edit, the fit constraint sizes the container instead.
    solver.removeEditVariable(container.h);
    solver.updateVariables();
    EXPECT_DOUBLE_EQ(container.h.value(), 20 + 38 * kRows - 8 + 20);
    EXPECT_EQ(solver.removeConstraint(fit), RemoveResult::Removed);
}

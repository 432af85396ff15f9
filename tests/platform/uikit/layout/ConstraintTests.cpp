#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/uikit/layout/Constraint.h"

using namespace platform::layout;

TEST(LayoutConstraint, ExpressionsCombineLikeTermsAndEvaluate) {
    Variable x("x"), y("y");
    x.setValue(3);
    y.setValue(5);
    Expression expression = 2 * x + y - x + 4 - (y - 1) / 2;
    EXPECT_DOUBLE_EQ(expression.value(), 2 * 3 + 5 - 3 + 4 - (5 - 1) / 2.0);
    Expression reduced = expression.reduced();
    ASSERT_EQ(reduced.terms().size(), 2u);
    EXPECT_TRUE(reduced.terms()[0].variable().sameAs(x));
    EXPECT_DOUBLE_EQ(reduced.terms()[0].coefficient(), 1.0);
    EXPECT_DOUBLE_EQ(reduced.terms()[1].coefficient(), 0.5);
    EXPECT_DOUBLE_EQ(reduced.constant(), 4.5);
    EXPECT_TRUE((x - x).reduced().terms().empty());

    Variable copy = x;
    EXPECT_TRUE(copy.sameAs(x));
    EXPECT_FALSE(Variable("x").sameAs(x));
    copy.setValue(9);
    EXPECT_DOUBLE_EQ(x.value(), 9);
}

// The UIKit layer logs this text when it drops a constraint, so it must name what was meant.
TEST(LayoutConstraint, DescribesItselfForTheLog) {
    Variable fieldX("field.x"), fieldW("field.w"), width("container.w"), unnamed;
    Constraint pin = fieldX + fieldW == width - 20;
    EXPECT_EQ(pin.description(), "field.x + field.w - container.w + 20 == 0 [required]");
    Constraint scaled = (-2 * fieldX + 0.5 * width <= 8) | Strength::fromPriority(999);
    EXPECT_EQ(scaled.description(), "-2 * field.x + 0.5 * container.w - 8 <= 0 [priority 999]");
    Constraint hug = (-fieldW >= unnamed - 3.25 * width) | Strength::weak().withWeight(2);
    EXPECT_EQ(hug.description(), "-field.w - <unnamed> + 3.25 * container.w >= 0 [priority 250, weight 2]");
    EXPECT_EQ((Expression(4) == 0).description(), "4 == 0 [required]");

    // A strength makes a new constraint; the old one keeps its own identity and strength.
    Constraint weakPin = pin | Strength::weak();
    EXPECT_FALSE(weakPin.sameAs(pin));
    EXPECT_TRUE(pin.isRequired());
    EXPECT_FALSE(weakPin.isRequired());
}

TEST(LayoutConstraint, PrioritiesMapOntoStrengths) {
    EXPECT_TRUE(Strength::fromPriority(1000).isRequired());
    EXPECT_TRUE(Strength::fromPriority(1200).isRequired());
    EXPECT_FALSE(Strength::fromPriority(999.5f).isRequired());
    EXPECT_EQ(Strength::fromPriority(750), Strength::strong());
    EXPECT_EQ(Strength::fromPriority(500), Strength::medium());
    EXPECT_EQ(Strength::fromPriority(250), Strength::weak());
    EXPECT_EQ(Strength::fromPriority(0).priority(), 1.0f);
    EXPECT_EQ(Strength::fromPriority(-40).priority(), 1.0f);
    EXPECT_EQ(Strength::fromPriority(std::numeric_limits<float>::quiet_NaN()).priority(), 1.0f);
    EXPECT_EQ(Strength::fromPriority(750.5f).priority(), 750.5f);
    EXPECT_EQ(Strength::strong().withWeight(-1).weight(), 1.0);
    EXPECT_EQ(Strength::strong().withWeight(std::nan("")).weight(), 1.0);
    EXPECT_EQ(Strength::strong().withWeight(3).weight(), 3.0);
    EXPECT_EQ(Strength::required().description(), "required");
    EXPECT_EQ(Strength::fromPriority(750.5f).description(), "priority 750.5");
}

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "platform/uikit/CGGeometry.h"

namespace {

void expectPointNear(CGPoint actual, CGPoint expected) {
    EXPECT_NEAR(actual.x, expected.x, 1e-9);
    EXPECT_NEAR(actual.y, expected.y, 1e-9);
}

void expectRectNear(CGRect actual, CGRect expected) {
    expectPointNear(actual.origin, expected.origin);
    EXPECT_NEAR(actual.size.width, expected.size.width, 1e-9);
    EXPECT_NEAR(actual.size.height, expected.size.height, 1e-9);
}

} // namespace

TEST(CGGeometry, NegativeSizesAreStandardizedEverywhere) {
    CGRect flipped = CGRectMake(10, 20, -4, -6);
    EXPECT_EQ(CGRectStandardize(flipped), CGRectMake(6, 14, 4, 6));
    EXPECT_EQ(CGRectGetMinX(flipped), 6);
    EXPECT_EQ(CGRectGetMaxY(flipped), 20);
    EXPECT_EQ(CGRectGetMidX(flipped), 8);
    EXPECT_EQ(CGRectGetWidth(flipped), 4);
    EXPECT_TRUE(CGRectEqualToRect(flipped, CGRectMake(6, 14, 4, 6)));
    EXPECT_TRUE(CGRectContainsPoint(flipped, CGPointMake(7, 15)));
}

TEST(CGGeometry, IntersectionsUnionsAndInsets) {
    CGRect a = CGRectMake(0, 0, 10, 10);
    EXPECT_EQ(CGRectIntersection(a, CGRectMake(5, 5, 10, 10)), CGRectMake(5, 5, 5, 5));
    EXPECT_TRUE(CGRectIsNull(CGRectIntersection(a, CGRectMake(20, 0, 5, 5))));
    // Touching edges meet in an empty rectangle that is not Null.
    CGRect touching = CGRectIntersection(a, CGRectMake(10, 0, 5, 5));
    EXPECT_FALSE(CGRectIsNull(touching));
    EXPECT_TRUE(CGRectIsEmpty(touching));
    EXPECT_FALSE(CGRectIntersectsRect(a, CGRectMake(10, 0, 5, 5)));

    EXPECT_EQ(CGRectUnion(a, CGRectMake(20, -5, 5, 5)), CGRectMake(0, -5, 25, 15));
    EXPECT_EQ(CGRectUnion(CGRectNull, a), a);

    // Maximum edges are outside.
    EXPECT_TRUE(CGRectContainsPoint(a, CGPointMake(0, 0)));
    EXPECT_FALSE(CGRectContainsPoint(a, CGPointMake(10, 5)));
    EXPECT_TRUE(CGRectContainsRect(a, CGRectMake(2, 2, 8, 8)));
    EXPECT_FALSE(CGRectContainsRect(a, CGRectMake(2, 2, 9, 8)));

    EXPECT_EQ(CGRectInset(a, 2, 3), CGRectMake(2, 3, 6, 4));
    EXPECT_EQ(CGRectInset(a, -1, -1), CGRectMake(-1, -1, 12, 12));
    EXPECT_TRUE(CGRectIsNull(CGRectInset(a, 6, 0)));
    EXPECT_EQ(CGRectOffset(a, 3, -2), CGRectMake(3, -2, 10, 10));
}

TEST(CGGeometry, TransformsComposeInThePlatformsOrder) {
    CGPoint p = CGPointMake(1, 0);
    auto rotate = CGAffineTransformMakeRotation(std::numbers::pi / 2);
    // Positive angles turn x towards y.
    expectPointNear(CGPointApplyAffineTransform(p, rotate), CGPointMake(0, 1));

    // Concat(t1, t2) applies t1 first.
    auto scale = CGAffineTransformMakeScale(2, 3);
    auto move = CGAffineTransformMakeTranslation(5, 7);
    expectPointNear(CGPointApplyAffineTransform(p, CGAffineTransformConcat(scale, move)), CGPointMake(7, 7));
    expectPointNear(CGPointApplyAffineTransform(p, CGAffineTransformConcat(move, scale)),
                    CGPointMake(12, 21));
    // Translate/Scale/Rotate put the new step before the existing transform.
    expectPointNear(CGPointApplyAffineTransform(p, CGAffineTransformTranslate(scale, 5, 7)),
                    CGPointMake(12, 21));
    expectPointNear(CGPointApplyAffineTransform(p, CGAffineTransformRotate(move, std::numbers::pi / 2)),
                    CGPointMake(5, 8));

    auto combined = CGAffineTransformConcat(CGAffineTransformConcat(rotate, scale), move);
    auto roundTrip = CGAffineTransformConcat(combined, CGAffineTransformInvert(combined));
    expectPointNear(CGPointApplyAffineTransform(CGPointMake(3, -4), roundTrip), CGPointMake(3, -4));
    auto singular = CGAffineTransformMakeScale(0, 1);
    EXPECT_EQ(CGAffineTransformInvert(singular), singular);
    EXPECT_TRUE(CGAffineTransformIsIdentity(CGAffineTransformIdentity));

    // A rotated rectangle's bounds hold all four turned corners.
    expectRectNear(CGRectApplyAffineTransform(CGRectMake(0, 0, 4, 2), rotate), CGRectMake(-2, 0, 2, 4));
    auto sized = CGSizeApplyAffineTransform(CGSizeMake(4, 2), scale);
    EXPECT_EQ(sized, CGSizeMake(8, 6));
}

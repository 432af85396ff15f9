#pragma once

// Core Graphics geometry: points, sizes, rectangles and affine transforms in points, with the
// platform's names. CGFloat is double, as on 64-bit devices.

using CGFloat = double;

struct CGPoint {
    CGFloat x = 0;
    CGFloat y = 0;
    friend bool operator==(const CGPoint&, const CGPoint&) = default;
};

struct CGSize {
    CGFloat width = 0;
    CGFloat height = 0;
    friend bool operator==(const CGSize&, const CGSize&) = default;
};

// A rectangle may have a negative width or height; the CGRectGet... functions and every operation
// work on its standardized form, as on the platform.
struct CGRect {
    CGPoint origin;
    CGSize size;
    friend bool operator==(const CGRect&, const CGRect&) = default;
};

// Maps (x, y) to (a*x + c*y + tx, b*x + d*y + ty).
struct CGAffineTransform {
    CGFloat a = 1, b = 0, c = 0, d = 1;
    CGFloat tx = 0, ty = 0;
    friend bool operator==(const CGAffineTransform&, const CGAffineTransform&) = default;
};

inline constexpr CGPoint CGPointZero{};
inline constexpr CGSize CGSizeZero{};
inline constexpr CGRect CGRectZero{};
inline constexpr CGAffineTransform CGAffineTransformIdentity{};
// The "no rectangle" result of intersecting rectangles that do not meet.
extern const CGRect CGRectNull;

constexpr CGPoint CGPointMake(CGFloat x, CGFloat y) {
    return {x, y};
}
constexpr CGSize CGSizeMake(CGFloat width, CGFloat height) {
    return {width, height};
}
constexpr CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat width, CGFloat height) {
    return {{x, y}, {width, height}};
}

inline bool CGPointEqualToPoint(CGPoint lhs, CGPoint rhs) {
    return lhs == rhs;
}
inline bool CGSizeEqualToSize(CGSize lhs, CGSize rhs) {
    return lhs == rhs;
}
// Compares standardized forms, so {0,0,10,10} equals {10,10,-10,-10}.
bool CGRectEqualToRect(CGRect lhs, CGRect rhs);

CGRect CGRectStandardize(CGRect rect);
CGFloat CGRectGetMinX(CGRect rect);
CGFloat CGRectGetMidX(CGRect rect);
CGFloat CGRectGetMaxX(CGRect rect);
CGFloat CGRectGetMinY(CGRect rect);
CGFloat CGRectGetMidY(CGRect rect);
CGFloat CGRectGetMaxY(CGRect rect);
CGFloat CGRectGetWidth(CGRect rect);
CGFloat CGRectGetHeight(CGRect rect);

bool CGRectIsNull(CGRect rect);
// Null, or zero width or height.
bool CGRectIsEmpty(CGRect rect);
// Includes the minimum edges, excludes the maximum ones.
bool CGRectContainsPoint(CGRect rect, CGPoint point);
bool CGRectContainsRect(CGRect rect, CGRect other);
bool CGRectIntersectsRect(CGRect lhs, CGRect rhs);
CGRect CGRectIntersection(CGRect lhs, CGRect rhs);
CGRect CGRectUnion(CGRect lhs, CGRect rhs);
CGRect CGRectOffset(CGRect rect, CGFloat dx, CGFloat dy);
// Moves every edge inwards by dx, dy (outwards when negative); Null when nothing is left.
CGRect CGRectInset(CGRect rect, CGFloat dx, CGFloat dy);

CGAffineTransform CGAffineTransformMake(CGFloat a, CGFloat b, CGFloat c, CGFloat d, CGFloat tx, CGFloat ty);
CGAffineTransform CGAffineTransformMakeTranslation(CGFloat tx, CGFloat ty);
CGAffineTransform CGAffineTransformMakeScale(CGFloat sx, CGFloat sy);
// Positive angles (radians) turn from the x axis towards the y axis.
CGAffineTransform CGAffineTransformMakeRotation(CGFloat angle);
bool CGAffineTransformIsIdentity(CGAffineTransform transform);
// t1 first, then t2.
CGAffineTransform CGAffineTransformConcat(CGAffineTransform t1, CGAffineTransform t2);
// These apply the new step before `transform`, as the platform does.
CGAffineTransform CGAffineTransformTranslate(CGAffineTransform transform, CGFloat tx, CGFloat ty);
CGAffineTransform CGAffineTransformScale(CGAffineTransform transform, CGFloat sx, CGFloat sy);
CGAffineTransform CGAffineTransformRotate(CGAffineTransform transform, CGFloat angle);
// A transform that cannot be inverted is returned unchanged.
CGAffineTransform CGAffineTransformInvert(CGAffineTransform transform);
CGPoint CGPointApplyAffineTransform(CGPoint point, CGAffineTransform transform);
CGSize CGSizeApplyAffineTransform(CGSize size, CGAffineTransform transform);
// The smallest rectangle holding the transformed corners.
CGRect CGRectApplyAffineTransform(CGRect rect, CGAffineTransform transform);

#include "platform/uikit/CGGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

const CGRect CGRectNull{{std::numeric_limits<CGFloat>::infinity(), std::numeric_limits<CGFloat>::infinity()},
                        {0, 0}};

CGRect CGRectStandardize(CGRect rect) {
    if (CGRectIsNull(rect))
        return rect;
    if (rect.size.width < 0) {
        rect.origin.x += rect.size.width;
        rect.size.width = -rect.size.width;
    }
    if (rect.size.height < 0) {
        rect.origin.y += rect.size.height;
        rect.size.height = -rect.size.height;
    }
    return rect;
}

bool CGRectEqualToRect(CGRect lhs, CGRect rhs) {
    return CGRectStandardize(lhs) == CGRectStandardize(rhs);
}

CGFloat CGRectGetMinX(CGRect rect) {
    return CGRectStandardize(rect).origin.x;
}
CGFloat CGRectGetMidX(CGRect rect) {
    CGRect standard = CGRectStandardize(rect);
    return standard.origin.x + standard.size.width / 2;
}
CGFloat CGRectGetMaxX(CGRect rect) {
    CGRect standard = CGRectStandardize(rect);
    return standard.origin.x + standard.size.width;
}
CGFloat CGRectGetMinY(CGRect rect) {
    return CGRectStandardize(rect).origin.y;
}
CGFloat CGRectGetMidY(CGRect rect) {
    CGRect standard = CGRectStandardize(rect);
    return standard.origin.y + standard.size.height / 2;
}
CGFloat CGRectGetMaxY(CGRect rect) {
    CGRect standard = CGRectStandardize(rect);
    return standard.origin.y + standard.size.height;
}
CGFloat CGRectGetWidth(CGRect rect) {
    return std::abs(rect.size.width);
}
CGFloat CGRectGetHeight(CGRect rect) {
    return std::abs(rect.size.height);
}

bool CGRectIsNull(CGRect rect) {
    return std::isinf(rect.origin.x) || std::isinf(rect.origin.y);
}

bool CGRectIsEmpty(CGRect rect) {
    return CGRectIsNull(rect) || rect.size.width == 0 || rect.size.height == 0;
}

bool CGRectContainsPoint(CGRect rect, CGPoint point) {
    if (CGRectIsNull(rect))
        return false;
    return point.x >= CGRectGetMinX(rect) && point.x < CGRectGetMaxX(rect) &&
           point.y >= CGRectGetMinY(rect) && point.y < CGRectGetMaxY(rect);
}

bool CGRectContainsRect(CGRect rect, CGRect other) {
    if (CGRectIsNull(rect) || CGRectIsNull(other))
        return false;
    return CGRectGetMinX(other) >= CGRectGetMinX(rect) && CGRectGetMaxX(other) <= CGRectGetMaxX(rect) &&
           CGRectGetMinY(other) >= CGRectGetMinY(rect) && CGRectGetMaxY(other) <= CGRectGetMaxY(rect);
}

bool CGRectIntersectsRect(CGRect lhs, CGRect rhs) {
    return !CGRectIsEmpty(CGRectIntersection(lhs, rhs));
}

CGRect CGRectIntersection(CGRect lhs, CGRect rhs) {
    if (CGRectIsNull(lhs) || CGRectIsNull(rhs))
        return CGRectNull;
    CGFloat minX = std::max(CGRectGetMinX(lhs), CGRectGetMinX(rhs));
    CGFloat maxX = std::min(CGRectGetMaxX(lhs), CGRectGetMaxX(rhs));
    CGFloat minY = std::max(CGRectGetMinY(lhs), CGRectGetMinY(rhs));
    CGFloat maxY = std::min(CGRectGetMaxY(lhs), CGRectGetMaxY(rhs));
    // Rectangles that only touch meet in an empty rectangle, not in Null.
    if (maxX < minX || maxY < minY)
        return CGRectNull;
    return CGRectMake(minX, minY, maxX - minX, maxY - minY);
}

CGRect CGRectUnion(CGRect lhs, CGRect rhs) {
    if (CGRectIsNull(lhs))
        return CGRectStandardize(rhs);
    if (CGRectIsNull(rhs))
        return CGRectStandardize(lhs);
    CGFloat minX = std::min(CGRectGetMinX(lhs), CGRectGetMinX(rhs));
    CGFloat maxX = std::max(CGRectGetMaxX(lhs), CGRectGetMaxX(rhs));
    CGFloat minY = std::min(CGRectGetMinY(lhs), CGRectGetMinY(rhs));
    CGFloat maxY = std::max(CGRectGetMaxY(lhs), CGRectGetMaxY(rhs));
    return CGRectMake(minX, minY, maxX - minX, maxY - minY);
}

CGRect CGRectOffset(CGRect rect, CGFloat dx, CGFloat dy) {
    if (CGRectIsNull(rect))
        return rect;
    CGRect standard = CGRectStandardize(rect);
    standard.origin.x += dx;
    standard.origin.y += dy;
    return standard;
}

CGRect CGRectInset(CGRect rect, CGFloat dx, CGFloat dy) {
    if (CGRectIsNull(rect))
        return rect;
    CGRect standard = CGRectStandardize(rect);
    CGFloat width = standard.size.width - 2 * dx;
    CGFloat height = standard.size.height - 2 * dy;
    if (width < 0 || height < 0)
        return CGRectNull;
    return CGRectMake(standard.origin.x + dx, standard.origin.y + dy, width, height);
}

CGAffineTransform CGAffineTransformMake(CGFloat a, CGFloat b, CGFloat c, CGFloat d, CGFloat tx, CGFloat ty) {
    return {a, b, c, d, tx, ty};
}

CGAffineTransform CGAffineTransformMakeTranslation(CGFloat tx, CGFloat ty) {
    return {1, 0, 0, 1, tx, ty};
}

CGAffineTransform CGAffineTransformMakeScale(CGFloat sx, CGFloat sy) {
    return {sx, 0, 0, sy, 0, 0};
}

CGAffineTransform CGAffineTransformMakeRotation(CGFloat angle) {
    CGFloat cosine = std::cos(angle);
    CGFloat sine = std::sin(angle);
    return {cosine, sine, -sine, cosine, 0, 0};
}

bool CGAffineTransformIsIdentity(CGAffineTransform transform) {
    return transform == CGAffineTransformIdentity;
}

CGAffineTransform CGAffineTransformConcat(CGAffineTransform t1, CGAffineTransform t2) {
    return {t1.a * t2.a + t1.b * t2.c,           t1.a * t2.b + t1.b * t2.d,
            t1.c * t2.a + t1.d * t2.c,           t1.c * t2.b + t1.d * t2.d,
            t1.tx * t2.a + t1.ty * t2.c + t2.tx, t1.tx * t2.b + t1.ty * t2.d + t2.ty};
}

CGAffineTransform CGAffineTransformTranslate(CGAffineTransform transform, CGFloat tx, CGFloat ty) {
    return CGAffineTransformConcat(CGAffineTransformMakeTranslation(tx, ty), transform);
}

CGAffineTransform CGAffineTransformScale(CGAffineTransform transform, CGFloat sx, CGFloat sy) {
    return CGAffineTransformConcat(CGAffineTransformMakeScale(sx, sy), transform);
}

CGAffineTransform CGAffineTransformRotate(CGAffineTransform transform, CGFloat angle) {
    return CGAffineTransformConcat(CGAffineTransformMakeRotation(angle), transform);
}

CGAffineTransform CGAffineTransformInvert(CGAffineTransform t) {
    CGFloat determinant = t.a * t.d - t.b * t.c;
    if (determinant == 0 || !std::isfinite(determinant))
        return t;
    return {t.d / determinant,
            -t.b / determinant,
            -t.c / determinant,
            t.a / determinant,
            (t.c * t.ty - t.d * t.tx) / determinant,
            (t.b * t.tx - t.a * t.ty) / determinant};
}

CGPoint CGPointApplyAffineTransform(CGPoint point, CGAffineTransform t) {
    return {t.a * point.x + t.c * point.y + t.tx, t.b * point.x + t.d * point.y + t.ty};
}

CGSize CGSizeApplyAffineTransform(CGSize size, CGAffineTransform t) {
    return {t.a * size.width + t.c * size.height, t.b * size.width + t.d * size.height};
}

CGRect CGRectApplyAffineTransform(CGRect rect, CGAffineTransform transform) {
    if (CGRectIsNull(rect))
        return rect;
    CGRect standard = CGRectStandardize(rect);
    CGFloat left = standard.origin.x, top = standard.origin.y;
    CGFloat right = left + standard.size.width, bottom = top + standard.size.height;
    const CGPoint corners[] = {
        CGPointApplyAffineTransform({left, top}, transform),
        CGPointApplyAffineTransform({right, top}, transform),
        CGPointApplyAffineTransform({left, bottom}, transform),
        CGPointApplyAffineTransform({right, bottom}, transform),
    };
    CGFloat minX = corners[0].x, maxX = corners[0].x, minY = corners[0].y, maxY = corners[0].y;
    for (const auto& corner : corners) {
        minX = std::min(minX, corner.x);
        maxX = std::max(maxX, corner.x);
        minY = std::min(minY, corner.y);
        maxY = std::max(maxY, corner.y);
    }
    return CGRectMake(minX, minY, maxX - minX, maxY - minY);
}

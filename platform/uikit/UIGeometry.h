#pragma once

#include "platform/uikit/CGGeometry.h"

// Insets from the edges of a rectangle, in points: positive values move an edge inwards.
struct UIEdgeInsets {
    CGFloat top = 0;
    CGFloat left = 0;
    CGFloat bottom = 0;
    CGFloat right = 0;
    friend bool operator==(const UIEdgeInsets&, const UIEdgeInsets&) = default;
};

inline constexpr UIEdgeInsets UIEdgeInsetsZero{};

constexpr UIEdgeInsets UIEdgeInsetsMake(CGFloat top, CGFloat left, CGFloat bottom, CGFloat right) {
    return {top, left, bottom, right};
}
inline bool UIEdgeInsetsEqualToEdgeInsets(UIEdgeInsets lhs, UIEdgeInsets rhs) {
    return lhs == rhs;
}
CGRect UIEdgeInsetsInsetRect(CGRect rect, UIEdgeInsets insets);

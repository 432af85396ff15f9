#pragma once

// The vocabulary of Auto Layout, with the platform's names and numbers.

enum NSLayoutAttribute : int {
    NSLayoutAttributeNotAnAttribute = 0,
    NSLayoutAttributeLeft = 1,
    NSLayoutAttributeRight,
    NSLayoutAttributeTop,
    NSLayoutAttributeBottom,
    NSLayoutAttributeLeading,
    NSLayoutAttributeTrailing,
    NSLayoutAttributeWidth,
    NSLayoutAttributeHeight,
    NSLayoutAttributeCenterX,
    NSLayoutAttributeCenterY,
};

enum NSLayoutRelation : int {
    NSLayoutRelationLessThanOrEqual = -1,
    NSLayoutRelationEqual = 0,
    NSLayoutRelationGreaterThanOrEqual = 1,
};

enum UILayoutConstraintAxis : int {
    UILayoutConstraintAxisHorizontal = 0,
    UILayoutConstraintAxisVertical = 1,
};

using UILayoutPriority = float;
inline constexpr UILayoutPriority UILayoutPriorityRequired = 1000;
inline constexpr UILayoutPriority UILayoutPriorityDefaultHigh = 750;
inline constexpr UILayoutPriority UILayoutPriorityDefaultLow = 250;
inline constexpr UILayoutPriority UILayoutPriorityFittingSizeLevel = 50;

// Width, height and the edges and centres of one axis.
constexpr bool NSLayoutAttributeIsDimension(NSLayoutAttribute attribute) {
    return attribute == NSLayoutAttributeWidth || attribute == NSLayoutAttributeHeight;
}
constexpr bool NSLayoutAttributeIsVertical(NSLayoutAttribute attribute) {
    return attribute == NSLayoutAttributeTop || attribute == NSLayoutAttributeBottom ||
           attribute == NSLayoutAttributeHeight || attribute == NSLayoutAttributeCenterY;
}

// "top", "width", ... as constraint descriptions print them.
const char* NSLayoutAttributeName(NSLayoutAttribute attribute);

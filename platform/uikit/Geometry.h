#pragma once
// Points, sizes and rectangles in points, with single-precision coordinates as on the 32-bit
// phone (CGFloat is float there).

#include <cmath>

/// A coordinate or length in points.
using CGFloat = float;

/// A point.
struct CGPoint {
    CGFloat x = 0;
    CGFloat y = 0;
    friend bool operator==(const CGPoint&, const CGPoint&) = default;
};

/// A width and a height.
struct CGSize {
    CGFloat width = 0;
    CGFloat height = 0;
    friend bool operator==(const CGSize&, const CGSize&) = default;
};

/// An origin and a size.
struct CGRect {
    CGPoint origin;
    CGSize size;
    friend bool operator==(const CGRect&, const CGRect&) = default;
};

/// `UIEdgeInsets`: distances inward from each edge.
struct UIEdgeInsets {
    CGFloat top = 0;
    CGFloat left = 0;
    CGFloat bottom = 0;
    CGFloat right = 0;
    friend bool operator==(const UIEdgeInsets&, const UIEdgeInsets&) = default;
};

inline constexpr CGPoint CGPointZero{};
inline constexpr CGSize CGSizeZero{};
inline constexpr CGRect CGRectZero{};

inline constexpr CGPoint CGPointMake(CGFloat x, CGFloat y) {
    return {x, y};
}
inline constexpr CGSize CGSizeMake(CGFloat width, CGFloat height) {
    return {width, height};
}
inline constexpr CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat width, CGFloat height) {
    return {{x, y}, {width, height}};
}
inline constexpr CGFloat CGRectGetMinX(const CGRect& r) {
    return r.origin.x;
}
inline constexpr CGFloat CGRectGetMinY(const CGRect& r) {
    return r.origin.y;
}
inline constexpr CGFloat CGRectGetMaxX(const CGRect& r) {
    return r.origin.x + r.size.width;
}
inline constexpr CGFloat CGRectGetMaxY(const CGRect& r) {
    return r.origin.y + r.size.height;
}
inline constexpr CGFloat CGRectGetMidX(const CGRect& r) {
    return r.origin.x + r.size.width / 2;
}
inline constexpr CGFloat CGRectGetMidY(const CGRect& r) {
    return r.origin.y + r.size.height / 2;
}
inline constexpr CGFloat CGRectGetWidth(const CGRect& r) {
    return r.size.width;
}
inline constexpr CGFloat CGRectGetHeight(const CGRect& r) {
    return r.size.height;
}
/// True when the point lies inside the rectangle (left and top edges included).
inline constexpr bool CGRectContainsPoint(const CGRect& r, CGPoint p) {
    return p.x >= CGRectGetMinX(r) && p.x < CGRectGetMaxX(r) && p.y >= CGRectGetMinY(r) &&
           p.y < CGRectGetMaxY(r);
}
/// True when the two rectangles overlap with a positive area.
inline constexpr bool CGRectIntersectsRect(const CGRect& a, const CGRect& b) {
    return CGRectGetMinX(a) < CGRectGetMaxX(b) && CGRectGetMinX(b) < CGRectGetMaxX(a) &&
           CGRectGetMinY(a) < CGRectGetMaxY(b) && CGRectGetMinY(b) < CGRectGetMaxY(a);
}

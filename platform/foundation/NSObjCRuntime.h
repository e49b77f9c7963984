#pragma once
// The platform's basic integer types of the 32-bit era the hosts were built for: NSInteger is a
// 32-bit signed integer, NSUInteger its unsigned twin, and NSNotFound the largest NSInteger.

#include <climits>

/// A signed index or count, 32 bits wide as on the 32-bit phone.
using NSInteger = int;
/// An unsigned index or count, 32 bits wide as on the 32-bit phone.
using NSUInteger = unsigned int;
/// "No such index": NSIntegerMax, as the platform defines it.
inline constexpr NSInteger NSNotFound = INT_MAX;
/// A span of time in seconds.
using NSTimeInterval = double;

/// The result of `compare:`.
enum NSComparisonResult : NSInteger { NSOrderedAscending = -1, NSOrderedSame = 0, NSOrderedDescending = 1 };

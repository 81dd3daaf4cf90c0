#pragma once
// Where a residual that changes sign along a segment is zero, found on the
// residual itself rather than guessed from the values at the ends.

#include <functional>
#include <optional>

namespace zl {

/// The residual at the point t (0 at the segment's start, 1 at its end);
/// false where it cannot be evaluated.
using SegmentResidual = std::function<bool(double t, double &value)>;

/// The t of the zero of a residual whose values at the ends, `atStart` and
/// `atEnd`, differ in sign (or one of them is 0). Bisection down to the
/// resolution of t. Nothing when the sign change is no zero: when the
/// residual keeps a size comparable to its values at the ends however close
/// the bracket gets (a jump) or grows (a pole), or when it cannot be
/// evaluated on the way. A plot draws no line through such a place.
std::optional<double> locateZeroCrossing(const SegmentResidual &residual, double atStart, double atEnd);

}  // namespace zl

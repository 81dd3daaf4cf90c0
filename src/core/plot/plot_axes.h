#pragma once
// What a plot's axes span, where Explore's grid lines fall, and the short
// number texts of titles and read-outs.

#include <cstdint>
#include <string>
#include <vector>

#include "core/plot/plane_slice.h"

namespace zl {

/// A search interval as an axis: the interval itself, or an interval of
/// width 2 around its middle (its lower limit when not finite) when it is
/// empty, reversed or not finite.
AxisRange searchRange(double lower, double upper);

/// The values Explore gives a variable, accumulated step by step as its walk
/// does: lower, lower + step, ... up to the first one not below upper. Empty
/// when there would be more than `maxCount`: too dense to draw.
std::vector<double> exploreGridValues(double lower, double upper, std::int32_t subintervals, std::size_t maxCount);

/// Residual values worth showing for a curve: 0 and the bulk of its values,
/// leaving out the few extreme ones (near a pole) that would flatten the rest.
AxisRange residualRange(const std::vector<PlanePoint> &curve);

/// Six significant digits at most, for titles and read-outs: 0.57735, -1.5E+07.
std::string shortNumberText(double value);

}  // namespace zl

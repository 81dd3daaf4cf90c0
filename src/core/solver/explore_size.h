#pragma once
// How many grid nodes an Explore run visits, known before it starts: the
// total its progress counts towards, and what a bound on the grid checks.

#include <cstdint>

#include "core/problem/problem_record.h"

namespace zl {

/// The largest grid the window's Explore takes on: at some hundred thousand
/// nodes a second this is already minutes of work.
inline constexpr double kMaxExploreNodes = 1e8;

/// The values one variable takes in the walk: 1 for a variable that takes
/// only its lower limit; otherwise lower, lower + step, ... up to the first
/// accumulated value that is not below the upper limit (normally
/// subintervals + 1, one more when rounding leaves the sum just below it).
double exploreValueCount(double lower, double upper, std::int32_t subintervals);

/// The product of every variable's value count, as a double so that it
/// cannot overflow (500 variables of 10 values each give 1E+500, i.e. infinity).
double exploreNodeCount(const ProblemSpec &record);

}  // namespace zl

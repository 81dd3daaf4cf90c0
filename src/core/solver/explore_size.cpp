#include "core/solver/explore_size.h"

#include <algorithm>

#include "core/solver/explore_grid.h"

namespace zl {
namespace {

/// Up to this many subintervals the accumulation is repeated exactly as the
/// walk does it; beyond, the count is subintervals + 1 (it differs from the
/// walk's by at most one value, which cannot matter to a bound check).
constexpr std::int32_t kExactlyCountedSubintervals = 1 << 16;

}  // namespace

double exploreValueCount(double lower, double upper, std::int32_t subintervals) {
    const double step = gridStepFor(lower, upper, subintervals);
    if (step == 0) return 1;
    if (subintervals > kExactlyCountedSubintervals) return static_cast<double>(subintervals) + 1;
    // The walk steps from a value only while it is below the upper limit and
    // the step still moves it (ExploreGrid::canAdvance).
    double count = 1;
    for (double x = lower; x < upper && x + step > x; x += step) ++count;
    return count;
}

double exploreNodeCount(const ProblemSpec &record) {
    const auto order = static_cast<std::size_t>(std::max(record.order, 0));
    double nodes = order > 0 ? 1 : 0;
    for (std::size_t i = 0; i < order && i < record.subintervals.size(); ++i)
        nodes *= exploreValueCount(record.lowerLimits[i], record.upperLimits[i], record.subintervals[i]);
    return nodes;
}

}  // namespace zl

#pragma once
// Every residual at every node of a grid laid over a plane of the problem.

#include <cstdint>
#include <vector>

#include "core/plot/plane_slice.h"
#include "core/problem/residual_system.h"

namespace zl {

struct SampledResiduals {
    PlaneGrid grid;
    int equations = 0;
    /// By equation, then row, then column; NaN where the residual could not
    /// be evaluated.
    std::vector<double> values;
    /// An error outside the recoverable set ended the sampling (every value
    /// after it is NaN); 0 when none did.
    std::int32_t fatalErrorNumber = 0;

    double at(int equation, int column, int row) const {
        return values[(static_cast<std::size_t>(equation) * static_cast<std::size_t>(grid.rows) +
                       static_cast<std::size_t>(row)) *
                          static_cast<std::size_t>(grid.columns) +
                      static_cast<std::size_t>(column)];
    }
};

/// Residuals 0..equations-1 at every node of `grid` in `slice`, all of a
/// node's residuals at once.
SampledResiduals sampleResiduals(ResidualSystem &residuals, const PlaneSlice &slice, const PlaneGrid &grid,
                                 int equations);

/// The outcome of one evaluation for a plot: the value, a gap (a recoverable
/// error), or the end of all evaluation (any other error).
enum class PlotEvaluation { Value, Gap, Fatal };
PlotEvaluation classifyStatus(std::int32_t status);

}  // namespace zl

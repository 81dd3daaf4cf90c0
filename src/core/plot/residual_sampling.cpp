#include "core/plot/residual_sampling.h"

#include <limits>

namespace zl {

PlotEvaluation classifyStatus(std::int32_t status) {
    if (status == 0) return PlotEvaluation::Value;
    return isRecoverableError(status) ? PlotEvaluation::Gap : PlotEvaluation::Fatal;
}

SampledResiduals sampleResiduals(ResidualSystem &residuals, const PlaneSlice &slice, const PlaneGrid &grid,
                                 int equations) {
    SampledResiduals sampled;
    sampled.grid = grid;
    sampled.equations = equations;
    const auto plane = static_cast<std::size_t>(grid.columns) * static_cast<std::size_t>(grid.rows);
    sampled.values.assign(static_cast<std::size_t>(equations) * plane, std::numeric_limits<double>::quiet_NaN());

    std::vector<double> point;
    std::vector<double> values(static_cast<std::size_t>(equations));
    std::vector<std::int32_t> statuses(static_cast<std::size_t>(equations));
    for (int row = 0; row < grid.rows; ++row) {
        for (int column = 0; column < grid.columns; ++column) {
            slice.place({grid.xAt(column), grid.yAt(row)}, point);
            const int evaluated = residuals.evaluateAll(equations, point.data(), values.data(), statuses.data());
            const std::size_t node = static_cast<std::size_t>(row) * static_cast<std::size_t>(grid.columns) +
                                     static_cast<std::size_t>(column);
            for (int j = 0; j < evaluated; ++j) {
                const auto at = static_cast<std::size_t>(j);
                switch (classifyStatus(statuses[at])) {
                case PlotEvaluation::Value:
                    sampled.values[at * plane + node] = values[at];
                    break;
                case PlotEvaluation::Gap:
                    break;
                case PlotEvaluation::Fatal:
                    sampled.fatalErrorNumber = statuses[at];
                    return sampled;
                }
            }
        }
    }
    return sampled;
}

}  // namespace zl

#pragma once
// The solver's working arrays, sized with the problem. point and column 0 of
// systemMatrix are also read by the solution list and the report.

#include <cstdint>
#include <vector>

#include "core/problem/matrix.h"

namespace zl {

struct SolverWorkspace {
    std::vector<double> point;       ///< current variable values
    Matrix systemMatrix;             ///< order rows x (order + 1) columns: [J | -F]; column 0 = F after a step
    std::vector<double> correction;  ///< the Newton step of the last solve
    std::vector<double> seedPoint;   ///< copy of the seed before its first cycle
    std::vector<double> gridStep;    ///< Explore's step per variable
    std::vector<std::int32_t> previousSigns;
    std::vector<std::int32_t> currentSigns;
};

}  // namespace zl

#pragma once
// The solutions found so far: solutions(variable, k) for k = 1..solutionCount.

#include <cstdint>

#include "core/problem/matrix.h"

namespace zl {

/// Solutions are numbered 1..100; column 0 is never written.
inline constexpr int kMaxSolutions = 100;

struct SolutionStore {
    std::int32_t solutionCount = 0;
    Matrix solutions;  ///< rows: variables 0..lastIndex; columns 0..kMaxSolutions

    /// Set for a run that stores only the points inside the search box,
    /// widened by maxError; outsideBox counts the converged points it left out.
    bool insideBoxOnly = false;
    std::int64_t outsideBox = 0;

    bool full() const { return solutionCount >= kMaxSolutions; }
};

}  // namespace zl

#pragma once
// The problem record: everything the user defines about one problem.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zl {

/// The constants table has slots 0..100.
inline constexpr int kConstantSlots = 101;

struct ProblemSpec {
    std::int32_t order = 0;      ///< number of variables = number of equations; 0 until set
    std::int32_t lastIndex = 0;  ///< order - 1, the upper index of every per-variable array

    std::vector<std::string> varNames;   ///< as typed, never trimmed
    std::vector<std::string> equations;  ///< equation texts as read from a file
    std::vector<std::string> residuals;  ///< "left-(right)" built from each equation
    std::vector<double> lowerLimits;
    std::vector<double> upperLimits;
    std::vector<std::int32_t> subintervals;

    double maxError = 0;           ///< the solver's one absolute tolerance
    std::int32_t maxCycles = 0;    ///< Newton cycles allowed per seed
    std::int32_t randomSeeds = 0;  ///< seeds left in a Random run; 0 otherwise

    std::array<std::string, kConstantSlots> constants{};  ///< "name=value" lines
    std::int32_t constantCount = 0;

    std::int32_t currentVariable = 1;  ///< 1-based variable whose interval is on show
    std::string fileName;              ///< current problem file, "" until opened or saved
    bool loadingFile = false;          ///< true only while Open fills the window
    double errorOnEntry = 0;           ///< error bound when its field took the focus

    bool hasProblem() const { return order >= 1; }
};

}  // namespace zl

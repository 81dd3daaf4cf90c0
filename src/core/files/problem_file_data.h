#pragma once
// What a problem file holds, apart from any window or record.

#include <cstdint>
#include <string>
#include <vector>

namespace zl {

inline constexpr const char *kProblemFileMagic = "Rootex";

/// Bounds on what the reader takes in, so that no file can make it read
/// without end or hold unbounded memory. A line holds at most one equation
/// and a few numbers; the largest well-formed file stays far below the total.
inline constexpr std::size_t kMaxFileLineLength = 1u << 20;
inline constexpr std::size_t kMaxFileBytes = 64u << 20;

struct VariableRecord {
    std::string name;
    double lowerLimit = 0;
    double upperLimit = 0;
    double subintervals = 0;  ///< an integer once read; written as the field reads (2.5 stays 2.5)
    std::string equation;
};

/// The order is variables.size() and the solution count solutions.size().
/// The integer fields (subintervals, maxCycles) hold the numbers written;
/// the reader rounds them halves to even.
struct ProblemFileData {
    double maxError = 0;
    double maxCycles = 0;
    std::vector<VariableRecord> variables;
    std::vector<std::string> constants;          ///< "name=value" lines, in list order
    std::vector<std::vector<double>> solutions;  ///< solutions[k - 1][j]: variable j of solution k
};

}  // namespace zl

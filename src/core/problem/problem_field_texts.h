#pragma once
// The texts of the window's problem fields at one moment: what a run reads
// and what Save writes. Index i is variable i's limits and subintervals and
// equation i.

#include <string>
#include <vector>

namespace zl {

struct ProblemFieldTexts {
    std::string errorBound;
    std::string iterations;
    std::vector<std::string> lowerLimits;
    std::vector<std::string> upperLimits;
    std::vector<std::string> subintervals;
    std::vector<std::string> equations;
};

}  // namespace zl

#pragma once
// The lines a Certify run adds to the solution list after the solutions,
// built from values only.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/certify/box.h"

namespace zl {

/// "ALL SOLUTIONS IN THE BOX FOUND: 18, each proved unique".
std::string completeSearchLine(std::int64_t rootCount);

/// "SEARCH NOT COMPLETE: 17 solutions proved unique, 3 boxes undecided".
std::string incompleteSearchLine(std::int64_t rootCount, std::int64_t undecidedCount);

/// "UNDECIDED BOX 1: x=[0.5, 0.75] y=[-1, 1]".
std::string undecidedBoxLine(int number, const std::vector<std::string> &names, const Box &box);

/// "NO INTERVAL FORM: EQUATION #2 USES THE & OPERATOR."
std::string noIntervalFormLine(int equationNumber, std::string_view what);

/// "MORE THAN 100 SOLUTIONS: 23 MORE PROVED, NOT LISTED."
std::string notListedLine(std::int64_t notListed);

/// After a solution's lines in Explore, Random or list: "PROVED UNIQUE WITHIN 2.5E-09"
/// (the largest half-width of the box proved to hold it and no other root),
/// or "NOT PROVED".
std::string proofLine(const double *radius);

}  // namespace zl

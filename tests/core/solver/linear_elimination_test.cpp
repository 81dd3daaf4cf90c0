#include "core/solver/linear_elimination.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace zl {
namespace {

struct SolveCase {
    std::string name;
    std::vector<std::vector<double>> system;  // [A | b]
    SolveResult result;
    std::vector<double> expected;  // correction, previous values {7, 7, ...} on entry
    bool dependence = false, inconsistency = false;
    std::optional<double> pivotAfter = {};  // A(0, 0) after the solve: which row was the pivot
};

void PrintTo(const SolveCase &row, std::ostream *os) { *os << row.name; }

class SolveCorrectionTable : public ::testing::TestWithParam<SolveCase> {};

TEST_P(SolveCorrectionTable, SolvesOrClassifies) {
    const SolveCase &c = GetParam();
    Matrix a(static_cast<int>(c.system.size()), static_cast<int>(c.system[0].size()));
    for (int r = 0; r < a.rows(); ++r)
        for (int col = 0; col < a.columns(); ++col) a(r, col) = c.system[r][col];
    std::vector<double> correction(c.system.size(), 7.0);
    RunState run;
    ASSERT_EQ(solveCorrection(a, correction, run), c.result);
    for (std::size_t i = 0; i < c.expected.size(); ++i) EXPECT_NEAR(correction[i], c.expected[i], 1e-12) << i;
    EXPECT_EQ(run.linearDependence, c.dependence);
    EXPECT_EQ(run.inconsistency, c.inconsistency);
    EXPECT_EQ(a(0, 0), c.pivotAfter.value_or(a(0, 0)));
}

using R = SolveResult;
INSTANTIATE_TEST_SUITE_P(
    Systems, SolveCorrectionTable,
    ::testing::Values(
        SolveCase{"OneByOne", {{4, 2}}, R::Solved, {0.5}},
        SolveCase{"ZeroDiagonalNeedsSwap", {{0, 1, 2}, {1, 0, 3}}, R::Solved, {3, 2}},
        SolveCase{"ThreeByThree", {{2, 1, -1, 8}, {-3, -1, 2, -11}, {-2, 1, 2, -3}}, R::Solved, {2, 3, -1}},
        SolveCase{"TinyPivotIsDividedBy", {{1e-300, 1, 1}, {0, 1, 1}}, R::Solved, {0, 1}},
        SolveCase{"TieKeepsUpperRow", {{-2, 1, 3}, {2, 5, 7}}, R::Solved, {-2.0 / 3, 5.0 / 3}, false, false, -2},
        SolveCase{"LargerCandidateSwapsUp", {{1, 1, 3}, {-3, 5, 7}}, R::Solved, {1, 2}, false, false, -3},
        // Singular rows: earlier corrections keep the previous solve's values.
        SolveCase{"EqualRows", {{1, 2, 3}, {1, 2, 3}}, R::Singular, {7, 0}, true},
        SolveCase{"EqualRowsOtherRightHandSide", {{1, 2, 3}, {1, 2, 4}}, R::Singular, {7, 0}, false, true},
        SolveCase{"OneByOneZero", {{0, 5}}, R::Singular, {0}, false, true},
        // Column 0 all zero is skipped; back substitution stops at row 0, whose
        // sum over columns 1.. is 2 * 3 against the right-hand side.
        SolveCase{"ZeroColumnConsistent", {{0, 2, 6}, {0, 1, 3}}, R::Singular, {0, 3}, true},
        SolveCase{"ZeroColumnInconsistent", {{0, 2, 5}, {0, 1, 3}}, R::Singular, {0, 3}, false, true}),
    [](const auto &info) { return info.param.name; });

}  // namespace
}  // namespace zl

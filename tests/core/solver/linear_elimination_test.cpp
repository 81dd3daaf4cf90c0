#include "core/solver/linear_elimination.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zl {
namespace {

Matrix augmented(const std::vector<std::vector<double>> &rows) {
    Matrix a(static_cast<int>(rows.size()), static_cast<int>(rows[0].size()));
    for (int r = 0; r < a.rows(); ++r)
        for (int c = 0; c < a.columns(); ++c) a(r, c) = rows[r][c];
    return a;
}

struct SolveCase {
    std::string name;
    std::vector<std::vector<double>> system;  // [A | b]
    std::vector<double> expected;
};

class SolvesRegularSystems : public ::testing::TestWithParam<SolveCase> {};

TEST_P(SolvesRegularSystems, GivesTheSolution) {
    const SolveCase &c = GetParam();
    Matrix a = augmented(c.system);
    std::vector<double> correction(c.expected.size(), 99.0);
    RunState run;
    ASSERT_EQ(solveCorrection(a, correction, run), SolveResult::Solved);
    for (std::size_t i = 0; i < c.expected.size(); ++i)
        EXPECT_NEAR(correction[i], c.expected[i], 1e-12) << "component " << i;
    EXPECT_FALSE(run.linearDependence || run.inconsistency);
}

INSTANTIATE_TEST_SUITE_P(
    Systems, SolvesRegularSystems,
    ::testing::Values(
        SolveCase{"OneByOne", {{4, 2}}, {0.5}},
        SolveCase{"NeedsPivotingForZeroDiagonal", {{0, 1, 2}, {1, 0, 3}}, {3, 2}},
        SolveCase{"ThreeByThree", {{2, 1, -1, 8}, {-3, -1, 2, -11}, {-2, 1, 2, -3}}, {2, 3, -1}},
        // Only an exact zero is singular: a tiny diagonal is divided by.
        SolveCase{"TinyPivotIsUsedAsIs", {{1e-300, 1, 1}, {0, 1, 1}}, {0, 1}}),
    [](const auto &info) { return info.param.name; });

TEST(SolveCorrection, PivotTiesKeepTheUpperRow) {
    // |A(0,0)| == |A(1,0)|: no swap, so row 0 stays first after elimination.
    Matrix a = augmented({{-2, 1, 3}, {2, 5, 7}});
    std::vector<double> correction(2);
    RunState run;
    ASSERT_EQ(solveCorrection(a, correction, run), SolveResult::Solved);
    EXPECT_EQ(a(0, 0), -2);
    EXPECT_EQ(a(0, 1), 1);
    EXPECT_EQ(a(0, 2), 3);
}

TEST(SolveCorrection, StrictlyLargerCandidateIsSwappedUp) {
    Matrix a = augmented({{1, 1, 3}, {-3, 5, 7}});
    std::vector<double> correction(2);
    RunState run;
    ASSERT_EQ(solveCorrection(a, correction, run), SolveResult::Solved);
    EXPECT_EQ(a(0, 0), -3);
    EXPECT_EQ(a(0, 1), 5);
}

struct SingularCase {
    std::string name;
    std::vector<std::vector<double>> system;
    bool dependence;  // else inconsistency
};

class ClassifiesSingularSystems : public ::testing::TestWithParam<SingularCase> {};

TEST_P(ClassifiesSingularSystems, SetsExactlyOneFlag) {
    const SingularCase &c = GetParam();
    Matrix a = augmented(c.system);
    std::vector<double> correction(c.system.size());
    RunState run;
    ASSERT_EQ(solveCorrection(a, correction, run), SolveResult::Singular);
    EXPECT_EQ(run.linearDependence, c.dependence);
    EXPECT_EQ(run.inconsistency, !c.dependence);
}

INSTANTIATE_TEST_SUITE_P(
    Systems, ClassifiesSingularSystems,
    ::testing::Values(SingularCase{"EqualRowsEqualRightHandSides", {{1, 2, 3}, {1, 2, 3}}, true},
                      SingularCase{"EqualRowsOtherRightHandSides", {{1, 2, 3}, {1, 2, 4}}, false},
                      SingularCase{"OneByOneZeroWithZeroRightHandSide", {{0, 0}}, true},
                      SingularCase{"OneByOneZero", {{0, 5}}, false},
                      // Column 0 all zero: skipped, then A(0,0) == 0 stops back substitution
                      // at row 0 after row 1 gave correction 3; row 0 reads 2 * 3 = rhs?
                      SingularCase{"ZeroFirstColumnConsistent", {{0, 2, 6}, {0, 1, 3}}, true},
                      SingularCase{"ZeroFirstColumnInconsistent", {{0, 2, 5}, {0, 1, 3}}, false}),
    [](const auto &info) { return info.param.name; });

TEST(SolveCorrection, SingularRowLeavesEarlierCorrectionsFromThePreviousSolve) {
    Matrix a = augmented({{1, 2, 3}, {1, 2, 3}});
    std::vector<double> correction{7, 7};
    RunState run;
    ASSERT_EQ(solveCorrection(a, correction, run), SolveResult::Singular);
    EXPECT_EQ(correction[0], 7);
    EXPECT_EQ(correction[1], 0);
}

TEST(SolveCorrection, FlagsOnlyEverGoFromFalseToTrue) {
    RunState run;
    run.inconsistency = true;
    Matrix a = augmented({{1, 2, 3}, {1, 2, 3}});
    std::vector<double> correction(2);
    ASSERT_EQ(solveCorrection(a, correction, run), SolveResult::Singular);
    EXPECT_TRUE(run.inconsistency);
    EXPECT_TRUE(run.linearDependence);
}

} // namespace
} // namespace zl

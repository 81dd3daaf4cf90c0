#include "core/plot/slice_choice.h"

#include <gtest/gtest.h>

namespace zl {
namespace {

/// x, y, z over [-2, 2], [0, 4], [-1, 1]; solutions (1, 2, 0.5), (1, 3, 0.5005), (0, 0, -0.5).
ProblemState threeVariables() {
    ProblemState problem;
    problem.sizeProblem(3);
    problem.record.varNames = {"x", "y", "z"};
    problem.record.lowerLimits = {-2, 0, -1};
    problem.record.upperLimits = {2, 4, 1};
    problem.record.maxError = 0.001;
    const double solutions[3][3] = {{1, 2, 0.5}, {1, 3, 0.5005}, {0, 0, -0.5}};
    problem.store.solutionCount = 3;
    for (int m = 1; m <= 3; ++m)
        for (int i = 0; i < 3; ++i) problem.store.solutions(i, m) = solutions[m - 1][i];
    return problem;
}

TEST(SliceChoice, PlanePassesThroughTheChosenSolutionOrTheBoxCentre) {
    const ProblemState problem = threeVariables();
    const PlaneSlice throughSecond = planeThrough(problem, {0, 1, 2});
    EXPECT_EQ(throughSecond.base, (std::vector<double>{1, 3, 0.5005}));
    EXPECT_EQ(sliceTitle(problem, throughSecond, 2), "Slice through solution 2: z = 0.5005");

    const PlaneSlice centre = planeThrough(problem, {2, 0, 0});
    EXPECT_EQ(centre.base, (std::vector<double>{0, 2, 0}));
    EXPECT_EQ(centre.xVariable, 2);
    EXPECT_EQ(centre.yVariable, 0);
    EXPECT_EQ(sliceTitle(problem, centre, 0), "Slice through the centre of the search box: y = 2");

    const PlaneSlice sameAxes = planeThrough(problem, {1, 1, 9});  // both axes one variable, no solution 9
    EXPECT_EQ(sameAxes.xVariable, 0);
    EXPECT_EQ(sameAxes.yVariable, 1);
    EXPECT_EQ(sameAxes.base, centre.base);
}

TEST(SliceChoice, RootsInThePlaneAreThoseWithinTheErrorBound) {
    const ProblemState problem = threeVariables();
    // z fixed at 0.5: solution 2's 0.5005 is within 0.001, solution 3 is not.
    const std::vector<PlottedRoot> roots = rootsInPlane(problem, planeThrough(problem, {0, 1, 1}));
    ASSERT_EQ(roots.size(), 2u);
    EXPECT_EQ(roots[0].solution, 1);
    EXPECT_EQ(roots[1].solution, 2);
    EXPECT_EQ(roots[1].at.x, 1);
    EXPECT_EQ(roots[1].at.y, 3);
    // x fixed at 1, z against y.
    const std::vector<PlottedRoot> across = rootsInPlane(problem, planeThrough(problem, {2, 1, 1}));
    ASSERT_EQ(across.size(), 2u);
    EXPECT_EQ(across[1].at.x, 0.5005);
}

TEST(SliceChoice, OneAndTwoVariablesNeedNoSlice) {
    ProblemState one;
    one.sizeProblem(1);
    one.record.varNames = {"x"};
    one.record.lowerLimits = {-5};
    one.record.upperLimits = {5};
    one.store.solutionCount = 2;
    one.store.solutions(0, 1) = -3.25;
    one.store.solutions(0, 2) = 1.5;
    const PlaneSlice line = planeThrough(one, {});
    EXPECT_EQ(line.yVariable, -1);
    EXPECT_EQ(sliceTitle(one, line, 0), "");
    const auto roots = rootsInPlane(one, line);
    ASSERT_EQ(roots.size(), 2u);
    EXPECT_EQ(roots[0].at.x, -3.25);
    EXPECT_EQ(roots[0].at.y, 0);  // on the zero line

    ProblemState two = threeVariables();
    two.sizeProblem(2);
    two.record.varNames = {"x", "y"};
    EXPECT_EQ(sliceTitle(two, planeThrough(two, {}), 0), "");
}

}  // namespace
}  // namespace zl

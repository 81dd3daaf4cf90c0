#include "core/plot/slice_choice.h"

#include <gtest/gtest.h>

#include "../solver/solver_test_support.h"

namespace zl {
namespace {

/// x, y, z over [-2, 2], [0, 4], [-1, 1]; solutions (1, 2, 0.5), (1, 3, 0.5005), (0, 0, -0.5).
ProblemState threeVariables() {
    ProblemState problem = testing::makeProblem(3, {{-2, 2, 4}, {0, 4, 4}, {-1, 1, 4}}, 0.001);
    problem.record.varNames = {"x", "y", "z"};
    const double solutions[3][3] = {{1, 2, 0.5}, {1, 3, 0.5005}, {0, 0, -0.5}};
    problem.store.solutionCount = 3;
    for (int m = 1; m <= 3; ++m)
        for (int i = 0; i < 3; ++i) problem.store.solutions(i, m) = solutions[m - 1][i];
    return problem;
}

TEST(SliceChoice, PlanePassesThroughTheChosenSolutionOrTheBoxCentre) {
    const ProblemState problem = threeVariables();
    const PlaneSlice second = planeThrough(problem, {0, 1, 2});
    EXPECT_EQ(second.base, (std::vector<double>{1, 3, 0.5005}));
    EXPECT_EQ(sliceTitle(problem, second, 2), "Slice through solution 2: z = 0.5005");
    const PlaneSlice centre = planeThrough(problem, {2, 0, 0});
    EXPECT_EQ(centre.base, (std::vector<double>{0, 2, 0}));
    EXPECT_EQ(sliceTitle(problem, centre, 0), "Slice through the centre of the search box: y = 2");
    const PlaneSlice sameAxes = planeThrough(problem, {1, 1, 9});  // one variable on both axes, no solution 9
    EXPECT_EQ(std::pair(sameAxes.xVariable, sameAxes.yVariable), std::pair(0, 1));
    EXPECT_EQ(sameAxes.base, centre.base);
}

TEST(SliceChoice, RootsInThePlaneAreThoseWithinTheErrorBound) {
    const ProblemState problem = threeVariables();
    const auto solutionsIn = [&](SliceChoice choice) {
        std::vector<std::pair<int, std::pair<double, double>>> found;
        for (const PlottedRoot &root : rootsInPlane(problem, planeThrough(problem, choice)))
            found.push_back({root.solution, {root.at.x, root.at.y}});
        return found;
    };
    using Found = std::vector<std::pair<int, std::pair<double, double>>>;
    // z at 0.5: solution 2's 0.5005 is within 0.001 of it, solution 3's -0.5 is not.
    EXPECT_EQ(solutionsIn({0, 1, 1}), (Found{{1, {1, 2}}, {2, {1, 3}}}));
    // x at 0, z across and y up.
    EXPECT_EQ(solutionsIn({2, 1, 3}), (Found{{3, {-0.5, 0}}}));
}

}  // namespace
}  // namespace zl

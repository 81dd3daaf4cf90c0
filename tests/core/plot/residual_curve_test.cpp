#include "core/plot/residual_curve.h"

#include <gtest/gtest.h>

#include <cmath>

#include "plot_test_support.h"

namespace zl {
namespace {

using testing::FunctionResiduals;

const PlaneSlice kLine{{0}, 0, -1};

int gapCount(const ResidualCurve &curve) {
    return static_cast<int>(
        std::count_if(curve.points.begin(), curve.points.end(), [](PlanePoint p) { return std::isnan(p.y); }));
}

TEST(ResidualCurve, CrossesZeroAtTheRootsOnTheResidual) {
    // 3x^2 sin(x) = pi has three roots in [-5, 5].
    const auto residual = [](const double *p) { return 3 * p[0] * p[0] * std::sin(p[0]) - M_PI; };
    FunctionResiduals residuals({residual});
    const ResidualCurve curve = residualCurve(residuals, kLine, {-5, 5}, 101, 0);

    ASSERT_EQ(curve.zeros.size(), 3u);
    for (double zero : curve.zeros) EXPECT_NEAR(residual(&zero), 0, 1e-12);
    EXPECT_NEAR(curve.zeros[0], -3.24, 0.01);
    EXPECT_NEAR(curve.zeros[1], 1.087, 0.001);
    EXPECT_NEAR(curve.zeros[2], 3.027, 0.001);
    EXPECT_EQ(curve.points.size(), 101u + 3u);  // each located zero is a point of the curve
    EXPECT_EQ(gapCount(curve), 0);
    for (std::size_t k = 1; k < curve.points.size(); ++k) EXPECT_LT(curve.points[k - 1].x, curve.points[k].x);
}

TEST(ResidualCurve, PolesAndFailuresBreakTheLine) {
    // tan has a pole at pi/2 and a zero at pi; sqrt of a negative fails with 5.
    FunctionResiduals tangent({[](const double *p) { return std::tan(p[0]); }});
    const ResidualCurve throughPole = residualCurve(tangent, kLine, {1, 4}, 31, 0);
    ASSERT_EQ(throughPole.zeros.size(), 1u);
    EXPECT_NEAR(throughPole.zeros[0], M_PI, 1e-12);
    EXPECT_EQ(gapCount(throughPole), 1);

    FunctionResiduals root({[](const double *p) { return std::sqrt(p[0]) - 1; }},
                           [](int, const double *p) { return p[0] < 0 ? 5 : 0; });
    const ResidualCurve partly = residualCurve(root, kLine, {-2, 2}, 41, 0);
    EXPECT_EQ(partly.fatalErrorNumber, 0);
    EXPECT_EQ(gapCount(partly), 20);  // every sample left of 0
    ASSERT_EQ(partly.zeros.size(), 1u);
    EXPECT_NEAR(partly.zeros[0], 1, 1e-12);
}

TEST(ResidualCurve, UnrecoverableErrorEndsTheCurve) {
    FunctionResiduals residuals({[](const double *p) { return p[0]; }},
                                [](int, const double *p) { return p[0] > 0.5 ? 13 : 0; });
    const ResidualCurve curve = residualCurve(residuals, kLine, {0, 1}, 11, 0);
    EXPECT_EQ(curve.fatalErrorNumber, 13);
    EXPECT_EQ(curve.points.size(), 6u);  // 0, 0.1, ..., 0.5
    ASSERT_EQ(curve.zeros.size(), 1u);   // the sample at 0
    EXPECT_EQ(curve.zeros[0], 0);
}

}  // namespace
}  // namespace zl

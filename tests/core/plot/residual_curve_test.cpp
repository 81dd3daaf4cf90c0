#include "core/plot/residual_curve.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "../solver/solver_test_support.h"

namespace zl {
namespace {

using testing::NativeResiduals;
using testing::Point;

const PlaneSlice kLine{{0}, 0, -1};

long gaps(const ResidualCurve &curve) {
    return std::count_if(curve.points.begin(), curve.points.end(), [](PlanePoint p) { return std::isnan(p.y); });
}

TEST(ResidualCurve, CrossesZeroAtTheRootsOnTheResidual) {
    const auto residual = [](const Point &p) { return 3 * p[0] * p[0] * std::sin(p[0]) - M_PI; };
    NativeResiduals residuals({residual});
    const ResidualCurve curve = residualCurve(residuals, kLine, {-5, 5}, 101, 0);
    ASSERT_EQ(curve.zeros.size(), 3u);  // near -3.24, 1.087 and 3.027
    for (double zero : curve.zeros) EXPECT_NEAR(residual({zero}), 0, 1e-12);
    EXPECT_NEAR(curve.zeros[1], 1.087, 0.001);
    EXPECT_EQ(curve.points.size(), 101u + 3u);  // each zero is a point of the curve
    EXPECT_EQ(gaps(curve), 0);
    EXPECT_TRUE(
        std::is_sorted(curve.points.begin(), curve.points.end(), [](PlanePoint a, PlanePoint b) { return a.x < b.x; }));
}

TEST(ResidualCurve, PolesAndFailuresBreakTheLine) {
    NativeResiduals tangent({[](const Point &p) { return std::tan(p[0]); }});  // a pole at pi/2, a zero at pi
    const ResidualCurve throughPole = residualCurve(tangent, kLine, {1, 4}, 31, 0);
    ASSERT_EQ(throughPole.zeros.size(), 1u);
    EXPECT_NEAR(throughPole.zeros[0], M_PI, 1e-12);
    EXPECT_EQ(gaps(throughPole), 1);

    NativeResiduals root({[](const Point &p) { return std::sqrt(p[0]) - 1; }},
                         [](int, const Point &p) { return p[0] < 0 ? 5 : 0; });
    const ResidualCurve partly = residualCurve(root, kLine, {-2, 2}, 41, 0);
    EXPECT_EQ(gaps(partly), 20);  // every sample left of 0
    EXPECT_EQ(partly.zeros, std::vector<double>{1.0});

    NativeResiduals stopping({[](const Point &p) { return p[0]; }},
                             [](int, const Point &p) { return p[0] > 0.5 ? 13 : 0; });
    const ResidualCurve stopped = residualCurve(stopping, kLine, {0, 1}, 11, 0);
    EXPECT_EQ(stopped.fatalErrorNumber, 13);
    EXPECT_EQ(stopped.points.size(), 6u);  // 0, 0.1, ..., 0.5
}

}  // namespace
}  // namespace zl

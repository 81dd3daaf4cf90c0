// Interval arithmetic at its edges: zeros, infinities, divisors that touch or
// straddle zero, and the outward rounding of every bound.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/eval/interval.h"

namespace zl {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kTiny = std::numeric_limits<double>::denorm_min();

/// `actual` holds `exact` and is at most a few ulps wider at each finite end.
::testing::AssertionResult tightAround(const Interval &actual, const Interval &exact) {
    auto near = [](double a, double b) {
        if (a == b) return true;
        if (!std::isfinite(a) || !std::isfinite(b)) return false;
        return std::fabs(a - b) <= 4 * std::fabs(b) * 0x1p-52 + 4 * kTiny;
    };
    if (actual.containsInterval(exact) && near(actual.lo, exact.lo) && near(actual.hi, exact.hi))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "[" << actual.lo << ", " << actual.hi << "] for [" << exact.lo << ", "
                                         << exact.hi << "]";
}

TEST(IntervalArithmetic, StepsToTheNeighbouringDouble) {
    EXPECT_EQ(nextUp(1.0), 1.0 + 0x1p-52);
    EXPECT_EQ(nextDown(1.0), 1.0 - 0x1p-53);
    EXPECT_EQ(nextUp(-1.0), -1.0 + 0x1p-53);
    EXPECT_EQ(nextUp(0.0), kTiny);
    EXPECT_EQ(nextDown(-0.0), -kTiny);
    EXPECT_EQ(nextDown(kTiny), 0.0);
    EXPECT_EQ(nextUp(std::numeric_limits<double>::max()), kInf);
    EXPECT_EQ(nextDown(kInf), std::numeric_limits<double>::max());
    EXPECT_EQ(nextUp(kInf), kInf);
    EXPECT_EQ(nextDown(-kInf), -kInf);
}

struct Operation {
    const char *name;
    Interval actual;
    Interval exact;
};

TEST(IntervalArithmetic, EnclosesEveryResultAndLittleMore) {
    const Operation operations[] = {
        {"sum", Interval(0.1, 0.2) + Interval(0.3, 0.4), {0.4, 0.6}},
        {"difference", Interval(1, 2) - Interval(-3, 5), {-4, 5}},
        {"product of signs", Interval(-1, 2) * Interval(3, 4), {-4, 8}},
        {"product with an unbounded side", Interval(1, 2) * Interval(-kInf, 3), {-kInf, 6}},
        {"zero times everything", Interval(0.0) * Interval::entire(), {0, 0}},
        {"zero end times infinity", Interval(0, 1) * Interval(2, kInf), {0, kInf}},
        {"point times interval", -2.0 * Interval(1, 3), {-6, -2}},
        {"quotient", Interval(1, 2) / Interval(4, 8), {0.125, 0.5}},
        {"quotient by a divisor touching zero", Interval(1, 2) / Interval(0, 4), {0.25, kInf}},
        {"quotient by a negative divisor touching zero", Interval(1, 2) / Interval(-4, 0), {-kInf, -0.25}},
        {"quotient by a divisor across zero", Interval(1, 2) / Interval(-1, 1), Interval::entire()},
        {"zero over anything", Interval(0.0) / Interval(0, 4), {0, 0}},
        {"quotient of unbounded intervals", Interval(1, kInf) / Interval(1, kInf), {0, kInf}},
        {"square across zero", square(Interval(-2, 1)), {0, 4}},
        {"square of negatives", square(Interval(-3, -2)), {4, 9}},
        {"cube across zero", cube(Interval(-2, 3)), {-8, 27}},
        {"absolute value", absolute(Interval(-5, 2)), {0, 5}},
        {"hull of an empty interval and another", hull(Interval::empty(), Interval(1, 2)), {1, 2}},
    };
    for (const Operation &operation : operations)
        EXPECT_TRUE(tightAround(operation.actual, operation.exact)) << operation.name;
}

}  // namespace
}  // namespace zl

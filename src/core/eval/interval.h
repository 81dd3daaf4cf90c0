#pragma once
// Closed intervals of reals with outward rounding, for enclosing what an
// expression can take over a box.
//
// The arithmetic runs in the default rounding mode (to nearest) and widens
// every computed bound by one unit in the last place outward. An IEEE result
// rounded to nearest is within half an ulp of the exact one, so the widened
// bound is on the safe side. Nothing switches the FPU's rounding mode: the
// point arithmetic of the solver and the C library's functions, which run on
// the same thread, keep their usual accuracy, and no operation pays for a mode
// switch. (Boost.Interval's portable policy switches the mode around every
// operation; its faster policy needs upward rounding left on for the whole
// computation, under which glibc gives no accuracy figures for its functions.)
//
// Bounds may be infinite. An empty interval has lo > hi; operations on empty
// intervals are not defined, so callers test emptiness where it can arise.

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

namespace zl {

inline constexpr double kInfinity = std::numeric_limits<double>::infinity();

/// The next double toward +infinity; +infinity and NaN stay as they are.
inline double nextUp(double x) {
    if (!(x < kInfinity)) return x;
    if (x == 0) return std::numeric_limits<double>::denorm_min();
    const auto bits = std::bit_cast<std::uint64_t>(x);
    return std::bit_cast<double>(x > 0 ? bits + 1 : bits - 1);
}

/// The next double toward -infinity; -infinity and NaN stay as they are.
inline double nextDown(double x) {
    if (!(x > -kInfinity)) return x;
    if (x == 0) return -std::numeric_limits<double>::denorm_min();
    const auto bits = std::bit_cast<std::uint64_t>(x);
    return std::bit_cast<double>(x > 0 ? bits - 1 : bits + 1);
}

/// `ulps` steps toward -infinity (for results of library functions whose
/// error is a few ulps).
inline double stepsDown(double x, int ulps) {
    for (int i = 0; i < ulps; ++i) x = nextDown(x);
    return x;
}
inline double stepsUp(double x, int ulps) {
    for (int i = 0; i < ulps; ++i) x = nextUp(x);
    return x;
}

struct Interval {
    double lo = 0;
    double hi = 0;

    constexpr Interval() = default;
    constexpr Interval(double point) : lo(point), hi(point) {}
    constexpr Interval(double lower, double upper) : lo(lower), hi(upper) {}

    static constexpr Interval empty() { return {kInfinity, -kInfinity}; }
    static constexpr Interval entire() { return {-kInfinity, kInfinity}; }

    bool isEmpty() const { return !(lo <= hi); }
    bool isPoint() const { return lo == hi; }
    bool isBounded() const { return lo > -kInfinity && hi < kInfinity; }
    bool contains(double x) const { return lo <= x && x <= hi; }
    bool containsZero() const { return lo <= 0 && 0 <= hi; }
    /// True when `inner` lies strictly inside, away from both bounds.
    bool containsInInterior(const Interval &inner) const { return lo < inner.lo && inner.hi < hi; }
    bool containsInterval(const Interval &inner) const { return lo <= inner.lo && inner.hi <= hi; }
    double width() const { return hi - lo; }
    /// A point inside (finite even for unbounded intervals).
    double mid() const {
        if (lo == -kInfinity) return hi == kInfinity ? 0.0 : (hi > 0 ? -hi : 2 * hi - 1);
        if (hi == kInfinity) return lo < 0 ? -lo : 2 * lo + 1;
        const double m = 0.5 * lo + 0.5 * hi;
        return m < lo ? lo : (m > hi ? hi : m);
    }
    /// The largest magnitude in the interval.
    double magnitude() const { return std::fmax(std::fabs(lo), std::fabs(hi)); }
    /// The smallest magnitude in the interval.
    double mignitude() const { return containsZero() ? 0.0 : std::fmin(std::fabs(lo), std::fabs(hi)); }
};

inline Interval widened(double lo, double hi) { return {nextDown(lo), nextUp(hi)}; }

inline Interval intersect(const Interval &a, const Interval &b) {
    return {a.lo > b.lo ? a.lo : b.lo, a.hi < b.hi ? a.hi : b.hi};
}

/// The smallest interval holding both (an empty one is ignored).
inline Interval hull(const Interval &a, const Interval &b) {
    if (a.isEmpty()) return b;
    if (b.isEmpty()) return a;
    return {a.lo < b.lo ? a.lo : b.lo, a.hi > b.hi ? a.hi : b.hi};
}

inline Interval operator+(const Interval &a, const Interval &b) { return widened(a.lo + b.lo, a.hi + b.hi); }
inline Interval operator-(const Interval &a, const Interval &b) { return widened(a.lo - b.hi, a.hi - b.lo); }
inline Interval operator-(const Interval &a) { return {-a.hi, -a.lo}; }

namespace interval_detail {

/// A product of bounds where 0 times an infinite bound counts as 0: the
/// interval's values are finite, so the product of a zero and any of them is 0.
inline double boundProduct(double a, double b) { return (a == 0 || b == 0) ? 0.0 : a * b; }

/// A quotient of bounds where an infinite bound over an infinite one counts
/// as the infinity on its side: reached only from the hull's outer ends.
inline double boundQuotient(double a, double b, double ifUndefined) {
    const double q = a / b;
    return q == q ? q : ifUndefined;
}

// Minimum and maximum of non-NaN values, without the NaN rules of fmin/fmax.
inline double min2(double a, double b) { return a < b ? a : b; }
inline double max2(double a, double b) { return a > b ? a : b; }
inline double min4(double a, double b, double c, double d) { return min2(min2(a, b), min2(c, d)); }
inline double max4(double a, double b, double c, double d) { return max2(max2(a, b), max2(c, d)); }

}  // namespace interval_detail

inline Interval operator*(double a, const Interval &b);

inline Interval operator*(const Interval &a, const Interval &b) {
    // A point factor (a constant, often, or zero) needs two products only.
    if (a.lo == a.hi) return a.lo * b;
    if (b.lo == b.hi) return b.lo * a;
    double p1;
    double p2;
    double p3;
    double p4;
    if (a.isBounded() && b.isBounded()) [[likely]] {
        p1 = a.lo * b.lo;
        p2 = a.lo * b.hi;
        p3 = a.hi * b.lo;
        p4 = a.hi * b.hi;
    } else {
        using interval_detail::boundProduct;
        p1 = boundProduct(a.lo, b.lo);
        p2 = boundProduct(a.lo, b.hi);
        p3 = boundProduct(a.hi, b.lo);
        p4 = boundProduct(a.hi, b.hi);
    }
    return widened(interval_detail::min4(p1, p2, p3, p4), interval_detail::max4(p1, p2, p3, p4));
}

/// A point times an interval; zero times anything is exactly zero.
inline Interval operator*(double a, const Interval &b) {
    if (a == 0) return Interval(0.0);
    const double p1 = a * b.lo;
    const double p2 = a * b.hi;
    return a > 0 ? widened(p1, p2) : widened(p2, p1);
}

/// a / b for b not containing 0.
inline Interval divideAwayFromZero(const Interval &a, const Interval &b) {
    using namespace interval_detail;
    if (a.lo == 0 && a.hi == 0) return Interval(0.0);
    if (a.isBounded() && b.isBounded()) [[likely]] {
        const double q1 = a.lo / b.lo;
        const double q2 = a.lo / b.hi;
        const double q3 = a.hi / b.lo;
        const double q4 = a.hi / b.hi;
        return widened(min4(q1, q2, q3, q4), max4(q1, q2, q3, q4));
    }
    // 0/0 cannot arise (b excludes 0); inf/inf stands for a quotient that
    // grows without bound on the hull's side, or for 0 when the other end
    // of b is finite: both are covered by taking 0 and that infinity.
    const double q1 = boundQuotient(a.lo, b.lo, 0);
    const double q2 = boundQuotient(a.lo, b.hi, 0);
    const double q3 = boundQuotient(a.hi, b.lo, 0);
    const double q4 = boundQuotient(a.hi, b.hi, 0);
    return widened(min4(q1, q2, q3, q4), max4(q1, q2, q3, q4));
}

/// The hull of {x / y : x in a, y in b, y != 0}: an empty interval when b is
/// [0, 0], unbounded on the side(s) where b touches 0.
inline Interval operator/(const Interval &a, const Interval &b) {
    if (!b.containsZero()) return divideAwayFromZero(a, b);
    if (b.lo == 0 && b.hi == 0) return Interval::empty();
    if (a.lo == 0 && a.hi == 0) return Interval(0.0);
    if (b.lo < 0 && b.hi > 0) return Interval::entire();
    if (a.containsZero()) return Interval::entire();
    // b = [0, hi] or [lo, 0]: one side of zero only.
    if (b.lo == 0) {
        return a.lo > 0 ? Interval(nextDown(a.lo / b.hi), kInfinity) : Interval(-kInfinity, nextUp(a.hi / b.hi));
    }
    return a.lo > 0 ? Interval(-kInfinity, nextUp(a.lo / b.lo)) : Interval(nextDown(a.hi / b.lo), kInfinity);
}

inline Interval square(const Interval &a) {
    if (a.lo >= 0) return widened(a.lo * a.lo, a.hi * a.hi);
    if (a.hi <= 0) return widened(a.hi * a.hi, a.lo * a.lo);
    const double m = -a.lo > a.hi ? -a.lo : a.hi;
    return {0.0, nextUp(m * m)};
}

/// a^3 as (a * a) * a, which never decreases: the bounds from the bounds.
inline Interval cube(const Interval &a) {
    auto lowerCube = [](double x) {
        if (x >= 0) return nextDown(nextDown(x * x) * x);
        return -nextUp(nextUp(x * x) * -x);
    };
    auto upperCube = [](double x) {
        if (x >= 0) return nextUp(nextUp(x * x) * x);
        return -nextDown(nextDown(x * x) * -x);
    };
    return {lowerCube(a.lo), upperCube(a.hi)};
}

inline Interval absolute(const Interval &a) {
    if (a.lo >= 0) return a;
    if (a.hi <= 0) return -a;
    return {0.0, -a.lo > a.hi ? -a.lo : a.hi};
}

/// The square root of the non-negative part; empty when a lies below 0.
inline Interval squareRoot(const Interval &a) {
    if (a.hi < 0) return Interval::empty();
    const double lo = a.lo <= 0 ? 0.0 : std::fmax(0.0, nextDown(std::sqrt(a.lo)));
    return {lo, nextUp(std::sqrt(a.hi))};
}

}  // namespace zl

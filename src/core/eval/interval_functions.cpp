#include "core/eval/interval_functions.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "core/eval/arithmetic.h"
#include "core/eval/builtin_functions.h"
#include "core/numbers/number_reading.h"

namespace zl::intervals {
namespace {

constexpr double kHalfPi = 1.5707963267948966;
constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;

// A library result widened by 2^-49 of its magnitude (8 to 16 ulps, against
// the 2 ulps of glibc's table), plus a little for results near zero. An
// overflowed +-infinity on the inner side stands for a finite value beyond
// DBL_MAX.
double libraryDown(double y) {
    if (std::isfinite(y)) return y - (std::fabs(y) * 0x1p-49 + 0x1p-1060);
    return y > 0 ? DBL_MAX : y;
}
double libraryUp(double y) {
    if (std::isfinite(y)) return y + (std::fabs(y) * 0x1p-49 + 0x1p-1060);
    return y < 0 ? -DBL_MAX : y;
}

Interval increasing(double (*function)(double), const Interval &x) {
    return {libraryDown(function(x.lo)), libraryUp(function(x.hi))};
}

/// sin, cos and tanh stay within [-1, 1]; an ulp beyond it in case the C
/// library rounds past it.
Interval clampToUnit(Interval v) { return {std::max(v.lo, nextDown(-1.0)), std::min(v.hi, nextUp(1.0))}; }

/// True when x holds, or may hold within rounding, a point phase + k * period.
bool mayContainPhase(const Interval &x, double phase, double period) {
    const double from = (x.lo - phase) / period;
    const double to = (x.hi - phase) / period;
    const double slack = 1e-12 + 1e-14 * std::max(std::fabs(from), std::fabs(to));
    return std::floor(to + slack) >= std::ceil(from - slack);
}

/// Beyond this magnitude, or over a full period, sin and cos take [-1, 1].
bool coversPeriod(const Interval &x) { return !x.isBounded() || x.width() >= kTwoPi || x.magnitude() > 1e12; }

/// m^n for m >= 0 by repeated squaring, every product rounded the same way.
double boundPower(double m, int n, bool up) {
    double result = 1.0;
    double square = m;
    for (;;) {
        if (n & 1) result = up ? nextUp(result * square) : nextDown(result * square);
        n >>= 1;
        if (n == 0) return up ? result : std::max(result, 0.0);
        square = up ? nextUp(square * square) : std::max(nextDown(square * square), 0.0);
    }
}

/// b^n for a bound b and n >= 1, rounded down or up.
double signedBoundPower(double b, int n, bool up) {
    if (b >= 0) return boundPower(b, n, up);
    const double magnitude = boundPower(-b, n, !up);
    return (n & 1) ? -magnitude : magnitude;
}

/// |b|^c via pow, c > 0 an integer or not, rounded down or up.
double powerBound(double m, double c, bool up) {
    const double p = std::pow(m, c);
    return up ? libraryUp(p) : std::max(libraryDown(p), 0.0);
}

Interval positivePower(const Interval &x, int n) {
    if (n % 2 == 0) {
        const Interval m = absolute(x);
        return {boundPower(m.lo, n, false), boundPower(m.hi, n, true)};
    }
    return {signedBoundPower(x.lo, n, false), signedBoundPower(x.hi, n, true)};
}

Interval reciprocal(const Interval &p, bool &regular) {
    if (p.containsZero()) regular = false;
    return Interval(1.0) / p;
}

/// A step function f that never decreases, over x: [f(lo), f(hi)], regular
/// only where it is constant.
template <typename Step>
Interval steps(const Interval &x, bool &regular, Step f) {
    const Interval v{f(x.lo), f(x.hi)};
    if (v.lo != v.hi) regular = false;
    return v;
}

/// The built-in's value at a bound inside its domain.
double builtinAt(BuiltinFunction function, double x) {
    double result = 0;
    // Bounds lie inside the domain, so the status is always success.
    (void)applyBuiltin(function, x, result);
    return result;
}

/// A conversion to a whole number that fails outside [least, most] after
/// rounding: x clipped to the arguments that round inside.
Interval roundedConversion(const Interval &x, double least, double most, bool &regular) {
    const Interval arguments = intersect(x, {least - 0.5, most + 0.5});
    if (arguments.isEmpty()) return Interval::empty();
    if (!(x.lo > least - 0.5 && x.hi < most + 0.5)) regular = false;
    const Interval v = steps(arguments, regular, roundHalfEven);
    return intersect(v, {least, most});
}

constexpr double kLongLeast = -2147483648.0;
constexpr double kLongMost = 2147483647.0;

/// The 32-bit integers an operand of \, Mod and the logical operators rounds
/// to; regular stays only when it is one integer on the whole interval.
Interval longRange(const Interval &x, bool &regular) { return roundedConversion(x, kLongLeast, kLongMost, regular); }

bool isOneValue(const Interval &v) { return v.lo == v.hi; }

/// The one value an operation on single numbers gives, or nothing when it fails.
template <typename Operation>
Interval exactly(Operation operation) {
    double result = 0;
    return operation(result) == arithmetic::kOk ? Interval(result) : Interval::empty();
}

}  // namespace

Interval exp(const Interval &x) {
    const Interval v = increasing(std::exp, x);
    return {std::max(v.lo, 0.0), v.hi};
}

Interval log(const Interval &x, bool &regular) {
    if (x.hi <= 0) return Interval::empty();
    if (x.lo <= 0) regular = false;
    return {x.lo <= 0 ? -kInfinity : libraryDown(std::log(x.lo)), libraryUp(std::log(x.hi))};
}

Interval sqrt(const Interval &x, bool &regular) {
    if (x.lo < 0) regular = false;
    return squareRoot(x);
}

Interval sin(const Interval &x) {
    if (coversPeriod(x)) return clampToUnit(Interval::entire());
    const double a = std::sin(x.lo);
    const double b = std::sin(x.hi);
    Interval v{libraryDown(std::min(a, b)), libraryUp(std::max(a, b))};
    if (mayContainPhase(x, kHalfPi, kTwoPi)) v.hi = nextUp(1.0);
    if (mayContainPhase(x, -kHalfPi, kTwoPi)) v.lo = nextDown(-1.0);
    return clampToUnit(v);
}

Interval cos(const Interval &x) {
    if (coversPeriod(x)) return clampToUnit(Interval::entire());
    const double a = std::cos(x.lo);
    const double b = std::cos(x.hi);
    Interval v{libraryDown(std::min(a, b)), libraryUp(std::max(a, b))};
    if (mayContainPhase(x, 0, kTwoPi)) v.hi = nextUp(1.0);
    if (mayContainPhase(x, kPi, kTwoPi)) v.lo = nextDown(-1.0);
    return clampToUnit(v);
}

Interval tan(const Interval &x, bool &regular) {
    if (!x.isBounded() || x.width() >= kPi || x.magnitude() > 1e12 || mayContainPhase(x, kHalfPi, kPi)) {
        regular = false;
        return Interval::entire();
    }
    return increasing(std::tan, x);
}

Interval atan(const Interval &x) {
    const Interval v = increasing(std::atan, x);
    return {std::max(v.lo, -kHalfPi - 1e-15), std::min(v.hi, kHalfPi + 1e-15)};
}

Interval wholePower(const Interval &x, int n, bool &regular) {
    if (n == 0) return Interval(1.0);
    if (n > 0) return positivePower(x, n);
    return reciprocal(positivePower(x, -n), regular);
}

Interval constantPower(const Interval &x, double c, bool &regular) {
    if (c == std::floor(c)) {
        if (c < 0) return reciprocal(constantPower(x, -c, regular), regular);
        if (std::fmod(c, 2.0) == 0) {
            const Interval m = absolute(x);
            return {powerBound(m.lo, c, false), powerBound(m.hi, c, true)};
        }
        const double lo = x.lo >= 0 ? powerBound(x.lo, c, false) : -powerBound(-x.lo, c, true);
        const double hi = x.hi >= 0 ? powerBound(x.hi, c, true) : -powerBound(-x.hi, c, false);
        return {lo, hi};
    }
    // A fractional power: defined for x > 0, and at 0 for c > 0.
    if (x.lo < 0 || (c < 0 && x.lo <= 0)) regular = false;
    const Interval d = intersect(x, {0, kInfinity});
    if (d.isEmpty() || (c < 0 && d.hi == 0)) return Interval::empty();
    if (c > 0) return {powerBound(d.lo, c, false), powerBound(d.hi, c, true)};
    return {powerBound(d.hi, c, false), d.lo == 0 ? kInfinity : powerBound(d.lo, c, true)};
}

Interval power(const Interval &x, const Interval &y, bool &regular) {
    if (!(x.lo > 0)) regular = false;
    bool ignored = true;
    Interval result = Interval::empty();
    if (x.hi > 0) {
        const Interval positive{std::max(x.lo, 0.0), x.hi};
        result = exp(y * log(positive, ignored));
    }
    if (x.containsZero()) {
        if (y.hi > 0) result = hull(result, Interval(0.0));
        if (y.containsZero()) result = hull(result, Interval(1.0));
    }
    if (x.lo < 0 && std::floor(y.hi) >= std::ceil(y.lo)) {
        // Negative bases with whole exponents: |x|^y with either sign.
        const Interval magnitudes{std::max(0.0, -x.hi), -x.lo};
        const double bound = exp(y * log(magnitudes, ignored)).hi;
        result = hull(result, {-bound, bound});
    }
    return result;
}

Interval divide(const Interval &a, const Interval &b, bool &regular) {
    if (b.containsZero()) regular = false;
    return a / b;
}

Interval integerPart(const Interval &x, bool &regular) {
    return steps(x, regular, [](double v) { return std::floor(v); });
}

Interval fix(const Interval &x, bool &regular) {
    return steps(x, regular, [](double v) { return std::trunc(v); });
}

Interval round(const Interval &x, bool &regular) { return steps(x, regular, roundHalfEven); }

Interval roundDigits(const Interval &x, const Interval &digits, bool &regular) {
    const Interval places = intersect(longRange(digits, regular), {0, kLongMost});
    if (places.isEmpty()) return Interval::empty();
    if (!digits.isBounded() || digits.lo < -0.5) regular = false;
    if (!x.isBounded()) {
        regular = false;
        return Interval::entire();
    }
    // Beyond 22 places the value is x itself.
    constexpr double kLastScaledPlace = 22;
    Interval result = places.hi > kLastScaledPlace ? x : Interval::empty();
    for (double p = places.lo; p <= std::min(places.hi, kLastScaledPlace); ++p) {
        double lo = 0;
        double hi = 0;
        (void)roundToDigits(x.lo, p, lo);
        (void)roundToDigits(x.hi, p, hi);
        if (lo != hi) regular = false;
        result = hull(result, {lo, hi});
    }
    // The switch to x itself for large scaled values may step back by an ulp.
    return {nextDown(nextDown(result.lo)), nextUp(nextUp(result.hi))};
}

Interval sign(const Interval &x, bool &regular) {
    return steps(x, regular, [](double v) { return v > 0 ? 1.0 : v < 0 ? -1.0 : 0.0; });
}

Interval toInteger(const Interval &x, bool &regular) { return roundedConversion(x, -32768, 32767, regular); }

Interval toLong(const Interval &x, bool &regular) { return roundedConversion(x, kLongLeast, kLongMost, regular); }

Interval toSingle(const Interval &x, bool &regular) {
    // Rounding to float overflows from 2^128 - 2^103 on.
    constexpr double kFloatLimit = 340282356779733661637539395458142568448.0;
    if (x.lo >= kFloatLimit || x.hi <= -kFloatLimit) return Interval::empty();
    if (!(x.lo > -kFloatLimit && x.hi < kFloatLimit)) regular = false;
    const Interval arguments{std::max(x.lo, -DBL_MAX), std::min(x.hi, DBL_MAX)};
    return steps(arguments, regular, [](double v) { return builtinAt(BuiltinFunction::CSng, v); });
}

Interval toBoolean(const Interval &x, bool &regular) {
    if (!x.containsZero()) return Interval(-1.0);
    if (x.isPoint()) return Interval(0.0);
    regular = false;
    return {-1, 0};
}

Interval compare(Comparison comparison, const Interval &a, const Interval &b, bool &regular) {
    // certainly: the relation holds at every pair; never: at none.
    bool certainly = false;
    bool never = false;
    switch (comparison) {
    case Comparison::Equal:
    case Comparison::NotEqual: {
        const bool equal = a.isPoint() && b.isPoint() && a.lo == b.lo;
        const bool apart = a.hi < b.lo || b.hi < a.lo;
        certainly = comparison == Comparison::Equal ? equal : apart;
        never = comparison == Comparison::Equal ? apart : equal;
        break;
    }
    case Comparison::Less:
        certainly = a.hi < b.lo;
        never = a.lo >= b.hi;
        break;
    case Comparison::Greater:
        certainly = a.lo > b.hi;
        never = a.hi <= b.lo;
        break;
    case Comparison::LessEqual:
        certainly = a.hi <= b.lo;
        never = a.lo > b.hi;
        break;
    case Comparison::GreaterEqual:
        certainly = a.lo >= b.hi;
        never = a.hi < b.lo;
        break;
    }
    if (certainly) return Interval(-1.0);
    if (never) return Interval(0.0);
    regular = false;
    return {-1, 0};
}

Interval logical(Logical op, const Interval &a, const Interval &b, bool &regular) {
    const Interval left = longRange(a, regular);
    const Interval right = longRange(b, regular);
    if (left.isEmpty() || right.isEmpty()) return Interval::empty();
    if (isOneValue(left) && isOneValue(right)) {
        return exactly([&](double &result) {
            return arithmetic::bitwise(static_cast<arithmetic::Bitwise>(op), left.lo, right.lo, result);
        });
    }
    // Truth values stay truth values under every operator.
    const Interval truth{-1, 0};
    if (truth.containsInterval(left) && truth.containsInterval(right)) return truth;
    return {kLongLeast, kLongMost};
}

Interval logicalNot(const Interval &x, bool &regular) {
    const Interval v = longRange(x, regular);
    if (v.isEmpty()) return v;
    return {-v.hi - 1, -v.lo - 1};
}

Interval integerDivide(const Interval &a, const Interval &b, bool &regular) {
    const Interval left = longRange(a, regular);
    const Interval right = longRange(b, regular);
    if (left.isEmpty() || right.isEmpty() || (right.lo == 0 && right.hi == 0)) return Interval::empty();
    if (isOneValue(left) && isOneValue(right)) {
        return exactly([&](double &result) { return arithmetic::integerDivide(left.lo, right.lo, result); });
    }
    regular = false;
    // Quotients over each sign of the divisor, truncated, a unit wider for
    // the rounding of the quotient itself.
    Interval quotients = Interval::empty();
    if (right.lo <= -1) quotients = hull(quotients, left / Interval(right.lo, std::min(right.hi, -1.0)));
    if (right.hi >= 1) quotients = hull(quotients, left / Interval(std::max(right.lo, 1.0), right.hi));
    return intersect({std::trunc(quotients.lo) - 1, std::trunc(quotients.hi) + 1}, {kLongLeast, kLongMost});
}

Interval modulo(const Interval &a, const Interval &b, bool &regular) {
    const Interval left = longRange(a, regular);
    const Interval right = longRange(b, regular);
    if (left.isEmpty() || right.isEmpty() || (right.lo == 0 && right.hi == 0)) return Interval::empty();
    if (isOneValue(left) && isOneValue(right)) {
        return exactly([&](double &result) { return arithmetic::modulo(left.lo, right.lo, result); });
    }
    regular = false;
    // |a Mod b| < |b| and |a Mod b| <= |a|, with the sign of a.
    const double bound = std::min(absolute(right).hi - 1, absolute(left).hi);
    return {left.lo >= 0 ? 0.0 : -bound, left.hi <= 0 ? 0.0 : bound};
}

// The math library computes its functions by formulas whose rounding can
// exceed the C library's few ulps (Sinh near 0 by cancellation of two
// exponentials, Asinh of negative numbers, Acosh and Asin near where their
// square roots vanish). Each enclosure below is the exact function's range,
// widened by a bound on how far the library's formula can stray from it
// (worked out term by term in units of kHalfUlp = 2^-53, with margin), so
// that it holds both the exact value and the value the engine computes.

namespace {

constexpr double kHalfUlp = 0x1p-53;
constexpr double kUlp = 0x1p-52;

Interval widenedBy(const Interval &v, double error) { return {nextDown(v.lo - error), nextUp(v.hi + error)}; }

/// How far sqrt(d) can move when d = 1 - v*v or v*v - 1 is computed from
/// v*v rounded with error `eta`: at most eta / (2 sqrt(d)). Where d is small,
/// v is a double next to 1, and v*v discards at most j^2 ulp^2 for v = 1 -+ j
/// ulps; the worst case over j gives 2^-39 / 4 or less.
double rootTermError(double eta, double smallestD) {
    constexpr double kNearOne = 0x1p-39 / 4;
    const double bound = std::max(kNearOne, eta);
    return smallestD > 0 ? std::min(bound, eta / (2 * std::sqrt(smallestD))) : bound;
}

/// asin over d (within [-1, 1]) as atan(v / sqrt(1 - v*v)) computes it.
Interval libraryArcSine(const Interval &d) {
    const double smallestD = std::max(0.0, nextDown(1 - square(d).hi));
    // atan's error is the root's error times |v|, plus the quotient's and atan's own.
    const double error = rootTermError(kHalfUlp, smallestD) + 4 * kHalfUlp + 4 * kUlp;
    return widenedBy(increasing(std::asin, d), error);
}

}  // namespace

Interval asin(const Interval &x, double halfpi, bool &regular) {
    if (!(x.lo > -1 && x.hi < 1)) regular = false;
    const Interval d = intersect(x, {-1, 1});
    if (d.isEmpty()) return d;
    Interval v = libraryArcSine(d);
    if (d.lo == -1) v = hull(v, Interval(-halfpi));
    if (d.hi == 1) v = hull(v, Interval(halfpi));
    return v;
}

Interval acos(const Interval &x, double halfpi, bool &regular) {
    if (!(x.lo > -1 && x.hi < 1)) regular = false;
    const Interval d = intersect(x, {-1, 1});
    if (d.isEmpty()) return d;
    Interval v = Interval(halfpi) - libraryArcSine(d);
    if (d.lo == -1) v = hull(v, Interval(2 * halfpi));
    if (d.hi == 1) v = hull(v, Interval(0.0));
    return v;
}

// (exp(v) -+ exp(-v)) * 0.5: each exponential within 2 ulps, the sum or
// difference within half an ulp: at most 3 ulps of cosh(v) in all.
Interval sinh(const Interval &x) { return widenedBy(increasing(std::sinh, x), 4 * kUlp * std::cosh(x.magnitude())); }

Interval cosh(const Interval &x) {
    const Interval m = absolute(x);
    const Interval v{std::max(libraryDown(std::cosh(m.lo)), 1.0), libraryUp(std::cosh(m.hi))};
    return widenedBy(v, 4 * kUlp * std::cosh(x.magnitude()));
}

// -2 exp(-v) / (exp(v) + exp(-v)) + 1: a quotient of magnitude at most 2
// within 5 ulps, then the rounding of the sum.
Interval tanh(const Interval &x) { return clampToUnit(widenedBy(increasing(std::tanh, x), 16 * kUlp)); }

// log(v + sqrt(v*v + 1)): the argument's relative error is at most
// 2^-53 (1 + 2 t / s) with t the root and s the sum; t / s is at most 1 for
// v >= 0 and 2 (v*v + 1) for v < 0, where the sum cancels.
Interval asinh(const Interval &x, bool &regular) {
    // Below -2^26 the root rounds to -v and the library's log(0) fails.
    if (x.lo < -0x1p26) regular = false;
    const Interval v = increasing(std::asinh, x);
    const double negative = std::max(0.0, -x.lo);
    const double error = kUlp * (6 + 3 * negative * negative + 3 * v.magnitude());
    return widenedBy(v, error);
}

// log(v + sqrt(v*v - 1)), v >= 1: the root term errs as for Asin; the sum
// is at least 1 and has no cancellation.
Interval acosh(const Interval &x, bool &regular) {
    if (!(x.lo >= 1)) regular = false;
    const Interval d = intersect(x, {1, kInfinity});
    if (d.isEmpty()) return d;
    const Interval v = increasing(std::acosh, d);
    const double smallestD = std::max(0.0, nextDown(d.lo * d.lo - 1));
    const double smallestSum = std::max(1.0, d.lo + std::sqrt(smallestD));
    const double eta = kHalfUlp * d.hi * d.hi;
    const double error = 1.01 * (rootTermError(eta, smallestD) / smallestSum + 4 * kHalfUlp) + 4 * kUlp * v.magnitude();
    return widenedBy({std::max(v.lo, 0.0), v.hi}, error);
}

// log((1 + v) / (1 - v)) * 0.5: a ratio within 3 half-ulps, then log's 2 ulps.
Interval atanh(const Interval &x, bool &regular) {
    if (x.hi <= -1 || x.lo >= 1) return Interval::empty();
    if (!(x.lo > -1 && x.hi < 1)) regular = false;
    const Interval v{x.lo <= -1 ? -kInfinity : libraryDown(std::atanh(x.lo)),
                     x.hi >= 1 ? kInfinity : libraryUp(std::atanh(x.hi))};
    return widenedBy(v, kUlp * (4 + 4 * v.magnitude()));
}

}  // namespace zl::intervals

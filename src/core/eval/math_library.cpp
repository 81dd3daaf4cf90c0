#include "core/eval/math_library.h"

#include <cmath>

#include "core/eval/arithmetic.h"

namespace zl {
namespace {

using namespace arithmetic;

/// 1 where the condition holds, else 0: the special cases at +-1 are
/// weighted in rather than branched to.
double indicator(bool condition) { return condition ? 1.0 : 0.0; }

}  // namespace

double MathLibrary::fail(std::int32_t number) {
    ierr = number;
    if (ownerErrorNumber_) *ownerErrorNumber_ = number;
    return 0;
}

// halfpi, pi and e are the user's to change: halfpi = 1E308 makes Acos(-1)
// overflow, and no function may hand back an infinite or NaN value.
double MathLibrary::finite(double result) { return std::isfinite(result) ? result : fail(kOverflow); }

// Asin(v) = atan(v / sqrt(1 - v*v)) * [|v| != 1] + halfpi * ([v = 1] - [v = -1]),
// with the square root's argument replaced by 1 at |v| = 1.
double MathLibrary::Asin(double v) {
    const double notUnit = indicator(std::fabs(v) != 1);
    const double radicand = (1 - v * v) * notUnit + (1 - notUnit);
    if (radicand < 0) return fail(kInvalidArgument);
    if (radicand == 0) return fail(kDivisionByZero);
    return finite(std::atan(v / std::sqrt(radicand)) * notUnit + halfpi * (indicator(v == 1) - indicator(v == -1)));
}

// Acos(v) = halfpi - atan(v / sqrt(1 - v*v)) * [|v| != 1] - halfpi * ([v = 1] - [v = -1]).
double MathLibrary::Acos(double v) {
    const double notUnit = indicator(std::fabs(v) != 1);
    const double radicand = (1 - v * v) * notUnit + (1 - notUnit);
    if (radicand < 0) return fail(kInvalidArgument);
    if (radicand == 0) return fail(kDivisionByZero);
    return finite(halfpi - std::atan(v / std::sqrt(radicand)) * notUnit -
                  halfpi * (indicator(v == 1) - indicator(v == -1)));
}

// Both exponentials are always computed, so |v| beyond ~709.78 overflows for either sign.
double MathLibrary::Sinh(double v) {
    const double up = std::exp(v);
    const double down = std::exp(-v);
    if (!std::isfinite(up) || !std::isfinite(down)) return fail(kOverflow);
    return finite((up - down) * 0.5);
}

double MathLibrary::Cosh(double v) {
    const double up = std::exp(v);
    const double down = std::exp(-v);
    if (!std::isfinite(up) || !std::isfinite(down)) return fail(kOverflow);
    return finite((up + down) * 0.5);
}

// Tanh(v) = -2 exp(-v) / (exp(v) + exp(-v)) + 1
double MathLibrary::Tanh(double v) {
    const double up = std::exp(v);
    const double down = std::exp(-v);
    if (!std::isfinite(up) || !std::isfinite(down)) return fail(kOverflow);
    const double sum = up + down;
    const double scaledDown = -2 * down;  // overflows from exp(-v) > DBL_MAX / 2, near v = -709.09
    if (!std::isfinite(sum) || !std::isfinite(scaledDown)) return fail(kOverflow);
    return finite(scaledDown / sum + 1);
}

// Asinh(v) = log(v + sqrt(v*v + 1))
double MathLibrary::Asinh(double v) {
    const double square = v * v;
    if (!std::isfinite(square)) return fail(kOverflow);
    const double argument = v + std::sqrt(square + 1);
    if (argument <= 0) return fail(kInvalidArgument);
    return finite(std::log(argument));
}

// Acosh(v) = log(v + sqrt(v*v - 1))
double MathLibrary::Acosh(double v) {
    const double square = v * v;
    if (!std::isfinite(square)) return fail(kOverflow);
    if (square - 1 < 0) return fail(kInvalidArgument);
    const double argument = v + std::sqrt(square - 1);
    if (argument <= 0) return fail(kInvalidArgument);
    return finite(std::log(argument));
}

// Atanh(v) = log((1 + v) / (1 - v)) * 0.5
double MathLibrary::Atanh(double v) {
    double ratio = 0;
    if (const auto error = divide(1 + v, 1 - v, ratio)) return fail(error);
    if (ratio <= 0) return fail(kInvalidArgument);
    return finite(std::log(ratio) * 0.5);
}

template <double (MathLibrary::*function)(double)>
double callLibraryFunction(MathLibrary &library, double argument) {
    return (library.*function)(argument);
}

template double callLibraryFunction<&MathLibrary::Asin>(MathLibrary &, double);
template double callLibraryFunction<&MathLibrary::Acos>(MathLibrary &, double);
template double callLibraryFunction<&MathLibrary::Sinh>(MathLibrary &, double);
template double callLibraryFunction<&MathLibrary::Cosh>(MathLibrary &, double);
template double callLibraryFunction<&MathLibrary::Tanh>(MathLibrary &, double);
template double callLibraryFunction<&MathLibrary::Asinh>(MathLibrary &, double);
template double callLibraryFunction<&MathLibrary::Acosh>(MathLibrary &, double);
template double callLibraryFunction<&MathLibrary::Atanh>(MathLibrary &, double);

}  // namespace zl

#pragma once
// The numeric meaning of the operators, shared by the general evaluator and
// the compiled numeric programs so that both compute bit-identical results.
// Each operation returns 0 and writes its result, or returns an error number.

#include <cmath>
#include <cstdint>

#include "core/eval/script_error_catalogue.h"

namespace zl::arithmetic {

inline constexpr std::int32_t kOk = 0;
inline constexpr std::int32_t kInvalidArgument = errorNumber(ScriptErrorCode::InvalidProcedureCall);
inline constexpr std::int32_t kOverflow = errorNumber(ScriptErrorCode::Overflow);
inline constexpr std::int32_t kDivisionByZero = errorNumber(ScriptErrorCode::DivisionByZero);

/// Whole exponents up to this magnitude are done by multiplication, not pow.
inline constexpr int kMaxMultipliedExponent = 16;

inline double truth(bool condition) { return condition ? -1.0 : 0.0; }

inline std::int32_t finiteOrOverflow(double result) { return std::isfinite(result) ? kOk : kOverflow; }

/// base^n for 0 <= n <= kMaxMultipliedExponent by repeated squaring; n = 2
/// and n = 3 are the plain products base*base and (base*base)*base.
inline double multipliedPower(double base, int n) {
    switch (n) {
    case 0:
        return 1.0;
    case 1:
        return base;
    case 2:
        return base * base;
    case 3:
        return (base * base) * base;
    default:
        break;
    }
    double result = 1.0;
    double square = base;
    for (;;) {
        if (n & 1) result *= square;
        n >>= 1;
        if (n == 0) return result;
        square *= square;
    }
}

/// The whole exponent handled by multiplication, or a value outside the range.
inline int multipliedExponent(double exponent) {
    if (exponent >= -kMaxMultipliedExponent && exponent <= kMaxMultipliedExponent &&
        exponent == static_cast<double>(static_cast<int>(exponent)))
        return static_cast<int>(exponent);
    return kMaxMultipliedExponent + 1;
}

/// base^n for a whole n within the multiplied range; 0^-n divides by zero.
inline std::int32_t wholePower(double base, int n, double &result) {
    if (n >= 0) {
        result = multipliedPower(base, n);
    } else {
        if (base == 0) return kDivisionByZero;
        result = 1.0 / multipliedPower(base, -n);
    }
    return finiteOrOverflow(result);
}

/// base^exponent: 0 to a negative power divides by zero; a negative base to
/// a fractional power is an invalid argument.
inline std::int32_t power(double base, double exponent, double &result) {
    const int n = multipliedExponent(exponent);
    if (n <= kMaxMultipliedExponent) return wholePower(base, n, result);
    if (base == 0 && exponent < 0) return kDivisionByZero;
    if (base < 0 && exponent != std::floor(exponent)) return kInvalidArgument;
    result = std::pow(base, exponent);
    return finiteOrOverflow(result);
}

/// a/b: 0/0 overflows, any other a/0 divides by zero.
inline std::int32_t divide(double a, double b, double &result) {
    if (b == 0) return a == 0 ? kOverflow : kDivisionByZero;
    result = a / b;
    return finiteOrOverflow(result);
}

/// The Long a number converts to: rounded halves to even; outside 32 bits it overflows.
inline std::int32_t toLong(double value, std::int32_t &result) {
    const double rounded = std::nearbyint(value);
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return kOverflow;
    result = static_cast<std::int32_t>(rounded);
    return kOk;
}

/// a \ b: both rounded to Long, the quotient truncated toward zero.
inline std::int32_t integerDivide(double a, double b, double &result) {
    std::int32_t left = 0;
    std::int32_t right = 0;
    if (const auto error = toLong(a, left)) return error;
    if (const auto error = toLong(b, right)) return error;
    if (right == 0) return kDivisionByZero;
    if (left == INT32_MIN && right == -1) return kOverflow;
    result = static_cast<double>(left / right);
    return kOk;
}

/// a Mod b: both rounded to Long; the remainder has the sign of a.
inline std::int32_t modulo(double a, double b, double &result) {
    std::int32_t left = 0;
    std::int32_t right = 0;
    if (const auto error = toLong(a, left)) return error;
    if (const auto error = toLong(b, right)) return error;
    if (right == 0) return kDivisionByZero;
    result = right == -1 ? 0.0 : static_cast<double>(left % right);
    return kOk;
}

enum class Bitwise : std::uint8_t { And, Or, Xor, Eqv, Imp };

/// The logical operators on Longs, bit by bit (on -1 and 0 they are the
/// truth tables).
inline std::int32_t bitwise(Bitwise op, double a, double b, double &result) {
    std::int32_t left = 0;
    std::int32_t right = 0;
    if (const auto error = toLong(a, left)) return error;
    if (const auto error = toLong(b, right)) return error;
    std::int32_t bits = 0;
    switch (op) {
    case Bitwise::And:
        bits = left & right;
        break;
    case Bitwise::Or:
        bits = left | right;
        break;
    case Bitwise::Xor:
        bits = left ^ right;
        break;
    case Bitwise::Eqv:
        bits = ~(left ^ right);
        break;
    case Bitwise::Imp:
        bits = ~left | right;
        break;
    }
    result = static_cast<double>(bits);
    return kOk;
}

inline std::int32_t bitwiseNot(double a, double &result) {
    std::int32_t bits = 0;
    if (const auto error = toLong(a, bits)) return error;
    result = static_cast<double>(~bits);
    return kOk;
}

}  // namespace zl::arithmetic

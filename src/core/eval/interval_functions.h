#pragma once
// The language's functions and operators over intervals. Each gives an
// interval holding the function's value at every point of the argument
// interval(s) where the function is defined, or an empty interval when it is
// defined nowhere there (a point where a residual fails is no root).
//
// `regular` is cleared when the function may be undefined or discontinuous
// somewhere in the argument interval: the enclosure still holds, but the
// existence proofs of interval Newton need a function defined and continuous
// on the whole box.
//
// Results of the C library's functions are widened by kLibraryUlps units in
// the last place each way. glibc's table of known maximum errors lists at most
// 2 ulp in double precision on x86-64 for every function used here (exp, log,
// sin, cos, tan, atan, pow, sinh, cosh, tanh, asin, asinh, acosh, atanh);
// sqrt, floor and the other exactly rounded operations need only the one ulp
// of the basic arithmetic.

#include <cstdint>

#include "core/eval/interval.h"

namespace zl::intervals {

inline constexpr int kLibraryUlps = 4;

Interval exp(const Interval &x);
Interval log(const Interval &x, bool &regular);
Interval sqrt(const Interval &x, bool &regular);
Interval sin(const Interval &x);
Interval cos(const Interval &x);
Interval tan(const Interval &x, bool &regular);
Interval atan(const Interval &x);

/// x^n for a whole n, |n| <= 16, as the language computes it by
/// multiplication; a negative n divides 1 by x^-n (undefined at 0).
Interval wholePower(const Interval &x, int n, bool &regular);
/// x^c for a constant c outside that range: integer c as pow does it,
/// otherwise defined for x > 0, and at x = 0 when c > 0.
Interval constantPower(const Interval &x, double c, bool &regular);
/// x^y with both varying: exp(y log x) for x > 0, with 0^y and, for whole y,
/// negative x taken into the hull.
Interval power(const Interval &x, const Interval &y, bool &regular);

/// a / b, undefined where b = 0.
Interval divide(const Interval &a, const Interval &b, bool &regular);

// Whole-number steps: constant on the box makes them regular.
Interval integerPart(const Interval &x, bool &regular);  ///< Int: floor
Interval fix(const Interval &x, bool &regular);          ///< Fix: toward zero
Interval round(const Interval &x, bool &regular);        ///< Round: halves to even
Interval roundDigits(const Interval &x, const Interval &digits, bool &regular);
Interval sign(const Interval &x, bool &regular);
Interval toInteger(const Interval &x, bool &regular);  ///< CInt: 16 bits
Interval toLong(const Interval &x, bool &regular);     ///< CLng: 32 bits
Interval toSingle(const Interval &x, bool &regular);   ///< CSng
Interval toBoolean(const Interval &x, bool &regular);  ///< CBool: -1 or 0

enum class Comparison : std::uint8_t { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual };
/// -1 where the comparison holds, 0 where it does not.
Interval compare(Comparison comparison, const Interval &a, const Interval &b, bool &regular);

enum class Logical : std::uint8_t { And, Or, Xor, Eqv, Imp };
/// The bitwise operators on the operands rounded to 32-bit integers.
Interval logical(Logical op, const Interval &a, const Interval &b, bool &regular);
Interval logicalNot(const Interval &x, bool &regular);
Interval integerDivide(const Interval &a, const Interval &b, bool &regular);  ///< a \ b
Interval modulo(const Interval &a, const Interval &b, bool &regular);         ///< a Mod b

// The math library's functions; Asin and Acos give +-halfpi at +-1, with
// `halfpi` the value of the library's member.
Interval asin(const Interval &x, double halfpi, bool &regular);
Interval acos(const Interval &x, double halfpi, bool &regular);
Interval sinh(const Interval &x);
Interval cosh(const Interval &x);
Interval tanh(const Interval &x);
Interval asinh(const Interval &x, bool &regular);
Interval acosh(const Interval &x, bool &regular);
Interval atanh(const Interval &x, bool &regular);

}  // namespace zl::intervals

#pragma once
// The math library added to the engine as "sh": inverse trigonometric,
// hyperbolic and inverse hyperbolic functions and the constants pi, halfpi, e.
// Each function traps its own failure: it records the error number in its own
// ierr and in the owner's error number, and returns 0.
// The member and function names are names users type in equations (pi, Asin,
// sh.ierr), so renaming one breaks the problems they have saved.

#include <cstdint>

namespace zl {

class MathLibrary {
public:
    double pi = 0;
    double halfpi = 0;
    double e = 0;
    double x = 0;
    std::int32_t ierr = 0;

    /// Where failures are also recorded (the window's ierr); may be null.
    void setOwnerErrorNumber(std::int32_t *target) { ownerErrorNumber_ = target; }

    double Asin(double v);
    double Acos(double v);
    double Sinh(double v);
    double Cosh(double v);
    double Tanh(double v);
    double Asinh(double v);
    double Acosh(double v);
    double Atanh(double v);

    /// Records a failure the engine met on the library's behalf (an argument
    /// that is no number) exactly as the functions record their own; returns 0.
    double recordFailure(std::int32_t number) { return fail(number); }

private:
    double fail(std::int32_t number);
    /// The result, or the overflow failure (6) when it is not finite.
    double finite(double result);
    std::int32_t *ownerErrorNumber_ = nullptr;
};

/// A library function as a plain function. It is defined beside the
/// computations, so a compiled program reaches one in a single call.
template <double (MathLibrary::*function)(double)>
double callLibraryFunction(MathLibrary &library, double argument);

}  // namespace zl

#pragma once
// What the solver needs from the equations: the value of residual j at a point.
// The expression engine implements it for typed equations; tests and benchmarks
// implement it with native functions.

#include <cstdint>

namespace zl {

/// Error numbers that a run absorbs: the seed or node concerned fails and the run goes on.
inline constexpr std::int32_t kErrInvalidArgument = 5;
inline constexpr std::int32_t kErrOverflow = 6;
inline constexpr std::int32_t kErrDivisionByZero = 11;
inline constexpr std::int32_t kErrAlreadyReported = -2147352319;  // hexadecimal 80020101

constexpr bool isRecoverableError(std::int32_t number) {
    return number == kErrInvalidArgument || number == kErrOverflow ||
           number == kErrDivisionByZero || number == kErrAlreadyReported;
}

class ResidualSystem {
public:
    virtual ~ResidualSystem() = default;

    /// Evaluates residual `equation` (0-based) with the variables set from
    /// `point` (order values). Returns 0 and stores the value in `value`, or
    /// returns the error number and leaves `value` untouched. A returned value
    /// is always finite.
    virtual std::int32_t evaluate(int equation, const double *point, double &value) = 0;
};

} // namespace zl

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
    return number == kErrInvalidArgument || number == kErrOverflow || number == kErrDivisionByZero ||
           number == kErrAlreadyReported;
}

class ResidualSystem {
public:
    virtual ~ResidualSystem() = default;

    /// Evaluates residual `equation` (0-based) with the variables set from
    /// `point` (order values). Returns 0 and stores the value in `value`, or
    /// returns the error number and leaves `value` untouched. A returned value
    /// is always finite.
    [[nodiscard]] virtual std::int32_t evaluate(int equation, const double *point, double &value) = 0;

    /// Evaluates residuals 0..count-1 at one point, in order: statuses[j] is
    /// what evaluate(j) returns and values[j] is set only when it is 0. Stops
    /// after the first status outside the recoverable set and returns how many
    /// residuals it evaluated. A system may do this faster than one at a time.
    [[nodiscard]] virtual int evaluateAll(int count, const double *point, double *values, std::int32_t *statuses) {
        for (int j = 0; j < count; ++j) {
            statuses[j] = evaluate(j, point, values[j]);
            if (statuses[j] != 0 && !isRecoverableError(statuses[j])) return j + 1;
        }
        return count;
    }

    /// Residuals 0..count-1 at several points without reporting anything:
    /// point k has its coordinates at points + k * count, and residual j of it
    /// goes to values[k * count + j]. Stops at the first point where some
    /// residual fails or is not finite, and returns how many points came
    /// before it; the caller evaluates that point with evaluateAll to learn
    /// why. Returns -1, having evaluated nothing, when the system cannot
    /// evaluate quietly (the default).
    [[nodiscard]] virtual int evaluateMany(int count, const double *points, int pointCount, double *values) {
        (void)count, (void)points, (void)pointCount, (void)values;
        return -1;
    }
};

}  // namespace zl

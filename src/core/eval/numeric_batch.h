#pragma once
// A joined numeric program laid out to run over a batch of points at once:
// each step goes over every point of the batch before the next step starts,
// so a step's dispatch is paid once per batch, and its loop over the points
// is plain arithmetic on columns that the compiler turns into vector code.
// It serves the quiet evaluations of many points (the nodes ahead on a grid
// line, the points of a Newton cycle), which only ask how many points came
// before the first failure.
//
// Each point goes through exactly the operations, in the same order, that
// the stack program does for it: its results are the same bit for bit.

#include <cstdint>
#include <optional>
#include <vector>

#include "core/eval/builtin_functions.h"
#include "core/eval/numeric_program.h"

namespace zl {

enum class BatchOp : std::uint8_t {
    // target = a op b over the points; a and b are columns.
    Add,
    Subtract,
    Multiply,
    Divide,
    // target = a op (b * c).
    AddProduct,
    SubtractProduct,
    MultiplyProduct,
    // target = a op scalar.
    AddScalar,
    SubtractScalar,
    MultiplyScalar,
    DivideScalar,
    // target = scalar op a.
    ScalarSubtract,
    ScalarDivide,
    // target = f(a).
    Negate,
    Absolute,
    SquareRoot,
    Call,
    WholePower,     ///< a ^ count; fails like the stack program's step
    PowerScalar,    ///< a ^ scalar
    Power,          ///< a ^ b
    Broadcast,      ///< target = scalar at every point
    RequireFinite,  ///< a point fails where a is not finite
    Store,          ///< nothing: the step only stores a
};

struct BatchStep {
    BatchOp op = BatchOp::Store;
    std::int32_t target = 0;  ///< where the columns start in the batch's columns (column indices while translated)
    std::int32_t a = 0;
    std::int32_t b = 0;
    std::int32_t c = 0;
    std::int32_t count = 0;  ///< WholePower's exponent
    /// After the step, its target (a for Store) is result `store` of every
    /// point, which fails where it is not finite; none when negative.
    std::int32_t store = -1;
    double constant = 0;
    const double *scalar = nullptr;  ///< the scalar operand when it is a variable, else `constant`
    FastFunction function = nullptr;
};

class NumericBatch {
public:
    /// Points per pass over the steps; a run over more points makes several passes.
    static constexpr int kWidth = 32;

    /// The batch form of a program made by joinNumericPrograms, or nothing
    /// when the program has a step this form lacks (the library, comparisons,
    /// whole-number operations, a step that always fails).
    static std::optional<NumericBatch> from(const NumericProgram &joined);

    /// As runNumericProgram over `pointCount` points, point k reading input i
    /// at points[k * inputs + i]: the results of the points before the first
    /// failing one in values[k * results + j], and the variables the program
    /// takes its inputs in left as that run leaves them. Returns how many
    /// points came before the first failure.
    int run(const double *points, int pointCount, double *values);

private:
    NumericBatch() = default;
    /// One pass over at most kWidth points: how many came before the first failure.
    int runPass(const double *points, int pointCount, double *values);
    void takeInputs(const double *points, int pointCount, int lanes);
    [[gnu::cold]] int firstFailedPoint(int pointCount, const double *values);
    void leaveVariables(const double *points, int clean, bool failed) const;
    double *column(std::int32_t index) { return columns_.data() + static_cast<std::size_t>(index) * kWidth; }

    std::vector<double *> inputTargets_;  ///< input i goes to *inputTargets_[i]; column i holds it
    std::vector<BatchStep> steps_;
    std::int32_t results_ = 0;
    /// The inputs, then the probe (0 where a point is sound, NaN where it
    /// failed), then the working columns.
    std::vector<double> columns_;
};

}  // namespace zl

#include "core/eval/numeric_batch.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/eval/arithmetic.h"

namespace zl {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
/// The target of a step that writes no column.
constexpr std::int32_t kNoColumn = -1;

/// Turns the stack program into column steps. The translation keeps a stack
/// of operands as the program's stack would hold them; an operand that is a
/// constant or a variable is not copied anywhere, a computed one lives in the
/// working column of its depth.
class BatchTranslator {
public:
    struct Operand {
        enum class Kind : std::uint8_t { Column, Constant, Variable };
        Kind kind = Kind::Column;
        std::int32_t column = 0;
        double constant = 0;
        const double *variable = nullptr;
    };

    explicit BatchTranslator(std::vector<BatchStep> &steps) : steps_(steps) {}

    /// False when the step has no batch form.
    bool translate(const NumericInstruction &instruction) {
        if (stack_.empty() && usesTheTop(instruction.op)) return false;
        switch (instruction.op) {
        case NumericOp::TakeInput:
            inputs_.push_back(instruction.target);
            return true;
        case NumericOp::PushConstant:
            pushConstant(instruction.constant);
            return true;
        case NumericOp::PushVariable:
            pushVariable(instruction.variable);
            return true;
        case NumericOp::PushSquare:
            pushPower(instruction.variable, 2);
            return true;
        case NumericOp::PushCube:
            pushPower(instruction.variable, 3);
            return true;
        case NumericOp::PushCall:
            pushVariable(instruction.variable);
            call(instruction.function);
            return true;
        case NumericOp::PushScaled:
            pushConstant(instruction.constant);
            pushVariable(instruction.secondVariable);
            return binary(NumericOp::Multiply);
        case NumericOp::PushSum:
        case NumericOp::PushDifference:
        case NumericOp::PushProduct:
            pushVariable(instruction.variable);
            pushVariable(instruction.secondVariable);
            return binary(instruction.op == NumericOp::PushSum          ? NumericOp::Add
                          : instruction.op == NumericOp::PushDifference ? NumericOp::Subtract
                                                                        : NumericOp::Multiply);
        case NumericOp::AddConstant:
        case NumericOp::SubtractConstant:
        case NumericOp::MultiplyConstant:
        case NumericOp::DivideConstant:
            pushConstant(instruction.constant);
            return binary(arithmeticOf(instruction.op, NumericOp::AddConstant));
        case NumericOp::AddVariable:
        case NumericOp::SubtractVariable:
        case NumericOp::MultiplyVariable:
        case NumericOp::DivideVariable:
            pushVariable(instruction.variable);
            return binary(arithmeticOf(instruction.op, NumericOp::AddVariable));
        case NumericOp::AddSquare:
        case NumericOp::SubtractSquare:
        case NumericOp::MultiplySquare:
            pushPower(instruction.variable, 2);
            return binary(arithmeticOf(instruction.op, NumericOp::AddSquare));
        case NumericOp::AddCube:
        case NumericOp::SubtractCube:
        case NumericOp::MultiplyCube:
            pushPower(instruction.variable, 3);
            return binary(arithmeticOf(instruction.op, NumericOp::AddCube));
        case NumericOp::AddCall:
        case NumericOp::SubtractCall:
        case NumericOp::MultiplyCall:
            pushVariable(instruction.variable);
            call(instruction.function);
            return binary(arithmeticOf(instruction.op, NumericOp::AddCall));
        case NumericOp::Add:
        case NumericOp::Subtract:
        case NumericOp::Multiply:
            return binary(instruction.op);
        case NumericOp::Divide:
            requireFinite(top());  // x / inf would be 0
            return binary(NumericOp::Divide);
        case NumericOp::Power:
            return power();
        case NumericOp::Negate:
            unary(BatchOp::Negate);
            return true;
        case NumericOp::Square:
            push(materialised(top()));
            return binary(NumericOp::Multiply);
        case NumericOp::Cube: {
            // top * (top * top): the same number as the program's (top * top) * top.
            const Operand base = materialised(top());
            push(base);
            push(base);
            return binary(NumericOp::Multiply) && binary(NumericOp::Multiply);
        }
        case NumericOp::SquareRoot:
            unary(BatchOp::SquareRoot);
            return true;
        case NumericOp::Absolute:
            unary(BatchOp::Absolute);
            return true;
        case NumericOp::WholePower:
            unary(BatchOp::WholePower).count = instruction.count;
            return true;
        case NumericOp::PowerConstant: {
            BatchStep &step = unary(BatchOp::PowerScalar);
            step.constant = instruction.constant;
            return true;
        }
        case NumericOp::Call:
            call(instruction.function);
            return true;
        case NumericOp::CallChecked:
            requireFinite(top());
            call(instruction.function);
            return true;
        case NumericOp::Store:
            store(instruction.count);
            return true;
        case NumericOp::SubtractStore:
            return binary(NumericOp::Subtract) && store(instruction.count);
        case NumericOp::SubtractConstantStore:
            pushConstant(instruction.constant);
            return binary(NumericOp::Subtract) && store(instruction.count);
        case NumericOp::SubtractVariableStore:
            pushVariable(instruction.variable);
            return binary(NumericOp::Subtract) && store(instruction.count);
        case NumericOp::SubtractProductStore:
            pushVariable(instruction.variable);
            pushVariable(instruction.secondVariable);
            return binary(NumericOp::Multiply) && binary(NumericOp::Subtract) && store(instruction.count);
        case NumericOp::AddThenSubtractConstantStore:
        case NumericOp::SubtractThenSubtractConstantStore:
        case NumericOp::MultiplyThenSubtractConstantStore:
            binary(arithmeticOf(instruction.op, NumericOp::AddThenSubtractConstantStore));
            pushConstant(instruction.constant);
            return binary(NumericOp::Subtract) && store(instruction.count);
        case NumericOp::AddThenSubtractVariableStore:
        case NumericOp::SubtractThenSubtractVariableStore:
        case NumericOp::MultiplyThenSubtractVariableStore:
            binary(arithmeticOf(instruction.op, NumericOp::AddThenSubtractVariableStore));
            pushVariable(instruction.variable);
            return binary(NumericOp::Subtract) && store(instruction.count);
        case NumericOp::End:
            return stack_.empty();
        default:
            return false;
        }
    }

    const std::vector<double *> &inputs() const { return inputs_; }

    /// Steps that read the top without pushing first.
    static bool usesTheTop(NumericOp op) {
        switch (op) {
        case NumericOp::TakeInput:
        case NumericOp::PushConstant:
        case NumericOp::PushVariable:
        case NumericOp::PushSquare:
        case NumericOp::PushCube:
        case NumericOp::PushCall:
        case NumericOp::PushScaled:
        case NumericOp::PushSum:
        case NumericOp::PushDifference:
        case NumericOp::PushProduct:
        case NumericOp::End:
            return false;
        default:
            return true;
        }
    }
    /// Columns the steps use: the inputs, the probe and the working columns.
    std::int32_t columnCount() const { return workColumn(maxDepth_); }

private:
    /// Add, Subtract, Multiply or Divide from the position of `op` in a run
    /// of steps listed in that order from `first`.
    static NumericOp arithmeticOf(NumericOp op, NumericOp first) {
        static constexpr NumericOp kInOrder[] = {NumericOp::Add, NumericOp::Subtract, NumericOp::Multiply,
                                                 NumericOp::Divide};
        return kInOrder[static_cast<int>(op) - static_cast<int>(first)];
    }

    std::int32_t workColumn(std::size_t depth) const { return static_cast<std::int32_t>(inputs_.size() + 1 + depth); }

    Operand &top() { return stack_.back(); }

    void push(const Operand &operand) {
        stack_.push_back(operand);
        maxDepth_ = std::max(maxDepth_, stack_.size());
    }

    void pushConstant(double constant) { push({.kind = Operand::Kind::Constant, .constant = constant}); }

    /// A variable that is an input is read from the input's column (the last
    /// input taken into it); any other keeps its value through a run.
    void pushVariable(const double *variable) {
        for (std::size_t i = inputs_.size(); i-- > 0;) {
            if (inputs_[i] == variable) {
                push({.kind = Operand::Kind::Column, .column = static_cast<std::int32_t>(i)});
                return;
            }
        }
        push({.kind = Operand::Kind::Variable, .variable = variable});
    }

    /// variable * variable, or (variable * variable) * variable.
    void pushPower(const double *variable, int exponent) {
        pushVariable(variable);
        pushVariable(variable);
        binary(NumericOp::Multiply);
        if (exponent == 3) {
            pushVariable(variable);
            binary(NumericOp::Multiply);
        }
    }

    BatchStep &emit(BatchOp op, std::int32_t target) {
        BatchStep &step = steps_.emplace_back();
        step.op = op;
        step.target = target;
        return step;
    }

    static void setScalar(BatchStep &step, const Operand &operand) {
        step.constant = operand.constant;
        step.scalar = operand.kind == Operand::Kind::Variable ? operand.variable : nullptr;
    }

    /// The top as a column: a scalar is spread over the working column of its depth.
    Operand materialised(const Operand &operand) { return materialisedAt(operand, stack_.size() - 1); }

    void requireFinite(const Operand &operand) {
        const std::int32_t column = materialised(operand).column;
        emit(BatchOp::RequireFinite, kNoColumn).a = column;
    }

    /// materialised() into the working column of `depth`.
    Operand materialisedAt(const Operand &operand, std::size_t depth) {
        if (operand.kind == Operand::Kind::Column) return operand;
        const std::int32_t target = workColumn(depth);
        setScalar(emit(BatchOp::Broadcast, target), operand);
        return {.kind = Operand::Kind::Column, .column = target};
    }

    /// Pops the top two, pushes (below op top) computed into the column of their depth.
    bool binary(NumericOp op) {
        if (stack_.size() < 2) return false;
        const Operand right = stack_.back();
        stack_.pop_back();
        const std::size_t depth = stack_.size() - 1;
        const Operand left = stack_.back();
        const std::int32_t target = workColumn(depth);
        const int index = static_cast<int>(op) - static_cast<int>(NumericOp::Add);  // Add, Subtract, Multiply, Divide
        if (left.kind == Operand::Kind::Column && op != NumericOp::Divide && isLastProduct(right)) {
            // left op (b * c) in one step.
            BatchStep &step = steps_.back();
            step.op = static_cast<BatchOp>(static_cast<int>(BatchOp::AddProduct) + index);
            step.c = step.b;
            step.b = step.a;
            step.a = left.column;
            step.target = target;
        } else if (right.kind != Operand::Kind::Column) {
            const Operand column = materialisedAt(left, depth);
            BatchStep &step = emit(static_cast<BatchOp>(static_cast<int>(BatchOp::AddScalar) + index), target);
            step.a = column.column;
            setScalar(step, right);
        } else if (left.kind != Operand::Kind::Column && (op == NumericOp::Subtract || op == NumericOp::Divide)) {
            BatchStep &step = emit(op == NumericOp::Subtract ? BatchOp::ScalarSubtract : BatchOp::ScalarDivide, target);
            step.a = right.column;
            setScalar(step, left);
        } else if (left.kind != Operand::Kind::Column) {
            // scalar + a and scalar * a: the same numbers as a + scalar and a * scalar.
            BatchStep &step = emit(static_cast<BatchOp>(static_cast<int>(BatchOp::AddScalar) + index), target);
            step.a = right.column;
            setScalar(step, left);
        } else {
            BatchStep &step = emit(static_cast<BatchOp>(static_cast<int>(BatchOp::Add) + index), target);
            step.a = left.column;
            step.b = right.column;
        }
        stack_.back() = {.kind = Operand::Kind::Column, .column = target};
        return true;
    }

    /// True when `operand` is a working column that the last step made as a
    /// plain product, and nothing else will read.
    bool isLastProduct(const Operand &operand) const {
        if (operand.kind != Operand::Kind::Column || steps_.empty()) return false;
        const BatchStep &last = steps_.back();
        return last.op == BatchOp::Multiply && last.target == operand.column && last.store < 0 &&
               operand.column == workColumn(stack_.size());
    }

    /// Replaces the top by op(top), computed into the column of its depth.
    BatchStep &unary(BatchOp op) {
        const std::size_t depth = stack_.size() - 1;
        const Operand operand = materialisedAt(top(), depth);
        const std::int32_t target = workColumn(depth);
        BatchStep &step = emit(op, target);
        step.a = operand.column;
        top() = {.kind = Operand::Kind::Column, .column = target};
        return step;
    }

    void call(FastFunction function) { unary(BatchOp::Call).function = function; }

    bool power() {
        if (stack_.size() < 2) return false;
        const Operand exponent = materialisedAt(top(), stack_.size() - 1);
        stack_.pop_back();
        const std::size_t depth = stack_.size() - 1;
        const Operand base = materialisedAt(top(), depth);
        BatchStep &step = emit(BatchOp::Power, workColumn(depth));
        step.a = base.column;
        step.b = exponent.column;
        top() = {.kind = Operand::Kind::Column, .column = step.target};
        return true;
    }

    bool store(std::int32_t result) {
        if (stack_.empty()) return false;
        const Operand value = materialised(top());
        stack_.pop_back();
        if (!steps_.empty() && steps_.back().target == value.column && steps_.back().store < 0) {
            steps_.back().store = result;  // the step that computed the value stores it
            return true;
        }
        BatchStep &step = emit(BatchOp::Store, kNoColumn);
        step.a = value.column;
        step.store = result;
        return true;
    }

    std::vector<BatchStep> &steps_;
    std::vector<double *> inputs_;
    std::vector<Operand> stack_;
    std::size_t maxDepth_ = 0;
};

/// target[k] = f(k) for the points k < lanes, `lanes` a multiple of 4. Each
/// group of four is read before it is written, so the compiler can do the
/// group with vector instructions even where the target is an operand.
template <typename Lane>
[[gnu::always_inline]] inline void forEachLane(double *target, int lanes, Lane f) {
    for (int k = 0; k < lanes; k += 4) {
        const double r0 = f(k), r1 = f(k + 1), r2 = f(k + 2), r3 = f(k + 3);
        target[k] = r0;
        target[k + 1] = r1;
        target[k + 2] = r2;
        target[k + 3] = r3;
    }
}

/// column[k] = 0 for the at most three lanes from `from` up to `lanes`
/// (written out: a loop would become a call of memset).
inline void zeroLanesBeyond(double *column, int from, int lanes) {
    if (from < lanes) column[from++] = 0;
    if (from < lanes) column[from++] = 0;
    if (from < lanes) column[from] = 0;
}

/// 0 for a finite value, NaN for any other: added to the probe, it marks the point failed.
inline double failureMark(double value) { return value * 0.0; }

/// Zero when every value is finite, NaN otherwise: the failure marks summed
/// four at a time, so that the loop becomes vector code.
[[gnu::always_inline]] inline double sumOfFailureMarks(const double *values, int count) {
    double sum0 = 0, sum1 = 0, sum2 = 0, sum3 = 0;
    int k = 0;
    for (; k + 4 <= count; k += 4) {
        sum0 += failureMark(values[k]);
        sum1 += failureMark(values[k + 1]);
        sum2 += failureMark(values[k + 2]);
        sum3 += failureMark(values[k + 3]);
    }
    for (; k < count; ++k) sum0 += failureMark(values[k]);
    return (sum0 + sum1) + (sum2 + sum3);
}

}  // namespace

std::optional<NumericBatch> NumericBatch::from(const NumericProgram &joined) {
    NumericBatch batch;
    BatchTranslator translator(batch.steps_);
    for (const NumericInstruction &instruction : joined.code) {
        if (!translator.translate(instruction)) return std::nullopt;
        if (instruction.op == NumericOp::End) batch.results_ = instruction.count;
    }
    batch.inputTargets_ = translator.inputs();
    // The steps address their columns by where they start.
    for (BatchStep &step : batch.steps_) {
        for (std::int32_t *index : {&step.target, &step.a, &step.b, &step.c}) *index = std::max(*index, 0) * kWidth;
    }
    batch.columns_.assign(static_cast<std::size_t>(translator.columnCount()) * kWidth, 0.0);
    return batch;
}

int NumericBatch::run(const double *points, int pointCount, double *values) {
    const auto inputs = static_cast<std::ptrdiff_t>(inputTargets_.size());
    int done = 0;
    while (done < pointCount) {
        const int passPoints = std::min(kWidth, pointCount - done);
        const int clean =
            runPass(points + done * inputs, passPoints, values + static_cast<std::ptrdiff_t>(done) * results_);
        done += clean;
        if (clean < passPoints) {
            leaveVariables(points, done, true);
            return done;
        }
    }
    leaveVariables(points, done, false);
    return done;
}

namespace {

/// One step over the points of a pass; `lanes` is pointCount rounded up to
/// a multiple of 4. Lanes beyond the points compute harmless numbers that
/// nobody reads; a function is only called for the points.
[[gnu::always_inline]] inline void runStep(const BatchStep &step, double *columns, double *probe, int pointCount,
                                           int lanes, double *values, std::int32_t results) {
    double *target = columns + step.target;
    const double *a = columns + step.a;
    const double *b = columns + step.b;
    const double *c = columns + step.c;
    const double s = step.scalar ? *step.scalar : step.constant;
    switch (step.op) {
    case BatchOp::Add:
        forEachLane(target, lanes, [&](int k) { return a[k] + b[k]; });
        break;
    case BatchOp::Subtract:
        forEachLane(target, lanes, [&](int k) { return a[k] - b[k]; });
        break;
    case BatchOp::Multiply:
        forEachLane(target, lanes, [&](int k) { return a[k] * b[k]; });
        break;
    case BatchOp::Divide:
        forEachLane(target, lanes, [&](int k) { return a[k] / b[k]; });
        break;
    case BatchOp::AddProduct:
        forEachLane(target, lanes, [&](int k) { return a[k] + b[k] * c[k]; });
        break;
    case BatchOp::SubtractProduct:
        forEachLane(target, lanes, [&](int k) { return a[k] - b[k] * c[k]; });
        break;
    case BatchOp::MultiplyProduct:
        forEachLane(target, lanes, [&](int k) { return a[k] * (b[k] * c[k]); });
        break;
    case BatchOp::AddScalar:
        forEachLane(target, lanes, [&](int k) { return a[k] + s; });
        break;
    case BatchOp::SubtractScalar:
        forEachLane(target, lanes, [&](int k) { return a[k] - s; });
        break;
    case BatchOp::MultiplyScalar:
        forEachLane(target, lanes, [&](int k) { return a[k] * s; });
        break;
    case BatchOp::DivideScalar:
        forEachLane(target, lanes, [&](int k) { return a[k] / s; });
        break;
    case BatchOp::ScalarSubtract:
        forEachLane(target, lanes, [&](int k) { return s - a[k]; });
        break;
    case BatchOp::ScalarDivide:
        forEachLane(target, lanes, [&](int k) { return s / a[k]; });
        break;
    case BatchOp::Negate:
        forEachLane(target, lanes, [&](int k) { return -a[k]; });
        break;
    case BatchOp::Absolute:
        forEachLane(target, lanes, [&](int k) { return std::fabs(a[k]); });
        break;
    case BatchOp::SquareRoot:
        forEachLane(target, lanes, [&](int k) { return std::sqrt(a[k]); });
        break;
    case BatchOp::Call:
        for (int k = 0; k < pointCount; ++k) target[k] = step.function(a[k]);
        break;
    case BatchOp::WholePower:
        for (int k = 0; k < pointCount; ++k) {
            double result = 0;
            const bool ok = std::isfinite(a[k]) && arithmetic::wholePower(a[k], step.count, result) == arithmetic::kOk;
            target[k] = result;
            if (!ok) probe[k] = kNaN;
        }
        break;
    case BatchOp::PowerScalar:
        for (int k = 0; k < pointCount; ++k) {
            double result = 0;
            const bool ok = std::isfinite(a[k]) && arithmetic::power(a[k], s, result) == arithmetic::kOk;
            target[k] = result;
            if (!ok) probe[k] = kNaN;
        }
        break;
    case BatchOp::Power:
        for (int k = 0; k < pointCount; ++k) {
            double result = 0;
            const bool ok =
                std::isfinite(a[k]) && std::isfinite(b[k]) && arithmetic::power(a[k], b[k], result) == arithmetic::kOk;
            target[k] = result;
            if (!ok) probe[k] = kNaN;
        }
        break;
    case BatchOp::Broadcast:
        forEachLane(target, lanes, [s](int) { return s; });
        break;
    case BatchOp::RequireFinite:
        forEachLane(probe, lanes, [&](int k) { return probe[k] + failureMark(a[k]); });
        break;
    case BatchOp::Store:
        break;
    }
    if (step.store < 0) return;
    // Whether the stored values are finite is seen at the end of the pass.
    const double *stored = step.op == BatchOp::Store ? a : target;
    double *value = values + step.store;
    int k = 0;
    for (; k + 4 <= pointCount; k += 4, value += 4 * results) {
        value[0] = stored[k];
        value[results] = stored[k + 1];
        value[2 * results] = stored[k + 2];
        value[3 * results] = stored[k + 3];
    }
    for (; k < pointCount; ++k, value += results) *value = stored[k];
}

}  // namespace

int NumericBatch::runPass(const double *points, int pointCount, double *values) {
    const int lanes = (pointCount + 3) & ~3;
    takeInputs(points, pointCount, lanes);
    double *columns = columns_.data();
    double *probe = column(static_cast<std::int32_t>(inputTargets_.size()));
    for (const BatchStep &step : steps_) runStep(step, columns, probe, pointCount, lanes, values, results_);
    // Sound points leave the probe at 0 and store finite values only.
    zeroLanesBeyond(probe, pointCount, lanes);
    if (sumOfFailureMarks(probe, lanes) + sumOfFailureMarks(values, pointCount * results_) == 0) [[likely]]
        return pointCount;
    return firstFailedPoint(pointCount, values);
}

int NumericBatch::firstFailedPoint(int pointCount, const double *values) {
    const double *probe = column(static_cast<std::int32_t>(inputTargets_.size()));
    for (int k = 0; k < pointCount; ++k, values += results_) {
        if (probe[k] != 0) return k;
        for (std::int32_t j = 0; j < results_; ++j)
            if (!std::isfinite(values[j])) return k;
    }
    return pointCount;
}

/// The inputs into their columns, the lanes beyond the points zeroed, and
/// the probe marking each point with a non-finite input. Rows go four at a
/// time, so that the loop costs little beside the copying.
void NumericBatch::takeInputs(const double *points, int pointCount, int lanes) {
    const auto inputs = static_cast<std::int32_t>(inputTargets_.size());
    for (std::int32_t i = 0; i < inputs; ++i) {
        double *input = column(i);
        const double *coordinate = points + i;
        int k = 0;
        for (; k + 4 <= pointCount; k += 4, coordinate += 4 * inputs) {
            const double x0 = coordinate[0], x1 = coordinate[inputs], x2 = coordinate[2 * inputs],
                         x3 = coordinate[3 * inputs];
            input[k] = x0;
            input[k + 1] = x1;
            input[k + 2] = x2;
            input[k + 3] = x3;
        }
        for (; k < pointCount; ++k, coordinate += inputs) input[k] = *coordinate;
        zeroLanesBeyond(input, k, lanes);  // harmless numbers for the lanes beyond the points
    }
    double *probe = column(inputs);
    forEachLane(probe, lanes, [](int) { return 0.0; });
    if (sumOfFailureMarks(points, pointCount * inputs) == 0) [[likely]]
        return;
    for (std::int32_t i = 0; i < inputs; ++i) {
        const double *input = column(i);
        forEachLane(probe, lanes, [&](int k) { return probe[k] + failureMark(input[k]); });
    }
}

/// The variables as one run per point leaves them: every input of the last
/// clean point, then, when a point failed, its inputs up to its first one
/// that is not finite (where the run stopped taking them).
void NumericBatch::leaveVariables(const double *points, int clean, bool failed) const {
    const std::size_t inputs = inputTargets_.size();
    if (clean > 0) {
        const double *last = points + static_cast<std::size_t>(clean - 1) * inputs;
        for (std::size_t i = 0; i < inputs; ++i) *inputTargets_[i] = last[i];
    }
    if (!failed) return;
    const double *failing = points + static_cast<std::size_t>(clean) * inputs;
    for (std::size_t i = 0; i < inputs && std::isfinite(failing[i]); ++i) *inputTargets_[i] = failing[i];
}

}  // namespace zl

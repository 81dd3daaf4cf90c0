#include "core/eval/equation_evaluator.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/eval/compiled_expression.h"
#include "core/eval/math_library.h"
#include "core/eval/numeric_batch.h"
#include "core/eval/parser.h"
#include "core/eval/script_engine_impl.h"
#include "core/eval/script_error_catalogue.h"
#include "core/numbers/number_reading.h"
#include "core/numbers/number_text.h"
#include "core/problem/residual_text.h"

namespace zl {
namespace {

/// The statement that assigns a variable its value: "x= 2.5", "x=-2.5".
/// Only built for error messages; the hot path never makes text.
std::string assignmentText(const std::string &name, double value) {
    return name + "=" + (value >= 0 ? " " : "") + generalNumberText(value);
}

const std::string &fieldText(const std::vector<std::string> &texts, std::size_t index) {
    static const std::string kNone;
    return index < texts.size() ? texts[index] : kNone;
}

/// Where variable i's value goes, or the error its assignment statement raises.
struct VariableSlot {
    std::string name;
    Global *global = nullptr;
    std::int32_t errorNumber = 0;
    std::int32_t errorOffset = 0;
};

VariableSlot bindVariable(NameScope &scope, const std::string &name);

}  // namespace

struct EquationEvaluator::Compiled {
    struct Residual {
        std::string text;
        std::shared_ptr<const SyntaxTree> tree;  ///< null when the text does not parse
        ParseFailure parseFailure;
        CompiledExpression expression;
    };

    std::vector<VariableSlot> variables;
    std::vector<Residual> residuals;

    // What the hot paths read, rebuilt by relink(). Every variable then holds
    // a Double, and while `generation` matches the globals' (which move on any
    // change of a global's kind), a coordinate is stored by one plain write.
    const std::uint64_t *globalsGeneration = nullptr;
    std::uint64_t generation = 0;
    std::int32_t order = 0;
    /// How many residuals the hot paths serve: all, or none when some
    /// variable is not bound to a number it can overwrite.
    std::size_t servedCount = 0;
    std::vector<double *> variableNumbers;
    std::vector<const NumericProgram *> programs;  ///< per residual; null where there is none
    /// Every residual in one program, in order, when the hot paths serve
    /// them all and each has a numeric program; joinedCount is -1 otherwise.
    NumericProgram joined;
    std::int32_t joinedCount = -1;
    /// The joined program over batches of points, where it has that form.
    std::optional<NumericBatch> batch;
    std::vector<double> stack;               ///< deep enough for every program
    std::vector<std::int32_t> manyStatuses;  ///< what evaluateMany's run writes and nobody reads
};

EquationEvaluator::EquationEvaluator(ScriptEngine &engine, MathLibrary &library, ProblemState &problem)
    : engine_(engine), library_(library), problem_(problem), compiled_(std::make_unique<Compiled>()) {}

EquationEvaluator::~EquationEvaluator() = default;

std::optional<ScriptError> EquationEvaluator::registerConstants(const std::vector<std::string> &constantItems) {
    for (const std::string &item : constantItems) {
        library_.ierr = 0;
        if (std::optional<ScriptError> error = engine_.executeStatement(item)) return error;
        if (library_.ierr != 0) return engine_.impl().makeError(library_.ierr, 0, item);
    }
    return std::nullopt;
}

std::optional<ScriptError> EquationEvaluator::prepareEquations(const std::vector<std::string> &constantItems,
                                                               const ProblemFieldTexts &fields) {
    std::optional<ScriptError> failure = registerConstants(constantItems);
    ProblemSpec &record = problem_.record;
    const auto order = static_cast<std::size_t>(std::max(record.order, 0));
    for (std::size_t i = 0; i < order && i < record.residuals.size(); ++i)
        record.residuals[i] = buildResidual(fieldText(fields.equations, i));
    record.maxError = readLeadingNumber(fields.errorBound);
    record.maxCycles = readRoundedInt32(fields.iterations);
    for (std::size_t i = 0; i < order && i < record.subintervals.size(); ++i) {
        record.subintervals[i] = readRoundedInt32(fieldText(fields.subintervals, i));
        record.lowerLimits[i] = readLeadingNumber(fieldText(fields.lowerLimits, i));
        record.upperLimits[i] = readLeadingNumber(fieldText(fields.upperLimits, i));
    }
    compileResiduals();
    return failure;
}

void EquationEvaluator::compileResiduals() {
    // The former form goes first, so that two never take memory at once.
    compiled_ = std::make_unique<Compiled>();
    auto compiled = std::make_unique<Compiled>();
    const ProblemSpec &record = problem_.record;
    const auto order = static_cast<std::size_t>(std::max(record.order, 0));
    for (std::size_t i = 0; i < order; ++i)
        compiled->variables.push_back(bindVariable(engine_.impl().scope, fieldText(record.varNames, i)));
    std::size_t nodesLeft = kMaxProblemSyntaxNodes;  // a residual beyond it fails with 7 at every evaluation
    for (std::size_t i = 0; i < order; ++i) {
        Compiled::Residual residual;
        residual.text = fieldText(record.residuals, i);
        const ParseResult parsed = parseExpression(residual.text, nodesLeft);
        if (parsed.ok()) nodesLeft -= parsed.tree->nodes.size();
        residual.tree = parsed.tree;
        residual.parseFailure = parsed.failure;
        compiled->residuals.push_back(std::move(residual));
    }
    compiled_ = std::move(compiled);
    relink();
}

namespace {

/// The variable's assignment "name= value" decides where the value goes: a
/// name with blanks around it binds to the name without them, a name the
/// language cannot assign gives the error that statement raises, at every
/// evaluation.
VariableSlot bindVariable(NameScope &scope, const std::string &name) {
    VariableSlot slot;
    slot.name = name;
    const std::string statement = name + "= 0";
    const ParseResult parsed = parseStatements(statement);
    auto refuse = [&slot](ScriptErrorCode code, std::int32_t offset) {
        slot.errorNumber = errorNumber(code);
        slot.errorOffset = offset;
        return slot;
    };
    if (!parsed.ok()) {
        slot.errorNumber = parsed.failure.number;
        slot.errorOffset = parsed.failure.offset;
        return slot;
    }
    const SyntaxTree &tree = *parsed.tree;
    if (tree.statements.empty()) return refuse(ScriptErrorCode::ExpectedStatement, 0);
    const Statement &assignment = tree.statements.front();
    const auto valueOffset = static_cast<std::int32_t>(name.size() + 2);
    if (tree.statements.size() != 1 || assignment.kind != StatementKind::Assign ||
        tree.node(assignment.value).kind != NodeKind::Number || tree.node(assignment.value).offset != valueOffset)
        return refuse(ScriptErrorCode::ExpectedEndOfStatement, static_cast<std::int32_t>(name.size()));

    const std::string &target = tree.names[static_cast<std::size_t>(assignment.target)];
    const NameBinding binding = scope.resolve(target);
    if (assignment.targetMember >= 0) {
        if (binding.kind != NameKind::LibraryObject) return refuse(ScriptErrorCode::ObjectRequired, assignment.offset);
        const NameBinding member = scope.resolveMember(tree.names[static_cast<std::size_t>(assignment.targetMember)]);
        if (member.kind == NameKind::LibraryFunction)
            return refuse(ScriptErrorCode::WrongNumberOfArguments, assignment.offset);
        if (member.kind != NameKind::Variable) return refuse(ScriptErrorCode::ObjectDoesNotSupport, assignment.offset);
        slot.global = member.global;
        return slot;
    }
    if (binding.kind == NameKind::Variable) {
        slot.global = binding.global;
    } else if (binding.kind == NameKind::Undefined) {
        slot.global = &scope.globals().declare(target);
    } else {
        return refuse(ScriptErrorCode::IllegalAssignment, assignment.offset);
    }
    return slot;
}

}  // namespace

/// Binds every residual's names to what they mean now and rebuilds its
/// numeric program; needed whenever the globals' generation moved.
void EquationEvaluator::relink() {
    NameScope &scope = engine_.impl().scope;
    Compiled &compiled = *compiled_;
    bindVariablesDirectly(scope.globals());
    std::size_t slots = 1;
    compiled.programs.clear();
    for (Compiled::Residual &residual : compiled.residuals) {
        if (residual.tree) {
            residual.expression = compileExpression(residual.tree, residual.tree->root, scope);
            slots = std::max(slots, stackSlots(residual.expression));
        }
        compiled.programs.push_back(residual.tree && residual.expression.numeric ? &*residual.expression.numeric
                                                                                 : nullptr);
    }
    compiled.stack.assign(slots, 0.0);
    const bool joinable = compiled.servedCount == compiled.programs.size() &&
                          std::ranges::none_of(compiled.programs, [](const NumericProgram *p) { return !p; });
    compiled.joined =
        joinable ? joinNumericPrograms(compiled.variableNumbers, compiled.programs, &library_.ierr) : NumericProgram{};
    compiled.joinedCount = joinable ? static_cast<std::int32_t>(compiled.programs.size()) : -1;
    compiled.batch = joinable && !compiled.joined.touchesLibrary ? NumericBatch::from(compiled.joined) : std::nullopt;
    compiled.generation = scope.globals().generation();
    compiled.globalsGeneration = &scope.globals().generation();
}

/// Points each variable at the number its coordinate is stored in. A script
/// variable of another kind is made a Double first, so that storing a
/// coordinate only has to write the number.
void EquationEvaluator::bindVariablesDirectly(GlobalTable &globals) {
    Compiled &compiled = *compiled_;
    bool direct = true;
    compiled.order = static_cast<std::int32_t>(compiled.variables.size());
    compiled.variableNumbers.clear();
    for (const VariableSlot &slot : compiled.variables) {
        Global *global = slot.global;
        if (slot.errorNumber != 0 || global->storage == GlobalStorage::LibraryErrorNumber) {
            direct = false;
            continue;
        }
        if (global->storage == GlobalStorage::LibraryNumber) {
            compiled.variableNumbers.push_back(global->libraryNumber);
            continue;
        }
        if (global->value.kind != ValueKind::Double && globals.assign(*global, Value::real(0)) != 0) {
            direct = false;
            continue;
        }
        compiled.variableNumbers.push_back(&global->value.number);
    }
    compiled.servedCount = direct ? compiled.residuals.size() : 0;
}

std::int32_t EquationEvaluator::fail(const ScriptError &error) {
    lastErrorNumber_ = error.number;
    return error.number;
}

// The hot paths: variables stored by plain writes, the numeric programs run
// directly. Anything unusual (first use, changed globals, a non-finite
// coordinate, a residual without numeric program, any failure) goes the
// careful way, which repeats the evaluation with every check and report.
[[gnu::always_inline]] inline bool EquationEvaluator::stillLinked() const {
    const Compiled &compiled = *compiled_;
    return compiled.generation == *compiled.globalsGeneration && compiled.order == problem_.record.order;
}

[[gnu::always_inline]] inline bool EquationEvaluator::hotPathReady(const double *point) const {
    const Compiled &compiled = *compiled_;
    if (!stillLinked()) return false;
    const std::size_t n = compiled.variableNumbers.size();
    for (std::size_t i = 0; i < n; ++i)
        if (!std::isfinite(point[i])) return false;
    return true;
}

[[gnu::always_inline]] inline void EquationEvaluator::storeCoordinates(const double *point) {
    double *const *numbers = compiled_->variableNumbers.data();
    const std::size_t n = compiled_->variableNumbers.size();
    for (std::size_t i = 0; i < n; ++i) *numbers[i] = point[i];
}

std::int32_t EquationEvaluator::evaluate(int equation, const double *point, double &value) {
    const auto index = static_cast<std::size_t>(equation);  // a negative index wraps beyond servedCount
    if (index >= compiled_->servedCount || !compiled_->programs[index] || !hotPathReady(point)) [[unlikely]]
        return evaluateCarefully(equation, point, value);
    const NumericProgram &program = *compiled_->programs[index];
    storeCoordinates(point);
    library_.ierr = 0;  // as before every evaluation; only a library call can set it again
    double result = 0;
    std::int32_t status = 0;
    if (runNumericProgram(program, {.stack = compiled_->stack.data(), .values = &result, .statuses = &status}) != 1)
        [[unlikely]]
        return evaluateCarefully(equation, point, value);
    if (program.touchesLibrary && library_.ierr != 0) [[unlikely]]
        return lastErrorNumber_ = library_.ierr;
    value = result;
    return 0;
}

// All residuals in one run of the joined program. It stores the coordinates
// itself, computes exactly what one evaluation after the other would, and
// stops at the first residual that fails or leaves the library's error number
// set (or at a non-finite coordinate, having stored those before it as their
// assignments would): that residual and the rest then go one at a time.
int EquationEvaluator::evaluateAll(int count, const double *point, double *values, std::int32_t *statuses) {
    Compiled &compiled = *compiled_;
    if (count != compiled.joinedCount || count <= 0 || !stillLinked()) [[unlikely]]
        return evaluateEachFrom(0, count, point, values, statuses);
    library_.ierr = 0;
    const NumericFrame frame{.stack = compiled.stack.data(), .inputs = point, .values = values, .statuses = statuses};
    const std::int32_t stored = runNumericProgram(compiled.joined, frame);
    if (stored == count) [[likely]]
        return count;
    // Read back from the frame, so that the run need not keep them in registers.
    return evaluateEachFrom(stored, count, frame.inputs, frame.values, frame.statuses);
}

// The run stops at the first failure; the coordinates it stored of that
// point are stored again by the evaluateAll that follows.
int EquationEvaluator::evaluateMany(int count, const double *points, int pointCount, double *values) {
    Compiled &compiled = *compiled_;
    if (count != compiled.joinedCount || count <= 0 || compiled.joined.touchesLibrary || !stillLinked() ||
        compiled.variableNumbers.size() != static_cast<std::size_t>(count)) [[unlikely]]
        return -1;
    if (pointCount <= 0) return 0;
    library_.ierr = 0;
    // A few points cost less one after the other than as a batch.
    constexpr int kMinBatchPoints = 12;
    if (compiled.batch && pointCount >= kMinBatchPoints) return compiled.batch->run(points, pointCount, values);
    const std::size_t results = static_cast<std::size_t>(count) * static_cast<std::size_t>(pointCount);
    if (compiled.manyStatuses.size() < results) compiled.manyStatuses.resize(results);  // grows once per run
    const NumericFrame frame{.stack = compiled.stack.data(),
                             .inputs = points,
                             .values = values,
                             .statuses = compiled.manyStatuses.data(),
                             .points = pointCount,
                             .inputStride = count};
    return runNumericProgram(compiled.joined, frame) / count;
}

[[gnu::cold]] int EquationEvaluator::evaluateEachFrom(int from, int count, const double *point, double *values,
                                                      std::int32_t *statuses) {
    for (int j = from; j < count; ++j) {
        statuses[j] = evaluate(j, point, values[j]);
        if (statuses[j] != 0 && !isRecoverableError(statuses[j])) return j + 1;
    }
    return std::max(count, 0);
}

std::int32_t EquationEvaluator::evaluateCarefully(int equation, const double *point, double &value) {
    if (compiled_->variables.size() != static_cast<std::size_t>(std::max(problem_.record.order, 0))) compileResiduals();
    if (equation < 0 || static_cast<std::size_t>(equation) >= compiled_->residuals.size())
        return lastErrorNumber_ = errorNumber(ScriptErrorCode::SubscriptOutOfRange);

    ScriptEngine::Impl &engine = engine_.impl();
    GlobalTable &globals = engine.scope.globals();
    for (std::size_t i = 0; i < compiled_->variables.size(); ++i) {
        const VariableSlot &slot = compiled_->variables[i];
        const double coordinate = point[i];
        std::int32_t number = slot.errorNumber;
        std::int32_t offset = slot.errorOffset;
        if (number == 0 && !std::isfinite(coordinate)) {
            // No number text can carry it into the engine.
            number = errorNumber(ScriptErrorCode::Overflow);
            offset = static_cast<std::int32_t>(slot.name.size()) + 1;
        }
        if (number == 0) number = globals.assignNumber(*slot.global, coordinate);
        if (number != 0) [[unlikely]]
            return fail(engine.raise(number, offset, assignmentText(slot.name, coordinate)));
    }

    library_.ierr = 0;
    if (globals.generation() != compiled_->generation) [[unlikely]]
        relink();

    const Compiled::Residual &residual = compiled_->residuals[static_cast<std::size_t>(equation)];
    if (!residual.tree) [[unlikely]]
        return fail(engine.raise(residual.parseFailure.number, residual.parseFailure.offset, residual.text));
    double result = 0;
    RuntimeFailure failure;
    if (evaluateToNumber(residual.expression, engine.scope, compiled_->stack.data(), result, failure) != 0) [[unlikely]]
        return fail(engine.raise(failure.number, failure.offset, residual.text));
    if (library_.ierr != 0) [[unlikely]]
        return lastErrorNumber_ = library_.ierr;
    value = result;
    return 0;
}

}  // namespace zl

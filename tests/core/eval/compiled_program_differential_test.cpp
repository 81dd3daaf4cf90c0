// The numeric programs against the general evaluator: on random expressions
// and random points, the optimised and the plain program, in both dispatch
// forms and joined with others, must agree with a plain interpretation of the
// same tree, bit for bit, failures included.

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <set>

#include "core/eval/compiled_expression.h"
#include "core/eval/math_library.h"
#include "core/eval/numeric_batch.h"
#include "core/eval/parser.h"
#include "random_expressions.h"

namespace zl {
namespace {

/// The numeric programs' words: text, Empty and hexadecimal leaves too, signs
/// in front, and the library's functions under their object's name.
testing::ExpressionWords numericWords() {
    return {.leaves = {"x",   "y",    "z",     "x",    "y",     "w",     "sh.x",   "pi",    "0",     "1",   "2",
                       "0.5", "3.25", "1E300", "True", "False", "Empty", "&HFFFF", "(1/3)", "(2-2)", "ierr"},
            .arithmetic = {"+", "-", "*", "/", "^"},
            .operators = {"+", "-", "*", "/", "^", "\\", "Mod", "=", "<>", "<", ">", "<=", ">=", "And", "Or", "Xor",
                          "Eqv", "Imp"},
            .functions = {"Abs",  "Atn",  "Cos",  "Exp",  "Fix",   "Int",   "Log",   "Round",  "Sgn",
                          "Sin",  "Sqr",  "Tan",  "CDbl", "CInt",  "CLng",  "CSng",  "CBool",  "Asin",
                          "Acos", "Sinh", "Cosh", "Tanh", "Asinh", "Acosh", "Atanh", "sh.Asin"},
            .exponents = {"2", "3", "-1", "-2", "0", "0.5", "17", "-3", "x"},
            .digits = {"0", "1", "2", "-1", "x"},
            .prefixes = {"-", "+", "Not ", "- -"},
            .leafChance = 0.25};
}

/// A coordinate: often one of the values where numbers change their form.
double coordinate(testing::RandomExpressions &random) {
    static const double kNotable[] = {0, 1, -1, 0.5, -2.5, 3, 1e-300, 1e300, -1e300, 709.5, 2147483647.5, 32767.5};
    if (random.chance(0.4)) return kNotable[random.pick(std::size(kNotable))];
    return random.uniform(-10, 10);
}

struct Outcome {
    std::int32_t number = 0;
    std::int32_t offset = 0;
    double value = 0;
    std::int32_t libraryError = 0;
    auto failure() const { return std::tuple(number, offset, libraryError); }
};

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

class Differential : public ::testing::Test {
protected:
    Differential() {
        library.pi = 3.141592653589793;
        scope.addLibrary(library);
        set("w", Value::boolean(true));
        setPoint(0, 0, 0);
        for (std::size_t i = 0; i < 3; ++i)
            coordinates[i] = const_cast<double *>(scope.globals().find(std::string(1, char('x' + i)))->numberAddress());
    }

    void set(std::string_view name, Value value) {
        EXPECT_EQ(scope.globals().assign(scope.globals().declare(name), std::move(value)), 0) << name;
    }

    void setPoint(double x, double y, double z) {
        set("x", Value::real(x));
        set("y", Value::real(y));
        set("z", Value::real(z));
    }

    CompiledExpression compile(const std::string &text, CompileOptions options = {}) {
        const ParseResult parsed = parseExpression(text);
        EXPECT_TRUE(parsed.ok()) << text;
        return compileExpression(parsed.tree, parsed.tree->root, scope, options);
    }

    Outcome run(const CompiledExpression &expression) {
        std::vector<double> stack(stackSlots(expression));
        library.ierr = 0;
        Outcome outcome;
        RuntimeFailure failure;
        outcome.number = evaluateToNumber(expression, scope, stack.data(), outcome.value, failure);
        outcome.offset = failure.offset;
        outcome.libraryError = library.ierr;
        return outcome;
    }

    /// A numeric program alone, without the general evaluator behind it, in
    /// both dispatch forms from the same library state: how many results they
    /// stored, which must agree bit for bit.
    std::int32_t runFast(const NumericProgram &program, std::vector<double> &values, const double *inputs = nullptr) {
        std::vector<double> stack(static_cast<std::size_t>(program.maxDepth) + 1);
        values.assign(program.code.back().count, 0.0);
        std::vector<double> switched = values;
        std::vector<std::int32_t> statuses(values.size(), -1);
        const std::int32_t libraryErrorBefore = library.ierr;
        const std::int32_t stored = runNumericProgram(
            program, {.stack = stack.data(), .inputs = inputs, .values = values.data(), .statuses = statuses.data()});
        const std::int32_t libraryErrorAfter = library.ierr;
        library.ierr = libraryErrorBefore;
        EXPECT_EQ(
            runNumericProgramBySwitch(
                program,
                {.stack = stack.data(), .inputs = inputs, .values = switched.data(), .statuses = statuses.data()}),
            stored);
        EXPECT_EQ(library.ierr, libraryErrorAfter);
        for (std::int32_t i = 0; i < stored; ++i) {
            EXPECT_TRUE(sameBits(values[i], switched[i]));
            EXPECT_EQ(statuses[i], 0);
        }
        return stored;
    }

    /// The parts' numeric programs as one that takes the point into x, y and z.
    NumericProgram join(const std::vector<CompiledExpression> &parts) {
        std::vector<const NumericProgram *> programs;
        for (const CompiledExpression &part : parts) programs.push_back(&*part.numeric);
        return joinNumericPrograms(coordinates, programs, &library.ierr);
    }

    MathLibrary library;
    NameScope scope;
    std::array<double *, 3> coordinates{};
};

TEST_F(Differential, NumericProgramsMatchTheTreeBitForBit) {
    testing::RandomExpressions generator(20240607, numericWords());
    int compared = 0;
    int fastSuccesses = 0;
    std::set<NumericOp> emitted;
    // The fused final steps need a sum, difference or product of two results less a
    // constant or a variable at the top: rare in random expressions, so they come first.
    const char *finalSteps[] = {"Sin(x) * y + Sin(y) * z - 2",     "Sin(x) * y - Sin(y) * z - 2",
                                "(Sin(x) + y) * (Sin(y) + z) - 2", "Sin(x) * y + Sin(y) * z - w",
                                "Sin(x) * y - Sin(y) * z - w",     "(Sin(x) + y) * (Sin(y) + z) - w"};
    for (int e = 0; e < 20000; ++e) {
        const std::string text = e < std::ssize(finalSteps) ? finalSteps[e] : generator.expression(4);
        setPoint(1, 2, 3);
        const auto reference = compile(text, {.numeric = false});
        const auto plain = compile(text, {.numeric = true, .optimise = false});
        const auto optimised = compile(text);
        ASSERT_TRUE(plain.numeric && optimised.numeric) << text;
        for (const NumericInstruction &instruction : optimised.numeric->code) emitted.insert(instruction.op);
        for (int p = 0; p < 12; ++p) {
            const double point[] = {coordinate(generator), coordinate(generator), coordinate(generator)};
            setPoint(point[0], point[1], point[2]);
            const Outcome expected = run(reference);
            for (const CompiledExpression *program : {&plain, &optimised}) {
                const Outcome actual = run(*program);
                ASSERT_EQ(actual.failure(), expected.failure()) << text << ": number, offset, ierr";
                if (expected.number == 0) {
                    ASSERT_TRUE(sameBits(actual.value, expected.value))
                        << text << ": " << actual.value << " vs " << expected.value;
                }
                std::vector<double> fastValue;
                library.ierr = 0;
                const bool fastOk = runFast(*program->numeric, fastValue) == 1;
                ASSERT_EQ(fastOk, expected.number == 0) << text;
                if (fastOk) {
                    ASSERT_TRUE(sameBits(fastValue[0], expected.value)) << text;
                    ++fastSuccesses;
                }
                ++compared;
            }
        }
    }
    // The comparison means something only if both outcomes were common.
    EXPECT_GT(fastSuccesses, compared / 5);
    EXPECT_LT(fastSuccesses, compared - compared / 20);
    // Every step was tried, the fused ones too; only joined programs take inputs and check ierr, and
    // these expressions never call what the compiler knows must fail.
    for (int op = 0; op <= static_cast<int>(NumericOp::End); ++op) {
        const auto step = static_cast<NumericOp>(op);
        if (step != NumericOp::TakeInput && step != NumericOp::Fail && step != NumericOp::RequireNoLibraryError) {
            EXPECT_TRUE(emitted.contains(step)) << op;
        }
    }
}

TEST_F(Differential, OptimisationShortensTheBenchmarkFormulas) {
    set("y", Value::numeric(ValueKind::Integer, 1));
    set("z", Value::numeric(ValueKind::Integer, 1));
    const char *formulas[] = {"3*x^2*sin(x)-(pi)", "x^2+y^2+z^2-(1)", "exp(x*y)-cos(z)+log(1+x^2)-(0.5)",
                              "sin(x)*cos(y)+x^3-3*x*y^2+sqr(abs(z)+1)-tanh(x-z)-(2.5)"};
    for (const char *formula : formulas) {
        const auto plain = compile(formula, {.numeric = true, .optimise = false});
        const auto optimised = compile(formula);
        EXPECT_LT(optimised.numeric->code.size() * 3, plain.numeric->code.size() * 2) << formula;
    }
}

TEST_F(Differential, TextKeepsAnExpressionOnTheGeneralPath) {
    set("s", Value::string("abc"));
    set("n", Value::numeric(ValueKind::Integer, 1));
    for (const char *text : {"\"1\" + 1", "n & 1", "s = \"abc\"", "Len"}) {
        const auto compiled = compile(text);
        EXPECT_EQ(compiled.numeric.has_value(), std::string(text) == "Len") << text;
    }
}

// A system's residuals run as one program that takes the point first: the
// same results as one at a time, up to the first one that fails or leaves the
// library's ierr set. Several points in one run: the results of one run per
// point, up to the first point where a result fails; the count runs on over
// the points.
TEST_F(Differential, AJoinedProgramStopsAtTheFirstFailingPartAndPoint) {
    testing::RandomExpressions generator(77, numericWords());
    constexpr int kPoints = 5;
    int stoppedEarly = 0;
    int stoppedInside = 0;
    int batched = 0;
    for (int trial = 0; trial < 3000; ++trial) {
        std::vector<CompiledExpression> parts;
        for (int k = 0; k < 3; ++k) parts.push_back(compile(generator.expression(2 + trial % 2)));
        const NumericProgram joined = join(parts);
        std::vector<double> points(3 * kPoints);
        for (double &value : points) value = coordinate(generator);

        std::int32_t expected = 0;
        std::vector<double> expectedValues;
        for (int k = 0; k < kPoints && expected == 3 * k; ++k) {
            setPoint(points[3 * k], points[3 * k + 1], points[3 * k + 2]);
            library.ierr = 0;
            for (const CompiledExpression &part : parts) {
                std::vector<double> value;
                if (runFast(*part.numeric, value) != 1 || library.ierr != 0) break;
                expectedValues.push_back(value[0]);
                ++expected;
            }
            std::vector<double> values;
            library.ierr = 0;
            setPoint(0, 0, 0);
            ASSERT_EQ(runFast(joined, values, &points[3 * k]), expected - 3 * k);
            for (std::int32_t i = 0; i < expected - 3 * k; ++i)
                ASSERT_TRUE(sameBits(values[i], expectedValues[3 * k + i]));
        }
        if (expected < 3) ++stoppedEarly;
        if (joined.touchesLibrary) continue;  // ierr is cleared before each point by the caller
        for (const bool threaded : {true, false}) {
            std::vector<double> stack(static_cast<std::size_t>(joined.maxDepth) + 1), values(3 * kPoints);
            std::vector<std::int32_t> statuses(3 * kPoints, -1);
            const NumericFrame frame{.stack = stack.data(),
                                     .inputs = points.data(),
                                     .values = values.data(),
                                     .statuses = statuses.data(),
                                     .points = kPoints,
                                     .inputStride = 3};
            ASSERT_EQ(threaded ? runNumericProgram(joined, frame) : runNumericProgramBySwitch(joined, frame), expected);
            for (std::int32_t i = 0; i < expected; ++i) {
                ASSERT_TRUE(sameBits(values[i], expectedValues[i]));
                ASSERT_EQ(statuses[i], 0);
            }
        }
        if (expected > 3 && expected < 3 * kPoints) ++stoppedInside;

        // The batch form: the same clean points, values and variables left behind.
        std::optional<NumericBatch> batch = NumericBatch::from(joined);
        if (!batch) continue;
        const double left[] = {*coordinates[0], *coordinates[1], *coordinates[2]};
        setPoint(0, 0, 0);
        std::vector<double> values(3 * kPoints);
        ASSERT_EQ(batch->run(points.data(), kPoints, values.data()), expected / 3);
        for (std::int32_t i = 0; i < expected / 3 * 3; ++i) ASSERT_TRUE(sameBits(values[i], expectedValues[i]));
        for (int i = 0; i < 3; ++i) ASSERT_TRUE(sameBits(*coordinates[i], left[i]));
        ++batched;
    }
    EXPECT_GT(stoppedEarly, 300);
    EXPECT_LT(stoppedEarly, 2700);
    EXPECT_GT(stoppedInside, 100);
    EXPECT_GT(batched, 500);
}

// More points than one pass takes: the count runs on over the passes.
TEST_F(Differential, aBatchRunGoesOnOverSeveralPasses) {
    const NumericProgram joined = join({compile("x^3 - 1 / (z - 40)"), compile("x*y + (y - z)^4")});
    std::optional<NumericBatch> batch = NumericBatch::from(joined);
    ASSERT_TRUE(batch);
    std::vector<double> points;
    for (int k = 0; k < 70; ++k) points.insert(points.end(), {0.5 * k, 1.0 - k, double(k)});
    std::vector<double> values(2 * 70);
    EXPECT_EQ(batch->run(points.data(), 70, values.data()), 40);  // z = 40 divides by zero
    EXPECT_EQ(values[2 * 39], 19.5 * 19.5 * 19.5 - 1 / (39.0 - 40));
    EXPECT_EQ(*coordinates[2], 40);
}

// The point goes in as assignments would: up to the first coordinate that is
// not finite, where the first result fails.
TEST_F(Differential, AJoinedProgramTakesThePointUpToItsFirstNonFiniteCoordinate) {
    setPoint(7, 7, 7);
    const NumericProgram joined = join({compile("x + y + z")});
    std::vector<double> values;
    const double finite[] = {1, 2, 3};
    EXPECT_EQ(runFast(joined, values, finite), 1);
    EXPECT_EQ(values[0], 6);
    const double notFinite[] = {4, std::numeric_limits<double>::quiet_NaN(), 5};
    EXPECT_EQ(runFast(joined, values, notFinite), 0);
    EXPECT_EQ((std::array{*coordinates[0], *coordinates[1], *coordinates[2]}), (std::array<double, 3>{4, 2, 3}));
}

}  // namespace
}  // namespace zl

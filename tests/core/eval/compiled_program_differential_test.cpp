// The numeric programs against the general evaluator: on random expressions
// and random points, the optimised and the plain program must agree with a
// plain interpretation of the same tree, bit for bit, failures included.

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <set>

#include "core/eval/compiled_expression.h"
#include "core/eval/parser.h"
#include "core/eval/script_engine_impl.h"
#include "core/eval/tree_interpreter.h"
#include "script_session.h"

namespace zl {
namespace {

class ExpressionGenerator {
public:
    explicit ExpressionGenerator(std::uint64_t seed) : random_(seed) {}

    std::string expression(int depth) {
        if (depth == 0 || chance(0.25)) return leaf();
        switch (pick(10)) {
        case 0:
        case 1:
            return "(" + expression(depth - 1) + " " + pickFrom(kArithmetic) + " " + expression(depth - 1) + ")";
        case 2:
            return expression(depth - 1) + " " + pickFrom(kAnyOperator) + " " + expression(depth - 1);
        case 3:
            return pickFrom(kFunctions) + "(" + expression(depth - 1) + ")";
        case 4:
            return "(" + expression(depth - 1) + ")^" + pickFrom(kExponents);
        case 5:
            return "(" + pickFrom(kPrefixes) + "(" + expression(depth - 1) + "))";
        case 6:
            return "(" + expression(depth - 1) + " " + pickFrom(kArithmetic) + " " + leaf() + "^" +
                   pickFrom(kExponents) + ")";
        case 7:
            return "Round(" + expression(depth - 1) + ", " + pickFrom(kDigits) + ")";
        case 8:
            return "(" + expression(depth - 1) + " " + pickFrom(kArithmetic) + " " + functionOfLeaf() + ")";
        default:
            return "(" + leaf() + " " + pickFrom(kArithmetic) + " " + leaf() + ")";
        }
    }

    double coordinate() {
        static const double kNotable[] = {0, 1, -1, 0.5, -2.5, 3, 1e-300, 1e300, -1e300, 709.5, 2147483647.5, 32767.5};
        if (chance(0.4)) return kNotable[pick(std::size(kNotable))];
        return std::uniform_real_distribution<double>(-10, 10)(random_);
    }

private:
    static inline const std::vector<std::string> kArithmetic{"+", "-", "*", "/", "^"};
    static inline const std::vector<std::string> kAnyOperator{"+", "-", "*",  "/",  "^",   "\\", "Mod", "=",   "<>",
                                                              "<", ">", "<=", ">=", "And", "Or", "Xor", "Eqv", "Imp"};
    static inline const std::vector<std::string> kFunctions{
        "Abs",  "Atn",  "Cos",  "Exp",   "Fix",  "Int",  "Log",  "Round", "Sgn",  "Sin",   "Sqr",   "Tan",   "CDbl",
        "CInt", "CLng", "CSng", "CBool", "Asin", "Acos", "Sinh", "Cosh",  "Tanh", "Asinh", "Acosh", "Atanh", "sh.Asin"};
    static inline const std::vector<std::string> kExponents{"2", "3", "-1", "-2", "0", "0.5", "17", "-3", "x"};
    static inline const std::vector<std::string> kPrefixes{"-", "+", "Not ", "- -"};
    static inline const std::vector<std::string> kDigits{"0", "1", "2", "-1", "x"};
    static inline const std::vector<std::string> kLeaves{"x",    "y",     "z",     "x",      "y",     "w",     "sh.x",
                                                         "pi",   "0",     "1",     "2",      "0.5",   "3.25",  "1E300",
                                                         "True", "False", "Empty", "&HFFFF", "(1/3)", "(2-2)", "ierr"};

    std::string leaf() { return pickFrom(kLeaves); }
    std::string functionOfLeaf() { return pickFrom(kFunctions) + "(" + leaf() + ")"; }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random_) < p; }
    std::size_t pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_); }
    const std::string &pickFrom(const std::vector<std::string> &choices) { return choices[pick(choices.size())]; }

    std::mt19937_64 random_;
};

struct Outcome {
    std::int32_t number = 0;
    std::int32_t offset = 0;
    double value = 0;
    std::int32_t libraryError = 0;
};

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

class Differential : public ::testing::Test {
protected:
    NameScope &scope() { return session.engine.impl().scope; }

    void setPoint(double x, double y, double z) {
        GlobalTable &globals = scope().globals();
        globals.assignNumber(globals.declare("x"), x);
        globals.assignNumber(globals.declare("y"), y);
        globals.assignNumber(globals.declare("z"), z);
    }

    Outcome run(const CompiledExpression &expression) {
        std::vector<double> stack(stackSlots(expression));
        session.library.ierr = 0;
        Outcome outcome;
        RuntimeFailure failure;
        outcome.number = evaluateToNumber(expression, scope(), stack.data(), outcome.value, failure);
        outcome.offset = failure.offset;
        outcome.libraryError = session.library.ierr;
        return outcome;
    }

    /// The numeric program alone, without the general evaluator behind it.
    bool runFast(const CompiledExpression &expression, double &value) {
        std::vector<double> stack(stackSlots(expression));
        session.library.ierr = 0;
        value = runNumericProgram(*expression.numeric, stack.data());
        return !std::isnan(value);
    }

    zl::testing::ScriptSession session;
};

TEST_F(Differential, numericProgramsMatchTheTreeBitForBit) {
    session.run("w = True");
    ExpressionGenerator generator(20240607);
    int compared = 0;
    int fastSuccesses = 0;
    std::set<NumericOp> emitted;
    for (int e = 0; e < 20000; ++e) {
        const std::string text = generator.expression(4);
        const ParseResult parsed = parseExpression(text);
        ASSERT_TRUE(parsed.ok()) << text;
        setPoint(1, 2, 3);
        const auto reference = compileExpression(parsed.tree, parsed.tree->root, scope(), {.numeric = false});
        const auto plain =
            compileExpression(parsed.tree, parsed.tree->root, scope(), {.numeric = true, .optimise = false});
        const auto optimised = compileExpression(parsed.tree, parsed.tree->root, scope());
        ASSERT_TRUE(plain.numeric && optimised.numeric) << text;
        for (const NumericInstruction &instruction : optimised.numeric->code) emitted.insert(instruction.op);
        for (int p = 0; p < 12; ++p) {
            setPoint(generator.coordinate(), generator.coordinate(), generator.coordinate());
            const Outcome expected = run(reference);
            for (const CompiledExpression *program : {&plain, &optimised}) {
                const Outcome actual = run(*program);
                ASSERT_EQ(actual.number, expected.number) << text;
                ASSERT_EQ(actual.offset, expected.offset) << text;
                ASSERT_EQ(actual.libraryError, expected.libraryError) << text;
                if (expected.number == 0) {
                    ASSERT_TRUE(sameBits(actual.value, expected.value))
                        << text << ": " << actual.value << " vs " << expected.value;
                }
                double fastValue = 0;
                const bool fastOk = runFast(*program, fastValue);
                ASSERT_EQ(fastOk, expected.number == 0) << text;
                if (fastOk) {
                    ASSERT_TRUE(sameBits(fastValue, expected.value)) << text;
                    ++fastSuccesses;
                }
                ++compared;
            }
        }
    }
    // The comparison means something only if both outcomes were common.
    EXPECT_GT(fastSuccesses, compared / 5);
    EXPECT_LT(fastSuccesses, compared - compared / 20);
    // Every fused step was tried.
    for (NumericOp op : {NumericOp::PushSquare,
                         NumericOp::PushCall,
                         NumericOp::PushCube,
                         NumericOp::PushScaled,
                         NumericOp::PushSum,
                         NumericOp::PushDifference,
                         NumericOp::PushProduct,
                         NumericOp::AddSquare,
                         NumericOp::SubtractSquare,
                         NumericOp::MultiplySquare,
                         NumericOp::AddCube,
                         NumericOp::SubtractCube,
                         NumericOp::MultiplyCube,
                         NumericOp::AddCall,
                         NumericOp::SubtractCall,
                         NumericOp::MultiplyCall,
                         NumericOp::AddThenSubtractConstantReturn,
                         NumericOp::SubtractThenSubtractConstantReturn,
                         NumericOp::MultiplyThenSubtractConstantReturn,
                         NumericOp::AddThenSubtractVariableReturn,
                         NumericOp::SubtractThenSubtractVariableReturn,
                         NumericOp::MultiplyThenSubtractVariableReturn})
        EXPECT_TRUE(emitted.contains(op)) << static_cast<int>(op);
}

TEST_F(Differential, optimisationShortensTheBenchmarkFormulas) {
    session.run("y = 1 : z = 1");
    const char *formulas[] = {"3*x^2*sin(x)-(pi)", "x^2+y^2+z^2-(1)", "exp(x*y)-cos(z)+log(1+x^2)-(0.5)",
                              "sin(x)*cos(y)+x^3-3*x*y^2+sqr(abs(z)+1)-tanh(x-z)-(2.5)"};
    for (const char *formula : formulas) {
        const ParseResult parsed = parseExpression(formula);
        const auto plain =
            compileExpression(parsed.tree, parsed.tree->root, scope(), {.numeric = true, .optimise = false});
        const auto optimised = compileExpression(parsed.tree, parsed.tree->root, scope());
        EXPECT_LT(optimised.numeric->code.size() * 3, plain.numeric->code.size() * 2) << formula;
    }
}

TEST_F(Differential, textKeepsAnExpressionOnTheGeneralPath) {
    session.run("s = \"abc\" : n = 1");
    for (const char *text : {"\"1\" + 1", "n & 1", "s = \"abc\"", "Len"}) {
        const ParseResult parsed = parseExpression(text);
        const auto compiled = compileExpression(parsed.tree, parsed.tree->root, scope());
        EXPECT_EQ(compiled.numeric.has_value(), std::string(text) == "Len") << text;
    }
}

}  // namespace
}  // namespace zl

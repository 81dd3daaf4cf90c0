// Very deep and very long input through every way text enters the engine:
// a statement, an expression, a constant and an equation. Each is refused with
// its error number (or evaluated, where it is long but flat), never a stack
// overflow or an allocation out of proportion to the text.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "allocation_counter.h"
#include "core/eval/equation_evaluator.h"
#include "core/eval/parser.h"
#include "core/eval/script_engine_impl.h"
#include "core/eval/script_error_catalogue.h"
#include "script_session.h"

namespace zl {
namespace {

constexpr std::size_t kTenMegabytes = 10u << 20;

std::string repeated(const std::string &piece, std::size_t count) {
    std::string text;
    text.reserve(piece.size() * count);
    for (std::size_t i = 0; i < count; ++i) text += piece;
    return text;
}

struct BigInput {
    const char *name;
    std::string (*expression)();  ///< built only by the test that uses it
    std::int32_t number;          ///< the error it gives, 0 for a value
};

const BigInput kBigInputs[] = {
    {"HundredThousandParentheses", [] { return repeated("(", 100000) + "1" + repeated(")", 100000); },
     errorNumber(ScriptErrorCode::OutOfStackSpace)},
    {"HundredThousandCalls", [] { return repeated("Abs(", 100000) + "1" + repeated(")", 100000); },
     errorNumber(ScriptErrorCode::OutOfStackSpace)},
    {"TenMegabytesOfSums", [] { return "1" + repeated("+1", kTenMegabytes / 2); },
     errorNumber(ScriptErrorCode::OutOfMemory)},
    {"TenMegabytesOfPowers", [] { return "1" + repeated("^1", kTenMegabytes / 2); },
     errorNumber(ScriptErrorCode::OutOfMemory)},
    {"TenMegabytesOfBlanks", [] { return repeated(" ", kTenMegabytes) + "2"; }, 0},
    {"TenMegabyteString", [] { return "\"" + repeated("a", kTenMegabytes) + "\" > \"a\""; }, 0},
    {"TenMegabyteNumber", [] { return repeated("0", kTenMegabytes) + "2"; }, 0},
    {"TenMegabyteName", [] { return repeated("a", kTenMegabytes); }, errorNumber(ScriptErrorCode::VariableUndefined)},
};

class BigInputs : public ::testing::TestWithParam<BigInput> {
protected:
    const BigInput &input() const { return GetParam(); }
    const std::string text = GetParam().expression();

    void expectOutcome(std::int32_t number, double value) const {
        EXPECT_EQ(number, input().number);
        if (input().number == 0) {
            EXPECT_NE(value, 0);
        }
    }
    zl::testing::ScriptSession session;
};

TEST_P(BigInputs, anExpressionGivesItsValueOrError) {
    const NumberResult result = session.engine.evaluateNumber(text);
    expectOutcome(result.ok() ? 0 : result.error->number, result.value);
    EXPECT_EQ(session.reported.size(), result.ok() ? 0u : 1u);
}

TEST_P(BigInputs, anAssignmentGivesItsValueOrError) {
    const auto error = session.engine.executeStatement("big = " + text);
    expectOutcome(error ? error->number : 0, error ? 0 : session.engine.evaluateNumber("big").value);
}

TEST_P(BigInputs, aConstantGivesItsValueOrStopsTheRegistration) {
    ProblemState problem;
    EquationEvaluator evaluator(session.engine, session.library, problem);
    const auto error = evaluator.registerConstants({"k=" + text, "after=1"});
    expectOutcome(error ? error->number : 0, error ? 0 : session.engine.evaluateNumber("k").value);
    // A failed registration stops before the items below it.
    EXPECT_EQ(session.engine.evaluateNumber("after").ok(), !error);
}

TEST_P(BigInputs, anEquationGivesItsValueOrErrorAtEveryEvaluation) {
    ProblemState problem;
    problem.sizeProblem(1);
    problem.record.varNames[0] = "x";
    EquationEvaluator evaluator(session.engine, session.library, problem);
    RunFieldTexts fields;
    fields.equations = {"x=" + text};
    ASSERT_FALSE(evaluator.prepareEquations({}, fields));
    for (int attempt = 0; attempt < 2; ++attempt) {
        const double x = 0;
        double value = 0;
        const std::int32_t number = evaluator.evaluate(0, &x, value);
        expectOutcome(number, value);
    }
    EXPECT_EQ(session.reported.size(), input().number ? 2u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Inputs, BigInputs, ::testing::ValuesIn(kBigInputs),
                         [](const auto &info) { return std::string(info.param.name); });

/// How often s can be doubled from 8 characters: 8 * 2^21 is kMaxTextLength.
constexpr int kDoublingsThatFit = 21;

class TextDoubling : public ::testing::TestWithParam<const char *> {};

TEST_P(TextDoubling, stopsWithOutOfStringSpaceAndKeepsTheLastText) {
    zl::testing::ScriptSession session;
    session.run("s = \"xxxxxxxx\"");
    for (int i = 0; i < kDoublingsThatFit; ++i) session.run(GetParam());
    const auto error = session.engine.executeStatement(GetParam());
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number, errorNumber(ScriptErrorCode::OutOfStringSpace));
    EXPECT_EQ(session.engine.impl().scope.globals().textSpace(), kMaxTextLength);
}

INSTANTIATE_TEST_SUITE_P(Operators, TextDoubling, ::testing::Values("s = s & s", "s = s + s", "s = s & \"\" & s"));

TEST(StringSpace, textsHeldTogetherAreBoundedAndFreedByAssignment) {
    zl::testing::ScriptSession session;
    static_assert(kMaxStringSpace / 4 <= kMaxTextLength);
    session.run("s = \"" + std::string(kMaxStringSpace / 4, 'x') + "\"");
    for (const char *copy : {"t1 = s", "t2 = s", "t3 = s"}) session.run(copy);
    const auto error = session.engine.executeStatement("t4 = s");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number, errorNumber(ScriptErrorCode::OutOfStringSpace));
    session.run("t1 = 0");
    session.run("t4 = s");
}

TEST(GlobalNames, declaringMoreNamesThanTheBoundIsOutOfMemory) {
    zl::testing::ScriptSession session;
    std::string names = "public a0";
    for (std::size_t i = 1; i < kMaxGlobals; ++i) names += ",a" + std::to_string(i);
    const auto declared = session.engine.executeStatement(names);
    ASSERT_TRUE(declared);
    EXPECT_EQ(declared->number, errorNumber(ScriptErrorCode::OutOfMemory));
    const auto assigned = session.engine.executeStatement("another = 1");
    ASSERT_TRUE(assigned);
    EXPECT_EQ(assigned->number, errorNumber(ScriptErrorCode::OutOfMemory));
    session.run("a1 = 2");  // the names declared stay usable
}

TEST(MemoryRunningOut, failsTheStatementOrEvaluationWithSevenAndKeepsTheValues) {
    zl::testing::ScriptSession session;
    session.run("s = \"kept\"");
    const std::string big = "\"" + std::string(2u << 20, 'b') + "\"";
    const std::string assignment = "s = " + big;
    const std::string comparison = big + " = s";
    zl::testing::largestAllocation = 1u << 20;
    const auto statement = session.engine.executeStatement(assignment);
    const NumberResult evaluation = session.engine.evaluateNumber(comparison);
    zl::testing::largestAllocation = SIZE_MAX;
    ASSERT_TRUE(statement);
    EXPECT_EQ(statement->number, errorNumber(ScriptErrorCode::OutOfMemory));
    ASSERT_FALSE(evaluation.ok());
    EXPECT_EQ(evaluation.error->number, errorNumber(ScriptErrorCode::OutOfMemory));
    EXPECT_EQ(session.reported.size(), 2u);
    EXPECT_EQ(session.engine.evaluateNumber("s = \"kept\"").value, -1);
}

TEST(ProblemSyntaxBudget, residualsBeyondTheBudgetFailWithSevenAtEveryEvaluation) {
    constexpr std::size_t kOperands = kMaxProblemSyntaxNodes * 7 / 20;  // two fit, three do not
    zl::testing::ScriptSession session;
    ProblemState problem;
    problem.sizeProblem(3);
    problem.record.varNames = {"x", "y", "z"};
    EquationEvaluator evaluator(session.engine, session.library, problem);
    RunFieldTexts fields;
    for (const char *name : {"x", "y", "z"})
        fields.equations.push_back(name + repeated(std::string("+") + name, kOperands) + "=0");
    ASSERT_FALSE(evaluator.prepareEquations({}, fields));
    const double point[] = {1, 1, 1};
    double value = 0;
    EXPECT_EQ(evaluator.evaluate(0, point, value), 0);
    EXPECT_EQ(value, kOperands + 1);
    EXPECT_EQ(evaluator.evaluate(1, point, value), 0);
    for (int attempt = 0; attempt < 2; ++attempt)
        EXPECT_EQ(evaluator.evaluate(2, point, value), errorNumber(ScriptErrorCode::OutOfMemory));
}

}  // namespace
}  // namespace zl

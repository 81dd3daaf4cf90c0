// Very deep and very long input through every way text enters the engine:
// a statement, an expression, a constant and an equation. Each is refused with
// its error number (or evaluated, where it is long but flat), never a stack
// overflow or an allocation out of proportion to the text.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/eval/equation_evaluator.h"
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
    std::string name;
    std::string expression;
    std::int32_t number;  ///< the error it gives, 0 for a value
};

/// Built once: each is megabytes long.
const std::vector<BigInput> &bigInputs() {
    static const std::vector<BigInput> inputs = {
        {"HundredThousandParentheses", repeated("(", 100000) + "1" + repeated(")", 100000),
         errorNumber(ScriptErrorCode::OutOfStackSpace)},
        {"HundredThousandCalls", repeated("Abs(", 100000) + "1" + repeated(")", 100000),
         errorNumber(ScriptErrorCode::OutOfStackSpace)},
        {"TenMegabytesOfSums", "1" + repeated("+1", kTenMegabytes / 2), errorNumber(ScriptErrorCode::OutOfMemory)},
        {"TenMegabytesOfPowers", "1" + repeated("^1", kTenMegabytes / 2), errorNumber(ScriptErrorCode::OutOfMemory)},
        {"TenMegabytesOfBlanks", repeated(" ", kTenMegabytes) + "2", 0},
        {"TenMegabyteString", "\"" + repeated("a", kTenMegabytes) + "\" > \"a\"", 0},
        {"TenMegabyteNumber", repeated("0", kTenMegabytes) + "2", 0},
        {"TenMegabyteName", repeated("a", kTenMegabytes), errorNumber(ScriptErrorCode::VariableUndefined)},
    };
    return inputs;
}

class BigInputs : public ::testing::TestWithParam<std::size_t> {
protected:
    const BigInput &input() const { return bigInputs()[GetParam()]; }

    void expectOutcome(std::int32_t number, double value) const {
        EXPECT_EQ(number, input().number);
        if (input().number == 0) {
            EXPECT_NE(value, 0);
        }
    }
    zl::testing::ScriptSession session;
};

TEST_P(BigInputs, anExpressionGivesItsValueOrError) {
    const NumberResult result = session.engine.evaluateNumber(input().expression);
    expectOutcome(result.ok() ? 0 : result.error->number, result.value);
    EXPECT_EQ(session.reported.size(), result.ok() ? 0u : 1u);
}

TEST_P(BigInputs, anAssignmentGivesItsValueOrError) {
    const auto error = session.engine.executeStatement("big = " + input().expression);
    expectOutcome(error ? error->number : 0, error ? 0 : session.engine.evaluateNumber("big").value);
}

TEST_P(BigInputs, aConstantGivesItsValueOrStopsTheRegistration) {
    ProblemState problem;
    EquationEvaluator evaluator(session.engine, session.library, problem);
    const auto error = evaluator.registerConstants({"k=" + input().expression, "after=1"});
    expectOutcome(error ? error->number : 0, error ? 0 : session.engine.evaluateNumber("k").value);
    // A failed registration stops before the items below it.
    EXPECT_EQ(session.engine.evaluateNumber("after").ok(), !error);
}

TEST_P(BigInputs, anEquationGivesItsValueOrErrorAtEveryEvaluation) {
    ProblemState problem;
    problem.sizeProblem(1);
    problem.spec.varNames[0] = "x";
    EquationEvaluator evaluator(session.engine, session.library, problem);
    RunFieldTexts fields;
    fields.equations = {"x=" + input().expression};
    ASSERT_FALSE(evaluator.prepareEquations({}, fields));
    for (int attempt = 0; attempt < 2; ++attempt) {
        const double x = 0;
        double value = 0;
        const std::int32_t number = evaluator.evaluate(0, &x, value);
        expectOutcome(number, value);
    }
    EXPECT_EQ(session.reported.size(), input().number ? 2u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Inputs, BigInputs, ::testing::Range<std::size_t>(0, bigInputs().size()),
                         [](const auto &info) { return bigInputs()[info.param].name; });

} // namespace
} // namespace zl

// Very deep and very long input through every way text enters the engine:
// a statement, an expression, a constant and an equation. Each is refused with
// its error number (or evaluated, where it is long but flat), never a stack
// overflow or an allocation out of proportion to the text.

#include <gtest/gtest.h>

#include <string>

#include "allocation_counter.h"
#include "core/eval/equation_evaluator.h"
#include "core/eval/global_table.h"
#include "core/eval/script_error_catalogue.h"
#include "script_session.h"

namespace zl {
namespace {

using zl::testing::repeated;

constexpr std::size_t kTenMegabytes = 10u << 20;
constexpr std::int32_t kOutOfStackSpace = errorNumber(ScriptErrorCode::OutOfStackSpace);
constexpr std::int32_t kOutOfMemory = errorNumber(ScriptErrorCode::OutOfMemory);

struct BigInput {
    const char *name;
    std::string (*expression)();  ///< built only by the test that uses it
    std::int32_t number;          ///< the error it gives, 0 for a value
    double value = 0;             ///< the value where it gives one
};

const BigInput kBigInputs[] = {
    {"HundredThousandParentheses", [] { return repeated("(", 100000) + "1" + repeated(")", 100000); },
     kOutOfStackSpace},
    {"HundredThousandCalls", [] { return repeated("Abs(", 100000) + "1" + repeated(")", 100000); }, kOutOfStackSpace},
    {"HundredThousandOpenParentheses", [] { return repeated("(", 100000); }, kOutOfStackSpace},
    {"HundredThousandSigns", [] { return repeated("-", 100000) + "1"; }, kOutOfStackSpace},
    {"HundredThousandNots", [] { return repeated("Not ", 100000) + "1"; }, kOutOfStackSpace},
    {"HundredThousandSignsOfAnExponent", [] { return "2^" + repeated("-", 100000) + "1"; }, kOutOfStackSpace},
    {"HundredAndFiftyNestedSums", [] { return repeated("(1+", 150) + "1" + repeated(")", 150); }, 0, 151},
    {"TenMegabytesOfSums", [] { return "1" + repeated("+1", kTenMegabytes / 2); }, kOutOfMemory},
    {"TenMegabytesOfPowers", [] { return "1" + repeated("^1", kTenMegabytes / 2); }, kOutOfMemory},
    {"TenMegabytesOfBlanks", [] { return repeated(" ", kTenMegabytes) + "2"; }, 0, 2},
    {"TenMegabyteString", [] { return "\"" + repeated("a", kTenMegabytes) + "\" > \"a\""; }, 0, -1},
    {"TenMegabyteNumber", [] { return repeated("0", kTenMegabytes) + "2"; }, 0, 2},
    {"TenMegabyteName", [] { return repeated("a", kTenMegabytes); }, errorNumber(ScriptErrorCode::VariableUndefined)},
};

void PrintTo(const BigInput &row, std::ostream *os) { *os << row.name; }

class BigInputs : public ::testing::TestWithParam<BigInput> {
protected:
    const std::string text = GetParam().expression();

    void expectOutcome(std::int32_t number, double value) const {
        EXPECT_EQ(number, GetParam().number);
        EXPECT_EQ(number == 0 ? value : 0, GetParam().value);  // error rows expect 0
    }
    zl::testing::ScriptSession session;
    ProblemState problem;
    EquationEvaluator evaluator{session.engine, session.library, problem};
};

TEST_P(BigInputs, AnExpressionGivesItsValueOrError) {
    const NumberResult result = session.engine.evaluateNumber(text);
    expectOutcome(result.ok() ? 0 : result.error->number, result.value);
    EXPECT_EQ(session.reported.size(), result.ok() ? 0u : 1u);
}

TEST_P(BigInputs, AConstantGivesItsValueOrStopsTheRegistration) {
    const auto error = evaluator.registerConstants({"k=" + text});
    expectOutcome(error ? error->number : 0, error ? 0 : session.engine.evaluateNumber("k").value);
}

TEST_P(BigInputs, AnEquationGivesItsValueOrErrorAtEveryEvaluation) {
    problem.sizeProblem(1);
    problem.record.varNames[0] = "x";
    ASSERT_FALSE(evaluator.prepareEquations({}, {"", "", {}, {}, {}, {"x=" + text}}));
    for (int attempt = 0; attempt < 2; ++attempt) {
        const double x = 0;
        double value = 0;
        const std::int32_t number = evaluator.evaluate(0, &x, value);
        expectOutcome(number, -value);  // the residual x-(text) at x = 0
    }
    EXPECT_EQ(session.reported.size(), GetParam().number ? 2u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Inputs, BigInputs, ::testing::ValuesIn(kBigInputs),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(TextBounds, ATextStopsAtItsLengthAndAllTextsAtTheStringSpace) {
    constexpr int kDoublingsThatFit = 21;  // 8 * 2^21 characters is kMaxTextLength
    for (const char *doubling : {"s = s & s", "s = s + s", "s = s & \"\" & s"}) {
        zl::testing::ScriptSession session;
        session.run("s = \"xxxxxxxx\"");
        for (int i = 0; i < kDoublingsThatFit; ++i) session.run(doubling);
        EXPECT_EQ(session.failureOf(doubling), 14) << doubling;
        EXPECT_EQ(session.failureOf("u = s & \"x\""), 14);  // s kept its longest value
        for (const char *copy : {"t1 = s", "t2 = s", "t3 = s"}) session.run(copy);
        EXPECT_EQ(session.failureOf("t4 = s"), 14);  // 64 MiB held already
        session.run("t1 = 0 : t4 = s");
    }
}

TEST(TextBounds, AChainAllocatesInProportionToItsResult) {
    zl::testing::ScriptSession session;
    session.run("t = \"" + std::string(1000, 'a') + "\"");
    for (const char *op : {" & t", " + t"}) {  // 10,000 terms: quadratic copying would be 50 GB
        const std::string chain = "u = t" + repeated(op, 9999);
        const std::size_t before = zl::testing::allocatedBytes;
        ASSERT_EQ(session.failureOf(chain), 0);
        EXPECT_LT(zl::testing::allocatedBytes - before, 60'000'000u) << op;  // + doubles its capacity
        EXPECT_EQ(session.engine.evaluateNumber("u = \"" + std::string(10'000'000, 'a') + "\"").value, -1);
    }
}

TEST(MemoryBounds, NamesBeyondTheBoundAndMemoryRunningOutFailWithSeven) {
    zl::testing::ScriptSession session;
    std::string names = "public a0";
    for (std::size_t i = 1; i < kMaxGlobals; ++i) names += ",a" + std::to_string(i);
    EXPECT_EQ(session.failureOf(names), 7);
    EXPECT_EQ(session.failureOf("another = 1"), 7);
    session.run("a1 = \"kept\"");

    const std::string big = "a1 = \"" + std::string(2u << 20, 'b') + "\"";
    zl::testing::largestAllocation = 1u << 20;
    const std::int32_t failure = session.failureOf(big);
    zl::testing::largestAllocation = SIZE_MAX;
    EXPECT_EQ(failure, 7);
    EXPECT_EQ(session.reported.back().number, 7);
    EXPECT_EQ(session.engine.evaluateNumber("a1 = \"kept\"").value, -1);
}

}  // namespace
}  // namespace zl

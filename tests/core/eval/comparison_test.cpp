// VBScript's comparison of values of different kinds: numbers (Empty as 0,
// truth values as -1 and 0) against numbers, texts against texts, a number
// against a text, and the difference a literal makes.

#include <gtest/gtest.h>

#include "script_session.h"

namespace zl {
namespace {

struct ComparisonRow {
    std::string source;
    double value;             ///< -1 (True) or 0 (False) when number is 0
    std::int32_t number = 0;  ///< the error, if any
};

void PrintTo(const ComparisonRow &row, std::ostream *out) { *out << row.source; }

class Comparison : public ::testing::TestWithParam<ComparisonRow> {
protected:
    void SetUp() override {
        session.run("public em, em2");
        session.run("n = 1 : m = -1 : d = 2.5 : z = 0 : b = True");
        session.run("s1 = \"1\" : sm = \"-1\" : sa = \"abc\" : se = \"\"");
    }
    zl::testing::ScriptSession session;
};

TEST_P(Comparison, followsTheKindsOfItsOperands) {
    const ComparisonRow &row = GetParam();
    const NumberResult result = session.engine.evaluateNumber(row.source);
    if (row.number != 0) {
        ASSERT_FALSE(result.ok()) << row.source;
        EXPECT_EQ(result.error->number, row.number) << row.source;
        return;
    }
    ASSERT_TRUE(result.ok()) << row.source << ": error " << result.error->number;
    EXPECT_EQ(result.value, row.value) << row.source;
}

const ComparisonRow kValues[] = {
    // Two numbers of any kind compare as numbers.
    {"n < d", -1},
    {"b = m", -1},
    {"b < z", -1},
    // Two texts compare byte by byte.
    {"sa > s1", -1},
    {"se < s1", -1},
    // A number is below any text, whatever the text holds.
    {"s1 = n", 0},
    {"s1 > n", -1},
    {"sa < n", 0},
    {"n < sa", -1},
    {"d <> s1", -1},
    {"b < s1", -1},
    // Empty is 0 against a number and "" against a text; two Empties are equal.
    {"em = z", -1},
    {"em < n", -1},
    {"em = se", -1},
    {"em < sa", -1},
    {"em = s1", 0},
    {"em = em2", -1},
    // A computed value is no literal: results of operators and functions.
    {"(n + 0) = s1", 0},
    {"s1 & \"\" = n", 0},
    {"CDbl(s1) = s1", 0},
};
INSTANTIATE_TEST_SUITE_P(Values, Comparison, ::testing::ValuesIn(kValues),
                         [](const auto &info) { return zl::testing::rowName(info.param.source, info.index); });

const ComparisonRow kLiterals[] = {
    // Against a literal a number and a text compare as numbers.
    {"s1 = 1", -1},
    {"1 = s1", -1},
    {"s1 < 2", -1},
    {"\"1\" = n", -1},
    {"\"10\" > n", -1},
    {"sm = -1", -1},
    {"True = sm", -1},
    {"\"2\" < 10", -1},
    // ...so the text must read as a number.
    {"sa = 1", 0, 13},
    {"\"abc\" = n", 0, 13},
    // A literal text against a text, Empty against a literal, as without literals.
    {"sa = \"abc\"", -1},
    {"Empty = se", -1},
    {"Empty = 0", -1},
    {"Empty < sa", -1},
    {"em = \"\"", -1},
};
INSTANTIATE_TEST_SUITE_P(Literals, Comparison, ::testing::ValuesIn(kLiterals),
                         [](const auto &info) { return zl::testing::rowName(info.param.source, info.index); });

}  // namespace
}  // namespace zl

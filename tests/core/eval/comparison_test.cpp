// VBScript's comparison table: numbers (Empty 0, True -1) against numbers,
// texts against texts, a number against a text, and what a literal changes.

#include <gtest/gtest.h>

#include "script_session.h"

namespace zl {
namespace {

struct ComparisonRow {
    std::string source;
    double value;             ///< -1 (True) or 0 (False)
    std::int32_t number = 0;  ///< the error instead, if any
};
void PrintTo(const ComparisonRow &row, std::ostream *out) { *out << row.source; }

class Comparison : public ::testing::TestWithParam<ComparisonRow> {};

TEST_P(Comparison, FollowsTheKindsOfItsOperands) {
    zl::testing::ScriptSession session;
    session.run("public em : n = 1 : d = 2.5 : z = 0 : b = True : s1 = \"1\" : sm = \"-1\" : sa = \"abc\" : se = \"\"");
    const NumberResult result = session.engine.evaluateNumber(GetParam().source);
    EXPECT_EQ(result.ok() ? 0 : result.error->number, GetParam().number);
    EXPECT_EQ(result.ok() ? result.value : 0, GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Rows, Comparison,
                         ::testing::Values(
                             // Values held in variables or computed: numbers as numbers, texts byte
                             // by byte, a number below any text, Empty as 0 or "".
                             ComparisonRow{"n < d", -1}, ComparisonRow{"b < z", -1}, ComparisonRow{"sa > s1", -1},
                             ComparisonRow{"s1 = n", 0}, ComparisonRow{"s1 > n", -1}, ComparisonRow{"sa < n", 0},
                             ComparisonRow{"b < s1", -1}, ComparisonRow{"em = z", -1}, ComparisonRow{"em = se", -1},
                             ComparisonRow{"em = s1", 0}, ComparisonRow{"(n + 0) = s1", 0},
                             ComparisonRow{"CDbl(s1) = s1", 0},
                             // A literal on either side: a number and a text compare as numbers.
                             ComparisonRow{"s1 = 1", -1}, ComparisonRow{"\"1\" = n", -1}, ComparisonRow{"sm = -1", -1},
                             ComparisonRow{"True = sm", -1}, ComparisonRow{"sa = 1", 0, 13},
                             ComparisonRow{"\"abc\" = n", 0, 13}, ComparisonRow{"Empty < sa", -1},
                             ComparisonRow{"sa = \"abc\"", -1}),
                         [](const auto &info) { return zl::testing::rowName(info.param.source, info.index); });

}  // namespace
}  // namespace zl

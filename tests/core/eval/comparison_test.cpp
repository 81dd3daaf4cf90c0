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

// Values held in variables or computed: numbers as numbers, texts byte by byte,
// a number below any text, Empty as 0 or "". A literal on either side: a number
// and a text compare as numbers.
TEST(Comparison, FollowsTheKindsOfItsOperands) {
    const ComparisonRow rows[] = {
        {"n < d", -1},       {"b < z", -1},        {"sa > s1", -1},        {"s1 = n", 0},      {"s1 > n", -1},
        {"sa < n", 0},       {"b < s1", -1},       {"em = z", -1},         {"em = se", -1},    {"em = s1", 0},
        {"(n + 0) = s1", 0}, {"CDbl(s1) = s1", 0}, {"s1 = 1", -1},         {"\"1\" = n", -1},  {"sm = -1", -1},
        {"True = sm", -1},   {"sa = 1", 0, 13},    {"\"abc\" = n", 0, 13}, {"Empty < sa", -1}, {"sa = \"abc\"", -1},
    };
    for (const ComparisonRow &row : rows) {
        zl::testing::ScriptSession session;
        session.run(
            "public em : n = 1 : d = 2.5 : z = 0 : b = True : s1 = \"1\" : sm = \"-1\" : sa = \"abc\" : se = \"\"");
        const NumberResult result = session.engine.evaluateNumber(row.source);
        EXPECT_EQ(result.ok() ? 0 : result.error->number, row.number) << row.source;
        EXPECT_EQ(result.ok() ? result.value : 0, row.value) << row.source;
    }
}

}  // namespace
}  // namespace zl

// Expressions that fail: the error number and the column of the offending
// token; the catalogue of numbers and messages, and the error box's text.
// (That each error reaches the observer once, with its text and message, is
// a property fuzz_expression checks on every error it meets.)

#include <gtest/gtest.h>

#include <set>
#include <span>

#include "core/eval/script_error.h"
#include "core/eval/script_error_catalogue.h"
#include "script_session.h"

namespace zl {
namespace {

struct ErrorRow {
    std::string source;
    std::int32_t number;
    std::int32_t column;
};

const ErrorRow kRuntimeErrors[] = {
    {"1/0", 11, 1},
    {"0/0", 6, 1},
    {"1E308*10", 6, 5},
    {"5\\0", 11, 1},
    {"5 Mod 0", 11, 2},
    {"0^-1", 11, 1},
    {"0^-0.5", 11, 1},
    {"Sqr(-1)", 5, 0},
    {"Log(0)", 5, 0},
    {"(-8)^(1/3)", 5, 4},
    {"Exp(710)", 6, 0},
    {"10^400", 6, 2},
    {"CInt(40000)", 6, 0},
    {"CLng(3E9)", 6, 0},
    {"CSng(1E39)", 6, 0},
    {"3E9 \\ 2", 6, 4},
    {"2 Mod 3E9", 6, 2},
    {"Not 3E9", 6, 0},
    {"3E9 And 1", 6, 4},
    {"-2147483648 \\ -1", 6, 12},
    {"Round(2.5, -1)", 5, 0},
    {"\"abc\" * 2", 13, 6},
    {"-t", 13, 0},
    {"t < 1", 13, 2},
    {"t", 13, 0},       // the result is text that is no number
    {"foo(1)", 13, 0},  // unknown function
    {"a(1)", 13, 0},    // calling a variable
    {"q + 1", 500, 0},
    {"1/0 + q", 11, 1},  // left to right
    {"q + 1/0", 500, 0},
    {"Sin", 450, 0},
    {"Sin(1, 2)", 450, 0},
    {"Round(1, 2, 3)", 450, 0},
    {"Abs()", 450, 0},
    {"Asin(1, 2)", 450, 0},
    {"sh.Asin", 450, 0},
    {"sh", 438, 0},
    {"sh.foo", 438, 0},
    {"q.x", 424, 0},
    {"Null + 1", 94, 0},
    {"1 + Nothing", 424, 4},
};

const ErrorRow kSyntaxErrors[] = {
    {"1 +", 1002, 3},         {"* 2", 1002, 0},          {"", 1002, 0},          {"(1 + 2", 1006, 6},
    {"Sin(1", 1006, 5},       {"Sin(1 2)", 1006, 6},     {"Sin(1,)", 1002, 6},   {"1 2", 1025, 2},
    {"1 : 2", 1025, 2},       {"(1) (2)", 1025, 4},      {"1 = Not 0", 1002, 4}, {"sh.(1)", 1010, 3},
    {"&H100000000", 1031, 0}, {"1E999", 1031, 0},        {"2 + 1E", 1031, 4},    {"2 $ 3", 1032, 2},
    {"1 + #1#", 1032, 4},     {"1 + \xC3\xA9", 1032, 4}, {"\"abc", 1033, 0},     {"1 + \"abc", 1033, 4},
    {"If", 1002, 0},
};

TEST(ExpressionError, FailsWithNumberAndColumn) {
    for (const auto rows : {std::span<const ErrorRow>(kRuntimeErrors), std::span<const ErrorRow>(kSyntaxErrors)})
        for (const ErrorRow &row : rows) {
            SCOPED_TRACE(row.source);
            zl::testing::ScriptSession session;
            session.run("a = 2 : t = \"abc\"");
            const NumberResult result = session.engine.evaluateNumber(row.source);
            ASSERT_FALSE(result.ok()) << " gave " << result.value;
            EXPECT_EQ(result.error->number, row.number) << result.error->description;
            EXPECT_EQ(result.error->column, row.column);
            EXPECT_EQ(result.error->line, 1);
            EXPECT_NE(result.error->description, kUnknownErrorDescription);  // every number raised has its message
        }
}

TEST(ErrorReport, NamesItsSourceByKindAndCountsLinesAndColumns) {
    zl::testing::ScriptSession session;
    const auto runtime = session.engine.evaluateNumber("1/0");
    EXPECT_EQ(runtime.error->source, "Zerolith script runtime error");
    const auto compilation = session.engine.executeStatement("a = 1\nb = )");
    ASSERT_TRUE(compilation);
    EXPECT_EQ(compilation->source, "Zerolith script compilation error");
    EXPECT_EQ(compilation->line, 2);
    EXPECT_EQ(compilation->column, 4);
}

TEST(ScriptErrorCatalogue, EveryNumberHasOneMessageAndEveryMessageItsNumber) {
    std::set<std::int32_t> numbers;
    std::set<std::string_view> messages;
    for (const ScriptErrorEntry &entry : kScriptErrorCatalogue) {
        const std::int32_t number = errorNumber(entry.code);
        EXPECT_TRUE(numbers.insert(number).second) << entry.name << ": number " << number << " listed twice";
        EXPECT_TRUE(messages.insert(entry.message).second) << entry.name << ": message listed twice";
        EXPECT_FALSE(entry.message.empty()) << entry.name;
        EXPECT_EQ(errorDescription(number), entry.message) << entry.name;
    }
    EXPECT_EQ(errorDescription(0), kUnknownErrorDescription);
    EXPECT_EQ(errorDescription(12), kUnknownErrorDescription);
    EXPECT_FALSE(messages.contains(kUnknownErrorDescription));
}

TEST(ScriptErrorMessage, LaysOutTheErrorBoxWithBareCarriageReturns) {
    const ScriptError error{1002, "Microsoft VBScript compilation error", "Syntax error", 1, 2, "x+*2"};
    EXPECT_EQ(scriptErrorMessage(error),
              "Microsoft VBScript compilation error 1002\rSyntax error\r\rAt line 1, col 2: [x+*2]");
}

}  // namespace
}  // namespace zl

// What expressions evaluate to: operators and their precedence, literals,
// text and truth values, built-in and library functions, comparisons.

#include <gtest/gtest.h>

#include <cmath>

#include "script_session.h"

namespace zl {
namespace {

using zl::testing::relativelyClose;

struct ValueRow {
    std::string source;
    double value;
};

constexpr double kPi = 3.14159265358979323846;

const ValueRow kValues[] = {
    // Precedence
    {"1+2*3", 7},
    {"(1+2)*3", 9},
    {"2^3^2", 64},       // ^ is left-associative
    {"-2^2", -4},        // ^ binds tighter than unary minus
    {"2^-1", 0.5},       // the exponent may carry a sign
    {"2^-2^2", 0.0625},  // (2^-2)^2
    {"2*-3", -6},
    {"10-4-3", 3},
    {"100/10/5", 2},
    {"7\\2*3", 1},        // * before \ : 7 \ 6
    {"7 Mod 4\\2", 1},    // \ before Mod: 7 Mod 2
    {"1+7 Mod 4", 4},     // Mod before +
    {"2+3 & 4", 54},      // + before &, the text "54" reads as a number
    {"1 + 2 = 3", -1},    // = compares in an expression
    {"Not 1 = 2", -1},    // comparison before Not
    {"Not 0 And 5", 5},   // Not before And
    {"1 Or 2 And 4", 1},  // And before Or
    {"5 Xor 3 Or 1", 6},  // Or before Xor
    {"True Eqv False Xor True", -1},
    {"False Imp True Eqv False", -1},
    {"3 > 2 > 1", 0},  // (3 > 2) is -1
    {"a * 2", 4.74},
    {"- - 3", 3},
    {"+3", 3},
    // Arithmetic
    {"7.5 \\ 2", 4},  // operands rounded halves to even: 8 \ 2
    {"6.5 \\ 2", 3},
    {"-7 \\ 2", -3},   // truncated toward zero
    {"-7 Mod 3", -1},  // sign of the dividend
    {"7 Mod -3", 1},
    {"5.5 Mod 3", 0},
    {"-2147483648 Mod -1", 0},
    {"0^0", 1},
    {"(-2)^3", -8},
    {"(-8)^(1/1)", -8},
    {"4^0.5", 2},
    {"10^20", 1e20},
    {"1E308/10*10", 1e308},
    {"32767 + 1", 32768},  // whole-number arithmetic grows into Long and Double
    {"2147483647 * 2", 4294967294.0},
    {"Not 5", -6},
    {"Not Empty", -1},
    {"Not True", 0},
    {"Not 2.5", -3},
    {"6 Eqv 3", -6},
    {"6 Imp 3", -5},
    {"True And 5", 5},
    {"Empty + 1", 1},
    {"b + 1", 0},
    // Literals and text
    {".5", 0.5},
    {"5.", 5},
    {"1E3", 1000},
    {"2.5e-3", 0.0025},
    {"1E-400", 0},
    {"&H7FFF", 32767},
    {"&H8000", -32768},  // 16 bits: an Integer, two's complement
    {"&H10000", 65536},  // 17 to 32 bits: a Long
    {"&HFFFFFFFF", -1},
    {"&H80000000", -2147483648.0},
    {"&hff", 255},
    {"&O177777", -1},
    {"&O17", 15},
    {"\"12\"", 12},
    {"s * 2", 24},
    {"\"1\" + \"2\"", 12},  // + joins two texts
    {"\"1\" + 2", 3},       // text and number add
    {"1 & 2", 12},
    {"(\"x\" & \"\") = \"x\"", -1},
    {"(\"a\"\"b\") = \"a\" & \"\"\"\" & \"b\"", -1},
    {"(True & \"\") = \"True\"", -1},
    {"(1.5 & \"\") = \"1.5\"", -1},
    {"(0.1 + 0.2 & \"\") = \"0.3\"", -1},  // 15 significant digits
    {"(Empty & \"x\") = \"x\"", -1},
    {"(\"a\" + Empty) = \"a\"", -1},
    {"\"B\" < \"a\"", -1},  // binary comparison
    {"\"2\" < 10", -1},     // text against a number compares numbers
    {"t > \"ab\"", -1},
    {"Empty = 0", -1},
    {"Empty = \"\"", -1},
    {"1 ' a comment", 1},
    // Functions
    {"Abs(-2.5)", 2.5},
    {"Atn(1)*4", kPi},
    {"Cos(0)", 1},
    {"Exp(1)", std::exp(1.0)},
    {"Fix(-2.5)", -2},
    {"Int(-2.5)", -3},
    {"Log(Exp(2))", 2},
    {"Round(2.5)", 2},
    {"Round(3.5)", 4},
    {"Round(-2.5)", -2},
    {"Round(0.125, 2)", 0.12},
    {"Round(1234.5, 0)", 1234},
    {"Round(1.5, 40)", 1.5},
    {"Sgn(-3)", -1},
    {"Sgn(0)", 0},
    {"Sin(0)", 0},
    {"Sqr(16)", 4},
    {"Tan(0)", 0},
    {"CDbl(\"2.5\")", 2.5},
    {"CInt(2.5)", 2},
    {"CInt(3.5)", 4},
    {"CInt(-32768)", -32768},
    {"CLng(2147483647.4)", 2147483647},
    {"CSng(1.1)", static_cast<double>(1.1f)},
    {"CBool(5)", -1},
    {"CBool(0)", 0},
    {"CBool(\"true\")", -1},
    {"SQR(4) + sqr(4)", 4},
    {"pi", kPi},
    {"halfpi", kPi / 2},
    {"e", std::exp(1.0)},
    {"x", 0},
    {"Asin(1)", kPi / 2},
    {"Acos(-1)", kPi},
    {"Sinh(1)", std::sinh(1.0)},
    {"Cosh(1)", std::cosh(1.0)},
    {"Tanh(0.5)", std::tanh(0.5)},
    {"Asinh(1)", std::asinh(1.0)},
    {"Acosh(2)", std::acosh(2.0)},
    {"Atanh(0.5)", std::atanh(0.5)},
    {"SH.ASIN(1)", kPi / 2},
    {"sh.halfpi * 2", kPi},
    {"Asin(\"0.5\")", kPi / 6},
};

TEST(ExpressionValue, EvaluatesTo) {
    for (const ValueRow &row : kValues) {
        zl::testing::ScriptSession session;
        session.run("a = 2.37 : s = \"12\" : t = \"abc\" : b = True");
        EXPECT_TRUE(relativelyClose(session.valueOf(row.source), row.value)) << row.source;
        EXPECT_TRUE(session.reported.empty()) << row.source;
    }
}

// VBScript's comparison table: numbers (Empty 0, True -1) against numbers,
// texts against texts, a number against a text, and what a literal changes.
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

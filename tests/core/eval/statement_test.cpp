// Statements: assignment, declarations, several per text, comments; what
// cannot be assigned; how globals persist and keep the library's members.

#include <gtest/gtest.h>

#include <memory>

#include "script_session.h"

namespace zl {
namespace {

using zl::testing::relativelyClose;
using zl::testing::ScriptSession;

struct StatementRow {
    std::string statements;
    std::string expression;
    double value;
};

const StatementRow kEffects[] = {
    {"a = 2.37", "A", 2.37},
    {"ABC = 1", "abc", 1},
    {"a = 1\nb = a + 1\r\nc = b * 3", "c", 6},
    {"a = 1 : a = a + 1 : a = a * 10", "a", 20},
    {"v = 1 = 1", "v", -1},
    {"dim u, v", "u + v", 0},
    {"public x,y,z,w", "z", 0},
    {"private p", "p", 0},
    {"k = 5 : dim k", "k", 5},
    {"dim sin", "sin(0)", 0},
    {"Rem nothing here", "1", 1},
    {"d = 4 : Rem comment", "d", 4},
    {"", "1", 1},
    {" : : ", "1", 1},
    {"sh.x = 5", "x", 5},
    {"x = 3", "sh.x", 3},
    {"e = \"2\"", "e", 2},
    {"ierr = 2.5", "ierr", 2},
    {"c1 = Asin(2)", "c1", 0},
};

TEST(StatementEffect, LeavesTheExpressionWithItsValue) {
    for (const StatementRow &row : kEffects) {
        ScriptSession session;
        session.run(row.statements);
        EXPECT_TRUE(relativelyClose(session.valueOf(row.expression), row.value)) << row.statements;
    }
}

struct RefusalRow {
    std::string statement;
    std::int32_t number;
    std::int32_t column;
};

const RefusalRow kRefusals[] = {
    {"sin = 1", 501, 0},          {"Asin = 1", 501, 0},    {"sh = 1", 501, 0},
    {"sh.Asin = 1", 450, 0},      {"sh.nope = 1", 438, 0}, {"q.x = 1", 424, 0},
    {"mod = 1", 1024, 0},         {"True = 1", 1024, 0},   {"empty = 1", 1024, 0},
    {"If a Then b = 1", 1024, 0}, {"= 1", 1024, 0},        {"2x = 1", 1024, 0},
    {"x y = 1", 1011, 2},         {"a", 1011, 1},          {"a(1) = 2", 1011, 1},
    {"dim 1", 1010, 4},           {"dim mod", 1010, 4},    {"dim a,", 1010, 6},
    {"dim a(3)", 1025, 5},        {"a =", 1002, 3},        {"a = 1 2", 1025, 6},
    {"sh. = 1", 1010, 4},         {"a = q", 500, 4},       {"a = 1/0", 11, 5},
    {"ierr = 1E10", 6, 0},        {"pi = \"abc\"", 13, 0}, {"a_b$ = 1", 1032, 3},
};

TEST(StatementRefusal, FailsWithNumberAndColumn) {
    for (const RefusalRow &row : kRefusals) {
        SCOPED_TRACE(row.statement);
        ScriptSession session;
        const auto error = session.engine.executeStatement(row.statement);
        ASSERT_TRUE(error);
        EXPECT_EQ(std::pair(error->number, error->column), std::pair(row.number, row.column)) << error->description;
    }
}

// A syntax error anywhere runs nothing; a runtime error keeps what ran before
// it, and the variable it was assigning as it was.
TEST(StatementText, AFailureKeepsWhatRanBeforeIt) {
    ScriptSession session;
    EXPECT_EQ(session.failureOf("m1 = 1 : m2 = )"), 1002);
    EXPECT_EQ(session.errorOf("m1"), 500);
    const auto error = session.engine.executeStatement("n1 = 1 : n2 = 1/0 : n3 = 3");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number, 11);
    EXPECT_EQ(error->column, 15);
    EXPECT_EQ(session.valueOf("n1"), 1);
    EXPECT_EQ(session.errorOf("n2"), 500);  // a failed assignment creates nothing
    EXPECT_EQ(session.errorOf("n3"), 500);
    session.run("g = 7");
    EXPECT_EQ(session.failureOf("g = Sqr(-1)"), 5);
    EXPECT_EQ(session.valueOf("g"), 7);
}

TEST(Globals, CopiedIntoAnotherEngineKeepTheirValuesAndStayApart) {
    ScriptSession source;
    source.run("a = 2.5 : s = \"abc\" : b = True : public u : x = 3");
    ScriptSession copy;
    copy.engine.copyVariablesFrom(source.engine);
    EXPECT_EQ(copy.valueOf("a"), 2.5);
    EXPECT_EQ(copy.valueOf("s = \"abc\""), -1);
    EXPECT_EQ(copy.valueOf("b * 2"), -2);
    EXPECT_EQ(copy.valueOf("u"), 0);
    EXPECT_EQ(copy.valueOf("x"), 0);  // the library's member, not copied
    copy.run("a = 1");
    EXPECT_EQ(source.valueOf("a"), 2.5);
    // A copy of the whole context takes the library's members too, into a library of its own.
    source.run("halfpi = 2");
    const std::unique_ptr<ScriptContext> context = source.context.copy();
    EXPECT_EQ(context->engine().evaluateNumber("a * Asin(1) + pi").value, 5 + source.library.pi);
    ASSERT_FALSE(context->engine().executeStatement("halfpi = 7"));
    EXPECT_EQ(source.library.halfpi, 2);
}

TEST(EngineWithoutLibrary, HasNoLibraryNames) {
    ScriptEngine engine;
    EXPECT_EQ(engine.evaluateNumber("pi").error->number, 500);
    EXPECT_EQ(engine.evaluateNumber("Asin(1)").error->number, 13);
    EXPECT_FALSE(engine.executeStatement("asin = 2"));
    EXPECT_EQ(engine.evaluateNumber("asin").value, 2);
    EXPECT_EQ(engine.evaluateNumber("Atn(1)").value, std::atan(1.0));
}

}  // namespace
}  // namespace zl

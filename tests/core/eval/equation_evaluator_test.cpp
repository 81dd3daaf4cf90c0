// Evaluating residuals at points: preparation from the field texts, variable
// binding, error routing, and the compiled form following changes of the globals.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <tuple>

#include "allocation_counter.h"
#include "core/eval/equation_evaluator.h"
#include "core/eval/parser.h"
#include "script_session.h"

std::atomic<long> zl::testing::allocationCount{0};
std::atomic<std::size_t> zl::testing::allocatedBytes{0};
std::atomic<std::size_t> zl::testing::largestAllocation{SIZE_MAX};

// Counts every heap allocation of the test program, to prove the hot path
// makes none. Kept out of line so the compiler does not pair malloc/free
// with new/delete at inlined call sites.
[[gnu::noinline]] void *operator new(std::size_t size) {
    ++zl::testing::allocationCount;
    zl::testing::allocatedBytes += size;
    if (size > zl::testing::largestAllocation) throw std::bad_alloc();
    if (void *memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void *memory) noexcept { std::free(memory); }
[[gnu::noinline]] void operator delete(void *memory, std::size_t) noexcept { std::free(memory); }

namespace zl {
namespace {

using ::testing::ElementsAre;

class Evaluation : public ::testing::Test {
protected:
    /// A problem of the given variable names and equations, prepared as a run
    /// does. Where there are more equations than names, unused variables p1,
    /// p2... make the system square.
    void prepare(std::vector<std::string> names, const std::vector<std::string> &equations,
                 const std::vector<std::string> &constants = {}) {
        while (names.size() < equations.size()) names.push_back("p" + std::to_string(names.size()));
        problem.sizeProblem(static_cast<std::int32_t>(names.size()));
        problem.record.varNames = names;
        using Texts = std::vector<std::string>;
        const std::size_t n = names.size();
        EXPECT_FALSE(evaluator.prepareEquations(
            constants, {"1E-10", "20", Texts(n, "-2"), Texts(n, "2"), Texts(n, "4"), equations}));
    }

    /// The error number, or 0 with the value in `value`.
    std::int32_t errorAt(int equation, std::vector<double> point, double *value = nullptr) {
        double ignored = 0;
        point.resize(static_cast<std::size_t>(problem.record.order));
        return evaluator.evaluate(equation, point.data(), value ? *value : ignored);
    }

    double valueAt(int equation, std::vector<double> point) {
        double value = std::nan("");
        EXPECT_EQ(errorAt(equation, std::move(point), &value), 0);
        return value;
    }

    zl::testing::ScriptSession session;
    ProblemState problem;
    EquationEvaluator evaluator{session.engine, session.library, problem};
};

TEST_F(Evaluation, PrepareBuildsResidualsAndReadsTheFields) {
    problem.sizeProblem(2);
    problem.record.varNames = {"x", "y"};
    EXPECT_FALSE(evaluator.prepareEquations({}, {.errorBound = " 1E-6 abc",
                                                 .iterations = "2.5",
                                                 .lowerLimits = {"-1 5", "x"},
                                                 .upperLimits = {"3", "4.5"},
                                                 .subintervals = {"3.5", "99999999999"},
                                                 .equations = {"x^2+y^2=1", "x + 1 = 2"}}));
    EXPECT_THAT(problem.record.residuals, ElementsAre("x^2+y^2-(1)", "x + 1 -( 2)"));
    EXPECT_EQ(problem.record.maxError, 1e-6);
    EXPECT_EQ(problem.record.maxCycles, 2);
    EXPECT_THAT(problem.record.lowerLimits, ElementsAre(-15, 0));
    EXPECT_THAT(problem.record.upperLimits, ElementsAre(3, 4.5));
    EXPECT_THAT(problem.record.subintervals, ElementsAre(4, 0));  // 99999999999 has no 32-bit form
}

// A failure gives its number at every evaluation: an engine error reported to
// the observer each time, the library's own failures (which leave their number
// in ierr) and a call outside the system never. The next evaluation is clean.
TEST_F(Evaluation, AFailureGivesItsNumberAtEveryEvaluation) {
    const struct {
        const char *name;
        std::vector<std::string> equations;  ///< in x and y
        int equation;
        std::vector<double> point;
        std::int32_t number, ierr;
        std::size_t reports;  ///< per evaluation
        int nextEquation;
        std::vector<double> nextPoint;
        double nextValue;
    } rows[] = {
        {"library", {"Asin(x) = 0", "y"}, 0, {2, 0}, 5, 5, 0, 0, {1, 0}, M_PI / 2},  // ierr cleared every time
        {"infinite coordinate", {"x + y", "y"}, 0, {1, INFINITY}, 6, 0, 1, 0, {1, 2}, 3},
        {"NaN coordinate", {"x + y", "y"}, 0, {NAN, 1}, 6, 0, 1, 0, {1, 2}, 3},
        {"division by zero", {"1/(x-1) = 0", "y"}, 0, {1, 0}, 11, 0, 1, 0, {2, 0}, 1},
        {"no parse", {"x + * 2", "x"}, 0, {1, 0}, 1002, 0, 1, 1, {1, 0}, 1},  // the other residual still runs
        {"past the last", {"x", "y"}, 2, {1, 0}, 9, 0, 0, 0, {1, 0}, 1},
        {"negative", {"x", "y"}, -1, {1, 0}, 9, 0, 0, 0, {1, 0}, 1},
        // Found by fuzzing: text beyond the double range, "1E+3083", given to the library.
        {"text beyond the doubles", {"Asin(x)+tanh(x&3)", "y"}, 0, {1e308, 0}, 13, 13, 0, 1, {1, 2}, 2},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        prepare({"x", "y"}, row.equations);
        const std::size_t before = session.reported.size();
        for (int i = 0; i < 2; ++i) EXPECT_EQ(errorAt(row.equation, row.point), row.number);
        EXPECT_EQ(session.library.ierr, row.ierr);
        EXPECT_EQ(evaluator.lastErrorNumber(), row.number);
        EXPECT_EQ(session.reported.size() - before, 2 * row.reports);
        EXPECT_EQ(valueAt(row.nextEquation, row.nextPoint), row.nextValue);
    }
}

TEST_F(Evaluation, AnEngineErrorReachesTheObserverOnceWithItsColumn) {
    prepare({"x"}, {"1/(x-1) = 0"});
    EXPECT_EQ(errorAt(0, {1}), 11);
    ASSERT_EQ(session.reported.size(), 1u);
    EXPECT_EQ(session.reported[0].column, 1);
    EXPECT_EQ(session.reported[0].text, "1/(x-1) -( 0)");
    evaluator.clearLastErrorNumber();
    EXPECT_EQ(evaluator.lastErrorNumber(), 0);
}

TEST_F(Evaluation, ANameItsAssignmentRefusesFailsAtEveryEvaluation) {
    session.run("v = 0");
    const std::pair<std::string, std::int32_t> refused[] = {
        {"x y", 1011}, {"2x", 1024}, {"sin", 501},     {"Asin", 501}, {"mod", 1024},
        {"", 1024},    {"sh", 501},  {"sh.Asin", 450}, {"a=b", 1025}, {"a'c", 1011},
    };
    for (const auto &[name, number] : refused) {
        const std::size_t before = session.reported.size();
        prepare({name}, {"v + 1"});
        for (int i = 0; i < 2; ++i) EXPECT_EQ(errorAt(0, {2}), number) << name;
        EXPECT_EQ(session.reported.size() - before, 2u) << name;
    }
}

TEST_F(Evaluation, NamesBindLikeTheirAssignment) {
    session.run("v = \"abc\"");  // a variable holding text takes its coordinate as a number
    prepare({" v ", "W", "sh.x", "halfpi"}, {"v + w", "x", "Asin(1)"});
    EXPECT_EQ(valueAt(0, {1, 2, 3, 4}), 3);
    EXPECT_EQ(valueAt(1, {1, 2, 3, 4}), 3);
    EXPECT_EQ(valueAt(2, {1, 2, 3, 4}), 4);  // a variable named halfpi is the library's member
    EXPECT_EQ(session.library.x, 3);
}

TEST_F(Evaluation, TheCompiledFormFollowsLaterChangesOfTheGlobals) {
    prepare({"x"}, {"x + z", "k * x"}, {"k=2"});
    EXPECT_EQ(errorAt(0, {1}), 500);
    EXPECT_EQ(valueAt(1, {3}), 6);
    session.run("public x,y,z,w");
    EXPECT_EQ(valueAt(0, {1}), 1);
    session.run("z = \"abc\"");
    EXPECT_EQ(errorAt(0, {1}), 13);
    session.run("z = \"2\"");
    EXPECT_EQ(valueAt(0, {1}), 3);
    session.run("z = 5 : k = \"3\"");
    EXPECT_EQ(valueAt(0, {1}), 6);
    EXPECT_EQ(valueAt(1, {3}), 9);
    session.run("k = True");
    EXPECT_EQ(valueAt(1, {3}), -3);
}

// A constant is never left at a former value: any failure stops the
// registration at that item, recoverable numbers and library failures too.
TEST_F(Evaluation, RegisterConstantsStopsAtTheFirstItemThatFails) {
    // The item, its error number and how many errors the engine's observer sees.
    const std::tuple<std::string, std::int32_t, std::size_t> rows[] = {
        {"c=1/0", 11, 1}, {"c=Asin(2)", 5, 0}, {"c=)", 1002, 1}};
    for (const auto &[item, number, observed] : rows) {
        session.run("c=2");
        const std::size_t before = session.reported.size();
        const auto error = evaluator.registerConstants({"c1=1", item, "c4=4"});
        ASSERT_TRUE(error) << item;
        EXPECT_EQ(error->number, number) << item;
        EXPECT_EQ(error->text, item);
        EXPECT_EQ(session.reported.size() - before, observed) << item;
        EXPECT_EQ(session.errorOf("c4"), 500) << "nothing after the failing item runs";
    }
    EXPECT_FALSE(evaluator.registerConstants({}));
}

TEST_F(Evaluation, CompileResidualsTakesTheRecordAsItStands) {
    problem.sizeProblem(1);
    problem.record.varNames = {"t"};
    problem.record.residuals = {"t^3 - (8)"};
    evaluator.compileResiduals();
    EXPECT_EQ(valueAt(0, {2}), 0);
    problem.sizeProblem(2);  // a new order without a compile: evaluate recompiles
    problem.record.varNames = {"t", "u"};
    problem.record.residuals = {"t*u", "t-u"};
    EXPECT_EQ(valueAt(1, {5, 2}), 3);
}

TEST_F(Evaluation, ResidualsBeyondTheProblemsSyntaxBudgetFailWithSeven) {
    constexpr std::size_t kOperands = kMaxProblemSyntaxNodes * 7 / 20;  // two fit, not three
    std::vector<std::string> equations;
    for (const std::string name : {"x", "y", "z"})
        equations.push_back(name + zl::testing::repeated("+" + name, kOperands));
    prepare({"x", "y", "z"}, equations);
    EXPECT_EQ(valueAt(1, {1, 1, 1}), kOperands + 1);
    EXPECT_EQ(errorAt(2, {1, 1, 1}), 7);
}

TEST_F(Evaluation, TheHotPathAllocatesNothing) {
    prepare({"x", "y", "z"}, {"x^2+y^2+z^2 = 1", "exp(x*y)-cos(z)+log(1+x^2) = 0.5",
                              "sin(x)*cos(y)+x^3-3*x*y^2+sqr(abs(z)+1)-tanh(x-z) = 2.5"});
    double value = 0;
    std::vector<double> point{0.1, 0.2, 0.3};
    ASSERT_EQ(evaluator.evaluate(0, point.data(), value), 0);
    const long before = zl::testing::allocationCount.load();
    for (int i = 0; i < 1000; ++i) {
        point[0] = i * 1e-3;
        for (int j = 0; j < 3; ++j) ASSERT_EQ(evaluator.evaluate(j, point.data(), value), 0);
    }
    EXPECT_EQ(zl::testing::allocationCount.load(), before);
}

// Many points in one call: what evaluateAll gives point by point, up to the
// first point where a residual fails, and nothing reported about it.
TEST_F(Evaluation, manyPointsAtOnceStopQuietlyAtTheFirstFailingPoint) {
    prepare({"x", "y", "z"}, {"x^2+y^2+z^2=1", "1/(x-y)", "sin(3*z)=x*y"});
    const double points[] = {0.5, 0.25, 1, -1, 2, 0.5, 3, 3, 1, 1, 2, 3};
    double many[12], one[3];
    std::int32_t statuses[3];
    const std::size_t reportsBefore = session.reported.size();
    EXPECT_EQ(evaluator.evaluateMany(3, points, 4, many), 2);
    EXPECT_EQ(session.reported.size(), reportsBefore);
    for (int k = 0; k < 2; ++k) {
        ASSERT_EQ(evaluator.evaluateAll(3, points + 3 * k, one, statuses), 3);
        EXPECT_EQ(std::memcmp(one, many + 3 * k, sizeof one), 0) << "point " << k;
    }
    prepare({"x", "y", "z"}, {"Sinh(x)", "y", "z"});  // the library's ierr is cleared per evaluation
    EXPECT_EQ(evaluator.evaluateMany(3, points, 1, many), -1);
}

}  // namespace
}  // namespace zl

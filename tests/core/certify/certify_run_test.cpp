// Certify on small systems whose roots are known: every root in the box is
// listed and stored, and the summary says whether the search is complete.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "certify_test_support.h"
#include "core/certify/certify_run.h"

namespace zl {
namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::EndsWith;
using ::testing::StartsWith;
using zl::testing::RecordingList;
using zl::testing::TypedProblem;

struct KnownRoots {
    const char *name;
    std::vector<std::string> variables;
    std::vector<std::string> equations;
    const char *lower;
    const char *upper;
    std::vector<std::vector<double>> roots;  ///< in lexicographic order
};

/// A Certify run of a typed system, and what it listed.
struct Certified {
    TypedProblem typed;
    RecordingList list;
    CertifySummary summary;

    Certified(const std::vector<std::string> &names, const std::vector<std::string> &equations, const char *lower,
              const char *upper, const CertifyOptions &options = {})
        : typed(names, equations, lower, upper),
          summary(runCertify(typed.problem, typed.evaluator, typed.engine, list, options)) {}
};

void PrintTo(const KnownRoots &row, std::ostream *os) { *os << row.name; }

class CertifyFindsKnownRoots : public ::testing::TestWithParam<KnownRoots> {};

TEST_P(CertifyFindsKnownRoots, AndSaysTheSearchIsComplete) {
    const KnownRoots &c = GetParam();
    const Certified run(c.variables, c.equations, c.lower, c.upper);
    const ProblemState &problem = run.typed.problem;
    EXPECT_EQ(run.summary.end, CertifyEnd::Complete);
    ASSERT_EQ(problem.store.solutionCount, static_cast<std::int32_t>(c.roots.size()));
    for (std::size_t m = 0; m < c.roots.size(); ++m)
        for (std::size_t i = 0; i < c.variables.size(); ++i)
            EXPECT_NEAR(problem.store.solutions(static_cast<int>(i), static_cast<int>(m + 1)), c.roots[m][i], 1e-12)
                << "root " << m << " variable " << i;
    // Each root's lines and an empty line, then the summary.
    ASSERT_EQ(run.list.lines.size(), c.roots.size() * (c.variables.size() + 1) + 1);
    for (std::size_t line = 0; line + 1 < run.list.lines.size(); ++line) {
        const std::size_t i = line % (c.variables.size() + 1);
        if (i == c.variables.size()) continue;  // the empty line after each root
        EXPECT_THAT(run.list.lines[line], AllOf(StartsWith(c.variables[i] + "="),
                                                ::testing::HasSubstr(" EQUATION #" + std::to_string(i + 1) + "=")));
    }
    EXPECT_EQ(run.list.lines.back(),
              "ALL SOLUTIONS IN THE BOX FOUND: " + std::to_string(c.roots.size()) + ", each proved unique");
    EXPECT_EQ(run.list.countText, std::to_string(c.roots.size()) + " solutions");
}

const double kPi = std::acos(-1.0);

INSTANTIATE_TEST_SUITE_P(
    Table, CertifyFindsKnownRoots,
    ::testing::Values(
        KnownRoots{"CircleAndLine", {"x", "y"}, {"x^2 + y^2 = 2", "x = y"}, "-5", "5", {{-1, -1}, {1, 1}}},
        KnownRoots{"NoRootInTheBox", {"x", "y"}, {"x^2 + y^2 = -1", "x = y"}, "-5", "5", {}},
        KnownRoots{"RootsOutsideOnly", {"x"}, {"x^2 = 9"}, "-2", "2", {}},
        KnownRoots{"RootOnAFace", {"x", "y"}, {"x^2 = 1", "x + y = 2"}, "1", "3", {{1, 1}}},
        KnownRoots{"RootsOnCorners", {"x", "y"}, {"x^2 = x", "x + y = 1"}, "0", "1", {{0, 1}, {1, 0}}},
        KnownRoots{"Periodic",
                   {"x", "y"},
                   {"Sin(x) = 0.5", "Cos(y) = 0"},
                   "0",
                   "7",
                   {{kPi / 6, kPi / 2},
                    {kPi / 6, 3 * kPi / 2},
                    {5 * kPi / 6, kPi / 2},
                    {5 * kPi / 6, 3 * kPi / 2},
                    {13 * kPi / 6, kPi / 2},
                    {13 * kPi / 6, 3 * kPi / 2}}},
        KnownRoots{"DomainOfTheSquareRoot", {"x"}, {"Sqr(x) + x = 2"}, "-5", "5", {{1}}}),
    [](const ::testing::TestParamInfo<KnownRoots> &info) { return std::string(info.param.name); });

TEST(Certify, ListsTheUndecidedBoxesWhereARootIsDouble) {
    const Certified run({"x", "y"}, {"x^2 = 0", "y = 1"}, "-1", "2");
    EXPECT_EQ(std::tuple(run.summary.end, run.typed.problem.store.solutionCount, run.list.countText),
              std::tuple(CertifyEnd::Incomplete, 0, "0 solutions"));
    EXPECT_THAT(run.list.lines, ElementsAre("SEARCH NOT COMPLETE: 0 solutions proved unique, 1 boxes undecided",
                                            AllOf(StartsWith("UNDECIDED BOX 1: x=["), EndsWith(" y=[1, 1]"))));
}

TEST(Certify, SaysWhichEquationHasNoIntervalForm) {
    const Certified run({"x", "y"}, {"x = 1", "CDbl(y & \"\") = 2"}, "-5", "5");
    EXPECT_EQ(std::tie(run.summary.end, run.list.countText), std::tuple(CertifyEnd::NoIntervalForm, "0 solutions"));
    EXPECT_THAT(run.list.lines, ElementsAre("NO INTERVAL FORM: EQUATION #2 USES THE & OPERATOR."));
}

TEST(Certify, EndsOnAnErrorOutsideTheRecoverableSetAsExploreDoes) {
    const Certified run({"x"}, {"x + undefinedName = 1"}, "-5", "5");
    // 500: Variable is undefined
    EXPECT_EQ(std::tie(run.summary.end, run.summary.fatalErrorNumber), std::tuple(CertifyEnd::FatalError, 500));
    EXPECT_TRUE(run.list.lines.empty());
}

TEST(Certify, TheMinimumWidthDecidesWhenToStopSplitting) {
    // A double root leaves boxes undecided; the wider the minimum, the fewer the splits.
    CertifyOptions options;
    options.minWidth = 1e-3;
    const Certified wide({"x"}, {"x^2 - 2*x + 1 = 0"}, "-3", "3", options);
    options.minWidth = 1e-9;
    const Certified narrow({"x"}, {"x^2 - 2*x + 1 = 0"}, "-3", "3", options);
    EXPECT_EQ(std::pair(wide.summary.end, narrow.summary.end),
              std::pair(CertifyEnd::Incomplete, CertifyEnd::Incomplete));
    EXPECT_LT(wide.summary.statistics.boxes, narrow.summary.statistics.boxes);
}

TEST(Certify, AStopRequestEndsTheSearchWithWhatItHas) {
    const std::atomic<bool> stop{true};
    CertifyOptions options;
    options.control.stop = &stop;
    const Certified run({"x", "y"}, {"Sin(x) = 0.5", "Cos(y) = 0"}, "0", "70", options);
    EXPECT_EQ(run.summary.end, CertifyEnd::Stopped);
    EXPECT_EQ(run.list.lines.back(), "RUN STOPPED: 0 boxes searched.");
    EXPECT_EQ(run.summary.roots, 0);
}

TEST(Certify, ListsTheSameWhateverTheThreadCount) {
    const std::vector<std::vector<std::string>> systems{
        {"Sin(x) * Cos(y) = 0.25", "x^2 + y^2 = 20"},  // complete
        {"x^2 - 2*x + 1 = 0", "x * y = 1"},            // a double root: undecided boxes
    };
    for (const auto &equations : systems) {
        const Certified serial({"x", "y"}, equations, "-5", "5");
        EXPECT_GT(serial.list.lines.size(), 1u);
        for (int threads : {2, 3, 8}) {
            CertifyOptions options;
            options.control.threads = threads;
            const Certified run({"x", "y"}, equations, "-5", "5", options);
            EXPECT_EQ(run.list.lines, serial.list.lines) << equations[0] << " on " << threads << " threads";
        }
    }
}

}  // namespace
}  // namespace zl

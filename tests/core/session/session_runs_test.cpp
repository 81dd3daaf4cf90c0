// The session's options beside the plain runs: solutions kept inside the box,
// and Certify stopped on request.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../support/recording_list.h"
#include "core/session/session.h"

namespace zl {
namespace {

using zl::testing::RecordingList;

ProblemFieldTexts oneVariable(const std::string &equation, const std::string &lower, const std::string &upper) {
    return {".0001", "30", {lower}, {upper}, {"20"}, {equation}};
}

RecordingList runRandom(bool insideBoxOnly) {
    Session session;
    session.problem().sizeProblem(1);
    session.problem().record.varNames = {"x"};
    RandomSource random = RandomSource::withFixedSeed(7);
    RunRequest request;
    request.kind = RunKind::Random;
    request.fields = oneVariable("Sin(x) = 0", "1.6", "4.6");
    request.seeds = 40;
    request.random = &random;
    request.insideBoxOnly = insideBoxOnly;
    RecordingList list;
    EXPECT_TRUE(session.runCommand(request, list).ran());
    return list;
}

double valueOf(const std::string &solutionLine) { return std::stod(solutionLine.substr(2)); }

TEST(InsideBox, DropsExactlyTheSolutionsOutsideTheBoxAndCountsTheConvergedPointsLeftOut) {
    const RecordingList all = runRandom(false);
    const RecordingList inside = runRandom(true);
    // The plain list, its solutions outside [1.6, 4.6] taken out (a solution
    // is its line and the empty line after it).
    std::vector<std::string> expected;
    int outside = 0;
    for (std::size_t k = 0; k < all.lines.size(); ++k) {
        const bool solution = all.lines[k].rfind("x=", 0) == 0 && k + 1 < all.lines.size() && all.lines[k + 1].empty();
        if (solution && !(valueOf(all.lines[k]) >= 1.6 && valueOf(all.lines[k]) <= 4.6)) {
            ++outside;
            ++k;
            continue;
        }
        expected.push_back(all.lines[k]);
    }
    ASSERT_EQ(outside, 6) << "the test needs seeds that leave the box";
    ASSERT_FALSE(inside.lines.empty());
    EXPECT_EQ(std::vector<std::string>(inside.lines.begin(), inside.lines.end() - 1), expected);
    // Every converged point outside counts, repeats too.
    EXPECT_EQ(inside.lines.back(), "OUTSIDE THE BOX, NOT STORED: 9 converged points.");
    EXPECT_EQ(inside.countText, "1 solutions");
}

/// Stops the run at its first progress report.
struct StopAtFirstReport : RunObserver {
    explicit StopAtFirstReport(RunControl &control) : control(control) {}
    void runProgress(const RunProgress &progress) override {
        EXPECT_EQ(progress.unit, RunUnit::BoxShare);
        control.requestStop();
    }
    RunControl &control;
};

TEST(CertifyRun, StopsOnRequestWithTheStopLineLast) {
    // A line of roots: no box on it is ever proved, so the search would run
    // down to boxes 1E-10 wide.
    for (int threads : {1, 2}) {
        Session session;
        session.problem().sizeProblem(2);
        session.problem().record.varNames = {"x", "y"};
        ProblemFieldTexts fields{"1E-10", "30", {"-5", "-5"}, {"5", "5"}, {"4", "4"}, {"x - y = 0", "y - x = 0"}};
        RunControl control;
        StopAtFirstReport observer(control);
        RunRequest request;
        request.kind = RunKind::Certify;
        request.fields = fields;
        request.options = {.threads = threads,
                           .control = &control,
                           .observer = &observer,
                           .progressInterval = std::chrono::milliseconds(10)};
        RecordingList list;
        const RunCommandResult result = session.runCommand(request, list);
        ASSERT_TRUE(result.certify);
        EXPECT_EQ(result.certify->end, CertifyEnd::Stopped);
        EXPECT_EQ(result.summary.end, RunEnd::Stopped);
        ASSERT_FALSE(list.lines.empty());
        EXPECT_EQ(list.lines.back().rfind("RUN STOPPED: ", 0), 0u) << list.lines.back();
        EXPECT_EQ(list.countText, "0 solutions");
    }
}

}  // namespace
}  // namespace zl

// The session: typed problems run on one thread or many with the same list
// and the same script errors; failing constants stop a command before it runs;
// the run options the session adds (solutions kept inside the box, Certify
// stopped on request).

#include "../../support/recording_list.h"
#include "core/session/session.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>
#include <tuple>

#include "core/session/solution_line_queue.h"

namespace zl {
namespace {

using zl::testing::RecordingList;

/// Everything a run leaves for the user: the lines, the count, the script errors shown.
struct Transcript {
    std::vector<std::string> lines;
    std::vector<std::string> errors;
    bool operator==(const Transcript &) const = default;
};

ProblemFieldTexts fields(std::vector<std::string> equations, const std::string &lower, const std::string &upper,
                         const std::string &subintervals, const std::string &iterations = "8",
                         const std::string &errorBound = ".0001") {
    const std::size_t n = equations.size();
    using Texts = std::vector<std::string>;
    return {errorBound, iterations, Texts(n, lower), Texts(n, upper), Texts(n, subintervals), std::move(equations)};
}

/// Explore, then Random in the same session: the second run starts from the
/// state the first left (constants, variables, the last correction). x of 1/3
/// and more cannot be evaluated at all (error 13): the first such node or seed
/// ends each run, and its message is shown once.
Transcript exploreThenRandom(int threads) {
    Session session;
    Transcript transcript;
    session.setErrorObserver([&transcript](const ScriptError &error) {
        if (!isRecoverableError(error.number)) transcript.errors.push_back(scriptErrorMessage(error));
    });
    session.problem().sizeProblem(2);
    session.problem().record.varNames = {"x", "y"};
    RandomSource random = RandomSource::withFixedSeed(99);
    for (RunKind kind : {RunKind::Explore, RunKind::Random}) {
        RunRequest request;
        request.kind = kind;
        request.constantItems = {"r=0.5"};
        request.fields = fields({"x^2+y^2=r", "y-x+0*CDbl(\"-\" & -Int(x*3))=0"}, "-1", "1", "30");
        request.seeds = 150;
        request.random = &random;
        request.options.threads = threads;
        RecordingList list;
        session.runCommand(request, list);
        transcript.lines.insert(transcript.lines.end(), list.lines.begin(), list.lines.end());
        transcript.lines.push_back(list.countText);
    }
    return transcript;
}

TEST(TypedRuns, ListTheSameOnEveryThreadCount) {
    const Transcript serial = exploreThenRandom(1);
    ASSERT_EQ(serial.errors.size(), 2u);
    ASSERT_THAT(serial.lines, ::testing::Contains("1 solutions"));
    for (int threads : {2, 3, 8}) EXPECT_EQ(exploreThenRandom(threads), serial) << threads << " threads";
}

// ---- Constants ---------------------------------------------------------------

TEST(FailingConstant, StopsTheRunBeforeItStartsAndNamesTheConstant) {
    const std::tuple<std::string, std::int32_t, bool> cases[] = {
        {"c=Sqr(-1)", 5, true}, {"c=1/0", 11, true}, {"c=Acosh(0)", 5, false}, {"k=foo(", 1002, true}};
    for (const auto &[failing, number, engineError] : cases) {
        SCOPED_TRACE(failing);
        Session session;
        std::vector<ScriptError> observed;
        session.setErrorObserver([&observed](const ScriptError &error) { observed.push_back(error); });
        session.problem().sizeProblem(1);
        session.problem().record.varNames = {"x"};
        RecordingList list;
        list.lines = {"an earlier run's line"};
        RunRequest request;
        request.constantItems = {"c=2", failing, "d=3"};
        request.fields = fields({"x=c"}, "0", "4", "8");
        const RunCommandResult result = session.runCommand(request, list);

        ASSERT_TRUE(result.constantFailure);
        EXPECT_FALSE(result.ran());
        const ConstantFailure &failure = *result.constantFailure;
        EXPECT_EQ(std::tie(failure.constant, failure.number, failure.engineError),
                  std::tie(failing, number, engineError));
        EXPECT_EQ(observed.size(), engineError ? 1u : 0u);
        // The list cleared, and nothing ran.
        EXPECT_EQ(std::tie(list.lines, list.countText), std::tuple(std::vector<std::string>{}, "0 solutions"));
        EXPECT_FALSE(session.engine().evaluateNumber("d").ok()) << "nothing after the failing constant ran";
    }
}

// ---- Options ---------------------------------------------------------------

// Sin(x) = 0 from 40 seeds: of the roots they reach only pi lies in [1.6, 4.6];
// every converged point outside counts, repeats too.
TEST(InsideBox, StoresOnlyTheSolutionInsideAndCountsTheConvergedPointsLeftOut) {
    Session session;
    session.problem().sizeProblem(1);
    session.problem().record.varNames = {"x"};
    RandomSource random = RandomSource::withFixedSeed(7);
    RunRequest request;
    request.kind = RunKind::Random;
    request.fields = fields({"Sin(x) = 0"}, "1.6", "4.6", "20", "30");
    request.seeds = 40;
    request.random = &random;
    request.insideBoxOnly = true;
    RecordingList list;
    ASSERT_TRUE(session.runCommand(request, list).ran());
    EXPECT_THAT(list.lines, ::testing::Contains(::testing::StartsWith("x=3.1415926535898 ")).Times(1));
    EXPECT_EQ(list.lines.back(), "OUTSIDE THE BOX, NOT STORED: 9 converged points.");
    EXPECT_EQ(list.countText, "1 solutions");
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
        RunControl control;
        StopAtFirstReport observer(control);
        RunRequest request;
        request.kind = RunKind::Certify;
        request.fields = fields({"x - y = 0", "y - x = 0"}, "-5", "5", "4", "30", "1E-10");
        request.options = {.threads = threads,
                           .control = &control,
                           .observer = &observer,
                           .progressInterval = std::chrono::milliseconds(10)};
        RecordingList list;
        const RunCommandResult result = session.runCommand(request, list);
        ASSERT_TRUE(result.certify);
        EXPECT_EQ(std::tie(result.certify->end, result.summary.end, list.countText),
                  std::tuple(CertifyEnd::Stopped, RunEnd::Stopped, "0 solutions"));
        ASSERT_FALSE(list.lines.empty());
        EXPECT_THAT(list.lines.back(), ::testing::StartsWith("RUN STOPPED: "));
    }
}

// ---- What the window builds on -----------------------------------------------

TEST(SolutionLineQueue, HandsOverLinesFromAnotherThreadInOrder) {
    SolutionLineQueue queue;
    queue.appendLine("before");
    std::jthread run([&queue] {
        queue.clearLines();
        for (int k = 0; k < 1000; ++k) queue.appendLine(std::to_string(k));
        queue.setCountText("3 solutions");
    });
    run.join();
    const SolutionLineQueue::Batch batch = queue.take();
    EXPECT_TRUE(batch.cleared);
    std::vector<std::string> expected;
    for (int k = 0; k < 1000; ++k) expected.push_back(std::to_string(k));
    EXPECT_EQ(batch.lines, expected);
    EXPECT_EQ(batch.countText, "3 solutions");
    EXPECT_TRUE(queue.take().empty());
}

}  // namespace
}  // namespace zl

// The session: typed problems run on one thread or many with the same list
// and the same script errors; failing constants stop a command before it runs.

#include "../../support/recording_list.h"
#include "core/session/session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "core/session/solution_line_queue.h"

namespace zl {
namespace {

using zl::testing::RecordingList;

/// A problem in x and y.
struct TypedProblem {
    std::string name;
    std::vector<std::string> constants;
    ProblemFieldTexts fields;
    std::string shown;  ///< a line the runs must list
};

/// Everything a run leaves for the user: the lines, the count, the script errors shown.
struct Transcript {
    std::vector<std::string> lines;
    std::vector<std::string> errors;
    bool operator==(const Transcript &) const = default;
};

/// Explore, then Random in the same session: the second run starts from the
/// state the first left (constants, variables, the last correction).
Transcript exploreThenRandom(const TypedProblem &typed, int threads) {
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
        request.constantItems = typed.constants;
        request.fields = typed.fields;
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

ProblemFieldTexts fields(std::vector<std::string> equations, const std::string &lower, const std::string &upper,
                         const std::string &subintervals, const std::string &iterations = "8") {
    const std::size_t n = equations.size();
    using Texts = std::vector<std::string>;
    return {".0001", iterations, Texts(n, lower), Texts(n, upper), Texts(n, subintervals), std::move(equations)};
}

TEST(TypedRuns, ListTheSameOnEveryThreadCount) {
    const TypedProblem problems[] = {
        {"circle and curve",
         {"r=1.5"},
         fields({"x^2+y^2=r", "sin(3*y)=x*y"}, "-2", "2", "40"),
         "-POSSIBLE INCONSISTENCE PROBLEMS."},
        // x of 1/3 and more cannot be evaluated at all (error 13): the first such
        // node or seed ends each run, and its message is shown once.
        {"fatal past a third",
         {},
         fields({"x^2+y^2=0.5", "y-x+0*CDbl(\"-\" & -Int(x*3))=0"}, "-1", "1", "30"),
         "1 solutions"},
    };
    for (const TypedProblem &problem : problems) {
        const Transcript serial = exploreThenRandom(problem, 1);
        ASSERT_NE(std::find(serial.lines.begin(), serial.lines.end(), problem.shown), serial.lines.end())
            << problem.name;
        for (int threads : {2, 3, 8})
            EXPECT_EQ(exploreThenRandom(problem, threads), serial) << problem.name << ", " << threads << " threads";
    }
}

// ---- Constants ---------------------------------------------------------------

struct ConstantCase {
    std::string failing;
    std::int32_t number;
    bool engineError;
};

TEST(FailingConstant, StopsTheRunBeforeItStartsAndNamesTheConstant) {
    for (const ConstantCase &c : {ConstantCase{"c=Sqr(-1)", 5, true}, ConstantCase{"c=1/0", 11, true},
                                  ConstantCase{"c=Acosh(0)", 5, false}, ConstantCase{"k=foo(", 1002, true}}) {
        SCOPED_TRACE(c.failing);
        Session session;
        std::vector<ScriptError> observed;
        session.setErrorObserver([&observed](const ScriptError &error) { observed.push_back(error); });
        session.problem().sizeProblem(1);
        session.problem().record.varNames = {"x"};
        RecordingList list;
        list.lines = {"an earlier run's line"};
        RunRequest request;
        request.constantItems = {"c=2", c.failing, "d=3"};
        request.fields = fields({"x=c"}, "0", "4", "8");
        const RunCommandResult result = session.runCommand(request, list);

        ASSERT_TRUE(result.constantFailure);
        EXPECT_FALSE(result.ran());
        EXPECT_EQ(result.constantFailure->constant, c.failing);
        EXPECT_EQ(result.constantFailure->number, c.number);
        EXPECT_EQ(result.constantFailure->engineError, c.engineError);
        EXPECT_EQ(observed.size(), c.engineError ? 1u : 0u);
        EXPECT_TRUE(list.lines.empty()) << "cleared, and nothing ran";
        EXPECT_EQ(list.countText, "0 solutions");
        EXPECT_FALSE(session.engine().evaluateNumber("d").ok()) << "nothing after the failing constant ran";
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

// A run stops soon after a stop request, from another thread, keeping what it
// found; it reports its progress at a bounded rate while it goes.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

#include "core/solver/compute.h"
#include "core/solver/random_source.h"
#include "core/solver/solution_lines.h"
#include "solver_test_support.h"

namespace zl {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testing::makeProblem;
using testing::NativeResiduals;
using testing::Point;
using testing::RecordingList;

/// sin(40x), each evaluation taking a millisecond: the whole grid would take minutes.
NativeResiduals slowSine() {
    return NativeResiduals({[](const Point &p) {
        std::this_thread::sleep_for(1ms);
        return std::sin(40 * p[0]);
    }});
}

struct RecordingObserver : RunObserver {
    void runProgress(const RunProgress &progress) override {
        reports.push_back(progress);
        times.push_back(Clock::now());
    }
    std::vector<RunProgress> reports;
    std::vector<Clock::time_point> times;
};

class StopRequest : public ::testing::TestWithParam<int> {};

TEST_P(StopRequest, EndsTheRunWithinATenthOfASecondKeepingWhatItFound) {
    ProblemState problem = makeProblem(1, {{0, 100, 100000}});
    NativeResiduals residuals = slowSine();
    const ParallelRun parallel = testing::nativeParallel(problem, residuals);
    RecordingList list;
    RunControl control;
    RecordingObserver observer;
    const RunOptions options{.threads = GetParam(), .control = &control, .observer = &observer};

    Clock::time_point requested;
    std::jthread stopper([&] {
        std::this_thread::sleep_for(400ms);
        requested = Clock::now();
        control.requestStop();
    });
    const RunSummary summary = runExplore(problem, residuals, list, options, &parallel);
    const Clock::time_point ended = Clock::now();
    stopper.join();  // before reading the stopper's time
    const auto latency = ended - requested;

    EXPECT_EQ(summary.end, RunEnd::Stopped);
    EXPECT_LE(latency, 100ms) << std::chrono::duration<double, std::milli>(latency).count() << " ms";
    ASSERT_GT(summary.done, 0u);
    EXPECT_EQ(list.lines.back(), runStoppedLine(RunUnit::Nodes, summary.done, 100001));
    EXPECT_EQ(list.lines.size(), 2u * static_cast<std::size_t>(problem.store.solutionCount) + 1)
        << "every stored solution listed, then the stop line alone";

    // At most one report per interval, each one further on, none past the total.
    ASSERT_FALSE(observer.reports.empty());
    for (std::size_t k = 1; k < observer.reports.size(); ++k) {
        EXPECT_GE(observer.times[k] - observer.times[k - 1], 90ms);
        EXPECT_GE(observer.reports[k].done, observer.reports[k - 1].done);
        EXPECT_GE(observer.reports[k].elapsed, observer.reports[k - 1].elapsed);
    }
    EXPECT_LE(observer.reports.back().done, summary.done);
    EXPECT_EQ(observer.reports.back().total, 100001);
    EXPECT_TRUE(observer.reports.back().remaining.has_value());
}

INSTANTIATE_TEST_SUITE_P(Threads, StopRequest, ::testing::Values(1, 2));

TEST(StopRequest, EndsRandomBeforeItsNextTrialLine) {
    ProblemState problem = makeProblem(1, {{0, 100, 1}});
    NativeResiduals residuals = slowSine();
    RecordingList list;
    RunControl control;
    control.requestStop();
    RandomSource random = RandomSource::withFixedSeed(1);
    const RunSummary summary = runRandom(problem, residuals, list, random, 50, {.control = &control});
    EXPECT_EQ(summary.end, RunEnd::Stopped);
    EXPECT_EQ(list.lines, std::vector<std::string>{"RUN STOPPED: 0 of 50 seeds."});
    EXPECT_EQ(problem.record.randomSeeds, 0);
}

}  // namespace
}  // namespace zl

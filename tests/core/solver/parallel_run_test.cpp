// Runs on several worker threads list exactly what a run on one thread lists:
// the same lines in the same order, the same end, the same state left behind.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <string>
#include <tuple>

#include "core/solver/compute.h"
#include "core/solver/random_source.h"
#include "solver_test_support.h"

namespace zl {
namespace {

using testing::makeProblem;
using testing::NativeResiduals;
using testing::Point;
using testing::RecordingList;

/// A run's lines and yields in order, then how it ended and the state it left
/// (the correction the next run's first seed may read, the residual column,
/// the random source's next number), values as their bits.
struct Outcome {
    std::vector<std::string> events;
    std::tuple<RunEnd, std::int32_t, std::vector<std::uint64_t>, std::vector<std::uint64_t>, double> state;
};

std::vector<std::uint64_t> bitsOf(const Point &values) {
    std::vector<std::uint64_t> bits;
    for (double v : values) bits.push_back(std::bit_cast<std::uint64_t>(v));
    return bits;
}

struct ParallelCase {
    std::string name;
    ProblemState problem;
    NativeResiduals residuals;
    RunEnd end;
    std::int32_t seeds = 0;  ///< Random when above 0
};

Outcome runWith(const ParallelCase &c, int threads) {
    ProblemState problem = c.problem;
    NativeResiduals residuals = c.residuals;
    const ParallelRun parallel = testing::nativeParallel(problem, residuals);
    RecordingList list;
    const RunOptions options{.threads = threads};
    RandomSource random = RandomSource::withFixedSeed(2024);
    const RunSummary summary = c.seeds > 0 ? runRandom(problem, residuals, list, random, c.seeds, options, &parallel)
                                           : runExplore(problem, residuals, list, options, &parallel);
    Point column;
    for (int j = 0; j < problem.record.order; ++j) column.push_back(problem.work.systemMatrix(j, 0));
    return {
        list.events,
        {summary.end, summary.fatalErrorNumber, bitsOf(problem.work.correction), bitsOf(column), random.nextUnit()}};
}

/// Half the box (z below 0.5) has a residual that is 0 everywhere: there the
/// first solve is singular at the last row, and the failure report shows the
/// correction the seed before left.
NativeResiduals halfSingular() {
    return NativeResiduals({[](const Point &p) { return p[0] - 0.3; },
                            [](const Point &p) { return p[1] * p[1] - 0.25; },
                            [](const Point &p) { return p[2] < 0.5 ? 0.0 : 0.7 - p[2]; }});
}

/// sin(x) with evaluations failing (recoverably) wherever frac(7x) < 0.3,
/// and with a number outside the recoverable set from x = 100 on.
NativeResiduals patchySine() {
    return NativeResiduals({[](const Point &p) { return std::sin(p[0]); }}, [](int, const Point &p) {
        if (p[0] >= 100) return 13;
        const double scaled = 7 * p[0];
        return scaled - std::floor(scaled) < 0.3 ? 11 : 0;
    });
}

std::vector<ParallelCase> parallelCases() {
    std::vector<ParallelCase> cases;
    // 127 roots on one long line: stretches of the line, and the stop at 100 solutions.
    cases.push_back({"SineStopsAtAHundredSolutions", makeProblem(1, {{0.5, 400, 800}}),
                     NativeResiduals({[](const Point &p) { return std::sin(p[0]); }}), RunEnd::StoreFull});
    // References carried across stretches over failed nodes, then a fatal error.
    cases.push_back(
        {"PatchySineEndsOnAFatalError", makeProblem(1, {{0.5, 150, 4000}}), patchySine(), RunEnd::FatalError});
    // Short lines, several per piece; no solution problems but a report at the end.
    cases.push_back({"CircleAndLineManyLines", makeProblem(2, {{-2, 2, 60}}, 1e-9, 6),
                     NativeResiduals({[](const Point &p) { return p[0] * p[0] + p[1] * p[1] - 1; },
                                      [](const Point &p) { return std::sin(3 * p[1]) - p[0] * p[1]; }}),
                     RunEnd::Completed});
    cases.push_back({"RandomSingularFirstSolvesShowTheCarriedCorrection", makeProblem(3, {{0, 1, 1}}, 1e-9, 6),
                     halfSingular(), RunEnd::Completed, 400});
    cases.push_back({"RandomStopsAtAHundredSolutions", makeProblem(1, {{0, 1000, 1}}),
                     NativeResiduals({[](const Point &p) { return std::sin(p[0]); }}), RunEnd::StoreFull, 2000});
    cases.push_back(
        {"RandomEndsOnAFatalError", makeProblem(1, {{0.5, 120, 1}}), patchySine(), RunEnd::FatalError, 300});
    return cases;
}

TEST(ParallelRuns, ListWhatOneThreadLists) {
    for (const ParallelCase &c : parallelCases()) {
        SCOPED_TRACE(c.name);
        const Outcome serial = runWith(c, 1);
        ASSERT_EQ(std::get<RunEnd>(serial.state), c.end);
        for (int threads : {2, 3, 8}) {
            const Outcome parallel = runWith(c, threads);
            EXPECT_EQ(parallel.events, serial.events) << threads << " threads";
            EXPECT_EQ(parallel.state, serial.state) << threads << " threads";
        }
    }
}

}  // namespace
}  // namespace zl

#include "core/solver/compute.h"

#include <algorithm>

#include "core/solver/explore_grid.h"
#include "core/solver/explore_size.h"
#include "core/solver/parallel_run.h"
#include "core/solver/progress_reporter.h"
#include "core/solver/random_source.h"
#include "core/solver/residual_evaluation.h"
#include "core/solver/run_state.h"
#include "core/solver/seed_runner.h"
#include "core/solver/solution_lines.h"
#include "core/solver/solution_list.h"

namespace zl {
namespace {

/// The walk of a run on one thread: every sign change starts a seed at once.
class SerialExploreVisitor {
public:
    SerialExploreVisitor(SeedRunner &seeds, ProgressReporter &progress, const SolutionStore &store)
        : seeds_(seeds), progress_(progress), store_(store) {}

    void visitNode() {
        ++nodes;
        progress_.tick(nodes, store_.solutionCount);
    }
    void referenceFound(const std::int32_t *) {}
    bool startSeed() {
        const bool goOn = seeds_.runSeed();
        progress_.tick(nodes, store_.solutionCount);
        return goOn;
    }

    std::uint64_t nodes = 0;

private:
    SeedRunner &seeds_;
    ProgressReporter &progress_;
    const SolutionStore &store_;
};

RunState runStateFor(const RunOptions &options) {
    RunState run;
    if (options.control) run.stopRequest = &options.control->stopFlag();
    return run;
}

}  // namespace

void finishRun(const RunSummary &summary, const RunState &run, SolutionListView &list) {
    if (summary.end == RunEnd::Completed) reportProblems(run, list);
    if (summary.end == RunEnd::Stopped) list.appendLine(runStoppedLine(summary.unit, summary.done, summary.total));
}

RunSummary runExplore(ProblemState &problem, ResidualSystem &residuals, SolutionListView &list,
                      const RunOptions &options, const ParallelRun *parallel) {
    if (!problem.record.hasProblem()) return {};
    clearUpperVectorState();
    const int threads = resolvedThreadCount(options.threads);
    if (parallel && exploreWorkerCount(problem.record, threads) > 1)
        return runExploreInParallel(problem, residuals, list, options, *parallel, threads);

    RunState run = runStateFor(options);
    RunSummary summary;
    summary.unit = RunUnit::Nodes;
    summary.total = exploreNodeCount(problem.record);
    ProgressReporter progress(options, RunUnit::Nodes, summary.total);
    SeedRunner seeds(problem, residuals, list, run);
    SerialExploreVisitor visitor(seeds, progress, problem.store);
    try {
        ExploreGrid grid(problem.record, problem.work, residuals, run);
        if (!grid.walk(visitor)) summary.end = RunEnd::StoreFull;
    } catch (const FatalEvaluationError &error) {
        summary.end = RunEnd::FatalError;
        summary.fatalErrorNumber = error.number;
    } catch (const RunInterrupted &) {
        summary.end = RunEnd::Stopped;
    }
    summary.done = visitor.nodes;
    finishRun(summary, run, list);
    return summary;
}

// A seed count below 1 tries no seed at all (the field never offers one).
RunSummary runRandom(ProblemState &problem, ResidualSystem &residuals, SolutionListView &list, RandomSource &random,
                     std::int32_t seeds, const RunOptions &options, const ParallelRun *parallel) {
    if (!problem.record.hasProblem()) return {};
    clearUpperVectorState();
    const int threads = resolvedThreadCount(options.threads);
    if (parallel && randomWorkerCount(problem.record, seeds, threads) > 1)
        return runRandomInParallel(problem, residuals, list, random, seeds, options, *parallel, threads);

    RunState run = runStateFor(options);
    run.randomMode = true;
    SeedRunner seedRunner(problem, residuals, list, run);
    ProblemSpec &record = problem.record;
    record.randomSeeds = std::max(seeds, 0);
    RunSummary summary;
    summary.unit = RunUnit::Seeds;
    summary.total = record.randomSeeds;
    ProgressReporter progress(options, RunUnit::Seeds, summary.total);
    try {
        while (record.randomSeeds != 0) {
            run.throwIfInterrupted();
            drawRandomSeed(record, random, problem.work.point.data());
            ++run.trialNumber;
            list.yieldToWindow();
            list.appendLine(trialLine(run.trialNumber));
            --record.randomSeeds;
            if (!seedRunner.runSeed()) {
                summary.end = RunEnd::StoreFull;
                break;
            }
            summary.done = static_cast<std::uint64_t>(run.trialNumber);
            progress.update(summary.done, problem.store.solutionCount);
        }
    } catch (const FatalEvaluationError &error) {
        summary.end = RunEnd::FatalError;
        summary.fatalErrorNumber = error.number;
    } catch (const RunInterrupted &) {
        summary.end = RunEnd::Stopped;
    }
    record.randomSeeds = 0;
    finishRun(summary, run, list);
    return summary;
}

}  // namespace zl

#include "core/solver/parallel_run.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

#include "core/solver/explore_grid.h"
#include "core/solver/explore_size.h"
#include "core/solver/grid_partition.h"
#include "core/solver/piece_pipeline.h"
#include "core/solver/piece_result.h"
#include "core/solver/progress_reporter.h"
#include "core/solver/residual_evaluation.h"
#include "core/solver/seed_recorder.h"
#include "core/solver/seed_runner.h"
#include "core/solver/solution_lines.h"
#include "core/solver/solution_list.h"

namespace zl {
namespace {

/// How long the merge waits for a piece before it looks at the stop request
/// and the progress again.
constexpr std::chrono::milliseconds kMergeWait{20};

/// Pieces per thread at least, so that the threads finish close together.
constexpr double kPiecesPerThread = 16;

/// Pieces out at once per worker: computing or waiting to be merged.
constexpr std::size_t kWindowPerWorker = 4;

/// Explore's pieces: from 64 nodes up to some 65536 evaluations (a node
/// costs `order`), fewer where the grid is small for the threads.
constexpr std::uint64_t kMinPieceNodes = 64;
std::uint64_t maxPieceNodes(int order, double totalNodes, int threads) {
    const double byCost = 65536.0 / order;
    const double bySpread = totalNodes / (threads * kPiecesPerThread);
    return static_cast<std::uint64_t>(std::clamp(std::min(byCost, bySpread), 64.0, 65536.0));
}

/// Random's pieces: from one seed up to 256, fewer where there are few seeds
/// for the threads.
std::int32_t maxPieceSeeds(std::int32_t seeds, int threads) {
    return static_cast<std::int32_t>(std::clamp(seeds / (threads * kPiecesPerThread), 1.0, 256.0));
}

int workersFor(double pieces, int threads) {
    if (!(pieces < threads)) return threads;
    return std::max(1, static_cast<int>(std::ceil(pieces)));
}

std::vector<std::unique_ptr<RunWorker>> makeWorkers(const ParallelRun &parallel, int count) {
    std::vector<std::unique_ptr<RunWorker>> workers;
    for (int k = 0; k < count; ++k) workers.push_back(parallel.makeWorker());
    return workers;
}

RunState workerRunState(const RunOptions &options, const std::atomic<bool> &cancel, bool randomMode) {
    RunState run;
    if (options.control) run.stopRequest = &options.control->stopFlag();
    run.cancelRequest = &cancel;
    run.randomMode = randomMode;
    return run;
}

/// The run's own side: its problem, list and state, into which the pieces
/// are merged in order.
class Merger {
public:
    Merger(ProblemState &problem, ResidualSystem &residuals, SolutionListView &list, const RunOptions &options,
           RunUnit unit, double total, bool randomMode)
        : progress(options, unit, total), problem_(problem), list_(list), seeds_(problem, residuals, list, run) {
        if (options.control) run.stopRequest = &options.control->stopFlag();
        run.randomMode = randomMode;
        summary.unit = unit;
        summary.total = total;
    }

    /// Runs a seed here, from `start`, with the true state. False when the store was full.
    bool replay(const double *start) {
        std::copy(start, start + problem_.record.order, problem_.work.point.begin());
        if (seeds_.runSeed()) return true;
        return endWith(RunEnd::StoreFull);
    }

    /// Merges a seed a worker computed. False when the run ends with it.
    bool apply(const SeedRecord &seed, const PieceResult &piece) {
        run.convergenceProblem = run.convergenceProblem || seed.convergenceProblem;
        run.inconsistency = run.inconsistency || seed.inconsistency;
        run.linearDependence = run.linearDependence || seed.linearDependence;
        if (seed.fatal == FatalStage::InNewton) return endWithFatal(seed.fatalNumber, piece);
        const bool converged = seed.outcome == NewtonOutcome::Converged;
        if (converged) {
            const auto n = static_cast<std::size_t>(problem_.record.order);
            const double *solution = piece.values.data() + seed.valuesAt;
            if (acceptSolution(problem_, solution, solution + n, list_) == AcceptResult::StoreFull) {
                // As the converged seed left them.
                SolverWorkspace &work = problem_.work;
                std::copy(solution + 2 * n, solution + 3 * n, work.correction.begin());
                for (std::size_t j = 0; j < n; ++j) work.systemMatrix(static_cast<int>(j), 0) = solution[n + j];
                return endWith(RunEnd::StoreFull);
            }
        }
        list_.yieldToWindow();
        if (!converged && run.randomMode) {
            for (std::size_t k = 0; k < seed.lineCount; ++k) list_.appendLine(piece.lines[seed.linesAt + k]);
            if (seed.fatal == FatalStage::InReport) return endWithFatal(seed.fatalNumber, piece);
        }
        list_.yieldToWindow();
        return true;
    }

    bool endWith(RunEnd end) {
        summary.end = end;
        return false;
    }

    /// A worker's fatal error is the run's: reported now, in serial order.
    bool endWithFatal(std::int32_t number, const PieceResult &piece) {
        if (piece.hasFinalState) piece.finalState.restore(problem_.work);
        if (piece.fatalReport) piece.fatalReport();
        summary.fatalErrorNumber = number;
        return endWith(RunEnd::FatalError);
    }

    void reportProgress() { progress.update(summary.done, problem_.store.solutionCount); }

    RunState run;
    ProgressReporter progress;
    RunSummary summary;

private:
    ProblemState &problem_;
    SolutionListView &list_;
    SeedRunner seeds_;
};

/// Takes the pieces in order and merges each with `mergePiece` (false: the
/// run ended there), until none is left or the run ends.
template <typename Piece, typename MergePiece>
RunSummary mergeInOrder(PiecePipeline<Piece, PieceResult> &pipeline, Merger &merger, SolutionListView &list,
                        MergePiece mergePiece) {
    Piece piece;
    PieceResult result;
    try {
        for (;;) {
            merger.run.throwIfInterrupted();
            const auto status = pipeline.next(piece, result, kMergeWait);
            if (status == PiecePipeline<Piece, PieceResult>::Status::Waiting) {
                merger.reportProgress();
                continue;
            }
            if (status == PiecePipeline<Piece, PieceResult>::Status::Done) break;
            if (result.failure) std::rethrow_exception(result.failure);
            if (result.interrupted) throw RunInterrupted{};  // only a stop cuts a piece short mid-run
            if (!mergePiece(piece, result)) break;
            merger.reportProgress();
        }
    } catch (const FatalEvaluationError &error) {  // in a seed the merge ran itself
        merger.summary.end = RunEnd::FatalError;
        merger.summary.fatalErrorNumber = error.number;
    } catch (const RunInterrupted &) {
        merger.summary.end = RunEnd::Stopped;
    }
    pipeline.cancel();
    finishRun(merger.summary, merger.run, list);
    return merger.summary;
}

// ---- Explore -------------------------------------------------------------

/// A worker's walk over one piece: every sign change is a seed to record.
class PieceVisitor {
public:
    PieceVisitor(SeedRecorder &seeds, PieceResult &result, const SolverWorkspace &work, bool recordEntry)
        : seeds_(seeds), result_(result), work_(work), recordEntry_(recordEntry) {}

    void visitNode() { ++nodes; }
    void referenceFound(const std::int32_t *signs) {
        if (!recordEntry_ || result_.hasEntry) return;
        result_.hasEntry = true;
        result_.entryNode = nodes;
        result_.entrySigns.assign(signs, signs + work_.point.size());
        result_.entryPoint = work_.point;
    }
    bool startSeed() {
        seeds_.runSeed(nodes);
        return true;  // whether the store is full only the merge knows
    }

    std::uint64_t nodes = 0;

private:
    SeedRecorder &seeds_;
    PieceResult &result_;
    const SolverWorkspace &work_;
    bool recordEntry_;
};

void walkPiece(RunWorker &worker, const GridPiece &piece, PieceResult &result, const RunOptions &options,
               const std::atomic<bool> &cancel) {
    ProblemState &problem = worker.problem();
    RunState run = workerRunState(options, cancel, false);
    SeedRecorder seeds(worker, run, result);
    PieceVisitor visitor(seeds, result, problem.work, piece.continuesLine);
    ExploreGrid grid(problem.record, problem.work, worker.residuals(), run);
    grid.start(false);
    problem.work.point = piece.start;
    try {
        // A piece's visitor never ends the walk (only the merge knows when the
        // store is full), and a piece holds only lines the grid has, so the
        // walk's own answers carry nothing here.
        if (piece.lines > 0) {
            for (std::uint64_t line = 0; line < piece.lines; ++line) {
                if (line > 0) std::ignore = grid.advanceSlowerDigit();
                std::ignore = grid.walkStretch(visitor, ExploreGrid::kWholeLine);
            }
        } else {
            std::ignore = grid.walkStretch(visitor, piece.nodes);
            if (grid.hasReference()) {
                result.hasExit = true;
                result.exitSigns.assign(grid.referenceSigns(), grid.referenceSigns() + problem.record.order);
            }
        }
    } catch (const FatalEvaluationError &error) {  // in the walk: a seed's is recorded with the seed
        result.walkFatal = true;
        result.walkFatalNumber = error.number;
        result.fatalReport = worker.takeFatalErrorReport();
    } catch (const PieceEnded &) {}
    seeds.finish();
}

}  // namespace

RunSummary runExploreInParallel(ProblemState &problem, ResidualSystem &residuals, SolutionListView &list,
                                const RunOptions &options, const ParallelRun &parallel, int threads) {
    const ProblemSpec &record = problem.record;
    const double total = exploreNodeCount(record);
    const int workers = exploreWorkerCount(record, threads);

    Merger merger(problem, residuals, list, options, RunUnit::Nodes, total, false);
    GridPartition partition(record);
    using Pipeline = PiecePipeline<GridPiece, PieceResult>;
    Pipeline pipeline(
        makeWorkers(parallel, workers), kWindowPerWorker * static_cast<std::size_t>(workers), kMinPieceNodes,
        maxPieceNodes(record.order, total, threads),
        [&partition](GridPiece &piece, std::uint64_t nodes) { return partition.next(piece, nodes); },
        [&options](RunWorker &worker, const GridPiece &piece, PieceResult &result, const std::atomic<bool> &cancel) {
            walkPiece(worker, piece, result, options, cancel);
        });

    // The reference signs of the line under way, carried from one stretch to the next.
    bool hasReference = false;
    std::vector<std::int32_t> reference;
    return mergeInOrder(pipeline, merger, list, [&](const GridPiece &piece, const PieceResult &result) {
        RunSummary &summary = merger.summary;
        if (!piece.continuesLine) hasReference = false;
        if (piece.continuesLine && result.hasEntry && hasReference && reference != result.entrySigns) {
            summary.done = piece.firstNode + result.entryNode;
            if (!merger.replay(result.entryPoint.data())) return false;
        }
        for (const SeedRecord &seed : result.seeds) {
            summary.done = piece.firstNode + seed.node;
            if (!(seed.replay ? merger.replay(result.values.data() + seed.valuesAt) : merger.apply(seed, result)))
                return false;
        }
        if (result.walkFatal) return merger.endWithFatal(result.walkFatalNumber, result);
        if (result.hasExit) {
            hasReference = true;
            reference = result.exitSigns;
        }
        if (result.hasFinalState) result.finalState.restore(problem.work);
        summary.done = piece.firstNode + piece.nodes;
        return true;
    });
}

// ---- Random --------------------------------------------------------------

struct SeedPiece {
    std::int32_t count = 0;
    std::vector<double> starts;  ///< count points of order values, drawn in serial order

    std::uint64_t units() const { return static_cast<std::uint64_t>(count); }
};

void runSeedPiece(RunWorker &worker, const SeedPiece &piece, PieceResult &result, const RunOptions &options,
                  const std::atomic<bool> &cancel) {
    ProblemState &problem = worker.problem();
    RunState run = workerRunState(options, cancel, true);
    SeedRecorder seeds(worker, run, result);
    const auto n = static_cast<std::size_t>(problem.record.order);
    try {
        for (std::int32_t k = 0; k < piece.count; ++k) {
            run.throwIfInterrupted();
            const double *start = piece.starts.data() + static_cast<std::size_t>(k) * n;
            std::copy(start, start + n, problem.work.point.begin());
            seeds.runSeed(0);
        }
    } catch (const PieceEnded &) {}
    seeds.finish();
}

RunSummary runRandomInParallel(ProblemState &problem, ResidualSystem &residuals, SolutionListView &list,
                               RandomSource &random, std::int32_t seeds, const RunOptions &options,
                               const ParallelRun &parallel, int threads) {
    ProblemSpec &record = problem.record;
    record.randomSeeds = seeds;
    const int workers = randomWorkerCount(record, seeds, threads);

    // The seeds are drawn in order from a copy of the source; the source itself
    // moves on afterwards by the seeds the run took.
    RandomSource drawing = random;
    std::int32_t drawn = 0;
    Merger merger(problem, residuals, list, options, RunUnit::Seeds, seeds, true);
    using Pipeline = PiecePipeline<SeedPiece, PieceResult>;
    Pipeline pipeline(
        makeWorkers(parallel, workers), kWindowPerWorker * static_cast<std::size_t>(workers), 1,
        static_cast<std::uint64_t>(maxPieceSeeds(seeds, threads)),
        [&](SeedPiece &piece, std::uint64_t wanted) {
            if (drawn == seeds) return false;
            piece.count =
                static_cast<std::int32_t>(std::min<std::uint64_t>(wanted, static_cast<std::uint64_t>(seeds - drawn)));
            piece.starts.resize(static_cast<std::size_t>(piece.count) * static_cast<std::size_t>(record.order));
            for (std::int32_t k = 0; k < piece.count; ++k)
                drawRandomSeed(record, drawing, piece.starts.data() + static_cast<std::size_t>(k) * record.order);
            drawn += piece.count;
            return true;
        },
        [&options](RunWorker &worker, const SeedPiece &piece, PieceResult &result, const std::atomic<bool> &cancel) {
            runSeedPiece(worker, piece, result, options, cancel);
        });

    RunState &run = merger.run;
    RunSummary summary = mergeInOrder(pipeline, merger, list, [&](const SeedPiece &, const PieceResult &result) {
        for (const SeedRecord &seed : result.seeds) {
            ++run.trialNumber;
            list.yieldToWindow();
            list.appendLine(trialLine(run.trialNumber));
            --record.randomSeeds;
            if (!(seed.replay ? merger.replay(result.values.data() + seed.valuesAt) : merger.apply(seed, result)))
                return false;
            merger.summary.done = static_cast<std::uint64_t>(run.trialNumber);
        }
        if (result.hasFinalState) result.finalState.restore(problem.work);
        return true;
    });
    record.randomSeeds = 0;
    std::vector<double> discarded(static_cast<std::size_t>(record.order));
    for (std::int32_t trial = 0; trial < run.trialNumber; ++trial) drawRandomSeed(record, random, discarded.data());
    return summary;
}

// A worker per piece of the smallest size at most.
int exploreWorkerCount(const ProblemSpec &record, int threads) {
    return workersFor(exploreNodeCount(record) / static_cast<double>(kMinPieceNodes), threads);
}

int randomWorkerCount(const ProblemSpec &, std::int32_t seeds, int threads) {
    return workersFor(static_cast<double>(seeds), threads);
}

}  // namespace zl

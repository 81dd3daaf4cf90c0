#include "core/solver/seed_recorder.h"

#include "core/solver/residual_evaluation.h"
#include "core/solver/solution_list.h"
#include "core/solver/solution_list_view.h"

namespace zl {
namespace {

/// The failure report's lines, gathered into the piece's result.
class LineCollector : public SolutionListView {
public:
    explicit LineCollector(std::vector<std::string> &lines) : lines_(lines) {}
    void appendLine(const std::string &line) override { lines_.push_back(line); }
    void clearLines() override {}
    void setCountText(const std::string &) override {}

private:
    std::vector<std::string> &lines_;
};

void appendValues(std::vector<double> &values, const double *first, std::size_t count) {
    values.insert(values.end(), first, first + count);
}

}  // namespace

void CarriedState::capture(const SolverWorkspace &work) {
    correction = work.correction;
    residualColumn.resize(work.correction.size());
    for (std::size_t j = 0; j < residualColumn.size(); ++j)
        residualColumn[j] = work.systemMatrix(static_cast<int>(j), 0);
}

void CarriedState::restore(SolverWorkspace &work) const {
    work.correction = correction;
    for (std::size_t j = 0; j < residualColumn.size(); ++j)
        work.systemMatrix(static_cast<int>(j), 0) = residualColumn[j];
}

SeedRecorder::SeedRecorder(RunWorker &worker, RunState &run, PieceResult &result)
    : worker_(worker), run_(run), result_(result) {}

void SeedRecorder::runSeed(std::uint64_t node) {
    ProblemState &problem = worker_.problem();
    SolverWorkspace &work = problem.work;
    const auto n = static_cast<std::size_t>(problem.record.order);
    SeedRecord record;
    record.node = node;
    record.valuesAt = result_.values.size();
    appendValues(result_.values, work.point.data(), n);  // the start, dropped unless replayed
    run_.clearProblems();
    try {
        record.outcome = newtonFromSeed(problem, worker_.residuals(), run_);
    } catch (const FatalEvaluationError &error) {
        record.fatal = FatalStage::InNewton;
        record.fatalNumber = error.number;
    }
    exact_ = exact_ || run_.firstSolveDone;
    record.replay = !exact_;
    if (!record.replay) result_.values.resize(record.valuesAt);
    record.convergenceProblem = run_.convergenceProblem;
    record.inconsistency = run_.inconsistency;
    record.linearDependence = run_.linearDependence;

    if (record.fatal == FatalStage::None && !record.replay) {
        if (record.outcome == NewtonOutcome::Converged) {
            appendValues(result_.values, work.point.data(), n);
            for (std::size_t j = 0; j < n; ++j) result_.values.push_back(work.systemMatrix(static_cast<int>(j), 0));
            appendValues(result_.values, work.correction.data(), n);
        } else if (run_.randomMode) {
            record.linesAt = result_.lines.size();
            LineCollector lines(result_.lines);
            try {
                reportFailure(problem, worker_.residuals(), run_, lines);
            } catch (const FatalEvaluationError &error) {
                record.fatal = FatalStage::InReport;
                record.fatalNumber = error.number;
            }
            record.lineCount = result_.lines.size() - record.linesAt;
        }
    }
    const bool fatal = record.fatal != FatalStage::None;
    if (fatal) result_.fatalReport = worker_.takeFatalErrorReport();
    result_.seeds.push_back(record);
    if (fatal) throw PieceEnded{};
}

void SeedRecorder::finish() {
    result_.hasFinalState = exact_;
    if (exact_) result_.finalState.capture(worker_.problem().work);
}

}  // namespace zl

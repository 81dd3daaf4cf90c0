#include "core/session/session.h"

#include <tuple>

#include "core/certify/proving_list_view.h"
#include "core/eval/interval_compiler.h"
#include "core/files/problem_file.h"
#include "core/numbers/number_text.h"
#include "core/session/session_worker.h"
#include "core/solver/progress_reporter.h"
#include "core/solver/solution_lines.h"

namespace zl {
namespace {

/// Certify's progress counts millionths of the box decided.
constexpr double kBoxShareTotal = 1e6;

/// The list a run writes to, with a proof line after each solution when asked.
class ProofLines {
public:
    ProofLines(bool prove, ScriptEngine &engine, const ProblemState &problem, SolutionListView &list) : list_(list) {
        if (!prove) return;
        compilation_ = compileIntervalSystem(engine, problem.record);
        view_.emplace(list, problem, compilation_.program ? &*compilation_.program : nullptr);
    }
    ProofLines(const ProofLines &) = delete;
    ProofLines &operator=(const ProofLines &) = delete;

    SolutionListView &list() { return view_ ? static_cast<SolutionListView &>(*view_) : list_; }

private:
    SolutionListView &list_;
    IntervalCompilation compilation_;
    std::optional<ProvingListView> view_;
};

/// A Certify run's end as a run's: stopped, a fatal error, or done.
RunSummary runSummaryOf(const CertifySummary &certify) {
    RunSummary summary;
    summary.unit = RunUnit::BoxShare;
    summary.total = kBoxShareTotal;
    summary.fatalErrorNumber = certify.fatalErrorNumber;
    switch (certify.end) {
    case CertifyEnd::Stopped:
        summary.end = RunEnd::Stopped;
        break;
    case CertifyEnd::FatalError:
        summary.end = RunEnd::FatalError;
        break;
    default:
        summary.end = RunEnd::Completed;
        summary.done = static_cast<std::uint64_t>(kBoxShareTotal);
        break;
    }
    return summary;
}

}  // namespace

Session::Session() : evaluator_(context_.engine(), context_.library(), problem_) {}

Session::~Session() = default;

void Session::setErrorObserver(ErrorObserver observer) { context_.setErrorObserver(std::move(observer)); }

std::optional<FileError> Session::open(const ProblemFileData &data) { return applyProblemFile(data, problem_); }

std::optional<ConstantFailure> Session::registerConstants(const std::vector<std::string> &constantItems) {
    const std::uint64_t observedBefore = context_.errorsObserved();
    const std::optional<ScriptError> error = evaluator_.registerConstants(constantItems);
    if (!error) return std::nullopt;
    return ConstantFailure{error->text, error->number, error->description, context_.errorsObserved() != observedBefore};
}

std::optional<ConstantFailure> Session::prepareRun(RunKind kind, const std::vector<std::string> &constantItems,
                                                   const ProblemFieldTexts &fields) {
    if (auto failure = registerConstants(constantItems)) return failure;
    // The constants ran above; the residuals' compile failures show when they
    // are evaluated, as the run lists them.
    std::ignore = evaluator_.prepareEquations({}, fields);
    // Declares the script variables x, y, z and w; a failure has reached the observer.
    if (kind == RunKind::Explore) std::ignore = engine().executeStatement("public x,y,z,w");
    return std::nullopt;
}

RunWorkerFactory Session::workerFactory() {
    return [this] { return std::make_unique<SessionWorker>(context_, problem_); };
}

RunSummary Session::explore(SolutionListView &list, const RunOptions &options) {
    const ParallelRun parallel{workerFactory()};
    return runExplore(problem_, evaluator_, list, options, &parallel);
}

RunSummary Session::random(SolutionListView &list, RandomSource &random, std::int32_t seeds,
                           const RunOptions &options) {
    const ParallelRun parallel{workerFactory()};
    return runRandom(problem_, evaluator_, list, random, seeds, options, &parallel);
}

CertifySummary Session::certify(SolutionListView &list, const RunOptions &options, std::optional<double> minWidth) {
    ProgressReporter reporter(options, RunUnit::BoxShare, kBoxShareTotal);
    CertifyOptions certifyOptions;
    certifyOptions.minWidth = minWidth;
    SearchControl &control = certifyOptions.control;
    control.threads = resolvedThreadCount(options.threads);
    control.stop = options.control ? &options.control->stopFlag() : nullptr;
    // Twice as often as the reporter passes reports on, so that none falls between.
    control.progressInterval = options.progressInterval / 2;
    if (options.observer) {
        control.progress = [&reporter](const SearchProgress &progress) {
            reporter.update(static_cast<std::uint64_t>(progress.decidedFraction * kBoxShareTotal),
                            static_cast<std::int32_t>(progress.proofs));
        };
    }
    return runCertify(problem_, evaluator_, engine(), list, certifyOptions);
}

RunSummary Session::runSolver(const RunRequest &request, SolutionListView &plainList) {
    ProofLines proofs(request.proveSolutions, engine(), problem_, plainList);
    SolutionListView &list = proofs.list();
    problem_.store.insideBoxOnly = request.insideBoxOnly;
    problem_.store.outsideBox = 0;
    RunSummary summary;
    if (request.kind == RunKind::Explore) {
        summary = explore(list, request.options);
    } else if (request.random) {
        summary = random(list, *request.random, request.seeds, request.options);
    } else {
        RandomSource clock = RandomSource::fromClock();
        summary = random(list, clock, request.seeds, request.options);
    }
    problem_.store.insideBoxOnly = false;
    if (request.insideBoxOnly) list.appendLine(outsideBoxLine(problem_.store.outsideBox));
    return summary;
}

RunCommandResult Session::runCommand(const RunRequest &request, SolutionListView &list) {
    clearSolutions(list);
    RunCommandResult result;
    result.constantFailure = prepareRun(request.kind, request.constantItems, request.fields);
    if (!result.constantFailure) {
        result.refused = request.approve && !request.approve(problem_.record);
        if (!result.refused && request.kind == RunKind::Certify) {
            result.certify = certify(list, request.options, request.minWidth);
            result.summary = runSummaryOf(*result.certify);
        } else if (!result.refused) {
            result.summary = runSolver(request, list);
        }
    }
    list.setCountText(solutionCountText(problem_.store.solutionCount));
    return result;
}

void Session::clearSolutions(SolutionListView &list) { zl::clearSolutions(problem_, list); }

std::int32_t Session::listSolutions(SolutionListView &list, bool proveSolutions) {
    evaluator_.compileResiduals();
    ProofLines proofs(proveSolutions, engine(), problem_, list);
    return zl::listSolutions(problem_, evaluator_, proofs.list());
}

std::vector<std::string> Session::report(const std::vector<std::string> &constantItems,
                                         const std::vector<std::string> &equationTexts, int charsPerLine) {
    evaluator_.compileResiduals();
    return reportLines(collectReportData(problem_, constantItems, equationTexts, evaluator_), charsPerLine);
}

ProblemFieldTexts Session::recordFieldTexts() const {
    const ProblemSpec &record = problem_.record;
    ProblemFieldTexts texts;
    texts.errorBound = generalNumberText(record.maxError);
    texts.iterations = std::to_string(record.maxCycles);
    for (int i = 0; i < record.order; ++i) {
        texts.lowerLimits.push_back(generalNumberText(record.lowerLimits[i]));
        texts.upperLimits.push_back(generalNumberText(record.upperLimits[i]));
        texts.subintervals.push_back(std::to_string(record.subintervals[i]));
        texts.equations.push_back(record.equations[i]);
    }
    return texts;
}

}  // namespace zl

#include "core/session/session.h"

#include <tuple>

#include "core/files/problem_file.h"
#include "core/numbers/number_text.h"
#include "core/session/session_worker.h"

namespace zl {

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

RunCommandResult Session::runCommand(const RunRequest &request, SolutionListView &list) {
    clearSolutions(list);
    RunCommandResult result;
    result.constantFailure = prepareRun(request.kind, request.constantItems, request.fields);
    if (!result.constantFailure) {
        result.refused = request.approve && !request.approve(problem_.record);
        if (!result.refused) {
            if (request.kind == RunKind::Explore) {
                result.summary = explore(list, request.options);
            } else if (request.random) {
                result.summary = random(list, *request.random, request.seeds, request.options);
            } else {
                RandomSource clock = RandomSource::fromClock();
                result.summary = random(list, clock, request.seeds, request.options);
            }
        }
    }
    list.setCountText(solutionCountText(problem_.store.solutionCount));
    return result;
}

void Session::clearSolutions(SolutionListView &list) { zl::clearSolutions(problem_, list); }

std::int32_t Session::listSolutions(SolutionListView &list) {
    evaluator_.compileResiduals();
    return zl::listSolutions(problem_, evaluator_, list);
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

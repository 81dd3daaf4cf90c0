#include "core/certify/certify_run.h"

#include <algorithm>
#include <cmath>

#include "core/certify/certify_lines.h"
#include "core/eval/interval_compiler.h"
#include "core/numbers/number_text.h"
#include "core/solver/compute.h"
#include "core/solver/solution_lines.h"
#include "core/solver/solution_list.h"

namespace zl {
namespace {

/// The undecided boxes listed after an incomplete search.
constexpr std::size_t kUndecidedListed = 5;

/// The box between each variable's limits (either order); nothing when a
/// limit is not finite.
std::optional<Box> searchBox(const ProblemSpec &record) {
    Box box(static_cast<std::size_t>(record.order));
    for (std::size_t i = 0; i < box.size(); ++i) {
        const double a = record.lowerLimits[i];
        const double b = record.upperLimits[i];
        if (!std::isfinite(a) || !std::isfinite(b)) return std::nullopt;
        box[i] = {std::min(a, b), std::max(a, b)};
    }
    return box;
}

/// A fatal error at the box's midpoint ends the run as it ends Explore.
std::int32_t fatalErrorAt(ResidualSystem &residuals, const Box &box, int order) {
    const std::vector<double> point = midpoint(box);
    std::vector<double> values(static_cast<std::size_t>(order));
    std::vector<std::int32_t> statuses(static_cast<std::size_t>(order));
    const int evaluated = residuals.evaluateAll(order, point.data(), values.data(), statuses.data());
    for (int j = 0; j < evaluated; ++j)
        if (statuses[j] != 0 && !isRecoverableError(statuses[j])) return statuses[j];
    return 0;
}

/// Stores a proved root and appends its lines with the residuals there.
void listRoot(ProblemState &problem, ResidualSystem &residuals, SolutionListView &list, const ProvedRoot &root) {
    const ProblemSpec &record = problem.record;
    const int order = record.order;
    const int column = ++problem.store.solutionCount;
    std::vector<double> values(static_cast<std::size_t>(order));
    std::vector<std::int32_t> statuses(static_cast<std::size_t>(order), 0);
    const int evaluated = residuals.evaluateAll(order, root.point.data(), values.data(), statuses.data());
    for (int i = 0; i < order; ++i) {
        problem.store.solutions(i, column) = root.point[static_cast<std::size_t>(i)];
        problem.work.point[static_cast<std::size_t>(i)] = root.point[static_cast<std::size_t>(i)];
        const bool ok = i < evaluated && statuses[static_cast<std::size_t>(i)] == 0;
        const std::string residual = ok ? generalNumberText(values[static_cast<std::size_t>(i)])
                                        : failedResidualText(statuses[static_cast<std::size_t>(i)]);
        list.appendLine(solutionLine(record.varNames[static_cast<std::size_t>(i)],
                                     root.point[static_cast<std::size_t>(i)], i + 1, residual));
    }
    list.appendLine("");
}

}  // namespace

CertifySummary runCertify(ProblemState &problem, ResidualSystem &residuals, ScriptEngine &engine,
                          SolutionListView &list, const CertifyOptions &options) {
    CertifySummary summary;
    const ProblemSpec &record = problem.record;
    auto finish = [&](CertifyEnd end) {
        summary.end = end;
        list.setCountText(solutionCountText(problem.store.solutionCount));
        return summary;
    };
    const std::optional<Box> box = searchBox(record);
    if (!box) {
        list.appendLine("NO SEARCH BOX: EVERY LIMIT MUST BE A FINITE NUMBER.");
        return finish(CertifyEnd::NoBox);
    }
    if ((summary.fatalErrorNumber = fatalErrorAt(residuals, *box, record.order)) != 0)
        return finish(CertifyEnd::FatalError);
    IntervalCompilation compilation = compileIntervalSystem(engine, record);
    if (!compilation.program) {
        list.appendLine(noIntervalFormLine(compilation.equation + 1, compilation.reason));
        return finish(CertifyEnd::NoIntervalForm);
    }

    SearchSettings settings;
    const double tolerance = record.maxError > 0 ? record.maxError : 1e-8;
    settings.minWidth = options.minWidth.value_or(tolerance);
    settings.faceTolerance = tolerance;
    BranchAndPrune search(*compilation.program, settings);
    const SearchResult result = search.run(*box, options.control);
    summary.statistics = result.statistics;
    summary.roots = static_cast<std::int64_t>(result.roots.size());
    summary.undecided = static_cast<std::int64_t>(result.undecided.size());

    for (const ProvedRoot &root : result.roots) {
        if (problem.store.full()) break;
        listRoot(problem, residuals, list, root);
    }
    if (summary.roots > problem.store.solutionCount)
        list.appendLine(notListedLine(summary.roots - problem.store.solutionCount));
    if (result.stopped) {
        list.appendLine("RUN STOPPED: " + std::to_string(result.statistics.boxes) + " boxes searched.");
        return finish(CertifyEnd::Stopped);
    }
    if (result.undecided.empty()) {
        list.appendLine(completeSearchLine(summary.roots));
        return finish(CertifyEnd::Complete);
    }
    list.appendLine(incompleteSearchLine(summary.roots, summary.undecided));
    for (std::size_t k = 0; k < result.undecided.size() && k < kUndecidedListed; ++k)
        list.appendLine(undecidedBoxLine(static_cast<int>(k + 1), record.varNames, result.undecided[k]));
    return finish(CertifyEnd::Incomplete);
}

}  // namespace zl

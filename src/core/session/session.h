#pragma once
// One problem and everything that computes with it: the problem record with
// its solutions and working arrays, the expression engine with the math
// library, and the equation evaluator, created and destroyed in a safe order.
// The window, zerolith-cli, the tests and the benchmarks all work through a
// Session, so the sequence of a run is written once (runCommand).
//
// The window and zerolith-cli share this class, so that both give the same
// list lines, files and reports for a problem: a change to what a member does,
// or to the order in which a run calls its observers, changes both front ends
// at once and must be checked against the tests of each.
//
// Threads: a session is used by one thread at a time. A run may be started on
// any thread (the window's worker, for instance); its list lines, its progress
// reports and any script error reach the list view, the RunObserver and the
// error observer on that same thread, in the order of a run on one thread.
// Only RunControl::requestStop is meant to be called from another thread
// while a run is under way. SolutionLineQueue hands the lines over to a
// thread that shows them.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/certify/certify_run.h"
#include "core/eval/equation_evaluator.h"
#include "core/files/file_error.h"
#include "core/files/problem_file_data.h"
#include "core/files/report_data.h"
#include "core/files/report_layout.h"
#include "core/problem/problem_field_texts.h"
#include "core/problem/problem_state.h"
#include "core/session/script_context.h"
#include "core/solver/compute.h"
#include "core/solver/random_source.h"
#include "core/solver/run_control.h"
#include "core/solver/solution_list_view.h"

namespace zl {

/// Certify searches the whole box and proves each root it lists (certify_run.h).
enum class RunKind { Explore, Random, Certify };

/// A constant whose statement failed. Nothing that needed the constants
/// (a run, a listing, a report) takes place.
struct ConstantFailure {
    std::string constant;  ///< the constants-list item as typed
    std::int32_t number = 0;
    std::string description;  ///< the catalogue's text for the number
    /// The engine raised it, so the error observer has seen it (whose message
    /// names the constant's text); a library function's failure inside the
    /// constant's value is not an engine error.
    bool engineError = false;
};

/// Everything one run command needs besides the list it writes to.
struct RunRequest {
    RunKind kind = RunKind::Explore;
    std::vector<std::string> constantItems;  ///< the constants list, in list order
    ProblemFieldTexts fields;                ///< the texts the run reads its problem from
    std::int32_t seeds = 0;                  ///< Random: how many
    RandomSource *random = nullptr;          ///< Random: where the seeds come from
    RunOptions options;                      ///< threads, stop request, progress
    /// Asked after the problem is prepared and before the run; false refuses
    /// the run (a grid larger than the caller takes on, say). None: always run.
    std::function<bool(const ProblemSpec &)> approve;
    /// Explore, Random: store only the converged points inside the search box
    /// (widened by maxError); the list ends with how many were left out.
    bool insideBoxOnly = false;
    /// Explore, Random: after each solution's lines, whether it is proved the
    /// only root in a box around it.
    bool proveSolutions = false;
    std::optional<double> minWidth;  ///< Certify: narrowest box split; maxError when none
};

struct RunCommandResult {
    std::optional<ConstantFailure> constantFailure;  ///< set: no run took place
    bool refused = false;                            ///< approve said no: no run took place
    RunSummary summary;                              ///< of the run, when one took place
    std::optional<CertifySummary> certify;           ///< of a Certify run, when one took place

    bool ran() const { return !constantFailure && !refused; }
};

class Session {
public:
    using ErrorObserver = ScriptContext::ErrorObserver;

    Session();
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    /// Sees every engine error, the recoverable numbers too, on the thread
    /// that made the call that failed (during a run: the run's thread).
    void setErrorObserver(ErrorObserver observer);

    ProblemState &problem() { return problem_; }
    const ProblemState &problem() const { return problem_; }
    ScriptEngine &engine() { return context_.engine(); }
    MathLibrary &library() { return context_.library(); }
    /// The problem's residuals as the solver, the list and the report evaluate them.
    EquationEvaluator &evaluator() { return evaluator_; }
    /// The number of the last failed evaluation (the window's ierr), 0 for none.
    std::int32_t lastErrorNumber() const { return context_.lastErrorNumber(); }

    /// Open: the record filled from a file read in full (sized, names,
    /// equations and residuals, limits, parameters, constants table, stored
    /// solutions), the residuals compiled. The constants are not run here:
    /// registerConstants does that, once per command. On failure the record
    /// is left as it was.
    std::optional<FileError> open(const ProblemFileData &data);

    /// RegisterConstants: each item executed as a statement, in list order.
    /// The first item that fails with any error number, or whose value calls
    /// a library function that fails, stops the registration: the later
    /// items are not run.
    std::optional<ConstantFailure> registerConstants(const std::vector<std::string> &constantItems);

    /// PrepareEquations: registerConstants, then the residuals, the error
    /// bound, the iteration limit, the limits and the subintervals read from
    /// `fields` and compiled; for Explore also the declaration
    /// "public x,y,z,w". Nothing is prepared past a failing constant.
    std::optional<ConstantFailure> prepareRun(RunKind kind, const std::vector<std::string> &constantItems,
                                              const ProblemFieldTexts &fields);

    /// The run alone (Compute) on the prepared problem: appends to the list.
    RunSummary explore(SolutionListView &list, const RunOptions &options = {});
    RunSummary random(SolutionListView &list, RandomSource &random, std::int32_t seeds, const RunOptions &options = {});
    /// Certify on the prepared problem: the roots it proves, then the summary lines.
    CertifySummary certify(SolutionListView &list, const RunOptions &options = {},
                           std::optional<double> minWidth = std::nullopt);

    /// A whole run command: ClearSolutions, PrepareEquations (and the
    /// declaration for Explore), the run, then the count text.
    RunCommandResult runCommand(const RunRequest &request, SolutionListView &list);

    /// ClearSolutions: the list, the count text and solutionCount (not while a file is loading).
    void clearSolutions(SolutionListView &list);
    /// ListSolutions: the stored solutions with their residuals evaluated now,
    /// then the count text. Returns 0 or the number of the first failed evaluation.
    /// `proveSolutions` adds the proof line after each solution's lines.
    std::int32_t listSolutions(SolutionListView &list, bool proveSolutions = false);
    /// The printed report's lines.
    std::vector<std::string> report(const std::vector<std::string> &constantItems,
                                    const std::vector<std::string> &equationTexts, int charsPerLine);

    /// The texts the window's fields show for the record, as Open fills them.
    ProblemFieldTexts recordFieldTexts() const;

private:
    RunWorkerFactory workerFactory();
    RunSummary runSolver(const RunRequest &request, SolutionListView &list);

    ProblemState problem_;
    ScriptContext context_;
    EquationEvaluator evaluator_;
};

}  // namespace zl

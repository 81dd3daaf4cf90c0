// explore, random and list: the window's run commands and Open's solution
// list, printed line by line as the window's list shows them.

#include <limits>
#include <ostream>

#include "cli/command_arguments.h"
#include "cli/problem_session.h"
#include "cli/stream_list_view.h"
#include "core/numbers/number_text.h"
#include "core/solver/compute.h"
#include "core/solver/explore_size.h"
#include "core/solver/random_source.h"

namespace zl::cli {
namespace {

/// The options every solving subcommand shares, and its one problem file.
struct SolveRequest {
    CommandArguments arguments;
    std::unique_ptr<ProblemSession> session;
};

std::optional<SolveRequest> openRequest(const std::string &command, const Arguments &args,
                                        const std::set<std::string> &options, std::ostream &err, int &exitCode) {
    std::string error;
    auto arguments = CommandArguments::parse(args, options, error);
    if (arguments && arguments->positionals().size() != 1) error = command + " takes one problem file";
    if (!arguments || !error.empty()) {
        err << "zerolith-cli: " << error << " (see zerolith-cli --help)\n";
        exitCode = kExitBadInput;
        return std::nullopt;
    }
    auto session = ProblemSession::open(arguments->positionals().front(), err);
    if (!session) {
        exitCode = kExitBadInput;
        return std::nullopt;
    }
    return SolveRequest{std::move(*arguments), std::move(session)};
}

/// The end of every solving subcommand: the count line, the optional save,
/// and the exit code.
int finish(SolveRequest &request, StreamListView &list, std::int32_t failure, std::ostream &err) {
    ProblemSession &session = *request.session;
    list.setCountText(solutionCountText(session.problem().store.solutionCount));
    list.printCount();
    if (auto out = request.arguments.option("--save"); out && !session.save(*out, err)) return kExitBadInput;
    return failure != 0 && session.scriptErrorReported() ? kExitScriptError : kExitOk;
}

/// What the window's run command does before Compute: clear the list and
/// prepare the equations from the fields.
bool prepareRun(ProblemSession &session, StreamListView &list) {
    clearSolutions(session.problem(), list);
    return !session.evaluator().prepareEquations(session.constantItems(), session.fieldTexts());
}

/// Explore refuses a grid larger than the bound (kMaxExploreNodes unless
/// --max-nodes N says otherwise) before it starts, rather than run for hours.
bool gridWithinBound(const SolveRequest &request, std::ostream &err, int &exitCode) {
    double bound = kMaxExploreNodes;
    if (const auto boundText = request.arguments.option("--max-nodes")) {
        const auto parsed = parseIntegerOption(*boundText, 1, std::numeric_limits<long long>::max());
        if (!parsed) {
            err << "zerolith-cli: --max-nodes takes a whole number of at least 1\n";
            exitCode = kExitBadInput;
            return false;
        }
        bound = static_cast<double>(*parsed);
    }
    const double nodes = exploreNodeCount(request.session->problem().record);
    if (nodes <= bound) return true;
    err << "zerolith-cli: the grid has " << generalNumberText(nodes) << " nodes, more than the "
        << generalNumberText(bound) << " Explore takes on; use fewer subintervals or raise the bound with "
        << "--max-nodes N\n";
    exitCode = kExitBadInput;
    return false;
}

}  // namespace

int runExploreCommand(const Arguments &args, std::ostream &out, std::ostream &err) {
    int exitCode = kExitOk;
    auto request = openRequest("explore", args, {"--save", "--max-nodes"}, err, exitCode);
    if (!request || !gridWithinBound(*request, err, exitCode)) return exitCode;
    ProblemSession &session = *request->session;
    StreamListView list(out);
    if (!prepareRun(session, list)) return finish(*request, list, -1, err);
    if (const auto error = session.engine().executeStatement("public x,y,z,w"))
        return finish(*request, list, error->number, err);
    const RunSummary summary = runExplore(session.problem(), session.evaluator(), list);
    return finish(*request, list, summary.end == RunEnd::FatalError ? summary.fatalErrorNumber : 0, err);
}

int runRandomCommand(const Arguments &args, std::ostream &out, std::ostream &err) {
    int exitCode = kExitOk;
    auto request = openRequest("random", args, {"--save", "--seeds", "--rng-seed"}, err, exitCode);
    if (!request) return exitCode;
    const auto seedsText = request->arguments.option("--seeds");
    const auto seeds =
        seedsText ? parseIntegerOption(*seedsText, 1, std::numeric_limits<std::int32_t>::max()) : std::nullopt;
    if (!seeds) {
        err << "zerolith-cli: random needs --seeds K with K a whole number of at least 1\n";
        return kExitBadInput;
    }
    std::optional<RandomSource> random;
    if (const auto seedText = request->arguments.option("--rng-seed")) {
        const auto seed = parseIntegerOption(*seedText, 0, std::numeric_limits<long long>::max());
        if (!seed) {
            err << "zerolith-cli: --rng-seed takes a whole number of at least 0\n";
            return kExitBadInput;
        }
        random = RandomSource::withFixedSeed(static_cast<std::uint64_t>(*seed));
    } else {
        random = RandomSource::fromClock();
    }
    ProblemSession &session = *request->session;
    StreamListView list(out);
    if (!prepareRun(session, list)) return finish(*request, list, -1, err);
    const RunSummary summary =
        runRandom(session.problem(), session.evaluator(), list, *random, static_cast<std::int32_t>(*seeds));
    return finish(*request, list, summary.end == RunEnd::FatalError ? summary.fatalErrorNumber : 0, err);
}

int runListCommand(const Arguments &args, std::ostream &out, std::ostream &err) {
    int exitCode = kExitOk;
    auto request = openRequest("list", args, {"--save"}, err, exitCode);
    if (!request) return exitCode;
    ProblemSession &session = *request->session;
    StreamListView list(out);
    const std::int32_t failure = listSolutions(session.problem(), session.evaluator(), list);
    return finish(*request, list, session.constantsRegistered() ? failure : -1, err);
}

}  // namespace zl::cli

// explore, random, certify and list: the window's run commands and Open's
// solution list, printed line by line as the window's list shows them.

#include <unistd.h>

#include <charconv>
#include <cmath>
#include <iostream>
#include <limits>
#include <ostream>

#include "cli/command_arguments.h"
#include "cli/problem_session.h"
#include "cli/run_interruption.h"
#include "cli/solve_options.h"
#include "cli/stream_list_view.h"
#include "core/numbers/number_text.h"
#include "core/solver/explore_size.h"
#include "core/solver/random_source.h"

namespace zl::cli {
namespace {

/// The arguments of one solving subcommand and its one problem file, opened.
struct SolveRequest {
    CommandArguments arguments;
    std::unique_ptr<ProblemSession> session;
};

std::optional<SolveRequest> openRequest(const std::string &command, const Arguments &args,
                                        const std::set<std::string> &options, const std::set<std::string> &flags,
                                        std::ostream &err, int &exitCode) {
    std::string error;
    auto arguments = CommandArguments::parse(args, options, error, flags);
    if (arguments && arguments->positionals().size() != 1) error = command + " takes one problem file";
    if (!arguments || !error.empty()) {
        err << "zerolith-cli: " << error << " (see zerolith-cli " << command << " --help)\n";
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

/// The options of a run (threads, progress, timeout) as read from the arguments.
struct RunSettings {
    int threads = 0;
    ProgressStyle progress = ProgressStyle::None;
    std::optional<std::chrono::duration<double>> timeout;
};

bool stderrIsTerminal(const std::ostream &err) { return &err == &std::cerr && ::isatty(STDERR_FILENO) == 1; }

std::optional<RunSettings> readRunSettings(const CommandArguments &arguments, std::ostream &err) {
    RunSettings settings;
    if (const auto text = arguments.option("--threads")) {
        const auto threads = parseIntegerOption(*text, 1, kMaxRunThreads);
        if (!threads) {
            err << "zerolith-cli: --threads takes a whole number from 1 to " << kMaxRunThreads << '\n';
            return std::nullopt;
        }
        settings.threads = static_cast<int>(*threads);
    }
    if (const auto text = arguments.option("--timeout")) {
        const auto seconds = parsePositiveNumberOption(*text, kMaxTimeoutSeconds);
        if (!seconds) {
            err << "zerolith-cli: --timeout takes a number of seconds above 0, at most "
                << generalNumberText(kMaxTimeoutSeconds) << '\n';
            return std::nullopt;
        }
        settings.timeout = std::chrono::duration<double>(*seconds);
    }
    if (arguments.flag("--quiet") && arguments.flag("--progress")) {
        err << "zerolith-cli: --quiet and --progress exclude each other\n";
        return std::nullopt;
    }
    if (arguments.flag("--progress"))
        settings.progress = ProgressStyle::Lines;
    else if (!arguments.flag("--quiet") && stderrIsTerminal(err))
        settings.progress = ProgressStyle::InPlace;
    return settings;
}

/// A run command as the window's button runs it, with the list printed as
/// it grows; then the count line, the optional save, and the exit status.
int runAndFinish(SolveRequest &request, RunRequest run, const RunSettings &settings, std::ostream &out,
                 std::ostream &err) {
    ProblemSession &problem = *request.session;
    run.insideBoxOnly = request.arguments.flag("--inside-box");
    run.proveSolutions = request.arguments.flag("--certify");
    RunControl control;
    ProgressDisplay display(err, settings.progress);
    StreamListView list(out, &display);
    run.constantItems = problem.constantItems();
    run.fields = problem.session().recordFieldTexts();
    run.options.threads = settings.threads;
    run.options.control = &control;
    run.options.observer = &display;
    if (settings.progress == ProgressStyle::Lines) run.options.progressInterval = std::chrono::seconds(1);

    RunCommandResult result;
    bool interrupted = false;
    bool timedOut = false;
    {
        const InterruptStopsRun interrupt(control);
        const Deadline deadline(control, settings.timeout);
        result = problem.session().runCommand(run, list);
        interrupted = interrupt.interrupted();
        timedOut = deadline.expired();
    }
    display.clear();
    if (result.constantFailure) {
        problem.reportConstantFailure(*result.constantFailure);
        return kExitScriptError;
    }
    if (result.refused) return kExitBadInput;
    list.printCount();
    if (auto path = request.arguments.option("--save"); path && !problem.save(*path, err)) return kExitBadInput;
    switch (result.summary.end) {
    case RunEnd::Stopped:
        return timedOut && !interrupted ? kExitTimedOut : kExitInterrupted;
    case RunEnd::FatalError:
        return kExitScriptError;
    default:
        return kExitOk;
    }
}

/// --min-width: a positive finite number, "1e-6" or "0.001".
std::optional<double> parseWidth(const std::string &text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) || !(value > 0))
        return std::nullopt;
    return value;
}

/// --max-nodes N: a grid of more nodes is refused before the run.
std::optional<std::optional<double>> readNodeBound(const CommandArguments &arguments, std::ostream &err) {
    const auto text = arguments.option("--max-nodes");
    if (!text) return std::optional<double>();
    const auto bound = parseIntegerOption(*text, 1, std::numeric_limits<long long>::max());
    if (!bound) {
        err << "zerolith-cli: --max-nodes takes a whole number of at least 1\n";
        return std::nullopt;
    }
    return std::optional<double>(static_cast<double>(*bound));
}

}  // namespace

int runExploreCommand(const Arguments &args, std::ostream &out, std::ostream &err) {
    int exitCode = kExitOk;
    auto request = openRequest("explore", args, {"--save", "--max-nodes", "--threads", "--timeout"},
                               {"--quiet", "--progress", "--inside-box", "--certify"}, err, exitCode);
    if (!request) return exitCode;
    const auto settings = readRunSettings(request->arguments, err);
    const auto bound = readNodeBound(request->arguments, err);
    if (!settings || !bound) return kExitBadInput;

    RunRequest run;
    run.kind = RunKind::Explore;
    run.approve = [&err, bound = *bound](const ProblemSpec &record) {
        const double nodes = exploreNodeCount(record);
        if (!bound || nodes <= *bound) return true;
        err << "zerolith-cli: the grid has " << generalNumberText(nodes) << " nodes, more than the "
            << generalNumberText(*bound) << " Explore takes on; use fewer subintervals or raise the bound with "
            << "--max-nodes N\n";
        return false;
    };
    return runAndFinish(*request, std::move(run), *settings, out, err);
}

int runRandomCommand(const Arguments &args, std::ostream &out, std::ostream &err) {
    int exitCode = kExitOk;
    auto request = openRequest("random", args, {"--save", "--seeds", "--rng-seed", "--threads", "--timeout"},
                               {"--quiet", "--progress", "--inside-box", "--certify"}, err, exitCode);
    if (!request) return exitCode;
    const auto seedsText = request->arguments.option("--seeds");
    const auto seeds =
        seedsText ? parseIntegerOption(*seedsText, 1, std::numeric_limits<std::int32_t>::max()) : std::nullopt;
    if (!seeds) {
        err << "zerolith-cli: random needs --seeds K with K a whole number from 1 to "
            << std::numeric_limits<std::int32_t>::max() << '\n';
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
    const auto settings = readRunSettings(request->arguments, err);
    if (!settings) return kExitBadInput;

    RunRequest run;
    run.kind = RunKind::Random;
    run.seeds = static_cast<std::int32_t>(*seeds);
    run.random = &*random;
    return runAndFinish(*request, std::move(run), *settings, out, err);
}

int runCertifyCommand(const Arguments &args, std::ostream &out, std::ostream &err) {
    int exitCode = kExitOk;
    auto request = openRequest("certify", args, {"--save", "--min-width", "--threads", "--timeout"},
                               {"--quiet", "--progress"}, err, exitCode);
    if (!request) return exitCode;
    const auto settings = readRunSettings(request->arguments, err);
    if (!settings) return kExitBadInput;
    RunRequest run;
    run.kind = RunKind::Certify;
    if (const auto width = request->arguments.option("--min-width")) {
        run.minWidth = parseWidth(*width);
        if (!run.minWidth) {
            err << "zerolith-cli: --min-width takes a positive number\n";
            return kExitBadInput;
        }
    }
    return runAndFinish(*request, std::move(run), *settings, out, err);
}

int runListCommand(const Arguments &args, std::ostream &out, std::ostream &err) {
    int exitCode = kExitOk;
    auto request = openRequest("list", args, {"--save"}, {"--certify"}, err, exitCode);
    if (!request) return exitCode;
    ProblemSession &problem = *request->session;
    if (!problem.registerConstants()) return kExitScriptError;
    StreamListView list(out);
    const std::int32_t failure = problem.session().listSolutions(list, request->arguments.flag("--certify"));
    list.printCount();
    if (auto path = request->arguments.option("--save"); path && !problem.save(*path, err)) return kExitBadInput;
    return failure != 0 && problem.scriptErrorReported() ? kExitScriptError : kExitOk;
}

}  // namespace zl::cli

#include "cli/cli_commands.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <limits>
#include <new>
#include <ostream>
#include <string_view>

#include "cli/exit_codes.h"
#include "cli/solve_options.h"
#include "core/eval/script_error.h"
#include "core/eval/script_error_catalogue.h"
#include "core/numbers/number_text.h"
#include "core/solver/run_control.h"
#include "program_version.h"

namespace zl::cli {
namespace {

/// The options explore and random share, with the bounds they accept.
std::string runOptionsHelp() {
    return "      --threads N      worker threads, 1 to " + std::to_string(kMaxRunThreads) +
           "; default: one per hardware\n"
           "                       thread. The list is the same for every N.\n"
           "      --timeout SECONDS  stop the run after SECONDS (above 0, at most " +
           generalNumberText(kMaxTimeoutSeconds) +
           "),\n"
           "                       print what was found, exit " +
           std::to_string(kExitTimedOut) +
           ".\n"
           "      --quiet          no progress line on stderr.\n"
           "      --progress       a plain progress line on stderr every second, even when\n"
           "                       stderr is no terminal (for logs).\n"
           "      On a terminal, stderr shows one progress line, rewritten up to ten times a\n"
           "      second: done of total, solutions, time so far and time left. The first\n"
           "      Ctrl-C stops the run: the list found so far is printed, then a line\n"
           "      \"RUN STOPPED: DONE of TOTAL nodes.\" (or seeds.), then the count; exit " +
           std::to_string(kExitInterrupted) +
           ".\n"
           "      A second Ctrl-C ends the program at once.\n";
}

struct Subcommand {
    std::string_view name;
    int (*run)(const Arguments &, std::ostream &, std::ostream &);
    std::string (*usage)();  ///< the help lines of this subcommand
};

std::string evalUsage() {
    return "  eval [--exec STATEMENT]... EXPRESSION\n"
           "      Runs the start-up statements (halfpi, pi, e), then each STATEMENT in\n"
           "      order, then prints the value of EXPRESSION. Exit 0 with the value,\n"
           "      1 with \"error N: DESCRIPTION\" on a script error.\n";
}

/// The options explore and random add to the list.
std::string solutionOptionsHelp() {
    return "      --inside-box     store only the solutions inside the search box (each\n"
           "                       variable within its limits widened by the error bound);\n"
           "                       a last line counts the converged points left out.\n"
           "      --certify        after each solution's lines, a line saying whether it\n"
           "                       is proved the only root in a box around it.\n";
}

std::string exploreUsage() {
    return "  explore FILE [--save OUT] [--max-nodes N] [--threads N] [--timeout SECONDS]\n"
           "          [--quiet | --progress] [--inside-box] [--certify]\n"
           "      Opens the problem FILE and runs Explore: the grid over the search box,\n"
           "      Newton from every node where a residual changes sign. Prints the\n"
           "      solution list line by line, then the count (\"3 solutions\").\n"
           "      --save OUT writes the problem with the solutions found to OUT.\n"
           "      --max-nodes N refuses a grid of more than N nodes (1 to " +
           std::to_string(std::numeric_limits<long long>::max()) + ") before it runs, exit " +
           std::to_string(kExitBadInput) + ".\n" + solutionOptionsHelp() + runOptionsHelp();
}

std::string randomUsage() {
    return "  random FILE --seeds K [--rng-seed S] [--save OUT] [--threads N]\n"
           "          [--timeout SECONDS] [--quiet | --progress] [--inside-box] [--certify]\n"
           "      Runs Random with K random starting points (1 to " +
           std::to_string(std::numeric_limits<std::int32_t>::max()) +
           ") and prints the list\n"
           "      as explore does, a TRIAL line before each seed. --rng-seed S makes the\n"
           "      points reproducible, whatever the thread count; without it they are\n"
           "      drawn from the clock.\n" +
           solutionOptionsHelp() + runOptionsHelp();
}

std::string certifyUsage() {
    return "  certify FILE [--min-width W] [--save OUT] [--threads N] [--timeout SECONDS]\n"
           "          [--quiet | --progress]\n"
           "      Searches the whole box for the roots and proves each one unique in a\n"
           "      box around it. Prints the roots as the list shows solutions, then\n"
           "      whether the search is complete (every root in the box found) or how\n"
           "      many boxes stayed undecided, then the count. Boxes narrower than W in\n"
           "      every variable (default: the problem's error bound) are not split.\n"
           "      The run options are explore's; the progress shows the share of the box\n"
           "      decided, and a stopped search ends with \"RUN STOPPED: N boxes searched.\"\n" +
           runOptionsHelp();
}

std::string listUsage() {
    return "  list FILE [--save OUT] [--certify]\n"
           "      Prints the solution list of the solutions stored in FILE, with the\n"
           "      residuals evaluated there, then the count. --save OUT writes the\n"
           "      problem back (a file this program wrote comes back byte for byte).\n"
           "      --certify adds the proof line after each solution, as explore does.\n";
}

std::string reportUsage() {
    return "  report FILE [--width N]\n"
           "      Prints the report of FILE as text, N characters a line (1 to " +
           std::to_string(kMaxReportWidth) + ", default 80).\n";
}

// One entry per subcommand, in the order --help lists them.
constexpr std::array kSubcommands{
    Subcommand{"eval", runEvalCommand, evalUsage},       Subcommand{"explore", runExploreCommand, exploreUsage},
    Subcommand{"random", runRandomCommand, randomUsage}, Subcommand{"certify", runCertifyCommand, certifyUsage},
    Subcommand{"list", runListCommand, listUsage},       Subcommand{"report", runReportCommand, reportUsage},
};

std::string exitStatusHelp() {
    return "Exit status: " + std::to_string(kExitOk) + " success; " + std::to_string(kExitScriptError) +
           " a script error or a failing constant ended\n"
           "the work; " +
           std::to_string(kExitBadInput) + " bad arguments, a bad problem file or a failed save; " +
           std::to_string(kExitTimedOut) +
           " --timeout\n"
           "stopped the run; " +
           std::to_string(kExitInterrupted) + " Ctrl-C stopped the run.\n";
}

void printHelp(std::ostream &out) {
    out << "Usage: zerolith-cli COMMAND [ARGUMENTS]\n"
           "Finds the real solutions of square systems of nonlinear equations.\n"
           "\n"
           "Commands:\n";
    for (const Subcommand &subcommand : kSubcommands) out << subcommand.usage();
    out << "  --version\n"
           "      Shows the program's version.\n"
           "  --help\n"
           "      Shows this text; COMMAND --help shows that command's part of it.\n"
           "\n"
        << exitStatusHelp();
}

bool isHelp(std::string_view word) { return word == "--help" || word == "-h"; }

/// COMMAND --help, anywhere before a "--" that ends the options.
bool asksForHelp(const Arguments &args) {
    const auto end = std::find(args.begin(), args.end(), "--");
    return std::any_of(args.begin(), end, isHelp);
}

}  // namespace

namespace {

int runSubcommand(const Arguments &args, std::ostream &out, std::ostream &err) {
    if (args.empty()) {
        err << "zerolith-cli: no command given (try --help)\n";
        return kExitBadInput;
    }
    const std::string &command = args.front();
    if (isHelp(command) || command == "help") {
        printHelp(out);
        return kExitOk;
    }
    if (command == "--version") {
        out << "zerolith-cli " << kProgramVersion << "\n";
        return kExitOk;
    }
    const Arguments rest(args.begin() + 1, args.end());
    for (const Subcommand &subcommand : kSubcommands) {
        if (subcommand.name != command) continue;
        if (asksForHelp(rest)) {
            out << "Usage:\n" << subcommand.usage() << '\n' << exitStatusHelp();
            return kExitOk;
        }
        return subcommand.run(rest, out, err);
    }
    err << "zerolith-cli: unknown command '" << command << "' (try --help)\n";
    return kExitBadInput;
}

}  // namespace

// Every command ends here: memory running out is error 7 like any script
// error (a file to save is not touched), and output that could not all be
// written (a full disk, a closed pipe) is a failure, not a success.
int runCommandLine(const Arguments &args, std::ostream &out, std::ostream &err) {
    int exitCode = 0;
    try {
        exitCode = runSubcommand(args, out, err);
    } catch (const std::bad_alloc &) {
        err << "zerolith-cli: error " << errorNumber(ScriptErrorCode::OutOfMemory) << ": "
            << errorDescription(errorNumber(ScriptErrorCode::OutOfMemory)) << '\n';
        exitCode = kExitScriptError;
    }
    errno = 0;
    if (!out.flush()) {
        err << "zerolith-cli: cannot write the output: " << (errno != 0 ? std::strerror(errno) : "write error") << '\n';
        return kExitBadInput;
    }
    return exitCode;
}

}  // namespace zl::cli

#include "cli/cli_commands.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <new>
#include <ostream>
#include <string_view>

#include "core/eval/script_error.h"
#include "core/eval/script_error_catalogue.h"
#include "program_version.h"

namespace zl::cli {
namespace {

struct Subcommand {
    std::string_view name;
    int (*run)(const Arguments &, std::ostream &, std::ostream &);
    std::string_view usage;  ///< the help lines of this subcommand
};

// One entry per subcommand, in the order --help lists them.
constexpr std::array kSubcommands{
    Subcommand{"eval", runEvalCommand,
               "  eval [--exec STATEMENT]... EXPRESSION\n"
               "      Runs the start-up statements (halfpi, pi, e), then each STATEMENT in\n"
               "      order, then prints the value of EXPRESSION. Exit 0 with the value,\n"
               "      1 with \"error N: DESCRIPTION\" on a script error.\n"},
    Subcommand{"explore", runExploreCommand,
               "  explore FILE [--save OUT] [--max-nodes N]\n"
               "      Opens the problem FILE and runs Explore: the grid over the search box,\n"
               "      Newton from every node where a residual changes sign. Prints the\n"
               "      solution list line by line, then the count (\"3 solutions\").\n"
               "      --save OUT writes the problem with the solutions found to OUT.\n"
               "      A grid of more than N nodes (default 100000000) is refused, exit 2.\n"},
    Subcommand{"random", runRandomCommand,
               "  random FILE --seeds K [--rng-seed S] [--save OUT]\n"
               "      Runs Random with K random starting points and prints the list as\n"
               "      explore does, a TRIAL line before each seed. --rng-seed S makes the\n"
               "      points reproducible; without it they are drawn from the clock.\n"},
    Subcommand{"list", runListCommand,
               "  list FILE [--save OUT]\n"
               "      Prints the solution list of the solutions stored in FILE, with the\n"
               "      residuals evaluated there, then the count. --save OUT writes the\n"
               "      problem back (a file this program wrote comes back byte for byte).\n"},
    Subcommand{"report", runReportCommand,
               "  report FILE [--width N]\n"
               "      Prints the report of FILE as text, N characters a line (default 80).\n"},
};

void printHelp(std::ostream &out) {
    out << "Usage: zerolith-cli COMMAND [ARGUMENTS]\n"
           "Finds the real solutions of square systems of nonlinear equations.\n"
           "\n"
           "Commands:\n";
    for (const Subcommand &subcommand : kSubcommands) out << subcommand.usage;
    out << "  --version\n"
           "      Shows the program's version.\n"
           "  --help\n"
           "      Shows this text.\n"
           "\n"
           "Exit status: 0 success, 1 a script error ended the work, 2 bad arguments or\n"
           "a bad problem file.\n";
}

}  // namespace

namespace {

int runSubcommand(const Arguments &args, std::ostream &out, std::ostream &err) {
    if (args.empty()) {
        err << "zerolith-cli: no command given (try --help)\n";
        return 2;
    }
    const std::string &command = args.front();
    if (command == "--help" || command == "-h" || command == "help") {
        printHelp(out);
        return 0;
    }
    if (command == "--version") {
        out << "zerolith-cli " << kProgramVersion << "\n";
        return 0;
    }
    const Arguments rest(args.begin() + 1, args.end());
    for (const Subcommand &subcommand : kSubcommands)
        if (subcommand.name == command) return subcommand.run(rest, out, err);
    err << "zerolith-cli: unknown command '" << command << "' (try --help)\n";
    return 2;
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
        exitCode = 1;
    }
    errno = 0;
    if (!out.flush()) {
        err << "zerolith-cli: cannot write the output: " << (errno != 0 ? std::strerror(errno) : "write error") << '\n';
        return 2;
    }
    return exitCode;
}

}  // namespace zl::cli

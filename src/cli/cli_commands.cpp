#include "cli/cli_commands.h"

#include <array>
#include <ostream>
#include <string_view>

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
    // explore, random, list and report join here.
};

void printHelp(std::ostream &out) {
    out << "Usage: zerolith-cli COMMAND [ARGUMENTS]\n"
           "Finds the real solutions of square systems of nonlinear equations.\n"
           "\n"
           "Commands:\n";
    for (const Subcommand &subcommand : kSubcommands) out << subcommand.usage;
    out << "  --help\n"
           "      Shows this text.\n"
           "\n"
           "Exit status: 0 success, 1 a script error ended the work, 2 bad arguments.\n";
}

} // namespace

int runCommandLine(const Arguments &args, std::ostream &out, std::ostream &err) {
    if (args.empty()) {
        err << "zerolith-cli: no command given (try --help)\n";
        return 2;
    }
    const std::string &command = args.front();
    if (command == "--help" || command == "-h" || command == "help") {
        printHelp(out);
        return 0;
    }
    const Arguments rest(args.begin() + 1, args.end());
    for (const Subcommand &subcommand : kSubcommands)
        if (subcommand.name == command) return subcommand.run(rest, out, err);
    err << "zerolith-cli: unknown command '" << command << "' (try --help)\n";
    return 2;
}

} // namespace zl::cli

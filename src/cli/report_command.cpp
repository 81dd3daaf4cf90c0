// report: the printed report as plain text.

#include <ostream>

#include "cli/command_arguments.h"
#include "cli/problem_session.h"
#include "cli/solve_options.h"

namespace zl::cli {

int runReportCommand(const Arguments &args, std::ostream &out, std::ostream &err) {
    std::string error;
    auto arguments = CommandArguments::parse(args, {"--width"}, error);
    if (arguments && arguments->positionals().size() != 1) error = "report takes one problem file";
    std::optional<long long> width = 80;
    if (arguments && error.empty())
        if (auto text = arguments->option("--width")) width = parseIntegerOption(*text, 1, kMaxReportWidth);
    if (!arguments || !error.empty() || !width) {
        if (error.empty()) error = "--width takes a whole number from 1 to " + std::to_string(kMaxReportWidth);
        err << "zerolith-cli: " << error << " (see zerolith-cli report --help)\n";
        return kExitBadInput;
    }
    auto problem = ProblemSession::open(arguments->positionals().front(), err);
    if (!problem) return kExitBadInput;
    if (!problem->registerConstants()) return kExitScriptError;

    const std::vector<std::string> equations = problem->problem().record.equations;
    for (const std::string &line :
         problem->session().report(problem->constantItems(), equations, static_cast<int>(*width)))
        out << line << '\n';
    return problem->scriptErrorReported() ? kExitScriptError : kExitOk;
}

}  // namespace zl::cli

// report: the printed report as plain text.

#include <ostream>

#include "cli/command_arguments.h"
#include "cli/problem_session.h"
#include "core/files/report_layout.h"

namespace zl::cli {

int runReportCommand(const Arguments &args, std::ostream &out, std::ostream &err) {
    std::string error;
    auto arguments = CommandArguments::parse(args, {"--width"}, error);
    if (arguments && arguments->positionals().size() != 1) error = "report takes one problem file";
    std::optional<long long> width = 80;
    if (arguments && error.empty())
        if (auto text = arguments->option("--width")) width = parseIntegerOption(*text, 1, 100000);
    if (!arguments || !error.empty() || !width) {
        err << "zerolith-cli: " << (error.empty() ? "--width takes a whole number from 1 to 100000" : error)
            << " (see zerolith-cli --help)\n";
        return kExitBadInput;
    }
    auto session = ProblemSession::open(arguments->positionals().front(), err);
    if (!session) return kExitBadInput;

    const std::vector<std::string> equations = session->problem().record.equations;
    const ReportData data =
        collectReportData(session->problem(), session->constantItems(), equations, session->evaluator());
    for (const std::string &line : reportLines(data, static_cast<int>(*width))) out << line << '\n';
    return session->scriptErrorReported() ? kExitScriptError : kExitOk;
}

}  // namespace zl::cli

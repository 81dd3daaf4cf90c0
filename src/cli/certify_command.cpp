// certify: the complete search over the search box, printed as the list
// shows it, with the summary and the count after the solutions.

#include <charconv>
#include <cmath>
#include <ostream>

#include "cli/command_arguments.h"
#include "cli/problem_session.h"
#include "cli/stream_list_view.h"
#include "core/certify/certify_run.h"
#include "core/solver/compute.h"

namespace zl::cli {
namespace {

/// A positive finite width, as "1e-6" or "0.001".
std::optional<double> parseWidth(const std::string &text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) || !(value > 0))
        return std::nullopt;
    return value;
}

}  // namespace

int runCertifyCommand(const Arguments &args, std::ostream &out, std::ostream &err) {
    std::string error;
    auto arguments = CommandArguments::parse(args, {"--save", "--min-width", "--threads"}, error);
    if (arguments && arguments->positionals().size() != 1) error = "certify takes one problem file";
    CertifyOptions options;
    if (arguments && error.empty()) {
        if (const auto width = arguments->option("--min-width")) {
            options.minWidth = parseWidth(*width);
            if (!options.minWidth) error = "--min-width takes a positive number";
        }
        if (const auto threads = arguments->option("--threads")) {
            const auto count = parseIntegerOption(*threads, 1, 256);
            if (!count) error = "--threads takes a whole number from 1 to 256";
            options.control.threads = count ? static_cast<int>(*count) : 1;
        }
    }
    if (!arguments || !error.empty()) {
        err << "zerolith-cli: " << error << " (see zerolith-cli --help)\n";
        return kExitBadInput;
    }
    auto session = ProblemSession::open(arguments->positionals().front(), err);
    if (!session) return kExitBadInput;
    StreamListView list(out);
    clearSolutions(session->problem(), list);
    if (session->evaluator().prepareEquations(session->constantItems(), session->fieldTexts())) {
        list.setCountText(solutionCountText(0));
        list.printCount();
        return kExitScriptError;
    }
    const CertifySummary summary =
        runCertify(session->problem(), session->evaluator(), session->engine(), list, options);
    list.printCount();
    if (auto out = arguments->option("--save"); out && !session->save(*out, err)) return kExitBadInput;
    return summary.end == CertifyEnd::FatalError && session->scriptErrorReported() ? kExitScriptError : kExitOk;
}

}  // namespace zl::cli

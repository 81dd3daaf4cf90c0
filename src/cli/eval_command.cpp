// zerolith-cli eval: runs statements in a fresh engine and prints the value of an expression.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/cli_commands.h"
#include "cli/exit_codes.h"
#include "core/numbers/number_text.h"
#include "core/session/script_context.h"

namespace zl::cli {
namespace {

struct EvalRequest {
    std::vector<std::string> statements;
    std::string expression;
};

/// [--exec STATEMENT]... [--] EXPRESSION; anything else is a usage error.
std::optional<EvalRequest> parseEvalArguments(const Arguments &args, std::string &problem) {
    EvalRequest request;
    std::optional<std::string> expression;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (!optionsEnded && arg == "--exec") {
            if (i + 1 >= args.size()) {
                problem = "eval: --exec needs a statement";
                return std::nullopt;
            }
            request.statements.push_back(args[++i]);
        } else if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (expression) {
            problem = "eval: more than one expression given ('" + *expression + "', '" + arg + "')";
            return std::nullopt;
        } else {
            expression = arg;
        }
    }
    if (!expression) {
        problem = "eval: no expression given";
        return std::nullopt;
    }
    request.expression = *expression;
    return request;
}

int printError(std::ostream &err, std::int32_t number) {
    err << "error " << number << ": " << errorDescription(number) << '\n';
    return kExitScriptError;
}

}  // namespace

int runEvalCommand(const Arguments &args, std::ostream &out, std::ostream &err) {
    std::string problem;
    const std::optional<EvalRequest> request = parseEvalArguments(args, problem);
    if (!request) {
        err << "zerolith-cli: " << problem << '\n';
        return kExitBadInput;
    }
    ScriptContext context;
    ScriptEngine &engine = context.engine();
    MathLibrary &library = context.library();
    for (const std::string &statement : request->statements)
        if (const auto error = engine.executeStatement(statement)) return printError(err, error->number);

    library.ierr = 0;
    const NumberResult result = engine.evaluateNumber(request->expression);
    if (result.error) return printError(err, result.error->number);
    if (library.ierr != 0) return printError(err, library.ierr);
    out << generalNumberText(result.value) << '\n';
    return kExitOk;
}

}  // namespace zl::cli

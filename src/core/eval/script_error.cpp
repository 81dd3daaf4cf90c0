#include "core/eval/script_error.h"

#include "core/eval/script_error_catalogue.h"

namespace zl {

std::string_view errorDescription(std::int32_t number) {
    for (const ScriptErrorEntry &entry : kScriptErrorCatalogue)
        if (errorNumber(entry.code) == number) return entry.message;
    return kUnknownErrorDescription;
}

std::string scriptErrorMessage(const ScriptError &error) {
    std::string message = error.source;
    message += ' ';
    message += std::to_string(error.number);
    message += '\r';
    message += error.description;
    message += "\r\rAt line ";
    message += std::to_string(error.line);
    message += ", col ";
    message += std::to_string(error.column);
    message += ": [";
    message += error.text;
    message += ']';
    return message;
}

}  // namespace zl

#include "core/eval/script_error.h"

#include <array>

#include "core/eval/script_error_catalogue.h"

namespace zl {
namespace {

struct CatalogueEntry {
    ScriptErrorCode code;
    std::string_view description;
};

constexpr std::array kCatalogue{
    CatalogueEntry{ScriptErrorCode::InvalidProcedureCall, "Invalid procedure call or argument"},
    CatalogueEntry{ScriptErrorCode::Overflow, "Overflow"},
    CatalogueEntry{ScriptErrorCode::OutOfMemory, "Out of memory"},
    CatalogueEntry{ScriptErrorCode::SubscriptOutOfRange, "Subscript out of range"},
    CatalogueEntry{ScriptErrorCode::DivisionByZero, "Division by zero"},
    CatalogueEntry{ScriptErrorCode::TypeMismatch, "Type mismatch"},
    CatalogueEntry{ScriptErrorCode::OutOfStringSpace, "Out of string space"},
    CatalogueEntry{ScriptErrorCode::OutOfStackSpace, "Out of stack space"},
    CatalogueEntry{ScriptErrorCode::InvalidUseOfNull, "Invalid use of Null"},
    CatalogueEntry{ScriptErrorCode::ObjectRequired, "Object required"},
    CatalogueEntry{ScriptErrorCode::ObjectDoesNotSupport, "Object doesn't support this property or method"},
    CatalogueEntry{ScriptErrorCode::WrongNumberOfArguments, "Wrong number of arguments or invalid property assignment"},
    CatalogueEntry{ScriptErrorCode::VariableUndefined, "Variable is undefined"},
    CatalogueEntry{ScriptErrorCode::IllegalAssignment, "Illegal assignment"},
    CatalogueEntry{ScriptErrorCode::SyntaxError, "Syntax error"},
    CatalogueEntry{ScriptErrorCode::ExpectedCloseParenthesis, "Expected ')'"},
    CatalogueEntry{ScriptErrorCode::ExpectedIdentifier, "Expected identifier"},
    CatalogueEntry{ScriptErrorCode::ExpectedEquals, "Expected '='"},
    CatalogueEntry{ScriptErrorCode::ExpectedStatement, "Expected statement"},
    CatalogueEntry{ScriptErrorCode::ExpectedEndOfStatement, "Expected end of statement"},
    CatalogueEntry{ScriptErrorCode::InvalidNumber, "Invalid number"},
    CatalogueEntry{ScriptErrorCode::InvalidCharacter, "Invalid character"},
    CatalogueEntry{ScriptErrorCode::UnterminatedString, "Unterminated string constant"},
};

constexpr std::array<ScriptErrorCode, kCatalogue.size()> kCodes = [] {
    std::array<ScriptErrorCode, kCatalogue.size()> codes{};
    for (std::size_t i = 0; i < kCatalogue.size(); ++i) codes[i] = kCatalogue[i].code;
    return codes;
}();

}  // namespace

std::span<const ScriptErrorCode> allScriptErrorCodes() { return kCodes; }

std::string_view errorDescription(std::int32_t number) {
    for (const CatalogueEntry &entry : kCatalogue)
        if (errorNumber(entry.code) == number) return entry.description;
    return "Unknown runtime error";
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

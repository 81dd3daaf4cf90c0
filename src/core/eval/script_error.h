#pragma once
// Numbered errors of the expression engine.

#include <cstdint>
#include <string>
#include <string_view>

namespace zl {

/// A failure of a statement or an evaluation, as the error box shows it.
struct ScriptError {
    std::int32_t number = 0;
    std::string source;       ///< "Microsoft VBScript runtime error" style origin text
    std::string description;  ///< the catalogue's message for `number`
    std::int32_t line = 0;
    std::int32_t column = 0;  ///< offset of the offending token in the text
    std::string text;         ///< the statement or expression that failed
};

/// What errorDescription gives for a number outside the catalogue.
inline constexpr std::string_view kUnknownErrorDescription = "Unknown runtime error";

/// The catalogue's message for an error number ("Division by zero" for 11).
[[nodiscard]] std::string_view errorDescription(std::int32_t number);

/// The text of the "Error in Script Control" box: Source, " ", Number, CR,
/// Description, CR, CR, "At line ", Line, ", col ", Column, ": [", Text, "]".
/// Each CR is the single character 13.
std::string scriptErrorMessage(const ScriptError &error);

}  // namespace zl

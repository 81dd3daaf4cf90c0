#include "core/files/problem_file_writer.h"

#include <cmath>

#include "core/numbers/number_reading.h"
#include "core/numbers/number_text.h"
#include "core/problem/field_rules.h"
#include "core/problem/problem_record.h"
#include "core/problem/problem_state.h"
#include "core/problem/solution_store.h"

namespace zl {
namespace {

constexpr const char *kLineEnd = "\r\n";

bool holdsLineBreak(const std::string &text) { return text.find_first_of("\r\n") != std::string::npos; }

std::optional<FileError> unwritableText(const std::string &what, const std::string &reason) {
    return makeFileError(FileErrorCode::UnwritableText, 0, what + " " + reason + ", which a problem file cannot hold");
}

std::optional<FileError> checkQuotedText(const std::string &text, const std::string &what) {
    if (text.find('"') != std::string::npos) return unwritableText(what, "holds a double quote");
    if (holdsLineBreak(text)) return unwritableText(what, "holds a line break");
    return std::nullopt;
}

std::optional<FileError> checkConstant(const std::string &text, const std::string &what) {
    // A bare line is read up to its first comma, with leading blanks skipped
    // and a leading quote taken as the start of a quoted text.
    if (text.find(',') != std::string::npos) return unwritableText(what, "holds a comma");
    if (holdsLineBreak(text)) return unwritableText(what, "holds a line break");
    if (!text.empty() && (text.front() == ' ' || text.front() == '"'))
        return unwritableText(what, "starts with a blank or a double quote");
    return std::nullopt;
}

std::optional<FileError> checkNumber(double value, const std::string &what) {
    if (std::isfinite(value)) return std::nullopt;
    return makeFileError(FileErrorCode::UnwritableNumber, 0, what + " is not a finite number");
}

std::optional<FileError> checkInteger(double value, const std::string &what) {
    if (roundToInt32(value)) return std::nullopt;
    return makeFileError(FileErrorCode::UnwritableNumber, 0, what + " does not fit a 32-bit integer");
}

std::optional<FileError> checkSizes(const ProblemFileData &data) {
    const auto invalid = [](const std::string &detail) {
        return makeFileError(FileErrorCode::InvalidProblem, 0, detail);
    };
    const auto order = data.variables.size();
    if (order < 1 || order > static_cast<std::size_t>(kMaxOrder))
        return invalid("a problem file holds 1 to " + std::to_string(kMaxOrder) + " variables, not " +
                       std::to_string(order));
    if (data.solutions.size() > static_cast<std::size_t>(kMaxSolutions))
        return invalid("a problem file holds at most " + std::to_string(kMaxSolutions) + " solutions");
    if (data.constants.size() > static_cast<std::size_t>(kConstantSlots))
        return invalid("the list holds " + std::to_string(data.constants.size()) +
                       " constants; a problem file holds at most " + std::to_string(kConstantSlots));
    for (const auto &solution : data.solutions)
        if (solution.size() != order) return invalid("a stored solution does not have one value per variable");
    return std::nullopt;
}

std::optional<FileError> checkVariable(const VariableRecord &variable, std::size_t index) {
    const std::string of = " of variable " + std::to_string(index + 1);
    if (auto error = checkQuotedText(variable.name, "The name" + of)) return error;
    if (!isUsableVariableName(variable.name)) return unwritableText("The name" + of, "is empty or holds a comma");
    if (auto error = checkQuotedText(variable.equation, "Equation " + std::to_string(index + 1))) return error;
    if (auto error = checkNumber(variable.lowerLimit, "The lower limit" + of)) return error;
    if (auto error = checkNumber(variable.upperLimit, "The upper limit" + of)) return error;
    return checkInteger(variable.subintervals, "The number of subintervals" + of);
}

std::string quotedText(const std::string &text) { return '"' + text + '"'; }

std::string variableRecordLine(const VariableRecord &variable) {
    return quotedText(variable.name) + ',' + generalNumberText(variable.lowerLimit) + ',' +
           generalNumberText(variable.upperLimit) + ',' + generalNumberText(variable.subintervals) + ',' +
           quotedText(variable.equation);
}

/// The reader's bounds on one line and on the whole file, checked on the
/// lines as they will be written: a limit ".5" written as "0.5" may take a
/// line of exactly the bound beyond it.
class FileSizeCheck {
public:
    std::optional<FileError> line(std::size_t length, const std::string &what) {
        bytes_ += length + 2;  // CR LF
        if (length > kMaxFileLineLength)
            return makeFileError(FileErrorCode::LineTooLong, 0,
                                 what + " takes a line of more than " + std::to_string(kMaxFileLineLength) +
                                     " characters, which a problem file cannot hold");
        return std::nullopt;
    }

    std::optional<FileError> total() const {
        if (bytes_ <= kMaxFileBytes) return std::nullopt;
        return makeFileError(FileErrorCode::FileTooLarge, 0,
                             "The problem takes more than " + std::to_string(kMaxFileBytes >> 20) +
                                 " MiB, which a problem file cannot hold");
    }

private:
    std::size_t bytes_ = 0;
};

std::string headerLine(const ProblemFileData &data) {
    return generalNumberText(static_cast<double>(data.variables.size())) + ',' +
           generalNumberText(static_cast<double>(data.solutions.size())) + ',' + generalNumberText(data.maxError) +
           ',' + generalNumberText(data.maxCycles);
}

std::optional<FileError> checkFileSize(const ProblemFileData &data) {
    FileSizeCheck size;
    size.line(std::string_view(kProblemFileMagic).size(), "The magic");
    size.line(headerLine(data).size(), "The header");
    for (std::size_t i = 0; i < data.variables.size(); ++i)
        if (auto error = size.line(variableRecordLine(data.variables[i]).size(),
                                   "The record of variable " + std::to_string(i + 1)))
            return error;
    size.line(paddedNumberText(static_cast<double>(data.constants.size())).size(), "The constant count");
    for (std::size_t j = 0; j < data.constants.size(); ++j)
        if (auto error = size.line(data.constants[j].size(), "Constant " + std::to_string(j + 1))) return error;
    for (const auto &solution : data.solutions)
        for (double value : solution) size.line(paddedNumberText(value).size(), "A solution value");
    return size.total();
}

}  // namespace

std::optional<FileError> findUnwritableContent(const ProblemFileData &data) {
    if (auto error = checkSizes(data)) return error;
    if (auto error = checkNumber(data.maxError, "The error bound")) return error;
    if (auto error = checkInteger(data.maxCycles, "The maximum number of iterations")) return error;
    // The reader takes only what the window's fields take.
    if (data.maxError <= 0)
        return makeFileError(FileErrorCode::UnwritableNumber, 0, "The error bound must be greater than 0");
    if (*roundToInt32(data.maxCycles) < 1)
        return makeFileError(FileErrorCode::UnwritableNumber, 0, "The maximum number of iterations must be at least 1");
    for (std::size_t i = 0; i < data.variables.size(); ++i)
        if (auto error = checkVariable(data.variables[i], i)) return error;
    for (std::size_t j = 0; j < data.constants.size(); ++j)
        if (auto error = checkConstant(data.constants[j], "Constant " + std::to_string(j + 1))) return error;
    for (std::size_t k = 0; k < data.solutions.size(); ++k)
        for (double value : data.solutions[k])
            if (auto error = checkNumber(value, "A value of solution " + std::to_string(k + 1))) return error;
    return checkFileSize(data);
}

std::string problemFileText(const ProblemFileData &data) {
    std::string text;
    const auto line = [&text](const std::string &content) { text += content + kLineEnd; };

    line(kProblemFileMagic);
    line(headerLine(data));
    for (const auto &variable : data.variables) line(variableRecordLine(variable));
    line(paddedNumberText(static_cast<double>(data.constants.size())));
    for (const auto &constant : data.constants) line(constant);
    for (const auto &solution : data.solutions)
        for (double value : solution) line(paddedNumberText(value));
    return text;
}

}  // namespace zl

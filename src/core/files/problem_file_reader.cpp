#include "core/files/problem_file_reader.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "core/files/file_line_fields.h"
#include "core/numbers/number_reading.h"
#include "core/problem/field_rules.h"
#include "core/numbers/number_text.h"
#include "core/problem/problem_record.h"
#include "core/problem/problem_state.h"
#include "core/problem/solution_store.h"

namespace zl {
namespace {

/// Carries a file error out of the nested reading steps to readProblemFile.
struct ReadFailure {
    FileError error;
};

[[noreturn]] void fail(FileErrorCode code, std::int32_t line, const std::string &detail) {
    throw ReadFailure{makeFileError(code, line, detail)};
}

/// The lines of a stream, without their LF or CR LF, each and all together bounded.
class LineSource {
public:
    explicit LineSource(std::istream &in) : buffer_(*in.rdbuf()) {}

    std::optional<std::string> next() {
        std::string line;
        bool sawAny = false;
        for (int c = buffer_.sbumpc(); c != std::char_traits<char>::eof(); c = buffer_.sbumpc()) {
            sawAny = true;
            if (++bytesRead_ > kMaxFileBytes)
                fail(FileErrorCode::FileTooLarge, lineNumber_ + 1,
                     "the file is larger than " + std::to_string(kMaxFileBytes >> 20) + " MiB");
            if (c == '\n') break;
            // The bound is on the line's characters; its line end, LF or CR LF, comes on top.
            if (line.size() == kMaxFileLineLength && !(c == '\r' && lineEndsNext()))
                fail(FileErrorCode::LineTooLong, lineNumber_ + 1,
                     "the line is longer than " + std::to_string(kMaxFileLineLength) + " characters");
            line.push_back(static_cast<char>(c));
        }
        if (!sawAny) return std::nullopt;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        ++lineNumber_;
        return line;
    }

    std::int32_t lineNumber() const { return lineNumber_; }

private:
    bool lineEndsNext() {
        const int next = buffer_.sgetc();
        return next == '\n' || next == std::char_traits<char>::eof();
    }

    std::streambuf &buffer_;
    std::size_t bytesRead_ = 0;
    std::int32_t lineNumber_ = 0;
};

std::string quoted(const std::string &text) {
    constexpr std::size_t shown = 40;
    return "\"" + (text.size() > shown ? text.substr(0, shown) + "..." : text) + "\"";
}

class ProblemFileParser {
public:
    explicit ProblemFileParser(std::istream &in) : lines_(in) {}

    ProblemFileData parse() {
        checkMagic();
        readHeader();
        for (std::int32_t i = 0; i < order_; ++i) readVariable(i);
        readConstants();
        readSolutions();
        return data_;
    }

private:
    LineFields nextLine(const std::string &what) {
        auto line = lines_.next();
        if (!line) fail(FileErrorCode::EarlyEnd, lines_.lineNumber() + 1, "the file ends before " + what);
        currentLine_ = std::move(*line);
        return LineFields(currentLine_);
    }

    void expectLineEnd(const LineFields &fields, const std::string &lastField) {
        if (fields.hasMoreFields())
            fail(FileErrorCode::ExtraField, lines_.lineNumber(), "unexpected text after " + lastField);
    }

    std::string readText(LineFields &fields, const std::string &what) {
        auto field = fields.nextText();
        if (field.status == FieldStatus::Missing)
            fail(FileErrorCode::MissingField, lines_.lineNumber(), what + " is missing");
        if (field.status == FieldStatus::UnclosedQuote)
            fail(FileErrorCode::UnclosedQuote, lines_.lineNumber(),
                 "the quoted text of " + what + " has no closing quote");
        return std::move(field.text);
    }

    double readNumber(LineFields &fields, const std::string &what) {
        const auto field = fields.nextNumber();
        if (field.status == FieldStatus::Missing)
            fail(FileErrorCode::MissingField, lines_.lineNumber(), what + " is missing");
        if (field.status != FieldStatus::Ok)
            fail(FileErrorCode::NotANumber, lines_.lineNumber(),
                 what + " must be a number, not " + quoted(field.fieldText));
        if (!std::isfinite(field.value))
            fail(FileErrorCode::OutOfRange, lines_.lineNumber(), what + " is too large: " + quoted(field.fieldText));
        return field.value;
    }

    /// A 32-bit integer field: the number rounded halves to even.
    std::int32_t readInteger(LineFields &fields, const std::string &what) {
        const auto rounded = roundToInt32(readNumber(fields, what));
        if (!rounded) fail(FileErrorCode::OutOfRange, lines_.lineNumber(), what + " does not fit a 32-bit integer");
        return *rounded;
    }

    std::int32_t readCount(LineFields &fields, const std::string &what, std::int32_t low, std::int32_t high) {
        const auto count = readInteger(fields, what);
        if (count < low || count > high)
            fail(FileErrorCode::OutOfRange, lines_.lineNumber(),
                 what + " must be from " + std::to_string(low) + " to " + std::to_string(high) + ", not " +
                     std::to_string(count));
        return count;
    }

    void checkMagic() {
        auto line = lines_.next();
        const auto magic = line ? LineFields(*line).nextText() : TextField{FieldStatus::Missing, {}};
        if (magic.status != FieldStatus::Ok || magic.text != kProblemFileMagic)
            fail(FileErrorCode::Incompatible, 0, fileErrorTitle(FileErrorCode::Incompatible));
    }

    void readHeader() {
        auto fields = nextLine("the header");
        order_ = readCount(fields, "the order", 1, kMaxOrder);
        solutionCount_ = readCount(fields, "the solution count", 0, kMaxSolutions);
        // The window's rules for its fields: a positive error bound (no step
        // could ever pass another) and at least one iteration. Limits above the
        // window's 32767 are kept: a file may hold them.
        data_.maxError = readNumber(fields, "the error bound");
        if (data_.maxError <= 0)
            fail(FileErrorCode::OutOfRange, lines_.lineNumber(),
                 "the error bound must be greater than 0, not " + generalNumberText(data_.maxError));
        data_.maxCycles = readInteger(fields, "the maximum number of iterations");
        if (data_.maxCycles < 1)
            fail(FileErrorCode::OutOfRange, lines_.lineNumber(),
                 "the maximum number of iterations must be at least 1, not " + generalNumberText(data_.maxCycles));
        expectLineEnd(fields, "the maximum number of iterations");
    }

    void readVariable(std::int32_t index) {
        const std::string of = " of variable " + std::to_string(index + 1);
        auto fields = nextLine("the record" + of);
        VariableRecord variable;
        variable.name = readText(fields, "the name" + of);
        if (!isUsableVariableName(variable.name))  // the names field could not have given it
            fail(FileErrorCode::InvalidProblem, lines_.lineNumber(), "the name" + of + " is empty or holds a comma");
        variable.lowerLimit = readNumber(fields, "the lower limit" + of);
        variable.upperLimit = readNumber(fields, "the upper limit" + of);
        variable.subintervals = readInteger(fields, "the number of subintervals" + of);
        variable.equation = readText(fields, "equation " + std::to_string(index + 1));
        expectLineEnd(fields, "equation " + std::to_string(index + 1));
        data_.variables.push_back(std::move(variable));
    }

    void readConstants() {
        auto countFields = nextLine("the constant count");
        const auto count = readCount(countFields, "the constant count", 0, kConstantSlots);
        expectLineEnd(countFields, "the constant count");
        for (std::int32_t j = 0; j < count; ++j) {
            const std::string what = "constant " + std::to_string(j + 1);
            auto fields = nextLine(what);
            data_.constants.push_back(readText(fields, what));
            expectLineEnd(fields, what + " (a constant cannot hold a comma)");
        }
    }

    void readSolutions() {
        for (std::int32_t k = 1; k <= solutionCount_; ++k) {
            std::vector<double> values;
            values.reserve(static_cast<std::size_t>(order_));
            for (std::int32_t j = 0; j < order_; ++j) {
                const std::string what =
                    "the value of variable " + std::to_string(j + 1) + " in solution " + std::to_string(k);
                auto fields = nextLine(what);
                values.push_back(readNumber(fields, what));
                expectLineEnd(fields, what);
            }
            data_.solutions.push_back(std::move(values));
        }
    }

    LineSource lines_;
    std::string currentLine_;
    ProblemFileData data_;
    std::int32_t order_ = 0;
    std::int32_t solutionCount_ = 0;
};

}  // namespace

ProblemFileReading readProblemFile(std::istream &in) {
    ProblemFileReading reading;
    try {
        reading.data = ProblemFileParser(in).parse();
    } catch (const ReadFailure &failure) {
        reading.error = failure.error;
    }
    return reading;
}

ProblemFileReading readProblemFileText(std::string_view text) {
    std::istringstream in{std::string(text)};
    return readProblemFile(in);
}

namespace {

ProblemFileReading cannotOpen(const std::string &path, const std::string &reason) {
    ProblemFileReading reading;
    reading.error = makeFileError(FileErrorCode::CannotOpen, 0, "Cannot open " + path + ": " + reason);
    return reading;
}

}  // namespace

ProblemFileReading readProblemFile(const std::string &path) {
    // Only regular files: a folder or a device (an endless one among them) is refused.
    std::error_code failure;
    const auto type = std::filesystem::status(path, failure).type();
    if (type == std::filesystem::file_type::not_found) return cannotOpen(path, "the file does not exist");
    if (failure) return cannotOpen(path, failure.message());
    if (type != std::filesystem::file_type::regular) return cannotOpen(path, "not a regular file");

    std::ifstream in(path, std::ios::binary);
    if (!in) return cannotOpen(path, std::strerror(errno));
    return readProblemFile(in);
}

}  // namespace zl

#include "core/files/report_layout.h"

#include <algorithm>
#include <string_view>

#include "core/numbers/number_text.h"

namespace zl {
namespace {

// Columns of the limits table and of the residuals beside each solution.
constexpr int kLowerLimitColumn = 20;
constexpr int kUpperLimitColumn = 40;
constexpr int kSubintervalsColumn = 60;
constexpr int kResidualColumn = 41;

/// Builds the report line by line, with tab stops at 1-based columns.
class ReportText {
public:
    ReportText &operator<<(std::string_view text) {
        current_.append(text);
        return *this;
    }

    /// The next item starts at `column`; on a new line when this one already
    /// reaches that column.
    ReportText &tab(int column) {
        const auto start = static_cast<std::size_t>(column - 1);
        if (current_.size() > start) endLine();
        current_.resize(start, ' ');
        return *this;
    }

    void endLine() {
        lines_.push_back(std::move(current_));
        current_.clear();
    }

    std::vector<std::string> take() { return std::move(lines_); }

private:
    std::vector<std::string> lines_;
    std::string current_;
};

std::string number(double value) { return paddedNumberText(value); }

/// Element `index`, or the element type's empty value when there is none.
template <typename T>
T at(const std::vector<T> &values, std::size_t index) {
    return index < values.size() ? values[index] : T{};
}

class ReportBuilder {
public:
    ReportBuilder(const ReportData &data, int charsPerLine)
        : data_(data), charsPerLine_(static_cast<std::size_t>(std::max(charsPerLine, 1))) {}

    std::vector<std::string> build() {
        (out_ << "ORDER:" << number(static_cast<double>(data_.names.size()))).endLine();
        (out_ << "VARIABLES:").endLine();
        writeNames();
        out_.endLine();
        out_.endLine();
        writeConstants();
        writeLimits();
        writeEquations();
        writeParameters();
        writeSolutions();
        return out_.take();
    }

private:
    /// Names joined by commas, each line shorter than charsPerLine before its
    /// trailing comma; a name too long for any line stands on a line of its own.
    void writeNames() {
        const auto &names = data_.names;
        std::string line;
        for (std::size_t i = 0; i < names.size();) {
            const bool fits = line.size() + names[i].size() < charsPerLine_;
            if (!fits && !line.empty()) {
                (out_ << line).endLine();
                line.clear();
                continue;
            }
            line += names[i];
            if (i + 1 < names.size()) line += ',';
            ++i;
            if (!fits) {
                (out_ << line).endLine();
                line.clear();
            }
        }
        if (!line.empty()) (out_ << line).endLine();
    }

    void writeConstants() {
        if (data_.constants.empty()) return;
        (out_ << "CONSTANTS:").endLine();
        for (const auto &item : data_.constants) (out_ << item).endLine();
        out_.endLine();
    }

    void writeLimits() {
        out_ << "VARIABLE NAME";
        out_.tab(kLowerLimitColumn) << "LOWER LIMIT";
        out_.tab(kUpperLimitColumn) << "UPPER LIMIT";
        out_.tab(kSubintervalsColumn) << "# OF SUBINTERVALS";
        out_.endLine();
        for (std::size_t i = 0; i < data_.names.size(); ++i) {
            out_ << data_.names[i];
            out_.tab(kLowerLimitColumn) << number(at(data_.lowerLimits, i));
            out_.tab(kUpperLimitColumn) << number(at(data_.upperLimits, i));
            out_.tab(kSubintervalsColumn) << number(at(data_.subintervals, i));
            out_.endLine();
        }
        out_.endLine();
    }

    /// Each equation cut into pieces of charsPerLine characters, without regard to words.
    void writeEquations() {
        for (std::size_t i = 0; i < data_.names.size(); ++i) {
            (out_ << "EQUATION #" << number(static_cast<double>(i + 1)) << ":").endLine();
            const std::string equation = at(data_.equations, i);
            if (equation.empty()) out_.endLine();
            for (std::size_t start = 0; start < equation.size(); start += charsPerLine_)
                (out_ << std::string_view(equation).substr(start, charsPerLine_)).endLine();
            out_.endLine();
        }
    }

    void writeParameters() {
        (out_ << "MAXIMUM ERROR:" << number(data_.maxError)).endLine();
        (out_ << "MAXIMUM # OF CYCLES:" << number(data_.maxCycles)).endLine();
        out_.endLine();
    }

    void writeSolutions() {
        if (data_.solutions.empty()) return;
        (out_ << "SOLUTIONS FOUND:").endLine();
        out_.endLine();
        for (std::size_t k = 0; k < data_.solutions.size(); ++k) writeSolution(k + 1, data_.solutions[k]);
    }

    void writeSolution(std::size_t k, const ReportSolution &solution) {
        (out_ << "SET #" << number(static_cast<double>(k)) << ":").endLine();
        for (std::size_t i = 0; i < data_.names.size(); ++i) {
            out_ << data_.names[i] << "= " << number(at(solution.values, i));
            out_.tab(kResidualColumn) << "EQUATION #" << number(static_cast<double>(i + 1)) << "= ";
            const std::int32_t failure = at(solution.failures, i);
            out_ << (failure == 0 ? number(at(solution.residuals, i)) : "error " + std::to_string(failure));
            out_.endLine();
        }
    }

    const ReportData &data_;
    std::size_t charsPerLine_;
    ReportText out_;
};

}  // namespace

std::vector<std::string> reportLines(const ReportData &data, int charsPerLine) {
    return ReportBuilder(data, charsPerLine).build();
}

}  // namespace zl

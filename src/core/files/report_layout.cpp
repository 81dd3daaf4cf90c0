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

const std::string &textAt(const std::vector<std::string> &texts, int index) {
    static const std::string none;
    return index >= 0 && static_cast<std::size_t>(index) < texts.size() ? texts[static_cast<std::size_t>(index)] : none;
}

class ReportBuilder {
public:
    ReportBuilder(ProblemState &problem, const ReportSources &sources, ResidualSystem &residuals)
        : problem_(problem), record_(problem.record), sources_(sources), residuals_(residuals),
          charsPerLine_(static_cast<std::size_t>(std::max(sources.charsPerLine, 1))) {}

    std::vector<std::string> build() {
        (out_ << "ORDER:" << number(record_.order)).endLine();
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
        std::string line;
        for (int i = 0; i < record_.order;) {
            const auto &name = record_.varNames[static_cast<std::size_t>(i)];
            const bool fits = line.size() + name.size() < charsPerLine_;
            if (!fits && !line.empty()) {
                (out_ << line).endLine();
                line.clear();
                continue;
            }
            line += name;
            if (i < record_.lastIndex) line += ',';
            ++i;
            if (!fits) {
                (out_ << line).endLine();
                line.clear();
            }
        }
        if (!line.empty()) (out_ << line).endLine();
    }

    void writeConstants() {
        if (sources_.constantItems.empty()) return;
        (out_ << "CONSTANTS:").endLine();
        for (const auto &item : sources_.constantItems) (out_ << item).endLine();
        out_.endLine();
    }

    void writeLimits() {
        out_ << "VARIABLE NAME";
        out_.tab(kLowerLimitColumn) << "LOWER LIMIT";
        out_.tab(kUpperLimitColumn) << "UPPER LIMIT";
        out_.tab(kSubintervalsColumn) << "# OF SUBINTERVALS";
        out_.endLine();
        for (int i = 0; i < record_.order; ++i) {
            const auto at = static_cast<std::size_t>(i);
            out_ << record_.varNames[at];
            out_.tab(kLowerLimitColumn) << number(record_.lowerLimits[at]);
            out_.tab(kUpperLimitColumn) << number(record_.upperLimits[at]);
            out_.tab(kSubintervalsColumn) << number(record_.subintervals[at]);
            out_.endLine();
        }
        out_.endLine();
    }

    /// Each equation cut into pieces of charsPerLine characters, without regard to words.
    void writeEquations() {
        for (int i = 0; i < record_.order; ++i) {
            (out_ << "EQUATION #" << number(i + 1) << ":").endLine();
            const std::string_view equation = textAt(sources_.equationTexts, i);
            if (equation.empty()) out_.endLine();
            for (std::size_t at = 0; at < equation.size(); at += charsPerLine_)
                (out_ << equation.substr(at, charsPerLine_)).endLine();
            out_.endLine();
        }
    }

    void writeParameters() {
        (out_ << "MAXIMUM ERROR:" << number(record_.maxError)).endLine();
        (out_ << "MAXIMUM # OF CYCLES:" << number(record_.maxCycles)).endLine();
        out_.endLine();
    }

    void writeSolutions() {
        const auto &stored = problem_.store.solutions;
        const int count = std::min({problem_.store.solutionCount, kMaxSolutions, stored.columns() - 1});
        if (count <= 0) return;
        (out_ << "SOLUTIONS FOUND:").endLine();
        out_.endLine();
        for (int k = 1; k <= count; ++k) writeSolution(k);
    }

    void writeSolution(int k) {
        (out_ << "SET #" << number(k) << ":").endLine();
        auto &work = problem_.work;
        for (int j = 0; j < record_.order; ++j)
            work.point[static_cast<std::size_t>(j)] = problem_.store.solutions(j, k);
        std::vector<std::int32_t> failures(static_cast<std::size_t>(record_.order), 0);
        for (int i = 0; i < record_.order; ++i) {
            double value = 0;
            failures[static_cast<std::size_t>(i)] = residuals_.evaluate(i, work.point.data(), value);
            if (failures[static_cast<std::size_t>(i)] == 0) work.systemMatrix(i, 0) = value;
        }
        for (int i = 0; i < record_.order; ++i) {
            const auto at = static_cast<std::size_t>(i);
            out_ << record_.varNames[at] << "= " << number(work.point[at]);
            out_.tab(kResidualColumn) << "EQUATION #" << number(i + 1) << "= ";
            out_ << (failures[at] == 0 ? number(work.systemMatrix(i, 0)) : "error " + std::to_string(failures[at]));
            out_.endLine();
        }
    }

    ProblemState &problem_;
    const ProblemSpec &record_;
    const ReportSources &sources_;
    ResidualSystem &residuals_;
    std::size_t charsPerLine_;
    ReportText out_;
};

}  // namespace

std::vector<std::string> reportLines(ProblemState &problem, const ReportSources &sources, ResidualSystem &residuals) {
    return ReportBuilder(problem, sources, residuals).build();
}

}  // namespace zl

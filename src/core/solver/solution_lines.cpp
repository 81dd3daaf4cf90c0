#include "core/solver/solution_lines.h"

#include <algorithm>
#include <cmath>

#include "core/numbers/number_text.h"

namespace zl {

std::string overlayFromStart(std::string line, std::string_view text) {
    const std::size_t length = std::min(line.size(), text.size());
    line.replace(0, length, text.substr(0, length));
    return line;
}

std::string nameValueText(std::string_view name, double value) {
    std::string text(name);
    text += '=';
    text += generalNumberText(value);
    return text;
}

std::string solutionLine(std::string_view name, double value, int equationNumber, std::string_view residualText) {
    std::string line(kFirstColumnWidth, ' ');
    line += "EQUATION #";
    line += std::to_string(equationNumber);
    line += '=';
    line += residualText;
    return overlayFromStart(std::move(line), nameValueText(name, value));
}

std::string solutionLine(std::string_view name, double value, int equationNumber, double residual) {
    return solutionLine(name, value, equationNumber, generalNumberText(residual));
}

std::string correctionLine(std::string_view name, double value, double correction) {
    std::string line(kFirstColumnWidth, ' ');
    line += generalNumberText(correction);
    return overlayFromStart(std::move(line), nameValueText(name, value));
}

std::string equationLine(int equationNumber, double residual) {
    return "EQUATION #" + std::to_string(equationNumber) + "=" + generalNumberText(residual);
}

std::string trialLine(std::int32_t trialNumber) { return "TRIAL" + std::to_string(trialNumber) + ":"; }

std::vector<std::string> problemsReportLines(const RunState &run) {
    std::vector<std::string> lines;
    if (!run.anyProblem()) return lines;
    lines.emplace_back("PROBLEMS ENCOUNTERED:");
    if (run.convergenceProblem) lines.emplace_back("-CONVERGENCE PROBLEMS.");
    if (run.inconsistency) lines.emplace_back("-POSSIBLE INCONSISTENCE PROBLEMS.");
    if (run.linearDependence) lines.emplace_back("-POSSIBLE LINEAR DEPENDENCE PROBLEMS.");
    return lines;
}

std::string countText(double count) {
    if (count >= 0 && count < 0x1p64) return std::to_string(static_cast<std::uint64_t>(std::nearbyint(count)));
    return generalNumberText(count);
}

std::string runStoppedLine(RunUnit unit, std::uint64_t done, double total) {
    return "RUN STOPPED: " + std::to_string(done) + " of " + countText(total) +
           (unit == RunUnit::Nodes ? " nodes." : " seeds.");
}

std::string outsideBoxLine(std::int64_t count) {
    return "OUTSIDE THE BOX, NOT STORED: " + std::to_string(count) +
           (count == 1 ? " converged point." : " converged points.");
}

std::string failedResidualText(std::int32_t errorNumber) { return "error " + std::to_string(errorNumber); }

}  // namespace zl

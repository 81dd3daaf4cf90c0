#include "cli/progress_display.h"

#include <cmath>
#include <ostream>

#include "core/solver/solution_lines.h"

namespace zl::cli {
namespace {

/// "0.4 s", "42 s", "3 min 5 s", "2 h 10 min".
std::string durationText(std::chrono::steady_clock::duration duration) {
    const auto tenths = std::chrono::duration_cast<std::chrono::milliseconds>(duration).count() / 100;
    if (tenths < 100) return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " s";
    const auto seconds = tenths / 10;
    if (seconds < 60) return std::to_string(seconds) + " s";
    if (seconds < 3600) return std::to_string(seconds / 60) + " min " + std::to_string(seconds % 60) + " s";
    return std::to_string(seconds / 3600) + " h " + std::to_string(seconds % 3600 / 60) + " min";
}

constexpr const char *kClearToEndOfLine = "\x1b[K";

}  // namespace

std::string progressText(const RunProgress &progress) {
    if (progress.unit == RunUnit::BoxShare) {
        const auto percent = static_cast<int>(100 * static_cast<double>(progress.done) / progress.total);
        std::string text = "Certify: " + std::to_string(percent) + "% of the box decided, " +
                           std::to_string(progress.solutions) + " proofs, " + durationText(progress.elapsed);
        if (progress.remaining) text += ", about " + durationText(*progress.remaining) + " left";
        return text;
    }
    const bool nodes = progress.unit == RunUnit::Nodes;
    std::string text = nodes ? "Explore: " : "Random: ";
    text += std::to_string(progress.done) + " of " + countText(progress.total) + (nodes ? " nodes" : " seeds");
    if (progress.total > 0 && std::isfinite(progress.total))
        text +=
            " (" + std::to_string(static_cast<int>(100 * static_cast<double>(progress.done) / progress.total)) + "%)";
    text += ", " + std::to_string(progress.solutions) + " solutions, " + durationText(progress.elapsed);
    if (progress.remaining) text += ", about " + durationText(*progress.remaining) + " left";
    return text;
}

void ProgressDisplay::runProgress(const RunProgress &progress) {
    if (style_ == ProgressStyle::None) return;
    if (style_ == ProgressStyle::Lines) {
        err_ << progressText(progress) << '\n' << std::flush;
        return;
    }
    err_ << '\r' << progressText(progress) << kClearToEndOfLine << std::flush;
    lineShown_ = true;
}

void ProgressDisplay::clear() {
    if (!lineShown_) return;
    err_ << '\r' << kClearToEndOfLine << std::flush;
    lineShown_ = false;
}

}  // namespace zl::cli

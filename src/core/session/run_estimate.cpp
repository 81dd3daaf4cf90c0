#include "core/session/run_estimate.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "core/numbers/number_text.h"
#include "core/solver/explore_size.h"

namespace zl {

std::chrono::duration<double> ExploreEstimate::time(int threads) const {
    return perNode * nodes / resolvedThreadCount(threads);
}

namespace {

/// Node `k` of the sample: each variable strides through its values by a
/// different prime, so the sample covers the box rather than one line.
void sampleNode(const ProblemSpec &record, std::uint64_t k, std::vector<double> &point) {
    static constexpr std::uint64_t kStrides[] = {7919, 104729, 1299709, 15485863};
    for (int i = 0; i < record.order; ++i) {
        const double lower = record.lowerLimits[i];
        const double upper = record.upperLimits[i];
        const std::int32_t subintervals = record.subintervals[i];
        const double values = exploreValueCount(lower, upper, subintervals);
        const double stride = static_cast<double>(kStrides[static_cast<std::size_t>(i) % std::size(kStrides)]);
        // Within the limits (the walk may take one value just beyond the upper
        // one); a count below 1 makes no step: the lower limit alone is sampled.
        const bool stepped = values > 1 && subintervals >= 1;
        const double index = stepped ? std::fmod(static_cast<double>(k) * stride, subintervals + 1.0) : 0;
        point[static_cast<std::size_t>(i)] = stepped ? lower + index * (upper - lower) / subintervals : lower;
    }
}

}  // namespace

std::optional<ExploreEstimate> estimateExplore(const ProblemSpec &record, ResidualSystem &residuals,
                                               std::chrono::milliseconds sampleTime) {
    const auto order = static_cast<std::size_t>(record.order);
    std::vector<double> point(order), values(order);
    std::vector<std::int32_t> statuses(order);
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    std::uint64_t sampled = 0;
    Clock::duration spent{};
    do {
        for (int n = 0; n < 16; ++n, ++sampled) {
            sampleNode(record, sampled, point);
            const int evaluated = residuals.evaluateAll(record.order, point.data(), values.data(), statuses.data());
            const std::int32_t last = statuses[static_cast<std::size_t>(std::max(evaluated, 1) - 1)];
            if (last != 0 && !isRecoverableError(last)) return std::nullopt;
        }
        spent = Clock::now() - start;
    } while (spent < sampleTime);
    return ExploreEstimate{exploreNodeCount(record), std::chrono::duration<double>(spent) / sampled};
}

std::string roughDurationText(double seconds) {
    static constexpr struct {
        double seconds;
        const char *name;
    } kUnits[] = {{365.25 * 86400, "years"}, {86400, "days"}, {3600, "hours"}, {60, "minutes"}};
    // A unit from two of it on, so that the number is never a lone 1.
    for (const auto &unit : kUnits)
        if (seconds >= 2 * unit.seconds)
            return "about " + generalNumberText(std::round(seconds / unit.seconds)) + " " + unit.name;
    return "about " + generalNumberText(std::round(std::max(seconds, 0.0))) + " seconds";
}

std::string durationText(std::chrono::steady_clock::duration duration) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(duration).count();
    char text[32];
    if (seconds >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                      static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(seconds / 60),
                      static_cast<long long>(seconds % 60));
    return text;
}

std::string runProgressText(const RunProgress &progress) {
    std::string text = std::to_string(progress.done) + " of " + generalNumberText(progress.total) +
                       (progress.unit == RunUnit::Nodes ? " nodes, " : " seeds, ") +
                       std::to_string(progress.solutions) + " solutions, " + durationText(progress.elapsed) +
                       " elapsed";
    if (progress.remaining) text += ", " + durationText(*progress.remaining) + " left";
    return text;
}

}  // namespace zl

#include "core/session/run_estimate.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <tuple>
#include <vector>

#include <time.h>

#include "core/numbers/number_text.h"
#include "core/solver/explore_size.h"

namespace zl {

std::chrono::duration<double> ExploreEstimate::time(int threads) const {
    return perNode * nodes / resolvedThreadCount(threads);
}

namespace {

/// Whether the walk steps variable i (a count below 1 makes no step: such a
/// variable is sampled at its lower limit).
std::vector<bool> steppedVariables(const ProblemSpec &record) {
    std::vector<bool> stepped;
    for (int i = 0; i < record.order; ++i)
        stepped.push_back(record.subintervals[i] >= 1 &&
                          exploreValueCount(record.lowerLimits[i], record.upperLimits[i], record.subintervals[i]) > 1);
    return stepped;
}

/// Node `k` of the sample: each variable strides through its grid values by a
/// different prime, so the sample covers the box rather than one line. The
/// values stay within the limits (the walk may take one just beyond the upper).
void sampleNode(const ProblemSpec &record, const std::vector<bool> &stepped, std::uint64_t k,
                std::vector<double> &point) {
    static constexpr std::uint64_t kStrides[] = {7919, 104729, 1299709, 15485863};
    for (int i = 0; i < record.order; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const double lower = record.lowerLimits[i];
        const std::int32_t subintervals = record.subintervals[i];
        const double stride = static_cast<double>(kStrides[at % std::size(kStrides)]);
        const double index = stepped[at] ? std::fmod(static_cast<double>(k) * stride, subintervals + 1.0) : 0;
        point[at] = stepped[at] ? lower + index * (record.upperLimits[i] - lower) / subintervals : lower;
    }
}

/// The calling thread's processor time: what the sample cost, however busy
/// the machine is with other programs meanwhile.
std::chrono::nanoseconds threadTime() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

}  // namespace

std::optional<ExploreEstimate> estimateExplore(const ProblemSpec &record, ResidualSystem &residuals,
                                               std::chrono::milliseconds sampleTime) {
    // The nodes are placed first, so that only their residuals are timed.
    constexpr std::uint64_t kNodes = 64;
    const auto order = static_cast<std::size_t>(record.order);
    const std::vector<bool> stepped = steppedVariables(record);
    std::vector<double> nodes(kNodes * order), values(order);
    std::vector<std::int32_t> statuses(order);
    std::vector<double> point(order);
    for (std::uint64_t k = 0; k < kNodes; ++k) {
        sampleNode(record, stepped, k, point);
        std::copy(point.begin(), point.end(), nodes.begin() + static_cast<std::ptrdiff_t>(k * order));
    }
    const std::chrono::nanoseconds start = threadTime();
    std::uint64_t sampled = 0;
    std::chrono::nanoseconds spent{};
    do {
        for (std::uint64_t k = 0; k < kNodes; ++k, ++sampled) {
            const int evaluated =
                residuals.evaluateAll(record.order, &nodes[k * order], values.data(), statuses.data());
            const std::int32_t last = statuses[static_cast<std::size_t>(std::max(evaluated, 1) - 1)];
            if (last != 0 && !isRecoverableError(last)) return std::nullopt;
        }
        spent = threadTime() - start;
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

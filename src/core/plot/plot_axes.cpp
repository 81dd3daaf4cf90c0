#include "core/plot/plot_axes.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/solver/explore_grid.h"

namespace zl {

AxisRange searchRange(double lower, double upper) {
    if (std::isfinite(lower) && std::isfinite(upper) && upper > lower && std::isfinite(upper - lower))
        return {lower, upper};
    double middle = std::isfinite(lower) ? lower : 0;
    if (std::isfinite(lower) && std::isfinite(upper)) middle = 0.5 * lower + 0.5 * upper;
    return {middle - 1, middle + 1};
}

std::vector<double> exploreGridValues(double lower, double upper, std::int32_t subintervals, std::size_t maxCount) {
    std::vector<double> values;
    if (!std::isfinite(lower) || maxCount == 0) return values;
    const double step = gridStepFor(lower, upper, subintervals);
    // The walk's own rule: step on while below the upper limit and the step
    // still moves the value.
    for (double x = lower;; x += step) {
        if (values.size() == maxCount) return {};
        values.push_back(x);
        if (!(x < upper && x + step > x)) break;
    }
    return values;
}

AxisRange residualRange(const std::vector<PlanePoint> &curve) {
    std::vector<double> values;
    for (const PlanePoint &point : curve)
        if (std::isfinite(point.y)) values.push_back(point.y);
    if (values.empty()) return {-1, 1};
    std::sort(values.begin(), values.end());
    // The outer twentieth on each side is where poles reach.
    const std::size_t cut = values.size() / 20;
    double low = std::min(0.0, values[cut]);
    double high = std::max(0.0, values[values.size() - 1 - cut]);
    if (high - low <= 0 || !std::isfinite(high - low)) return {low - 1, high + 1};
    const double margin = 0.08 * (high - low);
    return {low - margin, high + margin};
}

std::string shortNumberText(double value) {
    if (std::isnan(value)) return "NaN";
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 6);
    std::string number(text, result.ptr);
    // 1.5e+07 -> 1.5E+07, as the program writes exponents elsewhere.
    for (char &c : number)
        if (c == 'e') c = 'E';
    return number;
}

}  // namespace zl

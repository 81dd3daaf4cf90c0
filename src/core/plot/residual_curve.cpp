#include "core/plot/residual_curve.h"

#include <cmath>
#include <limits>

#include "core/plot/residual_sampling.h"
#include "core/plot/zero_crossing.h"

namespace zl {

namespace {

constexpr double kGap = std::numeric_limits<double>::quiet_NaN();

class CurveSampler {
public:
    CurveSampler(ResidualSystem &residuals, const PlaneSlice &slice, int equation)
        : residuals_(residuals), slice_(slice), equation_(equation) {}

    ResidualCurve sample(AxisRange range, int samples) {
        PlanePoint previous{0, kGap};
        for (int k = 0; k < samples && curve_.fatalErrorNumber == 0; ++k) {
            const double x = std::lerp(range.min, range.max, static_cast<double>(k) / (samples - 1));
            PlanePoint current{x, kGap};
            if (!evaluateAt(x, current.y) && curve_.fatalErrorNumber != 0) break;
            if ((previous.y < 0 && current.y > 0) || (previous.y > 0 && current.y < 0)) addCrossing(previous, current);
            if (current.y == 0) curve_.zeros.push_back(x);
            curve_.points.push_back(current);
            previous = current;
        }
        return std::move(curve_);
    }

private:
    bool evaluateAt(double x, double &value) {
        slice_.place({x, 0}, point_);
        const std::int32_t status = residuals_.evaluate(equation_, point_.data(), value);
        const PlotEvaluation outcome = classifyStatus(status);
        if (outcome == PlotEvaluation::Fatal) curve_.fatalErrorNumber = status;
        return outcome == PlotEvaluation::Value;
    }

    /// The zero between two samples of opposite signs as a point of the
    /// curve, or a gap where the sign changes without passing zero.
    void addCrossing(PlanePoint from, PlanePoint to) {
        const auto t = locateZeroCrossing(
            [&](double s, double &value) { return evaluateAt(std::lerp(from.x, to.x, s), value); }, from.y, to.y);
        if (t) {
            const double x = std::lerp(from.x, to.x, *t);
            curve_.zeros.push_back(x);
            curve_.points.push_back({x, 0});
        } else {
            curve_.points.push_back({0.5 * (from.x + to.x), kGap});
        }
    }

    ResidualSystem &residuals_;
    const PlaneSlice &slice_;
    const int equation_;
    std::vector<double> point_;
    ResidualCurve curve_;
};

}  // namespace

ResidualCurve residualCurve(ResidualSystem &residuals, const PlaneSlice &slice, AxisRange range, int samples,
                            int equation) {
    if (samples < 2) return {};
    return CurveSampler(residuals, slice, equation).sample(range, samples);
}

}  // namespace zl

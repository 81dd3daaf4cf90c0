#include "core/plot/zero_contour.h"

#include <cmath>
#include <deque>
#include <map>
#include <optional>
#include <utility>

#include "core/plot/zero_crossing.h"

namespace zl {

namespace {

/// Traces one residual's zero set cell by cell. Each edge's crossing is
/// located once and kept, so the two cells beside an edge use the same point.
class ContourTracer {
public:
    ContourTracer(ResidualSystem &residuals, const PlaneSlice &slice, const SampledResiduals &samples, int equation)
        : residuals_(residuals), slice_(slice), samples_(samples), grid_(samples.grid), equation_(equation),
          horizontal_(edgeCount(grid_.columns - 1, grid_.rows)), vertical_(edgeCount(grid_.columns, grid_.rows - 1)) {}

    ZeroContour trace() {
        for (int row = 0; row + 1 < grid_.rows && contour_.fatalErrorNumber == 0; ++row)
            for (int column = 0; column + 1 < grid_.columns && contour_.fatalErrorNumber == 0; ++column)
                traceCell(column, row);
        return std::move(contour_);
    }

private:
    struct Crossing {
        bool known = false;
        std::optional<PlanePoint> at;
    };

    static std::size_t edgeCount(int columns, int rows) {
        return columns > 0 && rows > 0 ? static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows) : 0;
    }

    PlanePoint node(int column, int row) const { return {grid_.xAt(column), grid_.yAt(row)}; }
    double value(int column, int row) const { return samples_.at(equation_, column, row); }

    bool evaluateAt(PlanePoint at, double &result) {
        if (contour_.fatalErrorNumber != 0) return false;
        slice_.place(at, point_);
        const std::int32_t status = residuals_.evaluate(equation_, point_.data(), result);
        const PlotEvaluation outcome = classifyStatus(status);
        if (outcome == PlotEvaluation::Fatal) contour_.fatalErrorNumber = status;
        return outcome == PlotEvaluation::Value;
    }

    std::optional<PlanePoint> locate(int fromColumn, int fromRow, int toColumn, int toRow) {
        const PlanePoint from = node(fromColumn, fromRow), to = node(toColumn, toRow);
        auto along = [from, to](double t) {
            return PlanePoint{std::lerp(from.x, to.x, t), std::lerp(from.y, to.y, t)};
        };
        const auto t = locateZeroCrossing([&](double s, double &result) { return evaluateAt(along(s), result); },
                                          value(fromColumn, fromRow), value(toColumn, toRow));
        if (!t) return std::nullopt;
        return along(*t);
    }

    /// Edge from node (column, row) to (column + 1, row).
    const std::optional<PlanePoint> &horizontal(int column, int row) {
        Crossing &edge = horizontal_[static_cast<std::size_t>(row) * static_cast<std::size_t>(grid_.columns - 1) +
                                     static_cast<std::size_t>(column)];
        if (!edge.known) {
            edge.at = locate(column, row, column + 1, row);
            edge.known = true;
        }
        return edge.at;
    }

    /// Edge from node (column, row) to (column, row + 1).
    const std::optional<PlanePoint> &vertical(int column, int row) {
        Crossing &edge = vertical_[static_cast<std::size_t>(row) * static_cast<std::size_t>(grid_.columns) +
                                   static_cast<std::size_t>(column)];
        if (!edge.known) {
            edge.at = locate(column, row, column, row + 1);
            edge.known = true;
        }
        return edge.at;
    }

    /// A zero at a node gives both of its edges the same point: no segment.
    void connect(const std::optional<PlanePoint> &a, const std::optional<PlanePoint> &b) {
        if (a && b && contour_.fatalErrorNumber == 0 && (a->x != b->x || a->y != b->y))
            contour_.segments.push_back({*a, *b});
    }

    /// The cell's centre decides a saddle: whether the corners of the centre's
    /// sign connect across it.
    bool centrePositive(int column, int row) {
        const PlanePoint low = node(column, row), high = node(column + 1, row + 1);
        double centre = 0;
        if (!evaluateAt({0.5 * (low.x + high.x), 0.5 * (low.y + high.y)}, centre))
            centre = 0.25 * (value(column, row) + value(column + 1, row) + value(column + 1, row + 1) +
                             value(column, row + 1));
        return centre > 0;
    }

    void traceCell(int column, int row) {
        const double lowerLeft = value(column, row), lowerRight = value(column + 1, row);
        const double upperRight = value(column + 1, row + 1), upperLeft = value(column, row + 1);
        if (std::isnan(lowerLeft) || std::isnan(lowerRight) || std::isnan(upperRight) || std::isnan(upperLeft))
            return;  // a gap: no line is drawn where a corner could not be evaluated
        const bool ll = lowerLeft > 0, lr = lowerRight > 0, ur = upperRight > 0, ul = upperLeft > 0;
        const bool bottomCut = ll != lr, rightCut = lr != ur, topCut = ul != ur, leftCut = ll != ul;
        const int cuts = bottomCut + rightCut + topCut + leftCut;
        if (cuts == 0) return;
        auto bottom = [&]() -> const std::optional<PlanePoint> & { return horizontal(column, row); };
        auto top = [&]() -> const std::optional<PlanePoint> & { return horizontal(column, row + 1); };
        auto left = [&]() -> const std::optional<PlanePoint> & { return vertical(column, row); };
        auto right = [&]() -> const std::optional<PlanePoint> & { return vertical(column + 1, row); };
        if (cuts == 4) {
            if (centrePositive(column, row) == ll) {  // lower left and upper right connect: cut off the others
                connect(bottom(), right());
                connect(top(), left());
            } else {
                connect(bottom(), left());
                connect(right(), top());
            }
            return;
        }
        std::optional<PlanePoint> ends[2];
        int found = 0;
        if (bottomCut) ends[found++] = bottom();
        if (rightCut) ends[found++] = right();
        if (topCut) ends[found++] = top();
        if (leftCut) ends[found++] = left();
        connect(ends[0], ends[1]);
    }

    ResidualSystem &residuals_;
    const PlaneSlice &slice_;
    const SampledResiduals &samples_;
    const PlaneGrid &grid_;
    const int equation_;
    std::vector<Crossing> horizontal_;
    std::vector<Crossing> vertical_;
    std::vector<double> point_;
    ZeroContour contour_;
};

using PointKey = std::pair<double, double>;

PointKey keyOf(PlanePoint point) { return {point.x, point.y}; }

}  // namespace

ZeroContour zeroContour(ResidualSystem &residuals, const PlaneSlice &slice, const SampledResiduals &samples,
                        int equation) {
    if (samples.grid.columns < 2 || samples.grid.rows < 2 || equation < 0 || equation >= samples.equations) return {};
    return ContourTracer(residuals, slice, samples, equation).trace();
}

std::vector<std::vector<PlanePoint>> joinSegments(const std::vector<ContourSegment> &segments) {
    std::multimap<PointKey, std::size_t> byEnd;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        byEnd.emplace(keyOf(segments[i].from), i);
        byEnd.emplace(keyOf(segments[i].to), i);
    }
    std::vector<bool> used(segments.size(), false);
    // The other end of an unused segment that ends at `point`, marking it used.
    auto nextFrom = [&](PlanePoint point) -> std::optional<PlanePoint> {
        const auto [first, last] = byEnd.equal_range(keyOf(point));
        for (auto it = first; it != last; ++it) {
            if (used[it->second]) continue;
            used[it->second] = true;
            const ContourSegment &segment = segments[it->second];
            return keyOf(segment.from) == it->first ? segment.to : segment.from;
        }
        return std::nullopt;
    };

    std::vector<std::vector<PlanePoint>> lines;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        if (used[i]) continue;
        used[i] = true;
        std::deque<PlanePoint> line{segments[i].from, segments[i].to};
        while (const auto next = nextFrom(line.back())) line.push_back(*next);
        while (const auto previous = nextFrom(line.front())) line.push_front(*previous);
        lines.emplace_back(line.begin(), line.end());
    }
    return lines;
}

}  // namespace zl

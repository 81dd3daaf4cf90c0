#include "core/plot/slice_choice.h"

#include <cmath>

#include "core/plot/plot_axes.h"

namespace zl {

namespace {

/// Titles name this many fixed variables at most; the rest are left to "...".
constexpr std::size_t kTitledVariables = 6;

bool validSolution(const ProblemState &problem, int solution) {
    return solution >= 1 && solution <= problem.store.solutionCount && solution < problem.store.solutions.columns() &&
           problem.record.order <= problem.store.solutions.rows();
}

}  // namespace

PlaneSlice planeThrough(const ProblemState &problem, const SliceChoice &choice) {
    const ProblemSpec &record = problem.record;
    const int order = record.order;
    PlaneSlice slice;
    slice.base.resize(static_cast<std::size_t>(std::max(order, 0)));
    for (int i = 0; i < order; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (validSolution(problem, choice.solution)) {
            slice.base[at] = problem.store.solutions(i, choice.solution);
        } else {
            const AxisRange range = searchRange(record.lowerLimits[at], record.upperLimits[at]);
            slice.base[at] = 0.5 * (range.min + range.max);
        }
    }
    const bool axesValid = choice.xVariable >= 0 && choice.xVariable < order && choice.yVariable >= 0 &&
                           choice.yVariable < order && choice.xVariable != choice.yVariable;
    slice.xVariable = axesValid ? choice.xVariable : 0;
    slice.yVariable = order < 2 ? -1 : axesValid ? choice.yVariable : 1;
    return slice;
}

std::string sliceTitle(const ProblemState &problem, const PlaneSlice &slice, int solution) {
    std::string fixed;
    std::size_t named = 0;
    const auto &names = problem.record.varNames;
    for (std::size_t i = 0; i < slice.base.size(); ++i) {
        const auto variable = static_cast<int>(i);
        if (variable == slice.xVariable || variable == slice.yVariable) continue;
        if (named == kTitledVariables) {
            fixed += ", ...";
            break;
        }
        fixed +=
            (named++ == 0 ? "" : ", ") + (i < names.size() ? names[i] : "?") + " = " + shortNumberText(slice.base[i]);
    }
    if (named == 0) return {};
    const std::string through =
        validSolution(problem, solution) ? "solution " + std::to_string(solution) : "the centre of the search box";
    return "Slice through " + through + ": " + fixed;
}

std::vector<PlottedRoot> rootsInPlane(const ProblemState &problem, const PlaneSlice &slice) {
    std::vector<PlottedRoot> roots;
    const auto order = static_cast<int>(slice.base.size());
    for (int m = 1; m <= problem.store.solutionCount; ++m) {
        if (!validSolution(problem, m)) break;
        bool inPlane = true;
        for (int i = 0; i < order && inPlane; ++i)
            if (i != slice.xVariable && i != slice.yVariable)
                inPlane = std::abs(problem.store.solutions(i, m) - slice.base[static_cast<std::size_t>(i)]) <=
                          problem.record.maxError;
        if (!inPlane) continue;
        const double x = problem.store.solutions(slice.xVariable, m);
        const double y = slice.yVariable >= 0 ? problem.store.solutions(slice.yVariable, m) : 0.0;
        roots.push_back({m, {x, y}});
    }
    return roots;
}

}  // namespace zl

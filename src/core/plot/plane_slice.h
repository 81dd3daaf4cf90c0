#pragma once
// The plane a plot is drawn in: two variables vary along the axes and every
// other keeps a fixed value; and the grid of nodes laid over a rectangle of it.

#include <vector>

namespace zl {

struct PlanePoint {
    double x = 0;
    double y = 0;
};

/// One axis' interval, min below max.
struct AxisRange {
    double min = 0;
    double max = 1;
};

struct PlaneSlice {
    std::vector<double> base;  ///< every variable's value; the axis variables' are replaced
    int xVariable = 0;
    int yVariable = -1;  ///< -1 when only x varies (a one-variable problem)

    /// Sets `point` to `base` with the axis variables at `at`.
    void place(PlanePoint at, std::vector<double> &point) const;
};

/// Nodes at equal steps over a rectangle: `columns` along x, `rows` along y,
/// the first and last on the rectangle's edges.
struct PlaneGrid {
    AxisRange x;
    AxisRange y;
    int columns = 2;
    int rows = 2;

    double xAt(int column) const { return x.min + (x.max - x.min) * column / (columns - 1); }
    double yAt(int row) const { return y.min + (y.max - y.min) * row / (rows - 1); }
};

}  // namespace zl

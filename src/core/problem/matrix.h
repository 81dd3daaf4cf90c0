#pragma once
// A dense row-major matrix of doubles, sized once and indexed (row, column).

#include <cstddef>
#include <vector>

namespace zl {

class Matrix {
public:
    Matrix() = default;
    Matrix(int rows, int columns)
        : rowCount_(rows), columnCount_(columns),
          cells_(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns), 0.0) {}

    int rows() const { return rowCount_; }
    int columns() const { return columnCount_; }
    bool empty() const { return cells_.empty(); }

    double &operator()(int row, int column) { return cells_[index(row, column)]; }
    double operator()(int row, int column) const { return cells_[index(row, column)]; }

    /// Start of one row, for loops that run along it.
    double *row(int r) { return cells_.data() + index(r, 0); }
    const double *row(int r) const { return cells_.data() + index(r, 0); }

    void swapRows(int a, int b);

private:
    std::size_t index(int row, int column) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(columnCount_) +
               static_cast<std::size_t>(column);
    }

    int rowCount_ = 0;
    int columnCount_ = 0;
    std::vector<double> cells_;
};

}  // namespace zl

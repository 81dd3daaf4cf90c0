#include "core/solver/linear_elimination.h"

#include <cmath>

namespace zl {
namespace {

// The loops run along rows through raw pointers; the arithmetic and its order
// are exactly those of the formulas in the comments.

/// Row of the largest |A(r, k)| for r >= k; on equal magnitudes the upper row wins.
int pivotRow(const Matrix &a, int k, double &pivotMagnitude) {
    int pivot = k;
    pivotMagnitude = std::fabs(a.row(k)[k]);
    for (int r = k + 1; r < a.rows(); ++r) {
        const double magnitude = std::fabs(a.row(r)[k]);
        if (magnitude > pivotMagnitude) {
            pivotMagnitude = magnitude;
            pivot = r;
        }
    }
    return pivot;
}

/// A(r, c) -= A(r, k) / A(k, k) * A(k, c) for c = k..n. Column k is computed
/// too, so it ends near zero rather than exactly zero.
void eliminateBelow(Matrix &a, int k) {
    const int columns = a.columns();
    const double *pivotRow = a.row(k);
    for (int r = k + 1; r < a.rows(); ++r) {
        double *row = a.row(r);
        const double factor = row[k] / pivotRow[k];
        for (int c = k; c < columns; ++c) row[c] -= factor * pivotRow[c];
    }
}

void forwardEliminate(Matrix &a) {
    for (int k = 0; k + 1 < a.rows(); ++k) {
        double pivotMagnitude = 0;
        const int pivot = pivotRow(a, k, pivotMagnitude);
        if (pivotMagnitude == 0) continue;  // nothing to eliminate with in this column
        a.swapRows(k, pivot);
        eliminateBelow(a, k);
    }
}

/// A reduced row with a zero diagonal reads sum = right-hand side. The sum runs
/// over columns 1..n-1 with whatever the correction holds now (entries above
/// the row come from the previous solve); equal means dependent rows, anything
/// else an inconsistent system.
void classifySingularRow(const double *row, int rightHandSide, const double *correction, RunState &run) {
    double sum = 0;
    for (int c = 1; c < rightHandSide; ++c) sum += row[c] * correction[c];
    if (sum == row[rightHandSide])
        run.linearDependence = true;
    else
        run.inconsistency = true;
}

}  // namespace

SolveResult solveCorrection(Matrix &a, std::vector<double> &correction, RunState &run) {
    forwardEliminate(a);
    const int rightHandSide = a.columns() - 1;
    double *delta = correction.data();
    for (int r = a.rows() - 1; r >= 0; --r) {
        const double *row = a.row(r);
        double sum = 0;
        delta[r] = 0;
        for (int c = r + 1; c < rightHandSide; ++c) sum += row[c] * delta[c];
        if (row[r] == 0) {
            classifySingularRow(row, rightHandSide, delta, run);
            return SolveResult::Singular;
        }
        delta[r] = (row[rightHandSide] - sum) / row[r];
    }
    return SolveResult::Solved;
}

}  // namespace zl

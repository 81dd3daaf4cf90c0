#include "core/solver/linear_elimination.h"

#include <cmath>

namespace zl {
namespace {

/// Row of the largest |A(r, k)| for r >= k; on equal magnitudes the upper row wins.
int pivotRow(const Matrix &a, int k, double &pivotMagnitude) {
    int pivot = k;
    pivotMagnitude = std::fabs(a(k, k));
    for (int r = k + 1; r < a.rows(); ++r) {
        const double magnitude = std::fabs(a(r, k));
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
    const int lastColumn = a.columns() - 1;
    for (int r = k + 1; r < a.rows(); ++r) {
        const double factor = a(r, k) / a(k, k);
        for (int c = k; c <= lastColumn; ++c) a(r, c) -= factor * a(k, c);
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
void classifySingularRow(const Matrix &a, int row, const std::vector<double> &correction, RunState &run) {
    const int rightHandSide = a.columns() - 1;
    double sum = 0;
    for (int c = 1; c < rightHandSide; ++c) sum += a(row, c) * correction[c];
    if (sum == a(row, rightHandSide))
        run.linearDependence = true;
    else
        run.inconsistency = true;
}

}  // namespace

SolveResult solveCorrection(Matrix &a, std::vector<double> &correction, RunState &run) {
    forwardEliminate(a);
    const int rightHandSide = a.columns() - 1;
    for (int r = a.rows() - 1; r >= 0; --r) {
        double sum = 0;
        correction[r] = 0;
        for (int c = r + 1; c < rightHandSide; ++c) sum += a(r, c) * correction[c];
        if (a(r, r) == 0) {
            classifySingularRow(a, r, correction, run);
            return SolveResult::Singular;
        }
        correction[r] = (a(r, rightHandSide) - sum) / a(r, r);
    }
    return SolveResult::Solved;
}

}  // namespace zl

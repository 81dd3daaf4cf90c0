#pragma once
// Small dense linear algebra in doubles for the preconditioners and the quick
// Newton iteration; none of it needs to be exact, as the interval steps
// that use its results check everything themselves.

#include <cstddef>
#include <vector>

namespace zl {

/// Replaces the n x n row-major matrix `a` by its inverse (Gauss-Jordan with
/// partial pivoting). False when a pivot is 0 or not finite.
bool invertMatrix(std::size_t n, std::vector<double> &a, std::vector<double> &scratch);

/// Solves a x = b in place of b, destroying a (Gaussian elimination with
/// partial pivoting). False when a pivot is 0 or not finite.
bool solveLinearSystem(std::size_t n, double *a, double *b);

}  // namespace zl

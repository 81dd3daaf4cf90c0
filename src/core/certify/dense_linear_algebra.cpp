#include "core/certify/dense_linear_algebra.h"

#include <cmath>
#include <utility>

namespace zl {

bool invertMatrix(std::size_t n, std::vector<double> &a, std::vector<double> &scratch) {
    // scratch holds [a | I], reduced to [I | a^-1].
    const std::size_t width = 2 * n;
    scratch.assign(n * width, 0.0);
    for (std::size_t r = 0; r < n; ++r) {
        for (std::size_t c = 0; c < n; ++c) scratch[r * width + c] = a[r * n + c];
        scratch[r * width + n + r] = 1.0;
    }
    for (std::size_t k = 0; k < n; ++k) {
        std::size_t pivot = k;
        for (std::size_t r = k + 1; r < n; ++r)
            if (std::fabs(scratch[r * width + k]) > std::fabs(scratch[pivot * width + k])) pivot = r;
        const double p = scratch[pivot * width + k];
        if (p == 0 || !std::isfinite(p)) return false;
        if (pivot != k)
            for (std::size_t c = 0; c < width; ++c) std::swap(scratch[k * width + c], scratch[pivot * width + c]);
        const double inverse = 1.0 / p;
        for (std::size_t c = 0; c < width; ++c) scratch[k * width + c] *= inverse;
        for (std::size_t r = 0; r < n; ++r) {
            if (r == k) continue;
            const double f = scratch[r * width + k];
            if (f == 0) continue;
            for (std::size_t c = 0; c < width; ++c) scratch[r * width + c] -= f * scratch[k * width + c];
        }
    }
    for (std::size_t r = 0; r < n; ++r)
        for (std::size_t c = 0; c < n; ++c) a[r * n + c] = scratch[r * width + n + c];
    for (double v : a)
        if (!std::isfinite(v)) return false;
    return true;
}

bool solveLinearSystem(std::size_t n, double *a, double *b) {
    for (std::size_t k = 0; k < n; ++k) {
        std::size_t pivot = k;
        for (std::size_t r = k + 1; r < n; ++r)
            if (std::fabs(a[r * n + k]) > std::fabs(a[pivot * n + k])) pivot = r;
        const double p = a[pivot * n + k];
        if (p == 0 || !std::isfinite(p)) return false;
        if (pivot != k) {
            for (std::size_t c = 0; c < n; ++c) std::swap(a[k * n + c], a[pivot * n + c]);
            std::swap(b[k], b[pivot]);
        }
        for (std::size_t r = k + 1; r < n; ++r) {
            const double f = a[r * n + k] / p;
            if (f == 0) continue;
            for (std::size_t c = k; c < n; ++c) a[r * n + c] -= f * a[k * n + c];
            b[r] -= f * b[k];
        }
    }
    for (std::size_t k = n; k-- > 0;) {
        double s = b[k];
        for (std::size_t c = k + 1; c < n; ++c) s -= a[k * n + c] * b[c];
        b[k] = s / a[k * n + k];
        if (!std::isfinite(b[k])) return false;
    }
    return true;
}

}  // namespace zl

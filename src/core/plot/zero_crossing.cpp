#include "core/plot/zero_crossing.h"

#include <algorithm>
#include <cmath>

namespace zl {

namespace {

/// At a zero the residual falls far below its values at the segment's ends
/// as the bracket closes in (to some 2^-52 of them at a simple zero, still to
/// 1E-5 of them for a cube root). At a jump it stays at about half the jump,
/// at a pole it grows without bound.
constexpr double kZeroShare = 1e-3;
constexpr int kMaxHalvings = 64;

}  // namespace

std::optional<double> locateZeroCrossing(const SegmentResidual &residual, double atStart, double atEnd) {
    if (atStart == 0) return 0.0;
    if (atEnd == 0) return 1.0;
    if ((atStart > 0) == (atEnd > 0) || !std::isfinite(atStart) || !std::isfinite(atEnd)) return std::nullopt;
    double low = 0, high = 1;
    double atLow = atStart, atHigh = atEnd;
    for (int halving = 0; halving < kMaxHalvings; ++halving) {
        const double middle = 0.5 * (low + high);
        if (middle <= low || middle >= high) break;
        double atMiddle = 0;
        if (!residual(middle, atMiddle) || !std::isfinite(atMiddle)) return std::nullopt;
        if (atMiddle == 0) return middle;
        if ((atMiddle > 0) == (atLow > 0)) {
            low = middle;
            atLow = atMiddle;
        } else {
            high = middle;
            atHigh = atMiddle;
        }
    }
    const double scale = std::max(std::abs(atStart), std::abs(atEnd));
    const bool lowIsCloser = std::abs(atLow) <= std::abs(atHigh);
    if (std::min(std::abs(atLow), std::abs(atHigh)) > kZeroShare * scale) return std::nullopt;
    return lowIsCloser ? low : high;
}

}  // namespace zl

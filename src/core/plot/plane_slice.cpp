#include "core/plot/plane_slice.h"

namespace zl {

void PlaneSlice::place(PlanePoint at, std::vector<double> &point) const {
    point.assign(base.begin(), base.end());
    const auto size = static_cast<int>(point.size());
    if (xVariable >= 0 && xVariable < size) point[static_cast<std::size_t>(xVariable)] = at.x;
    if (yVariable >= 0 && yVariable < size) point[static_cast<std::size_t>(yVariable)] = at.y;
}

}  // namespace zl

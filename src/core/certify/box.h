#pragma once
// A box: one interval per variable, held in a plain vector.

#include <cstddef>
#include <vector>

#include "core/eval/interval.h"

namespace zl {

using Box = std::vector<Interval>;

inline double maxWidth(const Box &box) {
    double widest = 0;
    for (const Interval &x : box) widest = x.width() > widest ? x.width() : widest;
    return widest;
}

inline std::size_t widestVariable(const Box &box) {
    std::size_t widest = 0;
    for (std::size_t i = 1; i < box.size(); ++i)
        if (box[i].width() > box[widest].width()) widest = i;
    return widest;
}

inline std::vector<double> midpoint(const Box &box) {
    std::vector<double> point(box.size());
    for (std::size_t i = 0; i < box.size(); ++i) point[i] = box[i].mid();
    return point;
}

inline bool boxContains(const Box &outer, const Box &inner) {
    for (std::size_t i = 0; i < outer.size(); ++i)
        if (!outer[i].containsInterval(inner[i])) return false;
    return true;
}

inline bool boxContainsPoint(const Box &box, const double *point) {
    for (std::size_t i = 0; i < box.size(); ++i)
        if (!box[i].contains(point[i])) return false;
    return true;
}

inline bool boxesMeet(const Box &a, const Box &b) {
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].hi < b[i].lo || b[i].hi < a[i].lo) return false;
    return true;
}

inline Box boxHull(const Box &a, const Box &b) {
    Box result(a.size());
    for (std::size_t i = 0; i < a.size(); ++i) result[i] = hull(a[i], b[i]);
    return result;
}

}  // namespace zl

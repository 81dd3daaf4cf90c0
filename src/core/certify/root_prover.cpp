#include "core/certify/root_prover.h"

#include <algorithm>
#include <cmath>

namespace zl {

RootProver::RootProver(const IntervalProgram &program) : newton_(program), pointNewton_(program) {}

std::optional<ProvedRoot> RootProver::proveInBox(const Box &box, const double *center, IntervalWorkspace &workspace) {
    Box narrowed = box;
    const std::vector<double> middle = midpoint(box);
    if (newton_.step(narrowed, center ? center : middle.data(), workspace) != NewtonStep::Proved) return std::nullopt;
    ProvedRoot root{midpoint(narrowed), narrowed, box};
    tighten(root, workspace);
    return root;
}

std::optional<ProvedRoot> RootProver::proveNear(const std::vector<double> &approximate, const Box *cover,
                                                const Box *limits, double maxRadius, IntervalWorkspace &workspace) {
    const std::size_t n = approximate.size();
    std::vector<double> point = approximate;
    // A polish that fails, or leads away to some other root, is not taken.
    bool polished = pointNewton_.converge(point, workspace, 8);
    for (std::size_t i = 0; i < n && polished; ++i)
        if (!(std::fabs(point[i] - approximate[i]) <= maxRadius)) polished = false;
    if (!polished) point = approximate;
    // Radii grow eightfold per attempt: from 2^-40 of each coordinate's scale
    // (a few thousand ulps around a polished root).
    for (double scale = 0x1p-40; scale <= 1.0; scale *= 8) {
        Box box(n);
        bool tooLarge = false;
        for (std::size_t i = 0; i < n; ++i) {
            const double radius = scale * (1 + std::fabs(point[i]));
            if (radius > maxRadius) tooLarge = true;
            box[i] = {nextDown(point[i] - radius), nextUp(point[i] + radius)};
            if (cover) box[i] = hull(box[i], (*cover)[i]);
            if (limits) box[i] = intersect(box[i], (*limits)[i]);
            if (box[i].isEmpty()) return std::nullopt;
        }
        if (tooLarge) return std::nullopt;
        // The steps need their center inside the box, which the limits may cut.
        std::vector<double> center = point;
        for (std::size_t i = 0; i < n; ++i) center[i] = std::clamp(center[i], box[i].lo, box[i].hi);
        Box narrowed = box;
        switch (newton_.step(narrowed, center.data(), workspace)) {
        case NewtonStep::Proved: {
            ProvedRoot root{midpoint(narrowed), narrowed, box};
            tighten(root, workspace);
            return root;
        }
        case NewtonStep::Empty:
            // No root this close; a wider box would only find another one.
            return std::nullopt;
        case NewtonStep::Contracted:
        case NewtonStep::NotApplicable:
            break;
        }
    }
    return std::nullopt;
}

Box RootProver::widestRegion(const ProvedRoot &root, IntervalWorkspace &workspace) {
    const std::size_t n = root.point.size();
    Box widest = root.region;
    Box box(n);
    for (double scale = 0x1p-40; scale <= 1.0; scale *= 4) {
        for (std::size_t i = 0; i < n; ++i) {
            const double radius = scale * (1 + std::fabs(root.point[i]));
            box[i] = {nextDown(root.point[i] - radius), nextUp(root.point[i] + radius)};
        }
        if (boxContains(widest, box)) continue;
        Box narrowed = box;
        if (newton_.step(narrowed, root.point.data(), workspace) != NewtonStep::Proved) break;
        widest = box;
    }
    return widest;
}

void RootProver::tighten(ProvedRoot &root, IntervalWorkspace &workspace) {
    for (int step = 0; step < 8; ++step) {
        Box narrowed = root.enclosure;
        const double before = maxWidth(narrowed);
        const std::vector<double> center = midpoint(narrowed);
        const NewtonStep outcome = newton_.step(narrowed, center.data(), workspace);
        // The root is in the enclosure, so an empty answer cannot be right;
        // whatever went wrong, the enclosure we have stands.
        if (outcome == NewtonStep::Empty || outcome == NewtonStep::NotApplicable) break;
        root.enclosure = narrowed;
        if (!(maxWidth(narrowed) < 0.5 * before)) break;
    }
    root.point = midpoint(root.enclosure);
}

}  // namespace zl

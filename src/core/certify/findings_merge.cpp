#include "core/certify/findings_merge.h"

#include <algorithm>
#include <cstdint>

namespace zl {
namespace {

bool lexicographicallyBefore(const Box &a, const Box &b) {
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].lo != b[i].lo) return a[i].lo < b[i].lo;
        if (a[i].hi != b[i].hi) return a[i].hi < b[i].hi;
    }
    return false;
}

/// The tighter enclosure represents a root; ties go to the earlier box.
bool betterRepresentative(const ProvedRoot &a, const ProvedRoot &b) {
    const double wa = maxWidth(a.enclosure);
    const double wb = maxWidth(b.enclosure);
    if (wa != wb) return wa < wb;
    return lexicographicallyBefore(a.enclosure, b.enclosure);
}

enum class Sameness { Same, Different, Unclear };

Sameness compareRoots(const ProvedRoot &a, const ProvedRoot &b) {
    if (boxContains(a.region, b.enclosure) || boxContains(b.region, a.enclosure)) return Sameness::Same;
    if (!boxesMeet(a.enclosure, b.enclosure)) return Sameness::Different;
    return Sameness::Unclear;
}

/// Merges boxes that touch (directly or through others) into their hulls.
/// A sweep along the first variable compares each box with those it can
/// still meet; past a fixed number of comparisons the rest stay apart, so
/// that a cloud of tiny boxes cannot take long.
std::vector<Box> mergeTouching(std::vector<Box> boxes) {
    constexpr std::int64_t kMaxComparisons = 50'000'000;
    if (boxes.empty()) return boxes;
    std::sort(boxes.begin(), boxes.end(), lexicographicallyBefore);
    std::vector<std::size_t> parent(boxes.size());
    for (std::size_t i = 0; i < parent.size(); ++i) parent[i] = i;
    auto root = [&parent](std::size_t i) {
        while (parent[i] != i) i = parent[i] = parent[parent[i]];
        return i;
    };
    std::vector<std::size_t> active;
    std::int64_t comparisons = 0;
    for (std::size_t i = 0; i < boxes.size() && comparisons < kMaxComparisons; ++i) {
        std::erase_if(active, [&](std::size_t j) { return boxes[j][0].hi < boxes[i][0].lo; });
        for (const std::size_t j : active) {
            ++comparisons;
            if (boxesMeet(boxes[i], boxes[j])) parent[root(i)] = root(j);
        }
        active.push_back(i);
    }
    std::vector<Box> merged;
    std::vector<std::size_t> slot(boxes.size(), boxes.size());
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const std::size_t r = root(i);
        if (slot[r] == boxes.size()) {
            slot[r] = merged.size();
            merged.push_back(boxes[i]);
        } else {
            merged[slot[r]] = boxHull(merged[slot[r]], boxes[i]);
        }
    }
    return merged;
}

}  // namespace

MergedFindings mergeFindings(std::vector<ProvedRoot> proofs, std::vector<Box> undecided) {
    std::sort(proofs.begin(), proofs.end(), [](const ProvedRoot &a, const ProvedRoot &b) {
        return lexicographicallyBefore(a.enclosure, b.enclosure);
    });
    MergedFindings merged;
    for (const ProvedRoot &proof : proofs) {
        bool placed = false;
        for (ProvedRoot &root : merged.roots) {
            const Sameness sameness = compareRoots(root, proof);
            if (sameness == Sameness::Different) continue;
            if (sameness == Sameness::Same) {
                if (betterRepresentative(proof, root)) root = proof;
            } else {
                undecided.push_back(boxHull(root.enclosure, proof.enclosure));
            }
            placed = true;
            break;
        }
        if (!placed) merged.roots.push_back(proof);
    }
    // A box inside a region holds no root but that region's, which is listed.
    std::erase_if(undecided, [&proofs](const Box &box) {
        return std::any_of(proofs.begin(), proofs.end(),
                           [&box](const ProvedRoot &proof) { return boxContains(proof.region, box); });
    });
    std::sort(merged.roots.begin(), merged.roots.end(),
              [](const ProvedRoot &a, const ProvedRoot &b) { return a.point < b.point; });
    merged.undecided = mergeTouching(std::move(undecided));
    std::stable_sort(merged.undecided.begin(), merged.undecided.end(),
                     [](const Box &a, const Box &b) { return maxWidth(a) > maxWidth(b); });
    return merged;
}

}  // namespace zl

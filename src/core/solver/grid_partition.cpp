#include "core/solver/grid_partition.h"

#include <algorithm>
#include <cmath>

#include "core/solver/explore_grid.h"
#include "core/solver/explore_size.h"

namespace zl {
namespace {

/// The shortest stretch, and the most stretches a line is measured in.
constexpr std::uint64_t kMinStretchNodes = 64;
constexpr double kMaxStretchesPerLine = 65536;

}  // namespace

GridPartition::GridPartition(const ProblemSpec &record) : record_(record), last_(record.lastIndex) {
    for (int i = 0; i <= last_; ++i) {
        steps_.push_back(gridStepFor(record.lowerLimits[i], record.upperLimits[i], record.subintervals[i]));
        point_.push_back(record.lowerLimits[i]);
    }
    const double lineValues =
        exploreValueCount(record.lowerLimits[last_], record.upperLimits[last_], record.subintervals[last_]);
    stretchNodes_ =
        std::max(kMinStretchNodes, static_cast<std::uint64_t>(std::ceil(lineValues / kMaxStretchesPerLine)));
    nextStretchStart_ = record.lowerLimits[last_];
}

// As ExploreGrid::canAdvance: below the upper limit, and the step still moves the value.
bool GridPartition::canAdvance(int variable, double x) const {
    return x < record_.upperLimits[variable] && x + steps_[variable] > x;
}

bool GridPartition::measureStretch(std::size_t index) {
    while (stretches_.size() <= index) {
        if (lineMeasured_) return false;
        Stretch stretch{nextStretchStart_, 1};
        double x = stretch.start;
        while (stretch.nodes < stretchNodes_ && canAdvance(last_, x)) {
            x += steps_[last_];
            ++stretch.nodes;
        }
        if (canAdvance(last_, x))
            nextStretchStart_ = x + steps_[last_];
        else
            lineMeasured_ = true;
        stretches_.push_back(stretch);
        lineNodes_ += stretch.nodes;
    }
    return true;
}

// As ExploreGrid::advanceSlowerDigit, on the slower variables alone.
bool GridPartition::advanceSlowerDigits() {
    for (int d = last_ - 1; d >= 0; --d) {
        if (canAdvance(d, point_[d])) {
            point_[d] += steps_[d];
            return true;
        }
        point_[d] = record_.lowerLimits[d];
    }
    return false;
}

void GridPartition::nextLine() {
    nextStretch_ = 0;
    if (!advanceSlowerDigits()) done_ = true;
}

bool GridPartition::next(GridPiece &piece, std::uint64_t nodesWanted) {
    if (done_) return false;
    nodesWanted = std::max<std::uint64_t>(nodesWanted, 1);
    piece.index = nextIndex_++;
    piece.firstNode = nodesBefore_;
    piece.start = point_;
    if (nextStretch_ == 0)  // a short line is measured whole before the first piece of it
        for (std::size_t k = 0; !lineMeasured_ && lineNodes_ < nodesWanted; ++k) measureStretch(k);
    if (nextStretch_ == 0 && lineMeasured_ && lineNodes_ <= nodesWanted) {
        piece.lines = 0;
        piece.continuesLine = false;
        do {
            ++piece.lines;
            nextLine();
        } while (!done_ && (piece.lines + 1) * lineNodes_ <= nodesWanted);
        piece.nodes = piece.lines * lineNodes_;
    } else {
        measureStretch(nextStretch_);
        piece.start[static_cast<std::size_t>(last_)] = stretches_[nextStretch_].start;
        piece.continuesLine = nextStretch_ > 0;
        piece.lines = 0;
        piece.nodes = 0;
        do {
            piece.nodes += stretches_[nextStretch_].nodes;
            ++nextStretch_;
        } while (piece.nodes + stretchNodes_ <= nodesWanted && measureStretch(nextStretch_));
        if (!measureStretch(nextStretch_)) nextLine();
    }
    nodesBefore_ += piece.nodes;
    return true;
}

}  // namespace zl

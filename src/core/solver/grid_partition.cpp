#include "core/solver/grid_partition.h"

#include <algorithm>

#include "core/solver/explore_grid.h"

namespace zl {

GridPartition::GridPartition(const ProblemSpec &record, std::uint64_t nodesPerPiece)
    : record_(record), last_(record.lastIndex), nodesPerPiece_(std::max<std::uint64_t>(nodesPerPiece, 1)) {
    for (int i = 0; i <= last_; ++i) {
        steps_.push_back(gridStepFor(record.lowerLimits[i], record.upperLimits[i], record.subintervals[i]));
        point_.push_back(record.lowerLimits[i]);
    }
    nextStretchStart_ = record.lowerLimits[last_];
    measureStretch(0);
    if (lineMeasured_) linesPerPiece_ = std::max<std::uint64_t>(1, nodesPerPiece_ / stretches_.front().nodes);
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
        while (stretch.nodes < nodesPerPiece_ && canAdvance(last_, x)) {
            x += steps_[last_];
            ++stretch.nodes;
        }
        if (canAdvance(last_, x))
            nextStretchStart_ = x + steps_[last_];
        else
            lineMeasured_ = true;
        stretches_.push_back(stretch);
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

bool GridPartition::next(GridPiece &piece) {
    if (done_) return false;
    piece.index = nextIndex_++;
    piece.firstNode = nodesBefore_;
    piece.start = point_;
    if (linesPerPiece_ > 0) {  // short lines: some whole lines
        piece.lines = 1;
        piece.continuesLine = false;
        for (;;) {
            if (!advanceSlowerDigits()) {
                done_ = true;
                break;
            }
            if (piece.lines == linesPerPiece_) break;
            ++piece.lines;
        }
        piece.nodes = piece.lines * stretches_.front().nodes;
    } else {  // long lines: one stretch of one line
        measureStretch(nextStretch_);
        const Stretch &stretch = stretches_[nextStretch_];
        piece.start[static_cast<std::size_t>(last_)] = stretch.start;
        piece.nodes = stretch.nodes;
        piece.lines = 0;
        piece.continuesLine = nextStretch_ > 0;
        ++nextStretch_;
        if (!measureStretch(nextStretch_)) {  // the line's last stretch
            nextStretch_ = 0;
            if (!advanceSlowerDigits()) done_ = true;
        }
    }
    nodesBefore_ += piece.nodes;
    return true;
}

}  // namespace zl

#pragma once
// Explore's grid cut into pieces, handed out in the order of the walk. A
// piece is some whole lines, or a stretch of one line. Grid values are
// accumulated by repeated addition exactly as the walk does, so a piece
// starts at the very node the walk would reach.

#include <cstdint>
#include <vector>

#include "core/problem/problem_record.h"

namespace zl {

struct GridPiece {
    std::uint64_t index = 0;      ///< in walk order, from 0
    std::uint64_t firstNode = 0;  ///< nodes of the walk before the piece
    std::uint64_t nodes = 0;      ///< nodes of the piece
    std::vector<double> start;    ///< the point at the piece's first node
    /// Whole lines walked from `start`, the slower variables stepped between
    /// them as the walk does; 0 for a stretch of `nodes` nodes of one line.
    std::uint64_t lines = 0;
    bool continuesLine = false;  ///< a stretch that begins after the first node of its line

    std::uint64_t units() const { return nodes; }
};

class GridPartition {
public:
    explicit GridPartition(const ProblemSpec &record);

    /// The next piece in walk order, of about `nodesWanted` nodes: as many
    /// whole lines as fit, else a stretch of the line under way. False when
    /// the grid is done.
    bool next(GridPiece &piece, std::uint64_t nodesWanted);

private:
    /// A stretch of the last variable's values: where it starts, how many nodes.
    struct Stretch {
        double start = 0;
        std::uint64_t nodes = 0;
    };
    bool canAdvance(int variable, double x) const;
    /// Measures stretches until stretch `index` is known; false when the line
    /// ends before it.
    bool measureStretch(std::size_t index);
    bool advanceSlowerDigits();
    void nextLine();

    const ProblemSpec &record_;
    const int last_;
    std::vector<double> steps_;
    std::vector<double> point_;  ///< the first node of the line under way

    // The last variable's values are the same on every line: they are measured
    // once, as they are first needed, in stretches of stretchNodes_ nodes, so
    // that the stretches of even the longest line take little memory.
    std::uint64_t stretchNodes_ = 0;
    std::vector<Stretch> stretches_;
    double nextStretchStart_ = 0;
    bool lineMeasured_ = false;
    std::uint64_t lineNodes_ = 0;  ///< nodes of a line, measured so far

    std::size_t nextStretch_ = 0;  ///< where the line under way goes on
    std::uint64_t nextIndex_ = 0;
    std::uint64_t nodesBefore_ = 0;
    bool done_ = false;
};

}  // namespace zl

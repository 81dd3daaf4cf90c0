#pragma once
// A run's progress on stderr: on a terminal one line rewritten in place, for
// logs a plain line at a time.

#include <iosfwd>
#include <string>

#include "core/solver/run_control.h"

namespace zl::cli {

enum class ProgressStyle {
    None,
    InPlace,  ///< one line, rewritten (a terminal)
    Lines,    ///< one plain line per report (a log)
};

/// "Explore: 1234567 of 8120601 nodes (15%), 2 solutions, 3 s, about 17 s left".
std::string progressText(const RunProgress &progress);

class ProgressDisplay : public RunObserver {
public:
    ProgressDisplay(std::ostream &err, ProgressStyle style) : err_(err), style_(style) {}
    ~ProgressDisplay() override { clear(); }

    void runProgress(const RunProgress &progress) override;
    /// Removes the rewritten line, so that what follows starts on a clean line.
    void clear();

private:
    std::ostream &err_;
    ProgressStyle style_;
    bool lineShown_ = false;
};

}  // namespace zl::cli

#pragma once
// A solution list that a run on one thread fills and another thread reads:
// the hand-off between a run on a worker thread and the window that shows it.
// Every member may be called from any thread.

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "core/solver/solution_list_view.h"

namespace zl {

class SolutionLineQueue : public SolutionListView {
public:
    /// What arrived since the last take(), in order.
    struct Batch {
        bool cleared = false;  ///< the list was cleared first; `lines` follow the clear
        std::vector<std::string> lines;
        std::optional<std::string> countText;  ///< the latest count text, if it was set

        bool empty() const { return !cleared && lines.empty() && !countText; }
    };

    void appendLine(const std::string &line) override;
    void clearLines() override;
    void setCountText(const std::string &text) override;

    Batch take();

private:
    std::mutex mutex_;
    Batch pending_;
};

}  // namespace zl

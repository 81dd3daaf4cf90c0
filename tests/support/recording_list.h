#pragma once
// A solution list that keeps what a run writes: its lines and its count text.

#include <string>
#include <vector>

#include "core/solver/solution_list_view.h"

namespace zl::testing {

class RecordingList : public SolutionListView {
public:
    void appendLine(const std::string &line) override { lines.push_back(line); }
    void clearLines() override { lines.clear(); }
    void setCountText(const std::string &text) override { countText = text; }

    std::vector<std::string> lines;
    std::string countText;
};

}  // namespace zl::testing

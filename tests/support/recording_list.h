#pragma once
// A solution list that keeps what a run writes: its lines and its count text,
// and in `events` the lines with "<yield>" markers among them.

#include <string>
#include <vector>

#include "core/solver/solution_list_view.h"

namespace zl::testing {

class RecordingList : public SolutionListView {
public:
    void appendLine(const std::string &line) override {
        lines.push_back(line);
        events.push_back(line);
    }
    void clearLines() override { lines.clear(); }
    void setCountText(const std::string &text) override { countText = text; }
    void yieldToWindow() override { events.emplace_back("<yield>"); }

    std::vector<std::string> lines, events;
    std::string countText = "unset";
};

}  // namespace zl::testing

#pragma once
// The solution list on a terminal: every line is printed as it arrives, and
// the count label becomes the last line.

#include <ostream>
#include <string>

#include "cli/progress_display.h"
#include "core/solver/solution_list_view.h"

namespace zl::cli {

class StreamListView : public SolutionListView {
public:
    /// `progress`, if given, shares the terminal: its line is cleared before a list line.
    explicit StreamListView(std::ostream &out, ProgressDisplay *progress = nullptr) : out_(out), progress_(progress) {}

    void appendLine(const std::string &line) override {
        if (progress_) progress_->clear();
        out_ << line << '\n';
    }
    // A terminal cannot take lines back; a run only clears the list before it starts.
    void clearLines() override {}
    void setCountText(const std::string &text) override { countText_ = text; }

    void printCount() { out_ << countText_ << '\n'; }

private:
    std::ostream &out_;
    ProgressDisplay *progress_;
    std::string countText_;
};

}  // namespace zl::cli

#pragma once
// Where the solver's list lines go: the window's solution list, or standard
// output in the command line. The solver only appends lines, clears the list
// and sets the count label; it never formats for a particular display.

#include <string>

namespace zl {

class SolutionListView {
public:
    virtual ~SolutionListView() = default;
    virtual void appendLine(const std::string &line) = 0;
    virtual void clearLines() = 0;
    /// The count label: "N solutions", or "" when the list is cleared.
    virtual void setCountText(const std::string &text) = 0;
    /// Lets the window process pending events between seeds; a no-op elsewhere.
    virtual void yieldToWindow() {}
};

}  // namespace zl

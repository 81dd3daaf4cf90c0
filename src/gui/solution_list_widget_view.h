#pragma once
// The solver's list lines shown in the window: lines in the list box, the
// count in its label, and the window kept responsive between seeds.

#include "core/solver/solution_list_view.h"

class QLabel;
class QListWidget;

namespace zl::gui {

class SolutionListWidgetView : public SolutionListView {
public:
    SolutionListWidgetView(QListWidget &lines, QLabel &count) : lines_(lines), count_(count) {}

    void appendLine(const std::string &line) override;
    void clearLines() override;
    void setCountText(const std::string &text) override;
    /// Processes pending window events so that the list repaints during a run.
    void yieldToWindow() override;

private:
    QListWidget &lines_;
    QLabel &count_;
};

}  // namespace zl::gui

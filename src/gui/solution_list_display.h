#pragma once
// The solver's list lines shown in the window: lines in the list's model, the
// count in its label. The list follows new lines while it is scrolled to its
// end; a user who scrolled up to read keeps the place.

#include <string>
#include <vector>

#include "core/solver/solution_list_view.h"

class QLabel;
class QAbstractItemView;

namespace zl::gui {

class SolutionListModel;

class SolutionListDisplay : public SolutionListView {
public:
    SolutionListDisplay(QAbstractItemView &view, SolutionListModel &model, QLabel &count)
        : view_(view), model_(model), count_(count) {}

    void appendLine(const std::string &line) override;
    void clearLines() override;
    void setCountText(const std::string &text) override;
    /// Many lines at once, as a run hands them over.
    void appendLines(std::vector<std::string> lines);

private:
    QAbstractItemView &view_;
    SolutionListModel &model_;
    QLabel &count_;
};

}  // namespace zl::gui

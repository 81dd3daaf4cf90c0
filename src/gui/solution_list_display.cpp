#include "gui/solution_list_display.h"

#include <QAbstractItemView>
#include <QLabel>
#include <QScrollBar>

#include "gui/solution_list_model.h"

namespace zl::gui {

void SolutionListDisplay::appendLine(const std::string &line) { appendLines({line}); }

void SolutionListDisplay::appendLines(std::vector<std::string> lines) {
    const QScrollBar *bar = view_.verticalScrollBar();
    const bool following = bar->value() == bar->maximum();
    model_.appendLines(std::move(lines));
    if (following) view_.scrollToBottom();
}

void SolutionListDisplay::clearLines() { model_.clear(); }

void SolutionListDisplay::setCountText(const std::string &text) { count_.setText(QString::fromStdString(text)); }

}  // namespace zl::gui

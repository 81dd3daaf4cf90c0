#include "gui/solution_list_widget_view.h"

#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>

namespace zl::gui {

void SolutionListWidgetView::appendLine(const std::string &line) {
    lines_.addItem(QString::fromStdString(line));
    lines_.scrollToBottom();
}

void SolutionListWidgetView::clearLines() { lines_.clear(); }

void SolutionListWidgetView::setCountText(const std::string &text) { count_.setText(QString::fromStdString(text)); }

void SolutionListWidgetView::yieldToWindow() { QCoreApplication::processEvents(); }

}  // namespace zl::gui

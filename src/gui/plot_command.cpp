#include "gui/plot_command.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

#include <string>

#include "core/eval/equation_evaluator.h"
#include "core/plot/solution_rows.h"
#include "gui/main_window.h"
#include "gui/plot_window.h"
#include "gui/solution_list_model.h"

namespace zl::gui {

PlotCommand::PlotCommand(MainWindow &window, UserDialogs &dialogs)
    : window_(window), plotWindow_(std::make_unique<PlotWindow>(dialogs)) {
    // The plot evaluates in the window's engine, which a run is using.
    plotWindow_->setEvaluationGate([this] { return !window_.runUnderWay(); });
    connect(&window_, &MainWindow::plotRequested, this, &PlotCommand::plot);
    connect(plotWindow_.get(), &PlotWindow::solutionClicked, this, &PlotCommand::selectInList);
    connect(window_.solutionList().selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { listRowChanged(current.row()); });
}

PlotCommand::~PlotCommand() = default;

void PlotCommand::plot() {
    if (window_.runUnderWay()) return;
    std::unique_ptr<PlotInput> input = problemToPlot();
    if (!input) return;
    plotWindow_->showInput(std::move(input));
    plotWindow_->show();
    plotWindow_->raise();
    plotWindow_->activateWindow();
}

// The plot has a copy of the problem and residuals of its own, compiled in the
// window's engine as a run compiles them: drawing it changes nothing a run,
// Save or Print reads.
std::unique_ptr<PlotInput> PlotCommand::problemToPlot() {
    auto input = std::make_unique<PlotInput>();
    input->problem = window_.problem();
    const ProblemFieldTexts texts = window_.fieldTexts();
    input->equations = texts.equations;
    auto evaluator = std::make_unique<EquationEvaluator>(window_.engine(), window_.library(), input->problem);
    if (evaluator->prepareEquations(window_.constantItems(), texts)) return nullptr;
    input->residuals = std::move(evaluator);
    return input;
}

std::vector<int> PlotCommand::groupRows() const {
    const ProblemState *problem = plotWindow_->problem();
    if (!problem) return {};
    return solutionGroupRows(window_.solutionLines().lines(), *problem);
}

void PlotCommand::selectInList(int solution) {
    const std::vector<int> rows = groupRows();
    if (solution < 1 || static_cast<std::size_t>(solution) > rows.size()) return;
    const int first = rows[static_cast<std::size_t>(solution - 1)];
    if (first < 0) return;
    const int last = first + plotWindow_->problem()->record.order - 1;
    QAbstractItemView &list = window_.solutionList();
    const QModelIndex firstLine = list.model()->index(first, 0);
    const QModelIndex lastLine = list.model()->index(last, 0);
    selectingInList_ = true;
    list.selectionModel()->setCurrentIndex(firstLine, QItemSelectionModel::ClearAndSelect);
    list.selectionModel()->select(QItemSelection(firstLine, lastLine), QItemSelectionModel::ClearAndSelect);
    list.scrollTo(lastLine);
    list.scrollTo(firstLine);
    selectingInList_ = false;
}

void PlotCommand::listRowChanged(int row) {
    if (selectingInList_ || !plotWindow_->isVisible() || !plotWindow_->problem()) return;
    const int solution = solutionAtRow(groupRows(), plotWindow_->problem()->record.order, row);
    if (solution != 0) plotWindow_->selectSolution(solution);
}

}  // namespace zl::gui

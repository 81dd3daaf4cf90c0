#include "gui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QThread>

#include <algorithm>
#include <cassert>
#include <tuple>

#include "core/numbers/number_reading.h"
#include "core/numbers/number_text.h"
#include "core/problem/field_rules.h"
#include "core/problem/residual_system.h"
#include "core/session/run_estimate.h"
#include "core/solver/compute.h"
#include "core/solver/explore_size.h"
#include "gui/constants_box.h"
#include "gui/focus_guard.h"
#include "gui/line_list_view.h"
#include "gui/run_controller.h"
#include "gui/select_all_on_focus.h"
#include "gui/solution_list_display.h"
#include "gui/solution_list_model.h"
#include "gui/user_dialogs.h"

namespace zl::gui {

namespace {

std::string textOf(const QLineEdit *field) { return field->text().toStdString(); }

double readingOf(const QLineEdit *field) { return readLeadingNumber(textOf(field)); }

}  // namespace

// While a run is under way the window accepts no edit and no second command:
// the store and the record are the run's. The fields, buttons and menus are
// disabled, the grid refuses edits, and a close request stops the run and
// closes the window once the run has ended. The solution list stays
// scrollable; Stop (and Esc) is available only now.
class MainWindow::RunLock {
public:
    explicit RunLock(MainWindow &window) : window_(window), focus_(QApplication::focusWidget()) {
        window_.runUnderWay_ = true;
        QApplication::setOverrideCursor(Qt::BusyCursor);  // busy, but the window answers
        setEditingEnabled(false);
        window_.ui_.cmdStop->setEnabled(true);
    }
    ~RunLock() {
        window_.ui_.cmdStop->setEnabled(false);
        setEditingEnabled(true);
        window_.updateRunCommands();
        QApplication::restoreOverrideCursor();
        if (focus_) focus_->setFocus();
        window_.runUnderWay_ = false;
        if (window_.closeRequested_) QMetaObject::invokeMethod(&window_, &QWidget::close, Qt::QueuedConnection);
    }
    RunLock(const RunLock &) = delete;
    RunLock &operator=(const RunLock &) = delete;

private:
    void setEditingEnabled(bool enabled) {
        // A disabled parent keeps its children's own disabled state, so the
        // fields fixed for good stay disabled afterwards.
        for (QWidget *panel : window_.ui_.editingPanels) panel->setEnabled(enabled);
        window_.menuBar()->setEnabled(enabled);
        window_.gridModel_.setEditingLocked(!enabled);
    }

    MainWindow &window_;
    QPointer<QWidget> focus_;
};

// One command of the window that runs the engine. However often the engine
// complains during it, the user sees one error box; outside commands (a
// printed report evaluating residuals) every error shows its box.
class MainWindow::EngineCommand {
public:
    explicit EngineCommand(MainWindow &window) : window_(window) {
        if (window_.engineCommandDepth_++ == 0) window_.scriptErrorShown_ = false;
    }
    ~EngineCommand() {
        if (--window_.engineCommandDepth_ == 0) window_.scriptErrorShown_ = false;
    }
    EngineCommand(const EngineCommand &) = delete;
    EngineCommand &operator=(const EngineCommand &) = delete;

private:
    MainWindow &window_;
};

MainWindow::MainWindow(UserDialogs &dialogs, QWidget *parent)
    : QMainWindow(parent), dialogs_(dialogs), problem_(session_.problem()), random_(RandomSource::fromClock()),
      ui_(buildMainWindowControls(*this)) {
    setObjectName(QStringLiteral("frmRootex"));
    setWindowTitle(QStringLiteral("Zerolith"));
    listModel_ = new SolutionListModel(ui_.lstRoots);
    ui_.lstRoots->setModel(listModel_);
    listView_ = std::make_unique<SolutionListDisplay>(*ui_.lstRoots, *listModel_, *ui_.lblRoots);
    runs_ = std::make_unique<RunController>(RunController::Sinks{
        [this](SolutionLineQueue::Batch batch) {
            if (batch.cleared) listView_->clearLines();
            listView_->appendLines(std::move(batch.lines));
            if (batch.countText) listView_->setCountText(*batch.countText);
        },
        [this](const RunProgress &progress) { showRunProgress(progress); },
        [this] { runFinished(); },
    });
    focusGuard_ = new FocusGuard(this);
    selectAll_ = new SelectAllOnFocus(this);

    setUpEngine();
    setUpMenus();
    setUpProblemFields();
    setUpParameterFields();
    connectCommands();

    ui_.lblVarNam->setText(QStringLiteral("Enter the names of the independent variables, separated by commas:"));
    ui_.lblEqNum->setText(QStringLiteral("1"));
    problem_.record.currentVariable = 1;
    problem_.record.randomSeeds = 0;
    problem_.store.solutionCount = 0;
    evaluator().clearLastErrorNumber();
    gridModel_.setEquationText(0, ui_.txtEquation->at(0)->text());
    ui_.cmdPrevEq->setEnabled(false);
    ui_.cmdNextEq->setEnabled(false);
    ui_.cmdPrevLim->setEnabled(false);
    ui_.cmdNextLim->setEnabled(false);
    updateRunCommands();
    ui_.txtOrder->setFocus();
}

QAbstractItemView &MainWindow::solutionList() { return *ui_.lstRoots; }

MainWindow::~MainWindow() {
    runs_->stopAndWait();  // the run uses the session
    // The controls go first, while the state their handlers touch still exists.
    delete focusGuard_;
    delete takeCentralWidget();
}

// The session has run the start-up statements; from now on the window shows
// its errors. A run's errors arrive on its worker and are shown here, in order.
void MainWindow::setUpEngine() {
    session_.setErrorObserver([this](const ScriptError &error) {
        if (QThread::currentThread() == thread())
            onScriptError(error);
        else if (!isRecoverableError(error.number))
            runs_->postToWindowThread([this, error] { onScriptError(error); });
    });
}

void MainWindow::setUpMenus() {
    ui_.mnuSave->setEnabled(false);
    ui_.mnuSaveAs->setEnabled(false);
    ui_.mnuPrint->setVisible(false);
    ui_.mnuAbout->setVisible(false);
    connect(ui_.mnuOpen, &QAction::triggered, this, &MainWindow::openRequested);
    connect(ui_.mnuSave, &QAction::triggered, this, &MainWindow::saveRequested);
    connect(ui_.mnuSaveAs, &QAction::triggered, this, &MainWindow::saveAsRequested);
    connect(ui_.mnuPrint, &QAction::triggered, this, &MainWindow::printRequested);
    connect(ui_.mnuPlot, &QAction::triggered, this, &MainWindow::plotRequested);
    connect(ui_.mnuHelp, &QAction::triggered, this, &MainWindow::helpRequested);
    connect(ui_.mnuAbout, &QAction::triggered, this, &MainWindow::aboutRequested);
}

void MainWindow::connectCommands() {
    connect(ui_.cmdNextEq, &QPushButton::clicked, this, [this] { showNextEquation(+1); });
    connect(ui_.cmdPrevEq, &QPushButton::clicked, this, [this] { showNextEquation(-1); });
    connect(ui_.cmdShowAll, &QPushButton::clicked, this, &MainWindow::showAllEquations);
    connect(ui_.cmdNextLim, &QPushButton::clicked, this, [this] { showNextVariable(+1); });
    connect(ui_.cmdPrevLim, &QPushButton::clicked, this, [this] { showNextVariable(-1); });
    connect(ui_.cmdExplore, &QPushButton::clicked, this, [this] { runCommand(RunKind::Explore); });
    connect(ui_.cmdRandom, &QPushButton::clicked, this, [this] { runCommand(RunKind::Random); });
    connect(ui_.cmdCertify, &QPushButton::clicked, this, [this] { runCommand(RunKind::Certify); });
    connect(ui_.cmdStop, &QPushButton::clicked, runs_.get(), &RunController::requestStop);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (runUnderWay_) runs_->requestStop();
    });
    connect(ui_.cmdPlot, &QPushButton::clicked, this, &MainWindow::plotRequested);
    connect(ui_.cmdExit, &QPushButton::clicked, this, &MainWindow::cmdExit_Click);
    connect(&gridModel_, &EquationGridModel::equationsEditedInGrid, this, &MainWindow::copyGridIntoEquationFields);

    constants_ = new ConstantsBox(*ui_.cboConstants, *ui_.cmdAddCons, *ui_.cmdRemCons, problem_.record, dialogs_,
                                  [this](std::string_view statement) {
                                      const EngineCommand command(*this);
                                      // A failed statement has shown its box; the list has
                                      // dropped the removed item either way.
                                      std::ignore = executeStatement(statement);
                                  });
    connect(constants_, &ConstantsBox::textChanged, this, &MainWindow::ClearSolutions);
}

// ---- Order and names ----------------------------------------------------

void MainWindow::setUpProblemFields() {
    selectAll_->attach(ui_.txtOrder);
    focusGuard_->guard(
        ui_.txtOrder, [this] { return orderFieldValid(); }, [this] { commitOrder(); });
    selectAll_->attach(ui_.txtVarNams);
    focusGuard_->guard(
        ui_.txtVarNams, [this] { return namesFieldValid(); }, [this] { commitNames(); });
    setUpIndexFields(0);
}

bool MainWindow::orderFieldValid() const { return orderFromText(textOf(ui_.txtOrder)).has_value(); }

void MainWindow::commitOrder() {
    const auto order = orderFromText(textOf(ui_.txtOrder));
    if (!order || !ui_.txtOrder->isEnabled()) return;
    problem_.sizeProblem(*order);
    ui_.txtOrder->setEnabled(false);
    ui_.mnuOpen->setEnabled(false);
    gridModel_.setRowCount(*order);
    enableNavigation();
    if (ui_.txtVarNams->isEnabled()) {
        LoadObjects();
        ui_.txtVarNams->setFocus();
    }
}

bool MainWindow::namesFieldValid() const {
    const ProblemSpec &record = problem_.record;
    // Before the order is set the names can be neither checked nor kept: the
    // field lets the user go back to the order field.
    if (record.loadingFile || !record.hasProblem()) return true;
    return namesFromText(textOf(ui_.txtVarNams), record.order).has_value();
}

void MainWindow::commitNames() {
    ProblemSpec &record = problem_.record;
    if (record.loadingFile || !record.hasProblem() || !ui_.txtVarNams->isEnabled()) return;
    auto names = namesFromText(textOf(ui_.txtVarNams), record.order);
    if (!names) return;
    record.varNames = std::move(*names);
    ui_.txtVarNams->setEnabled(false);
    gridModel_.setVariablesCaption(QStringLiteral("Variables: ") + ui_.txtVarNams->text());
    gridModel_.writeRowLabels();
    ui_.lblVarNum->setText(QString::fromStdString(record.varNames.front()));
    enableProblemMenus();
    updateRunCommands();
}

void MainWindow::lockProblemShape() {
    ui_.txtOrder->setEnabled(false);
    ui_.txtVarNams->setEnabled(false);
    ui_.mnuOpen->setEnabled(false);
    gridModel_.setRowCount(problem_.record.order);
    enableNavigation();
    updateRunCommands();
}

void MainWindow::enableNavigation() {
    const bool sized = problem_.record.hasProblem();
    for (QPushButton *button : {ui_.cmdPrevEq, ui_.cmdNextEq, ui_.cmdPrevLim, ui_.cmdNextLim})
        button->setEnabled(sized);
}

void MainWindow::enableProblemMenus() {
    ui_.mnuSave->setEnabled(true);
    ui_.mnuSaveAs->setEnabled(true);
    ui_.mnuPrint->setVisible(true);
    ui_.mnuAbout->setVisible(true);
}

// ---- Per-index fields ---------------------------------------------------

void MainWindow::setUpIndexFields(int index) {
    QLineEdit *equation = ui_.txtEquation->at(index);
    selectAll_->attach(equation);
    focusGuard_->guard(equation, [equation] { return !equation->text().isEmpty(); });
    connect(equation, &QLineEdit::textChanged, this, [this, index] { equationTextChanged(index); });

    for (QLineEdit *limit : {ui_.txtLL->at(index), ui_.txtUL->at(index)}) {
        selectAll_->attach(limit);
        focusGuard_->guard(limit, [limit] { return limitFromText(textOf(limit)).has_value(); });
    }
    selectAll_->attach(ui_.txtSubintervals->at(index));  // any text: a run reads its number
}

void MainWindow::LoadObjects() {
    const int firstNew = ui_.txtEquation->count();
    for (int i = firstNew; i < problem_.record.order; ++i) {
        ui_.txtSubintervals->appendCopyOfFirst();
        ui_.txtUL->appendCopyOfFirst();
        ui_.txtLL->appendCopyOfFirst();
        ui_.txtEquation->appendCopyOfFirst();
        setUpIndexFields(i);
        gridModel_.setEquationText(i, ui_.txtEquation->at(i)->text());
    }
    if (firstNew < ui_.txtEquation->count()) insertCopiesInTabOrder(firstNew);
}

// Equation fields follow one another; after the shown variable's interval
// fields come lower, upper and subintervals of each further variable. Hidden
// fields take no focus, so Tab stays within the variable on show.
void MainWindow::insertCopiesInTabOrder(int firstNewIndex) {
    QWidget *previous = ui_.txtEquation->at(firstNewIndex - 1);
    for (int i = firstNewIndex; i < ui_.txtEquation->count(); ++i) {
        QWidget::setTabOrder(previous, ui_.txtEquation->at(i));
        previous = ui_.txtEquation->at(i);
    }
    previous = ui_.txtSubintervals->at(firstNewIndex - 1);
    for (int i = firstNewIndex; i < ui_.txtSubintervals->count(); ++i) {
        for (QWidget *field : {ui_.txtLL->at(i), ui_.txtUL->at(i), ui_.txtSubintervals->at(i)}) {
            QWidget::setTabOrder(previous, field);
            previous = field;
        }
    }
}

void MainWindow::equationTextChanged(int index) {
    ClearSolutions();
    gridModel_.setEquationText(index, ui_.txtEquation->at(index)->text());
}

void MainWindow::EditEq(int index) {
    if (index < 0 || index >= ui_.txtEquation->count()) return;
    ui_.txtEquation->showOnly(index);
    ui_.txtEquation->at(index)->setFocus();
}

void MainWindow::showNextEquation(int step) {
    const std::int32_t order = problem_.record.order;
    if (order < 1) return;
    // The label is the navigation's only state.
    std::int32_t n = roundToInt32(readLeadingNumber(ui_.lblEqNum->text().toStdString())).value_or(1);
    if (step > 0)
        n = n >= order ? 1 : n + 1;
    else
        n = n <= 1 ? order : n - 1;
    ui_.lblEqNum->setText(QString::number(n));
    EditEq(n - 1);
}

void MainWindow::EditLimit(int index) {
    if (index < 0 || index >= ui_.txtLL->count()) return;
    ui_.txtLL->showOnly(index);
    ui_.txtUL->showOnly(index);
    ui_.txtSubintervals->showOnly(index);
    ui_.txtLL->at(index)->setFocus();
}

void MainWindow::showNextVariable(int step) {
    ProblemSpec &record = problem_.record;
    if (record.order < 1) return;
    std::int32_t n = std::clamp(record.currentVariable, 1, record.order);
    if (step > 0)
        n = n == record.order ? 1 : n + 1;
    else
        n = n == 1 ? record.order : n - 1;
    record.currentVariable = n;
    if (static_cast<std::size_t>(n) <= record.varNames.size())
        ui_.lblVarNum->setText(QString::fromStdString(record.varNames[static_cast<std::size_t>(n - 1)]));
    EditLimit(n - 1);
}

void MainWindow::showAllEquations() {
    for (int n = 0; n < ui_.txtEquation->count(); ++n) gridModel_.setEquationText(n, ui_.txtEquation->at(n)->text());
    emit showAllRequested();
}

void MainWindow::copyGridIntoEquationFields() {
    const int rows = std::min(gridModel_.rowCount(), ui_.txtEquation->count());
    for (int n = 0; n < rows; ++n) ui_.txtEquation->at(n)->setText(gridModel_.equationText(n));
}

// ---- Solver parameters --------------------------------------------------

void MainWindow::setUpParameterFields() {
    selectAll_->attach(ui_.txtError);
    ui_.txtError->installEventFilter(this);
    focusGuard_->guard(
        ui_.txtError, [this] { return errorFieldValid(); }, [this] { errorFieldLeft(); });

    selectAll_->attach(ui_.txtMaxcy);
    connect(ui_.txtMaxcy, &QLineEdit::textChanged, this, &MainWindow::ClearSolutions);
    focusGuard_->guard(ui_.txtMaxcy, [this] { return normaliseIterationsField(); });

    selectAll_->attach(ui_.txtRand);
    focusGuard_->guard(ui_.txtRand, [this] { return seedsFieldValid(); });
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event) {
    if (watched == ui_.txtError && event->type() == QEvent::FocusIn)
        problem_.record.errorOnEntry = readingOf(ui_.txtError);
    return QMainWindow::eventFilter(watched, event);
}

bool MainWindow::errorFieldValid() const { return errorBoundFromText(textOf(ui_.txtError)).has_value(); }

// Solutions found with a looser bound may not meet a tighter one; a looser
// bound keeps them.
void MainWindow::errorFieldLeft() {
    ProblemSpec &record = problem_.record;
    record.maxError = readingOf(ui_.txtError);
    if (record.maxError < record.errorOnEntry) ClearSolutions();
}

// The normal form replaces the text (a change, which clears the solutions)
// and is stored before it is judged, so a refused value stays in the field and
// the record. A text without a normal form stays as typed and is refused.
bool MainWindow::normaliseIterationsField() {
    const auto cycles = iterationsNormalForm(textOf(ui_.txtMaxcy));
    if (!cycles) return false;
    const QString normal = QString::number(*cycles);
    if (normal != ui_.txtMaxcy->text()) ui_.txtMaxcy->setText(normal);
    problem_.record.maxCycles = *cycles;
    return isUsableIterations(*cycles);
}

bool MainWindow::seedsFieldValid() const { return randomSeedsFromText(textOf(ui_.txtRand)).has_value(); }

// ---- Runs ---------------------------------------------------------------

bool MainWindow::problemReady() const {
    const ProblemSpec &record = problem_.record;
    return namesFitOrder(record.varNames, record.order);
}

void MainWindow::updateRunCommands() {
    ui_.cmdExplore->setEnabled(problemReady());
    ui_.cmdRandom->setEnabled(problemReady());
    ui_.cmdCertify->setEnabled(problemReady());
    ui_.cmdPlot->setEnabled(problemReady());
    ui_.mnuPlot->setEnabled(problemReady());
}

namespace {

/// Asked only for a walk estimated at more than a minute.
constexpr std::chrono::minutes kLongestUnaskedRun{1};
/// Below this a walk cannot take a minute (a node would have to cost 0.6 ms),
/// so the sample that times it is not worth its milliseconds.
constexpr double kNodesWorthTiming = 1e5;
constexpr std::chrono::milliseconds kEstimateSample{10};

QString longRunQuestion(double nodes, std::chrono::duration<double> time) {
    return QStringLiteral("Explore will visit %1 grid nodes, which will take %2.\n"
                          "A run can be stopped with Stop or Esc, keeping what it has found.\n\n"
                          "Start the run?")
        .arg(QString::fromStdString(generalNumberText(nodes)), QString::fromStdString(roughDurationText(time.count())));
}

}  // namespace

void MainWindow::runCommand(RunKind kind) {
    if (runUnderWay_ || !problemReady()) return;
    RunRequest request;
    request.kind = kind;
    request.constantItems = constants_->items();
    request.fields = fieldTexts();
    request.insideBoxOnly = ui_.chkInsideBox->isChecked();
    request.proveSolutions = ui_.chkProve->isChecked();
    if (kind == RunKind::Random) {
        request.seeds = randomSeedsFromText(textOf(ui_.txtRand)).value_or(0);
        request.random = &random_;
    }
    runLock_ = std::make_unique<RunLock>(*this);
    runEngineCommand_ = std::make_unique<EngineCommand>(*this);
    ui_.prgRun->setValue(0);
    ui_.lblProgress->clear();
    ui_.prgRun->show();
    ui_.lblProgress->show();
    const int threads = 0;  // every hardware thread
    runs_->start(
        [this, request = std::move(request)](SolutionListView &lines, const RunOptions &options) mutable {
            request.options = options;
            request.approve = [this, &request, &options](const ProblemSpec &record) {
                switch (request.kind) {
                case RunKind::Random:
                    return request.seeds >= 1;
                case RunKind::Certify:
                    return true;  // its boxes shrink as it goes: no node count to ask about
                case RunKind::Explore:
                    break;
                }
                return approveExplore(record, options.threads);
            };
            const RunCommandResult result = session_.runCommand(request, lines);
            if (result.constantFailure)
                runs_->postToWindowThread(
                    [this, failure = *result.constantFailure] { reportConstantFailure(failure); });
        },
        threads);
}

bool MainWindow::approveExplore(const ProblemSpec &record, int threads) {
    const double nodes = exploreNodeCount(record);
    if (nodes < kNodesWorthTiming) return true;
    // The declaration before the walk left the variables without a kind, which
    // the first evaluations give them: after those the residuals are linked
    // afresh and timed the way the walk's workers run them.
    EquationEvaluator &residuals = session_.evaluator();
    if (!estimateExplore(record, residuals, std::chrono::milliseconds(0)))
        return true;  // a failure ends the run at once
    residuals.compileResiduals();
    const std::optional<ExploreEstimate> estimate = estimateExplore(record, residuals, kEstimateSample);
    if (!estimate || estimate->time(threads) <= kLongestUnaskedRun) return true;  // a failure ends it at once
    const QString question = longRunQuestion(nodes, estimate->time(threads));
    return runs_->askOnWindowThread([this, question] { return dialogs_.confirmLongRun(this, question); });
}

void MainWindow::showRunProgress(const RunProgress &progress) {
    const double done = progress.total > 0 ? static_cast<double>(progress.done) / progress.total : 0;
    ui_.prgRun->setValue(static_cast<int>(std::clamp(done, 0.0, 1.0) * kProgressSteps));
    ui_.lblProgress->setText(QString::fromStdString(runProgressText(progress)));
}

void MainWindow::runFinished() {
    ui_.prgRun->hide();
    ui_.lblProgress->hide();
    runEngineCommand_.reset();
    runLock_.reset();
}

void MainWindow::reportConstantFailure(const ConstantFailure &failure) {
    if (failure.engineError && !isRecoverableError(failure.number)) return;  // the error box named it
    dialogs_.showMessage(this, QStringLiteral("The constant %1 cannot be computed:\n%2 (error %3).")
                                   .arg(QString::fromStdString(failure.constant),
                                        QString::fromStdString(failure.description), QString::number(failure.number)));
}

ProblemFieldTexts MainWindow::fieldTexts() const {
    ProblemFieldTexts texts;
    for (int i = 0; i < problem_.record.order; ++i) {
        texts.equations.push_back(textOf(ui_.txtEquation->at(i)));
        texts.lowerLimits.push_back(textOf(ui_.txtLL->at(i)));
        texts.upperLimits.push_back(textOf(ui_.txtUL->at(i)));
        texts.subintervals.push_back(textOf(ui_.txtSubintervals->at(i)));
    }
    texts.errorBound = textOf(ui_.txtError);
    texts.iterations = textOf(ui_.txtMaxcy);
    return texts;
}

const std::vector<std::string> &MainWindow::constantItems() const { return constants_->items(); }

bool MainWindow::RegisterConstants() {
    const EngineCommand command(*this);
    const std::optional<ConstantFailure> failure = session_.registerConstants(constants_->items());
    if (failure) reportConstantFailure(*failure);
    return !failure;
}

bool MainWindow::ListSolutions() {
    const EngineCommand command(*this);
    return session_.listSolutions(*listView_) == 0;
}

void MainWindow::ClearSolutions() { session_.clearSolutions(*listView_); }

bool MainWindow::executeStatement(std::string_view statement) {
    return !engine().executeStatement(statement);  // a failure has reached onScriptError already
}

void MainWindow::onScriptError(const ScriptError &error) {
    if (isRecoverableError(error.number) || scriptErrorShown_) return;
    scriptErrorShown_ = engineCommandDepth_ > 0;
    QApplication::setOverrideCursor(Qt::ArrowCursor);  // not the busy pointer over the box
    dialogs_.showScriptError(this, QString::fromStdString(scriptErrorMessage(error)));
    QApplication::restoreOverrideCursor();
}

// ---- Files' view of the fields -------------------------------------------

void MainWindow::SetDisplayedSpecs() {
    const ProblemSpec &record = problem_.record;
    for (std::int32_t j = 0; j < std::clamp(record.constantCount, 0, kConstantSlots); ++j)
        constants_->appendItem(record.constants[static_cast<std::size_t>(j)]);
    ui_.txtOrder->setText(QString::number(record.order));
    ui_.txtError->setText(QString::fromStdString(generalNumberText(record.maxError)));
    // The field may hold the focus already (it took it from the order field
    // that Open disabled): the bound read is the one the solutions came with,
    // so leaving the field unedited must not clear them.
    problem_.record.errorOnEntry = record.maxError;
    ui_.txtMaxcy->setText(QString::number(record.maxCycles));
    const int fields = std::min<int>(ui_.txtEquation->count(), record.order);
    for (int i = 0; i < fields && static_cast<std::size_t>(i) < record.equations.size(); ++i) {
        const auto at = static_cast<std::size_t>(i);
        ui_.txtLL->at(i)->setText(QString::fromStdString(generalNumberText(record.lowerLimits[at])));
        ui_.txtUL->at(i)->setText(QString::fromStdString(generalNumberText(record.upperLimits[at])));
        ui_.txtSubintervals->at(i)->setText(QString::number(record.subintervals[at]));
        ui_.txtEquation->at(i)->setText(QString::fromStdString(record.equations[at]));
    }
    QStringList names;
    for (const std::string &name : record.varNames) names.append(QString::fromStdString(name));
    ui_.txtVarNams->setText(names.join(QLatin1Char(',')));
    updateRunCommands();
}

// ---- Closing ------------------------------------------------------------

void MainWindow::cmdExit_Click() { close(); }

void MainWindow::closeEvent(QCloseEvent *event) {
    if (runUnderWay_) {
        closeRequested_ = true;  // the run closes the window when it has stopped
        runs_->requestStop();
        event->ignore();
        return;
    }
    event->accept();
    emit aboutToShutDown();
    QCoreApplication::quit();
}

}  // namespace zl::gui

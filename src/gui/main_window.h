#pragma once
// frmRootex, the program's main window: the problem's fields, the constants,
// the run commands and the solution list. It owns the session (the problem,
// the script engine with its math library, and the equation evaluator) for
// the whole run of the program, and turns the user's actions into calls on it.

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/problem/problem_state.h"
#include "core/session/session.h"
#include "core/solver/random_source.h"
#include "gui/equation_grid_model.h"
#include "gui/main_window_controls.h"

class QLineEdit;
class QAbstractItemView;

namespace zl::gui {

class ConstantsBox;
class FocusGuard;
class SelectAllOnFocus;
class RunController;
class SolutionListDisplay;
class SolutionListModel;
class UserDialogs;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(UserDialogs &dialogs, QWidget *parent = nullptr);
    ~MainWindow() override;

    Session &session() { return session_; }
    ProblemState &problem() { return problem_; }
    ScriptEngine &engine() { return session_.engine(); }
    MathLibrary &library() { return session_.library(); }
    EquationEvaluator &evaluator() { return session_.evaluator(); }
    QAbstractItemView &solutionList();
    const SolutionListModel &solutionLines() const { return *listModel_; }
    /// The rows the equations grid window shows.
    EquationGridModel &equationGrid() { return gridModel_; }
    bool runUnderWay() const { return runUnderWay_; }
    /// The window's ierr: the number of the last failed evaluation, 0 for none.
    std::int32_t lastErrorNumber() const { return session_.lastErrorNumber(); }

    // Operations the file commands build on.
    /// The texts of the problem's fields now: what a run reads and Save writes.
    ProblemFieldTexts fieldTexts() const;
    /// The constants list's items in order.
    const std::vector<std::string> &constantItems() const;
    /// Creates the per-index fields 1..lastIndex as hidden copies of field 0.
    void LoadObjects();
    /// Copies the record into the fields (after a problem was read).
    void SetDisplayedSpecs();
    /// Executes every constants-list item in the engine; false after a failure.
    [[nodiscard]] bool RegisterConstants();
    /// Rebuilds the solution list from the store; false after a failed evaluation.
    [[nodiscard]] bool ListSolutions();
    /// Empties the solution list, its count and solutionCount (not while loading a file).
    void ClearSolutions();
    /// The order is fixed: the order and names fields and Open are disabled
    /// for good, the grid gets one row per equation, navigation becomes available.
    void lockProblemShape();
    /// Save and Save As enabled, Print and About shown.
    void enableProblemMenus();

    // Navigation, as Next and Previous use it.
    void EditEq(int index);
    void EditLimit(int index);

signals:
    void openRequested();
    void saveRequested();
    void saveAsRequested();
    void printRequested();
    void plotRequested();
    void helpRequested();
    void aboutRequested();
    /// Show all equations: the grid model holds every equation field's text.
    void showAllRequested();
    /// The window is closing and the program ends.
    void aboutToShutDown();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class RunLock;
    class EngineCommand;

    void setUpEngine();
    void setUpMenus();
    void connectCommands();
    void setUpProblemFields();
    void setUpParameterFields();
    void setUpIndexFields(int index);

    // Order and names.
    bool orderFieldValid() const;
    void commitOrder();
    bool namesFieldValid() const;
    void commitNames();
    void insertCopiesInTabOrder(int firstNewIndex);

    // Parameters.
    bool errorFieldValid() const;
    void errorFieldLeft();
    [[nodiscard]] bool normaliseIterationsField();
    bool seedsFieldValid() const;

    // Equations and intervals.
    void equationTextChanged(int index);
    void showNextEquation(int step);
    void showNextVariable(int step);
    void showAllEquations();
    void copyGridIntoEquationFields();

    // Runs.
    bool problemReady() const;
    void updateRunCommands();
    void runCommand(RunKind kind);
    /// On the run's worker: whether an Explore of `record` may start. A walk
    /// estimated at more than a minute needs the user's word.
    bool approveExplore(const ProblemSpec &record, int threads);
    void showRunProgress(const RunProgress &progress);
    void runFinished();
    /// A constant that failed without the script error box has its own message.
    void reportConstantFailure(const ConstantFailure &failure);
    /// False after a failure, which onScriptError has shown.
    [[nodiscard]] bool executeStatement(std::string_view statement);
    /// The commands that need the order are unavailable until it is set.
    void enableNavigation();
    void onScriptError(const ScriptError &error);
    void cmdExit_Click();

    UserDialogs &dialogs_;
    Session session_;
    ProblemState &problem_;  ///< the session's
    RandomSource random_;
    EquationGridModel gridModel_;
    MainWindowControls ui_;
    SolutionListModel *listModel_ = nullptr;
    std::unique_ptr<SolutionListDisplay> listView_;
    std::unique_ptr<RunController> runs_;
    std::unique_ptr<RunLock> runLock_;
    std::unique_ptr<EngineCommand> runEngineCommand_;  ///< the run's command, until its end is handled
    FocusGuard *focusGuard_ = nullptr;
    SelectAllOnFocus *selectAll_ = nullptr;
    ConstantsBox *constants_ = nullptr;

    bool runUnderWay_ = false;
    bool closeRequested_ = false;
    int engineCommandDepth_ = 0;
    bool scriptErrorShown_ = false;  ///< within the command under way
};

}  // namespace zl::gui

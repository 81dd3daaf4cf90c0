#pragma once
// Every control of the main window, created with its name, caption, initial
// text and tooltip, laid out, and put in keyboard order.

#include <QList>

#include <memory>

#include "gui/field_array.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMainWindow;
class QProgressBar;
class QPushButton;
class QWidget;

namespace zl::gui {

class LineListView;

/// The progress bar's range: the fraction of the run done, in thousandths.
inline constexpr int kProgressSteps = 1000;

struct MainWindowControls {
    QAction *mnuOpen = nullptr;
    QAction *mnuSave = nullptr;
    QAction *mnuSaveAs = nullptr;
    QAction *mnuPlot = nullptr;
    QAction *mnuPrint = nullptr;
    QAction *mnuHelp = nullptr;
    QAction *mnuAbout = nullptr;

    QLabel *lblOrder = nullptr;
    QLineEdit *txtOrder = nullptr;
    QLabel *lblVarNam = nullptr;
    QLineEdit *txtVarNams = nullptr;

    QLabel *lblError = nullptr;
    QLineEdit *txtError = nullptr;
    QLabel *lblMaxcy = nullptr;
    QLineEdit *txtMaxcy = nullptr;
    QLabel *LblRand = nullptr;
    QLineEdit *txtRand = nullptr;

    QGroupBox *fraEquations = nullptr;
    QPushButton *cmdPrevEq = nullptr;
    QPushButton *cmdNextEq = nullptr;
    QLabel *lblEquation = nullptr;
    QLabel *lblEqNum = nullptr;
    QPushButton *cmdShowAll = nullptr;
    std::unique_ptr<FieldArray> txtEquation;

    QGroupBox *fraConstants = nullptr;
    QComboBox *cboConstants = nullptr;
    QPushButton *cmdAddCons = nullptr;
    QPushButton *cmdRemCons = nullptr;

    QGroupBox *fraIntervals = nullptr;
    QLabel *lblVariable = nullptr;
    QLabel *lblVarNum = nullptr;
    QPushButton *cmdPrevLim = nullptr;
    QPushButton *cmdNextLim = nullptr;
    QLabel *lblLL = nullptr;
    QLabel *lblUL = nullptr;
    QLabel *lblSubintervals = nullptr;
    std::unique_ptr<FieldArray> txtLL;
    std::unique_ptr<FieldArray> txtUL;
    std::unique_ptr<FieldArray> txtSubintervals;

    /// Explore and Random: drop the points that converge outside the box, and
    /// prove each listed solution. Neither is kept in the problem file.
    QCheckBox *chkInsideBox = nullptr;
    QCheckBox *chkProve = nullptr;

    LineListView *lstRoots = nullptr;
    QLabel *lblRoots = nullptr;
    QPushButton *cmdExplore = nullptr;
    QPushButton *cmdRandom = nullptr;
    QPushButton *cmdCertify = nullptr;
    QPushButton *cmdStop = nullptr;  ///< enabled only while a run is under way
    QPushButton *cmdPlot = nullptr;
    QPushButton *cmdExit = nullptr;

    /// The run's progress in the status bar, shown while a run is under way.
    QProgressBar *prgRun = nullptr;
    QLabel *lblProgress = nullptr;

    /// Everything the user could edit or press, apart from the solution list
    /// (which stays scrollable), Stop and Exit; disabled while a run is under way.
    QList<QWidget *> editingPanels;
};

/// Builds the controls into `window` (menu bar and central widget).
MainWindowControls buildMainWindowControls(QMainWindow &window);

}  // namespace zl::gui

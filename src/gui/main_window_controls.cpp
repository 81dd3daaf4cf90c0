#include "gui/main_window_controls.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "gui/elided_label.h"
#include "gui/focus_guard.h"
#include "gui/line_list_view.h"

namespace zl::gui {

namespace {

constexpr int kOrderFieldWidth = 60;
constexpr int kParameterFieldWidth = 70;
constexpr int kIntervalFieldWidth = 90;
// A solution line is a 30-character name column, "EQUATION #n=" and a residual
// of up to 21 characters.
constexpr int kListColumns = 68;
constexpr int kListMinimumHeight = 220;

QLabel *makeLabel(QWidget *parent, const char *name, const QString &caption) {
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QLineEdit *makeField(QWidget *parent, const char *name, const QString &text, const QString &toolTip = {}) {
    auto *field = new QLineEdit(text, parent);
    field->setObjectName(QLatin1String(name));
    field->setToolTip(toolTip);
    return field;
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption, const QString &toolTip = {}) {
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(toolTip);
    button->setAutoDefault(false);
    return button;
}

QCheckBox *makeCheckBox(QWidget *parent, const char *name, const QString &caption, const QString &toolTip) {
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setToolTip(toolTip);
    return box;
}

QAction *makeAction(QWidget *owner, const char *name, const QString &caption, const QKeySequence &shortcut = {}) {
    auto *action = new QAction(caption, owner);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    return action;
}

void buildMenus(QMainWindow &window, MainWindowControls &ui) {
    QMenuBar *bar = window.menuBar();
    // Menus stay usable while a field refuses to give up the focus.
    FocusGuard::exempt(bar);
    QMenu *file = bar->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    ui.mnuOpen = makeAction(&window, "mnuOpen", QStringLiteral("Open"), QKeySequence(Qt::CTRL | Qt::Key_O));
    ui.mnuSave = makeAction(&window, "mnuSave", QStringLiteral("Save"), QKeySequence(Qt::CTRL | Qt::Key_S));
    ui.mnuSaveAs =
        makeAction(&window, "mnuSaveAs", QStringLiteral("Save As"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    file->addAction(ui.mnuOpen);
    file->addSeparator();
    file->addAction(ui.mnuSave);
    file->addAction(ui.mnuSaveAs);
    file->addSeparator();
    ui.mnuPlot = makeAction(&window, "mnuPlot", QStringLiteral("Plot"));
    ui.mnuPrint = makeAction(&window, "mnuPrint", QStringLiteral("Print"), QKeySequence(Qt::CTRL | Qt::Key_P));
    ui.mnuHelp = makeAction(&window, "mnuHelp", QStringLiteral("Help"), QKeySequence(Qt::Key_F1));
    ui.mnuAbout = makeAction(&window, "mnuAbout", QStringLiteral("About"));
    bar->addAction(ui.mnuPlot);
    bar->addAction(ui.mnuPrint);
    bar->addAction(ui.mnuHelp);
    bar->addAction(ui.mnuAbout);
}

/// The order line, the names prompt and field, and the parameter line.
QWidget *buildProblemLines(QWidget *parent, MainWindowControls &ui) {
    auto *panel = new QWidget(parent);
    panel->setObjectName(QStringLiteral("problemPanel"));
    auto *lines = new QVBoxLayout(panel);
    lines->setContentsMargins(0, 0, 0, 0);

    auto *orderLine = new QHBoxLayout;
    ui.lblOrder = makeLabel(panel, "lblOrder", QStringLiteral("Enter # of variables:"));
    ui.txtOrder = makeField(panel, "txtOrder", QString());
    ui.txtOrder->setFixedWidth(kOrderFieldWidth);
    orderLine->addWidget(ui.lblOrder);
    orderLine->addWidget(ui.txtOrder);
    orderLine->addStretch();
    lines->addLayout(orderLine);

    ui.lblVarNam =
        makeLabel(panel, "lblVarNam", QStringLiteral("Enter the names of the variables, separated by commas:"));
    ui.txtVarNams = makeField(panel, "txtVarNams", QStringLiteral("x,y"));
    lines->addWidget(ui.lblVarNam);
    lines->addWidget(ui.txtVarNams);

    auto *parameterLine = new QHBoxLayout;
    ui.lblError = makeLabel(panel, "lblError", QStringLiteral("Approx. error bound:"));
    ui.txtError = makeField(panel, "txtError", QStringLiteral(".01"), QStringLiteral("Error MUST be >0"));
    ui.lblMaxcy = makeLabel(panel, "lblMaxcy", QStringLiteral("Max. # of iterations:"));
    ui.txtMaxcy =
        makeField(panel, "txtMaxcy", QStringLiteral("8"), QStringLiteral("Limits number of main loop iterations"));
    ui.LblRand = makeLabel(panel, "LblRand", QStringLiteral("# of random seeds:"));
    ui.txtRand = makeField(panel, "txtRand", QStringLiteral("20"));
    for (auto [label, field] : {std::pair{ui.lblError, ui.txtError}, std::pair{ui.lblMaxcy, ui.txtMaxcy},
                                std::pair{ui.LblRand, ui.txtRand}}) {
        field->setFixedWidth(kParameterFieldWidth);
        parameterLine->addWidget(label);
        parameterLine->addWidget(field);
        parameterLine->addSpacing(12);
    }
    parameterLine->addStretch();
    lines->addLayout(parameterLine);
    return panel;
}

QGroupBox *buildEquationsFrame(QWidget *parent, MainWindowControls &ui) {
    ui.fraEquations = new QGroupBox(QStringLiteral("Equations"), parent);
    ui.fraEquations->setObjectName(QStringLiteral("fraEquations"));
    auto *frame = new QVBoxLayout(ui.fraEquations);

    auto *buttons = new QHBoxLayout;
    ui.cmdPrevEq = makeButton(ui.fraEquations, "cmdPrevEq", QStringLiteral("Previous equation"),
                              QStringLiteral("Previous equation"));
    ui.cmdNextEq =
        makeButton(ui.fraEquations, "cmdNextEq", QStringLiteral("Next equation"), QStringLiteral("Next equation"));
    ui.lblEquation = makeLabel(ui.fraEquations, "lblEquation", QStringLiteral("Equation #"));
    ui.lblEqNum = makeLabel(ui.fraEquations, "lblEqNum", QStringLiteral("1"));
    ui.cmdShowAll = makeButton(ui.fraEquations, "cmdShowAll", QStringLiteral("Show all equations"));
    buttons->addWidget(ui.cmdPrevEq);
    buttons->addWidget(ui.cmdNextEq);
    buttons->addSpacing(12);
    buttons->addWidget(ui.lblEquation);
    buttons->addWidget(ui.lblEqNum);
    buttons->addStretch();
    buttons->addWidget(ui.cmdShowAll);
    frame->addLayout(buttons);

    ui.txtEquation = std::make_unique<FieldArray>(
        ui.fraEquations, QStringLiteral("txtEquation"), QStringLiteral("3*x^2*sin(x)=pi"),
        QStringLiteral("Must be in terms of the variables defined above and constants defined below"));
    frame->addWidget(ui.txtEquation->place());
    return ui.fraEquations;
}

QGroupBox *buildConstantsFrame(QWidget *parent, MainWindowControls &ui) {
    ui.fraConstants = new QGroupBox(QStringLiteral("User constants"), parent);
    ui.fraConstants->setObjectName(QStringLiteral("fraConstants"));
    ui.fraConstants->setToolTip(QStringLiteral("Add or remove user-defined constants"));
    auto *frame = new QGridLayout(ui.fraConstants);

    ui.cboConstants = new QComboBox(ui.fraConstants);
    ui.cboConstants->setObjectName(QStringLiteral("cboConstants"));
    ui.cboConstants->setEditable(true);
    ui.cboConstants->setInsertPolicy(QComboBox::NoInsert);  // Add decides what enters the list
    ui.cboConstants->setToolTip(QStringLiteral("Example: a=2.37"));
    // Its width is the frame's, whatever the constants typed into it.
    ui.cboConstants->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ui.cboConstants->setMinimumContentsLength(12);
    ui.cmdAddCons =
        makeButton(ui.fraConstants, "cmdAddCons", QStringLiteral("Add"), QStringLiteral("Add (register) constant"));
    ui.cmdRemCons =
        makeButton(ui.fraConstants, "cmdRemCons", QStringLiteral("Remove"), QStringLiteral("Remove selected constant"));
    frame->addWidget(ui.cboConstants, 0, 0, 1, 2);
    frame->addWidget(ui.cmdAddCons, 1, 0);
    frame->addWidget(ui.cmdRemCons, 1, 1);
    return ui.fraConstants;
}

QGroupBox *buildIntervalsFrame(QWidget *parent, MainWindowControls &ui) {
    ui.fraIntervals = new QGroupBox(QStringLiteral("Interval specifications"), parent);
    ui.fraIntervals->setObjectName(QStringLiteral("fraIntervals"));
    auto *frame = new QGridLayout(ui.fraIntervals);

    ui.lblVariable = makeLabel(ui.fraIntervals, "lblVariable", QStringLiteral("Variable:"));
    ui.lblVarNum = new ElidedLabel(QString(), ui.fraIntervals);  // shows a typed name
    ui.lblVarNum->setObjectName(QStringLiteral("lblVarNum"));
    frame->addWidget(ui.lblVariable, 0, 0);
    frame->addWidget(ui.lblVarNum, 0, 1);

    ui.cmdPrevLim = makeButton(ui.fraIntervals, "cmdPrevLim", QStringLiteral("Previous"),
                               QStringLiteral("Display previous variable"));
    ui.cmdNextLim =
        makeButton(ui.fraIntervals, "cmdNextLim", QStringLiteral("Next"), QStringLiteral("Display next variable"));
    frame->addWidget(ui.cmdPrevLim, 1, 0);
    frame->addWidget(ui.cmdNextLim, 1, 1);

    ui.lblLL = makeLabel(ui.fraIntervals, "lblLL", QStringLiteral("Lower limit:"));
    ui.lblUL = makeLabel(ui.fraIntervals, "lblUL", QStringLiteral("Upper limit:"));
    ui.lblSubintervals = makeLabel(ui.fraIntervals, "lblSubintervals", QStringLiteral("# of subintervals:"));
    ui.txtLL = std::make_unique<FieldArray>(ui.fraIntervals, QStringLiteral("txtLL"), QStringLiteral("-5"));
    ui.txtUL = std::make_unique<FieldArray>(ui.fraIntervals, QStringLiteral("txtUL"), QStringLiteral("5"));
    ui.txtSubintervals = std::make_unique<FieldArray>(
        ui.fraIntervals, QStringLiteral("txtSubintervals"), QStringLiteral("4"),
        QStringLiteral("Minimum # of subintervals in this direction. Should be enough to detect all roots."));
    int row = 2;
    for (auto [label, fields] : {std::pair{ui.lblLL, ui.txtLL.get()}, std::pair{ui.lblUL, ui.txtUL.get()},
                                 std::pair{ui.lblSubintervals, ui.txtSubintervals.get()}}) {
        fields->at(0)->setFixedWidth(kIntervalFieldWidth);
        frame->addWidget(label, row, 0);
        frame->addWidget(fields->place(), row, 1);
        ++row;
    }
    return ui.fraIntervals;
}

QWidget *buildRunOptions(QWidget *parent, MainWindowControls &ui) {
    auto *options = new QWidget(parent);
    auto *column = new QVBoxLayout(options);
    column->setContentsMargins(0, 0, 0, 0);
    ui.chkInsideBox = makeCheckBox(options, "chkInsideBox", QStringLiteral("Only solutions inside the box"),
                                   QStringLiteral("Explore and Random: do not list the points Newton reaches "
                                                  "outside the search box"));
    ui.chkProve = makeCheckBox(options, "chkProve", QStringLiteral("Prove each solution"),
                               QStringLiteral("Explore and Random: after each solution, whether it is proved "
                                              "the only one in a small box around it"));
    column->addWidget(ui.chkInsideBox);
    column->addWidget(ui.chkProve);
    return options;
}

/// The solution list with the run buttons and the count under it.
QWidget *buildResultsArea(QWidget *parent, MainWindowControls &ui, QWidget *&commandPanel) {
    auto *area = new QWidget(parent);
    auto *column = new QVBoxLayout(area);
    column->setContentsMargins(0, 0, 0, 0);

    ui.lstRoots = new LineListView(area);
    ui.lstRoots->setObjectName(QStringLiteral("lstRoots"));
    QFont fixedPitch(QStringLiteral("Courier New"));
    fixedPitch.setStyleHint(QFont::TypeWriter);
    ui.lstRoots->setFont(fixedPitch);
    const int lineWidth = QFontMetrics(fixedPitch).horizontalAdvance(QString(kListColumns, QLatin1Char('0')));
    ui.lstRoots->setMinimumSize(lineWidth + 2 * ui.lstRoots->frameWidth() + 24, kListMinimumHeight);
    ui.lstRoots->setLineWidth(lineWidth + 8);
    ui.lstRoots->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    column->addWidget(ui.lstRoots, 1);

    // Explore, Random and Certify sit in a panel of their own, which a run disables;
    // Stop beside them and Exit stay usable.
    auto *commandRow = new QHBoxLayout;
    commandPanel = new QWidget(area);
    commandPanel->setObjectName(QStringLiteral("commandPanel"));
    auto *commands = new QHBoxLayout(commandPanel);
    commands->setContentsMargins(0, 0, 0, 0);
    ui.cmdExplore = makeButton(commandPanel, "cmdExplore", QStringLiteral("Explore"),
                               QStringLiteral("Explore interval for solutions"));
    ui.cmdRandom = makeButton(commandPanel, "cmdRandom", QStringLiteral("Random"),
                              QStringLiteral("Generate randoms seeds to find solutions"));
    ui.cmdCertify = makeButton(commandPanel, "cmdCertify", QStringLiteral("Certify"),
                               QStringLiteral("Search the whole box and prove each solution found"));
    commands->addWidget(ui.cmdExplore);
    commands->addWidget(ui.cmdRandom);
    commands->addWidget(ui.cmdCertify);
    ui.cmdStop = makeButton(area, "cmdStop", QStringLiteral("Stop"), QStringLiteral("Stop the run (Esc)"));
    ui.cmdStop->setEnabled(false);
    ui.cmdPlot = makeButton(area, "cmdPlot", QStringLiteral("Plot"),
                            QStringLiteral("Draw the equations' zero sets with the solutions found"));
    ui.cmdExit = makeButton(area, "cmdExit", QStringLiteral("E&xit"));
    commandRow->addWidget(commandPanel);
    commandRow->addWidget(ui.cmdStop);
    commandRow->addWidget(ui.cmdPlot);
    commandRow->addStretch();
    commandRow->addWidget(ui.cmdExit);

    ui.lblRoots = makeLabel(area, "lblRoots", QString());
    column->addWidget(ui.lblRoots);
    column->addLayout(commandRow);
    return area;
}

void buildRunStatus(QMainWindow &window, MainWindowControls &ui) {
    ui.lblProgress = makeLabel(window.statusBar(), "lblProgress", QString());
    ui.prgRun = new QProgressBar(window.statusBar());
    ui.prgRun->setObjectName(QStringLiteral("prgRun"));
    ui.prgRun->setRange(0, kProgressSteps);
    ui.prgRun->setTextVisible(false);
    window.statusBar()->addWidget(ui.prgRun, 1);
    window.statusBar()->addWidget(ui.lblProgress, 3);
    ui.prgRun->hide();
    ui.lblProgress->hide();
}

void setInitialTabOrder(const MainWindowControls &ui) {
    const QList<QWidget *> order = {
        ui.txtOrder,
        ui.txtVarNams,
        ui.txtError,
        ui.txtMaxcy,
        ui.txtRand,
        ui.cmdPrevEq,
        ui.cmdNextEq,
        ui.cmdShowAll,
        ui.txtEquation->at(0),
        ui.cboConstants,
        ui.cmdAddCons,
        ui.cmdRemCons,
        ui.cmdPrevLim,
        ui.cmdNextLim,
        ui.txtLL->at(0),
        ui.txtUL->at(0),
        ui.txtSubintervals->at(0),
        ui.chkInsideBox,
        ui.chkProve,
        ui.lstRoots,
        ui.cmdExplore,
        ui.cmdRandom,
        ui.cmdCertify,
        ui.cmdStop,
        ui.cmdPlot,
        ui.cmdExit,
    };
    for (qsizetype i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

}  // namespace

MainWindowControls buildMainWindowControls(QMainWindow &window) {
    MainWindowControls ui;
    buildMenus(window, ui);

    auto *central = new QWidget(&window);
    central->setObjectName(QStringLiteral("centralPanel"));
    auto *page = new QVBoxLayout(central);

    QWidget *problemLines = buildProblemLines(central, ui);
    page->addWidget(problemLines);
    QGroupBox *equations = buildEquationsFrame(central, ui);
    page->addWidget(equations);

    auto *lower = new QHBoxLayout;
    auto *leftPanel = new QWidget(central);
    leftPanel->setObjectName(QStringLiteral("leftPanel"));
    auto *left = new QVBoxLayout(leftPanel);
    left->setContentsMargins(0, 0, 0, 0);
    left->addWidget(buildConstantsFrame(leftPanel, ui));
    left->addWidget(buildIntervalsFrame(leftPanel, ui));
    left->addWidget(buildRunOptions(leftPanel, ui));
    left->addStretch();
    lower->addWidget(leftPanel);
    QWidget *commandPanel = nullptr;
    lower->addWidget(buildResultsArea(central, ui, commandPanel), 1);
    page->addLayout(lower, 1);

    window.setCentralWidget(central);
    buildRunStatus(window, ui);
    ui.editingPanels = {problemLines, equations, leftPanel, commandPanel, ui.cmdPlot};
    setInitialTabOrder(ui);
    return ui;
}

}  // namespace zl::gui

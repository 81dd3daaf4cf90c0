#include "gui/program_windows.h"

#include <string>
#include <vector>

#include "core/files/report_layout.h"
#include "gui/about_window.h"
#include "gui/decimal_symbol_guard.h"
#include "gui/equations_window.h"
#include "gui/help_window.h"
#include "gui/main_window.h"
#include "gui/plot_command.h"
#include "gui/plot_window.h"
#include "gui/report_printer.h"
#include "gui/user_dialogs.h"

namespace zl::gui {

namespace {

std::vector<std::string> equationTexts(const EquationGridModel &grid) {
    std::vector<std::string> texts;
    for (int row = 0; row < grid.rowCount(); ++row) texts.push_back(grid.equationText(row).toStdString());
    return texts;
}

}  // namespace

ProgramWindows::ProgramWindows(MainWindow &main, UserDialogs &userDialogs, DecimalSymbolGuard &decimalGuard,
                               const QString &folder)
    : mainWindow(main), dialogs(userDialogs), guard(decimalGuard), programFolder(folder),
      equations(std::make_unique<EquationsWindow>(main.equationGrid())),
      about(std::make_unique<AboutWindow>(AboutWindow::Role::About)),
      help(std::make_unique<HelpWindow>(HelpWindow::defaultManualFolders(folder))),
      plot(std::make_unique<PlotCommand>(main, userDialogs)) {
    ReportPrinter::useReportMargins(reportPrinter);
    connect(&mainWindow, &MainWindow::showAllRequested, this, &ProgramWindows::showEquations);
    connect(&mainWindow, &MainWindow::aboutRequested, this, &ProgramWindows::showAbout);
    connect(&mainWindow, &MainWindow::helpRequested, this, &ProgramWindows::showHelp);
    connect(&mainWindow, &MainWindow::printRequested, this, &ProgramWindows::printReport);
    connect(&mainWindow, &MainWindow::aboutToShutDown, this, &ProgramWindows::shutDown);
}

ProgramWindows::~ProgramWindows() = default;

void ProgramWindows::showEquations() {
    equations->show();
    equations->raise();
    equations->activateWindow();
}

void ProgramWindows::showAbout() {
    about->show();
    about->raise();
}

void ProgramWindows::showHelp() {
    if (!help->openHelp(programFolder))
        dialogs.showMessage(&mainWindow, QStringLiteral("Neither the help file rootex.chm nor the user manual "
                                                        "was found in %1.")
                                             .arg(programFolder));
}

void ProgramWindows::printReport() {
    ProblemState &problem = mainWindow.problem();
    const std::vector<std::string> &constants = mainWindow.constantItems();
    const std::vector<std::string> texts = equationTexts(mainWindow.equationGrid());
    // The residuals are evaluated once the printer is chosen, not before.
    const auto outcome = ReportPrinter::print(&mainWindow, dialogs, reportPrinter, [&](int width) {
        return reportLines(collectReportData(problem, constants, texts, mainWindow.evaluator()), width);
    });
    if (outcome == ReportPrinter::Outcome::PrinterFailed)
        dialogs.showMessage(&mainWindow, QStringLiteral("The report could not be printed: the "
                                                        "printer or its output file could not be opened."));
}

void ProgramWindows::shutDown() {
    guard.RestoreDecimalSymbol();
    equations->hide();
    about->close();
    help->close();
    plot->plotWindow().close();
}

}  // namespace zl::gui

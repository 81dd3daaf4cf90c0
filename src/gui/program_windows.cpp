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
    : mainWindow_(main), dialogs_(userDialogs), guard_(decimalGuard), programFolder_(folder),
      equations_(std::make_unique<EquationsWindow>(main.equationGrid())),
      about_(std::make_unique<AboutWindow>(AboutWindow::Role::About)),
      help_(std::make_unique<HelpWindow>(HelpWindow::defaultManualFolders(folder))),
      plot_(std::make_unique<PlotCommand>(main, userDialogs)) {
    ReportPrinter::useReportMargins(reportPrinter_);
    connect(&mainWindow_, &MainWindow::showAllRequested, this, &ProgramWindows::showEquations);
    connect(&mainWindow_, &MainWindow::aboutRequested, this, &ProgramWindows::showAbout);
    connect(&mainWindow_, &MainWindow::helpRequested, this, &ProgramWindows::showHelp);
    connect(&mainWindow_, &MainWindow::printRequested, this, &ProgramWindows::printReport);
    connect(&mainWindow_, &MainWindow::aboutToShutDown, this, &ProgramWindows::shutDown);
}

ProgramWindows::~ProgramWindows() = default;

void ProgramWindows::showEquations() {
    equations_->show();
    equations_->raise();
    equations_->activateWindow();
}

void ProgramWindows::showAbout() {
    about_->show();
    about_->raise();
}

void ProgramWindows::showHelp() {
    if (!help_->openHelp(programFolder_))
        dialogs_.showMessage(&mainWindow_, QStringLiteral("Neither the help file rootex.chm nor the user manual "
                                                          "was found in %1.")
                                               .arg(programFolder_));
}

void ProgramWindows::printReport() {
    ProblemState &problem = mainWindow_.problem();
    const std::vector<std::string> &constants = mainWindow_.constantItems();
    const std::vector<std::string> texts = equationTexts(mainWindow_.equationGrid());
    // The residuals are evaluated once the printer is chosen, not before.
    const auto outcome = ReportPrinter::print(&mainWindow_, dialogs_, reportPrinter_, [&](int width) {
        return reportLines(collectReportData(problem, constants, texts, mainWindow_.evaluator()), width);
    });
    if (outcome == ReportPrinter::Outcome::PrinterFailed)
        dialogs_.showMessage(&mainWindow_, QStringLiteral("The report could not be printed: the "
                                                          "printer or its output file could not be opened."));
}

void ProgramWindows::shutDown() {
    guard_.RestoreDecimalSymbol();
    equations_->hide();
    about_->close();
    help_->close();
    plot_->plotWindow().close();
}

}  // namespace zl::gui

#include <QApplication>

#include <memory>

#include "gui/decimal_symbol_guard.h"
#include "gui/main_window.h"
#include "gui/numeric_locale.h"
#include "gui/problem_file_commands.h"
#include "gui/program_identity.h"
#include "gui/program_windows.h"
#include "gui/qt_user_dialogs.h"
#include "gui/splash_sequence.h"
#include "gui/start_up.h"

using namespace zl::gui;

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(ProgramIdentity::productName);

    QtUserDialogs dialogs;
    ProcessNumericLocale numericLocale;
    DecimalSymbolGuard guard(numericLocale, dialogs);
    std::unique_ptr<MainWindow> mainWindow;
    std::unique_ptr<ProgramWindows> windows;

    const bool started = startUp(guard, &SplashSequence::run, [&] {
        mainWindow = std::make_unique<MainWindow>(dialogs);
        windows = std::make_unique<ProgramWindows>(*mainWindow, dialogs, guard, QCoreApplication::applicationDirPath());
        new ProblemFileCommands(*mainWindow, dialogs);  // owned by the window
        mainWindow->show();
    });
    if (!started) return 0;
    return app.exec();
}

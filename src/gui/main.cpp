#include <QApplication>

#include <cstdio>
#include <memory>

#include "gui/decimal_symbol_guard.h"
#include "gui/guarded_application.h"
#include "gui/main_window.h"
#include "gui/numeric_locale.h"
#include "gui/problem_file_commands.h"
#include "gui/program_identity.h"
#include "gui/program_windows.h"
#include "gui/qt_user_dialogs.h"
#include "gui/splash_sequence.h"
#include "gui/start_arguments.h"
#include "gui/start_up.h"
#include "gui/window_title.h"
#include "program_version.h"

using namespace zl::gui;

namespace {

/// Prints what the arguments ask for instead of the window; the exit status,
/// or -1 to go on and open the window.
int answerWithoutWindow(const StartArguments &start) {
    switch (start.action) {
    case StartArguments::Action::OpenWindow:
        return -1;
    case StartArguments::Action::Refuse:
        std::fputs(start.text.toLocal8Bit().constData(), stderr);
        return 2;
    default:
        std::fputs(start.text.toLocal8Bit().constData(), stdout);
        return 0;
    }
}

}  // namespace

int main(int argc, char *argv[]) {
    // --version and --help answer without a display. Anything else waits for
    // QApplication, which takes out Qt's own options (-platform, -style).
    QStringList given;
    for (int i = 1; i < argc; ++i) given << QString::fromLocal8Bit(argv[i]);
    const StartArguments early = readStartArguments(given);
    if (early.action == StartArguments::Action::PrintVersion || early.action == StartArguments::Action::PrintUsage)
        return answerWithoutWindow(early);

    GuardedApplication app(argc, argv);
    QApplication::setApplicationName(ProgramIdentity::productName);
    // The installed desktop entry and icon (none when run from the build folder).
    QGuiApplication::setDesktopFileName(QStringLiteral("zerolith"));
    QApplication::setWindowIcon(programIcon(QCoreApplication::applicationDirPath()));
    QApplication::setApplicationVersion(
        QString::fromUtf8(zl::kProgramVersion.data(), qsizetype(zl::kProgramVersion.size())));
    const StartArguments start = readStartArguments(QApplication::arguments().mid(1));
    if (const int status = answerWithoutWindow(start); status >= 0) return status;

    QtUserDialogs dialogs;
    app.setDialogs(&dialogs);
    ProcessNumericLocale numericLocale;
    DecimalSymbolGuard guard(numericLocale, dialogs);
    std::unique_ptr<MainWindow> mainWindow;
    std::unique_ptr<ProgramWindows> windows;

    const bool started = startUp(guard, &SplashSequence::run, [&] {
        mainWindow = std::make_unique<MainWindow>(dialogs);
        windows = std::make_unique<ProgramWindows>(*mainWindow, dialogs, guard, QCoreApplication::applicationDirPath());
        auto *files = new ProblemFileCommands(*mainWindow, dialogs);  // owned by the window
        mainWindow->show();
        if (!start.file.isEmpty()) files->openFile(start.file);
    });
    if (!started) return 0;
    return app.exec();
}

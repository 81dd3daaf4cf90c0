#pragma once
// The windows around the main window, and the commands that open them: the
// equations grid (Show all equations), About, Help, Print and Plot. At shutdown it
// puts the user's decimal symbol back and closes them all.

#include <QObject>
#include <QPrinter>
#include <QString>

#include <memory>

namespace zl::gui {

class AboutWindow;
class DecimalSymbolGuard;
class EquationsWindow;
class HelpWindow;
class MainWindow;
class PlotCommand;
class UserDialogs;

class ProgramWindows : public QObject {
    Q_OBJECT
public:
    ProgramWindows(MainWindow &mainWindow, UserDialogs &dialogs, DecimalSymbolGuard &guard,
                   const QString &programFolder);
    ~ProgramWindows() override;

    EquationsWindow &equationsWindow() { return *equations_; }
    AboutWindow &aboutWindow() { return *about_; }
    HelpWindow &helpWindow() { return *help_; }
    QPrinter &printer() { return reportPrinter_; }

private:
    void showEquations();
    void showAbout();
    void showHelp();
    void printReport();
    void shutDown();

    MainWindow &mainWindow_;
    UserDialogs &dialogs_;
    DecimalSymbolGuard &guard_;
    QString programFolder_;
    std::unique_ptr<EquationsWindow> equations_;
    std::unique_ptr<AboutWindow> about_;
    std::unique_ptr<HelpWindow> help_;
    std::unique_ptr<PlotCommand> plot_;
    QPrinter reportPrinter_{QPrinter::HighResolution};
};

}  // namespace zl::gui

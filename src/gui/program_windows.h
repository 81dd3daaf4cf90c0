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

    EquationsWindow &equationsWindow() { return *equations; }
    AboutWindow &aboutWindow() { return *about; }
    HelpWindow &helpWindow() { return *help; }
    PlotCommand &plotCommand() { return *plot; }
    QPrinter &printer() { return reportPrinter; }

private:
    void showEquations();
    void showAbout();
    void showHelp();
    void printReport();
    void shutDown();

    MainWindow &mainWindow;
    UserDialogs &dialogs;
    DecimalSymbolGuard &guard;
    QString programFolder;
    std::unique_ptr<EquationsWindow> equations;
    std::unique_ptr<AboutWindow> about;
    std::unique_ptr<HelpWindow> help;
    std::unique_ptr<PlotCommand> plot;
    QPrinter reportPrinter{QPrinter::HighResolution};
};

}  // namespace zl::gui

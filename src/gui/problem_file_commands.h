#pragma once
// The File menu's Open, Save and Save As: the file dialogs, the problem file,
// and the steps that put a problem read from a file into the main window.

#include <QObject>
#include <QString>

#include <string>

namespace zl {
struct FileError;
struct ProblemFileData;
}  // namespace zl

namespace zl::gui {

class MainWindow;
class UserDialogs;

class ProblemFileCommands : public QObject {
    Q_OBJECT
public:
    ProblemFileCommands(MainWindow &window, UserDialogs &dialogs);

    /// Opens the problem file `fileName` as Open does after its dialog: a
    /// file that cannot be used gets the same message and changes nothing.
    void openFile(const QString &fileName);

private:
    void mnuOpen_Click();
    void mnuSave_Click();
    void mnuSaveAs_Click();

    /// The save dialog's answer becomes the file name, also "" after a cancel.
    void askFileName();
    void SaveToFile();
    /// The window's title names the file the problem now has.
    void showFileName();
    /// Fills the record and then the window from a file read in full.
    void showProblem(const ProblemFileData &data, const std::string &path);

    /// What the user is told when a file could not be read or written.
    static QString openFailureText(const QString &fileName, const FileError &error);
    static QString saveFailureText(const QString &fileName, const FileError &error);

    MainWindow &window_;
    UserDialogs &dialogs_;
};

}  // namespace zl::gui

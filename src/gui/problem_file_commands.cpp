#include "gui/problem_file_commands.h"

#include <QFile>
#include <QFileInfo>

#include <tuple>

#include "core/files/file_error.h"
#include "core/files/problem_file.h"
#include "core/files/problem_file_reader.h"
#include "gui/main_window.h"
#include "gui/user_dialogs.h"
#include "gui/window_title.h"

namespace zl::gui {

namespace {

std::string localPath(const QString &fileName) { return QFile::encodeName(fileName).toStdString(); }

/// What an equation field holds (a line edit's own limit). A file may hold
/// longer equations, which the command line runs; shown in a field they would
/// be cut short, and saved so.
constexpr std::size_t kEquationFieldLength = 32767;

/// Why the window cannot show the problem whole, or an empty text.
QString textTooLongForTheWindow(const ProblemFileData &data) {
    for (std::size_t i = 0; i < data.variables.size(); ++i)
        if (data.variables[i].equation.size() > kEquationFieldLength)
            return QStringLiteral("Line %1: equation %2 has more than the %3 characters an equation field holds")
                .arg(i + 3)
                .arg(i + 1)
                .arg(kEquationFieldLength);
    return {};
}

QString displayedPath(const std::string &path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

/// loadingFile is set while the window takes in a file, whichever way the
/// command ends: the change handlers of the fields that Open fills must not
/// clear the solutions just read.
class LoadingFile {
public:
    explicit LoadingFile(ProblemSpec &record) : record_(record) { record_.loadingFile = true; }
    ~LoadingFile() { record_.loadingFile = false; }
    LoadingFile(const LoadingFile &) = delete;
    LoadingFile &operator=(const LoadingFile &) = delete;

private:
    ProblemSpec &record_;
};

}  // namespace

ProblemFileCommands::ProblemFileCommands(MainWindow &window, UserDialogs &dialogs)
    : QObject(&window), window_(window), dialogs_(dialogs) {
    connect(&window_, &MainWindow::openRequested, this, &ProblemFileCommands::mnuOpen_Click);
    connect(&window_, &MainWindow::saveRequested, this, &ProblemFileCommands::mnuSave_Click);
    connect(&window_, &MainWindow::saveAsRequested, this, &ProblemFileCommands::mnuSaveAs_Click);
}

// The whole file is read and checked before anything in the window changes,
// so a file that cannot be used leaves the window exactly as it was. The file
// name is kept only for a file that was opened: a rejected file is not one
// that a later Save should overwrite without asking.
void ProblemFileCommands::mnuOpen_Click() {
    if (window_.problem().record.hasProblem()) return;  // a problem is read only into a window without an order
    const QString fileName = dialogs_.openFileName(&window_);
    if (!fileName.isEmpty()) openFile(fileName);
}

void ProblemFileCommands::openFile(const QString &fileName) {
    if (window_.problem().record.hasProblem()) return;
    const std::string path = localPath(QFileInfo(fileName).absoluteFilePath());
    const ProblemFileReading reading = readProblemFile(path);
    if (!reading.ok()) {
        dialogs_.showMessage(&window_, openFailureText(fileName, *reading.error));
        return;
    }
    if (const QString tooLong = textTooLongForTheWindow(reading.data); !tooLong.isEmpty()) {
        dialogs_.showMessage(&window_, QStringLiteral("Cannot open %1:\n%2").arg(fileName, tooLong));
        return;
    }
    showProblem(reading.data, path);
}

void ProblemFileCommands::showProblem(const ProblemFileData &data, const std::string &path) {
    ProblemState &problem = window_.problem();
    const LoadingFile loading(problem.record);
    // The record is sized and filled first: the window's steps below read it.
    if (const auto error = applyProblemFile(data, problem)) {
        dialogs_.showMessage(&window_, openFailureText(displayedPath(path), *error));
        return;
    }
    problem.record.fileName = path;
    showFileName();
    window_.lockProblemShape();
    window_.LoadObjects();
    window_.SetDisplayedSpecs();
    // An engine error while registering or listing has shown its box; the
    // problem stays loaded and the list marks each residual it could not compute.
    std::ignore = window_.RegisterConstants();
    std::ignore = window_.ListSolutions();
    window_.enableProblemMenus();
}

void ProblemFileCommands::mnuSave_Click() {
    if (window_.problem().record.fileName.empty()) askFileName();
    if (!window_.problem().record.fileName.empty()) SaveToFile();
    showFileName();
}

void ProblemFileCommands::mnuSaveAs_Click() {
    askFileName();
    if (!window_.problem().record.fileName.empty()) SaveToFile();
    showFileName();
}

void ProblemFileCommands::showFileName() { window_.setWindowTitle(windowTitleFor(window_.problem().record.fileName)); }

void ProblemFileCommands::askFileName() {
    window_.problem().record.fileName = localPath(dialogs_.saveFileName(&window_));
}

// The core writes through a temporary file, so a failed save keeps the former file.
void ProblemFileCommands::SaveToFile() {
    const std::string &path = window_.problem().record.fileName;
    const ProblemFileData data =
        problemFileDataToSave(window_.problem(), window_.fieldTexts(), window_.constantItems());
    if (const auto error = saveProblemFile(path, data))
        dialogs_.showMessage(&window_, saveFailureText(displayedPath(path), *error));
}

QString ProblemFileCommands::openFailureText(const QString &fileName, const FileError &error) {
    const QString detail = QString::fromStdString(error.message);
    switch (error.code) {
    case FileErrorCode::Incompatible:
        return QStringLiteral("Incompatible file");
    case FileErrorCode::CannotOpen:
        return detail;  // names the file already
    default:
        return QStringLiteral("Cannot open %1:\n%2").arg(fileName, detail);
    }
}

QString ProblemFileCommands::saveFailureText(const QString &fileName, const FileError &error) {
    const QString detail = QString::fromStdString(error.message);
    if (error.code == FileErrorCode::WriteFailed) return detail;  // names the file already
    return QStringLiteral("Cannot save %1:\n%2").arg(fileName, detail);
}

}  // namespace zl::gui

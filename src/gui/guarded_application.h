#pragma once
// The application object of the window program. Every event the windows
// handle, and so every command a user gives, passes through notify(): memory
// running out anywhere inside one stops that command with error 7 "Out of
// memory" and the program goes on, instead of ending it with all unsaved work.

#include <QApplication>

namespace zl::gui {

class UserDialogs;

class GuardedApplication : public QApplication {
    Q_OBJECT
public:
    GuardedApplication(int &argc, char **argv) : QApplication(argc, argv) {}

    /// Where the out-of-memory message is shown; until then it is not shown.
    void setDialogs(UserDialogs *dialogs) { dialogs_ = dialogs; }

    bool notify(QObject *receiver, QEvent *event) override;

private:
    void reportOutOfMemory();

    UserDialogs *dialogs_ = nullptr;
    bool reporting_ = false;
};

}  // namespace zl::gui

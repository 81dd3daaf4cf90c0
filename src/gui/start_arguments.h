#pragma once
// What the window program is asked for on its command line:
//   zerolith [FILE]     the window, with the problem FILE opened in it
//   zerolith --version  the version;  zerolith --help  the usage

#include <QString>
#include <QStringList>

namespace zl::gui {

struct StartArguments {
    enum class Action { OpenWindow, PrintVersion, PrintUsage, Refuse };
    Action action = Action::OpenWindow;
    QString file;  ///< the problem file to open at start; "" for none
    /// What to print: the version line, the usage, or why the arguments are refused.
    QString text;
};

/// Reads the arguments after the program's name (Qt's own options already
/// taken out). "--" ends the options, so that a file may begin with "-".
StartArguments readStartArguments(const QStringList &arguments);

}  // namespace zl::gui

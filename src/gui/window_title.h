#pragma once
// The title bar of the program's windows: the program's name, after the
// problem file's name once the problem has one, and the program's icon.

#include <QIcon>
#include <QString>

#include <string>

namespace zl::gui {

/// "circle.zerolith \u2014 Zerolith" for a problem in /some/folder/circle.zerolith, "Zerolith" for none.
QString windowTitleFor(const std::string &fileName);

/// The icon of the desktop's icon theme, or else the pictures installed
/// beside a program in `programFolder`; a null icon when neither is there
/// (a program run from its build folder).
QIcon programIcon(const QString &programFolder);

}  // namespace zl::gui

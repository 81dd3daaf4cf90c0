#pragma once
// The main window's title: the program's name, after the problem file's name
// once the problem has one.

#include <QString>

#include <string>

namespace zl::gui {

/// "circle.zerolith \u2014 Zerolith" for a problem in /some/folder/circle.zerolith, "Zerolith" for none.
QString windowTitleFor(const std::string &fileName);

}  // namespace zl::gui

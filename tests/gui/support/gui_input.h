#pragma once
// Real user input for window tests: clicks go through the top-level window, as
// a mouse click does, so the application sees them before it moves the focus;
// keys go to the widget that has the focus.

#include <QPoint>
#include <QString>

#include <optional>

class QWidget;

namespace zl::gui::testing {

/// A left click at `at` in `target` (its centre by default), delivered to its window.
void clickThroughWindow(QWidget *target, std::optional<QPoint> at = std::nullopt);
/// Clicks into the field, selects its whole text and types `text` over it.
void typeOver(QWidget *field, const QString &text);
/// A key press and release at the focused widget.
void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
/// The focused widget's objectName, or "(none)".
QString focusedName();

}  // namespace zl::gui::testing

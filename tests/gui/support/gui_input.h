#pragma once
// Real user input for window tests: clicks go through the top-level window, as
// a mouse click does, so the application sees them before it moves the focus;
// keys go to the widget that has the focus. Also showing a window and saving
// its picture.

#include <QApplication>
#include <QDir>
#include <QPoint>
#include <QString>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <optional>

namespace zl::gui::testing {

/// Shows `window` and waits until it is the active window: the offscreen
/// platform has no window manager to activate it.
inline bool showActive(QWidget &window) {
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

/// Saves `window` as NAME.png in $ZEROLITH_SCREENSHOT_DIR when that is set
/// (scripts/screenshots sets it).
inline void savePicture(QWidget &window, const QString &name) {
    const QString folder = qEnvironmentVariable("ZEROLITH_SCREENSHOT_DIR");
    if (folder.isEmpty()) return;
    QDir().mkpath(folder);
    QVERIFY(window.grab().save(QDir(folder).filePath(name + ".png")));
}

/// A left click at `at` in `target` (its centre by default), delivered to its window.
inline void clickThroughWindow(QWidget *target, std::optional<QPoint> at = std::nullopt) {
    QWidget *top = target->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {},
                      target->mapTo(top, at.value_or(target->rect().center())));
}

/// Clicks into the field, selects its whole text and types `text` over it.
inline void typeOver(QWidget *field, const QString &text) {
    clickThroughWindow(field);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

/// A key press and release at the focused widget.
inline void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    if (QWidget *focused = QApplication::focusWidget()) QTest::keyClick(focused, key, modifiers);
}

/// The focused widget's objectName, or "(none)".
inline QString focusedName() {
    QWidget *focused = QApplication::focusWidget();
    return focused ? focused->objectName() : QStringLiteral("(none)");
}

}  // namespace zl::gui::testing

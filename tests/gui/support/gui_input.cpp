#include "support/gui_input.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace zl::gui::testing {

void clickThroughWindow(QWidget *target, std::optional<QPoint> at) {
    QWidget *top = target->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {},
                      target->mapTo(top, at.value_or(target->rect().center())));
}

void typeOver(QWidget *field, const QString &text) {
    clickThroughWindow(field);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    if (QWidget *focused = QApplication::focusWidget()) QTest::keyClick(focused, key, modifiers);
}

QString focusedName() {
    QWidget *focused = QApplication::focusWidget();
    return focused ? focused->objectName() : QStringLiteral("(none)");
}

}  // namespace zl::gui::testing

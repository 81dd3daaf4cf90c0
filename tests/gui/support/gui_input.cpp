#include "support/gui_input.h"

#include <QApplication>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace zl::gui::testing {

void clickThroughWindow(QWidget *target)
{
    QWidget *top = target->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {},
                      target->mapTo(top, target->rect().center()));
}

void typeOver(QWidget *field, const QString &text)
{
    clickThroughWindow(field);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(field, Qt::Key_Delete);
    else
        QTest::keyClicks(field, text);
}

void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWidget *focused = QApplication::focusWidget();
    if (focused)
        QTest::keyClick(focused, key, modifiers);
}

void pressTab()
{
    pressKey(Qt::Key_Tab);
}

void pressBacktab()
{
    pressKey(Qt::Key_Backtab, Qt::ShiftModifier);
}

QString focusedName()
{
    QWidget *focused = QApplication::focusWidget();
    return focused ? focused->objectName() : QStringLiteral("(none)");
}

} // namespace zl::gui::testing

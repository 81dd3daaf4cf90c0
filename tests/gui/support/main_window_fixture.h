#pragma once
// A shown main window with a recording dialogs fake, and the few steps that
// every main window test takes: finding controls and entering a problem with
// real key presses and clicks.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <memory>

#include "gui/main_window.h"
#include "support/fake_user_dialogs.h"
#include "support/gui_input.h"

namespace zl::gui::testing {

struct MainWindowFixture {
    FakeUserDialogs dialogs;
    std::unique_ptr<MainWindow> window;

    /// Shows a new window; false when it did not become active.
    bool open()
    {
        window = std::make_unique<MainWindow>(dialogs);
        window->show();
        return QTest::qWaitForWindowActive(window.get());
    }

    template <typename Control = QWidget>
    Control *control(const char *name) const
    {
        return window->findChild<Control *>(QLatin1String(name));
    }

    /// Element `index` of a control array (txtEquation, txtLL, ...).
    QLineEdit *element(const char *name, int index) const
    {
        for (QLineEdit *field : window->findChildren<QLineEdit *>(QLatin1String(name)))
            if (field->property("index").toInt() == index)
                return field;
        return nullptr;
    }

    int elementCount(const char *name) const
    {
        return static_cast<int>(window->findChildren<QLineEdit *>(QLatin1String(name)).size());
    }

    QStringList listLines() const
    {
        QStringList lines;
        auto *list = control<QListWidget>("lstRoots");
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        return lines;
    }

    QString countText() const { return control<QLabel>("lblRoots")->text(); }

    /// Types into a field and leaves it with Tab.
    void enter(QLineEdit *field, const QString &text)
    {
        typeOver(field, text);
        pressTab();
    }

    /// Order and names typed and committed.
    void enterProblem(const QString &order, const QString &names)
    {
        enter(control<QLineEdit>("txtOrder"), order);
        enter(control<QLineEdit>("txtVarNams"), names);
    }
};

} // namespace zl::gui::testing

#pragma once
// A shown main window with a recording dialogs fake, and the steps every main
// window test takes: finding controls, reading the list, entering a problem.

#include <QAbstractItemView>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <memory>

#include "gui/main_window.h"
#include "support/fake_user_dialogs.h"
#include "support/gui_input.h"

namespace zl::gui::testing {

struct MainWindowFixture {
    FakeUserDialogs dialogs;
    std::unique_ptr<MainWindow> window;

    bool open() {
        window = std::make_unique<MainWindow>(dialogs);
        window->show();
        return QTest::qWaitForWindowActive(window.get());
    }

    template <typename Control = QWidget>
    Control *control(const char *name) const {
        return window->findChild<Control *>(QLatin1String(name));
    }

    /// Element `index` of a control array (txtEquation, txtLL, ...).
    QLineEdit *element(const char *name, int index) const {
        for (QLineEdit *field : window->findChildren<QLineEdit *>(QLatin1String(name)))
            if (field->property("index").toInt() == index) return field;
        return nullptr;
    }
    int elementCount(const char *name) const { return int(window->findChildren<QLineEdit *>(name).size()); }

    QStringList listLines() const {
        const QAbstractItemModel *lines = control<QAbstractItemView>("lstRoots")->model();
        QStringList texts;
        for (int i = 0; i < lines->rowCount(); ++i) texts << lines->index(i, 0).data().toString();
        return texts;
    }
    /// Clicks a run command and waits until the window has handled the run's end.
    bool runToTheEnd(const char *command) {
        clickThroughWindow(control(command));
        return QTest::qWaitFor([this] { return !window->runUnderWay(); }, 60000);
    }
    QString countText() const { return control<QLabel>("lblRoots")->text(); }

    /// Types into a field and leaves it with Tab.
    void enter(QWidget *field, const QString &text) {
        typeOver(field, text);
        pressKey(Qt::Key_Tab);
    }
    void enterProblem(const QString &order, const QString &names) {
        enter(control("txtOrder"), order);
        enter(control("txtVarNams"), names);
    }
};

}  // namespace zl::gui::testing

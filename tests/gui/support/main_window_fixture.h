#pragma once
// A shown main window with a recording dialogs fake, and the steps every main
// window test takes: finding controls, reading the list, entering or opening a
// problem.

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>

#include <memory>

#include "gui/main_window.h"
#include "gui/problem_file_commands.h"
#include "support/fake_user_dialogs.h"
#include "support/gui_input.h"

namespace zl::gui::testing {

struct MainWindowFixture {
    FakeUserDialogs dialogs;
    std::unique_ptr<MainWindow> window;

    /// With `withFileCommands` the File menu's Open, Save and Save As act.
    bool open(bool withFileCommands = false) {
        dialogs = FakeUserDialogs();  // nothing left from an earlier test
        window = std::make_unique<MainWindow>(dialogs);
        if (withFileCommands) new ProblemFileCommands(*window, dialogs);  // the window owns it
        return showActive(*window);
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

    static QStringList rowTexts(const QAbstractItemModel *model) {
        QStringList texts;
        for (int i = 0; i < model->rowCount(); ++i) texts << model->index(i, 0).data().toString();
        return texts;
    }
    QStringList listLines() const { return rowTexts(control<QAbstractItemView>("lstRoots")->model()); }
    /// Clicks a run command and waits until the window has handled the run's end.
    bool runToTheEnd(const char *command) {
        clickThroughWindow(control(command));
        return QTest::qWaitFor([this] { return !window->runUnderWay(); }, 60000);
    }
    /// A click on the menu bar's item `name` (a command, or a menu's title).
    void clickMenuBar(const char *name) const {
        QMenuBar *bar = window->menuBar();
        clickThroughWindow(bar, bar->actionGeometry(control<QAction>(name)).center());
    }
    /// A click on line `row` of the solution list.
    void clickListLine(int row) const {
        auto *list = control<QAbstractItemView>("lstRoots");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, 0)).center());
    }
    QString countText() const { return control<QLabel>("lblRoots")->text(); }
    /// The user constants box's items.
    QStringList constantItems() const { return rowTexts(control<QComboBox>("cboConstants")->model()); }

    /// Types into a field and leaves it with Tab.
    void enter(QWidget *field, const QString &text) {
        typeOver(field, text);
        pressKey(Qt::Key_Tab);
    }
    void enterProblem(const QString &order, const QString &names) {
        enter(control("txtOrder"), order);
        enter(control("txtVarNams"), names);
    }
    /// The order, the names, and each equation typed into its field in turn.
    void typeProblem(const QStringList &equations, const QString &names) {
        enterProblem(QString::number(equations.size()), names);
        typeOver(element("txtEquation", 0), equations.first());
        for (qsizetype i = 1; i < equations.size(); ++i) {
            clickThroughWindow(control("cmdNextEq"));
            QTest::keyClicks(QApplication::focusWidget(), equations[i]);  // over the selected text
        }
    }
    /// File > Open answered with `path` (the menu itself is driven with the mouse in its own test).
    void openFile(const QString &path) {
        dialogs.openFileAnswers.enqueue(path);
        control<QAction>("mnuOpen")->trigger();
    }
};

}  // namespace zl::gui::testing

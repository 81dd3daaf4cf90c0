// The equations grid window driven by real key presses and clicks.

#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>

#include <memory>

#include "gui/cell_edit_box.h"
#include "gui/equation_grid_model.h"
#include "gui/equations_window.h"
#include "support/gui_input.h"

using namespace zl::gui;
using namespace zl::gui::testing;

static const QStringList kStart{"a=1", "b=2", "c=3"};

class EquationsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        model = std::make_unique<EquationGridModel>();
        window = std::make_unique<EquationsWindow>(*model);
        // Set up after the window exists, as the main window does when the order
        // and the names are committed.
        model->setRowCount(3);
        model->writeRowLabels();
        for (int row = 0; row < 3; ++row) model->setEquationText(row, kStart[row]);
        model->setVariablesCaption("Variables: a,b,c");
        reopen();
    }

    void cleanup() { window.reset(), model.reset(); }
    void typing_on_grid_replaces_the_row_data() {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("expected");
        QTest::newRow("enter") << QList<int>{Qt::Key_Return} << "\r";
        QTest::newRow("backspace") << QList<int>{Qt::Key_Backspace} << "\b";
        QTest::newRow("escape") << QList<int>{Qt::Key_Escape} << "\x1b";
        // Later keys reach the box, after the first character, not over it.
        QTest::newRow("several") << QList<int>{Qt::Key_Y, Qt::Key_Equal, Qt::Key_7} << "y=7";
    }

    void typing_on_grid_replaces_the_row() {
        QFETCH(QList<int>, keys);
        QFETCH(QString, expected);
        clickCell(1, 1);  // the box has had the focus once: it now selects on focus
        QCOMPARE(QApplication::focusWidget(), window->editBox());
        QTest::keyClick(window->editBox(), Qt::Key_Left);
        QCOMPARE(QApplication::focusWidget(), window->grid());
        QSignalSpy commits(model.get(), &EquationGridModel::equationsEditedInGrid);

        for (int key : keys)  // through the window, to whichever widget has the focus
            QTest::keyClick(window->windowHandle(), Qt::Key(key));

        QCOMPARE(window->cellText(1, 1), expected);
        QCOMPARE(model->equationText(1), expected);
        QCOMPARE(model->equationText(0), kStart[0]);
        QCOMPARE(commits.size(), keys.size());  // every keystroke committed at once
        QCOMPARE(QApplication::focusWidget(), window->editBox());
        QCOMPARE(window->editBox()->cursorPosition(), expected.size());
        QTableWidget *grid = window->grid();
        const QRect cell = grid->visualRect(grid->model()->index(1, 1));
        QCOMPARE(window->editBox()->geometry(),
                 QRect(grid->viewport()->mapTo(window.get(), cell.topLeft()), cell.size()));
    }

    void arrow_keys_in_edit_box_data() {
        QTest::addColumn<int>("startRow");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expectedRow");
        QTest::addColumn<bool>("boxKeepsFocus");
        QTest::newRow("down moves") << 0 << int(Qt::Key_Down) << 1 << true;
        QTest::newRow("down in last row stays") << 2 << int(Qt::Key_Down) << 2 << false;
        QTest::newRow("up moves") << 2 << int(Qt::Key_Up) << 1 << true;
        QTest::newRow("up in first row stays") << 0 << int(Qt::Key_Up) << 0 << false;
        QTest::newRow("left only hands focus") << 1 << int(Qt::Key_Left) << 1 << false;
        QTest::newRow("right only hands focus") << 1 << int(Qt::Key_Right) << 1 << false;
    }

    void arrow_keys_in_edit_box() {
        QFETCH(int, startRow);
        QFETCH(int, key);
        QFETCH(int, expectedRow);
        QFETCH(bool, boxKeepsFocus);
        clickCell(startRow, 1);

        QTest::keyClick(window->editBox(), Qt::Key(key));

        QCOMPARE(window->grid()->currentRow(), expectedRow);
        QCOMPARE(window->grid()->currentColumn(), 1);
        QVERIFY(window->editBox()->isVisible());
        QCOMPARE(window->editBox()->text(), kStart[expectedRow]);
        QCOMPARE(QApplication::focusWidget(),
                 boxKeepsFocus ? static_cast<QWidget *>(window->editBox()) : window->grid());
        for (int row = 0; row < 3; ++row) QCOMPARE(model->equationText(row), kStart[row]);
    }

    void first_focus_keeps_selection_later_ones_select_all_and_typing_replaces() {
        clickCell(0, 1);  // the box takes the focus: the typing test
        QVERIFY(!window->editBox()->hasSelectedText());
        QTest::keyClick(window->editBox(), Qt::Key_Down);
        QCOMPARE(window->editBox()->selectedText(), kStart[1]);
        clickThroughWindow(window->okButton());
        reopen();         // the flag outlives the window's closing
        clickCell(2, 0);  // the label column edits its row's equation
        QCOMPARE(window->grid()->currentColumn(), 1);
        QCOMPARE(window->editBox()->selectedText(), kStart[2]);

        // A character typed on the grid replaces the row even when the box still holds it.
        QTest::keyClick(window->editBox(), Qt::Key_Left);
        QTest::keyClick(window->grid(), Qt::Key_Q);
        clickThroughWindow(window->okButton());
        model->setEquationText(2, "changed in the main window");
        reopen();
        window->grid()->setFocus();
        QTest::keyClick(window->grid(), Qt::Key_Q);
        QCOMPARE(model->equationText(2), QStringLiteral("q"));
    }

    // Closed from the title bar; OK's click closes it in the program windows' test.
    void closing_keeps_what_was_set_up() {
        QTableWidget *grid = window->grid();
        const int labelWidth = grid->columnWidth(0);
        QVERIFY(qAbs(grid->columnWidth(1) - labelWidth * 8.8) <= 0.5);
        clickCell(1, 1);
        QTest::keyClick(window->editBox(), Qt::Key_End);
        QTest::keyClicks(window->editBox(), "+1");

        window->windowHandle()->close();  // what the window manager's close button does

        QVERIFY(window->isHidden());
        QVERIFY(window->editBox()->isHidden());
        QCOMPARE(model->equationText(1), QStringLiteral("b=2+1"));
        window->show();
        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(window->cellText(2, 0), QStringLiteral("Equat.#3:"));
        QCOMPARE(window->variablesCaption(), QStringLiteral("Variables: a,b,c"));
        QCOMPARE(grid->columnWidth(0), labelWidth);
        QCOMPARE(grid->columnWidth(1), qRound(labelWidth * 8.8));
    }

private:
    void clickCell(int row, int column) const {
        QTableWidget *grid = window->grid();
        clickThroughWindow(grid->viewport(), grid->visualRect(grid->model()->index(row, column)).center());
    }

    // The offscreen platform keeps a hidden window as its focus window, so
    // another window takes the activation first.
    void reopen() {
        QWidget other;
        QVERIFY(showActive(other));
        QVERIFY(showActive(*window));
    }

    std::unique_ptr<EquationGridModel> model;
    std::unique_ptr<EquationsWindow> window;
};

QTEST_MAIN(EquationsWindowTest)
#include "equations_window_test.moc"

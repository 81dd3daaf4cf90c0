// The equations grid window driven by real key presses and clicks.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>
#include <QWindow>

#include <memory>
#include <utility>

#include "gui/cell_edit_box.h"
#include "gui/equation_grid_model.h"
#include "gui/equations_window.h"

using zl::gui::EquationGridModel;
using zl::gui::EquationsWindow;

namespace {

const QStringList kStartEquations{QStringLiteral("a=1"), QStringLiteral("b=2"),
                                  QStringLiteral("c=3")};

QPoint centreOfCell(const EquationsWindow &window, int row, int column)
{
    QTableWidget *grid = window.grid();
    const QRect cell = grid->visualRect(grid->model()->index(row, column));
    return grid->viewport()->mapTo(&window, cell.center());
}

void clickAt(EquationsWindow &window, QPoint windowPos)
{
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, windowPos);
}

void clickWidget(EquationsWindow &window, QWidget *target)
{
    clickAt(window, target->mapTo(&window, target->rect().center()));
}

QStringList modelTexts(const EquationGridModel &model)
{
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.equationText(row);
    return texts;
}

} // namespace

class EquationsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup()
    {
        window.reset();
        model.reset();
    }

    void typing_on_grid_replaces_current_row_data();
    void typing_on_grid_replaces_current_row();
    void typing_continues_after_the_first_character();
    void typed_character_replaces_even_when_box_already_holds_it();
    void arrow_keys_in_edit_box_data();
    void arrow_keys_in_edit_box();
    void first_focus_keeps_selection_later_ones_select_all();
    void click_on_label_column_edits_that_rows_equation();
    void title_bar_close_and_ok_keep_the_set_up_data();
    void title_bar_close_and_ok_keep_the_set_up();
    void equation_column_is_wider_by_factor_8_8();
    void grid_without_rows_ignores_typing();
    void locked_model_refuses_grid_edits();

private:
    void selectRowWithClickThenFocusGrid(int row);
    void reopen();
    void typeOnFocusedWidget(const QString &text);
    std::unique_ptr<EquationGridModel> model;
    std::unique_ptr<EquationsWindow> window;
};

void EquationsWindowTest::init()
{
    model = std::make_unique<EquationGridModel>();
    window = std::make_unique<EquationsWindow>(*model);
    // Set up after the window exists, as the main window does when the order
    // and the names are committed.
    model->setRowCount(3);
    model->writeRowLabels();
    for (int row = 0; row < 3; ++row)
        model->setEquationText(row, kStartEquations.at(row));
    model->setVariablesCaption(QStringLiteral("Variables: a,b,c"));
    reopen();
    QCOMPARE(window->grid()->currentColumn(), 1);  // the label column is never current
}

// Shows the window again and makes it the active one. The offscreen platform
// keeps a hidden window as its focus window, so activating it again would
// change nothing; another window takes the activation first.
void EquationsWindowTest::reopen()
{
    QWidget other;
    other.show();
    other.activateWindow();
    QTRY_VERIFY(other.isActiveWindow());
    window->show();
    window->activateWindow();
    QTRY_VERIFY(window->isActiveWindow());
}

// Key presses through the window system, so they reach whichever widget has the focus.
void EquationsWindowTest::typeOnFocusedWidget(const QString &text)
{
    for (QChar character : text)
        QTest::keyClick(window->windowHandle(), character.toLatin1());
}

// Clicking opens the box over the row; Left then hands the focus back to the grid.
void EquationsWindowTest::selectRowWithClickThenFocusGrid(int row)
{
    clickAt(*window, centreOfCell(*window, row, 1));
    QCOMPARE(QApplication::focusWidget(), window->editBox());
    QTest::keyClick(window->editBox(), Qt::Key_Left);
    QCOMPARE(QApplication::focusWidget(), window->grid());
    QCOMPARE(window->grid()->currentRow(), row);
}

void EquationsWindowTest::typing_on_grid_replaces_current_row_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("letter") << int(Qt::Key_X) << QStringLiteral("x");
    QTest::newRow("digit") << int(Qt::Key_5) << QStringLiteral("5");
    QTest::newRow("enter") << int(Qt::Key_Return) << QStringLiteral("\r");
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << QStringLiteral("\b");
    QTest::newRow("escape") << int(Qt::Key_Escape) << QStringLiteral("\x1b");
}

void EquationsWindowTest::typing_on_grid_replaces_current_row()
{
    QFETCH(int, key);
    QFETCH(QString, expected);
    selectRowWithClickThenFocusGrid(1);
    QSignalSpy committed(model.get(), &EquationGridModel::equationsEditedInGrid);

    QTest::keyClick(window->grid(), Qt::Key(key));

    QCOMPARE(window->cellText(1, 1), expected);
    QCOMPARE(window->editBox()->text(), expected);
    QVERIFY(window->editBox()->isVisible());
    QCOMPARE(QApplication::focusWidget(), window->editBox());
    QCOMPARE(window->editBox()->cursorPosition(), 1);
    QVERIFY(!window->editBox()->hasSelectedText());
    QCOMPARE(window->editBox()->toolTip(), expected);
    // The model has the row and asks the main window to copy every row.
    QCOMPARE(modelTexts(*model), (QStringList{kStartEquations[0], expected, kStartEquations[2]}));
    QCOMPARE(committed.size(), 1);
    // The box lies exactly over the cell.
    QTableWidget *grid = window->grid();
    const QRect cell = grid->visualRect(grid->model()->index(1, 1));
    QCOMPARE(window->editBox()->geometry(),
             QRect(grid->viewport()->mapTo(window.get(), cell.topLeft()), cell.size()));
}

void EquationsWindowTest::typing_continues_after_the_first_character()
{
    // Once the box has been focused before, its focus selects all: a character
    // typed on the grid must still not be selected, or the next key would eat it.
    selectRowWithClickThenFocusGrid(2);
    QVERIFY(window->editBoxFocusedOnce());
    QSignalSpy committed(model.get(), &EquationGridModel::equationsEditedInGrid);

    typeOnFocusedWidget(QStringLiteral("y=7"));
    QCOMPARE(QApplication::focusWidget(), window->editBox());

    QCOMPARE(window->cellText(2, 1), QStringLiteral("y=7"));
    QCOMPARE(model->equationText(2), QStringLiteral("y=7"));
    QCOMPARE(committed.size(), 3);  // one commit per keystroke
}

void EquationsWindowTest::typed_character_replaces_even_when_box_already_holds_it()
{
    selectRowWithClickThenFocusGrid(0);
    QTest::keyClick(window->grid(), Qt::Key_Q);
    clickWidget(*window, window->okButton());
    QVERIFY(window->isHidden());
    model->setEquationText(0, QStringLiteral("changed elsewhere"));
    QCOMPARE(window->cellText(0, 1), QStringLiteral("changed elsewhere"));
    reopen();
    window->grid()->setFocus();

    QTest::keyClick(window->grid(), Qt::Key_Q);

    QCOMPARE(window->cellText(0, 1), QStringLiteral("q"));
    QCOMPARE(model->equationText(0), QStringLiteral("q"));
}

void EquationsWindowTest::arrow_keys_in_edit_box_data()
{
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

void EquationsWindowTest::arrow_keys_in_edit_box()
{
    QFETCH(int, startRow);
    QFETCH(int, key);
    QFETCH(int, expectedRow);
    QFETCH(bool, boxKeepsFocus);
    clickAt(*window, centreOfCell(*window, startRow, 1));
    QCOMPARE(QApplication::focusWidget(), window->editBox());
    const QString textBefore = window->editBox()->text();

    QTest::keyClick(window->editBox(), Qt::Key(key));

    QCOMPARE(window->grid()->currentRow(), expectedRow);
    QCOMPARE(window->grid()->currentColumn(), 1);
    QVERIFY(window->editBox()->isVisible());
    QCOMPARE(window->editBox()->text(), kStartEquations.at(expectedRow));
    QCOMPARE(QApplication::focusWidget(),
             boxKeepsFocus ? static_cast<QWidget *>(window->editBox()) : window->grid());
    if (!boxKeepsFocus) {
        // The key did not reach the box as a caret move or as typing.
        QCOMPARE(window->editBox()->text(), textBefore);
    }
    for (int row = 0; row < 3; ++row)
        QCOMPARE(model->equationText(row), kStartEquations.at(row));
}

void EquationsWindowTest::first_focus_keeps_selection_later_ones_select_all()
{
    QVERIFY(!window->editBoxFocusedOnce());
    clickAt(*window, centreOfCell(*window, 0, 1));
    QCOMPARE(QApplication::focusWidget(), window->editBox());
    QVERIFY(window->editBoxFocusedOnce());
    QVERIFY(!window->editBox()->hasSelectedText());

    QTest::keyClick(window->editBox(), Qt::Key_Down);  // focus comes again, on row 1
    QCOMPARE(QApplication::focusWidget(), window->editBox());
    QCOMPARE(window->editBox()->selectedText(), kStartEquations[1]);

    // Closing keeps the flag: a click after reopening still selects all.
    clickWidget(*window, window->okButton());
    reopen();
    clickAt(*window, centreOfCell(*window, 2, 1));
    QCOMPARE(window->editBox()->selectedText(), kStartEquations[2]);
}

void EquationsWindowTest::click_on_label_column_edits_that_rows_equation()
{
    clickAt(*window, centreOfCell(*window, 2, 0));
    QCOMPARE(window->grid()->currentRow(), 2);
    QCOMPARE(window->grid()->currentColumn(), 1);
    QCOMPARE(QApplication::focusWidget(), window->editBox());
    QCOMPARE(window->editBox()->text(), kStartEquations[2]);
    QVERIFY(window->grid()->selectedItems().size() <= 1);
    for (QTableWidgetItem *item : window->grid()->selectedItems())
        QCOMPARE(item->column(), 1);
}

void EquationsWindowTest::title_bar_close_and_ok_keep_the_set_up_data()
{
    QTest::addColumn<bool>("withTitleBar");
    QTest::newRow("title bar") << true;
    QTest::newRow("OK button") << false;
}

void EquationsWindowTest::title_bar_close_and_ok_keep_the_set_up()
{
    QFETCH(bool, withTitleBar);
    const int labelWidth = window->grid()->columnWidth(0);
    const int equationWidth = window->grid()->columnWidth(1);
    clickAt(*window, centreOfCell(*window, 1, 1));
    QTest::keyClick(window->editBox(), Qt::Key_End);
    QTest::keyClicks(window->editBox(), QStringLiteral("+1"));
    QSignalSpy committed(model.get(), &EquationGridModel::equationsEditedInGrid);

    if (withTitleBar)
        window->windowHandle()->close();  // what the window manager's close button does
    else
        clickWidget(*window, window->okButton());

    QVERIFY(window->isHidden());
    QVERIFY(window->editBox()->isHidden());
    QCOMPARE(committed.size(), 1);  // the commit on closing
    QCOMPARE(model->equationText(1), QStringLiteral("b=2+1"));
    window->show();
    QCOMPARE(window->grid()->rowCount(), 3);
    for (int row = 0; row < 3; ++row)
        QCOMPARE(window->cellText(row, 0), QStringLiteral("Equat.#%1:").arg(row + 1));
    QCOMPARE(window->cellText(1, 1), QStringLiteral("b=2+1"));
    QCOMPARE(window->variablesCaption(), QStringLiteral("Variables: a,b,c"));
    QCOMPARE(window->grid()->columnWidth(0), labelWidth);
    QCOMPARE(window->grid()->columnWidth(1), equationWidth);
    QVERIFY(window->editBox()->isHidden());
}

void EquationsWindowTest::equation_column_is_wider_by_factor_8_8()
{
    QTableWidget *grid = window->grid();
    const double expected = grid->columnWidth(0) * 8.8;
    QVERIFY(qAbs(grid->columnWidth(1) - expected) <= 0.5);
    window->applyEquationColumnLayout();  // applied again from the main window's set-up
    QVERIFY(qAbs(grid->columnWidth(1) - expected) <= 0.5);
    // A width set on column 0 later carries over: 31 x 8.8 = 272.8, 33 x 8.8 = 290.4.
    for (const auto &[labelWidth, equationWidth] : {std::pair{31, 273}, std::pair{33, 290}}) {
        grid->setColumnWidth(0, labelWidth);
        window->applyEquationColumnLayout();
        QCOMPARE(grid->columnWidth(1), equationWidth);
    }
    const auto alignment = grid->item(2, 1)->textAlignment();
    QCOMPARE(Qt::Alignment(alignment), Qt::AlignLeft | Qt::AlignVCenter);
}

void EquationsWindowTest::grid_without_rows_ignores_typing()
{
    model->setRowCount(0);
    QSignalSpy committed(model.get(), &EquationGridModel::equationsEditedInGrid);
    window->grid()->setFocus();
    QTest::keyClick(window->grid(), Qt::Key_X);
    clickWidget(*window, window->grid());
    QCOMPARE(committed.size(), 0);
    QVERIFY(window->editBox()->isHidden());
}

void EquationsWindowTest::locked_model_refuses_grid_edits()
{
    clickAt(*window, centreOfCell(*window, 0, 1));
    model->setEditingLocked(true);  // a run has started
    QTest::keyClick(window->editBox(), Qt::Key_Z);
    QTest::keyClick(window->editBox(), Qt::Key_Down);
    QTest::keyClick(window->grid(), Qt::Key_Z);

    QCOMPARE(modelTexts(*model), kStartEquations);
    for (int row = 0; row < 3; ++row)
        QCOMPARE(window->cellText(row, 1), kStartEquations.at(row));

    model->setEditingLocked(false);
    window->grid()->setFocus();
    QTest::keyClick(window->grid(), Qt::Key_Z);
    QCOMPARE(model->equationText(window->grid()->currentRow()), QStringLiteral("z"));
}

QTEST_MAIN(EquationsWindowTest)
#include "equations_window_test.moc"

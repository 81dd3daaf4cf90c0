// Entering the problem's shape and stepping through it: the order, the names,
// the equation fields and the interval fields, with their silent checks.

#include <QAction>
#include <QPushButton>
#include <QSignalSpy>

#include "support/main_window_fixture.h"

using namespace zl::gui::testing;
using zl::gui::EquationGridModel;
using zl::gui::MainWindow;

namespace {

/// Index of the one visible element of a control array, or -1 when not exactly one is.
int visibleIndex(const MainWindowFixture &fixture, const char *name)
{
    int shown = -1;
    for (int i = 0; i < fixture.elementCount(name); ++i) {
        if (fixture.element(name, i)->isVisible()) {
            if (shown >= 0)
                return -1;
            shown = i;
        }
    }
    return shown;
}

} // namespace

class MainWindowProblemTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(fixture.open()); }
    void cleanup() { fixture.window.reset(); }

    void order_sizes_the_problem_and_creates_the_fields_data();
    void order_sizes_the_problem_and_creates_the_fields();
    void unusable_order_keeps_the_focus_and_blocks_the_window_data();
    void unusable_order_keeps_the_focus_and_blocks_the_window();
    void names_must_match_the_order_data();
    void names_must_match_the_order();
    void names_commit_labels_the_grid_and_opens_the_menus();
    void names_field_is_reached_only_after_the_order();
    void new_fields_copy_field_zero_as_it_is_then();
    void navigation_does_nothing_before_the_order();
    void equation_navigation_wraps_round_data();
    void equation_navigation_wraps_round();
    void empty_equation_cannot_be_left();
    void typing_an_equation_writes_its_grid_row();
    void grid_edits_come_back_into_the_equation_fields();
    void variable_navigation_wraps_and_shows_the_name();
    void limits_must_be_numbers_as_a_whole_data();
    void limits_must_be_numbers_as_a_whole();

private:
    QLineEdit *field(const char *name) const { return fixture.control<QLineEdit>(name); }
    MainWindowFixture fixture;
};

void MainWindowProblemTest::order_sizes_the_problem_and_creates_the_fields_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("order");
    QTest::newRow("3") << "3" << 3;
    QTest::newRow("2.5 rounds to even") << "2.5" << 2;
    QTest::newRow("3.5 rounds to even") << "3.5" << 4;
    QTest::newRow("blanks and trailing text") << " 1 x" << 1;
    QTest::newRow("largest order") << QString::number(zl::kMaxOrder) << zl::kMaxOrder;
}

void MainWindowProblemTest::order_sizes_the_problem_and_creates_the_fields()
{
    QFETCH(QString, text);
    QFETCH(int, order);
    fixture.enter(field("txtOrder"), text);

    QCOMPARE(fixture.window->problem().spec.order, order);
    QCOMPARE(fixture.window->problem().spec.lastIndex, order - 1);
    for (const char *array : {"txtEquation", "txtLL", "txtUL", "txtSubintervals"}) {
        QCOMPARE(fixture.elementCount(array), order);
        QCOMPARE(visibleIndex(fixture, array), 0);
    }
    QCOMPARE(fixture.window->equationGrid().rowCount(), order);
    QVERIFY(!field("txtOrder")->isEnabled());
    QVERIFY(!fixture.control<QAction>("mnuOpen")->isEnabled());
    QCOMPARE(focusedName(), QStringLiteral("txtVarNams"));
}

void MainWindowProblemTest::unusable_order_keeps_the_focus_and_blocks_the_window_data()
{
    QTest::addColumn<QString>("text");
    for (const char *text : {"-1", "0", "abc", "", "0.3", "0.5", "1e10", "501"})
        QTest::newRow(text) << QString::fromLatin1(text);
}

void MainWindowProblemTest::unusable_order_keeps_the_focus_and_blocks_the_window()
{
    QFETCH(QString, text);
    QSignalSpy showAll(fixture.window.get(), &MainWindow::showAllRequested);
    QSignalSpy shutDown(fixture.window.get(), &MainWindow::aboutToShutDown);
    typeOver(field("txtOrder"), text);

    pressTab();
    clickThroughWindow(fixture.control("txtVarNams"));
    clickThroughWindow(fixture.control("cmdShowAll"));
    clickThroughWindow(fixture.control("cmdExit"));
    pressKey(Qt::Key_X, Qt::AltModifier);  // Exit's mnemonic
    QTest::qWait(250);

    QCOMPARE(focusedName(), QStringLiteral("txtOrder"));
    QCOMPARE(field("txtOrder")->text(), text);
    QVERIFY(field("txtOrder")->isEnabled());
    QCOMPARE(showAll.count(), 0);
    QCOMPARE(shutDown.count(), 0);
    QVERIFY(fixture.window->isVisible());
    QCOMPARE(fixture.window->problem().spec.order, 0);
    QCOMPARE(fixture.elementCount("txtEquation"), 1);

    // Corrected, the same Tab goes through.
    typeOver(field("txtOrder"), QStringLiteral("2"));
    pressTab();
    QCOMPARE(focusedName(), QStringLiteral("txtVarNams"));
}

void MainWindowProblemTest::names_must_match_the_order_data()
{
    QTest::addColumn<QString>("order");
    QTest::addColumn<QString>("names");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("three names") << "3" << "x,y,z" << true;
    QTest::newRow("blank kept in a name") << "2" << "x, y" << true;
    QTest::newRow("duplicates pass") << "2" << "x,x" << true;
    QTest::newRow("empty middle piece") << "3" << "x,,y" << false;
    QTest::newRow("empty last piece") << "3" << "x,y," << false;
    QTest::newRow("too few") << "3" << "x,y" << false;
    QTest::newRow("too many") << "1" << "x,y" << false;
    QTest::newRow("empty text") << "1" << "" << false;
}

void MainWindowProblemTest::names_must_match_the_order()
{
    QFETCH(QString, order);
    QFETCH(QString, names);
    QFETCH(bool, accepted);
    fixture.enterProblem(order, names);

    QCOMPARE(focusedName(), accepted ? QStringLiteral("txtError") : QStringLiteral("txtVarNams"));
    QCOMPARE(field("txtVarNams")->isEnabled(), !accepted);
    QCOMPARE(fixture.control("cmdExplore")->isEnabled(), accepted);
    if (accepted) {
        const auto &varNames = fixture.window->problem().spec.varNames;
        QCOMPARE(QString::fromStdString(varNames.back()), names.split(',').last());
    }
}

void MainWindowProblemTest::names_commit_labels_the_grid_and_opens_the_menus()
{
    fixture.enterProblem(QStringLiteral("3"), QStringLiteral("a,b,c"));
    EquationGridModel &grid = fixture.window->equationGrid();
    QCOMPARE(grid.variablesCaption(), QStringLiteral("Variables: a,b,c"));
    QCOMPARE(QStringList({grid.rowLabel(0), grid.rowLabel(1), grid.rowLabel(2)}),
             QStringList({"Equat.#1:", "Equat.#2:", "Equat.#3:"}));
    QCOMPARE(fixture.control<QLabel>("lblVarNum")->text(), QStringLiteral("a"));
    QVERIFY(fixture.control<QAction>("mnuSave")->isEnabled());
    QVERIFY(fixture.control<QAction>("mnuSaveAs")->isEnabled());
    QVERIFY(fixture.control<QAction>("mnuPrint")->isVisible());
    QVERIFY(fixture.control<QAction>("mnuAbout")->isVisible());
}

// The window opens with the focus in the empty order field, which cannot be
// left: the names are always typed against a known order.
void MainWindowProblemTest::names_field_is_reached_only_after_the_order()
{
    clickThroughWindow(field("txtVarNams"));
    QCOMPARE(focusedName(), QStringLiteral("txtOrder"));

    fixture.enter(field("txtOrder"), QStringLiteral("2"));
    QCOMPARE(focusedName(), QStringLiteral("txtVarNams"));
    QCOMPARE(fixture.elementCount("txtEquation"), 2);
    typeOver(field("txtVarNams"), QStringLiteral("p,q"));
    pressTab();
    QCOMPARE(focusedName(), QStringLiteral("txtError"));
    QCOMPARE(fixture.control<QLabel>("lblVarNum")->text(), QStringLiteral("p"));
}

void MainWindowProblemTest::new_fields_copy_field_zero_as_it_is_then()
{
    typeOver(fixture.element("txtEquation", 0), QStringLiteral("x-1"));
    typeOver(fixture.element("txtUL", 0), QStringLiteral("7"));
    fixture.enter(field("txtOrder"), QStringLiteral("2"));
    QLineEdit *second = fixture.element("txtEquation", 1);
    QCOMPARE(second->text(), QStringLiteral("x-1"));
    QCOMPARE(second->toolTip(), fixture.element("txtEquation", 0)->toolTip());
    QCOMPARE(fixture.element("txtUL", 1)->text(), QStringLiteral("7"));
    QCOMPARE(fixture.element("txtLL", 1)->text(), QStringLiteral("-5"));
    QCOMPARE(fixture.element("txtSubintervals", 1)->text(), QStringLiteral("4"));
    QCOMPARE(fixture.window->equationGrid().equationText(1), QStringLiteral("x-1"));
}

void MainWindowProblemTest::navigation_does_nothing_before_the_order()
{
    for (const char *button : {"cmdNextEq", "cmdPrevEq", "cmdNextLim", "cmdPrevLim"})
        clickThroughWindow(fixture.control(button));
    QCOMPARE(fixture.control<QLabel>("lblEqNum")->text(), QStringLiteral("1"));
    QCOMPARE(visibleIndex(fixture, "txtEquation"), 0);
    QCOMPARE(visibleIndex(fixture, "txtLL"), 0);
    QCOMPARE(fixture.window->problem().spec.currentVariable, 1);
}

void MainWindowProblemTest::equation_navigation_wraps_round_data()
{
    QTest::addColumn<QString>("order");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QList<int>>("numbersShown");
    QTest::newRow("next, order 3") << "3" << "cmdNextEq" << QList<int>{2, 3, 1, 2};
    QTest::newRow("previous, order 3") << "3" << "cmdPrevEq" << QList<int>{3, 2, 1, 3};
    QTest::newRow("next, order 1") << "1" << "cmdNextEq" << QList<int>{1, 1};
    QTest::newRow("previous, order 1") << "1" << "cmdPrevEq" << QList<int>{1, 1};
}

void MainWindowProblemTest::equation_navigation_wraps_round()
{
    QFETCH(QString, order);
    QFETCH(QString, button);
    QFETCH(QList<int>, numbersShown);
    fixture.enterProblem(order, QStringList(order.toInt(), QStringLiteral("v")).join(','));
    for (int number : numbersShown) {
        clickThroughWindow(fixture.control(qPrintable(button)));
        QCOMPARE(fixture.control<QLabel>("lblEqNum")->text(), QString::number(number));
        QCOMPARE(visibleIndex(fixture, "txtEquation"), number - 1);
        QVERIFY(fixture.element("txtEquation", number - 1)->hasFocus());
    }
}

void MainWindowProblemTest::empty_equation_cannot_be_left()
{
    fixture.enterProblem(QStringLiteral("2"), QStringLiteral("x,y"));
    QLineEdit *first = fixture.element("txtEquation", 0);
    typeOver(first, QString());
    clickThroughWindow(fixture.control("cmdNextEq"));
    pressTab();
    QCOMPARE(fixture.control<QLabel>("lblEqNum")->text(), QStringLiteral("1"));
    QVERIFY(first->hasFocus());

    QTest::keyClicks(first, QStringLiteral("x"));  // no "=": its own residual
    clickThroughWindow(fixture.control("cmdNextEq"));
    QCOMPARE(fixture.control<QLabel>("lblEqNum")->text(), QStringLiteral("2"));
}

void MainWindowProblemTest::typing_an_equation_writes_its_grid_row()
{
    fixture.enterProblem(QStringLiteral("2"), QStringLiteral("x,y"));
    clickThroughWindow(fixture.control("cmdNextEq"));
    QLineEdit *second = fixture.element("txtEquation", 1);
    QTest::keyClick(second, Qt::Key_Delete);  // the selected text goes
    QCOMPARE(fixture.window->equationGrid().equationText(1), QString());
    QTest::keyClicks(second, QStringLiteral("y=2"));
    QCOMPARE(fixture.window->equationGrid().equationText(1), QStringLiteral("y=2"));
    QCOMPARE(fixture.window->equationGrid().equationText(0), QStringLiteral("3*x^2*sin(x)=pi"));
}

void MainWindowProblemTest::grid_edits_come_back_into_the_equation_fields()
{
    fixture.enterProblem(QStringLiteral("2"), QStringLiteral("x,y"));
    EquationGridModel &grid = fixture.window->equationGrid();
    QVERIFY(grid.editFromGrid(1, QStringLiteral("x*y=1")));
    QCOMPARE(fixture.element("txtEquation", 1)->text(), QStringLiteral("x*y=1"));
    QVERIFY(!grid.editFromGrid(2, QStringLiteral("no such row")));
}

void MainWindowProblemTest::variable_navigation_wraps_and_shows_the_name()
{
    fixture.enterProblem(QStringLiteral("3"), QStringLiteral("x, y,z"));
    const struct {
        const char *button;
        int variable;
        const char *label;
    } steps[] = {{"cmdNextLim", 2, " y"}, {"cmdNextLim", 3, "z"}, {"cmdNextLim", 1, "x"},
                 {"cmdPrevLim", 3, "z"}, {"cmdPrevLim", 2, " y"}};
    for (const auto &step : steps) {
        clickThroughWindow(fixture.control(step.button));
        QCOMPARE(fixture.window->problem().spec.currentVariable, step.variable);
        QCOMPARE(fixture.control<QLabel>("lblVarNum")->text(), QString::fromLatin1(step.label));
        for (const char *array : {"txtLL", "txtUL", "txtSubintervals"})
            QCOMPARE(visibleIndex(fixture, array), step.variable - 1);
        QVERIFY(fixture.element("txtLL", step.variable - 1)->hasFocus());
    }
}

void MainWindowProblemTest::limits_must_be_numbers_as_a_whole_data()
{
    QTest::addColumn<QString>("array");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("exponent") << "txtLL" << "1e3" << true;
    QTest::newRow("blanks around a fraction") << "txtUL" << " -.5 " << true;
    QTest::newRow("lower above upper") << "txtLL" << "9" << true;
    QTest::newRow("letters") << "txtLL" << "abc" << false;
    QTest::newRow("empty") << "txtUL" << "" << false;
    QTest::newRow("trailing letters") << "txtUL" << "12abc" << false;
    QTest::newRow("blank inside") << "txtLL" << "1 5" << false;
    QTest::newRow("subintervals take any text") << "txtSubintervals" << "abc" << true;
}

void MainWindowProblemTest::limits_must_be_numbers_as_a_whole()
{
    QFETCH(QString, array);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    fixture.enterProblem(QStringLiteral("1"), QStringLiteral("x"));
    QLineEdit *limit = fixture.element(qPrintable(array), 0);
    typeOver(limit, text);
    clickThroughWindow(fixture.control("txtRand"));
    QCOMPARE(limit->hasFocus(), !accepted);
    QCOMPARE(limit->text(), text);
}

QTEST_MAIN(MainWindowProblemTest)
#include "main_window_problem_test.moc"

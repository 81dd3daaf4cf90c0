// Entering the problem's shape and stepping through it: the order, the names,
// the per-index fields, the menus and the keyboard order.

#include <QAction>
#include <QSignalSpy>

#include "support/main_window_fixture.h"

using namespace zl::gui::testing;

namespace {

/// The index of the one visible element of a control array; -1 unless exactly one is.
int visibleIndex(const MainWindowFixture &fixture, const char *name) {
    int shown = -1;
    for (int i = 0; i < fixture.elementCount(name); ++i)
        if (fixture.element(name, i)->isVisible()) shown = shown < 0 ? i : -2;
    return shown < 0 ? -1 : shown;
}

QString nameWithIndex(const QWidget *widget) {
    const QVariant index = widget->property("index");
    return index.isValid() ? QStringLiteral("%1[%2]").arg(widget->objectName()).arg(index.toInt())
                           : widget->objectName();
}

}  // namespace

class MainWindowProblemTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(fixture.open()); }
    void cleanup() { fixture.window.reset(); }

    void order_sizes_the_problem_and_copies_field_zero() {
        const int order = 4;  // the order rule's value for "3.5" (halves to even), not the text's
        typeOver(fixture.element("txtUL", 0), QStringLiteral("7"));
        QVERIFY(!action("mnuSave")->isEnabled() && !action("mnuPrint")->isVisible() &&
                !action("mnuAbout")->isVisible());
        fixture.enter(fixture.control("txtOrder"), QStringLiteral("3.5"));

        QCOMPARE(fixture.window->problem().record.order, order);
        for (const char *array : {"txtEquation", "txtLL", "txtUL", "txtSubintervals"}) {
            QCOMPARE(fixture.elementCount(array), order);
            QCOMPARE(visibleIndex(fixture, array), 0);
        }
        QLineEdit *last = fixture.element("txtUL", order - 1);
        QCOMPARE(last->text(), QStringLiteral("7"));  // field 0 as it was when copied
        QCOMPARE(fixture.element("txtEquation", order - 1)->text(), QStringLiteral("3*x^2*sin(x)=pi"));
        QCOMPARE(fixture.window->equationGrid().rowCount(), order);
        QVERIFY(!fixture.control("txtOrder")->isEnabled());
        QVERIFY(!action("mnuOpen")->isEnabled());
        QCOMPARE(focusedName(), QStringLiteral("txtVarNams"));
    }

    void unusable_order_keeps_the_focus_and_blocks_the_window() {
        QLineEdit *order = fixture.control<QLineEdit>("txtOrder");
        typeOver(order, QStringLiteral("0.3"));  // rounds to no order
        QSignalSpy focusChanges(qApp, &QApplication::focusChanged);
        QSignalSpy help(fixture.window.get(), &zl::gui::MainWindow::helpRequested);
        pressKey(Qt::Key_Tab);
        pressKey(Qt::Key_Backtab, Qt::ShiftModifier);
        clickThroughWindow(fixture.control("txtVarNams"));
        clickThroughWindow(fixture.control("cmdExit"));
        pressKey(Qt::Key_X, Qt::AltModifier);  // Exit's mnemonic
        QTest::qWait(250);
        // Refused before the focus moves: the field never runs its focus-in work again.
        QCOMPARE(focusChanges.count(), 0);
        fixture.control("txtVarNams")->setFocus();  // moved by the program: pulled back
        QCOMPARE(focusedName(), QStringLiteral("txtOrder"));
        QVERIFY(fixture.window->isVisible());
        QCOMPARE(fixture.window->problem().record.order, 0);
        QCOMPARE(fixture.elementCount("txtEquation"), 1);

        // The field itself and the menus stay usable.
        clickThroughWindow(order, QPoint(2, order->height() / 2));
        QCOMPARE(order->cursorPosition(), 0);
        fixture.clickMenuBar("mnuHelp");
        QTRY_COMPARE(help.count(), 1);
        fixture.enter(order, QStringLiteral("2"));
        QCOMPARE(focusedName(), QStringLiteral("txtVarNams"));
    }

    void names_must_match_the_order_data() {
        QTest::addColumn<QString>("order");
        QTest::addColumn<QString>("names");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("blank kept in a name") << QString("2") << QString("x, y") << true;
        QTest::newRow("empty middle piece") << QString("3") << QString("x,,y") << false;
    }

    void names_must_match_the_order() {
        QFETCH(QString, order);
        QFETCH(QString, names);
        QFETCH(bool, accepted);
        fixture.enterProblem(order, names);
        QCOMPARE(focusedName(), accepted ? QStringLiteral("txtError") : QStringLiteral("txtVarNams"));
        QCOMPARE(fixture.control("txtVarNams")->isEnabled(), !accepted);
        QCOMPARE(fixture.control("cmdExplore")->isEnabled(), accepted);
        QCOMPARE(action("mnuSave")->isEnabled() && action("mnuSaveAs")->isEnabled(), accepted);
        QCOMPARE(action("mnuPrint")->isVisible() && action("mnuAbout")->isVisible(), accepted);
        if (!accepted) return;
        QCOMPARE(fixture.control<QLabel>("lblVarNum")->text(), names.split(',').first());
        QCOMPARE(QString::fromStdString(fixture.window->problem().record.varNames.back()), names.split(',').last());
    }

    void navigation_wraps_round_data() {
        QTest::addColumn<QString>("names");
        QTest::addColumn<QList<int>>("next");      // the numbers shown by Next in turn, from the first
        QTest::addColumn<QList<int>>("previous");  // and by Previous after that
        QTest::newRow("three") << QString("x, y,z") << QList<int>{2, 3, 1} << QList<int>{3, 2, 1};
        QTest::newRow("order 1") << QString("x") << QList<int>{1, 1} << QList<int>{1, 1};
    }

    void navigation_wraps_round() {
        QFETCH(QString, names);
        QFETCH(QList<int>, next);
        QFETCH(QList<int>, previous);
        const QStringList variables = names.split(',');
        fixture.enterProblem(QString::number(variables.size()), names);
        for (const char *button : {"cmdNextEq", "cmdPrevEq", "cmdNextLim", "cmdPrevLim"}) {
            const bool equations = QByteArray(button).endsWith("Eq");
            for (int number : QByteArray(button).contains("Next") ? next : previous) {
                clickThroughWindow(fixture.control(button));
                if (equations) {
                    QCOMPARE(fixture.control<QLabel>("lblEqNum")->text(), QString::number(number));
                    QCOMPARE(visibleIndex(fixture, "txtEquation"), number - 1);
                } else {
                    QCOMPARE(fixture.control<QLabel>("lblVarNum")->text(), variables[number - 1]);
                    QCOMPARE(visibleIndex(fixture, "txtUL"), number - 1);
                    QCOMPARE(visibleIndex(fixture, "txtSubintervals"), number - 1);
                }
                QVERIFY(fixture.element(equations ? "txtEquation" : "txtLL", number - 1)->hasFocus());
            }
        }
    }

    void empty_equation_cannot_be_left_and_typing_writes_the_grid() {
        fixture.enterProblem(QStringLiteral("2"), QStringLiteral("x,y"));
        QLineEdit *first = fixture.element("txtEquation", 0);
        typeOver(first, QString());
        QCOMPARE(fixture.window->equationGrid().equationText(0), QString());
        clickThroughWindow(fixture.control("cmdNextEq"));
        QVERIFY(first->hasFocus());

        QTest::keyClicks(first, QStringLiteral("x-1"));  // no "=": its own residual
        QCOMPARE(fixture.window->equationGrid().equationText(0), QStringLiteral("x-1"));
        clickThroughWindow(fixture.control("cmdNextEq"));
        QCOMPARE(fixture.control<QLabel>("lblEqNum")->text(), QStringLiteral("2"));
    }

    void tab_runs_through_the_controls_in_reading_order() {
        fixture.enterProblem(QStringLiteral("2"), QStringLiteral("x,y"));
        clickThroughWindow(fixture.control("cmdNextLim"));  // the second variable's fields on show
        QStringList visited{nameWithIndex(QApplication::focusWidget())};
        for (int i = 0; i < 23; ++i) {
            pressKey(Qt::Key_Tab);
            visited << nameWithIndex(QApplication::focusWidget());
        }
        // Order and names are fixed (disabled) by now.
        const QStringList expected{"txtLL[1]",   "txtUL[1]",   "txtSubintervals[1]", "chkInsideBox", "chkProve",
                                   "lstRoots",   "cmdExplore", "cmdRandom",          "cmdCertify",   "cmdPlot",
                                   "cmdExit",    "txtError",   "txtMaxcy",           "txtRand",      "cmdPrevEq",
                                   "cmdNextEq",  "cmdShowAll", "txtEquation[0]",     "cboConstants", "cmdAddCons",
                                   "cmdRemCons", "cmdPrevLim", "cmdNextLim",         "txtLL[1]"};
        QCOMPARE(visited, expected);
    }

private:
    QAction *action(const char *name) const { return fixture.control<QAction>(name); }
    MainWindowFixture fixture;
};

QTEST_MAIN(MainWindowProblemTest)
#include "main_window_problem_test.moc"

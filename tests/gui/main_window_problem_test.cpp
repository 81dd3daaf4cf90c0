// Entering the problem: its shape (the order, the names, the per-index fields,
// the menus, the keyboard order), the checks of the limit and parameter fields,
// select-all on focus, and the user constants box.

#include <QAction>
#include <QComboBox>
#include <QFontInfo>
#include <QSignalSpy>

#include "core/problem/problem_record.h"
#include "support/main_window_fixture.h"

using namespace zl::gui::testing;
using zl::gui::FakeUserDialogs;

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

    // A usable order sizes the problem and copies field 0; an unusable one keeps
    // the focus and blocks the window.
    void order_sizes_the_problem_and_an_unusable_one_blocks_the_window() {
        const int order = 4;  // the order rule's value for "3.5" (halves to even), not the text's
        typeOver(fixture.element("txtUL", 0), QStringLiteral("7"));
        QVERIFY(!action("mnuSave")->isEnabled() && !action("mnuPrint")->isVisible() &&
                !action("mnuAbout")->isVisible());
        QLineEdit *orderField = fixture.control<QLineEdit>("txtOrder");
        typeOver(orderField, QStringLiteral("0.3"));  // rounds to no order
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
        clickThroughWindow(orderField, QPoint(2, orderField->height() / 2));
        QCOMPARE(orderField->cursorPosition(), 0);
        fixture.clickMenuBar("mnuHelp");
        QTRY_COMPARE(help.count(), 1);

        fixture.enter(orderField, QStringLiteral("3.5"));
        QCOMPARE(fixture.window->problem().record.order, order);
        for (const char *array : {"txtEquation", "txtLL", "txtUL", "txtSubintervals"}) {
            QCOMPARE(fixture.elementCount(array), order);
            QCOMPARE(visibleIndex(fixture, array), 0);
        }
        QLineEdit *last = fixture.element("txtUL", order - 1);
        QCOMPARE(last->text(), QStringLiteral("7"));  // field 0 as it was when copied
        QCOMPARE(fixture.element("txtEquation", order - 1)->text(), QStringLiteral("3*x^2*sin(x)=pi"));
        QCOMPARE(fixture.window->equationGrid().rowCount(), order);
        QVERIFY(!orderField->isEnabled());
        QVERIFY(!action("mnuOpen")->isEnabled());
        QCOMPARE(focusedName(), QStringLiteral("txtVarNams"));
    }

    void names_must_match_the_order_and_navigation_wraps_round_data() {
        QTest::addColumn<QString>("names");  // as many as the order
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QList<int>>("next");      // the numbers shown by Next in turn, from the first
        QTest::addColumn<QList<int>>("previous");  // and by Previous after that
        QTest::newRow("three, blank kept in a name")
            << QString("x,y, z") << true << QList<int>{2, 3, 1} << QList<int>{3, 2, 1};
        QTest::newRow("order 1") << QString("x") << true << QList<int>{1, 1} << QList<int>{1, 1};
        QTest::newRow("empty middle piece") << QString("x,,y") << false << QList<int>() << QList<int>();
    }

    void names_must_match_the_order_and_navigation_wraps_round() {
        QFETCH(QString, names);
        QFETCH(bool, accepted);
        QFETCH(QList<int>, next);
        QFETCH(QList<int>, previous);
        const QStringList variables = names.split(',');
        fixture.enterProblem(QString::number(variables.size()), names);
        QCOMPARE(focusedName(), accepted ? QStringLiteral("txtError") : QStringLiteral("txtVarNams"));
        QCOMPARE(fixture.control("txtVarNams")->isEnabled(), !accepted);
        QCOMPARE(fixture.control("cmdExplore")->isEnabled(), accepted);
        QCOMPARE(action("mnuSave")->isEnabled() && action("mnuSaveAs")->isEnabled(), accepted);
        QCOMPARE(action("mnuPrint")->isVisible() && action("mnuAbout")->isVisible(), accepted);
        if (!accepted) return;
        QCOMPARE(fixture.control<QLabel>("lblVarNum")->text(), variables.first());
        QCOMPARE(QString::fromStdString(fixture.window->problem().record.varNames.back()), variables.last());
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

    void fields_check_their_text_when_left_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<QString>("shown");  // the text after the attempt to leave
        // One row per kind of field: the rules themselves are tested with the core.
        const auto row = [](const char *name, const char *field, const char *typed, bool accepted, const char *shown) {
            QTest::newRow(name) << QString(field) << QString(typed) << accepted << QString(shown);
        };
        row("lower limit abc", "txtLL", "abc", false, "abc");
        row("upper limit empty", "txtUL", "", false, "");
        row("subintervals take any text", "txtSubintervals", "abc", true, "abc");
        row("error bound 0", "txtError", "0", false, "0");
        row("iterations 0.4 written back as 0", "txtMaxcy", "0.4", false, "0");
        row("seeds 0.5", "txtRand", "0.5", false, "0.5");
    }

    void fields_check_their_text_when_left() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        enterOneVariable();
        QLineEdit *target = fixture.element(qPrintable(field), 0);
        typeOver(target, typed);
        clickThroughWindow(fixture.element("txtEquation", 0));
        QCOMPARE(!target->hasFocus(), accepted);
        QTEST(target->text(), "shown");
        if (field == QStringLiteral("txtMaxcy"))  // stored before it is judged
            QCOMPARE(fixture.window->problem().record.maxCycles, target->text().toInt());
    }

    void fields_select_their_text_on_focus_and_the_list_is_fixed_pitch() {
        enterOneVariable();
        QCOMPARE(focusedName(), QStringLiteral("txtError"));  // by Tab
        QCOMPARE(fixture.control<QLineEdit>("txtError")->selectedText(), QStringLiteral(".01"));
        auto *iterations = fixture.control<QLineEdit>("txtMaxcy");
        clickThroughWindow(iterations);
        QTRY_COMPARE(iterations->selectedText(), QStringLiteral("8"));
        clickThroughWindow(fixture.control("cmdNextLim"));  // focus moved by the program
        QCOMPARE(fixture.element("txtLL", 0)->selectedText(), QStringLiteral("-5"));
        QVERIFY(QFontInfo(fixture.control("lstRoots")->font()).fixedPitch());
    }

    void constants_add_only_valid_names_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("byEnter");
        QTest::addColumn<bool>("added");
        // One row per way in and outcome: the name rule itself is tested with the core.
        QTest::newRow("a=2.37") << "a=2.37" << false << true;
        QTest::newRow("b=2*pi by Enter") << "b=2*pi" << true << true;
        QTest::newRow("digit first") << "1a=5" << true << false;
    }

    void constants_add_only_valid_names() {
        QFETCH(QString, text);
        QFETCH(bool, byEnter);
        QFETCH(bool, added);
        enterOneVariable();
        typeOver(box()->lineEdit(), text);
        if (byEnter)
            pressKey(Qt::Key_Return);
        else
            clickThroughWindow(fixture.control("cmdAddCons"));
        QCOMPARE(items(), added ? QStringList{text} : QStringList());
        QCOMPARE(box()->currentText(), added ? QString() : text);  // a refused text stays to be corrected
        QCOMPARE(fixture.dialogs.calls().size(), 0);
    }

    void constants_replace_remove_and_fill_up() {
        enterOneVariable();
        for (const char *text : {"a=1", "b=2", "A=5", "a=3"}) addConstant(QString::fromLatin1(text));
        QCOMPARE(items(), QStringList({"b=2", "A=5", "a=3"}));  // same name replaced, case counts
        typeOver(box()->lineEdit(), QStringLiteral("A"));
        pressKey(Qt::Key_Return);  // what was typed counts, not a listed item it begins
        QCOMPARE(items(), QStringList({"b=2", "A=5", "a=3"}));

        typeOver(box()->lineEdit(), QStringLiteral("b=9"));  // typed, not picked: nothing to remove
        clickThroughWindow(fixture.control("cmdRemCons"));
        QCOMPARE(items().size(), 3);
        clickThroughWindow(box()->lineEdit());
        pressKey(Qt::Key_Down);  // picks the first item
        clickThroughWindow(fixture.control("cmdRemCons"));
        QCOMPARE(items(), QStringList({"A=5", "a=3"}));
        const zl::ProblemSpec &record = fixture.window->problem().record;  // the window's own record holds them
        QCOMPARE(record.constantCount, 2);
        QCOMPARE(
            QStringList({QString::fromStdString(record.constants[0]), QString::fromStdString(record.constants[1])}),
            items());
        QCOMPARE(fixture.window->engine().evaluateNumber("b").value, 0.0);  // removed names stay, as 0

        for (int k = items().size(); k < zl::kConstantSlots; ++k) addConstant(QStringLiteral("c%1=%1").arg(k));
        addConstant(QStringLiteral("z=1"));
        QCOMPARE(fixture.dialogs.count(FakeUserDialogs::Kind::Message), 1);
        QVERIFY(fixture.dialogs.calls().first().text.contains(QStringLiteral("full")));
        QCOMPARE(box()->currentText(), QStringLiteral("z=1"));
    }

private:
    QAction *action(const char *name) const { return fixture.control<QAction>(name); }
    void enterOneVariable() { fixture.enterProblem(QStringLiteral("1"), QStringLiteral("x")); }
    QComboBox *box() const { return fixture.control<QComboBox>("cboConstants"); }
    QStringList items() const { return fixture.constantItems(); }
    void addConstant(const QString &text) {
        typeOver(box()->lineEdit(), text);  // the text part, not the drop-down arrow
        clickThroughWindow(fixture.control("cmdAddCons"));
    }
    MainWindowFixture fixture;
};

QTEST_MAIN(MainWindowProblemTest)
#include "main_window_problem_test.moc"

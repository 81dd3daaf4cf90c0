// The main window driven by the user: entering the problem (its shape, the
// per-index fields, the menus, the keyboard order, the checks of the limit and
// parameter fields, select-all on focus, the user constants box), and runs
// started from typed fields (what the list shows, script errors, the edits that
// make listed solutions stale, the window during a run).

#include <QFontInfo>
#include <QProgressBar>
#include <QSignalSpy>

#include "core/problem/problem_record.h"
#include "support/main_window_fixture.h"

using namespace zl::gui::testing;
using zl::gui::FakeUserDialogs;

namespace {

/// The index of the one visible element of a control array; -1 unless exactly one is.
int visibleIndex(const MainWindowFixture &fixture, const char *name) {
    QList<int> shown;
    for (int i = 0; i < fixture.elementCount(name); ++i)
        if (fixture.element(name, i)->isVisible()) shown << i;
    return shown.size() == 1 ? shown.first() : -1;
}

QString nameWithIndex(const QWidget *widget) {
    const QVariant index = widget->property("index");
    return index.isValid() ? QStringLiteral("%1[%2]").arg(widget->objectName()).arg(index.toInt())
                           : widget->objectName();
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(fixture.open()); }
    void cleanup() { fixture.window.reset(); }

    // A usable order sizes the problem and copies field 0; an unusable one keeps
    // the focus and blocks the window.
    void order_sizes_the_problem_and_an_unusable_one_blocks_the_window() {
        const int order = 4;  // the order rule's value for "3.5" (halves to even), not the text's
        typeOver(fixture.element("txtUL", 0), QStringLiteral("7"));  // the menus before any order: the names test
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
        QCOMPARE(fixture.element("txtUL", order - 1)->text(), QStringLiteral("7"));  // field 0 as it was when copied
        QCOMPARE(fixture.element("txtEquation", order - 1)->text(), QStringLiteral("3*x^2*sin(x)=pi"));
        QCOMPARE(fixture.window->equationGrid().rowCount(), order);
        QVERIFY(!orderField->isEnabled() && !action("mnuOpen")->isEnabled());
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
        for (const char *item : {"mnuSave", "mnuSaveAs", "mnuPrint", "mnuAbout"})  // the last two shown, not enabled
            QVERIFY2((action(item)->isEnabled() && action(item)->isVisible()) == accepted, item);
        if (!accepted) return;
        QCOMPARE(fixture.control<QLabel>("lblVarNum")->text(), variables.first());  // the record's names, as below
        for (const char *button : {"cmdNextEq", "cmdPrevEq", "cmdNextLim", "cmdPrevLim"}) {
            const bool equations = QByteArray(button).endsWith("Eq");
            for (int number : QByteArray(button).contains("Next") ? next : previous) {
                clickThroughWindow(fixture.control(button));
                QCOMPARE(fixture.control<QLabel>(equations ? "lblEqNum" : "lblVarNum")->text(),
                         equations ? QString::number(number) : variables[number - 1]);
                const char *shown = equations ? "txtEquation" : "txtLL";  // the other limit fields: the Tab walk
                QCOMPARE(visibleIndex(fixture, shown), number - 1);
                QVERIFY(fixture.element(shown, number - 1)->hasFocus());
            }
        }
    }

    // Fields select their text when the focus comes, by Tab, click or program.
    // Then an empty equation cannot be left, and typing writes the grid.
    void tab_runs_in_reading_order_and_an_empty_equation_cannot_be_left() {
        fixture.enterProblem(QStringLiteral("2"), QStringLiteral("x,y"));
        QCOMPARE(focusedName(), QStringLiteral("txtError"));  // by Tab
        QCOMPARE(fixture.control<QLineEdit>("txtError")->selectedText(), QStringLiteral(".01"));
        clickThroughWindow(fixture.control("cmdNextLim"));  // the second variable's fields on show
        QCOMPARE(fixture.element("txtLL", 1)->selectedText(), QStringLiteral("-5"));
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

        QLineEdit *first = fixture.element("txtEquation", 0);
        typeOver(first, QString());
        QCOMPARE(fixture.window->equationGrid().equationText(0), QString());
        clickThroughWindow(fixture.control("cmdNextEq"));
        QVERIFY(first->hasFocus());
        QTest::keyClicks(first, QStringLiteral("x-1"));  // no "=": its own residual
        QCOMPARE(fixture.window->equationGrid().equationText(0), QStringLiteral("x-1"));
        clickThroughWindow(fixture.control("cmdNextEq"));
        QCOMPARE(fixture.control<QLabel>("lblEqNum")->text(), QStringLiteral("2"));
        auto *iterations = fixture.control<QLineEdit>("txtMaxcy");
        clickThroughWindow(iterations);
        QTRY_COMPARE(iterations->selectedText(), QStringLiteral("8"));
        QVERIFY(QFontInfo(fixture.control("lstRoots")->font()).fixedPitch());
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
        fixture.enterProblem(QStringLiteral("1"), QStringLiteral("x"));
        QLineEdit *target = fixture.element(qPrintable(field), 0);
        typeOver(target, typed);
        clickThroughWindow(fixture.element("txtEquation", 0));
        QTEST(!target->hasFocus(), "accepted");
        QTEST(target->text(), "shown");
        if (field == QStringLiteral("txtMaxcy"))  // stored before it is judged
            QCOMPARE(fixture.window->problem().record.maxCycles, target->text().toInt());
    }

    // A refused text stays to be corrected, without a word; an added one empties
    // the box, by Enter or by the button.
    void constants_add_only_valid_names_replace_remove_and_fill_up() {
        fixture.enterProblem(QStringLiteral("1"), QStringLiteral("x"));
        typeOver(box()->lineEdit(), QStringLiteral("1a=5"));
        pressKey(Qt::Key_Return);
        QCOMPARE(box()->currentText(), QStringLiteral("1a=5"));
        typeOver(box()->lineEdit(), QStringLiteral("b=2"));
        pressKey(Qt::Key_Return);
        QCOMPARE(box()->currentText(), QString());
        for (const char *text : {"a=1", "A=5", "a=3"}) addConstant(QString::fromLatin1(text));
        QCOMPARE(box()->currentText(), QString());
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
        QCOMPARE(fixture.dialogs.count(FakeUserDialogs::Kind::Message), 1);  // the first box: refusals are silent
        QVERIFY(fixture.dialogs.calls().first().text.contains(QStringLiteral("full")));
        QCOMPARE(box()->currentText(), QStringLiteral("z=1"));
    }

    void script_error_is_shown_once_and_ends_the_run() {
        fixture.typeProblem({QStringLiteral("x+*2")}, QStringLiteral("x"));
        explore();
        const QList<FakeUserDialogs::Call> errors = fixture.dialogs.callsOf(FakeUserDialogs::Kind::ScriptError);
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().text.endsWith(QStringLiteral("\r\rAt line 1, col 2: [x+*2]")),
                 qPrintable(errors.first().text));
        QCOMPARE(errors.first().parent, fixture.window.get());
        QCOMPARE(fixture.listLines(), QStringList());
        QCOMPARE(fixture.countText(), QStringLiteral("0 solutions"));
        explore();  // the command completed: the next one runs and reports again
        QCOMPARE(fixture.dialogs.count(FakeUserDialogs::Kind::ScriptError), 2);
        // Outside the window's commands (a printed report evaluating) each error shows.
        QVERIFY(fixture.window->engine().executeStatement("y=+*"));
        QVERIFY(fixture.window->engine().executeStatement("y=+*"));
        QCOMPARE(fixture.dialogs.count(FakeUserDialogs::Kind::ScriptError), 4);
    }

    void edits_that_make_solutions_stale_clear_the_list_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("cleared");
        const auto row = [](const char *name, const char *control, const char *typed, bool cleared) {
            QTest::newRow(name) << QString(control) << QString(typed) << cleared;
        };
        row("equation, first keystroke", "txtEquation", "x", true);
        row("iterations, first keystroke", "txtMaxcy", "9", true);
        row("constants box", "cboConstants", "a", true);
        row("error bound tightened", "txtError", ".001\t", true);
        row("error bound loosened", "txtError", ".1\t", false);
        row("error bound unchanged", "txtError", ".01\t", false);
        row("lower limit", "txtLL", "-4\t", false);
        row("random seeds", "txtRand", "5\t", false);
    }

    void edits_that_make_solutions_stale_clear_the_list() {
        QFETCH(QString, control);
        QFETCH(QString, typed);
        QFETCH(bool, cleared);
        typeCircleAndLine();
        explore();
        const QStringList found = fixture.listLines();
        QVERIFY(!found.isEmpty());

        clickThroughWindow(fixture.control(qPrintable(control)));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), typed);
        QCOMPARE(fixture.listLines(), cleared ? QStringList() : found);  // what else clearing empties is the core's
    }

    // A second command or an edit must not disturb a run: the window refuses
    // them until it has handled the run's end (which needs its event loop).
    // The ticked options reach the run: its proof and outside-box lines. Certify
    // then searches the box and ends with its summary.
    void window_takes_no_edit_or_second_run_during_a_run_then_certifies() {
        typeCircleAndLine();
        QVERIFY(fixture.control("cmdCertify")->isEnabled());
        for (QWidget *box : {fixture.control("chkInsideBox"), fixture.control("chkProve")})  // ticks both
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
        QLineEdit *equation = fixture.element("txtEquation", 1);
        QTest::mouseClick(fixture.control("cmdExplore"), Qt::LeftButton);  // straight to it: no events handled
        QVERIFY(fixture.window->runUnderWay());
        QTest::keyClicks(equation, QStringLiteral("zz"));
        QVERIFY(!fixture.window->equationGrid().editFromGrid(0, QStringLiteral("x=1")));
        QVERIFY(!fixture.window->menuBar()->isEnabled() && !fixture.control("cmdRandom")->isEnabled() &&
                !fixture.control("cmdCertify")->isEnabled());
        QVERIFY(fixture.control<QProgressBar>("prgRun")->isVisible());  // Stop's click is stop_keeps_what_was_found's
        QTRY_VERIFY(!fixture.window->runUnderWay());

        QCOMPARE(equation->text(), QStringLiteral("x-y=0"));
        const QStringList lines = fixture.listLines();
        QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^PROVED UNIQUE WITHIN "))).size(), 2);
        QCOMPARE(lines.last(), QStringLiteral("OUTSIDE THE BOX, NOT STORED: 0 converged points."));
        QCOMPARE(fixture.countText(), QStringLiteral("2 solutions"));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QVERIFY(equation->isEnabled() && fixture.window->menuBar()->isEnabled());
        QVERIFY(!fixture.control("cmdStop")->isEnabled() && !fixture.control("prgRun")->isVisible());
        QVERIFY(!fixture.control("txtOrder")->isEnabled());  // fixed for good, also after the run

        QVERIFY(fixture.runToTheEnd("cmdCertify"));
        QVERIFY(fixture.listLines().endsWith(QStringLiteral("ALL SOLUTIONS IN THE BOX FOUND: 2, each proved unique")));
        QCOMPARE(fixture.countText(), QStringLiteral("2 solutions"));
        QCOMPARE(fixture.dialogs.calls().size(), 0);  // none in either run: no question about the search's size
        QVERIFY(fixture.control("cmdCertify")->isEnabled());
    }

    // Exit closes the window as the title bar does, and the run stops with it.
    void stop_keeps_what_was_found_data() {
        QTest::addColumn<QString>("how");
        for (const char *how : {"Stop button", "Esc in the list", "Exit button"}) QTest::newRow(how) << QString(how);
    }

    void stop_keeps_what_was_found() {
        QFETCH(QString, how);
        const bool exit = how.startsWith(QLatin1String("Exit"));
        QSignalSpy shutDown(fixture.window.get(), &zl::gui::MainWindow::aboutToShutDown);
        startLongExplore();
        if (how.startsWith(QLatin1String("Esc"))) {
            fixture.clickListLine(0);
            pressKey(Qt::Key_Escape);
        } else {
            clickThroughWindow(fixture.control(exit ? "cmdExit" : "cmdStop"));
        }
        QTRY_VERIFY_WITH_TIMEOUT(!fixture.window->runUnderWay(), 2000);
        QCOMPARE(fixture.window->isVisible(), !exit);
        QCOMPARE(shutDown.count(), exit ? 1 : 0);
        const QStringList lines = fixture.listLines();
        QCOMPARE(lines.size(), 5);  // the four lines found before the stop, then the core's stop line
        QVERIFY2(lines[4].startsWith(QStringLiteral("RUN STOPPED: ")), qPrintable(lines[4]));
        QCOMPARE(fixture.countText(), QStringLiteral("2 solutions"));  // the buttons after a run: the Certify test
    }

    // A grid of 10^12 nodes takes hours: the user is asked, and No runs nothing.
    // Random's count of seeds is the seeds rule's.
    void explore_asks_before_a_walk_of_hours_and_random_takes_its_seeds() {
        fixture.typeProblem({QStringLiteral("x^2=4"), QStringLiteral("y=1")}, QStringLiteral("x,y"));
        fixture.enter(fixture.element("txtSubintervals", 0), QStringLiteral("1000000"));
        clickThroughWindow(fixture.control("cmdNextLim"));
        fixture.enter(fixture.element("txtSubintervals", 1), QStringLiteral("1000000"));
        explore();
        const QList<FakeUserDialogs::Call> questions = fixture.dialogs.callsOf(FakeUserDialogs::Kind::ConfirmLongRun);
        QCOMPARE(questions.size(), 1);
        QVERIFY2(questions.first().text.contains(QRegularExpression(
                     QStringLiteral("1000002000001 grid nodes, which will take about \\d+ (hours|days|years)"))),
                 qPrintable(questions.first().text));
        QCOMPARE(fixture.listLines(), QStringList());
        QCOMPARE(fixture.countText(), QStringLiteral("0 solutions"));

        fixture.enter(fixture.control("txtRand"), QStringLiteral("2.5"));  // the seeds rule's 2, not the text's
        QVERIFY(fixture.runToTheEnd("cmdRandom"));
        QCOMPARE(fixture.listLines().filter(QRegularExpression(QStringLiteral("^TRIAL"))),
                 QStringList({"TRIAL1:", "TRIAL2:"}));
        QCOMPARE(fixture.window->problem().record.randomSeeds, 0);
    }

private:
    QAction *action(const char *name) const { return fixture.control<QAction>(name); }
    QComboBox *box() const { return fixture.control<QComboBox>("cboConstants"); }
    QStringList items() const { return fixture.constantItems(); }
    void addConstant(const QString &text) {
        typeOver(box()->lineEdit(), text);  // the text part, not the drop-down arrow
        clickThroughWindow(fixture.control("cmdAddCons"));
    }
    void typeCircleAndLine() {
        // The circle x^2+y^2=r2 (r2 a user constant, 4) cut by the line x=y: two solutions.
        fixture.typeProblem({QStringLiteral("x^2+y^2=r2"), QStringLiteral("x-y=0")}, QStringLiteral("x,y"));
        typeOver(fixture.control<QComboBox>("cboConstants")->lineEdit(), QStringLiteral("r2=4"));
        pressKey(Qt::Key_Return);
    }
    void explore() { QVERIFY(fixture.runToTheEnd("cmdExplore")); }
    /// x^2=4 over a grid of two billion nodes: both solutions are found at
    /// its start, then the walk takes many seconds. Starts it and waits for them.
    void startLongExplore() {
        fixture.typeProblem({QStringLiteral("x^2=4")}, QStringLiteral("x"));
        fixture.enter(fixture.element("txtLL", 0), QStringLiteral("-3"));
        fixture.enter(fixture.element("txtUL", 0), QStringLiteral("1999999997"));
        fixture.enter(fixture.element("txtSubintervals", 0), QStringLiteral("2000000000"));
        fixture.dialogs.longRunAnswers.enqueue(true);  // should a slow machine ask
        clickThroughWindow(fixture.control("cmdExplore"));
        QTRY_COMPARE_WITH_TIMEOUT(fixture.listLines().size(), 4, 20000);
        QVERIFY(fixture.window->runUnderWay());
    }
    MainWindowFixture fixture;
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"

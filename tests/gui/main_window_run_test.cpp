// Runs started from typed fields: what the list shows, script errors, the
// edits that make listed solutions stale, and the window during a run.

#include <QCheckBox>
#include <QComboBox>
#include <QMenuBar>
#include <QProgressBar>
#include <QSignalSpy>

#include "support/main_window_fixture.h"

using namespace zl::gui::testing;
using zl::gui::FakeUserDialogs;

class MainWindowRunTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(fixture.open()); }
    void cleanup() { fixture.window.reset(); }

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
        QCOMPARE(fixture.listLines(), cleared ? QStringList() : found);
        QCOMPARE(fixture.countText(), cleared ? QString() : QStringLiteral("2 solutions"));
        QCOMPARE(fixture.window->problem().store.solutionCount, cleared ? 0 : 2);
    }

    // A second command or an edit must not disturb a run: the window refuses
    // them until it has handled the run's end (which needs its event loop).
    // The ticked options reach the run: its proof and outside-box lines. Certify
    // then searches the box and ends with its summary.
    void window_takes_no_edit_or_second_run_during_a_run_then_certifies() {
        typeCircleAndLine();
        QVERIFY(fixture.control("cmdCertify")->isEnabled());
        for (const char *option : {"chkInsideBox", "chkProve"}) {
            auto *box = fixture.control<QCheckBox>(option);
            QVERIFY(!box->isChecked());
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
            QVERIFY(box->isChecked());
        }
        QLineEdit *equation = fixture.element("txtEquation", 1);
        QTest::mouseClick(fixture.control("cmdExplore"), Qt::LeftButton);  // straight to it: no events handled
        QVERIFY(fixture.window->runUnderWay());
        QTest::keyClicks(equation, QStringLiteral("zz"));
        QVERIFY(!fixture.window->equationGrid().editFromGrid(0, QStringLiteral("x=1")));
        QVERIFY(!fixture.window->menuBar()->isEnabled() && !fixture.control("cmdRandom")->isEnabled() &&
                !fixture.control("cmdCertify")->isEnabled());
        QVERIFY(fixture.control("cmdStop")->isEnabled());
        QVERIFY(fixture.control<QProgressBar>("prgRun")->isVisible());
        QTRY_VERIFY(!fixture.window->runUnderWay());

        QCOMPARE(equation->text(), QStringLiteral("x-y=0"));
        const QStringList lines = fixture.listLines();
        QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^PROVED UNIQUE WITHIN "))).size(), 2);
        QCOMPARE(lines.last(), QStringLiteral("OUTSIDE THE BOX, NOT STORED: 0 converged points."));
        QCOMPARE(fixture.countText(), QStringLiteral("2 solutions"));
        QCOMPARE(fixture.dialogs.calls().size(), 0);
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QVERIFY(equation->isEnabled() && fixture.window->menuBar()->isEnabled());
        QVERIFY(!fixture.control("cmdStop")->isEnabled() && !fixture.control("prgRun")->isVisible());
        QVERIFY(!fixture.control("txtOrder")->isEnabled());  // fixed for good, also after the run

        QVERIFY(fixture.runToTheEnd("cmdCertify"));
        const QStringList certified = fixture.listLines();
        QCOMPARE(certified.value(certified.size() - 1),
                 QStringLiteral("ALL SOLUTIONS IN THE BOX FOUND: 2, each proved unique"));
        QCOMPARE(fixture.countText(), QStringLiteral("2 solutions"));
        QCOMPARE(fixture.dialogs.calls().size(), 0);  // no question about the size of the search
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
        QCOMPARE(lines.size(), 5);
        QVERIFY(lines[0].startsWith(QStringLiteral("x=-2 ")) && lines[2].startsWith(QStringLiteral("x=2 ")));
        QVERIFY2(lines[4].startsWith(QStringLiteral("RUN STOPPED: ")), qPrintable(lines[4]));  // the core's stop line
        QCOMPARE(fixture.countText(), QStringLiteral("2 solutions"));
        QVERIFY(fixture.control("cmdExplore")->isEnabled() && !fixture.control("cmdStop")->isEnabled());
    }

    // A grid of 10^12 nodes takes hours: the user is asked, and No runs nothing.
    // Random's count of seeds is the seeds rule's, and it asks nothing.
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
        QCOMPARE(fixture.dialogs.count(FakeUserDialogs::Kind::ConfirmLongRun), 1);
    }

private:
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

QTEST_MAIN(MainWindowRunTest)
#include "main_window_run_test.moc"

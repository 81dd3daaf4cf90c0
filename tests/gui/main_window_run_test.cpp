// Runs started from typed fields: what the list shows, script errors, the
// edits that make listed solutions stale, and the window during a run.

#include <QComboBox>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTimer>

#include "core/session/session.h"
#include "support/main_window_fixture.h"

using namespace zl::gui::testing;
using zl::gui::FakeUserDialogs;

namespace {

struct RecordingListView : zl::SolutionListView {
    void appendLine(const std::string &line) override { lines << QString::fromStdString(line); }
    void clearLines() override { lines.clear(); }
    void setCountText(const std::string &) override {}
    QStringList lines;
};

/// The circle x^2+y^2=r2 (r2 a user constant, 4) cut by the line x=y: two solutions.
const QStringList kCircleAndLine{QStringLiteral("x^2+y^2=r2"), QStringLiteral("x-y=0")};

/// The list the core alone writes for that problem, with the default fields;
/// the failure's description instead when a step fails.
QStringList exploreDirectly() {
    zl::Session session;
    session.problem().sizeProblem(2);
    session.problem().record.varNames = {"x", "y"};
    zl::RunRequest request;
    request.constantItems = {"r2=4"};
    request.fields = {".01", "8", {"-5", "-5"}, {"5", "5"}, {"4", "4"}, {}};
    for (const QString &equation : kCircleAndLine) request.fields.equations.push_back(equation.toStdString());
    RecordingListView view;
    const zl::RunCommandResult result = session.runCommand(request, view);
    if (!result.ran() || result.summary.end != zl::RunEnd::Completed) return {QStringLiteral("run failed")};
    return view.lines;
}

}  // namespace

class MainWindowRunTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(fixture.open()); }
    void cleanup() { fixture.window.reset(); }

    void explore_lists_what_the_core_finds_for_the_typed_problem();
    void script_error_is_shown_once_and_ends_the_run();
    void random_lists_one_trial_line_per_seed_data();
    void random_lists_one_trial_line_per_seed();
    void edits_that_make_solutions_stale_clear_the_list_data();
    void edits_that_make_solutions_stale_clear_the_list();
    void window_takes_no_edit_second_run_or_close_during_a_run();
    void explore_refuses_a_grid_too_large_to_wait_for();

private:
    void typeProblem(const QStringList &equations, const QString &names) {
        fixture.enterProblem(QString::number(equations.size()), names);
        typeOver(fixture.element("txtEquation", 0), equations.first());
        for (qsizetype i = 1; i < equations.size(); ++i) {
            clickThroughWindow(fixture.control("cmdNextEq"));
            QTest::keyClicks(QApplication::focusWidget(), equations[i]);  // over the selected text
        }
    }
    void typeCircleAndLine() {
        typeProblem(kCircleAndLine, QStringLiteral("x,y"));
        typeOver(fixture.control<QComboBox>("cboConstants")->lineEdit(), QStringLiteral("r2=4"));
        pressKey(Qt::Key_Return);
    }
    void explore() { clickThroughWindow(fixture.control("cmdExplore")); }
    MainWindowFixture fixture;
};

void MainWindowRunTest::explore_lists_what_the_core_finds_for_the_typed_problem() {
    typeCircleAndLine();
    explore();
    QCOMPARE(fixture.listLines(), exploreDirectly());
    QCOMPARE(fixture.countText(), QStringLiteral("2 solutions"));
    QCOMPARE(fixture.dialogs.calls().size(), 0);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void MainWindowRunTest::script_error_is_shown_once_and_ends_the_run() {
    typeProblem({QStringLiteral("x+*2")}, QStringLiteral("x"));
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

void MainWindowRunTest::random_lists_one_trial_line_per_seed_data() {
    QTest::addColumn<QString>("seeds");
    QTest::addColumn<int>("trials");
    QTest::newRow("2.5 rounds to even") << "2.5" << 2;  // the seeds rule's value, not the text's
}

void MainWindowRunTest::random_lists_one_trial_line_per_seed() {
    QFETCH(QString, seeds);
    QFETCH(int, trials);
    typeProblem({QStringLiteral("x^2=4")}, QStringLiteral("x"));
    fixture.enter(fixture.control("txtRand"), seeds);
    clickThroughWindow(fixture.control("cmdRandom"));

    const QStringList trialLines = fixture.listLines().filter(QRegularExpression(QStringLiteral("^TRIAL")));
    QStringList expected;
    for (int n = 1; n <= trials; ++n) expected << QStringLiteral("TRIAL%1:").arg(n);
    QCOMPARE(trialLines, expected);
    QCOMPARE(fixture.window->problem().record.randomSeeds, 0);
}

void MainWindowRunTest::edits_that_make_solutions_stale_clear_the_list_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("cleared");
    QTest::newRow("equation, first keystroke") << "txtEquation"
                                               << "x" << true;
    QTest::newRow("iterations, first keystroke") << "txtMaxcy"
                                                 << "9" << true;
    QTest::newRow("constants box") << "cboConstants"
                                   << "a" << true;
    QTest::newRow("error bound tightened") << "txtError"
                                           << ".001\t" << true;
    QTest::newRow("error bound loosened") << "txtError"
                                          << ".1\t" << false;
    QTest::newRow("error bound unchanged") << "txtError"
                                           << ".01\t" << false;
    QTest::newRow("lower limit") << "txtLL"
                                 << "-4\t" << false;
    QTest::newRow("random seeds") << "txtRand"
                                  << "5\t" << false;
}

void MainWindowRunTest::edits_that_make_solutions_stale_clear_the_list() {
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

// A second command, an edit or a close request must not disturb a run: the
// window refuses them, and closes only once the run has listed everything.
void MainWindowRunTest::window_takes_no_edit_second_run_or_close_during_a_run() {
    typeCircleAndLine();
    QLineEdit *equation = fixture.element("txtEquation", 1);
    QSignalSpy shutDown(fixture.window.get(), &zl::gui::MainWindow::aboutToShutDown);
    bool ranDuringRun = false;
    QTimer::singleShot(0, fixture.window.get(), [&] {  // when the run first yields
        ranDuringRun = fixture.window->runUnderWay();
        QVERIFY(!fixture.window->menuBar()->isEnabled());
        QVERIFY(!fixture.window->equationGrid().editFromGrid(0, QStringLiteral("x=1")));
        clickThroughWindow(fixture.control("cmdRandom"));
        QTest::keyClicks(equation, QStringLiteral("zz"));
        fixture.window->close();
        QVERIFY(fixture.window->isVisible());
    });
    explore();

    QVERIFY(ranDuringRun);
    QCOMPARE(equation->text(), kCircleAndLine.last());
    QCOMPARE(fixture.listLines(), exploreDirectly());
    QCOMPARE(fixture.countText(), QStringLiteral("2 solutions"));
    QVERIFY(equation->isEnabled() && fixture.window->menuBar()->isEnabled());
    QVERIFY(!fixture.control("txtOrder")->isEnabled());  // fixed for good, also after the run
    QTRY_VERIFY(!fixture.window->isVisible());
    QCOMPARE(shutDown.count(), 1);
}

// There is no way to stop a run, so a grid of more than 1E+08 nodes is
// refused with a message instead of freezing the window.
void MainWindowRunTest::explore_refuses_a_grid_too_large_to_wait_for() {
    typeProblem({QStringLiteral("x^2=4")}, QStringLiteral("x"));
    fixture.enter(fixture.element("txtSubintervals", 0), QStringLiteral("200000000"));
    explore();
    const QList<FakeUserDialogs::Call> messages = fixture.dialogs.callsOf(FakeUserDialogs::Kind::Message);
    QCOMPARE(messages.size(), 1);
    QVERIFY2(messages.first().text.contains(QStringLiteral("200000001 grid nodes")), qPrintable(messages.first().text));
    QCOMPARE(fixture.listLines(), QStringList());
    QCOMPARE(fixture.countText(), QStringLiteral("0 solutions"));

    fixture.enter(fixture.element("txtSubintervals", 0), QStringLiteral("100"));
    explore();
    QCOMPARE(fixture.dialogs.count(FakeUserDialogs::Kind::Message), 1);
    QCOMPARE(fixture.countText(), QStringLiteral("2 solutions"));
}

QTEST_MAIN(MainWindowRunTest)
#include "main_window_run_test.moc"

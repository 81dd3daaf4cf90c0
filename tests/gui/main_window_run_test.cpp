// Runs started from typed fields: what the list shows, script errors, and the
// edits that make the listed solutions stale.

#include <QAction>
#include <QComboBox>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

#include "core/eval/equation_evaluator.h"
#include "core/eval/math_library.h"
#include "core/eval/script_engine.h"
#include "core/solver/compute.h"
#include "support/main_window_fixture.h"

using namespace zl::gui::testing;
using zl::gui::FakeUserDialogs;
using zl::gui::MainWindow;

namespace {

class RecordingListView : public zl::SolutionListView {
public:
    void appendLine(const std::string &line) override { lines << QString::fromStdString(line); }
    void clearLines() override { lines.clear(); }
    void setCountText(const std::string &text) override { count = QString::fromStdString(text); }
    QStringList lines;
    QString count;
};

/// The circle x^2+y^2=4 cut by the line x=y: two solutions in the default box.
const QStringList kCircleAndLine{QStringLiteral("x^2+y^2=4"), QStringLiteral("x-y=0")};

/// The same problem run by the core alone, outside any window.
RecordingListView exploreDirectly(const QStringList &equations, const std::vector<std::string> &names)
{
    zl::ProblemState problem;
    zl::MathLibrary library;
    zl::ScriptEngine engine;
    zl::EquationEvaluator evaluator(engine, library, problem);
    engine.addMathLibrary(library);
    for (std::string_view statement : zl::kStartupStatements)
        engine.executeStatement(statement);
    problem.sizeProblem(static_cast<std::int32_t>(names.size()));
    problem.spec.varNames = names;

    zl::ProblemFieldTexts texts;
    texts.errorBound = ".01";
    texts.iterations = "8";
    for (const QString &equation : equations) {
        texts.equations.push_back(equation.toStdString());
        texts.lowerLimits.push_back("-5");
        texts.upperLimits.push_back("5");
        texts.subintervals.push_back("4");
    }
    evaluator.prepareEquations({}, texts);
    engine.executeStatement("public x,y,z,w");
    RecordingListView view;
    zl::runExplore(problem, evaluator, view);
    view.count = QString::fromStdString(zl::solutionCountText(problem.store.solutionCount));
    return view;
}

} // namespace

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
    void window_accepts_no_edit_or_second_run_during_a_run();
    void closing_during_a_run_waits_for_its_end();

private:
    QLineEdit *field(const char *name) const { return fixture.control<QLineEdit>(name); }
    /// Order and names, then the equations typed one by one through Next.
    void typeProblem(const QStringList &equations, const QString &names);
    void explore() { clickThroughWindow(fixture.control("cmdExplore")); }
    MainWindowFixture fixture;
};

void MainWindowRunTest::typeProblem(const QStringList &equations, const QString &names)
{
    fixture.enterProblem(QString::number(equations.size()), names);
    typeOver(fixture.element("txtEquation", 0), equations.first());
    for (qsizetype i = 1; i < equations.size(); ++i) {
        clickThroughWindow(fixture.control("cmdNextEq"));
        QTest::keyClicks(QApplication::focusWidget(), equations[i]);  // replaces the selected text
    }
}

void MainWindowRunTest::explore_lists_what_the_core_finds_for_the_typed_problem()
{
    typeProblem(kCircleAndLine, QStringLiteral("x,y"));
    explore();

    const RecordingListView expected = exploreDirectly(kCircleAndLine, {"x", "y"});
    QCOMPARE(expected.count, QStringLiteral("2 solutions"));
    QCOMPARE(fixture.listLines(), expected.lines);
    QCOMPARE(fixture.countText(), expected.count);
    QCOMPARE(fixture.dialogs.calls().size(), 0);
    QVERIFY(!fixture.window->runUnderWay());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void MainWindowRunTest::script_error_is_shown_once_and_ends_the_run()
{
    typeProblem({QStringLiteral("x+*2")}, QStringLiteral("x"));
    explore();

    const QList<FakeUserDialogs::Call> errors = fixture.dialogs.callsOf(FakeUserDialogs::Kind::ScriptError);
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().text.contains(QStringLiteral("At line ")), qPrintable(errors.first().text));
    QVERIFY2(errors.first().text.endsWith(QStringLiteral("[x+*2]")), qPrintable(errors.first().text));
    QCOMPARE(errors.first().parent, fixture.window.get());
    QCOMPARE(fixture.listLines(), QStringList());
    QCOMPARE(fixture.countText(), QStringLiteral("0 solutions"));
    QVERIFY(fixture.control("cmdExplore")->isEnabled());

    // The command completed: the next one runs again and reports again.
    explore();
    QCOMPARE(fixture.dialogs.count(FakeUserDialogs::Kind::ScriptError), 2);
}

void MainWindowRunTest::random_lists_one_trial_line_per_seed_data()
{
    QTest::addColumn<QString>("seeds");
    QTest::addColumn<int>("trials");
    QTest::newRow("3") << "3" << 3;
    QTest::newRow("1.4 rounds to 1") << "1.4" << 1;
    QTest::newRow("2.5 rounds to even") << "2.5" << 2;
}

void MainWindowRunTest::random_lists_one_trial_line_per_seed()
{
    QFETCH(QString, seeds);
    QFETCH(int, trials);
    typeProblem({QStringLiteral("x^2=4")}, QStringLiteral("x"));
    fixture.enter(field("txtRand"), seeds);
    clickThroughWindow(fixture.control("cmdRandom"));

    QStringList trialLines;
    for (const QString &line : fixture.listLines())
        if (line.startsWith(QStringLiteral("TRIAL")))
            trialLines << line;
    QStringList expected;
    for (int n = 1; n <= trials; ++n)
        expected << QStringLiteral("TRIAL%1:").arg(n);
    QCOMPARE(trialLines, expected);
    QCOMPARE(fixture.listLines().first(), QStringLiteral("TRIAL1:"));
    QVERIFY(fixture.countText().endsWith(QStringLiteral(" solutions")));
    QCOMPARE(fixture.window->problem().spec.randomSeeds, 0);
}

void MainWindowRunTest::edits_that_make_solutions_stale_clear_the_list_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("cleared");
    QTest::newRow("equation, first keystroke") << "txtEquation" << "x" << true;
    QTest::newRow("iterations, first keystroke") << "txtMaxcy" << "9" << true;
    QTest::newRow("constants box") << "cboConstants" << "a" << true;
    QTest::newRow("error bound tightened") << "txtError" << ".001\t" << true;
    QTest::newRow("error bound loosened") << "txtError" << ".1\t" << false;
    QTest::newRow("error bound unchanged") << "txtError" << ".01\t" << false;
    QTest::newRow("lower limit") << "txtLL" << "-4\t" << false;
    QTest::newRow("subintervals") << "txtSubintervals" << "8\t" << false;
    QTest::newRow("random seeds") << "txtRand" << "5\t" << false;
}

void MainWindowRunTest::edits_that_make_solutions_stale_clear_the_list()
{
    QFETCH(QString, control);
    QFETCH(QString, typed);
    QFETCH(bool, cleared);
    typeProblem(kCircleAndLine, QStringLiteral("x,y"));
    explore();
    const QStringList found = fixture.listLines();
    QVERIFY(!found.isEmpty());

    QWidget *target = fixture.control(qPrintable(control));
    clickThroughWindow(target);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), typed);

    QCOMPARE(fixture.listLines(), cleared ? QStringList() : found);
    QCOMPARE(fixture.countText(), cleared ? QString() : QStringLiteral("2 solutions"));
    QCOMPARE(fixture.window->problem().store.solutionCount, cleared ? 0 : 2);
}

void MainWindowRunTest::window_accepts_no_edit_or_second_run_during_a_run()
{
    typeProblem(kCircleAndLine, QStringLiteral("x,y"));
    QLineEdit *equation = fixture.element("txtEquation", 1);
    bool sawRun = false;
    // Runs as soon as the run first lets the window handle events.
    QTimer::singleShot(0, fixture.window.get(), [&] {
        sawRun = fixture.window->runUnderWay();
        QVERIFY(!fixture.control("cmdExplore")->isEnabled());
        QVERIFY(!equation->isEnabled());
        QVERIFY(!fixture.window->menuBar()->isEnabled());
        QVERIFY(!fixture.window->equationGrid().editFromGrid(0, QStringLiteral("x=1")));
        clickThroughWindow(fixture.control("cmdExplore"));
        clickThroughWindow(fixture.control("cmdRandom"));
        QTest::keyClicks(equation, QStringLiteral("zz"));
    });
    explore();

    QVERIFY(sawRun);
    QCOMPARE(equation->text(), kCircleAndLine.last());
    QCOMPARE(fixture.listLines(), exploreDirectly(kCircleAndLine, {"x", "y"}).lines);
    QVERIFY(fixture.control("cmdExplore")->isEnabled());
    QVERIFY(equation->isEnabled());
    QVERIFY(fixture.window->menuBar()->isEnabled());
    QVERIFY(!field("txtOrder")->isEnabled());  // fixed for good, also after the run
    QCOMPARE(focusedName(), QStringLiteral("cmdExplore"));
}

void MainWindowRunTest::closing_during_a_run_waits_for_its_end()
{
    typeProblem(kCircleAndLine, QStringLiteral("x,y"));
    QSignalSpy shutDown(fixture.window.get(), &MainWindow::aboutToShutDown);
    bool stillOpenDuringRun = false;
    QTimer::singleShot(0, fixture.window.get(), [&] {
        fixture.window->close();
        stillOpenDuringRun = fixture.window->isVisible();
    });
    explore();

    QVERIFY(stillOpenDuringRun);
    QCOMPARE(fixture.countText(), QStringLiteral("2 solutions"));
    QTRY_VERIFY(!fixture.window->isVisible());
    QCOMPARE(shutDown.count(), 1);
}

QTEST_MAIN(MainWindowRunTest)
#include "main_window_run_test.moc"

// The solver parameter fields: what each accepts, what it refuses by keeping
// the focus, and what it writes back or into the record.

#include "support/main_window_fixture.h"

using namespace zl::gui::testing;

class MainWindowParametersTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(fixture.open());
        fixture.enterProblem(QStringLiteral("1"), QStringLiteral("x"));
    }
    void cleanup() { fixture.window.reset(); }

    void iterations_become_a_16_bit_integer_data();
    void iterations_become_a_16_bit_integer();
    void error_bound_must_be_positive_data();
    void error_bound_must_be_positive();
    void random_seeds_must_be_at_least_one_data();
    void random_seeds_must_be_at_least_one();

private:
    /// Types over the field and tries to leave it for the equation field.
    bool typeAndLeave(const char *name, const QString &text)
    {
        typeOver(fixture.control(name), text);
        clickThroughWindow(fixture.element("txtEquation", 0));
        return !fixture.control(name)->hasFocus();
    }
    MainWindowFixture fixture;
};

void MainWindowParametersTest::iterations_become_a_16_bit_integer_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("7.5 rounds up to even") << "7.5" << "8" << true;
    QTest::newRow("2.5 rounds down to even") << "2.5" << "2" << true;
    QTest::newRow("blanks dropped") << " 12 " << "12" << true;
    QTest::newRow("exponent") << "1e2" << "100" << true;
    QTest::newRow("largest") << "32767" << "32767" << true;
    QTest::newRow("0.4 becomes 0, refused") << "0.4" << "0" << false;
    QTest::newRow("negative stays, refused") << "-3" << "-3" << false;
    QTest::newRow("not a number stays, refused") << "abc" << "abc" << false;
    QTest::newRow("trailing text stays, refused") << "8x" << "8x" << false;
    QTest::newRow("beyond 16 bits stays, refused") << "40000" << "40000" << false;
    QTest::newRow("empty, refused") << "" << "" << false;
}

void MainWindowParametersTest::iterations_become_a_16_bit_integer()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(bool, accepted);
    QCOMPARE(typeAndLeave("txtMaxcy", typed), accepted);
    QCOMPARE(fixture.control<QLineEdit>("txtMaxcy")->text(), shown);
    if (accepted)
        QCOMPARE(fixture.window->problem().spec.maxCycles, shown.toInt());
}

void MainWindowParametersTest::error_bound_must_be_positive_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("maxError");
    QTest::newRow("fraction") << ".5" << true << 0.5;
    QTest::newRow("leading number of a text") << "1e-3 abc" << true << 0.001;
    QTest::newRow("zero") << "0" << false << 0.0;
    QTest::newRow("negative") << "-1" << false << 0.0;
    QTest::newRow("not a number") << "abc" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("infinite") << "1e999" << false << 0.0;
}

void MainWindowParametersTest::error_bound_must_be_positive()
{
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QFETCH(double, maxError);
    QCOMPARE(typeAndLeave("txtError", typed), accepted);
    QCOMPARE(fixture.control<QLineEdit>("txtError")->text(), typed);
    if (accepted)
        QCOMPARE(fixture.window->problem().spec.maxError, maxError);
}

void MainWindowParametersTest::random_seeds_must_be_at_least_one_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("1.4") << "1.4" << true;
    QTest::newRow("most seeds") << QString::number(zl::gui::MainWindow::kMaxRandomSeeds) << true;
    QTest::newRow("0.5") << "0.5" << false;
    QTest::newRow("0") << "0" << false;
    QTest::newRow("not a number") << "abc" << false;
    QTest::newRow("more than a run lists") << QString::number(zl::gui::MainWindow::kMaxRandomSeeds + 1) << false;
    QTest::newRow("beyond 32 bits") << "1e12" << false;
}

void MainWindowParametersTest::random_seeds_must_be_at_least_one()
{
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QCOMPARE(typeAndLeave("txtRand", typed), accepted);
    QCOMPARE(fixture.window->problem().spec.randomSeeds, 0);  // set only by a Random run
}

QTEST_MAIN(MainWindowParametersTest)
#include "main_window_parameters_test.moc"

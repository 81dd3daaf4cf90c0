// The user constants box: Add and Enter, silent refusals, replacing, Remove,
// the full table, and the constants reaching a run.

#include <QComboBox>
#include <QLineEdit>

#include "core/problem/problem_spec.h"
#include "support/main_window_fixture.h"

using namespace zl::gui::testing;
using zl::gui::FakeUserDialogs;

class MainWindowConstantsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(fixture.open()); }
    void cleanup() { fixture.window.reset(); }

    void add_takes_a_valid_name_only_data();
    void add_takes_a_valid_name_only();
    void same_name_replaces_case_sensitively();
    void remove_takes_the_picked_item_and_zeroes_its_name();
    void remove_without_a_picked_item_does_nothing();
    void full_table_refuses_with_a_message();
    void constants_reach_the_run();

private:
    QComboBox *box() const { return fixture.control<QComboBox>("cboConstants"); }
    QStringList items() const
    {
        QStringList texts;
        for (int i = 0; i < box()->count(); ++i)
            texts << box()->itemText(i);
        return texts;
    }
    void typeInBox(const QString &text)
    {
        clickThroughWindow(box()->lineEdit());  // the text part, not the drop-down arrow
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), text);
    }
    void addByButton(const QString &text)
    {
        typeInBox(text);
        clickThroughWindow(fixture.control("cmdAddCons"));
    }
    QStringList table() const
    {
        const zl::ProblemSpec &spec = fixture.window->problem().spec;
        QStringList texts;
        for (int k = 0; k < spec.constantCount; ++k)
            texts << QString::fromStdString(spec.constants[static_cast<std::size_t>(k)]);
        return texts;
    }
    void enterSmallProblem() { fixture.enterProblem(QStringLiteral("1"), QStringLiteral("x")); }
    MainWindowFixture fixture;
};

void MainWindowConstantsTest::add_takes_a_valid_name_only_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<bool>("added");
    QTest::newRow("a=2.37") << "a=2.37" << false << true;
    QTest::newRow("a=2.37 by Enter") << "a=2.37" << true << true;
    QTest::newRow("letters and digits") << "a1=5" << false << true;
    QTest::newRow("free value text") << "b=2*pi" << true << true;
    QTest::newRow("digit first") << "1a=5" << false << false;
    QTest::newRow("underscore") << "a_b=5" << true << false;
    QTest::newRow("blank before =") << "a =5" << false << false;
    QTest::newRow("no name") << "=5" << true << false;
    QTest::newRow("no =") << "abc" << false << false;
}

void MainWindowConstantsTest::add_takes_a_valid_name_only()
{
    QFETCH(QString, text);
    QFETCH(bool, byEnter);
    QFETCH(bool, added);
    enterSmallProblem();
    typeInBox(text);
    if (byEnter)
        pressKey(Qt::Key_Return);
    else
        clickThroughWindow(fixture.control("cmdAddCons"));

    QCOMPARE(items(), added ? QStringList{text} : QStringList());
    QCOMPARE(table(), items());
    QCOMPARE(box()->currentText(), added ? QString() : text);
    QCOMPARE(fixture.dialogs.calls().size(), 0);
}

void MainWindowConstantsTest::same_name_replaces_case_sensitively()
{
    enterSmallProblem();
    for (const char *text : {"a=1", "b=2", "A=5", "a=3"})
        addByButton(QString::fromLatin1(text));
    QCOMPARE(items(), QStringList({"b=2", "A=5", "a=3"}));
    QCOMPARE(table(), items());
}

void MainWindowConstantsTest::remove_takes_the_picked_item_and_zeroes_its_name()
{
    enterSmallProblem();
    addByButton(QStringLiteral("a=2.37"));
    addByButton(QStringLiteral("b=1"));
    fixture.window->engine().executeStatement("a=2.37");

    clickThroughWindow(box()->lineEdit());
    pressKey(Qt::Key_Down);  // picks the first item from the list
    QCOMPARE(box()->currentText(), QStringLiteral("a=2.37"));
    clickThroughWindow(fixture.control("cmdRemCons"));

    QCOMPARE(items(), QStringList({"b=1"}));
    QCOMPARE(table(), items());
    const zl::NumberResult a = fixture.window->engine().evaluateNumber("a");
    QVERIFY(a.ok());
    QCOMPARE(a.value, 0.0);
}

void MainWindowConstantsTest::remove_without_a_picked_item_does_nothing()
{
    enterSmallProblem();
    addByButton(QStringLiteral("a=2.37"));
    typeInBox(QStringLiteral("a=2"));  // typed, matching no item
    clickThroughWindow(fixture.control("cmdRemCons"));
    QCOMPARE(items(), QStringList({"a=2.37"}));
}

void MainWindowConstantsTest::full_table_refuses_with_a_message()
{
    enterSmallProblem();
    for (int k = 0; k < zl::kConstantSlots; ++k)
        addByButton(QStringLiteral("c%1=%1").arg(k));
    QCOMPARE(items().size(), zl::kConstantSlots);

    addByButton(QStringLiteral("z=1"));
    QCOMPARE(fixture.dialogs.count(FakeUserDialogs::Kind::Message), 1);
    QVERIFY(fixture.dialogs.calls().first().text.contains(QStringLiteral("full")));
    QCOMPARE(items().size(), zl::kConstantSlots);
    QCOMPARE(box()->currentText(), QStringLiteral("z=1"));

    // A new value for a name already held still fits.
    addByButton(QStringLiteral("c5=9"));
    QCOMPARE(items().last(), QStringLiteral("c5=9"));
    QCOMPARE(table(), items());
}

void MainWindowConstantsTest::constants_reach_the_run()
{
    fixture.enterProblem(QStringLiteral("1"), QStringLiteral("x"));
    addByButton(QStringLiteral("a=1.5"));
    addByButton(QStringLiteral("b=a*2"));  // may use the constants above it
    typeOver(fixture.element("txtEquation", 0), QStringLiteral("x=b"));
    clickThroughWindow(fixture.control("cmdExplore"));
    QVERIFY(!fixture.listLines().isEmpty());
    QVERIFY2(fixture.listLines().first().startsWith(QStringLiteral("x=3 ")),
             qPrintable(fixture.listLines().first()));
}

QTEST_MAIN(MainWindowConstantsTest)
#include "main_window_constants_test.moc"

// The checks of the limit and parameter fields, select-all on focus, and the
// user constants box.

#include <QComboBox>
#include <QFontInfo>

#include "core/problem/problem_record.h"
#include "support/main_window_fixture.h"

using namespace zl::gui::testing;
using zl::gui::FakeUserDialogs;

class MainWindowFieldsTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QVERIFY(fixture.open());
        fixture.enterProblem(QStringLiteral("1"), QStringLiteral("x"));
    }
    void cleanup() { fixture.window.reset(); }

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
        QLineEdit *target = fixture.element(qPrintable(field), 0);
        typeOver(target, typed);
        clickThroughWindow(fixture.element("txtEquation", 0));
        QCOMPARE(!target->hasFocus(), accepted);
        QTEST(target->text(), "shown");
        if (field == QStringLiteral("txtMaxcy"))  // stored before it is judged
            QCOMPARE(fixture.window->problem().record.maxCycles, target->text().toInt());
    }

    void fields_select_their_text_on_focus_and_the_list_is_fixed_pitch() {
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
        QCOMPARE(table(), items());                                         // the window's own record holds them
        QCOMPARE(fixture.window->engine().evaluateNumber("b").value, 0.0);  // removed names stay, as 0

        for (int k = items().size(); k < zl::kConstantSlots; ++k) addConstant(QStringLiteral("c%1=%1").arg(k));
        addConstant(QStringLiteral("z=1"));
        QCOMPARE(fixture.dialogs.count(FakeUserDialogs::Kind::Message), 1);
        QVERIFY(fixture.dialogs.calls().first().text.contains(QStringLiteral("full")));
        QCOMPARE(box()->currentText(), QStringLiteral("z=1"));
    }

private:
    QComboBox *box() const { return fixture.control<QComboBox>("cboConstants"); }
    QStringList items() const { return fixture.constantItems(); }
    QStringList table() const {
        const zl::ProblemSpec &record = fixture.window->problem().record;
        QStringList texts;
        for (int k = 0; k < record.constantCount; ++k)
            texts << QString::fromStdString(record.constants[static_cast<std::size_t>(k)]);
        return texts;
    }
    void addConstant(const QString &text) {
        typeOver(box()->lineEdit(), text);  // the text part, not the drop-down arrow
        clickThroughWindow(fixture.control("cmdAddCons"));
    }
    MainWindowFixture fixture;
};

QTEST_MAIN(MainWindowFieldsTest)
#include "main_window_fields_test.moc"

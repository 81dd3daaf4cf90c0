// The main window as it opens: its controls, menus, keyboard order, fonts and
// the select-all of its text fields.

#include <QAction>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>

#include "support/main_window_fixture.h"

using namespace zl::gui::testing;

namespace {

/// The caption or text a control shows: text for labels, fields and buttons,
/// the title for frames.
QString shownText(const QWidget *control)
{
    if (const auto *frame = qobject_cast<const QGroupBox *>(control))
        return frame->title();
    if (const auto *box = qobject_cast<const QComboBox *>(control))
        return box->currentText();
    return control->property("text").toString();
}

/// A widget's name with its control-array index, as "txtLL[1]".
QString nameWithIndex(const QWidget *widget)
{
    const QVariant index = widget->property("index");
    return index.isValid() ? QStringLiteral("%1[%2]").arg(widget->objectName()).arg(index.toInt())
                           : widget->objectName();
}

} // namespace

class MainWindowLayoutTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(fixture.open()); }
    void cleanup() { fixture.window.reset(); }

    void window_is_named_and_captioned();
    void controls_show_their_initial_text_and_tooltip_data();
    void controls_show_their_initial_text_and_tooltip();
    void menus_start_with_save_disabled_and_print_and_about_hidden();
    void order_field_has_the_focus_at_start();
    void solution_list_uses_a_fixed_pitch_font();
    void tab_runs_through_the_controls_in_reading_order();
    void text_fields_select_their_whole_text_on_focus();

private:
    MainWindowFixture fixture;
};

void MainWindowLayoutTest::window_is_named_and_captioned()
{
    QCOMPARE(fixture.window->objectName(), QStringLiteral("frmRootex"));
    QCOMPARE(fixture.window->windowTitle(), QStringLiteral("Zerolith"));
}

void MainWindowLayoutTest::controls_show_their_initial_text_and_tooltip_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("toolTip");
    const auto row = [](const char *name, const char *text, const char *toolTip = "") {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(text)
                            << QString::fromLatin1(toolTip);
    };
    row("lblOrder", "Enter # of variables:");
    row("txtOrder", "");
    row("lblVarNam", "Enter the names of the independent variables, separated by commas:");
    row("txtVarNams", "x,y");
    row("lblError", "Approx. error bound:");
    row("txtError", ".01", "Error MUST be >0");
    row("lblMaxcy", "Max. # of iterations:");
    row("txtMaxcy", "8", "Limits number of main loop iterations");
    row("LblRand", "# of random seeds:");
    row("txtRand", "20");
    row("fraEquations", "Equations");
    row("lblEquation", "Equation #");
    row("lblEqNum", "1");
    row("cmdNextEq", "Next equation", "Next equation");
    row("cmdPrevEq", "Previous equation", "Previous equation");
    row("cmdShowAll", "Show all equations");
    row("txtEquation", "3*x^2*sin(x)=pi",
        "Must be in terms of the variables defined above and constants defined below");
    row("fraConstants", "User constants", "Add or remove user-defined constants");
    row("cboConstants", "", "Example: a=2.37");
    row("cmdAddCons", "Add", "Add (register) constant");
    row("cmdRemCons", "Remove", "Remove selected constant");
    row("fraIntervals", "Interval specifications");
    row("lblVariable", "Variable:");
    row("lblVarNum", "");
    row("cmdPrevLim", "Previous", "Display previous variable");
    row("cmdNextLim", "Next", "Display next variable");
    row("lblLL", "Lower limit:");
    row("txtLL", "-5");
    row("lblUL", "Upper limit:");
    row("txtUL", "5");
    row("lblSubintervals", "# of subintervals:");
    row("txtSubintervals", "4",
        "Minimum # of subintervals in this direction. Should be enough to detect all roots.");
    row("cmdExplore", "Explore", "Explore interval for solutions");
    row("cmdRandom", "Random", "Generate randoms seeds to find solutions");
    row("cmdExit", "E&xit");
    row("lblRoots", "");
}

void MainWindowLayoutTest::controls_show_their_initial_text_and_tooltip()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, toolTip);
    const QList<QWidget *> found = fixture.window->findChildren<QWidget *>(name);
    QCOMPARE(found.size(), 1);
    QCOMPARE(shownText(found.first()), text);
    QCOMPARE(found.first()->toolTip(), toolTip);
    QVERIFY(found.first()->isVisible());
}

void MainWindowLayoutTest::menus_start_with_save_disabled_and_print_and_about_hidden()
{
    QMenuBar *bar = fixture.window->menuBar();
    QStringList topLevel;
    for (QAction *action : bar->actions())
        topLevel << action->text() + (action->isVisible() ? "" : " (hidden)");
    QCOMPARE(topLevel, QStringList({"File", "Print (hidden)", "Help", "About (hidden)"}));

    QStringList fileItems;
    for (QAction *action : bar->actions().first()->menu()->actions()) {
        fileItems << (action->isSeparator() ? QStringLiteral("-")
                                            : action->objectName() + (action->isEnabled() ? "" : " (disabled)"));
    }
    QCOMPARE(fileItems, QStringList({"mnuOpen", "-", "mnuSave (disabled)", "mnuSaveAs (disabled)", "-"}));
}

void MainWindowLayoutTest::order_field_has_the_focus_at_start()
{
    QCOMPARE(focusedName(), QStringLiteral("txtOrder"));
}

void MainWindowLayoutTest::solution_list_uses_a_fixed_pitch_font()
{
    const QFontInfo font(fixture.control("lstRoots")->font());
    QVERIFY2(font.fixedPitch(), qPrintable(font.family()));
}

void MainWindowLayoutTest::tab_runs_through_the_controls_in_reading_order()
{
    fixture.enterProblem(QStringLiteral("2"), QStringLiteral("x,y"));
    QStringList visited{focusedName()};
    for (int i = 0; i < 21; ++i) {
        pressTab();
        visited << nameWithIndex(QApplication::focusWidget());
    }
    // Order and names are fixed (disabled) by now; Tab wraps round.
    const QStringList expected{"txtError", "txtMaxcy", "txtRand", "cmdPrevEq", "cmdNextEq", "cmdShowAll",
                               "txtEquation[0]", "cboConstants", "cmdAddCons", "cmdRemCons",
                               "cmdPrevLim", "cmdNextLim", "txtLL[0]", "txtUL[0]", "txtSubintervals[0]",
                               "lstRoots", "cmdExplore", "cmdRandom", "cmdExit", "txtError", "txtMaxcy",
                               "txtRand"};
    QCOMPARE(visited, expected);

    // With the second variable on show, its own three fields take their turn.
    clickThroughWindow(fixture.control("cmdNextLim"));
    QStringList second{nameWithIndex(QApplication::focusWidget())};
    for (int i = 0; i < 3; ++i) {
        pressTab();
        second << nameWithIndex(QApplication::focusWidget());
    }
    QCOMPARE(second, QStringList({"txtLL[1]", "txtUL[1]", "txtSubintervals[1]", "lstRoots"}));
}

void MainWindowLayoutTest::text_fields_select_their_whole_text_on_focus()
{
    fixture.enterProblem(QStringLiteral("2"), QStringLiteral("x,y"));
    auto *error = fixture.control<QLineEdit>("txtError");
    QCOMPARE(focusedName(), QStringLiteral("txtError"));
    QCOMPARE(error->selectedText(), QStringLiteral(".01"));

    auto *iterations = fixture.control<QLineEdit>("txtMaxcy");
    clickThroughWindow(iterations);
    QTRY_COMPARE(iterations->selectedText(), QStringLiteral("8"));

    // Focus moved by the program (Next equation) selects as well.
    clickThroughWindow(fixture.control("cmdNextEq"));
    QLineEdit *second = fixture.element("txtEquation", 1);
    QVERIFY(second->hasFocus());
    QCOMPARE(second->selectedText(), second->text());
}

QTEST_MAIN(MainWindowLayoutTest)
#include "main_window_layout_test.moc"

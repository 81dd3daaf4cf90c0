// Every window laid out readably: no label or button text cut off, the grid's
// label column wide enough for its labels, and nothing the user types sets how
// wide a window must be. With ZEROLITH_SCREENSHOT_DIR set (scripts/screenshots
// does) each window is also saved there as a PNG.

#include <QAbstractButton>
#include <QDir>
#include <QPushButton>
#include <QTableWidget>
#include <QTextBrowser>

#include "gui/equation_grid_model.h"
#include "gui/equations_window.h"
#include "gui/help_window.h"
#include "support/main_window_fixture.h"

using namespace zl::gui;
using namespace zl::gui::testing;

namespace {

// Labels and buttons that are shown must have room for their whole text.
void checkTextsFit(QWidget &window) {
    for (QLabel *label : window.findChildren<QLabel *>()) {
        if (!label->isVisible() || label->text().isEmpty() || label->wordWrap()) continue;
        QVERIFY2(label->width() >= label->minimumSizeHint().width(),
                 qPrintable(label->objectName() + ": " + label->text()));
    }
    for (QAbstractButton *button : window.findChildren<QAbstractButton *>()) {
        if (!button->isVisible() || button->text().isEmpty()) continue;
        const int needed = button->fontMetrics().horizontalAdvance(QString(button->text()).remove('&'));
        QVERIFY2(button->width() > needed, qPrintable(button->objectName() + ": " + button->text()));
    }
}

}  // namespace

class WindowPicturesTest : public QObject {
    Q_OBJECT
private slots:
    void equations_window_shows_every_text_and_both_columns() {
        EquationGridModel model;
        model.setRowCount(3);
        model.writeRowLabels();
        const QStringList equations{"x^2+y^2+z^2=k", "x=y", "Sinh(z)-Cosh(x)*Asin(y/2)=0.25"};
        for (int row = 0; row < 3; ++row) model.setEquationText(row, equations[row]);
        model.setVariablesCaption("Variables: x,y,z");
        EquationsWindow window(model);
        QVERIFY(showActive(window));
        checkTextsFit(window);
        QTableWidget *grid = window.grid();
        for (int row = 0; row < 3; ++row) {
            const QString label = window.cellText(row, 0);
            QVERIFY(grid->fontMetrics().horizontalAdvance(label) < grid->columnWidth(0));
            QVERIFY(grid->fontMetrics().horizontalAdvance(window.cellText(row, 1)) < grid->columnWidth(1));
        }
        QVERIFY(window.rect().contains(window.okButton()->geometry()));
        // Both columns are on show without scrolling sideways.
        QVERIFY(grid->viewport()->width() >= grid->columnWidth(0) + grid->columnWidth(1));
        savePicture(window, "equations_window");
    }

    // Without the help file the manual opens at its contents: Tab to the first
    // link, Enter follows it, Contents comes back.
    void help_window_shows_its_texts_a_page_of_reading_size_and_the_manual() {
        const QString manual = QStringLiteral(ZEROLITH_SOURCE_DIR "/docs/manual");
        HelpWindow window({QDir::tempPath() + "/no-such-program-folder/manual", manual});
        QVERIFY(window.openHelp(QDir::tempPath() + "/no-such-program-folder"));
        QVERIFY(QTest::qWaitForWindowActive(&window));
        checkTextsFit(window);
        QVERIFY(window.browser()->width() > 400 && window.browser()->height() > 300);
        savePicture(window, "help_window");
        const QUrl index = QUrl::fromLocalFile(QDir(manual).absoluteFilePath("index.html"));
        QCOMPARE(window.browser()->source(), index);
        window.browser()->setFocus();
        QTest::keyClick(window.windowHandle(), Qt::Key_Tab);
        QTest::keyClick(window.windowHandle(), Qt::Key_Return);
        QCOMPARE(window.browser()->source().fileName(), QStringLiteral("starting.html"));
        clickThroughWindow(window.findChild<QPushButton *>());  // Contents
        QCOMPARE(window.browser()->source(), index);
    }

    // File > Open of an example with a stored solution: the fields, the list
    // and its count as the user finds them after opening.
    void opened_problem_shows_every_text_whole() {
        MainWindowFixture fixture;
        QVERIFY(fixture.open(true));
        fixture.openFile(QStringLiteral(ZEROLITH_SOURCE_DIR "/examples/circle_and_line.zerolith"));
        QCOMPARE(fixture.countText(), QStringLiteral("1 solutions"));
        checkTextsFit(*fixture.window);
        savePicture(*fixture.window, "main_window_opened");
    }

    // Long variable names and constants show cut short; the window can still be narrowed.
    void long_names_and_constants_leave_the_minimum_width() {
        MainWindowFixture fixture;
        QVERIFY(fixture.open());
        const int before = fixture.window->minimumSizeHint().width();
        const QString name = QStringLiteral("v") + QString(149, QLatin1Char('n'));
        fixture.enterProblem(QStringLiteral("1"), name);
        typeOver(fixture.control("cboConstants"), QStringLiteral("k=") + QString(150, QLatin1Char('7')));
        pressKey(Qt::Key_Return);
        QCOMPARE(fixture.control<QComboBox>("cboConstants")->count(), 1);
        QCOMPARE(fixture.control<QLabel>("lblVarNum")->text(), name);  // kept whole
        QCoreApplication::processEvents();                             // the layouts take in the change
        QCOMPARE(fixture.window->minimumSizeHint().width(), before);

        EquationGridModel model;  // the grid window's caption of the names
        EquationsWindow grid(model);
        model.setVariablesCaption(QStringLiteral("Variables: v"));
        const int gridBefore = grid.minimumSizeHint().width();
        model.setVariablesCaption(QStringLiteral("Variables: ") + name);
        QCoreApplication::processEvents();
        QCOMPARE(grid.minimumSizeHint().width(), gridBefore);
    }
};

QTEST_MAIN(WindowPicturesTest)
#include "window_pictures_test.moc"

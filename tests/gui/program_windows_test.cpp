// The windows around the main window, reached through its own buttons and
// menus: the equations grid, About, Help, Print, and what closing does.

#include <QAction>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>

#include <memory>

#include "gui/about_window.h"
#include "gui/cell_edit_box.h"
#include "gui/decimal_symbol_guard.h"
#include "gui/equations_window.h"
#include "gui/help_window.h"
#include "gui/program_windows.h"
#include "support/fake_numeric_locale.h"
#include "support/main_window_fixture.h"

using namespace zl::gui;
using namespace zl::gui::testing;

namespace {

// A folder like the build folder: the manual is found at ../docs/manual.
const QString kProgramFolder = QStringLiteral(ZEROLITH_SOURCE_DIR "/tests");

/// What pdftotext writes for `pdf` with `options`.
QString pdfText(const QString &pdf, QStringList options = {"-layout"}) {
    QProcess pdftotext;
    pdftotext.start("pdftotext", options << pdf << "-");
    pdftotext.waitForFinished(30000);
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

/// The box of the first word on the first page, in points from the page's top left.
QRectF firstWordBox(const QString &pdf) {
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\""));
    const auto match = word.match(pdfText(pdf, {"-bbox", "-f", "1", "-l", "1"}));
    if (!match.hasMatch()) return {};
    return QRectF(QPointF(match.captured(1).toDouble(), match.captured(2).toDouble()),
                  QPointF(match.captured(3).toDouble(), match.captured(4).toDouble()));
}

}  // namespace

class ProgramWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        locale = FakeNumericLocale();
        guard = std::make_unique<DecimalSymbolGuard>(locale, fixture.dialogs);
        fixture.dialogs.decimalCommaAnswers.enqueue(QMessageBox::Yes);
        QVERIFY(guard->CheckDecimalSymbol());
        QCOMPARE(locale.switches, 1);  // build() starts the dialogs fake afresh
    }

    void cleanup() {
        windows.reset();
        fixture.window.reset();
        guard.reset();
    }

    // Typing in the grid reaches the main window's fields; closed from the title
    // bar, the main window closes the rest. (Exit's click is in the run test.)
    void grid_reaches_the_fields_and_closing_restores_the_symbol_and_every_window() {
        build(kProgramFolder);
        fixture.enterProblem("2", "x,y");
        clickThroughWindow(fixture.control<QPushButton>("cmdShowAll"));
        EquationsWindow &grid = windows->equationsWindow();
        QVERIFY(showActive(grid));
        QCOMPARE(grid.cellText(1, 0), QStringLiteral("Equat.#2:"));
        QCOMPARE(grid.variablesCaption(), QStringLiteral("Variables: x,y"));
        QTableWidget *table = grid.grid();
        clickThroughWindow(table->viewport(), table->visualRect(table->model()->index(1, 1)).center());
        QTest::keyClick(grid.editBox(), Qt::Key_Left);  // back to the grid, row 2 current
        QTest::keyClicks(table, QStringLiteral("x"));
        QTest::keyClicks(grid.editBox(), QStringLiteral("=y"));
        QCOMPARE(fixture.element("txtEquation", 1)->text(), QStringLiteral("x=y"));
        QCOMPARE(fixture.element("txtEquation", 0)->text(), QStringLiteral("3*x^2*sin(x)=pi"));
        clickThroughWindow(grid.okButton());
        QVERIFY(!grid.isVisible());

        clickThroughWindow(fixture.control<QPushButton>("cmdShowAll"));
        QVERIFY(grid.isVisible());
        QVERIFY(showActive(*fixture.window));
        fixture.clickMenuBar("mnuAbout");
        QVERIFY(windows->aboutWindow().isVisible());
        QCOMPARE(windows->aboutWindow().role(), AboutWindow::Role::About);
        QVERIFY(showActive(*fixture.window));
        fixture.window->windowHandle()->close();
        QVERIFY(!fixture.window->isVisible());
        QCOMPARE(locale.restores, 1);
        QVERIFY(!grid.isVisible());
        QVERIFY(!windows->aboutWindow().isVisible());
    }

    void print_menu_prints_the_window_s_problem() {
        QTemporaryDir folder;
        const QString pdf = folder.filePath("report.pdf");
        build(kProgramFolder);
        fixture.enterProblem("2", "x,y");
        typeOver(fixture.control("cboConstants"), QStringLiteral("k=2"));
        clickThroughWindow(fixture.control<QPushButton>("cmdAddCons"));
        fixture.dialogs.printerAnswers.enqueue(true);
        fixture.dialogs.printerOutputFile = pdf;

        fixture.clickMenuBar("mnuPrint");

        QCOMPARE(fixture.dialogs.count(FakeUserDialogs::Kind::Printer), 1);
        QCOMPARE(fixture.dialogs.count(FakeUserDialogs::Kind::Message), 0);
        const QString text = pdfText(pdf);
        for (const char *expected : {"ORDER: 2", "x,y", "CONSTANTS:", "k=2", "3*x^2*sin(x)=pi"})
            QVERIFY2(text.contains(QLatin1String(expected)), expected);
        // The page's margins are a document's, some 20 mm (57 points).
        const QRectF first = firstWordBox(pdf);
        QVERIFY2(first.left() > 54 && first.left() < 60, qPrintable(QString::number(first.left())));
        QVERIFY2(first.top() > 54 && first.top() < 64, qPrintable(QString::number(first.top())));
    }

    void help_menu_says_when_there_is_no_manual() {
        QTemporaryDir emptyFolder;
        build(emptyFolder.path());
        fixture.clickMenuBar("mnuHelp");
        QVERIFY(!windows->helpWindow().isVisible());
        QCOMPARE(fixture.dialogs.count(FakeUserDialogs::Kind::Message), 1);
    }

private:
    void build(const QString &programFolder) {
        QVERIFY(fixture.open());
        windows = std::make_unique<ProgramWindows>(*fixture.window, fixture.dialogs, *guard, programFolder);
    }

    MainWindowFixture fixture;
    FakeNumericLocale locale;
    std::unique_ptr<DecimalSymbolGuard> guard;
    std::unique_ptr<ProgramWindows> windows;
};

QTEST_MAIN(ProgramWindowsTest)
#include "program_windows_test.moc"

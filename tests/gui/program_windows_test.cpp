// The windows around the main window, reached through its own buttons and
// menus: the equations grid, About, Help, Print, and what closing does; where
// Help finds the manual or the help file, and the program its icon.

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QUrl>

#include <memory>

#include "gui/about_window.h"
#include "gui/cell_edit_box.h"
#include "gui/decimal_symbol_guard.h"
#include "gui/equations_window.h"
#include "gui/help_window.h"
#include "gui/program_windows.h"
#include "gui/window_title.h"
#include "support/fake_numeric_locale.h"
#include "support/main_window_fixture.h"

using namespace zl::gui;
using namespace zl::gui::testing;

namespace {

const QString kManualFolder = QStringLiteral(ZEROLITH_SOURCE_DIR "/docs/manual");

// Receives what QDesktopServices would hand to the desktop.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened << url; }
};

}  // namespace

class ProgramWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        windows.reset();
        fixture.window.reset();
        guard.reset();
    }

    // Typing in the grid reaches the main window's fields; Help without a manual
    // says so; closed from the title bar, the main window closes the rest.
    // (Exit's click is in the run test.)
    void grid_reaches_the_fields_help_says_there_is_no_manual_and_closing_closes_every_window() {
        build();
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
        fixture.clickMenuBar("mnuHelp");
        QVERIFY(!windows->helpWindow().isVisible());
        QCOMPARE(fixture.dialogs.count(FakeUserDialogs::Kind::Message), 1);
        QVERIFY(showActive(*fixture.window));
        fixture.window->windowHandle()->close();
        QVERIFY(!fixture.window->isVisible());
        QCOMPARE(locale.restores, 1);
        QVERIFY(!grid.isVisible());
        QVERIFY(!windows->aboutWindow().isVisible());
    }

    void print_menu_prints_the_window_s_problem() {
        const QString pdf = programFolder.filePath("report.pdf");
        build();
        fixture.enterProblem("2", "x,y");
        typeOver(fixture.control("cboConstants"), QStringLiteral("k=2"));
        clickThroughWindow(fixture.control<QPushButton>("cmdAddCons"));
        fixture.dialogs.printerAnswers.enqueue(true);
        fixture.dialogs.printerOutputFile = pdf;

        fixture.clickMenuBar("mnuPrint");

        QCOMPARE(fixture.dialogs.count(FakeUserDialogs::Kind::Printer), 1);
        QCOMPARE(fixture.dialogs.count(FakeUserDialogs::Kind::Message), 0);
        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-bbox", pdf, "-"});
        pdftotext.waitForFinished(30000);
        const QString words = QString::fromUtf8(pdftotext.readAllStandardOutput());
        for (const char *expected : {">x,y<", ">k=2<", ">3*x^2*sin(x)=pi<"})
            QVERIFY2(words.contains(QLatin1String(expected)), expected);
        // The page keeps a document's margins, some 20 mm (57 points), before the first word.
        static const QRegularExpression firstWord(QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\""));
        const auto first = firstWord.match(words);
        const double left = first.captured(1).toDouble(), top = first.captured(2).toDouble();
        QVERIFY2(left > 54 && left < 60 && top > 54 && top < 64, qPrintable(first.captured()));
    }

    // The splash shows the copyright sign and ignores a click; About closes on one.
    void about_window_lines_and_click() {
        for (const auto role : {AboutWindow::Role::Splash, AboutWindow::Role::About}) {
            const bool about = role == AboutWindow::Role::About;
            const QString notice = about ? "2026 Zerolith developers" : "\u00A9 2026 Zerolith developers";
            AboutWindow window{role};
            QCOMPARE(window.lines(), (QStringList{"", "", "Zerolith", "", notice, "", "All rights reserved.", "",
                                                  "https://zerolith.example.org", "", "support@zerolith.example.org"}));
            QCOMPARE(window.font().pointSize(), 24);
            QVERIFY(window.font().bold());
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            clickThroughWindow(&window);
            QCOMPARE(window.isVisible(), !about);
        }
    }

    void manual_links_all_resolve() {
        const QDir manual(kManualFolder);
        const QRegularExpression link(QStringLiteral("href=\"([^\"#:]+)"));
        for (const QString &page : manual.entryList({"*.html"})) {
            QFile file(manual.filePath(page));
            QVERIFY(file.open(QIODevice::ReadOnly));
            for (const auto &match : link.globalMatch(QString::fromUtf8(file.readAll())))
                QVERIFY2(manual.exists(match.captured(1)), qPrintable(page + " -> " + match.captured(1)));
        }
    }

    void help_with_chm_hands_it_to_the_desktop() {
        QTemporaryDir chmFolder;
        QFile chm(chmFolder.filePath("rootex.chm"));
        QVERIFY(chm.open(QIODevice::WriteOnly));
        chm.close();
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler("file", &recorder, "open");
        HelpWindow help({kManualFolder});

        QVERIFY(help.openHelp(chmFolder.path()));

        QDesktopServices::unsetUrlHandler("file");
        QCOMPARE(recorder.opened.size(), 1);
        QCOMPARE(QFileInfo(recorder.opened.first().toLocalFile()).canonicalFilePath(),
                 QFileInfo(chm).canonicalFilePath());
        QVERIFY(!help.isVisible());
    }

    // As the package lays it out: /usr/bin/zerolith, /usr/share/zerolith/manual,
    // /usr/share/icons/hicolor/48x48/apps/zerolith.png.
    void installed_program_finds_its_manual_and_icon() {
        QTemporaryDir root;
        const QDir usr(root.filePath("usr"));
        QVERIFY(usr.mkpath("bin") && usr.mkpath("share/zerolith/manual") &&
                usr.mkpath("share/icons/hicolor/48x48/apps"));
        const QString index = usr.filePath("share/zerolith/manual/index.html");
        QVERIFY(QFile::copy(QDir(kManualFolder).filePath("index.html"), index));
        QImage picture(48, 48, QImage::Format_ARGB32);
        picture.fill(Qt::darkBlue);
        QVERIFY(picture.save(usr.filePath("share/icons/hicolor/48x48/apps/zerolith.png")));

        const HelpWindow help(HelpWindow::defaultManualFolders(usr.filePath("bin")));
        QCOMPARE(help.manualIndex(), QFileInfo(index).absoluteFilePath());
        QVERIFY(programIcon(usr.filePath("bin")).availableSizes().contains(QSize(48, 48)));
        QVERIFY(programIcon(root.path()).isNull());  // run from elsewhere: no icon
    }

private:
    void build() {
        QVERIFY(fixture.open());
        locale = FakeNumericLocale();
        guard = std::make_unique<DecimalSymbolGuard>(locale, fixture.dialogs);
        fixture.dialogs.decimalCommaAnswers.enqueue(QMessageBox::Yes);
        QVERIFY(guard->CheckDecimalSymbol());
        QCOMPARE(locale.switches, 1);
        windows = std::make_unique<ProgramWindows>(*fixture.window, fixture.dialogs, *guard, programFolder.path());
    }

    QTemporaryDir programFolder;  // no help file, no manual
    MainWindowFixture fixture;
    FakeNumericLocale locale;
    std::unique_ptr<DecimalSymbolGuard> guard;
    std::unique_ptr<ProgramWindows> windows;
};

QTEST_MAIN(ProgramWindowsTest)
#include "program_windows_test.moc"

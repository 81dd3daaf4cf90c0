// The program's windows as users expect them of a desktop program: the windows
// around the main window reached through its buttons and menus (the equations
// grid, About, Help, Print) and what closing does; the standard shortcuts; the
// file named on the command line opened at start with its name in the title;
// a message box that shows its whole title; where Help finds the manual or the
// help file, and the program its icon.

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include <memory>

#include "gui/about_window.h"
#include "gui/cell_edit_box.h"
#include "gui/decimal_symbol_guard.h"
#include "gui/equations_window.h"
#include "gui/help_window.h"
#include "gui/program_windows.h"
#include "gui/qt_user_dialogs.h"
#include "gui/start_arguments.h"
#include "gui/window_title.h"
#include "program_version.h"
#include "support/fake_numeric_locale.h"
#include "support/main_window_fixture.h"

using namespace zl::gui;
using namespace zl::gui::testing;

namespace {

const QString kManualFolder = QStringLiteral(ZEROLITH_SOURCE_DIR "/docs/manual");
const QString kCircleAndLine = QStringLiteral(ZEROLITH_SOURCE_DIR "/examples/circle_and_line.zerolith");

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

    // Typing in the grid reaches the main window's fields; Print prints the
    // window's problem on a page with a document's margins; Help without a
    // manual says so; closed from the title bar, the main window closes the
    // rest. (Exit's click is in the run test.)
    void windows_reached_from_the_main_window_show_its_problem_and_close_with_it() {
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
        QCOMPARE(fixture.element("txtEquation", 1)->text(),
                 QStringLiteral("x=y"));  // the first one kept: printed below
        clickThroughWindow(grid.okButton());
        QVERIFY(!grid.isVisible());

        typeOver(fixture.control("cboConstants"), QStringLiteral("k=2"));
        clickThroughWindow(fixture.control<QPushButton>("cmdAddCons"));
        fixture.dialogs.printerAnswers.enqueue(true);
        fixture.dialogs.printerOutputFile = programFolder.filePath("report.pdf");

        fixture.clickMenuBar("mnuPrint");  // the PDF is written only through the print dialog
        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-bbox", fixture.dialogs.printerOutputFile, "-"});
        pdftotext.waitForFinished(30000);
        const QString words = QString::fromUtf8(pdftotext.readAllStandardOutput());
        for (const char *expected : {">x,y<", ">k=2<", ">3*x^2*sin(x)=pi<", ">x=y<"})
            QVERIFY2(words.contains(QLatin1String(expected)), expected);
        // The page keeps a document's margins, some 20 mm (57 points), before the first word.
        static const QRegularExpression firstWord(QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\""));
        const auto first = firstWord.match(words);
        const double left = first.captured(1).toDouble(), top = first.captured(2).toDouble();
        QVERIFY2(left > 54 && left < 60 && top > 54 && top < 64, qPrintable(first.captured()));

        clickThroughWindow(fixture.control<QPushButton>("cmdShowAll"));
        QVERIFY(grid.isVisible());
        QVERIFY(showActive(*fixture.window));
        fixture.clickMenuBar("mnuAbout");
        QVERIFY(windows->aboutWindow().isVisible());
        QCOMPARE(windows->aboutWindow().role(), AboutWindow::Role::About);
        fixture.clickMenuBar("mnuHelp");
        QVERIFY(!windows->helpWindow().isVisible());
        QCOMPARE(fixture.dialogs.count(FakeUserDialogs::Kind::Message), 1);  // Help's, the first: none from Print
        QVERIFY(showActive(*fixture.window));
        fixture.window->windowHandle()->close();
        QVERIFY(!fixture.window->isVisible());
        QCOMPARE(locale.restores, 1);
        QVERIFY(!grid.isVisible());
        QVERIFY(!windows->aboutWindow().isVisible());
    }

    // Each shortcut acts only while its menu item is available (Open until the
    // order is set; Save, Save As and Print once the names are), and the items
    // keep their captions.
    void standard_shortcuts_reach_the_menu_commands() {
        build();
        const struct {
            QKeySequence keys;
            const char *item;
            int before, after;  // times triggered before and after the names are set
        } shortcuts[] = {{Qt::CTRL | Qt::Key_O, "mnuOpen", 1, 0},
                         {Qt::Key_F1, "mnuHelp", 1, 1},
                         {Qt::CTRL | Qt::Key_S, "mnuSave", 0, 1},
                         {Qt::CTRL | Qt::SHIFT | Qt::Key_S, "mnuSaveAs", 0, 1},
                         {Qt::CTRL | Qt::Key_P, "mnuPrint", 0, 1}};
        for (const bool namesSet : {false, true}) {
            if (namesSet) fixture.enterProblem(QStringLiteral("2"), QStringLiteral("x,y"));
            for (const auto &s : shortcuts) {
                QSignalSpy triggered(fixture.control<QAction>(s.item), &QAction::triggered);
                QTest::keySequence(fixture.window.get(), s.keys);
                QVERIFY2(triggered.count() == (namesSet ? s.after : s.before), s.item);
            }
        }
        QCOMPARE(fixture.control<QAction>("mnuSaveAs")->text(), QStringLiteral("Save As"));
    }

    // The file named at start goes through the function File > Open calls.
    void file_given_at_start_names_the_window_and_keeps_its_solutions_until_an_edit() {
        build();
        QCOMPARE(fixture.window->windowTitle(), QStringLiteral("Zerolith"));
        fixture.window->findChild<ProblemFileCommands *>()->openFile(kCircleAndLine);
        QCOMPARE(fixture.window->windowTitle(), QStringLiteral("circle_and_line.zerolith \u2014 Zerolith"));
        // The order field that had the focus is disabled by now; the error bound
        // took it. Moving on without an edit keeps what the file listed.
        QCOMPARE(focusedName(), QStringLiteral("txtError"));
        clickThroughWindow(fixture.control("txtMaxcy"));
        QCOMPARE(focusedName(), QStringLiteral("txtMaxcy"));
        QCOMPARE(fixture.listLines().size(), 3);

        // Remove empties the box of its one constant: solutions found with k=2 no longer hold.
        auto *box = fixture.control<QComboBox>("cboConstants");
        clickThroughWindow(box->lineEdit());
        pressKey(Qt::Key_Down);  // picks k=2
        clickThroughWindow(fixture.control("cmdRemCons"));
        QCOMPARE(box->count(), 0);
        QCOMPARE(box->currentText(), QString());
        QVERIFY(fixture.listLines().isEmpty());

        fixture.dialogs.saveFileAnswers.enqueue(programFolder.filePath("copy.zerolith"));
        fixture.control<QAction>("mnuSaveAs")->trigger();
        QCOMPARE(fixture.window->windowTitle(), QStringLiteral("copy.zerolith \u2014 Zerolith"));
        fixture.control<QAction>("mnuSaveAs")->trigger();  // cancelled: the next Save asks again
        QCOMPARE(fixture.window->windowTitle(), QStringLiteral("Zerolith"));
    }

    void start_arguments_choose_the_window_the_version_or_a_refusal() {
        using Action = StartArguments::Action;
        const QString version = QStringLiteral("zerolith %1\n").arg(QString::fromUtf8(zl::kProgramVersion.data()));
        const struct {
            QStringList arguments;
            Action action;
            QString file, text;
        } cases[] = {
            {{}, Action::OpenWindow, "", ""},
            {{"a.zerolith"}, Action::OpenWindow, "a.zerolith", ""},
            {{"a.zerolith", "--version"}, Action::PrintVersion, "", version},
            {{"--", "-a.zerolith"}, Action::OpenWindow, "-a.zerolith", ""},
            {{"--plot"}, Action::Refuse, "", "zerolith: unknown option '--plot' (try --help)\n"},
            {{"a", "b"}, Action::Refuse, "", "zerolith: one problem file at a time (try --help)\n"},
        };
        for (const auto &c : cases) {
            const StartArguments start = readStartArguments(c.arguments);
            QVERIFY2(start.action == c.action && start.file == c.file && start.text == c.text,
                     qPrintable(c.arguments.join(' ') + " -> " + start.file + " / " + start.text));
        }
        QVERIFY(readStartArguments({"--help"}).text.startsWith(QLatin1String("Usage: zerolith [FILE]")));
    }

    // The title bar needs room for the title in its own bolder face beside the
    // window's icon and buttons; a box as narrow as its text showed "Ze…h".
    void message_box_is_wide_enough_for_its_title() {
        int width = 0, titleWidth = 0;
        QTimer::singleShot(50, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            width = box->width();
            titleWidth = box->fontMetrics().horizontalAdvance(box->windowTitle());
            box->accept();
        });
        QtUserDialogs().showMessage(nullptr, QStringLiteral("Incompatible file"));
        QVERIFY2(width >= 2 * titleWidth + 150, qPrintable(QStringLiteral("%1 for %2").arg(width).arg(titleWidth)));
    }

    // The splash shows the copyright sign and ignores a click; About closes on one.
    void about_window_lines_and_click() {
        for (const auto role : {AboutWindow::Role::Splash, AboutWindow::Role::About}) {
            const bool about = role == AboutWindow::Role::About;
            const QString notice = about ? "2026 Zerolith developers" : "\u00A9 2026 Zerolith developers";
            AboutWindow window{role};
            QCOMPARE(window.lines(), (QStringList{"", "", "Zerolith", "", notice, "", "All rights reserved.", "",
                                                  "https://zerolith.example.org", "", "support@zerolith.example.org"}));
            QCOMPARE(std::pair(window.font().pointSize(), window.font().bold()), std::pair(24, true));
            QVERIFY(showActive(window));
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

    // A help file is handed to the desktop. As the package lays the program out
    // (/usr/bin/zerolith, /usr/share/zerolith/manual,
    // /usr/share/icons/hicolor/48x48/apps/zerolith.png) it finds its manual and icon.
    void help_file_goes_to_the_desktop_and_the_installed_program_finds_its_manual_and_icon() {
        QTemporaryDir root;
        QFile chm(root.filePath("rootex.chm"));
        QVERIFY(chm.open(QIODevice::WriteOnly));
        chm.close();
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler("file", &recorder, "open");
        HelpWindow help({kManualFolder});
        QVERIFY(help.openHelp(root.path()));
        QDesktopServices::unsetUrlHandler("file");
        QCOMPARE(recorder.opened.size(), 1);
        QCOMPARE(QFileInfo(recorder.opened.first().toLocalFile()).canonicalFilePath(),
                 QFileInfo(chm).canonicalFilePath());
        QVERIFY(!help.isVisible());

        const QDir usr(root.filePath("usr"));
        QVERIFY(usr.mkpath("bin") && usr.mkpath("share/zerolith/manual") &&
                usr.mkpath("share/icons/hicolor/48x48/apps"));
        const QString index = usr.filePath("share/zerolith/manual/index.html");
        QVERIFY(QFile::copy(QDir(kManualFolder).filePath("index.html"), index));
        QImage picture(48, 48, QImage::Format_ARGB32);
        picture.fill(Qt::darkBlue);
        QVERIFY(picture.save(usr.filePath("share/icons/hicolor/48x48/apps/zerolith.png")));
        const HelpWindow installed(HelpWindow::defaultManualFolders(usr.filePath("bin")));
        QCOMPARE(installed.manualIndex(), QFileInfo(index).absoluteFilePath());
        QVERIFY(programIcon(usr.filePath("bin")).availableSizes().contains(QSize(48, 48)));
        QVERIFY(programIcon(root.path()).isNull());  // run from elsewhere: no icon
    }

private:
    void build() {
        QVERIFY(fixture.open(true));
        locale = FakeNumericLocale();  // its check at start is the start-up test's; here only the restoring
        guard = std::make_unique<DecimalSymbolGuard>(locale, fixture.dialogs);
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

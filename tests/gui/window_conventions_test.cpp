// What users expect of a desktop window: the standard shortcuts, the file
// named on the command line opened at start with its name in the title, a
// message box that shows its whole title, and a box emptied by Remove.

#include <QAction>
#include <QComboBox>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include "gui/problem_file_commands.h"
#include "gui/qt_user_dialogs.h"
#include "gui/start_arguments.h"
#include "program_version.h"
#include "support/main_window_fixture.h"

using namespace zl::gui;
using namespace zl::gui::testing;

static const QString kCircleAndLine = QStringLiteral(ZEROLITH_SOURCE_DIR "/examples/circle_and_line.zerolith");

class WindowConventionsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(fixture.open(true)); }

    void cleanup() { fixture.window.reset(); }

    // Each shortcut acts only while its menu item is available (Save, Save As and
    // Print once the names are set), and the items keep their captions.
    void standard_shortcuts_reach_the_menu_commands() {
        const struct {
            QKeySequence keys;
            const char *item;
            bool needsNames;
        } shortcuts[] = {{Qt::CTRL | Qt::Key_O, "mnuOpen", false},
                         {Qt::Key_F1, "mnuHelp", false},
                         {Qt::CTRL | Qt::Key_S, "mnuSave", true},
                         {Qt::CTRL | Qt::SHIFT | Qt::Key_S, "mnuSaveAs", true},
                         {Qt::CTRL | Qt::Key_P, "mnuPrint", true}};
        QList<std::shared_ptr<QSignalSpy>> spies;
        for (const auto &s : shortcuts) {
            spies << std::make_shared<QSignalSpy>(fixture.control<QAction>(s.item), &QAction::triggered);
            QTest::keySequence(fixture.window.get(), s.keys);
            QVERIFY2(spies.back()->count() == (s.needsNames ? 0 : 1), s.item);
        }
        fixture.enterProblem(QStringLiteral("2"), QStringLiteral("x,y"));
        for (const auto &s : shortcuts)
            if (s.needsNames) QTest::keySequence(fixture.window.get(), s.keys);
        for (const auto &spy : spies) QCOMPARE(spy->count(), 1);
        QCOMPARE(fixture.control<QAction>("mnuSaveAs")->text(), QStringLiteral("Save As"));
    }

    // The file named at start goes through the function File > Open calls.
    void file_given_at_start_names_the_window_and_keeps_its_solutions_until_an_edit() {
        QCOMPARE(fixture.window->windowTitle(), QStringLiteral("Zerolith"));
        fixture.window->findChild<ProblemFileCommands *>()->openFile(kCircleAndLine);
        QCOMPARE(fixture.window->windowTitle(), QStringLiteral("circle_and_line.zerolith \u2014 Zerolith"));
        QCOMPARE(fixture.countText(), QStringLiteral("1 solutions"));
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
        QCOMPARE(box->currentText(), QStringLiteral("k=2"));
        clickThroughWindow(fixture.control("cmdRemCons"));
        QCOMPARE(box->count(), 0);
        QCOMPARE(box->currentText(), QString());
        QVERIFY(fixture.listLines().isEmpty());

        QTemporaryDir folder;
        fixture.dialogs.saveFileAnswers.enqueue(folder.filePath("copy.zerolith"));
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
        QtUserDialogs().showMessage(fixture.window.get(), QStringLiteral("Incompatible file"));
        QVERIFY2(width >= 2 * titleWidth + 150, qPrintable(QStringLiteral("%1 for %2").arg(width).arg(titleWidth)));
    }

private:
    MainWindowFixture fixture;
};

QTEST_MAIN(WindowConventionsTest)
#include "window_conventions_test.moc"

// What users expect of a desktop window: the standard shortcuts, the file's
// name in the title, a message box that shows its whole title, the file
// named on the command line opened at start, and a box emptied by Remove.

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

namespace {

const QString kCircleAndLine = QStringLiteral(ZEROLITH_SOURCE_DIR "/examples/circle_and_line.zerolith");

using Request = void (MainWindow::*)();

}  // namespace

class WindowConventionsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { fixture.window.reset(); }

    void standard_shortcuts_reach_the_menu_commands_data();
    void standard_shortcuts_reach_the_menu_commands();
    void title_names_the_problem_file();
    void file_given_at_start_opens_and_keeps_its_solutions();
    void unusable_file_given_at_start_gets_the_usual_message();
    void start_arguments_data();
    void start_arguments();
    void message_box_is_wide_enough_for_its_title();
    void remove_empties_the_constants_box();

private:
    MainWindowFixture fixture;
    ProblemFileCommands *files = nullptr;
};

void WindowConventionsTest::init() {
    QVERIFY(fixture.open());
    files = new ProblemFileCommands(*fixture.window, fixture.dialogs);
}

void WindowConventionsTest::standard_shortcuts_reach_the_menu_commands_data() {
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("needsNames");  // unavailable (disabled or hidden) until the names are set
    QTest::newRow("Ctrl+O opens") << QKeySequence(Qt::CTRL | Qt::Key_O) << "mnuOpen" << false;
    QTest::newRow("Ctrl+S saves") << QKeySequence(Qt::CTRL | Qt::Key_S) << "mnuSave" << true;
    QTest::newRow("Ctrl+Shift+S saves as") << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S) << "mnuSaveAs" << true;
    QTest::newRow("Ctrl+P prints") << QKeySequence(Qt::CTRL | Qt::Key_P) << "mnuPrint" << true;
    QTest::newRow("F1 helps") << QKeySequence(Qt::Key_F1) << "mnuHelp" << false;
}

void WindowConventionsTest::standard_shortcuts_reach_the_menu_commands() {
    QFETCH(QKeySequence, keys);
    QFETCH(QString, item);
    QFETCH(bool, needsNames);
    auto *action = fixture.window->findChild<QAction *>(item);
    const QString caption = action->text();
    QSignalSpy triggered(action, &QAction::triggered);
    const auto press = [&] { QTest::keySequence(fixture.window.get(), keys); };

    press();
    QCOMPARE(triggered.count(), needsNames ? 0 : 1);
    if (!needsNames) return;
    fixture.enterProblem(QStringLiteral("2"), QStringLiteral("x,y"));
    press();
    QCOMPARE(triggered.count(), 1);
    QCOMPARE(action->text(), caption);
}

void WindowConventionsTest::title_names_the_problem_file() {
    QCOMPARE(fixture.window->windowTitle(), QStringLiteral("Zerolith"));
    fixture.dialogs.openFileAnswers.enqueue(kCircleAndLine);
    fixture.control<QAction>("mnuOpen")->trigger();
    QCOMPARE(fixture.window->windowTitle(), QStringLiteral("circle_and_line.zerolith \u2014 Zerolith"));

    QTemporaryDir folder;
    fixture.dialogs.saveFileAnswers.enqueue(folder.filePath("copy.zerolith"));
    fixture.control<QAction>("mnuSaveAs")->trigger();
    QCOMPARE(fixture.window->windowTitle(), QStringLiteral("copy.zerolith \u2014 Zerolith"));
    fixture.control<QAction>("mnuSaveAs")->trigger();  // cancelled: the next Save asks again
    QCOMPARE(fixture.window->windowTitle(), QStringLiteral("Zerolith"));
}

void WindowConventionsTest::file_given_at_start_opens_and_keeps_its_solutions() {
    files->openFile(kCircleAndLine);
    QCOMPARE(fixture.countText(), QStringLiteral("1 solutions"));
    QCOMPARE(fixture.window->windowTitle(), QStringLiteral("circle_and_line.zerolith \u2014 Zerolith"));
    // The order field that had the focus is disabled by now; the error bound
    // took it. Moving on without an edit keeps what the file listed.
    QCOMPARE(focusedName(), QStringLiteral("txtError"));
    clickThroughWindow(fixture.control("txtMaxcy"));
    QCOMPARE(focusedName(), QStringLiteral("txtMaxcy"));
    QCOMPARE(fixture.countText(), QStringLiteral("1 solutions"));
    QCOMPARE(fixture.listLines().size(), 3);
}

void WindowConventionsTest::unusable_file_given_at_start_gets_the_usual_message() {
    QTemporaryDir folder;
    QFile other(folder.filePath("notes.zerolith"));
    QVERIFY(other.open(QIODevice::WriteOnly) && other.write("Notes\r\n") > 0);
    other.close();
    files->openFile(other.fileName());
    files->openFile(folder.filePath("missing.zerolith"));
    const auto messages = fixture.dialogs.callsOf(FakeUserDialogs::Kind::Message);
    QCOMPARE(messages.size(), 2);
    QCOMPARE(messages[0].text, QStringLiteral("Incompatible file"));
    QVERIFY2(messages[1].text.contains(QLatin1String("missing.zerolith")), qPrintable(messages[1].text));
    QVERIFY(!fixture.window->problem().record.hasProblem());
    QVERIFY(fixture.control<QAction>("mnuOpen")->isEnabled());
    QCOMPARE(fixture.window->windowTitle(), QStringLiteral("Zerolith"));
}

void WindowConventionsTest::start_arguments_data() {
    using Action = StartArguments::Action;
    const QString version = QStringLiteral("zerolith %1\n").arg(QString::fromUtf8(zl::kProgramVersion.data()));
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing") << QStringList() << int(Action::OpenWindow) << ""
                             << "";
    QTest::newRow("a file") << QStringList{"a.zerolith"} << int(Action::OpenWindow) << "a.zerolith"
                            << "";
    QTest::newRow("--version") << QStringList{"a.zerolith", "--version"} << int(Action::PrintVersion) << "" << version;
    QTest::newRow("file after --") << QStringList{"--", "-a.zerolith"} << int(Action::OpenWindow) << "-a.zerolith"
                                   << "";
    QTest::newRow("unknown option") << QStringList{"--plot"} << int(Action::Refuse) << ""
                                    << "zerolith: unknown option '--plot' (try --help)\n";
    QTest::newRow("two files") << QStringList{"a", "b"} << int(Action::Refuse) << ""
                               << "zerolith: one problem file at a time (try --help)\n";
}

void WindowConventionsTest::start_arguments() {
    QFETCH(QStringList, arguments);
    QFETCH(int, action);
    QFETCH(QString, file);
    QFETCH(QString, text);
    const StartArguments start = readStartArguments(arguments);
    QCOMPARE(int(start.action), action);
    QCOMPARE(start.file, file);
    QCOMPARE(start.text, text);
    QVERIFY(readStartArguments({"--help"}).text.startsWith(QLatin1String("Usage: zerolith [FILE]")));
}

// The title bar needs room for the title in its own bolder face beside the
// window's icon and buttons; a box as narrow as its text showed "Ze…h".
void WindowConventionsTest::message_box_is_wide_enough_for_its_title() {
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

void WindowConventionsTest::remove_empties_the_constants_box() {
    fixture.dialogs.openFileAnswers.enqueue(kCircleAndLine);
    fixture.control<QAction>("mnuOpen")->trigger();
    auto *box = fixture.control<QComboBox>("cboConstants");
    clickThroughWindow(box->lineEdit());
    pressKey(Qt::Key_Down);  // picks k=2
    QCOMPARE(box->currentText(), QStringLiteral("k=2"));
    clickThroughWindow(fixture.control("cmdRemCons"));
    QCOMPARE(box->count(), 0);
    QCOMPARE(box->currentText(), QString());
    QVERIFY(fixture.listLines().isEmpty());  // solutions found with k=2 no longer hold
}

QTEST_MAIN(WindowConventionsTest)
#include "window_conventions_test.moc"

// Open, Save and Save As chosen from the File menu with the mouse; the fake
// dialogs answer the file dialogs with paths in a temporary folder.

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>

#include "support/main_window_fixture.h"

using namespace zl::gui;
using namespace zl::gui::testing;
using Kind = FakeUserDialogs::Kind;

namespace {

/// Three stored solutions, a name with a leading blank, a constant the
/// equations use and an error bound other than the window's own; written as
/// the program writes it.
const QByteArray kThreeSolutions = "Rootex\r\n"
                                   "2,3,0.02,10\r\n"
                                   "\"x\",-2,2,8,\"x^2=1\"\r\n"
                                   "\" y\",-2.5,2,8,\"y=k*x\"\r\n"
                                   " 1 \r\nk=2\r\n"
                                   " 1 \r\n 2 \r\n-1 \r\n-2 \r\n 0.5 \r\n 1E-06 \r\n";

QByteArray contentOf(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

class ProblemFileCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
        QVERIFY(fixture.open(true));
    }

    void cleanup() { fixture.window.reset(); }

    // The order field holds the focus until it has a usable order, and leaving it
    // with one disables Open; the menu stays usable with a refused text in the field.
    void opened_problem_is_fixed_and_saved_back_to_its_file() {
        QVERIFY(writeFile(pathIn("three.zerolith"), kThreeSolutions));
        typeOver(fixture.control("txtOrder"), QStringLiteral("abc"));
        openFile(pathIn("three.zerolith"));
        QCOMPARE(fixture.dialogs.count(Kind::Message) + fixture.dialogs.count(Kind::ScriptError), 0);
        QCOMPARE(fixture.countText(), QStringLiteral("3 solutions"));
        // Save As writes what Open put in the fields and the constants box: the same bytes.
        fixture.dialogs.saveFileAnswers.enqueue(pathIn("copy.zerolith"));
        QVERIFY(choose("mnuSaveAs"));
        QCOMPARE(contentOf(pathIn("copy.zerolith")), kThreeSolutions);

        QCOMPARE(fixture.control<QLineEdit>("txtOrder")->text(), QStringLiteral("2"));
        QVERIFY(fixture.listLines().at(1).endsWith(QStringLiteral("EQUATION #2=0")));  // k registered before listing
        QVERIFY(!fixture.control("txtOrder")->isEnabled() && !fixture.control("txtVarNams")->isEnabled());

        QVERIFY(!choose("mnuOpen"));  // once per run only

        // Loading is over: an edit makes the solutions stale again.
        typeOver(fixture.element("txtEquation", 0), QStringLiteral("x=1"));
        QCOMPARE(fixture.countText(), QString());
        typeOver(fixture.control<QComboBox>("cboConstants")->lineEdit(), QStringLiteral("c=5"));
        pressKey(Qt::Key_Return);

        // Save writes to the name Save As took, with every constant of the list.
        QVERIFY(choose("mnuSave"));  // without asking: a cancelled dialog would write nothing
        const QByteArray saved = contentOf(pathIn("copy.zerolith"));  // the layout is the writer's own tests'
        QVERIFY2(saved.startsWith("Rootex\r\n2,0,") && saved.contains("\"x=1\"") && saved.endsWith("k=2\r\nc=5\r\n"),
                 saved.constData());
    }

    void unusable_file_leaves_the_window_untouched_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("file");  // written only under a .zerolith name
        QTest::addColumn<QString>("message");  // how the message starts; "=" for the whole of it
        const QByteArray longEquation =
            "Rootex\r\n1,0,0.01,8\r\n\"x\",0,1,2,\"" + QByteArray(32768, 'x') + "\"\r\n 0 \r\n";
        QTest::newRow("lower-case magic")
            << "a.zerolith" << QByteArray("rootex\r\n1,0,0.01,8\r\n") << "=Incompatible file";
        QTest::newRow("text for a number") << "a.zerolith" << QByteArray("Rootex\r\n1,0,abc,8\r\n")
                                           << "Cannot open %1:\nLine 2: the error bound must be a number";
        QTest::newRow("equation longer than its field")
            << "a.zerolith" << longEquation << "Cannot open %1:\nLine 3: equation 1 has more than the 32767 characters";
        QTest::newRow("missing file") << "missing" << QByteArray() << "Cannot open %1: the file does not exist";
        QTest::newRow("folder") << "." << QByteArray() << "Cannot open %1: not a regular file";
    }

    void unusable_file_leaves_the_window_untouched() {
        QFETCH(QString, name);
        QFETCH(QByteArray, file);
        QFETCH(QString, message);
        const QString path = QDir::cleanPath(folder->filePath(name));
        if (name.endsWith(QLatin1String(".zerolith"))) QVERIFY(writeFile(path, file));
        typeOver(fixture.control("txtOrder"), QStringLiteral("abc"));  // refused: keeps the focus
        const QStringList before = windowState();

        openFile(path);
        const QList<FakeUserDialogs::Call> shown = fixture.dialogs.callsOf(Kind::Message);
        QCOMPARE(shown.size(), 1);
        if (message.startsWith('='))
            QCOMPARE(shown.first().text, message.mid(1));
        else
            QVERIFY2(shown.first().text.startsWith(message.arg(path)), qPrintable(shown.first().text));
        QCOMPARE(windowState(), before);

        // Nothing was left half done: a good file opens now.
        openFile(QStringLiteral(ZEROLITH_SOURCE_DIR "/examples/circle_and_line.zerolith"));
        QCOMPARE(fixture.countText(), QStringLiteral("1 solutions"));
        QCOMPARE(fixture.constantItems(), QStringList({"k=2"}));
    }

    void save_asks_for_a_name_until_it_has_one_and_a_failed_save_keeps_the_former_file() {
        fixture.enterProblem(QStringLiteral("1"), QStringLiteral("x"));
        FakeUserDialogs &dialogs = fixture.dialogs;
        QVERIFY(choose("mnuSave"));  // cancelled: nothing written (the folder is compared below)
        dialogs.saveFileAnswers.enqueue(pathIn("one.zerolith"));
        QVERIFY(choose("mnuSave"));
        QCOMPARE(contentOf(pathIn("one.zerolith")),
                 QByteArray("Rootex\r\n1,0,0.01,8\r\n\"x\",-5,5,4,\"3*x^2*sin(x)=pi\"\r\n 0 \r\n"));

        fixture.enter(fixture.element("txtUL", 0), QStringLiteral("7"));
        QVERIFY(choose("mnuSave"));  // the same file again, without asking
        QCOMPARE(dialogs.count(Kind::SaveFile), 2);
        QVERIFY(contentOf(pathIn("one.zerolith")).contains("\"x\",-5,7,4,"));

        QVERIFY(choose("mnuSaveAs"));  // always asks; cancelled: writes nothing
        QCOMPARE(dialogs.count(Kind::SaveFile), 3);
        QCOMPARE(filesInFolder(), QStringList({"one.zerolith"}));
        dialogs.saveFileAnswers.enqueue(pathIn("two.zerolith"));
        QVERIFY(choose("mnuSave"));  // the cancel took the name: Save asks again (or writes no two.zerolith)
        const QByteArray former = contentOf(pathIn("two.zerolith"));
        QCOMPARE(former, contentOf(pathIn("one.zerolith")));

        // Failed saves say so and keep the former file.
        const QString unreachable = pathIn("no such folder/x.zerolith");
        dialogs.saveFileAnswers.enqueue(unreachable);
        QVERIFY(choose("mnuSaveAs"));
        // An equation that a file cannot carry is refused before the file is touched.
        typeOver(fixture.element("txtEquation", 0), QStringLiteral("x=\"a\""));
        dialogs.saveFileAnswers.enqueue(pathIn("two.zerolith"));
        QVERIFY(choose("mnuSaveAs"));
        const QList<FakeUserDialogs::Call> messages = dialogs.callsOf(Kind::Message);  // none before these two
        QCOMPARE(messages.size(), 2);
        QVERIFY2(messages[0].text.startsWith(QStringLiteral("Cannot save %1: ").arg(unreachable)),
                 qPrintable(messages[0].text));
        QVERIFY2(messages[1].text.startsWith(
                     QStringLiteral("Cannot save %1:\nEquation 1 holds a double quote").arg(pathIn("two.zerolith"))),
                 qPrintable(messages[1].text));
        QCOMPARE(contentOf(pathIn("two.zerolith")), former);
        QCOMPARE(filesInFolder(), QStringList({"one.zerolith", "two.zerolith"}));  // no temporary file left behind
    }

private:
    /// File > `actionName` with the mouse, as the user chooses it. False when the
    /// item did not act (disabled); the menu is closed again either way.
    bool choose(const char *actionName) {
        auto *file = fixture.control<QMenu>("mnuFile");
        auto *item = fixture.control<QAction>(actionName);
        QMenuBar *bar = fixture.window->menuBar();
        clickThroughWindow(bar, bar->actionGeometry(file->menuAction()).center());
        if (!QTest::qWaitFor([file] { return file->isVisible(); })) return false;
        QSignalSpy triggered(item, &QAction::triggered);
        clickThroughWindow(file, file->actionGeometry(item).center());
        if (file->isVisible()) QTest::keyClick(file, Qt::Key_Escape);
        return triggered.count() == 1;
    }
    void openFile(const QString &path) {
        fixture.dialogs.openFileAnswers.enqueue(path);
        QVERIFY(choose("mnuOpen"));
    }

    QString pathIn(const char *name) const { return folder->filePath(QLatin1String(name)); }
    QStringList filesInFolder() const {
        return QDir(folder->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    /// Everything Open could change, one line per item, for comparisons.
    QStringList windowState() const {
        QStringList state;
        for (QObject *child : fixture.window->findChildren<QObject *>()) {  // widgets and menu items
            if (child->objectName().isEmpty()) continue;
            state << QStringLiteral("%1[%2] enabled=%3 visible=%4 text=%5")
                         .arg(child->objectName(), child->property("index").toString(),
                              child->property("enabled").toString(), child->property("visible").toString(),
                              child->property("text").toString());
        }
        const EquationGridModel &grid = fixture.window->equationGrid();
        for (int row = 0; row < grid.rowCount(); ++row) state << grid.equationText(row);
        const zl::ProblemState &problem = fixture.window->problem();
        state << fixture.constantItems() << fixture.listLines() << focusedName()
              << QString::number(problem.record.order) << QString::number(problem.store.solutionCount)
              << QString::number(problem.record.loadingFile) << QString::fromStdString(problem.record.fileName);
        return state;
    }

    std::unique_ptr<QTemporaryDir> folder;
    MainWindowFixture fixture;
};

QTEST_MAIN(ProblemFileCommandsTest)
#include "problem_file_commands_test.moc"

// Start-up: the decimal-symbol guard under a real comma locale, answered
// through the real message box, the splash's time, and the application that
// answers memory running out inside a command with error 7 and goes on.

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <clocale>
#include <new>

#include "gui/about_window.h"
#include "gui/decimal_symbol_guard.h"
#include "gui/guarded_application.h"
#include "gui/qt_user_dialogs.h"
#include "gui/splash_sequence.h"
#include "gui/start_up.h"
#include "support/fake_numeric_locale.h"
#include "support/fake_user_dialogs.h"
#include "support/gui_input.h"

using namespace zl::gui;

namespace {

const QString kWarning = "Proper operation of this application requires the use of the DECIMAL POINT.\n"
                         "Your system is currently using the DECIMAL COMMA.\n\n"
                         "Do you wish to temporarily change this system setting to decimal point?\n"
                         "(Upon exiting, this application will restore your setting.)\n"
                         "(See HELP FILE or visit https://zerolith.example.org for instructions on how to change "
                         "MANUALLY)\n\n"
                         "Press YES to change.";

QString libraryDecimalPoint() { return QString::fromLatin1(std::localeconv()->decimal_point); }

bool anyWindowShown() { return std::ranges::any_of(QApplication::topLevelWidgets(), &QWidget::isVisible); }

// Clicks `answer` (or presses Escape) in the next modal message box once it
// is shown, noting what the box said.
void answerNextBox(QMessageBox::StandardButton answer, QString *text) {
    QTimer::singleShot(20, [=] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) return answerNextBox(answer, text);
        *text = box->windowTitle() + '|' + QString::number(box->icon()) + '|' + box->text();
        if (answer == QMessageBox::Escape) return QTest::keyClick(box->windowHandle(), Qt::Key_Escape);
        zl::gui::testing::clickThroughWindow(box->button(answer));
    });
}

}  // namespace

class StartUpTest : public QObject {
    Q_OBJECT
private slots:
    // A German numeric locale built for this test, so that none needs installing.
    void initTestCase() {
        QProcess localedef;
        localedef.start("localedef", {"-i", "de_DE", "-f", "UTF-8", localeDir.filePath("de_DE.UTF-8")});
        haveCommaLocale = localedef.waitForFinished(60000) && localedef.exitStatus() == QProcess::NormalExit &&
                          QFile::exists(localeDir.filePath("de_DE.UTF-8"));
        qputenv("LOCPATH", localeDir.path().toLocal8Bit());
        qunsetenv("LC_ALL");
        qputenv("LC_NUMERIC", "de_DE.UTF-8");
    }

    void cleanupTestCase() { std::setlocale(LC_NUMERIC, "C"); }
    void comma_locale_through_the_real_warning_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("goesOn");
        QTest::newRow("yes") << int(QMessageBox::Yes) << true;
        QTest::newRow("no") << int(QMessageBox::No) << false;
        QTest::newRow("cancel") << int(QMessageBox::Cancel) << false;
        QTest::newRow("escape closes as cancel") << int(QMessageBox::Escape) << false;
    }

    void comma_locale_through_the_real_warning() {
        QFETCH(int, answer);
        QFETCH(bool, goesOn);
        if (!haveCommaLocale) QSKIP("localedef could not build de_DE.UTF-8");
        ProcessNumericLocale locale;
        QCOMPARE(libraryDecimalPoint(), QStringLiteral(","));
        QtUserDialogs dialogs;
        DecimalSymbolGuard guard(locale, dialogs);
        QString boxText;  // stays empty unless the box was shown
        answerNextBox(QMessageBox::StandardButton(answer), &boxText);
        QStringList steps;

        const bool started = startUp(
            guard, [&] { steps << "splash"; }, [&] { steps << "main"; });

        QCOMPARE(boxText, "Decimal Comma Warning!|" + QString::number(QMessageBox::Critical) + '|' + kWarning);
        QCOMPARE(started, goesOn);
        QCOMPARE(steps, (goesOn ? QStringList{"splash", "main"} : QStringList()));
        QTRY_VERIFY(!anyWindowShown());  // no window besides the box opened
        QCOMPARE(libraryDecimalPoint(), goesOn ? QStringLiteral(".") : QStringLiteral(","));
        if (goesOn) QCOMPARE(QLocale().decimalPoint(), QStringLiteral("."));
        guard.RestoreDecimalSymbol();
        QCOMPARE(libraryDecimalPoint(), QStringLiteral(","));
    }

    void any_symbol_but_the_point_is_questioned() {
        // The point, the Arabic decimal separator, a point followed by a blank.
        for (const QString symbol : {".", "\u066B", ". "}) {
            const int asked = symbol == "." ? 0 : 1;
            FakeNumericLocale locale(symbol);
            FakeUserDialogs dialogs;
            dialogs.decimalCommaAnswers.enqueue(QMessageBox::Yes);
            DecimalSymbolGuard guard(locale, dialogs);
            QVERIFY(guard.CheckDecimalSymbol());
            QCOMPARE(dialogs.count(FakeUserDialogs::Kind::DecimalComma), asked);
            QCOMPARE(locale.switches, asked);
            guard.RestoreDecimalSymbol();  // at exit, also when nothing was switched
            QCOMPARE(locale.restores, 1);
        }
    }

    void splash_stays_more_than_two_and_at_most_three_seconds() {
        bool shownAfterClick = false;  // a click halfway must not close it
        QTimer::singleShot(600, [&] {
            for (QWidget *widget : QApplication::topLevelWidgets())
                if (auto *splash = qobject_cast<AboutWindow *>(widget); splash && splash->isVisible()) {
                    QTest::mouseClick(splash->windowHandle(), Qt::LeftButton, {}, QPoint(20, 20));
                    QTimer::singleShot(200, [&, splash] { shownAfterClick = splash->isVisible(); });
                }
        });
        QElapsedTimer elapsed;
        elapsed.start();

        SplashSequence::run();

        const qint64 took = elapsed.elapsed();
        QVERIFY2(took > 2000 && took <= 3000 + 100, qPrintable(QString::number(took)));  // + painting
        QVERIFY(shownAfterClick);
        QTRY_VERIFY(!anyWindowShown());
    }

    void running_out_of_memory_stops_the_command_and_the_program_goes_on() {
        struct GreedyField : QLineEdit {  // its handling of M needs more memory than there is
            void keyPressEvent(QKeyEvent *event) override {
                if (event->key() == Qt::Key_M) throw std::bad_alloc();
                QLineEdit::keyPressEvent(event);
            }
        } field;
        FakeUserDialogs dialogs;
        static_cast<GuardedApplication *>(qApp)->setDialogs(&dialogs);
        QVERIFY(zl::gui::testing::showActive(field));
        QTest::keyClicks(&field, QStringLiteral("abMcd"));
        QCOMPARE(field.text(), QStringLiteral("abcd"));
        QCOMPARE(dialogs.count(FakeUserDialogs::Kind::Message), 1);
        QVERIFY(dialogs.calls().front().text.startsWith(QStringLiteral("Error 7: Out of memory")));
        static_cast<GuardedApplication *>(qApp)->setDialogs(nullptr);
    }

private:
    QTemporaryDir localeDir;
    bool haveCommaLocale = false;
};

int main(int argc, char *argv[]) {
    GuardedApplication application(argc, argv);
    StartUpTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "start_up_test.moc"

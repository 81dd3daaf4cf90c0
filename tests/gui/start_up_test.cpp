// Start-up: the decimal-symbol guard (with a stand-in locale and with a real
// comma locale answered through the real message box) and the splash's time.

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <clocale>
#include <functional>

#include "gui/about_window.h"
#include "gui/decimal_symbol_guard.h"
#include "gui/numeric_locale.h"
#include "gui/qt_user_dialogs.h"
#include "gui/splash_sequence.h"
#include "gui/start_up.h"
#include "support/fake_user_dialogs.h"

using namespace zl::gui;

namespace {

const QStringList kWarningLines{
    "Proper operation of this application requires the use of the DECIMAL POINT.",
    "Your system is currently using the DECIMAL COMMA.",
    "",
    "Do you wish to temporarily change this system setting to decimal point?",
    "(Upon exiting, this application will restore your setting.)",
    "(See HELP FILE or visit https://zerolith.example.org for instructions on how to change "
    "MANUALLY)",
    "",
    "Press YES to change.",
};

class FakeNumericLocale : public NumericLocale {
public:
    explicit FakeNumericLocale(QString symbol) : symbol(std::move(symbol)) {}
    QString decimalSymbol() const override { return symbol; }
    void usePoint() override { ++pointSwitches; }
    void restore() override { ++restores; }

    QString symbol;
    int pointSwitches = 0;
    int restores = 0;
};

// What start-up did, step by step.
struct StartUpRecord {
    QStringList steps;
    bool result = false;
};

StartUpRecord runStartUp(DecimalSymbolGuard &guard)
{
    StartUpRecord record;
    record.result = startUp(
        guard, [&] { record.steps << "splash"; }, [&] { record.steps << "main window"; });
    return record;
}

QString libraryDecimalPoint() { return QString::fromLatin1(std::localeconv()->decimal_point); }

QList<QWidget *> visibleTopLevels()
{
    QList<QWidget *> shown;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->isVisible())
            shown << widget;
    return shown;
}

// Answers the next message box with a real click on one of its buttons (or
// Escape), and remembers what the box looked like.
class MessageBoxAnswerer : public QObject {
public:
    explicit MessageBoxAnswerer(QMessageBox::StandardButton answer) : answer(answer)
    {
        connect(&poll, &QTimer::timeout, this, [this] { answerWhenShown(); });
        poll.start(20);
    }

    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QMessageBox::StandardButton> buttons;
    bool answered = false;

private:
    void answerWhenShown()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible() || box->windowHandle() == nullptr)
            return;
        poll.stop();
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        for (QAbstractButton *button : box->buttons())
            buttons << box->standardButton(button);
        answered = true;
        if (answer == QMessageBox::Escape) {
            QTest::keyClick(box->windowHandle(), Qt::Key_Escape);
            return;
        }
        QAbstractButton *target = box->button(answer);
        QTest::mouseClick(box->windowHandle(), Qt::LeftButton, {},
                          target->mapTo(box, target->rect().center()));
    }

    QMessageBox::StandardButton answer;
    QTimer poll;
};

} // namespace

class StartUpTest : public QObject {
    Q_OBJECT
private slots:
    void guard_decides_whether_start_up_goes_on_data();
    void guard_decides_whether_start_up_goes_on();
    void comma_locale_through_the_real_warning_data();
    void comma_locale_through_the_real_warning();
    void splash_stays_more_than_two_and_at_most_three_seconds();
    void splash_wait_ends_at_third_second_boundary_data();
    void splash_wait_ends_at_third_second_boundary();
    void cleanupTestCase();

private:
    bool makeCommaLocale();
    QTemporaryDir localeDir;
    bool commaLocaleReady = false;
};

void StartUpTest::guard_decides_whether_start_up_goes_on_data()
{
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("goesOn");
    QTest::addColumn<bool>("warned");
    QTest::newRow("point: no question") << "." << int(QMessageBox::No) << true << false;
    QTest::newRow("comma, yes") << "," << int(QMessageBox::Yes) << true << true;
    QTest::newRow("comma, no") << "," << int(QMessageBox::No) << false << true;
    QTest::newRow("comma, cancel") << "," << int(QMessageBox::Cancel) << false << true;
    QTest::newRow("arabic separator, yes") << "\u066B" << int(QMessageBox::Yes) << true << true;
    QTest::newRow("empty symbol, no") << "" << int(QMessageBox::No) << false << true;
    QTest::newRow("point with blank, yes") << ". " << int(QMessageBox::Yes) << true << true;
}

void StartUpTest::guard_decides_whether_start_up_goes_on()
{
    QFETCH(QString, symbol);
    QFETCH(int, answer);
    QFETCH(bool, goesOn);
    QFETCH(bool, warned);
    FakeNumericLocale locale(symbol);
    FakeUserDialogs dialogs;
    dialogs.decimalCommaAnswers.enqueue(QMessageBox::StandardButton(answer));
    DecimalSymbolGuard guard(locale, dialogs);

    const StartUpRecord record = runStartUp(guard);

    QCOMPARE(record.result, goesOn);
    const QStringList expectedSteps = goesOn ? QStringList{"splash", "main window"} : QStringList{};
    QCOMPARE(record.steps, expectedSteps);
    QCOMPARE(dialogs.count(FakeUserDialogs::Kind::DecimalComma), warned ? 1 : 0);
    if (warned) {
        // Whatever the symbol, the warning speaks of the comma.
        QCOMPARE(dialogs.calls().first().text.split('\n'), kWarningLines);
    }
    QCOMPARE(locale.pointSwitches, warned && goesOn ? 1 : 0);
    QCOMPARE(guard.savedDecimalSymbol(), symbol);
    QCOMPARE(locale.restores, 0);
    guard.RestoreDecimalSymbol();  // at shutdown, also when nothing was switched
    QCOMPARE(locale.restores, 1);
}

bool StartUpTest::makeCommaLocale()
{
    if (commaLocaleReady)
        return true;
    if (!localeDir.isValid())
        return false;
    QProcess localedef;
    localedef.start("localedef", {"-i", "de_DE", "-f", "UTF-8",
                                  localeDir.filePath("de_DE.UTF-8")});
    if (!localedef.waitForFinished(60000) || localedef.exitStatus() != QProcess::NormalExit)
        return false;
    qputenv("LOCPATH", localeDir.path().toLocal8Bit());
    qunsetenv("LC_ALL");
    qputenv("LC_NUMERIC", "de_DE.UTF-8");
    commaLocaleReady = true;
    return true;
}

void StartUpTest::comma_locale_through_the_real_warning_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("goesOn");
    QTest::newRow("yes") << int(QMessageBox::Yes) << true;
    QTest::newRow("no") << int(QMessageBox::No) << false;
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << false;
    QTest::newRow("escape closes as cancel") << int(QMessageBox::Escape) << false;
}

void StartUpTest::comma_locale_through_the_real_warning()
{
    QFETCH(int, answer);
    QFETCH(bool, goesOn);
    if (!makeCommaLocale())
        QSKIP("localedef could not build de_DE.UTF-8");
    ProcessNumericLocale locale;
    QCOMPARE(locale.decimalSymbol(), QStringLiteral(","));
    QCOMPARE(libraryDecimalPoint(), QStringLiteral(","));
    QtUserDialogs dialogs;
    DecimalSymbolGuard guard(locale, dialogs);
    MessageBoxAnswerer answerer{QMessageBox::StandardButton(answer)};

    const StartUpRecord record = runStartUp(guard);

    QVERIFY(answerer.answered);
    QCOMPARE(answerer.title, QStringLiteral("Decimal Comma Warning!"));
    QCOMPARE(answerer.icon, QMessageBox::Critical);
    QCOMPARE(answerer.text.split('\n'), kWarningLines);
    QCOMPARE(answerer.buttons.size(), 3);
    for (auto button : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
        QVERIFY(answerer.buttons.contains(button));
    QCOMPARE(record.result, goesOn);
    QCOMPARE(record.steps.size(), goesOn ? 2 : 0);
    QTRY_VERIFY(visibleTopLevels().isEmpty());  // no window besides the box ever opened
    QCOMPARE(libraryDecimalPoint(), goesOn ? QStringLiteral(".") : QStringLiteral(","));
    if (goesOn)
        QCOMPARE(QLocale().decimalPoint(), QStringLiteral("."));

    guard.RestoreDecimalSymbol();
    QCOMPARE(libraryDecimalPoint(), QStringLiteral(","));
    std::setlocale(LC_NUMERIC, "C");
}

void StartUpTest::splash_stays_more_than_two_and_at_most_three_seconds()
{
    // Halfway through, a click on the splash must not close it.
    bool shownAfterClick = false;
    QTimer::singleShot(600, [&] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *splash = qobject_cast<AboutWindow *>(widget);
            if (splash == nullptr || !splash->isVisible())
                continue;
            QTest::mouseClick(splash->windowHandle(), Qt::LeftButton, {}, QPoint(20, 20));
            QTimer::singleShot(200, [&shownAfterClick, splash] {
                shownAfterClick = splash->isVisible() && splash->role() == AboutWindow::Role::Splash;
            });
        }
    });
    QElapsedTimer elapsed;
    elapsed.start();

    SplashSequence::run();

    const qint64 took = elapsed.elapsed();
    QVERIFY2(took > 2000, qPrintable(QString::number(took)));
    QVERIFY2(took <= 3000 + 100, qPrintable(QString::number(took)));  // + painting the window
    QVERIFY(shownAfterClick);
    QTRY_VERIFY(visibleTopLevels().isEmpty());
}

void StartUpTest::splash_wait_ends_at_third_second_boundary_data()
{
    QTest::addColumn<qint64>("startMs");
    QTest::addColumn<qint64>("expectedWait");
    QTest::newRow("on a boundary") << qint64(1'700'000'000'000) << qint64(3000);
    QTest::newRow("just after") << qint64(1'700'000'000'001) << qint64(2999);
    QTest::newRow("just before the next") << qint64(1'700'000'000'999) << qint64(2001);
    QTest::newRow("before 1970") << qint64(-1) << qint64(2001);
}

void StartUpTest::splash_wait_ends_at_third_second_boundary()
{
    QFETCH(qint64, startMs);
    QFETCH(qint64, expectedWait);
    QCOMPARE(SplashSequence::waitFrom(startMs), expectedWait);
}

void StartUpTest::cleanupTestCase()
{
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
}

QTEST_MAIN(StartUpTest)
#include "start_up_test.moc"

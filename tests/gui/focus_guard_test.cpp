// A field that refuses to give up the focus: every way out, with the field
// invalid and valid, driven by real clicks and key presses.

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWindow>

#include <memory>

#include "gui/focus_guard.h"
#include "support/gui_input.h"

using zl::gui::FocusGuard;
using namespace zl::gui::testing;

namespace {

/// A small form: the guarded field "amount" accepts whole numbers only.
struct GuardedForm {
    QWidget window;
    QMenuBar *menuBar = new QMenuBar(&window);
    QAction *menuCommand = menuBar->addAction(QStringLiteral("Go"));
    QLineEdit *amount = new QLineEdit(&window);
    QLabel *nameLabel = new QLabel(QStringLiteral("&Name:"), &window);
    QLineEdit *other = new QLineEdit(&window);
    QLabel *plainLabel = new QLabel(QStringLiteral("just a caption"), &window);
    QPushButton *ok = new QPushButton(QStringLiteral("OK"), &window);
    QPushButton *apply = new QPushButton(QStringLiteral("&Apply"), &window);
    FocusGuard guard;
    int checks = 0;
    int leaves = 0;
    int okClicks = 0;
    int applyClicks = 0;
    int menuCommands = 0;

    GuardedForm()
    {
        amount->setObjectName(QStringLiteral("amount"));
        other->setObjectName(QStringLiteral("other"));
        ok->setObjectName(QStringLiteral("ok"));
        apply->setObjectName(QStringLiteral("apply"));
        nameLabel->setBuddy(other);
        auto *layout = new QVBoxLayout(&window);
        layout->setMenuBar(menuBar);
        for (QWidget *w : std::initializer_list<QWidget *>{amount, nameLabel, other, plainLabel, ok, apply})
            layout->addWidget(w);
        QWidget::setTabOrder(amount, other);
        QWidget::setTabOrder(other, ok);
        QWidget::setTabOrder(ok, apply);
        FocusGuard::exempt(menuBar);
        guard.guard(
            amount,
            [this] {
                ++checks;
                bool number = false;
                amount->text().toInt(&number);
                return number;
            },
            [this] { ++leaves; });
        QObject::connect(ok, &QPushButton::clicked, [this] { ++okClicks; });
        QObject::connect(apply, &QPushButton::clicked, [this] { ++applyClicks; });
        QObject::connect(menuCommand, &QAction::triggered, [this] { ++menuCommands; });
        window.resize(300, 260);
    }
};

enum class Gesture { ClickOk, ClickOther, Tab, Backtab, ApplyMnemonic, BuddyMnemonic, DirectPressOk, SetFocusOther };

} // namespace

Q_DECLARE_METATYPE(Gesture)

class FocusGuardTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        form = std::make_unique<GuardedForm>();
        form->window.show();
        QVERIFY(QTest::qWaitForWindowActive(&form->window));
        form->amount->setFocus();
        QCOMPARE(focusedName(), QStringLiteral("amount"));
    }
    void cleanup() { form.reset(); }

    void blocks_every_way_out_until_the_field_is_valid_data();
    void blocks_every_way_out_until_the_field_is_valid();
    void click_inside_the_invalid_field_still_moves_the_caret();
    void menus_stay_usable_while_the_field_is_invalid();
    void presses_that_would_not_move_the_focus_run_no_check();
    void one_refusal_per_gesture();
    void leave_action_may_guard_further_fields();
    void switching_to_another_window_is_no_leaving();

private:
    void perform(Gesture gesture);
    std::unique_ptr<GuardedForm> form;
};

void FocusGuardTest::perform(Gesture gesture)
{
    switch (gesture) {
    case Gesture::ClickOk: clickThroughWindow(form->ok); break;
    case Gesture::ClickOther: clickThroughWindow(form->other); break;
    case Gesture::Tab: pressTab(); break;
    case Gesture::Backtab: pressBacktab(); break;
    case Gesture::ApplyMnemonic: pressKey(Qt::Key_A, Qt::AltModifier); break;
    case Gesture::BuddyMnemonic: pressKey(Qt::Key_N, Qt::AltModifier); break;
    case Gesture::DirectPressOk: QTest::mouseClick(form->ok, Qt::LeftButton); break;
    case Gesture::SetFocusOther: form->other->setFocus(); break;
    }
    if (gesture == Gesture::ApplyMnemonic)
        QTest::qWait(250);  // a mnemonic clicks through a 100 ms timer
    else
        QCoreApplication::processEvents();
}

void FocusGuardTest::blocks_every_way_out_until_the_field_is_valid_data()
{
    QTest::addColumn<Gesture>("gesture");
    QTest::addColumn<QString>("focusAfterValid");
    QTest::addColumn<int>("okClicksAfterValid");
    QTest::addColumn<int>("applyClicksAfterValid");
    QTest::addColumn<int>("leavesAfterValid");
    QTest::addColumn<bool>("focusNeverMoves");  // refused before the application moves the focus

    QTest::newRow("click on a button") << Gesture::ClickOk << "ok" << 1 << 0 << 1 << true;
    QTest::newRow("click on another field") << Gesture::ClickOther << "other" << 0 << 0 << 1 << true;
    QTest::newRow("Tab") << Gesture::Tab << "other" << 0 << 0 << 1 << true;
    QTest::newRow("Shift+Tab wraps to the last button") << Gesture::Backtab << "apply" << 0 << 0 << 1 << true;
    // A button's mnemonic clicks it without taking the focus: nothing left.
    QTest::newRow("button mnemonic") << Gesture::ApplyMnemonic << "amount" << 0 << 1 << 0 << true;
    QTest::newRow("label buddy mnemonic") << Gesture::BuddyMnemonic << "other" << 0 << 0 << 1 << true;
    QTest::newRow("press sent to the button") << Gesture::DirectPressOk << "ok" << 1 << 0 << 1 << false;
    QTest::newRow("focus set by the program") << Gesture::SetFocusOther << "other" << 0 << 0 << 1 << false;
}

void FocusGuardTest::blocks_every_way_out_until_the_field_is_valid()
{
    QFETCH(Gesture, gesture);
    QFETCH(QString, focusAfterValid);
    QFETCH(int, okClicksAfterValid);
    QFETCH(int, applyClicksAfterValid);
    QFETCH(int, leavesAfterValid);
    QFETCH(bool, focusNeverMoves);

    for (const QString &invalid : {QString(), QStringLiteral("12x")}) {
        form->amount->setText(invalid);
        QSignalSpy focusChanges(qApp, &QApplication::focusChanged);
        perform(gesture);
        // A field that loses and regains the focus runs its focus-in work again.
        if (focusNeverMoves)
            QCOMPARE(focusChanges.count(), 0);
        QCOMPARE(focusedName(), QStringLiteral("amount"));
        QCOMPARE(form->okClicks, 0);
        QCOMPARE(form->applyClicks, 0);
        QCOMPARE(form->leaves, 0);
    }

    form->amount->setText(QStringLiteral("12"));
    perform(gesture);
    QCOMPARE(focusedName(), focusAfterValid);
    QCOMPARE(form->okClicks, okClicksAfterValid);
    QCOMPARE(form->applyClicks, applyClicksAfterValid);
    QCOMPARE(form->leaves, leavesAfterValid);
}

void FocusGuardTest::click_inside_the_invalid_field_still_moves_the_caret()
{
    form->amount->setText(QStringLiteral("abcdef"));
    form->amount->setCursorPosition(6);
    QSignalSpy refusals(&form->guard, &FocusGuard::refused);
    QTest::mouseClick(form->window.windowHandle(), Qt::LeftButton, {},
                      form->amount->mapTo(&form->window, QPoint(3, form->amount->height() / 2)));
    QCOMPARE(form->amount->cursorPosition(), 0);
    QCOMPARE(focusedName(), QStringLiteral("amount"));
    QCOMPARE(refusals.count(), 0);
}

void FocusGuardTest::menus_stay_usable_while_the_field_is_invalid()
{
    form->amount->clear();
    const QPoint item = form->menuBar->actionGeometry(form->menuCommand).center();
    QTest::mouseClick(form->window.windowHandle(), Qt::LeftButton, {},
                      form->menuBar->mapTo(&form->window, item));
    QTRY_COMPARE(form->menuCommands, 1);
    QCOMPARE(focusedName(), QStringLiteral("amount"));
}

void FocusGuardTest::presses_that_would_not_move_the_focus_run_no_check()
{
    form->amount->clear();
    form->ok->setEnabled(false);
    clickThroughWindow(form->plainLabel);
    clickThroughWindow(form->ok);
    QCOMPARE(form->checks, 0);
    QCOMPARE(focusedName(), QStringLiteral("amount"));
}

void FocusGuardTest::one_refusal_per_gesture()
{
    form->amount->clear();
    QSignalSpy refusals(&form->guard, &FocusGuard::refused);
    clickThroughWindow(form->ok);
    QCOMPARE(refusals.count(), 1);
    QCOMPARE(refusals.at(0).at(1).value<QWidget *>(), form->ok);
    pressTab();
    QCOMPARE(refusals.count(), 2);
    QCOMPARE(refusals.at(1).at(1).value<QWidget *>(), form->other);
}

// Leaving the order field creates and guards the per-variable fields; the
// running leave action must survive its own table growing.
void FocusGuardTest::leave_action_may_guard_further_fields()
{
    form->amount->setText(QStringLiteral("1"));
    FocusGuard guard;
    QLineEdit first(&form->window);
    QList<QLineEdit *> created;
    int leaves = 0;
    guard.guard(&first, [] { return true; }, [&] {
        ++leaves;
        for (int i = 0; i < 64; ++i) {
            created.append(new QLineEdit(&form->window));
            guard.guard(created.last(), [] { return false; });
        }
    });
    first.show();
    first.setFocus();
    clickThroughWindow(form->other);
    QCOMPARE(leaves, 1);
    QCOMPARE(created.size(), 64);
    QCOMPARE(focusedName(), QStringLiteral("other"));
}

void FocusGuardTest::switching_to_another_window_is_no_leaving()
{
    form->amount->clear();
    QWidget otherWindow;
    auto *elsewhere = new QLineEdit(&otherWindow);
    otherWindow.show();
    otherWindow.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&otherWindow));
    elsewhere->setFocus();
    QCOMPARE(QApplication::focusWidget(), elsewhere);
    QCOMPARE(form->checks, 0);

    form->window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form->window));
    QCOMPARE(focusedName(), QStringLiteral("amount"));
    QCOMPARE(form->leaves, 0);
}

QTEST_MAIN(FocusGuardTest)
#include "focus_guard_test.moc"

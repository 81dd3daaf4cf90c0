// Memory running out inside a command: the application answers error 7 and
// goes on handling what the user does next.

#include <QLineEdit>
#include <QTest>

#include <new>

#include "gui/guarded_application.h"
#include "support/fake_user_dialogs.h"
#include "support/gui_input.h"

class GuardedApplicationTest : public QObject {
    Q_OBJECT
private slots:
    void running_out_of_memory_stops_the_command_and_the_program_goes_on() {
        struct GreedyField : QLineEdit {  // its handling of M needs more memory than there is
            void keyPressEvent(QKeyEvent *event) override {
                if (event->key() == Qt::Key_M) throw std::bad_alloc();
                QLineEdit::keyPressEvent(event);
            }
        } field;
        zl::gui::FakeUserDialogs dialogs;
        static_cast<zl::gui::GuardedApplication *>(qApp)->setDialogs(&dialogs);
        QVERIFY(zl::gui::testing::showActive(field));
        QTest::keyClicks(&field, QStringLiteral("abMcd"));
        QCOMPARE(field.text(), QStringLiteral("abcd"));
        QCOMPARE(dialogs.count(zl::gui::FakeUserDialogs::Kind::Message), 1);
        QVERIFY(dialogs.calls().front().text.startsWith(QStringLiteral("Error 7: Out of memory")));
        static_cast<zl::gui::GuardedApplication *>(qApp)->setDialogs(nullptr);
    }
};

int main(int argc, char *argv[]) {
    zl::gui::GuardedApplication application(argc, argv);
    GuardedApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "guarded_application_test.moc"

// What users type never sets how wide a window must be: long variable names
// and constants are shown cut short, the window can still be narrowed.

#include <QComboBox>
#include <QLabel>
#include <QTest>

#include <memory>

#include "gui/equation_grid_model.h"
#include "gui/equations_window.h"
#include "support/main_window_fixture.h"

using namespace zl::gui::testing;

class WindowSizeTest : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(fixture.open()); }
    void cleanup() { fixture.window.reset(); }
    void long_names_and_constants_leave_the_minimum_width_data();
    void long_names_and_constants_leave_the_minimum_width();
    void the_variables_caption_leaves_the_grid_window_narrow();

private:
    MainWindowFixture fixture;
};

void WindowSizeTest::long_names_and_constants_leave_the_minimum_width_data() {
    QTest::addColumn<int>("length");
    QTest::newRow("28 characters") << 28;
    QTest::newRow("150 characters") << 150;
}

void WindowSizeTest::long_names_and_constants_leave_the_minimum_width() {
    QFETCH(int, length);
    const int before = fixture.window->minimumSizeHint().width();
    const QString name = QStringLiteral("v") + QString(length - 1, QLatin1Char('n'));
    fixture.enterProblem(QStringLiteral("1"), name);
    auto *constants = fixture.control<QComboBox>("cboConstants");
    typeOver(constants, QStringLiteral("k=") + QString(length, QLatin1Char('7')));
    pressKey(Qt::Key_Return);
    QCOMPARE(constants->count(), 1);

    QCoreApplication::processEvents();                             // the layouts take in what changed
    QCOMPARE(fixture.control<QLabel>("lblVarNum")->text(), name);  // the whole name is kept
    QCOMPARE(fixture.window->minimumSizeHint().width(), before);
    fixture.window->resize(before, fixture.window->height());
    QCOMPARE(fixture.window->width(), before);
}

void WindowSizeTest::the_variables_caption_leaves_the_grid_window_narrow() {
    zl::gui::EquationGridModel model;
    zl::gui::EquationsWindow window(model);
    model.setRowCount(1);
    model.setVariablesCaption(QStringLiteral("Variables: a"));
    const int before = window.minimumSizeHint().width();
    model.setVariablesCaption(QStringLiteral("Variables: ") + QString(150, QLatin1Char('n')));
    QCoreApplication::processEvents();
    QCOMPARE(window.minimumSizeHint().width(), before);
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblVarNams"))->text().size(), 161);
}

QTEST_MAIN(WindowSizeTest)
#include "window_size_test.moc"

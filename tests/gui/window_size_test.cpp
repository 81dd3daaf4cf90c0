// What users type never sets how wide a window must be: long variable names
// and constants show cut short, and the window can still be narrowed.

#include <QComboBox>
#include <QTest>

#include "gui/equation_grid_model.h"
#include "gui/equations_window.h"
#include "support/main_window_fixture.h"

using namespace zl::gui::testing;

class WindowSizeTest : public QObject {
    Q_OBJECT
private slots:
    void long_names_and_constants_leave_the_minimum_width() {
        MainWindowFixture fixture;
        QVERIFY(fixture.open());
        const int before = fixture.window->minimumSizeHint().width();
        const QString name = QStringLiteral("v") + QString(149, QLatin1Char('n'));
        fixture.enterProblem(QStringLiteral("1"), name);
        typeOver(fixture.control("cboConstants"), QStringLiteral("k=") + QString(150, QLatin1Char('7')));
        pressKey(Qt::Key_Return);
        QCOMPARE(fixture.control<QComboBox>("cboConstants")->count(), 1);
        QCOMPARE(fixture.control<QLabel>("lblVarNum")->text(), name);  // kept whole
        QCoreApplication::processEvents();                             // the layouts take in the change
        QCOMPARE(fixture.window->minimumSizeHint().width(), before);

        zl::gui::EquationGridModel model;  // the grid window's caption of the names
        zl::gui::EquationsWindow grid(model);
        model.setVariablesCaption(QStringLiteral("Variables: v"));
        const int gridBefore = grid.minimumSizeHint().width();
        model.setVariablesCaption(QStringLiteral("Variables: ") + name);
        QCoreApplication::processEvents();
        QCOMPARE(grid.minimumSizeHint().width(), gridBefore);
    }
};

QTEST_MAIN(WindowSizeTest)
#include "window_size_test.moc"

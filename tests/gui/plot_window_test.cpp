// The plot window reached through Plot: the pictures of opened examples, the
// solutions marked where the list says, picking a solution in either place,
// zoom, pan, read-out and export. With ZEROLITH_SCREENSHOT_DIR set each
// example's plot is also saved there as a PNG.

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <qcustomplot.h>

#include <memory>

#include "gui/plot_command.h"
#include "gui/plot_layers.h"
#include "gui/plot_window.h"
#include "gui/problem_file_commands.h"
#include "support/main_window_fixture.h"

using namespace zl::gui;
using namespace zl::gui::testing;

namespace {

const QString kExamples = QStringLiteral(ZEROLITH_SOURCE_DIR "/examples/");
const QString kHimmelblau = QStringLiteral("/work/shared/benchmarks/himmelblau.zerolith");

using Solution = QList<double>;

/// The solutions as the list shows them: each group's "name=value" texts.
QList<Solution> listedSolutions(const QStringList &lines) {
    static const QRegularExpression nameValue(QStringLiteral("^\\w+=(\\S+)\\s"));
    QList<Solution> solutions;
    Solution group;
    for (const QString &line : lines) {
        const auto match = nameValue.match(line);
        if (match.hasMatch() && line.contains(QLatin1String("EQUATION #"))) {
            group << match.captured(1).toDouble();
        } else if (line.isEmpty() && !group.isEmpty()) {
            solutions << group;
            group.clear();
        }
    }
    return solutions;
}

bool near(QRgb pixel, QColor colour, int tolerance) {
    return std::abs(qRed(pixel) - colour.red()) <= tolerance && std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
           std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

int pixelsOf(const QImage &image, QColor colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += near(image.pixel(x, y), colour, 40);
    return count;
}

/// A solution's mark: its colour at and right around the point.
bool markedAt(const QImage &image, QPointF centre) {
    int marked = 0;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            marked += near(image.pixel(int(centre.x()) + dx, int(centre.y()) + dy), PlotLayers::rootColour(), 60);
    return marked >= 7;
}

/// A move of the mouse over `widget` with `buttons` held down.
void moveMouse(QWidget *widget, QPoint to, Qt::MouseButtons buttons = Qt::NoButton) {
    QMouseEvent move(QEvent::MouseMove, to, widget->mapToGlobal(to), Qt::NoButton, buttons, {});
    QApplication::sendEvent(widget, &move);
}

void savePicture(QWidget &window, const QString &name) {
    const QString folder = qEnvironmentVariable("ZEROLITH_SCREENSHOT_DIR");
    if (folder.isEmpty()) return;
    QDir().mkpath(folder);
    QVERIFY(window.grab().save(QDir(folder).filePath(name + ".png")));
}

}  // namespace

class PlotWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void plot_is_offered_once_order_and_names_are_set();
    void circle_and_line_shows_both_zero_sets_and_the_listed_solution();
    void himmelblau_marks_every_solution_explore_lists();
    void one_variable_shows_the_residual_over_its_interval();
    void three_variables_show_a_slice_through_the_chosen_solution();
    void wheel_zooms_drag_pans_and_reset_restores();
    void read_out_gives_the_point_and_its_residuals();
    void export_writes_png_svg_and_pdf();
    void equations_that_cannot_be_evaluated_stop_the_drawing_with_one_box();

private:
    void open(const QString &file) {
        fixture.dialogs.openFileAnswers.enqueue(file);
        fixture.control<QAction>("mnuOpen")->trigger();  // menus are driven with the mouse in their own test
    }
    void explore() {
        clickThroughWindow(fixture.control("cmdExplore"));
        QTRY_VERIFY(!fixture.countText().isEmpty());
    }
    PlotWindow &plot() {
        clickThroughWindow(fixture.control("cmdPlot"));
        PlotWindow &window = command->plotWindow();
        if (!QTest::qWaitForWindowExposed(&window)) qWarning("the plot window is not shown");
        window.redrawNow();
        return window;
    }
    QImage picture(PlotWindow &window) {
        window.redrawNow();
        return window.plot()->toPixmap().toImage();
    }
    /// Every listed solution is marked where its values put it, and the
    /// middle between two of them is not.
    void checkMarks(PlotWindow &window, int expectedSolutions) {
        const QList<Solution> solutions = listedSolutions(fixture.listLines());
        QCOMPARE(solutions.size(), expectedSolutions);
        const QImage image = picture(window);
        for (const Solution &s : solutions) {
            const QPointF at = window.pixelOf({s.value(0), s.size() > 1 ? s.value(1) : 0.0});
            QVERIFY2(markedAt(image, at),
                     qPrintable(QStringLiteral("no mark at %1, %2").arg(s.value(0)).arg(s.value(1))));
        }
        if (solutions.size() >= 2) {
            const QPointF between = (window.pixelOf({solutions[0].value(0), solutions[0].value(1)}) +
                                     window.pixelOf({solutions[1].value(0), solutions[1].value(1)})) /
                                    2;
            QVERIFY(!markedAt(image, between));
        }
    }

    MainWindowFixture fixture;
    std::unique_ptr<PlotCommand> command;
    QTemporaryDir folder;
};

void PlotWindowTest::init() {
    QVERIFY(fixture.open());
    new ProblemFileCommands(*fixture.window, fixture.dialogs);
    command = std::make_unique<PlotCommand>(*fixture.window, fixture.dialogs);
}

void PlotWindowTest::cleanup() {
    command.reset();
    fixture.window.reset();
}

void PlotWindowTest::plot_is_offered_once_order_and_names_are_set() {
    auto *button = fixture.control<QPushButton>("cmdPlot");
    auto *item = fixture.control<QAction>("mnuPlot");
    QVERIFY(!button->isEnabled() && !item->isEnabled());
    fixture.enter(fixture.control("txtOrder"), QStringLiteral("2"));
    QVERIFY(!button->isEnabled() && !item->isEnabled());
    fixture.enter(fixture.control("txtVarNams"), QStringLiteral("x,y"));
    QVERIFY(button->isEnabled() && item->isEnabled());
    item->trigger();
    QTRY_VERIFY(command->plotWindow().isVisible());
}

void PlotWindowTest::circle_and_line_shows_both_zero_sets_and_the_listed_solution() {
    open(kExamples + "circle_and_line.zerolith");
    PlotWindow &window = plot();
    QCOMPARE(window.title(), QStringLiteral("Zero sets of the equations"));
    const QImage image = picture(window);
    // The circle of radius sqrt(2) is longer than the line across the box.
    const int circle = pixelsOf(image, PlotLayers::equationColour(0));
    const int line = pixelsOf(image, PlotLayers::equationColour(1));
    QVERIFY2(circle > 300 && line > 300, qPrintable(QStringLiteral("%1 and %2 pixels").arg(circle).arg(line)));
    checkMarks(window, 1);
    QVERIFY(!markedAt(image, window.pixelOf({-1, -1})));  // where the line meets the circle again: not found
    savePicture(window, "plot_circle_and_line");
}

void PlotWindowTest::himmelblau_marks_every_solution_explore_lists() {
    open(kHimmelblau);
    explore();
    PlotWindow &window = plot();
    QVERIFY(pixelsOf(picture(window), PlotLayers::equationColour(0)) > 500);
    QVERIFY(pixelsOf(picture(window), PlotLayers::equationColour(1)) > 500);
    checkMarks(window, 9);
    savePicture(window, "plot_two_variables");

    // A click on a mark selects that solution's group in the list ...
    const QList<Solution> solutions = listedSolutions(fixture.listLines());
    const QPointF third = window.pixelOf({solutions[2][0], solutions[2][1]});
    QTest::mouseClick(window.plot(), Qt::LeftButton, {}, third.toPoint());
    auto *list = fixture.control<QListWidget>("lstRoots");
    QCOMPARE(window.selectedSolution(), 3);
    QCOMPARE(list->currentRow(), 6);
    QCOMPARE(list->selectedItems().size(), 2);
    QVERIFY(list->item(7)->isSelected());
    // ... and a click on a list line of another group rings its mark.
    clickThroughWindow(fixture.window.get());  // back to the main window
    const QRect line = list->visualItemRect(list->item(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line.center());
    QCOMPARE(window.selectedSolution(), 1);
}

void PlotWindowTest::one_variable_shows_the_residual_over_its_interval() {
    open(kExamples + "default.zerolith");
    explore();
    PlotWindow &window = plot();
    QCOMPARE(window.title(), QStringLiteral("Residual of 3*x^2*sin(x)=pi"));
    const QCPRange x = window.plot()->xAxis->range();
    QVERIFY(x.lower < -5 && x.lower > -6 && x.upper > 5 && x.upper < 6);
    QVERIFY(window.plot()->yAxis->range().contains(0));
    QVERIFY(pixelsOf(picture(window), PlotLayers::equationColour(0)) > 300);
    checkMarks(window, 3);  // on the zero line
    savePicture(window, "plot_one_variable");
}

void PlotWindowTest::three_variables_show_a_slice_through_the_chosen_solution() {
    open(kExamples + "three_variables.zerolith");
    explore();
    PlotWindow &window = plot();
    const QList<Solution> solutions = listedSolutions(fixture.listLines());
    QCOMPARE(solutions.size(), 2);
    const QString z1 = QString::number(solutions[0][2], 'g', 6);
    QCOMPARE(window.title(), QStringLiteral("Slice through solution 1: z = ") + z1);
    QVERIFY(markedAt(picture(window), window.pixelOf({solutions[0][0], solutions[0][1]})));
    savePicture(window, "plot_three_variables");

    // z across, y up: x stays at the solution's value.
    auto *horizontal = window.findChild<QComboBox *>(QStringLiteral("cboHorizontal"));
    horizontal->setFocus();
    QTest::keyClick(horizontal, Qt::Key_End);  // z, the last
    QCOMPARE(window.title(),
             QStringLiteral("Slice through solution 1: x = ") + QString::number(solutions[0][0], 'g', 6));
    QCOMPARE(window.plot()->xAxis->label(), QStringLiteral("z"));
    QVERIFY(markedAt(picture(window), window.pixelOf({solutions[0][2], solutions[0][1]})));

    // Picking the second solution in the list moves the slice through it.
    auto *list = fixture.control<QListWidget>("lstRoots");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(4)).center());
    QCOMPARE(window.selectedSolution(), 2);
    QCOMPARE(window.title(),
             QStringLiteral("Slice through solution 2: x = ") + QString::number(solutions[1][0], 'g', 6));
}

void PlotWindowTest::wheel_zooms_drag_pans_and_reset_restores() {
    open(kExamples + "circle_and_line.zerolith");
    PlotWindow &window = plot();
    QCustomPlot *area = window.plot();
    const QCPRange initial = area->xAxis->range();
    const QPoint centre = area->axisRect()->rect().center();
    QWheelEvent wheel(centre, area->mapToGlobal(centre), {}, {0, 120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(area, &wheel);
    QVERIFY(area->xAxis->range().size() < 0.9 * initial.size());
    const QCPRange zoomed = area->xAxis->range();
    QTest::mousePress(area, Qt::LeftButton, {}, centre);
    moveMouse(area, centre + QPoint(60, 0), Qt::LeftButton);
    QTest::mouseRelease(area, Qt::LeftButton, {}, centre + QPoint(60, 0));
    QVERIFY(area->xAxis->range().lower < zoomed.lower - 0.05 * zoomed.size());
    QCOMPARE(area->xAxis->range().size(), zoomed.size());
    // The new view is drawn from the residuals: the line still crosses it.
    QVERIFY(pixelsOf(picture(window), PlotLayers::equationColour(1)) > 100);
    clickThroughWindow(window.findChild<QPushButton *>(QStringLiteral("cmdResetView")));
    QCOMPARE(area->xAxis->range().lower, initial.lower);
    QCOMPARE(area->xAxis->range().upper, initial.upper);
}

void PlotWindowTest::read_out_gives_the_point_and_its_residuals() {
    open(kExamples + "circle_and_line.zerolith");
    PlotWindow &window = plot();
    moveMouse(window.plot(), window.pixelOf({2, -1}).toPoint());
    static const QRegularExpression readout(
        QStringLiteral("^x = (\\S+), y = (\\S+)    residual 1 = (\\S+)    residual 2 = (\\S+)$"));
    const auto match = readout.match(window.readout());
    QVERIFY2(match.hasMatch(), qPrintable(window.readout()));
    const double x = match.captured(1).toDouble(), y = match.captured(2).toDouble();
    QVERIFY(std::abs(x - 2) < 0.1 && std::abs(y + 1) < 0.1);
    // x^2+y^2=k with k=2, and x=y, at the point shown.
    // x and y are shown to six digits, the residuals computed at the point itself.
    QVERIFY(std::abs(match.captured(3).toDouble() - (x * x + y * y - 2)) < 1e-3);
    QVERIFY(std::abs(match.captured(4).toDouble() - (x - y)) < 1e-3);
}

void PlotWindowTest::export_writes_png_svg_and_pdf() {
    open(kExamples + "circle_and_line.zerolith");
    PlotWindow &window = plot();
    auto *exporter = window.findChild<QPushButton *>(QStringLiteral("cmdExport"));
    const struct {
        const char *name;
        QByteArray start;
    } formats[] = {{"plot.png", "\x89PNG"}, {"plot.svg", "<?xml"}, {"plot.pdf", "%PDF"}};
    for (const auto &format : formats) {
        const QString file = folder.filePath(format.name);
        fixture.dialogs.exportFileAnswers.enqueue(file);
        clickThroughWindow(exporter);
        QFile written(file);
        QVERIFY2(written.open(QIODevice::ReadOnly), format.name);
        const QByteArray bytes = written.readAll();
        QVERIFY2(bytes.startsWith(format.start), format.name);
        if (QByteArray(format.name).endsWith("svg")) QVERIFY(bytes.contains("<svg") && bytes.contains("<polyline"));
    }
    QCOMPARE(fixture.dialogs.count(FakeUserDialogs::Kind::Message), 0);
    fixture.dialogs.exportFileAnswers.enqueue(folder.filePath("no such folder/plot.png"));
    clickThroughWindow(exporter);
    QCOMPARE(fixture.dialogs.count(FakeUserDialogs::Kind::Message), 1);
}

void PlotWindowTest::equations_that_cannot_be_evaluated_stop_the_drawing_with_one_box() {
    fixture.enterProblem(QStringLiteral("1"), QStringLiteral("x"));
    typeOver(fixture.element("txtEquation", 0), QStringLiteral("nosuchfunction(x)=1"));
    PlotWindow &window = plot();
    QCOMPARE(fixture.dialogs.count(FakeUserDialogs::Kind::ScriptError), 1);
    QVERIFY2(window.readout().startsWith(QStringLiteral("The equations cannot be evaluated")),
             qPrintable(window.readout()));
    moveMouse(window.plot(), window.plot()->rect().center());
    window.resetView();
    window.redrawNow();
    QCOMPARE(fixture.dialogs.count(FakeUserDialogs::Kind::ScriptError), 1);
}

QTEST_MAIN(PlotWindowTest)
#include "plot_window_test.moc"

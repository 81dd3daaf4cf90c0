// Plot on opened examples: the zero sets drawn and the solutions marked where
// the list says, a solution picked in the plot or the list, zoom, pan, the
// read-out and export. With ZEROLITH_SCREENSHOT_DIR set each example's plot
// is saved there as a PNG.

#include <QRegularExpression>
#include <QTemporaryDir>
#include <qcustomplot.h>

#include "gui/plot_command.h"
#include "gui/plot_layers.h"
#include "gui/plot_window.h"
#include "support/main_window_fixture.h"

using namespace zl::gui;
using namespace zl::gui::testing;

namespace {

const QString kExamples = QStringLiteral(ZEROLITH_SOURCE_DIR "/examples/");

bool near(QRgb pixel, QColor colour, int tolerance = 40) {
    return std::abs(qRed(pixel) - colour.red()) <= tolerance && std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
           std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

int pixelsOf(const QImage &image, QColor colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += near(image.pixel(x, y), colour);
    return count;
}

/// A solution's mark: its colour at the point and all round it.
bool markedAt(const QImage &image, QPointF centre) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (!near(image.pixel(int(centre.x()) + dx, int(centre.y()) + dy), PlotLayers::rootColour(), 60))
                return false;
    return true;
}

void moveMouse(QWidget *widget, QPoint to, Qt::MouseButtons buttons = Qt::NoButton) {
    QMouseEvent move(QEvent::MouseMove, to, widget->mapToGlobal(to), Qt::NoButton, buttons, {});
    QApplication::sendEvent(widget, &move);
}

}  // namespace

class PlotWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QVERIFY(fixture.open(true));
        command = std::make_unique<PlotCommand>(*fixture.window, fixture.dialogs);
    }

    void cleanup() {
        command.reset();
        fixture.window.reset();
    }

    void two_parabolas_show_both_zero_sets_the_read_out_and_the_solutions_to_pick() {
        PlotWindow &window = plotOf(kExamples + "two_parabolas.zerolith", true);
        QCOMPARE(window.title(), QStringLiteral("Zero sets of the equations"));
        const QImage image = picture(window);
        QVERIFY(pixelsOf(image, PlotLayers::equationColour(0)) > 300);
        QVERIFY(pixelsOf(image, PlotLayers::equationColour(1)) > 300);
        checkMarks(window, "plot_two_variables");

        // The read-out: the point under the pointer (six digits) and x^2-y-a, y^2+x-b there (a=1, b=2e/3).
        moveMouse(window.plot(), window.pixelOf({2, -1}).toPoint());
        static const QRegularExpression readout(
            QStringLiteral("^x = (\\S+), y = (\\S+)    residual 1 = (\\S+)    residual 2 = (\\S+)$"));
        const auto match = readout.match(window.readout());
        QVERIFY2(match.hasMatch(), qPrintable(window.readout()));
        const double x = match.captured(1).toDouble(), y = match.captured(2).toDouble();
        QVERIFY(std::abs(x - 2) < 0.1 && std::abs(y + 1) < 0.1);
        QVERIFY(std::abs(match.captured(3).toDouble() - (x * x - y - 1)) < 1e-3);
        QVERIFY(std::abs(match.captured(4).toDouble() - (y * y + x - 2 * M_E / 3)) < 1e-3);

        // A click on the second mark selects the second group's two lines ...
        QTest::mouseClick(window.plot(), Qt::LeftButton, {}, window.pixelOf({stored(2, 0), stored(2, 1)}).toPoint());
        auto *list = fixture.control<QAbstractItemView>("lstRoots");
        QCOMPARE(window.selectedSolution(), 2);
        QCOMPARE(list->currentIndex().row(), 3);
        QCOMPARE(list->selectionModel()->selectedRows(),
                 (QModelIndexList{list->model()->index(3, 0), list->model()->index(4, 0)}));
        // ... and a click on a line of the first group picks the first mark.
        fixture.clickListLine(1);
        QCOMPARE(window.selectedSolution(), 1);
    }

    void one_variable_shows_the_residual_over_its_interval() {
        PlotWindow &window = plotOf(kExamples + "default.zerolith", true);
        QCOMPARE(window.title(), QStringLiteral("Residual of 3*x^2*sin(x)=pi"));
        const QCPRange x = window.plot()->xAxis->range();
        QVERIFY(x.lower < -5 && x.lower > -6 && x.upper > 5 && x.upper < 6);
        QVERIFY(pixelsOf(picture(window), PlotLayers::equationColour(0)) > 300);
        QCOMPARE(fixture.window->problem().store.solutionCount, 3);
        checkMarks(window, "plot_one_variable");
    }

    void three_variables_show_a_slice_through_the_chosen_solution() {
        PlotWindow &window = plotOf(kExamples + "three_variables.zerolith", true);
        const auto shown = [this](int k, int v) { return QString::number(stored(k, v), 'g', 6); };
        QCOMPARE(window.title(), "Slice through solution 1: z = " + shown(1, 2));
        checkMarks(window, "plot_three_variables");

        // z across, y up: x stays at the solution's value.
        auto *horizontal = window.findChild<QComboBox *>(QStringLiteral("cboHorizontal"));
        horizontal->setFocus();
        QTest::keyClick(horizontal, Qt::Key_End);
        QCOMPARE(window.title(), "Slice through solution 1: x = " + shown(1, 0));
        QCOMPARE(window.plot()->xAxis->label(), QStringLiteral("z"));
        QVERIFY(markedAt(picture(window), window.pixelOf({stored(1, 2), stored(1, 1)})));

        // Picking the second solution in the list moves the slice through it.
        fixture.clickListLine(4);
        QCOMPARE(window.title(), "Slice through solution 2: x = " + shown(2, 0));
    }

    void wheel_zooms_drag_pans_reset_restores_and_export_writes_png_svg_and_pdf() {
        PlotWindow &window = plotOf(kExamples + "circle_and_line.zerolith", false);
        QCustomPlot *area = window.plot();
        const QCPRange initial = area->xAxis->range();
        const QPoint centre = area->axisRect()->rect().center();
        QWheelEvent wheel(centre, area->mapToGlobal(centre), {}, {0, 120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(area, &wheel);
        const QCPRange zoomed = area->xAxis->range();
        QVERIFY(zoomed.size() < 0.9 * initial.size());
        QTest::mousePress(area, Qt::LeftButton, {}, centre);
        moveMouse(area, centre + QPoint(60, 0), Qt::LeftButton);
        QTest::mouseRelease(area, Qt::LeftButton, {}, centre + QPoint(60, 0));
        QVERIFY(area->xAxis->range().lower < zoomed.lower - 0.05 * zoomed.size());
        QVERIFY(pixelsOf(picture(window), PlotLayers::equationColour(1)) > 100);  // drawn afresh for the new view
        clickThroughWindow(window.findChild<QPushButton *>(QStringLiteral("cmdResetView")));
        QCOMPARE(area->xAxis->range(), initial);

        auto *exporter = window.findChild<QPushButton *>(QStringLiteral("cmdExport"));
        QTemporaryDir folder;
        for (auto [name, start] : {std::pair{"plot.png", "\x89PNG"}, {"plot.svg", "<?xml"}, {"plot.pdf", "%PDF"}}) {
            fixture.dialogs.exportFileAnswers.enqueue(folder.filePath(name));
            clickThroughWindow(exporter);
            QFile written(folder.filePath(name));
            QVERIFY2(written.open(QIODevice::ReadOnly) && written.read(5).startsWith(start), name);
        }
        QFile svg(folder.filePath("plot.svg"));
        QVERIFY(svg.open(QIODevice::ReadOnly) && svg.readAll().contains("<polyline"));  // drawn as lines, not a picture
        QCOMPARE(fixture.dialogs.count(FakeUserDialogs::Kind::Message), 0);
        fixture.dialogs.exportFileAnswers.enqueue(folder.filePath("no such folder/plot.png"));
        clickThroughWindow(exporter);
        QCOMPARE(fixture.dialogs.count(FakeUserDialogs::Kind::Message), 1);
    }

    // Plot is offered once the order and the names are set; an equation that
    // cannot be evaluated stops the drawing with one box.
    void menu_item_plots_and_an_unusable_equation_stops_the_drawing() {
        auto *item = fixture.control<QAction>("mnuPlot");
        fixture.enter(fixture.control("txtOrder"), QStringLiteral("1"));
        QVERIFY(!fixture.control("cmdPlot")->isEnabled() && !item->isEnabled());
        fixture.enter(fixture.control("txtVarNams"), QStringLiteral("x"));
        QVERIFY(fixture.control("cmdPlot")->isEnabled() && item->isEnabled());
        typeOver(fixture.element("txtEquation", 0), QStringLiteral("nosuchfunction(x)=1"));
        item->trigger();
        PlotWindow &window = command->plotWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.redrawNow();
        QCOMPARE(fixture.dialogs.count(FakeUserDialogs::Kind::ScriptError), 1);
        QVERIFY2(window.readout().startsWith(QStringLiteral("The equations cannot be evaluated")),
                 qPrintable(window.readout()));
        moveMouse(window.plot(), window.plot()->rect().center());
        window.resetView();
        window.redrawNow();
        QCOMPARE(fixture.dialogs.count(FakeUserDialogs::Kind::ScriptError), 1);
    }

private:
    PlotWindow &plotOf(const QString &file, bool explore) {
        fixture.openFile(file);
        if (explore && !fixture.runToTheEnd("cmdExplore")) qWarning("the run did not end");
        clickThroughWindow(fixture.control("cmdPlot"));
        PlotWindow &window = command->plotWindow();
        if (!QTest::qWaitForWindowExposed(&window)) qWarning("the plot window is not shown");
        return window;
    }
    QImage picture(PlotWindow &window) {
        window.redrawNow();
        return window.plot()->toPixmap().toImage();
    }
    /// The values of a stored solution (from 1), as the list shows them.
    double stored(int solution, int variable) { return fixture.window->problem().store.solutions(variable, solution); }
    /// Every listed solution is marked where its values put it (on the zero
    /// line for one variable), and the middle between two of them is not.
    void checkMarks(PlotWindow &window, const QString &pictureName) {
        const zl::ProblemState &problem = fixture.window->problem();
        const QImage image = picture(window);
        const auto at = [&](int k) {
            return window.pixelOf({stored(k, 0), problem.record.order > 1 ? stored(k, 1) : 0.0});
        };
        for (int k = 1; k <= problem.store.solutionCount; ++k)
            QVERIFY2(markedAt(image, at(k)), qPrintable(QString::number(k)));
        if (problem.store.solutionCount >= 2) QVERIFY(!markedAt(image, (at(1) + at(2)) / 2));
        savePicture(window, pictureName);
    }

    MainWindowFixture fixture;
    std::unique_ptr<PlotCommand> command;
};

QTEST_MAIN(PlotWindowTest)
#include "plot_window_test.moc"

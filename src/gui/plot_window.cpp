#include "gui/plot_window.h"

#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSvgGenerator>
#include <QTimer>
#include <QVBoxLayout>
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>

#include "core/plot/plot_axes.h"
#include "core/plot/residual_curve.h"
#include "core/plot/residual_sampling.h"
#include "core/plot/zero_contour.h"
#include "core/solver/solution_lines.h"
#include "gui/plot_layers.h"
#include "gui/user_dialogs.h"

namespace zl::gui {

namespace {

constexpr int kPixelsPerNode = 4;  ///< the zero sets' grid: a node every few pixels
constexpr int kMinNodes = 24;
constexpr int kMaxNodes = 240;
constexpr double kMaxEvaluations = 2e6;  ///< per redraw of the grid, whatever the order
constexpr int kMaxCurveSamples = 2000;
constexpr int kMinLinePixels = 4;  ///< grid lines closer than this are not drawn
constexpr std::size_t kMaxGridValues = 20000;
constexpr double kClickPixels = 10;
constexpr int kLegendChars = 40;
constexpr int kReadoutResiduals = 8;

QString text(const std::string &s) { return QString::fromStdString(s); }

QString number(double value) { return text(shortNumberText(value)); }

QString legendText(int equation, const std::string &equationText) {
    QString shown = text(equationText);
    if (shown.size() > kLegendChars) shown = shown.left(kLegendChars - 1) + QChar(0x2026);
    return QStringLiteral("%1: %2").arg(equation + 1).arg(shown);
}

AxisRange padded(AxisRange range) {
    const double margin = 0.03 * (range.max - range.min);
    return {range.min - margin, range.max + margin};
}

AxisRange rangeOf(const QCPAxis &axis) { return {axis.range().lower, axis.range().upper}; }

}  // namespace

PlotWindow::PlotWindow(UserDialogs &dialogs, QWidget *parent) : QWidget(parent, Qt::Window), dialogs_(dialogs) {
    setObjectName(QStringLiteral("frmPlot"));
    setWindowTitle(QStringLiteral("Zerolith Plot"));
    buildControls();
    layers_ = std::make_unique<PlotLayers>(*plot_);
    redrawTimer_ = new QTimer(this);
    redrawTimer_->setSingleShot(true);
    connect(redrawTimer_, &QTimer::timeout, this, &PlotWindow::redraw);
    resize(760, 620);
}

PlotWindow::~PlotWindow() = default;

void PlotWindow::buildControls() {
    plot_ = new QCustomPlot(this);
    plot_->setObjectName(QStringLiteral("plotArea"));
    plot_->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    plot_->setMinimumSize(320, 240);
    connect(plot_->xAxis, qOverload<const QCPRange &>(&QCPAxis::rangeChanged), this, &PlotWindow::scheduleRedraw);
    connect(plot_->yAxis, qOverload<const QCPRange &>(&QCPAxis::rangeChanged), this, &PlotWindow::scheduleRedraw);
    connect(plot_, &QCustomPlot::mouseMove, this, &PlotWindow::showPointUnderPointer);
    connect(plot_, &QCustomPlot::mousePress, this, [this](QMouseEvent *event) { pressedAt_ = event->pos(); });
    connect(plot_, &QCustomPlot::mouseRelease, this, &PlotWindow::mouseReleased);

    sliceControls_ = new QWidget(this);
    auto *slice = new QHBoxLayout(sliceControls_);
    slice->setContentsMargins(0, 0, 0, 0);
    throughBox_ = new QComboBox(sliceControls_);
    throughBox_->setObjectName(QStringLiteral("cboThrough"));
    xBox_ = new QComboBox(sliceControls_);
    xBox_->setObjectName(QStringLiteral("cboHorizontal"));
    yBox_ = new QComboBox(sliceControls_);
    yBox_->setObjectName(QStringLiteral("cboVertical"));
    for (auto [caption, box] :
         {std::pair{QStringLiteral("Slice through:"), throughBox_}, std::pair{QStringLiteral("Horizontal:"), xBox_},
          std::pair{QStringLiteral("Vertical:"), yBox_}}) {
        auto *label = new QLabel(caption, sliceControls_);
        label->setBuddy(box);
        slice->addWidget(label);
        slice->addWidget(box);
        slice->addSpacing(8);
    }
    slice->addStretch();
    connect(throughBox_, qOverload<int>(&QComboBox::activated), this, [this] { sliceChanged(false); });
    // The same variable cannot be on both axes: choosing it for one swaps the two.
    connect(xBox_, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        if (index == yBox_->currentIndex()) yBox_->setCurrentIndex(slice_.xVariable);
        sliceChanged(true);
    });
    connect(yBox_, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        if (index == xBox_->currentIndex()) xBox_->setCurrentIndex(slice_.yVariable);
        sliceChanged(true);
    });

    readout_ = new QLabel(this);
    readout_->setObjectName(QStringLiteral("lblReadout"));
    readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    readout_->setMinimumWidth(200);

    auto *reset = new QPushButton(QStringLiteral("&Reset view"), this);
    reset->setObjectName(QStringLiteral("cmdResetView"));
    auto *exporter = new QPushButton(QStringLiteral("&Export..."), this);
    exporter->setObjectName(QStringLiteral("cmdExport"));
    exporter->setToolTip(QStringLiteral("Save the picture as PNG, SVG or PDF"));
    auto *closer = new QPushButton(QStringLiteral("&Close"), this);
    closer->setObjectName(QStringLiteral("cmdClosePlot"));
    connect(reset, &QPushButton::clicked, this, &PlotWindow::resetView);
    connect(exporter, &QPushButton::clicked, this, &PlotWindow::exportRequested);
    connect(closer, &QPushButton::clicked, this, &QWidget::close);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(reset);
    buttons->addWidget(exporter);
    buttons->addStretch();
    buttons->addWidget(closer);

    auto *page = new QVBoxLayout(this);
    page->addWidget(sliceControls_);
    page->addWidget(plot_, 1);
    page->addWidget(readout_);
    page->addLayout(buttons);
}

void PlotWindow::showInput(std::unique_ptr<PlotInput> input) {
    input_ = std::move(input);
    fatalErrorNumber_ = 0;
    selected_ = 0;
    readout_->clear();
    const ProblemSpec &record = input_->problem.record;
    QStringList legend;
    for (int j = 0; j < record.order && static_cast<std::size_t>(j) < input_->equations.size(); ++j)
        legend << legendText(j, input_->equations[static_cast<std::size_t>(j)]);
    layers_->setUp(record.order == 1, legend);
    fillSliceControls();
    sliceChanged(true);
}

const ProblemState *PlotWindow::problem() const { return input_ ? &input_->problem : nullptr; }

void PlotWindow::setEvaluationGate(std::function<bool()> mayEvaluate) { mayEvaluate_ = std::move(mayEvaluate); }

void PlotWindow::fillSliceControls() {
    const ProblemState &problem = input_->problem;
    const QSignalBlocker quietThrough(throughBox_), quietX(xBox_), quietY(yBox_);
    throughBox_->clear();
    xBox_->clear();
    yBox_->clear();
    for (int m = 1; m <= problem.store.solutionCount; ++m)
        throughBox_->addItem(QStringLiteral("Solution %1").arg(m), m);
    throughBox_->addItem(QStringLiteral("Centre of the search box"), 0);
    for (const std::string &name : problem.record.varNames) {
        xBox_->addItem(text(name));
        yBox_->addItem(text(name));
    }
    xBox_->setCurrentIndex(0);
    yBox_->setCurrentIndex(1);
    sliceControls_->setVisible(problem.record.order >= 3);
}

SliceChoice PlotWindow::currentChoice() const {
    return {xBox_->currentIndex(), yBox_->currentIndex(), throughBox_->currentData().toInt()};
}

void PlotWindow::sliceChanged(bool axesChanged) {
    if (!input_) return;
    const ProblemState &problem = input_->problem;
    const SliceChoice choice = currentChoice();
    slice_ = planeThrough(problem, choice);
    roots_ = rootsInPlane(problem, slice_);
    const auto &names = problem.record.varNames;
    const auto nameOf = [&names](int i) {
        return i >= 0 && static_cast<std::size_t>(i) < names.size() ? text(names[static_cast<std::size_t>(i)])
                                                                    : QString();
    };
    if (problem.record.order == 1) {
        layers_->setTitle(QStringLiteral("Residual of ") + text(input_->equations.empty() ? "" : input_->equations[0]));
        layers_->setAxisNames(nameOf(0), QStringLiteral("residual"));
    } else {
        const std::string sliceText = sliceTitle(problem, slice_, choice.solution);
        layers_->setTitle(sliceText.empty() ? QStringLiteral("Zero sets of the equations") : text(sliceText));
        layers_->setAxisNames(nameOf(slice_.xVariable), nameOf(slice_.yVariable));
    }
    layers_->drawRoots(roots_);
    markSelected();
    if (axesChanged)
        resetView();
    else
        scheduleRedraw();
}

void PlotWindow::selectSolution(int solution) {
    if (!input_) return;
    selected_ = solution;
    if (input_->problem.record.order >= 3 && solution >= 1) {
        const int index = throughBox_->findData(solution);
        if (index >= 0 && index != throughBox_->currentIndex()) {
            throughBox_->setCurrentIndex(index);
            sliceChanged(false);
            return;
        }
    }
    markSelected();
}

void PlotWindow::markSelected() {
    const int solution = selected_;
    const auto root =
        std::find_if(roots_.begin(), roots_.end(), [solution](const PlottedRoot &r) { return r.solution == solution; });
    layers_->markRoot(root == roots_.end() ? std::nullopt : std::optional<PlanePoint>(root->at));
    plot_->replot();
}

void PlotWindow::resetView() {
    if (!input_) return;
    const ProblemSpec &record = input_->problem.record;
    const auto limits = [&record](int i) {
        const auto at = static_cast<std::size_t>(i);
        return searchRange(record.lowerLimits[at], record.upperLimits[at]);
    };
    fitValueAxis_ = record.order == 1;
    setRanges(padded(limits(slice_.xVariable)),
              slice_.yVariable >= 0 ? padded(limits(slice_.yVariable)) : AxisRange{-1, 1});
    scheduleRedraw();
}

void PlotWindow::setRanges(AxisRange x, AxisRange y) {
    settingRanges_ = true;
    plot_->xAxis->setRange(x.min, x.max);
    plot_->yAxis->setRange(y.min, y.max);
    settingRanges_ = false;
}

void PlotWindow::scheduleRedraw() {
    if (!settingRanges_) redrawTimer_->start(0);
}

void PlotWindow::redrawNow() {
    if (redrawTimer_->isActive()) {
        redrawTimer_->stop();
        redraw();
    }
}

bool PlotWindow::mayEvaluate() const { return input_ && fatalErrorNumber_ == 0 && (!mayEvaluate_ || mayEvaluate_()); }

void PlotWindow::redraw() {
    if (!input_ || fatalErrorNumber_ != 0) return;
    if (!mayEvaluate()) {
        redrawTimer_->start(200);  // a run has the engine; try again when it is done
        return;
    }
    if (input_->problem.record.order == 1)
        drawResidualCurve();
    else
        drawZeroSets();
    drawGrid();
    plot_->replot();
}

void PlotWindow::drawResidualCurve() {
    const int samples = std::clamp(plot_->axisRect()->width(), 200, kMaxCurveSamples);
    const ResidualCurve curve = residualCurve(*input_->residuals, slice_, rangeOf(*plot_->xAxis), samples, 0);
    if (curve.fatalErrorNumber != 0) return stopEvaluating(curve.fatalErrorNumber);
    layers_->drawCurve(curve.points);
    if (fitValueAxis_) {
        fitValueAxis_ = false;
        const AxisRange values = residualRange(curve.points);
        settingRanges_ = true;
        plot_->yAxis->setRange(values.min, values.max);
        settingRanges_ = false;
    }
}

void PlotWindow::drawZeroSets() {
    const int equations = input_->problem.record.order;
    int columns = std::clamp(plot_->axisRect()->width() / kPixelsPerNode, kMinNodes, kMaxNodes);
    int rows = std::clamp(plot_->axisRect()->height() / kPixelsPerNode, kMinNodes, kMaxNodes);
    // Many equations share the budget: fewer nodes each.
    const double share = std::sqrt(kMaxEvaluations / (double(columns) * rows * equations));
    if (share < 1) {
        columns = std::max(2, int(columns * share));
        rows = std::max(2, int(rows * share));
    }
    const PlaneGrid grid{rangeOf(*plot_->xAxis), rangeOf(*plot_->yAxis), columns, rows};
    const SampledResiduals samples = sampleResiduals(*input_->residuals, slice_, grid, equations);
    if (samples.fatalErrorNumber != 0) return stopEvaluating(samples.fatalErrorNumber);
    for (int j = 0; j < equations; ++j) {
        const ZeroContour contour = zeroContour(*input_->residuals, slice_, samples, j);
        if (contour.fatalErrorNumber != 0) return stopEvaluating(contour.fatalErrorNumber);
        layers_->drawZeroSet(j, joinSegments(contour.segments));
    }
}

// Explore's grid is drawn where its lines are far enough apart to be seen.
void PlotWindow::drawGrid() {
    const ProblemSpec &record = input_->problem.record;
    const auto valuesOf = [&record](int i) {
        const auto at = static_cast<std::size_t>(i);
        return exploreGridValues(record.lowerLimits[at], record.upperLimits[at], record.subintervals[at],
                                 kMaxGridValues);
    };
    const auto visible = [](const std::vector<double> &values, const QCPAxis &axis, int pixels) {
        const auto shown =
            std::count_if(values.begin(), values.end(), [&axis](double v) { return axis.range().contains(v); });
        return shown * kMinLinePixels <= pixels;
    };
    const std::vector<double> xs = valuesOf(slice_.xVariable);
    const bool xShown = visible(xs, *plot_->xAxis, plot_->axisRect()->width());
    if (slice_.yVariable < 0) {
        layers_->drawGrid(xShown ? xs : std::vector<double>{}, {});
        return;
    }
    const std::vector<double> ys = valuesOf(slice_.yVariable);
    const bool yShown = visible(ys, *plot_->yAxis, plot_->axisRect()->height());
    layers_->drawGrid(xShown && yShown ? xs : std::vector<double>{}, xShown && yShown ? ys : std::vector<double>{});
}

void PlotWindow::stopEvaluating(std::int32_t errorNumber) {
    fatalErrorNumber_ = errorNumber;
    readout_->setText(
        QStringLiteral("The equations cannot be evaluated (error %1). Correct them and choose Plot again.")
            .arg(errorNumber));
}

void PlotWindow::showPointUnderPointer(QMouseEvent *event) {
    if (!input_ || !mayEvaluate()) return;
    const PlanePoint at{plot_->xAxis->pixelToCoord(event->position().x()),
                        plot_->yAxis->pixelToCoord(event->position().y())};
    const ProblemSpec &record = input_->problem.record;
    const auto name = [&record](int i) { return text(record.varNames[static_cast<std::size_t>(i)]); };
    QString line = name(slice_.xVariable) + QStringLiteral(" = ") + number(at.x);
    if (slice_.yVariable >= 0)
        line += QStringLiteral(", ") + name(slice_.yVariable) + QStringLiteral(" = ") + number(at.y);
    std::vector<double> point;
    slice_.place(at, point);
    for (int j = 0; j < record.order && j < kReadoutResiduals; ++j) {
        double value = 0;
        const std::int32_t status = input_->residuals->evaluate(j, point.data(), value);
        if (classifyStatus(status) == PlotEvaluation::Fatal) return stopEvaluating(status);
        const QString shown = status == 0 ? number(value) : text(failedResidualText(status));
        line += record.order == 1 ? QStringLiteral("    residual = ") + shown
                                  : QStringLiteral("    residual %1 = %2").arg(j + 1).arg(shown);
    }
    if (record.order > kReadoutResiduals) line += QStringLiteral("    ...");
    readout_->setText(line);
}

void PlotWindow::mouseReleased(QMouseEvent *event) {
    if ((event->pos() - pressedAt_).manhattanLength() > 3) return;  // the end of a drag
    const int solution = rootNear(event->position());
    if (solution == 0) return;
    selectSolution(solution);
    emit solutionClicked(solution);
}

int PlotWindow::rootNear(QPointF pixel) const {
    int nearest = 0;
    double best = kClickPixels;
    for (const PlottedRoot &root : roots_) {
        const QPointF place = pixelOf(root.at);
        const double distance = std::hypot(place.x() - pixel.x(), place.y() - pixel.y());
        if (distance <= best) {
            best = distance;
            nearest = root.solution;
        }
    }
    return nearest;
}

QPointF PlotWindow::pixelOf(PlanePoint point) const {
    return {plot_->xAxis->coordToPixel(point.x), plot_->yAxis->coordToPixel(point.y)};
}

QString PlotWindow::title() const { return layers_->title(); }

QString PlotWindow::readout() const { return readout_->text(); }

bool PlotWindow::exportPicture(const QString &fileName) {
    redrawNow();
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("png")) return plot_->savePng(fileName);
    if (suffix == QLatin1String("pdf")) return plot_->savePdf(fileName);
    if (suffix != QLatin1String("svg")) return false;
    QSvgGenerator svg;
    svg.setFileName(fileName);
    svg.setSize(plot_->size());
    svg.setViewBox(plot_->rect());
    svg.setTitle(windowTitle());
    QCPPainter painter;
    if (!painter.begin(&svg)) return false;
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    plot_->toPainter(&painter, plot_->width(), plot_->height());
    return painter.end() && QFileInfo(fileName).size() > 0;
}

void PlotWindow::exportRequested() {
    const QString fileName = dialogs_.exportFileName(this);
    if (fileName.isEmpty()) return;
    if (!exportPicture(fileName))
        dialogs_.showMessage(this, QStringLiteral("The picture could not be saved as %1.").arg(fileName));
}

}  // namespace zl::gui

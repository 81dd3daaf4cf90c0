#include "gui/plot_layers.h"

#include <qcustomplot.h>

#include <array>
#include <cmath>
#include <limits>

namespace zl::gui {

namespace {

constexpr double kGap = std::numeric_limits<double>::quiet_NaN();
constexpr int kLineWidth = 2;
constexpr double kRootSize = 10;
constexpr double kPickedSize = 20;
constexpr int kLegendEntries = 10;  ///< more would cover the plot

// Ten colours that stay apart from one another, also in print.
constexpr std::array<QRgb, 10> kEquationColours{0x1f77b4, 0xff7f0e, 0x2ca02c, 0xd62728, 0x9467bd,
                                                0x8c564b, 0xe377c2, 0x7f7f7f, 0xbcbd22, 0x17becf};

}  // namespace

QColor PlotLayers::equationColour(int equation) {
    return QColor(kEquationColours[static_cast<std::size_t>(equation) % kEquationColours.size()]);
}

QColor PlotLayers::rootColour() { return QColor(0, 0, 0); }

PlotLayers::PlotLayers(QCustomPlot &plot) : plot_(plot) {
    plot_.setAutoAddPlottableToLegend(false);
    plot_.plotLayout()->insertRow(0);
    title_ = new QCPTextElement(&plot_, QString(), QFont(plot_.font().family(), 11, QFont::Bold));
    plot_.plotLayout()->addElement(0, 0, title_);
    plot_.legend->setBrush(QColor(255, 255, 255, 220));
    // Only the axes' zero lines: grid lines would be taken for Explore's.
    for (QCPAxis *axis : {plot_.xAxis, plot_.yAxis}) axis->grid()->setPen(Qt::NoPen);
}

QCPCurve *PlotLayers::newCurve() {
    auto *curve = new QCPCurve(plot_.xAxis, plot_.yAxis);
    curve->setLineStyle(QCPCurve::lsLine);
    return curve;
}

void PlotLayers::setUp(bool oneVariable, const QStringList &legendTexts) {
    plot_.clearPlottables();
    plot_.clearItems();
    zeroSets_.clear();
    gridTicks_ = nullptr;
    curve_ = nullptr;
    zeroLine_ = nullptr;

    gridLines_ = newCurve();
    gridLines_->setPen(QPen(QColor(0, 0, 0, 30), 1));
    if (oneVariable) {
        zeroLine_ = new QCPItemStraightLine(&plot_);
        zeroLine_->point1->setCoords(0, 0);
        zeroLine_->point2->setCoords(1, 0);
        zeroLine_->setPen(QPen(QColor(90, 90, 90), 1));
        gridTicks_ = plot_.addGraph();
        gridTicks_->setLineStyle(QCPGraph::lsNone);
        QPainterPath tick;
        tick.moveTo(0, -5);
        tick.lineTo(0, 5);
        gridTicks_->setScatterStyle(QCPScatterStyle(tick, QPen(QColor(90, 90, 90), 1.5), Qt::NoBrush, 10));
        curve_ = plot_.addGraph();
        curve_->setPen(QPen(equationColour(0), kLineWidth));
    }
    for (int j = 0; j < legendTexts.size() && !oneVariable; ++j) {
        QCPCurve *zeroSet = newCurve();
        zeroSet->setPen(QPen(equationColour(j), kLineWidth));
        zeroSet->setName(legendTexts[j]);
        if (j < kLegendEntries) zeroSet->addToLegend();
        zeroSets_.push_back(zeroSet);
    }
    plot_.legend->setVisible(!oneVariable && !legendTexts.isEmpty());

    roots_ = newCurve();
    roots_->setLineStyle(QCPCurve::lsNone);
    roots_->setScatterStyle(
        QCPScatterStyle(QCPScatterStyle::ssCircle, QPen(Qt::white, 1.5), QBrush(rootColour()), kRootSize));
    picked_ = newCurve();
    picked_->setLineStyle(QCPCurve::lsNone);
    picked_->setScatterStyle(
        QCPScatterStyle(QCPScatterStyle::ssCircle, QPen(QColor(220, 0, 0), 2.5), Qt::NoBrush, kPickedSize));
}

void PlotLayers::setTitle(const QString &title) { title_->setText(title); }

QString PlotLayers::title() const { return title_->text(); }

void PlotLayers::setAxisNames(const QString &x, const QString &y) {
    plot_.xAxis->setLabel(x);
    plot_.yAxis->setLabel(y);
}

void PlotLayers::drawCurve(const std::vector<PlanePoint> &points) {
    if (!curve_) return;
    QVector<double> xs, ys;
    for (const PlanePoint &point : points) {
        xs.append(point.x);
        ys.append(point.y);
    }
    curve_->setData(xs, ys, true);
}

void PlotLayers::setPolylines(QCPCurve &curve, const std::vector<std::vector<PlanePoint>> &polylines) {
    QVector<double> xs, ys;
    for (const auto &line : polylines) {
        if (!xs.isEmpty()) {
            xs.append(kGap);
            ys.append(kGap);
        }
        for (const PlanePoint &point : line) {
            xs.append(point.x);
            ys.append(point.y);
        }
    }
    curve.setData(xs, ys);
}

void PlotLayers::drawZeroSet(int equation, const std::vector<std::vector<PlanePoint>> &polylines) {
    if (equation >= 0 && static_cast<std::size_t>(equation) < zeroSets_.size())
        setPolylines(*zeroSets_[static_cast<std::size_t>(equation)], polylines);
}

void PlotLayers::drawGrid(const std::vector<double> &xs, const std::vector<double> &ys) {
    if (gridTicks_) {
        gridTicks_->setData(QVector<double>(xs.begin(), xs.end()), QVector<double>(qsizetype(xs.size()), 0.0), true);
        return;
    }
    std::vector<std::vector<PlanePoint>> lines;
    if (!xs.empty() && !ys.empty()) {
        for (double x : xs) lines.push_back({{x, ys.front()}, {x, ys.back()}});
        for (double y : ys) lines.push_back({{xs.front(), y}, {xs.back(), y}});
    }
    setPolylines(*gridLines_, lines);
}

void PlotLayers::drawRoots(const std::vector<PlottedRoot> &roots) {
    QVector<double> xs, ys;
    for (const PlottedRoot &root : roots) {
        xs.append(root.at.x);
        ys.append(root.at.y);
    }
    roots_->setData(xs, ys);
}

void PlotLayers::markRoot(std::optional<PlanePoint> at) {
    if (at)
        picked_->setData(QVector<double>{at->x}, QVector<double>{at->y});
    else
        picked_->data()->clear();
}

}  // namespace zl::gui

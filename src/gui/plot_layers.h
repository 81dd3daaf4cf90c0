#pragma once
// What a plot window draws into its QCustomPlot, layer by layer: Explore's
// grid behind, the residual curve or the zero sets, the stored solutions on
// top, and a ring round the one picked.

#include <QColor>
#include <QString>
#include <QVector>

#include <optional>
#include <vector>

#include "core/plot/plane_slice.h"
#include "core/plot/slice_choice.h"

class QCPCurve;
class QCPGraph;
class QCPItemStraightLine;
class QCPTextElement;
class QCustomPlot;

namespace zl::gui {

class PlotLayers {
public:
    explicit PlotLayers(QCustomPlot &plot);

    /// Empties the plot and makes the layers of a one-variable plot (a
    /// residual curve over a zero line) or of a plane with one zero set per
    /// equation, listed in the legend as `legendTexts`.
    void setUp(bool oneVariable, const QStringList &legendTexts);

    void setTitle(const QString &title);
    QString title() const;
    void setAxisNames(const QString &x, const QString &y);

    /// A polyline with NaN points where it breaks.
    void drawCurve(const std::vector<PlanePoint> &points);
    void drawZeroSet(int equation, const std::vector<std::vector<PlanePoint>> &polylines);
    /// Explore's grid: ticks on the zero line for one variable, a faint
    /// lattice over the box of `xs` by `ys` in a plane.
    void drawGrid(const std::vector<double> &xs, const std::vector<double> &ys);
    void drawRoots(const std::vector<PlottedRoot> &roots);
    void markRoot(std::optional<PlanePoint> at);

    /// The colour of equation j's zero set.
    static QColor equationColour(int equation);
    static QColor rootColour();

private:
    QCPCurve *newCurve();
    static void setPolylines(QCPCurve &curve, const std::vector<std::vector<PlanePoint>> &polylines);

    QCustomPlot &plot_;
    QCPTextElement *title_ = nullptr;
    QCPCurve *gridLines_ = nullptr;
    QCPGraph *gridTicks_ = nullptr;
    QCPItemStraightLine *zeroLine_ = nullptr;
    QCPGraph *curve_ = nullptr;
    std::vector<QCPCurve *> zeroSets_;
    QCPCurve *roots_ = nullptr;
    QCPCurve *picked_ = nullptr;
};

}  // namespace zl::gui

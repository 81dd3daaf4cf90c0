#pragma once
// The plot of a problem: for one variable its residual along the search
// interval over a zero line, for two or more the zero set of every equation
// in a plane (for three or more, a slice through a chosen solution), with
// the stored solutions marked and Explore's grid behind. The wheel zooms,
// dragging pans, and the line under the plot reads out the point under the
// pointer with every residual there. The picture is redrawn from the
// residuals for every new view.

#include <QPoint>
#include <QPointF>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/plot/plane_slice.h"
#include "core/plot/slice_choice.h"
#include "core/problem/problem_state.h"
#include "core/problem/residual_system.h"

class QComboBox;
class QCustomPlot;
class QLabel;
class QMouseEvent;
class QPushButton;
class QTimer;

namespace zl::gui {

class PlotLayers;
class UserDialogs;

/// What a plot draws: the problem as it stood when Plot was chosen, its
/// equations' texts, and residuals compiled from them.
struct PlotInput {
    ProblemState problem;
    std::vector<std::string> equations;
    std::unique_ptr<ResidualSystem> residuals;  ///< may refer to `problem`, so it goes first
};

class PlotWindow : public QWidget {
    Q_OBJECT
public:
    explicit PlotWindow(UserDialogs &dialogs, QWidget *parent = nullptr);
    ~PlotWindow() override;

    /// Draws `input` in the view of its search box.
    void showInput(std::unique_ptr<PlotInput> input);
    /// The problem on show, or null.
    const ProblemState *problem() const;
    /// Says whether the residuals may be evaluated now; a redraw waits while not.
    void setEvaluationGate(std::function<bool()> mayEvaluate);

    /// Rings stored solution m (1-based; 0 for none). With three or more
    /// variables the slice then passes through it.
    void selectSolution(int solution);
    int selectedSolution() const { return selected_; }

    void resetView();
    /// Saves the picture as PNG, SVG or PDF, by the file name's suffix.
    [[nodiscard]] bool exportPicture(const QString &fileName);
    /// Carries out a pending redraw at once.
    void redrawNow();

    QCustomPlot *plot() const { return plot_; }
    QString title() const;
    QString readout() const;
    /// Where a point of the plane is drawn, in the plot widget's pixels.
    QPointF pixelOf(PlanePoint point) const;

signals:
    /// The user clicked the mark of stored solution m.
    void solutionClicked(int solution);

private:
    void buildControls();
    void fillSliceControls();
    SliceChoice currentChoice() const;
    void sliceChanged(bool axesChanged);
    void markSelected();
    void scheduleRedraw();
    void redraw();
    void drawResidualCurve();
    void drawZeroSets();
    void drawGrid();
    void setRanges(AxisRange x, AxisRange y);
    bool mayEvaluate() const;
    void stopEvaluating(std::int32_t errorNumber);
    void showPointUnderPointer(QMouseEvent *event);
    void mouseReleased(QMouseEvent *event);
    int rootNear(QPointF pixel) const;
    void exportRequested();

    UserDialogs &dialogs_;
    std::unique_ptr<PlotInput> input_;
    std::function<bool()> mayEvaluate_;
    QCustomPlot *plot_ = nullptr;
    std::unique_ptr<PlotLayers> layers_;
    QWidget *sliceControls_ = nullptr;
    QComboBox *throughBox_ = nullptr;
    QComboBox *xBox_ = nullptr;
    QComboBox *yBox_ = nullptr;
    QLabel *readout_ = nullptr;
    QTimer *redrawTimer_ = nullptr;

    PlaneSlice slice_;
    std::vector<PlottedRoot> roots_;
    int selected_ = 0;
    std::int32_t fatalErrorNumber_ = 0;
    bool fitValueAxis_ = false;  ///< one variable: the next redraw fits the value axis to the curve
    bool settingRanges_ = false;
    QPoint pressedAt_;
};

}  // namespace zl::gui

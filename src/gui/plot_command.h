#pragma once
// Plot (button and menu item): the problem as the window holds it, with its
// own residuals compiled from the equation fields, shown in the plot window;
// and the solution picked in the plot and in the list kept the same.

#include <QObject>

#include <memory>
#include <vector>

namespace zl::gui {

class MainWindow;
class PlotWindow;
struct PlotInput;
class UserDialogs;

class PlotCommand : public QObject {
    Q_OBJECT
public:
    PlotCommand(MainWindow &window, UserDialogs &dialogs);
    ~PlotCommand() override;

    PlotWindow &plotWindow() { return *plotWindow_; }

private:
    void plot();
    /// The window's problem with the fields' texts, compiled; null when the
    /// constants could not be registered (the engine's box has said why).
    std::unique_ptr<PlotInput> problemToPlot();
    std::vector<int> groupRows() const;
    void selectInList(int solution);
    void listRowChanged(int row);

    MainWindow &window_;
    std::unique_ptr<PlotWindow> plotWindow_;
    bool selectingInList_ = false;
};

}  // namespace zl::gui

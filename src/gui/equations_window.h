#pragma once
// frmEquations, "Enter equations": a view of the equation grid model in a
// two-column grid (label, equation), edited in place through a floating edit
// box laid over the current cell. Each keystroke in the box is committed at
// once to the cell and to the model, which has the main window copy every row
// into its equation fields.

#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;

namespace zl::gui {

class CellEditBox;
class EquationGridModel;

class EquationsWindow : public QWidget {
    Q_OBJECT
public:
    /// The model outlives the window; everything it holds (rows, labels,
    /// caption) stays on show however often the window is closed.
    explicit EquationsWindow(EquationGridModel &model, QWidget *parent = nullptr);

    QString cellText(int row, int column) const;
    QString variablesCaption() const;
    /// Column 1 = column 0 x 8.8 (rounded, halves to even), aligned left and
    /// vertically centred. Derived from column 0, so applying it twice is harmless.
    void applyEquationColumnLayout();

    QTableWidget *grid() const { return MSFlexGridEqs; }
    CellEditBox *editBox() const { return txtDataEntry; }
    QPushButton *okButton() const { return cmdExit; }

public slots:
    /// Shows, at the current cell, the edit box holding that cell's text.
    void BeginCellEdit();
    void CommitGridEquations();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void layOutControls();
    void connectModel();
    void showRowCount(int rows);
    void showRow(int row);
    void setCellText(int row, int column, const QString &text);
    void placeEditBoxOverCurrentCell();
    void startEditWithTypedText(const QString &typed);
    void NavigateCell(Qt::Key key);
    void onEditBoxFocused();
    void onCellClicked(int row, int column);
    void keepCurrentColumnEditable(int row, int column);
    void acceptAndHide();

    EquationGridModel &model_;
    QLabel *lblVarNams = nullptr;
    QTableWidget *MSFlexGridEqs = nullptr;
    CellEditBox *txtDataEntry = nullptr;
    QPushButton *cmdExit = nullptr;

    bool editBoxWasFocused_ = false;
    // Set while the box takes the focus because a character was typed on the
    // grid: the caret then stays after that character instead of selecting it,
    // so the next keystroke does not overwrite it.
    bool keepCaretAfterTypedText_ = false;
};

}  // namespace zl::gui

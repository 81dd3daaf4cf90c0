#pragma once
// frmEquations, "Enter equations": every equation of the problem in a
// two-column grid (label, equation), edited in place through a floating edit
// box laid over the current cell. Each keystroke in the box is committed at
// once: the cell, then every row handed back through equationEdited so that
// the main window's equation fields follow.

#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;

namespace zl::gui {

class CellEditBox;

class EquationsWindow : public QWidget {
    Q_OBJECT
public:
    explicit EquationsWindow(QWidget *parent = nullptr);

    // Set-up from outside: the window keeps all of it until the program ends.
    void setRowCount(int rows);
    int rowCount() const;
    void setRowLabel(int row, const QString &label);
    QString rowLabel(int row) const;
    void setEquation(int row, const QString &text);
    QString equation(int row) const;
    void setVariablesCaption(const QString &caption);
    QString variablesCaption() const;
    /// Column 1 = column 0 x 8.8 (rounded, halves to even), aligned left and
    /// vertically centred. Derived from column 0, so applying it twice is harmless.
    void applyEquationColumnLayout();

    bool editBoxFocusedOnce() const { return editBoxWasFocused; }

    QTableWidget *grid() const { return MSFlexGridEqs; }
    CellEditBox *editBox() const { return txtDataEntry; }
    QPushButton *okButton() const { return cmdExit; }

signals:
    /// Emitted for every row, in order, at each commit: equation field `row`
    /// of the main window is to hold `text`.
    void equationEdited(int row, const QString &text);

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
    void placeEditBoxOverCurrentCell();
    void startEditWithTypedText(const QString &typed);
    void NavigateCell(Qt::Key key);
    void onEditBoxFocused();
    void onCellClicked(int row, int column);
    void keepCurrentColumnEditable(int row, int column);
    void acceptAndHide();

    QLabel *lblVarNams = nullptr;
    QTableWidget *MSFlexGridEqs = nullptr;
    CellEditBox *txtDataEntry = nullptr;
    QPushButton *cmdExit = nullptr;

    bool editBoxWasFocused = false;
    // Set while the box takes the focus because a character was typed on the
    // grid: the caret then stays after that character instead of selecting it,
    // so the next keystroke does not overwrite it.
    bool keepCaretAfterTypedText = false;
};

} // namespace zl::gui

#pragma once
// What the equations grid shows: one row per equation with its label
// ("Equat.#1:") and its text, and the variables caption above the grid. The
// main window writes it as its fields change; the grid window shows it and
// hands its own edits back through editFromGrid.

#include <QObject>
#include <QString>
#include <QStringList>

namespace zl::gui {

class EquationGridModel : public QObject {
    Q_OBJECT
public:
    explicit EquationGridModel(QObject *parent = nullptr);

    int rowCount() const { return static_cast<int>(labels_.size()); }
    /// New rows start empty; texts of the rows kept stay.
    void setRowCount(int rows);

    QString rowLabel(int row) const;
    /// Writes "Equat.#1:", "Equat.#2:", ... into every row.
    void writeRowLabels();
    static QString rowLabelText(int row);

    QString equationText(int row) const;
    /// Ignored for a row that does not exist.
    void setEquationText(int row, const QString &text);

    QString variablesCaption() const { return variablesCaption_; }
    void setVariablesCaption(const QString &caption);

    /// While locked (a run is under way) editFromGrid refuses every edit.
    bool editingLocked() const { return editingLocked_; }
    void setEditingLocked(bool locked);

    /// An edit made in the grid: false when refused (locked, or no such row).
    /// Otherwise the row takes the text and the main window copies every row
    /// into its equation fields (equationsEditedInGrid).
    [[nodiscard]] bool editFromGrid(int row, const QString &text);

signals:
    void rowCountChanged(int rows);
    void rowLabelChanged(int row);
    void equationTextChanged(int row);
    void variablesCaptionChanged(const QString &caption);
    void editingLockedChanged(bool locked);
    void equationsEditedInGrid();

private:
    bool hasRow(int row) const { return row >= 0 && row < rowCount(); }

    QStringList labels_;
    QStringList texts_;
    QString variablesCaption_;
    bool editingLocked_ = false;
};

}  // namespace zl::gui

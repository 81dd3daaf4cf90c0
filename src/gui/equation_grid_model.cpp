#include "gui/equation_grid_model.h"

namespace zl::gui {

EquationGridModel::EquationGridModel(QObject *parent)
    : QObject(parent), labels_(1), texts_(1), variablesCaption_(QStringLiteral("Variables:")) {
    // One row before the order is known, so that equation field 0 has its row.
}

void EquationGridModel::setRowCount(int rows) {
    rows = qMax(rows, 0);
    if (rows == rowCount()) return;
    labels_.resize(rows);
    texts_.resize(rows);
    emit rowCountChanged(rows);
}

QString EquationGridModel::rowLabel(int row) const { return hasRow(row) ? labels_[row] : QString(); }

QString EquationGridModel::rowLabelText(int row) { return QStringLiteral("Equat.#%1:").arg(row + 1); }

void EquationGridModel::writeRowLabels() {
    for (int row = 0; row < rowCount(); ++row) {
        labels_[row] = rowLabelText(row);
        emit rowLabelChanged(row);
    }
}

QString EquationGridModel::equationText(int row) const { return hasRow(row) ? texts_[row] : QString(); }

void EquationGridModel::setEquationText(int row, const QString &text) {
    if (!hasRow(row) || texts_[row] == text) return;
    texts_[row] = text;
    emit equationTextChanged(row);
}

void EquationGridModel::setVariablesCaption(const QString &caption) {
    if (caption == variablesCaption_) return;
    variablesCaption_ = caption;
    emit variablesCaptionChanged(caption);
}

void EquationGridModel::setEditingLocked(bool locked) {
    if (locked == editingLocked_) return;
    editingLocked_ = locked;
    emit editingLockedChanged(locked);
}

bool EquationGridModel::editFromGrid(int row, const QString &text) {
    if (editingLocked_ || !hasRow(row)) return false;
    setEquationText(row, text);
    emit equationsEditedInGrid();
    return true;
}

}  // namespace zl::gui

#include "gui/equations_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/numbers/number_reading.h"
#include "gui/cell_edit_box.h"
#include "gui/elided_label.h"
#include "gui/equation_grid_model.h"

namespace zl::gui {

namespace {

constexpr int kLabelColumn = 0;
constexpr int kEquationColumn = 1;
constexpr int kFixedColumns = 1;
constexpr int kFixedRows = 0;
constexpr double kEquationColumnFactor = 8.8;
constexpr Qt::Alignment kEquationAlignment = Qt::AlignLeft | Qt::AlignVCenter;

QTableWidgetItem *newLabelItem(const QPalette &palette) {
    auto *item = new QTableWidgetItem;
    item->setFlags(Qt::ItemIsEnabled);  // never selectable: a header column
    item->setBackground(palette.button());
    item->setForeground(palette.buttonText());
    return item;
}

QTableWidgetItem *newEquationItem() {
    auto *item = new QTableWidgetItem;
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);  // edited through the box only
    item->setTextAlignment(kEquationAlignment);
    return item;
}

}  // namespace

EquationsWindow::EquationsWindow(EquationGridModel &gridModel, QWidget *parent)
    : QWidget(parent, Qt::Window), model_(gridModel) {
    setWindowTitle(QStringLiteral("Enter equations"));
    buildControls();
    layOutControls();
    connectModel();
    showRowCount(model_.rowCount());
    lblVarNams->setText(model_.variablesCaption());
    txtDataEntry->setReadOnly(model_.editingLocked());
    applyEquationColumnLayout();
}

void EquationsWindow::connectModel() {
    connect(&model_, &EquationGridModel::rowCountChanged, this, &EquationsWindow::showRowCount);
    connect(&model_, &EquationGridModel::rowLabelChanged, this, &EquationsWindow::showRow);
    connect(&model_, &EquationGridModel::equationTextChanged, this, &EquationsWindow::showRow);
    connect(&model_, &EquationGridModel::variablesCaptionChanged, lblVarNams, &QLabel::setText);
    connect(&model_, &EquationGridModel::editingLockedChanged, txtDataEntry, &QLineEdit::setReadOnly);
}

void EquationsWindow::buildControls() {
    lblVarNams = new ElidedLabel(QStringLiteral("Variables:"), this);  // shows the typed names
    lblVarNams->setObjectName(QStringLiteral("lblVarNams"));

    MSFlexGridEqs = new QTableWidget(0, 2, this);
    MSFlexGridEqs->setObjectName(QStringLiteral("MSFlexGridEqs"));
    MSFlexGridEqs->horizontalHeader()->hide();
    MSFlexGridEqs->verticalHeader()->hide();
    MSFlexGridEqs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MSFlexGridEqs->setSelectionMode(QAbstractItemView::SingleSelection);
    MSFlexGridEqs->setSelectionBehavior(QAbstractItemView::SelectItems);
    MSFlexGridEqs->setTabKeyNavigation(false);
    MSFlexGridEqs->setWordWrap(false);
    const QFontMetrics metrics(MSFlexGridEqs->font());
    MSFlexGridEqs->setColumnWidth(kLabelColumn, metrics.horizontalAdvance(QStringLiteral("Equat.#100:")) + 12);
    MSFlexGridEqs->installEventFilter(this);
    connect(MSFlexGridEqs, &QTableWidget::cellClicked, this, &EquationsWindow::onCellClicked);
    connect(MSFlexGridEqs, &QTableWidget::currentCellChanged, this,
            [this](int row, int column) { keepCurrentColumnEditable(row, column); });

    txtDataEntry = new CellEditBox(this);
    txtDataEntry->setObjectName(QStringLiteral("txtDataEntry"));
    txtDataEntry->hide();
    connect(txtDataEntry, &QLineEdit::textChanged, this, &EquationsWindow::CommitGridEquations);
    connect(txtDataEntry, &CellEditBox::focusReceived, this, &EquationsWindow::onEditBoxFocused);
    connect(txtDataEntry, &CellEditBox::arrowKeyPressed, this, &EquationsWindow::NavigateCell);

    cmdExit = new QPushButton(QStringLiteral("OK"), this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    connect(cmdExit, &QPushButton::clicked, this, &EquationsWindow::acceptAndHide);
}

void EquationsWindow::layOutControls() {
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(cmdExit);
    buttonRow->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblVarNams);
    layout->addWidget(MSFlexGridEqs, 1);
    layout->addLayout(buttonRow);
}

void EquationsWindow::applyEquationColumnLayout() {
    const int labelWidth = MSFlexGridEqs->columnWidth(kLabelColumn);
    const int equationWidth = static_cast<int>(roundHalfEven(labelWidth * kEquationColumnFactor));
    MSFlexGridEqs->setColumnWidth(kEquationColumn, equationWidth);
    for (int row = 0; row < MSFlexGridEqs->rowCount(); ++row)
        MSFlexGridEqs->item(row, kEquationColumn)->setTextAlignment(kEquationAlignment);

    const int frame = 2 * MSFlexGridEqs->frameWidth();
    const int scrollBar = MSFlexGridEqs->verticalScrollBar()->sizeHint().width();
    MSFlexGridEqs->setMinimumWidth(labelWidth + equationWidth + frame + scrollBar);
}

void EquationsWindow::showRowCount(int rows) {
    const int oldRows = MSFlexGridEqs->rowCount();
    MSFlexGridEqs->setRowCount(rows);
    for (int row = oldRows; row < rows; ++row) {
        MSFlexGridEqs->setItem(row, kLabelColumn, newLabelItem(palette()));
        MSFlexGridEqs->setItem(row, kEquationColumn, newEquationItem());
        showRow(row);
    }
    if (rows == 0) txtDataEntry->hide();
}

void EquationsWindow::showRow(int row) {
    setCellText(row, kLabelColumn, model_.rowLabel(row));
    setCellText(row, kEquationColumn, model_.equationText(row));
}

void EquationsWindow::setCellText(int row, int column, const QString &text) {
    if (QTableWidgetItem *item = MSFlexGridEqs->item(row, column)) item->setText(text);
}

QString EquationsWindow::cellText(int row, int column) const {
    const QTableWidgetItem *item = MSFlexGridEqs->item(row, column);
    return item ? item->text() : QString();
}

QString EquationsWindow::variablesCaption() const { return lblVarNams->text(); }

void EquationsWindow::keepCurrentColumnEditable(int row, int column) {
    if (row >= 0 && column == kLabelColumn) MSFlexGridEqs->setCurrentCell(row, kEquationColumn);
}

void EquationsWindow::placeEditBoxOverCurrentCell() {
    const QModelIndex cell = MSFlexGridEqs->currentIndex();
    MSFlexGridEqs->scrollTo(cell);
    const QRect cellRect = MSFlexGridEqs->visualRect(cell);
    const QPoint topLeft = MSFlexGridEqs->viewport()->mapTo(this, cellRect.topLeft());
    txtDataEntry->setGeometry(QRect(topLeft, cellRect.size()));
    txtDataEntry->setToolTip(cellText(cell.row(), kEquationColumn));
    txtDataEntry->raise();
}

void EquationsWindow::BeginCellEdit() {
    if (MSFlexGridEqs->rowCount() == 0) return;
    if (MSFlexGridEqs->currentRow() < 0) MSFlexGridEqs->setCurrentCell(0, kEquationColumn);
    placeEditBoxOverCurrentCell();
    txtDataEntry->setText(cellText(MSFlexGridEqs->currentRow(), kEquationColumn));
    txtDataEntry->show();
    txtDataEntry->setFocus(Qt::OtherFocusReason);
}

void EquationsWindow::startEditWithTypedText(const QString &typed) {
    if (MSFlexGridEqs->rowCount() == 0 || model_.editingLocked()) return;
    if (MSFlexGridEqs->currentRow() < 0) MSFlexGridEqs->setCurrentCell(0, kEquationColumn);
    txtDataEntry->show();
    // The box may already hold this very text from an earlier edit; the typed
    // character must still replace the cell.
    const bool unchanged = txtDataEntry->text() == typed;
    txtDataEntry->setText(typed);
    if (unchanged) CommitGridEquations();
    txtDataEntry->setCursorPosition(static_cast<int>(typed.size()));
    placeEditBoxOverCurrentCell();
    keepCaretAfterTypedText_ = true;
    txtDataEntry->setFocus(Qt::OtherFocusReason);
    if (txtDataEntry->hasFocus()) keepCaretAfterTypedText_ = false;
}

void EquationsWindow::CommitGridEquations() {
    if (txtDataEntry->isHidden()) return;
    const int current = MSFlexGridEqs->currentRow();
    if (current < 0) return;
    setCellText(current, kEquationColumn, txtDataEntry->text());
    if (!model_.editFromGrid(current, txtDataEntry->text()))
        showRow(current);  // refused while a run is under way: the cell keeps the model's text
}

void EquationsWindow::NavigateCell(Qt::Key key) {
    MSFlexGridEqs->setFocus(Qt::OtherFocusReason);
    const int row = MSFlexGridEqs->currentRow();
    const int column = MSFlexGridEqs->currentColumn();
    int targetRow = row;
    int targetColumn = column;
    switch (key) {
    case Qt::Key_Left:
        if (column > kFixedColumns) targetColumn = column - 1;
        break;
    case Qt::Key_Up:
        if (row > kFixedRows) targetRow = row - 1;
        break;
    case Qt::Key_Right:
        if (column < MSFlexGridEqs->columnCount() - 1) targetColumn = column + 1;
        break;
    case Qt::Key_Down:
        if (row < MSFlexGridEqs->rowCount() - 1) targetRow = row + 1;
        break;
    default:
        return;
    }
    if (row < 0 || (targetRow == row && targetColumn == column)) return;
    MSFlexGridEqs->setCurrentCell(targetRow, targetColumn);
    BeginCellEdit();
}

void EquationsWindow::onEditBoxFocused() {
    if (keepCaretAfterTypedText_) {
        keepCaretAfterTypedText_ = false;
        editBoxWasFocused_ = true;
        txtDataEntry->setCursorPosition(static_cast<int>(txtDataEntry->text().size()));
        return;
    }
    if (editBoxWasFocused_)
        txtDataEntry->selectAll();
    else
        editBoxWasFocused_ = true;
}

void EquationsWindow::onCellClicked(int row, int column) {
    if (column == kLabelColumn) MSFlexGridEqs->setCurrentCell(row, kEquationColumn);
    BeginCellEdit();
}

bool EquationsWindow::eventFilter(QObject *watched, QEvent *event) {
    if (watched == MSFlexGridEqs && event->type() == QEvent::KeyPress) {
        const auto *keyEvent = static_cast<QKeyEvent *>(event);
        const bool focusKey = keyEvent->key() == Qt::Key_Tab || keyEvent->key() == Qt::Key_Backtab;
        // Any key that yields a character, control characters included,
        // starts a new text for the current cell.
        if (!focusKey && !keyEvent->text().isEmpty()) {
            startEditWithTypedText(keyEvent->text().left(1));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void EquationsWindow::acceptAndHide() {
    CommitGridEquations();
    hide();
    txtDataEntry->hide();
}

void EquationsWindow::closeEvent(QCloseEvent *event) {
    // The title-bar close acts as OK: the window is only hidden, so its rows,
    // labels and column widths stay as they were set up.
    CommitGridEquations();
    txtDataEntry->hide();
    event->accept();
}

}  // namespace zl::gui

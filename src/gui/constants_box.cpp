#include "gui/constants_box.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

#include "gui/user_dialogs.h"

namespace zl::gui {

ConstantsBox::ConstantsBox(QComboBox &box, QAbstractButton &addButton, QAbstractButton &removeButton,
                           ProblemSpec &record, UserDialogs &dialogs, StatementRunner runStatement)
    : QObject(&box), box_(box), addButton_(addButton), record_(record), dialogs_(dialogs),
      runStatement_(std::move(runStatement)), constants_(items_, record) {
    // No completion: it would complete "a=2" to a listed "a=2.37" under the
    // user's Enter, and pick items the user only typed.
    box_.setCompleter(nullptr);
    box_.installEventFilter(this);  // keys reach the box, which hands them to its line edit
    connect(box_.lineEdit(), &QLineEdit::textEdited, this, [this] {
        selectedItem_ = -1;  // typed over: no longer the picked item
        emit textChanged();
    });
    // Picked from the list, or typed exactly as an item and left (the box then
    // takes that item as current).
    connect(&box_, &QComboBox::activated, this, [this](int index) { selectedItem_ = index; });
    connect(&addButton, &QAbstractButton::clicked, this, &ConstantsBox::add);
    connect(&removeButton, &QAbstractButton::clicked, this, &ConstantsBox::remove);
}

void ConstantsBox::appendItem(const std::string &item) {
    items_.push_back(item);
    showItems();
}

bool ConstantsBox::eventFilter(QObject *watched, QEvent *event) {
    if (watched == &box_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) addButton_.click();
    }
    return false;  // the box handles every key as usual, Enter included
}

void ConstantsBox::add() {
    switch (constants_.add(box_.currentText().toStdString())) {
    case ConstantAddResult::Added:
        showItems();
        selectedItem_ = -1;
        box_.setEditText(QString());
        emit textChanged();
        break;
    case ConstantAddResult::TableFull:
        dialogs_.showMessage(box_.window(), tableFullMessage());
        break;
    case ConstantAddResult::Refused:
        break;  // silently: the text stays in the box to be corrected
    }
}

void ConstantsBox::remove() {
    const ConstantRemoval removal = constants_.remove(selectedItem_);
    if (!removal.removed) return;
    selectedItem_ = -1;
    // The engine is never reset: the removed name stays defined, as 0.
    if (removal.engineStatement) runStatement_(*removal.engineStatement);
    showItems();
    // The removed line must not stay in the box as if it were still listed;
    // emptying the box is an edit of the constants like any other.
    box_.setEditText(QString());
    emit textChanged();
}

/// Rebuilds the drop-down list from items_, leaving the typed text alone.
void ConstantsBox::showItems() {
    const QSignalBlocker quiet(&box_);
    const QString text = box_.currentText();
    box_.clear();
    for (const std::string &item : items_) box_.addItem(QString::fromStdString(item));
    box_.setCurrentIndex(-1);
    box_.setEditText(text);
}

QString ConstantsBox::tableFullMessage() const {
    return QStringLiteral("The constants table is full: it holds %1 constants. "
                          "Remove one before adding another.")
        .arg(kConstantSlots);
}

}  // namespace zl::gui

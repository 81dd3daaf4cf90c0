#include "gui/cell_edit_box.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace zl::gui {

CellEditBox::CellEditBox(QWidget *parent) : QLineEdit(parent) {}

void CellEditBox::focusInEvent(QFocusEvent *event) {
    // The owner alone decides whether the text gets selected, so the line
    // edit's own select-all on Tab is not wanted.
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason) {
        QFocusEvent plain(QEvent::FocusIn, Qt::OtherFocusReason);
        QLineEdit::focusInEvent(&plain);
    } else {
        QLineEdit::focusInEvent(event);
    }
    emit focusReceived();
}

void CellEditBox::keyPressEvent(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
        event->accept();
        emit arrowKeyPressed(static_cast<Qt::Key>(event->key()));
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

}  // namespace zl::gui

#include "gui/select_all_on_focus.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace zl::gui {

void SelectAllOnFocus::attach(QLineEdit *field) { field->installEventFilter(this); }

bool SelectAllOnFocus::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() != QEvent::FocusIn) return false;
    auto *field = qobject_cast<QLineEdit *>(watched);
    if (!field) return false;
    field->selectAll();
    // A click that brings the focus places the caret after this event; select
    // again once the click has been handled.
    if (static_cast<QFocusEvent *>(event)->reason() == Qt::MouseFocusReason) {
        QTimer::singleShot(0, field, [target = QPointer<QLineEdit>(field)] {
            if (target && target->hasFocus()) target->selectAll();
        });
    }
    return false;
}

}  // namespace zl::gui

#include "gui/guarded_application.h"

#include <new>

#include "core/eval/script_error.h"
#include "core/eval/script_error_catalogue.h"
#include "gui/user_dialogs.h"

namespace zl::gui {

bool GuardedApplication::notify(QObject *receiver, QEvent *event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc &) {
        reportOutOfMemory();
        return false;
    }
}

// The command's own clean-up (its locks, the busy pointer) has run while the
// exception left it; the problem, the fields and the solutions found so far
// stay as they were.
void GuardedApplication::reportOutOfMemory() {
    if (reporting_ || !dialogs_) return;  // the box itself ran out: nothing more to say
    reporting_ = true;
    constexpr std::int32_t number = errorNumber(ScriptErrorCode::OutOfMemory);
    dialogs_->showMessage(activeWindow(), QStringLiteral("Error %1: %2\n\nThe command was stopped.")
                                              .arg(number)
                                              .arg(QString::fromUtf8(errorDescription(number).data())));
    reporting_ = false;
}

}  // namespace zl::gui

#include "gui/focus_guard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace zl::gui {

namespace {

const char *const kCausesValidation = "causesValidation";

bool isExempt(const QWidget *widget) {
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        const QVariant flag = w->property(kCausesValidation);
        if (flag.isValid() && !flag.toBool()) return true;
        if (w->isWindow()) break;
    }
    return false;
}

bool isInside(const QWidget *widget, const QWidget *field) { return widget == field || field->isAncestorOf(widget); }

/// Whether a press on `target` would take the focus or press a button. Presses
/// on labels, frames and disabled controls do neither, so they are no attempt
/// to leave the field.
bool pressWouldAct(const QWidget *target) {
    for (const QWidget *w = target; w; w = w->parentWidget()) {
        if (!w->isEnabled()) return false;
        if (qobject_cast<const QAbstractButton *>(w) || (w->focusPolicy() & Qt::ClickFocus)) return true;
        if (w->isWindow()) break;
    }
    return false;
}

bool takesTabFocus(const QWidget *w) {
    return (w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled() && !w->focusProxy();
}

/// Where Tab (forward) or Shift+Tab would move the focus from `field`; the
/// field itself when nothing else takes it.
QWidget *tabTarget(QWidget *field, bool forward) {
    QWidget *w = field;
    do {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (w->window() == field->window() && takesTabFocus(w)) return w;
    } while (w != field);
    return field;
}

bool isTabKey(const QKeyEvent *event, bool &forward) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    const bool backtab =
        event->key() == Qt::Key_Backtab || (event->key() == Qt::Key_Tab && (event->modifiers() & Qt::ShiftModifier));
    forward = !backtab;
    return backtab || event->key() == Qt::Key_Tab;
}

}  // namespace

FocusGuard::FocusGuard(QObject *parent) : QObject(parent) {
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &FocusGuard::onFocusChanged);
}

FocusGuard::~FocusGuard() { qApp->removeEventFilter(this); }

void FocusGuard::guard(QWidget *field, Check check, LeaveAction afterLeave) {
    fields_.push_back({field, std::move(check), std::move(afterLeave)});
}

void FocusGuard::exempt(QWidget *widget) { widget->setProperty(kCausesValidation, false); }

const FocusGuard::GuardedField *FocusGuard::findGuarded(const QWidget *widget) const {
    if (!widget) return nullptr;
    for (const GuardedField &guarded : fields_)
        if (guarded.field == widget) return &guarded;
    return nullptr;
}

const FocusGuard::GuardedField *FocusGuard::focusedGuarded() const { return findGuarded(QApplication::focusWidget()); }

bool FocusGuard::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (auto *window = qobject_cast<QWindow *>(watched))
            return filterWindowPress(window, static_cast<QMouseEvent *>(event));
        if (watched->isWidgetType()) return filterWidgetPress(static_cast<QWidget *>(watched));
        break;
    case QEvent::MouseButtonRelease:
        bounced_ = nullptr;
        break;
    case QEvent::KeyPress:
        if (watched->isWidgetType())  // the QWindow sees a copy first; act on the widget's
            return filterTab(static_cast<QWidget *>(watched), static_cast<QKeyEvent *>(event));
        break;
    case QEvent::Shortcut:
        if (watched->isWidgetType())  // mnemonics of buttons and label buddies
            return filterShortcut(static_cast<QWidget *>(watched));
        break;
    default:
        break;
    }
    return false;
}

// A real click reaches the top-level window before the application moves the
// focus, so refusing it here keeps the focus from ever leaving.
bool FocusGuard::filterWindowPress(QWindow *window, QMouseEvent *event) {
    bounced_ = nullptr;
    const GuardedField *guarded = focusedGuarded();
    if (!guarded) return false;
    QWidget *top = guarded->field->window();
    if (top->windowHandle() != window) return false;
    QWidget *target = top->childAt(event->position().toPoint());
    if (!target || !pressWouldAct(target)) return false;
    return refuseLeaving(*guarded, target);
}

// A press sent straight to a widget has already moved the focus; the focus
// handler has pulled it back and remembered the widget, whose press is dropped.
bool FocusGuard::filterWidgetPress(QWidget *target) {
    if (bounced_ && target == bounced_) return true;
    const GuardedField *guarded = focusedGuarded();
    if (!guarded || !pressWouldAct(target)) return false;
    return refuseLeaving(*guarded, target);
}

bool FocusGuard::filterTab(QWidget *watched, QKeyEvent *event) {
    bool forward = true;
    if (!isTabKey(event, forward)) return false;
    const GuardedField *guarded = findGuarded(watched);
    if (!guarded || watched != QApplication::focusWidget()) return false;
    return refuseLeaving(*guarded, tabTarget(watched, forward));
}

bool FocusGuard::filterShortcut(QWidget *target) {
    const GuardedField *guarded = focusedGuarded();
    return guarded && refuseLeaving(*guarded, target);
}

bool FocusGuard::refuseLeaving(const GuardedField &guarded, QWidget *target) {
    QWidget *field = guarded.field;
    if (!target || isInside(target, field) || target->window() != field->window() || isExempt(target)) return false;
    const Check check = guarded.check;
    return !check();
}

void FocusGuard::onFocusChanged(QWidget *old, QWidget *now) {
    if (pullingBack_) return;
    const GuardedField *guarded = findGuarded(old);
    // Switching to another window, or the application losing the focus, is no
    // leaving: the field gets the focus back when its window is activated.
    if (!guarded || !now || now->window() != old->window() || isInside(now, old)) return;
    // Copies: a leave action may guard new fields, which moves the table.
    const Check check = guarded->check;
    const LeaveAction afterLeave = guarded->afterLeave;
    if (check()) {
        if (afterLeave) afterLeave();
        return;
    }
    pullingBack_ = true;
    bounced_ = now;
    old->setFocus(Qt::OtherFocusReason);
    pullingBack_ = false;
}

}  // namespace zl::gui

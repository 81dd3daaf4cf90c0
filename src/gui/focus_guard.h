#pragma once
// Fields that refuse to give up the focus while their text is invalid.
//
// One application-wide event filter. While the focused widget is a guarded
// field, every gesture that would move the focus to another widget of the
// same window (a click that would focus or press something, Tab or Shift+Tab,
// a mnemonic) first runs the field's check. A failed check swallows the
// gesture: the focus stays, nothing else acts, and no message is shown. A
// passed check lets it through, and once the focus has really left the field
// its leave action runs. Focus moved by other means (setFocus, events sent
// straight to a widget) is caught afterwards and pulled back.
//
// Widgets carrying the property causesValidation=false (the menu bar) are
// never blocked.

#include <QObject>
#include <QPointer>

#include <functional>
#include <vector>

class QKeyEvent;
class QMouseEvent;
class QWidget;
class QWindow;

namespace zl::gui {

class FocusGuard : public QObject {
    Q_OBJECT
public:
    /// May have side effects (normalising the text) but must not move the focus.
    using Check = std::function<bool()>;
    using LeaveAction = std::function<void()>;

    /// Installs itself on the application; removed again when destroyed.
    explicit FocusGuard(QObject *parent = nullptr);
    ~FocusGuard() override;

    void guard(QWidget *field, Check check, LeaveAction afterLeave = {});

    /// Marks `widget` and its children as never blocked by a field's check.
    static void exempt(QWidget *widget);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct GuardedField {
        QPointer<QWidget> field;
        Check check;
        LeaveAction afterLeave;
    };

    const GuardedField *findGuarded(const QWidget *widget) const;
    const GuardedField *focusedGuarded() const;
    bool filterWindowPress(QWindow *window, QMouseEvent *event);
    bool filterWidgetPress(QWidget *target);
    bool filterTab(QWidget *watched, QKeyEvent *event);
    bool filterShortcut(QWidget *target);
    /// true = swallow: `target` would take the focus or act, and the check fails.
    bool refuseLeaving(const GuardedField &guarded, QWidget *target);
    void onFocusChanged(QWidget *old, QWidget *now);

    std::vector<GuardedField> fields_;
    QPointer<QWidget> bounced_;  ///< the next press on it is swallowed
    bool pullingBack_ = false;
};

}  // namespace zl::gui

#pragma once
// Text fields that select their whole text whenever they receive the focus,
// so that typing replaces the old value.

#include <QObject>

class QLineEdit;

namespace zl::gui {

class SelectAllOnFocus : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    void attach(QLineEdit *field);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

}  // namespace zl::gui

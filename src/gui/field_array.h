#pragma once
// A control array of text fields: element 0 exists from the start, the others
// are added later as hidden copies of element 0. All elements share one place
// in the window; only the visible one takes room there. Every element keeps
// its own text while hidden.

#include <QList>
#include <QString>

class QGridLayout;
class QObject;
class QLineEdit;
class QWidget;

namespace zl::gui {

class FieldArray {
public:
    /// Creates the place (a child of `parent`) and element 0 in it.
    FieldArray(QWidget *parent, const QString &name, const QString &text, const QString &toolTip = {});

    /// The widget to put into the window's layout.
    QWidget *place() const { return place_; }

    int count() const { return static_cast<int>(elements_.size()); }
    QLineEdit *at(int index) const { return elements_.value(index); }
    /// The index of `field` in this array, or -1.
    int indexOf(const QObject *field) const;

    /// A new last element: a hidden copy of element 0 as it is now (text,
    /// tooltip, font, size limits).
    QLineEdit *appendCopyOfFirst();

    /// Hides every element in index order, then shows element `index`.
    void showOnly(int index);

private:
    QLineEdit *newElement(const QString &name, int index);

    QWidget *place_;
    QGridLayout *stack_;
    QList<QLineEdit *> elements_;
};

}  // namespace zl::gui

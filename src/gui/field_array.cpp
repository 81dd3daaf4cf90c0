#include "gui/field_array.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QWidget>

namespace zl::gui {

namespace {
const char *const kIndexProperty = "index";
}

FieldArray::FieldArray(QWidget *parent, const QString &name, const QString &text, const QString &toolTip)
    : place_(new QWidget(parent)), stack_(new QGridLayout(place_)) {
    place_->setObjectName(name + QStringLiteral("Place"));
    stack_->setContentsMargins(0, 0, 0, 0);
    QLineEdit *first = newElement(name, 0);
    first->setText(text);
    first->setToolTip(toolTip);
}

QLineEdit *FieldArray::newElement(const QString &name, int index) {
    auto *field = new QLineEdit(place_);
    field->setObjectName(name);
    field->setProperty(kIndexProperty, index);
    stack_->addWidget(field, 0, 0);  // every element in the same cell
    elements_.append(field);
    return field;
}

int FieldArray::indexOf(const QObject *field) const {
    for (int i = 0; i < count(); ++i)
        if (elements_[i] == field) return i;
    return -1;
}

QLineEdit *FieldArray::appendCopyOfFirst() {
    const QLineEdit *first = elements_.first();
    QLineEdit *copy = newElement(first->objectName(), count());
    copy->hide();  // explicitly, so that showing the window does not show it
    copy->setText(first->text());
    copy->setToolTip(first->toolTip());
    copy->setFont(first->font());
    copy->setMinimumSize(first->minimumSize());
    copy->setMaximumSize(first->maximumSize());
    copy->setSizePolicy(first->sizePolicy());
    copy->setAlignment(first->alignment());
    copy->setMaxLength(first->maxLength());
    return copy;
}

void FieldArray::showOnly(int index) {
    for (QLineEdit *field : elements_) field->hide();
    if (QLineEdit *shown = at(index)) shown->show();
}

}  // namespace zl::gui

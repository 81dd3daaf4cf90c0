#pragma once
// The "User constants" box: an editable list of "name=value" lines with Add
// and Remove. Enter in the box presses Add. The rules for names, replacing
// and the table's limit are the core's (UserConstants); this class keeps the
// box's list in step with them.

#include <QObject>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/problem/user_constants.h"

class QAbstractButton;
class QComboBox;
class QWidget;

namespace zl::gui {

class UserDialogs;

class ConstantsBox : public QObject {
    Q_OBJECT
public:
    using StatementRunner = std::function<void(std::string_view)>;

    /// `runStatement` executes Remove's statement that sets the removed name to 0.
    ConstantsBox(QComboBox &box, QAbstractButton &addButton, QAbstractButton &removeButton, ProblemSpec &record,
                 UserDialogs &dialogs, StatementRunner runStatement);

    /// The list's items in order: what a run registers in the engine.
    const std::vector<std::string> &items() const { return items_; }
    /// Appends an item to the list only (a constant read from a file goes into
    /// the table by the reader).
    void appendItem(const std::string &item);

signals:
    /// The box's text was typed into or cleared by Add: the solutions are stale.
    void textChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void add();
    void remove();
    void showItems();
    QString tableFullMessage() const;

    QComboBox &box_;
    QAbstractButton &addButton_;
    ProblemSpec &record_;
    UserDialogs &dialogs_;
    StatementRunner runStatement_;
    std::vector<std::string> items_;
    UserConstants constants_;
    int selectedItem_ = -1;  ///< picked from the list and not typed over since; -1 for none
};

}  // namespace zl::gui

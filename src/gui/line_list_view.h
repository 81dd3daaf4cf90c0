#pragma once
// A list of text lines for millions of lines: a one-column table without
// headers or grid, every row one line high. A list view lays out all its
// rows again after every insertion; a table's rows of one fixed height cost
// next to nothing to add, so the list stays smooth while a run appends.

#include <QTableView>

namespace zl::gui {

class LineListView : public QTableView {
    Q_OBJECT
public:
    explicit LineListView(QWidget *parent = nullptr);

    /// The least width of the lines' column: the wider lines scroll sideways.
    void setLineWidth(int pixels);

protected:
    void changeEvent(QEvent *event) override;

private:
    void fitRowHeight();
};

}  // namespace zl::gui

#pragma once
// The lines of the solution list as a model: held as the solver writes them
// (one byte string a line) and turned into text only for the rows on show, so
// that a list of millions of lines costs little memory and scrolls smoothly.

#include <QAbstractListModel>

#include <string>
#include <vector>

namespace zl::gui {

class SolutionListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    /// Appends `lines` at the end in one insertion, which the view takes in one step.
    void appendLines(std::vector<std::string> lines);
    void clear();
    const std::vector<std::string> &lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
};

}  // namespace zl::gui

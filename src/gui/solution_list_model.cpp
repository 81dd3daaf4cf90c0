#include "gui/solution_list_model.h"

#include <iterator>

namespace zl::gui {

int SolutionListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

QVariant SolutionListModel::data(const QModelIndex &index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return {};
    return QString::fromStdString(lines_[static_cast<std::size_t>(index.row())]);
}

void SolutionListModel::appendLines(std::vector<std::string> lines) {
    if (lines.empty()) return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(lines.size()) - 1);
    if (lines_.empty())
        lines_ = std::move(lines);
    else
        lines_.insert(lines_.end(), std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
    endInsertRows();
}

void SolutionListModel::clear() {
    if (lines_.empty()) return;
    beginResetModel();
    lines_.clear();
    lines_.shrink_to_fit();
    endResetModel();
}

}  // namespace zl::gui

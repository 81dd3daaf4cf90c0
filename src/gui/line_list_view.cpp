#include "gui/line_list_view.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>

namespace zl::gui {

LineListView::LineListView(QWidget *parent) : QTableView(parent) {
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setStretchLastSection(true);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    fitRowHeight();
}

void LineListView::setLineWidth(int pixels) { horizontalHeader()->setMinimumSectionSize(pixels); }

void LineListView::changeEvent(QEvent *event) {
    if (event->type() == QEvent::FontChange) fitRowHeight();
    QTableView::changeEvent(event);
}

void LineListView::fitRowHeight() {
    const int height = QFontMetrics(font()).height() + 2;
    verticalHeader()->setMinimumSectionSize(height);
    verticalHeader()->setDefaultSectionSize(height);
}

}  // namespace zl::gui

#include "TableLook_p.h"

#include <QHeaderView>
#include <QTableView>

namespace forms {

void setUpTableView(QTableView* view) {
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    view->setTabKeyNavigation(false);
    QHeaderView* rows = view->verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(12);
    rows->setDefaultSectionSize(TableRowPixels);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* header = view->horizontalHeader();
    header->setMinimumSectionSize(0);
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    header->setStretchLastSection(false);
    header->setFixedHeight(TableRowPixels + 2);
}

} // namespace forms

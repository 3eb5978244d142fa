#include "ListView.h"

#include "Events.h"
#include "TableLook_p.h"

#include "runtime/RuntimeError.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QTableView>

namespace forms {

namespace {

[[noreturn]] void indexOutOfBounds() {
    runtime::raise(runtime::err::IndexOutOfBounds);
}
[[noreturn]] void elementNotFound() {
    runtime::raise(runtime::err::ElementNotFound);
}
[[noreturn]] void keyNotUnique() {
    runtime::raise(runtime::err::KeyNotUnique);
}

// Keys of a collection: unique without regard to case, positions from 1.
class Keys {
public:
    void clear() { m_positions.clear(); }
    void check(const QString& key) const {
        if (!key.isEmpty() && m_positions.contains(key.toCaseFolded())) keyNotUnique();
    }
    void add(const QString& key, int position) {
        if (!key.isEmpty()) m_positions.insert(key.toCaseFolded(), position);
    }
    int find(const QString& key) const {
        const auto found = m_positions.constFind(key.toCaseFolded());
        if (key.isEmpty() || found == m_positions.constEnd()) elementNotFound();
        return *found;
    }

private:
    QHash<QString, int> m_positions;
};

struct Column {
    QString key;
    QString text;
    double width;
};

struct Item {
    QString key;
    QString text;
    QStringList subItemKeys;
    QStringList subItems;
    Keys subItemPositions;
    bool selected = false;
};

// The view raises Click once it has moved the selection for the release.
class ListTableView : public QTableView {
public:
    std::function<void()> released;
    std::function<void()> shown;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QTableView::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && released) released();
    }
    void showEvent(QShowEvent* event) override {
        QTableView::showEvent(event);
        if (shown) shown();
    }
};

} // namespace

class ListView::Impl : public QAbstractTableModel {
public:
    ListTableView* view;
    QVector<Column> columns;
    Keys columnPositions;
    QVector<Item> items;
    Keys itemPositions;
    bool multi = false;
    bool syncing = false;
    bool selectionStale = false;
    std::function<void()> click;

    using QAbstractTableModel::beginInsertColumns;
    using QAbstractTableModel::beginInsertRows;
    using QAbstractTableModel::beginResetModel;
    using QAbstractTableModel::endInsertColumns;
    using QAbstractTableModel::endInsertRows;
    using QAbstractTableModel::endResetModel;

    explicit Impl(ListTableView* v) : view(v) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(items.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(columns.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || role != Qt::DisplayRole) return {};
        const Item& item = items[index.row()];
        return index.column() == 0 ? item.text : item.subItems.value(index.column() - 1);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || section < 0 || section >= columns.size()) return {};
        if (role == Qt::DisplayRole) return columns[section].text;
        if (role == Qt::TextAlignmentRole) return int(Qt::AlignVCenter | Qt::AlignLeft);
        return {};
    }

    Item& at(int item) {
        if (item < 1 || item > items.size()) indexOutOfBounds();
        return items[item - 1];
    }
    const Column& column(int column) const {
        if (column < 1 || column > columns.size()) indexOutOfBounds();
        return columns[column - 1];
    }

    void applyWidth(int col) {
        const double w = columns[col].width;
        view->setColumnHidden(col, w == 0);
        if (w != 0) view->setColumnWidth(col, toPixels(qRound(w)));
    }

    // Shows the selected rows in the view, each run of neighbours as one range; while the
    // view is hidden it waits until it is shown.
    void showSelection() {
        if (!view->isVisible()) {
            selectionStale = true;
            return;
        }
        selectionStale = false;
        QItemSelection selection;
        const int lastColumn = static_cast<int>(columns.size()) - 1;
        for (int r = 0; lastColumn >= 0 && r < items.size(); ++r) {
            if (!items[r].selected) continue;
            int end = r;
            while (end + 1 < items.size() && items[end + 1].selected)
                ++end;
            selection.select(index(r, 0), index(end, lastColumn));
            r = end;
        }
        syncing = true;
        view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
        syncing = false;
    }

    // The user moved the selection: the rows follow the view.
    void userSelected(const QItemSelection& selected, const QItemSelection& deselected) {
        if (syncing) return;
        QItemSelectionModel* model = view->selectionModel();
        for (const QItemSelectionRange& range : selected)
            for (int r = range.top(); r <= range.bottom(); ++r)
                items[r].selected = true;
        for (const QItemSelectionRange& range : deselected)
            for (int r = range.top(); r <= range.bottom(); ++r)
                items[r].selected = model->rowIntersectsSelection(r);
    }
};

ListView::ListView(Container& container, const QString& name, const TwipsRect& rect, int index)
    : WidgetControl(container, new ListTableView, name, rect, index) {
    auto* v = static_cast<ListTableView*>(widget());
    d = std::make_unique<Impl>(v);
    v->setModel(d.get());
    v->setSelectionBehavior(QAbstractItemView::SelectRows);
    v->setSelectionMode(QAbstractItemView::SingleSelection);
    setUpTableView(v);
    v->setShowGrid(false);
    v->released = [this] { fireEvent(d->click); };
    v->shown = [this] {
        if (d->selectionStale) d->showSelection();
    };
    QObject::connect(v->selectionModel(), &QItemSelectionModel::selectionChanged,
                     [this](const QItemSelection& selected, const QItemSelection& deselected) {
                         d->userSelected(selected, deselected);
                     });
}

ListView::~ListView() {
    // The view outlives this object until its form's window goes; it must not keep the model.
    d->view->setModel(nullptr);
}

QTableView* ListView::view() const {
    return d->view;
}

bool ListView::multiSelect() const {
    return d->multi;
}

void ListView::setMultiSelect(bool multiSelect) {
    d->multi = multiSelect;
    d->view->setSelectionMode(multiSelect ? QAbstractItemView::ExtendedSelection
                                          : QAbstractItemView::SingleSelection);
}

int ListView::columnCount() const {
    return static_cast<int>(d->columns.size());
}

void ListView::clearColumns() {
    d->beginResetModel();
    d->columns.clear();
    d->columnPositions.clear();
    d->endResetModel();
    d->showSelection();
}

void ListView::addColumn(const QString& key, const QString& text, double width) {
    if (width < 0) runtime::raise(runtime::err::InvalidPropertyValue);
    d->columnPositions.check(key);
    const int col = columnCount();
    d->beginInsertColumns({}, col, col);
    d->columns.append({key, text, width});
    d->columnPositions.add(key, col + 1);
    d->endInsertColumns();
    d->applyWidth(col);
    d->showSelection();
}

QString ListView::columnKey(int column) const {
    return d->column(column).key;
}

QString ListView::columnText(int column) const {
    return d->column(column).text;
}

double ListView::columnWidth(int column) const {
    return d->column(column).width;
}

int ListView::count() const {
    return static_cast<int>(d->items.size());
}

void ListView::clearItems() {
    d->beginResetModel();
    d->items.clear();
    d->itemPositions.clear();
    d->endResetModel();
}

int ListView::addItem(const QString& key, const QString& text) {
    d->itemPositions.check(key);
    const int row = count();
    d->beginInsertRows({}, row, row);
    Item item;
    item.key = key;
    item.text = text;
    d->items.append(std::move(item));
    d->itemPositions.add(key, row + 1);
    d->endInsertRows();
    return row + 1;
}

int ListView::item(const QString& key) const {
    return d->itemPositions.find(key);
}

QString ListView::key(int item) const {
    return d->at(item).key;
}

QString ListView::text(int item) const {
    return d->at(item).text;
}

bool ListView::selected(int item) const {
    return d->at(item).selected;
}

void ListView::setSelected(int item, bool selected) {
    Item& row = d->at(item);
    if (selected && !d->multi)
        for (Item& other : d->items)
            other.selected = false;
    row.selected = selected;
    d->showSelection();
}

void ListView::addSubItem(int item, const QString& key, const QString& text) {
    Item& row = d->at(item);
    row.subItemPositions.check(key);
    row.subItemKeys.append(key);
    row.subItems.append(text);
    const int sub = static_cast<int>(row.subItems.size());
    row.subItemPositions.add(key, sub);
    if (sub < columnCount()) emit d->dataChanged(d->index(item - 1, sub), d->index(item - 1, sub));
}

int ListView::subItemCount(int item) const {
    return static_cast<int>(d->at(item).subItems.size());
}

QString ListView::subItemKey(int item, int subItem) const {
    const Item& row = d->at(item);
    if (subItem < 1 || subItem > row.subItemKeys.size()) indexOutOfBounds();
    return row.subItemKeys[subItem - 1];
}

QString ListView::subItem(int item, int subItem) const {
    if (subItem < 1) indexOutOfBounds();
    return d->at(item).subItems.value(subItem - 1);
}

void ListView::refresh() {
    d->view->viewport()->update();
}

void ListView::onClick(std::function<void()> handler) {
    d->click = std::move(handler);
}

} // namespace forms

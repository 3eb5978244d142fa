#include "Grid.h"

#include "Colors.h"
#include "Events.h"
#include "TableLook_p.h"

#include "runtime/Regional.h"
#include "runtime/RuntimeError.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QTableView>

#include <algorithm>
#include <optional>

namespace forms {

namespace {

constexpr int DefaultColumnPixels = 64;

struct Cell {
    QString text;
    bool bold = false;
    int backColor = -1; // -1: the grid's own colour
};

[[noreturn]] void badSubscript() {
    runtime::raise(runtime::err::GridSubscriptOutOfRange);
}

// Sort key of a cell: empty first, then numbers by value, then texts.
struct SortKey {
    int kind; // 0 empty, 1 number, 2 text
    double number;
    QString text;
};

SortKey keyOf(const QString& text) {
    if (text.isEmpty()) return {0, 0, {}};
    if (std::optional<double> n = runtime::parseNumber(text)) return {1, *n, {}};
    return {2, 0, text};
}

int compareKeys(const SortKey& a, const SortKey& b) {
    if (a.kind != b.kind) return a.kind < b.kind ? -1 : 1;
    if (a.kind == 1) return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
    if (a.kind == 2) return a.text.compare(b.text);
    return 0;
}

// Draws cells without a focus rectangle when the grid shows none.
class CellDelegate : public QStyledItemDelegate {
public:
    bool focusRect = false;
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!focusRect) option->state &= ~QStyle::State_HasFocus;
    }
};

} // namespace

class Grid::Impl : public QAbstractTableModel {
public:
    Grid* grid;
    QTableView* view;
    CellDelegate* delegate;
    QVector<QVector<Cell>> cells{2, QVector<Cell>(2)};
    QVector<int> widths{-1, -1}; // twips, -1 default
    int fixed = 1;
    int columnCount_ = 2;
    int current = 1, currentCol = 0, rowSelection = 1, colSelection = 0;
    int mouseRow = 0, mouseCol = 0;
    bool redraw = true;
    int focusRectSetting = 1;
    int selection = SelectionFree;
    bool syncing = false;
    std::function<void()> click, dblClick, enterCell;
    std::function<void(int, int, double, double)> mouseUp;
    bool skipClick = false; // the release that ends a double click raises no Click

    using QAbstractTableModel::beginInsertColumns;
    using QAbstractTableModel::beginInsertRows;
    using QAbstractTableModel::beginRemoveColumns;
    using QAbstractTableModel::beginRemoveRows;
    using QAbstractTableModel::beginResetModel;
    using QAbstractTableModel::endInsertColumns;
    using QAbstractTableModel::endInsertRows;
    using QAbstractTableModel::endRemoveColumns;
    using QAbstractTableModel::endRemoveRows;
    using QAbstractTableModel::endResetModel;

    explicit Impl(Grid* g) : grid(g), view(static_cast<QTableView*>(g->widget())) {}

    // Model: rows below the fixed row; the fixed row is the horizontal header.
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(cells.size()) - fixed;
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : columnCount_;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        const Cell& cell = cells[index.row() + fixed][index.column()];
        switch (role) {
        case Qt::DisplayRole:
            return cell.text;
        case Qt::FontRole:
            if (cell.bold) {
                QFont font = view->font();
                font.setBold(true);
                return font;
            }
            return {};
        case Qt::BackgroundRole:
            return cell.backColor >= 0 ? QVariant(toQColor(cell.backColor)) : QVariant();
        case Qt::TextAlignmentRole:
            return int(Qt::AlignVCenter | (runtime::isNumeric(cell.text) ? Qt::AlignRight : Qt::AlignLeft));
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || fixed == 0 || section < 0 || section >= columnCount_) return {};
        if (role == Qt::DisplayRole) return cells[0][section].text;
        if (role == Qt::TextAlignmentRole) return int(Qt::AlignVCenter | Qt::AlignLeft);
        return {};
    }

    void checkCell(int row, int col) const {
        if (row < 0 || row >= cells.size() || col < 0 || col >= columnCount_) badSubscript();
    }

    void changedCell(int row, int col) {
        if (row < fixed)
            emit headerDataChanged(Qt::Horizontal, col, col);
        else
            emit dataChanged(index(row - fixed, col), index(row - fixed, col));
    }

    void applyWidth(int col) {
        const int w = widths[col];
        view->setColumnHidden(col, w == 0);
        if (w != 0) view->setColumnWidth(col, w < 0 ? DefaultColumnPixels : toPixels(w));
    }

    void applyWidths() {
        for (int c = 0; c < columnCount_; ++c)
            applyWidth(c);
    }

    // Shows the current cell and the selection in the view.
    void showSelection() {
        syncing = true;
        QItemSelectionModel* model = view->selectionModel();
        model->clearSelection();
        const int dataRows = rowCount();
        if (current >= fixed && dataRows > 0 && columnCount_ > 0) {
            const int r1 = std::max(std::min(current, rowSelection), fixed) - fixed;
            const int r2 = std::min(std::max(current, rowSelection) - fixed, dataRows - 1);
            int c1 = std::min(currentCol, colSelection), c2 = std::max(currentCol, colSelection);
            if (selection == SelectionByRow) {
                c1 = 0;
                c2 = columnCount_ - 1;
            }
            // By column, the selected columns are selected over every data row.
            const int top = selection == SelectionByColumn ? 0 : r1;
            const int bottom = selection == SelectionByColumn ? dataRows - 1 : r2;
            if (r1 <= r2 && c1 <= c2)
                model->select(QItemSelection(index(top, c1), index(bottom, c2)), QItemSelectionModel::Select);
            model->setCurrentIndex(index(current - fixed, std::min(currentCol, columnCount_ - 1)),
                                   QItemSelectionModel::NoUpdate);
        } else {
            model->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        }
        syncing = false;
    }

    void clampCurrent() {
        const int lastRow = static_cast<int>(cells.size()) - 1;
        const int lastCol = columnCount_ - 1;
        current = std::clamp(current, 0, std::max(lastRow, 0));
        rowSelection = std::clamp(rowSelection, 0, std::max(lastRow, 0));
        currentCol = std::clamp(currentCol, 0, std::max(lastCol, 0));
        colSelection = std::clamp(colSelection, 0, std::max(lastCol, 0));
    }

    // The user moved to a cell (mouse or keyboard).
    void userEnters(int row, int col) {
        const bool changed = row != current || col != currentCol;
        current = rowSelection = row;
        currentCol = colSelection = col;
        if (selection == SelectionByRow) colSelection = columnCount_ - 1;
        showSelection();
        if (changed) fireEvent(enterCell);
    }

    void codeEnters(int row, int col) {
        const bool changed = row != current || col != currentCol;
        current = row;
        currentCol = col;
        showSelection();
        if (changed && enterCell) {
            std::function<void()> handler = enterCell;
            callFromCode(handler);
        }
    }

    void trackMouse(const QPoint& viewportPos, bool header) {
        if (header) {
            mouseRow = 0;
            mouseCol = std::max(view->horizontalHeader()->logicalIndexAt(viewportPos.x()), 0);
            return;
        }
        const QModelIndex at = view->indexAt(viewportPos);
        if (at.isValid()) {
            mouseRow = at.row() + fixed;
            mouseCol = at.column();
        } else {
            mouseRow = std::max(static_cast<int>(cells.size()) - 1, 0);
            mouseCol = std::max(view->columnAt(viewportPos.x()), 0);
        }
    }
};

namespace {

int buttonCode(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int shiftCode(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

// Watches the mouse over the cells and over the title row.
class MouseWatch : public QObject {
public:
    MouseWatch(Grid::Impl* impl, QWidget* area, bool header)
        : QObject(area), m_impl(impl), m_area(area), m_header(header) {}

    bool eventFilter(QObject*, QEvent* event) override;

private:
    Grid::Impl* m_impl;
    QWidget* m_area;
    bool m_header;
};

} // namespace

bool MouseWatch::eventFilter(QObject*, QEvent* event) {
    Grid::Impl* d = m_impl;
    switch (event->type()) {
    case QEvent::MouseMove:
        d->trackMouse(static_cast<QMouseEvent*>(event)->position().toPoint(), m_header);
        return false;
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        d->trackMouse(mouse->position().toPoint(), m_header);
        if (!m_header) d->view->setFocus(Qt::MouseFocusReason);
        if (m_header || mouse->button() != Qt::LeftButton)
            return true; // the title row takes no current cell; other buttons move nothing
        const QModelIndex at = d->view->indexAt(mouse->position().toPoint());
        if (at.isValid()) d->userEnters(at.row() + d->fixed, at.column());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        d->trackMouse(mouse->position().toPoint(), m_header);
        const QPoint inGrid = m_area->mapTo(d->view, mouse->position().toPoint());
        if (d->mouseUp) {
            auto handler = d->mouseUp;
            const int button = buttonCode(mouse->button());
            const int shift = shiftCode(mouse->modifiers());
            fire([&] { handler(button, shift, toTwips(inGrid.x()), toTwips(inGrid.y())); });
        }
        const bool skip = d->skipClick;
        d->skipClick = false;
        if (mouse->button() == Qt::LeftButton && !skip) fireEvent(d->click);
        return true;
    }
    case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        d->trackMouse(mouse->position().toPoint(), m_header);
        d->skipClick = true;
        if (mouse->button() == Qt::LeftButton) fireEvent(d->dblClick);
        return true;
    }
    default:
        return false;
    }
}

Grid::Grid(Container& container, const QString& name, const TwipsRect& rect, int index)
    : WidgetControl(container, new QTableView, name, rect, index) {
    d = std::make_unique<Impl>(this);
    QTableView* v = d->view;
    v->setModel(d.get());
    d->delegate = new CellDelegate(v);
    d->delegate->focusRect = true;
    v->setItemDelegate(d->delegate);
    v->setSelectionMode(QAbstractItemView::NoSelection);
    setUpTableView(v);
    QHeaderView* header = v->horizontalHeader();
    header->setDefaultSectionSize(DefaultColumnPixels);
    v->viewport()->setMouseTracking(true);
    header->viewport()->setMouseTracking(true);
    v->viewport()->installEventFilter(new MouseWatch(d.get(), v->viewport(), false));
    header->viewport()->installEventFilter(new MouseWatch(d.get(), header->viewport(), true));
    QObject::connect(v->selectionModel(), &QItemSelectionModel::currentChanged,
                     [this](const QModelIndex& now, const QModelIndex&) {
                         if (!d->syncing && now.isValid()) d->userEnters(now.row() + d->fixed, now.column());
                     });
    d->applyWidths();
    d->showSelection();
}

Grid::~Grid() {
    // The view outlives this object until its form's window goes; it must not keep the model.
    d->view->setModel(nullptr);
}

QTableView* Grid::view() const {
    return d->view;
}

int Grid::rows() const {
    return static_cast<int>(d->cells.size());
}

void Grid::setRows(int rows) {
    if (rows < 0) runtime::raise(runtime::err::InvalidRowValue);
    const int old = this->rows();
    if (rows == old) return;
    if (rows < d->fixed) {
        d->beginResetModel();
        d->cells.resize(rows);
        d->fixed = rows;
        d->endResetModel();
        d->view->horizontalHeader()->setVisible(d->fixed > 0);
        d->applyWidths();
    } else if (rows > old) {
        const int firstNew = old;
        if (old < d->fixed) {
            d->beginResetModel();
            d->cells.resize(rows, QVector<Cell>(d->columnCount_));
            d->endResetModel();
            d->applyWidths();
        } else {
            d->beginInsertRows({}, firstNew - d->fixed, rows - 1 - d->fixed);
            d->cells.resize(rows, QVector<Cell>(d->columnCount_));
            d->endInsertRows();
        }
    } else {
        d->beginRemoveRows({}, rows - d->fixed, old - 1 - d->fixed);
        d->cells.resize(rows);
        d->endRemoveRows();
    }
    d->clampCurrent();
    d->showSelection();
}

int Grid::cols() const {
    return d->columnCount_;
}

void Grid::setCols(int cols) {
    if (cols < 0) runtime::raise(runtime::err::InvalidColValue);
    const int old = d->columnCount_;
    if (cols == old) return;
    if (cols > old) {
        d->beginInsertColumns({}, old, cols - 1);
        for (auto& row : d->cells)
            row.resize(cols);
        d->widths.resize(cols, -1);
        d->columnCount_ = cols;
        d->endInsertColumns();
        for (int c = old; c < cols; ++c)
            d->applyWidth(c);
    } else {
        d->beginRemoveColumns({}, cols, old - 1);
        for (auto& row : d->cells)
            row.resize(cols);
        d->widths.resize(cols);
        d->columnCount_ = cols;
        d->endRemoveColumns();
    }
    d->clampCurrent();
    d->showSelection();
}

int Grid::fixedRows() const {
    return d->fixed;
}

void Grid::setFixedRows(int fixedRows) {
    if (fixedRows < 0 || fixedRows > 1 || fixedRows > rows())
        runtime::raise(runtime::err::InvalidFixedRowsValue);
    if (fixedRows == d->fixed) return;
    d->beginResetModel();
    d->fixed = fixedRows;
    d->endResetModel();
    d->view->horizontalHeader()->setVisible(fixedRows > 0);
    d->applyWidths();
    // The current cell moves below the fixed rows, onto the first data row.
    if (d->current < fixedRows && rows() > fixedRows) d->current = d->rowSelection = fixedRows;
    d->showSelection();
}

bool Grid::redraw() const {
    return d->redraw;
}

void Grid::setRedraw(bool redraw) {
    d->redraw = redraw;
    d->view->setUpdatesEnabled(redraw);
    if (redraw) d->view->viewport()->update();
}

int Grid::focusRect() const {
    return d->focusRectSetting;
}

void Grid::setFocusRect(int focusRect) {
    d->focusRectSetting = focusRect;
    d->delegate->focusRect = focusRect != 0;
    d->view->viewport()->update();
}

int Grid::selectionMode() const {
    return d->selection;
}

void Grid::setSelectionMode(int mode) {
    if (mode < SelectionFree || mode > SelectionByColumn) runtime::raise(runtime::err::InvalidPropertyValue);
    d->selection = mode;
    d->showSelection();
}

QString Grid::textMatrix(int row, int col) const {
    d->checkCell(row, col);
    return d->cells[row][col].text;
}

void Grid::setTextMatrix(int row, int col, const QString& text) {
    d->checkCell(row, col);
    d->cells[row][col].text = text;
    d->changedCell(row, col);
}

bool Grid::cellFontBold(int row, int col) const {
    d->checkCell(row, col);
    return d->cells[row][col].bold;
}

void Grid::setCellFontBold(int row, int col, bool bold) {
    d->checkCell(row, col);
    d->cells[row][col].bold = bold;
    d->changedCell(row, col);
}

int Grid::cellBackColor(int row, int col) const {
    d->checkCell(row, col);
    return std::max(d->cells[row][col].backColor, 0);
}

void Grid::setCellBackColor(int row, int col, int color) {
    d->checkCell(row, col);
    d->cells[row][col].backColor = color;
    d->changedCell(row, col);
}

int Grid::colWidth(int col) const {
    if (col < 0 || col >= d->columnCount_) badSubscript();
    const int w = d->widths[col];
    return w < 0 ? toTwips(DefaultColumnPixels) : w;
}

void Grid::setColWidth(int col, int width) {
    if (col < 0 || col >= d->columnCount_) badSubscript();
    if (width < -1) runtime::raise(runtime::err::InvalidPropertyValue);
    d->widths[col] = width;
    d->applyWidth(col);
}

int Grid::row() const {
    return d->current;
}

void Grid::setRow(int row) {
    if (row < 0 || row >= rows()) runtime::raise(runtime::err::InvalidRowValue);
    d->rowSelection = row;
    d->codeEnters(row, d->currentCol);
}

int Grid::col() const {
    return d->currentCol;
}

void Grid::setCol(int col) {
    if (col < 0 || col >= cols()) runtime::raise(runtime::err::InvalidColValue);
    d->colSelection = col;
    d->codeEnters(d->current, col);
}

int Grid::rowSel() const {
    return d->rowSelection;
}

void Grid::setRowSel(int row) {
    if (row < 0 || row >= rows()) runtime::raise(runtime::err::InvalidRowValue);
    d->rowSelection = row;
    d->showSelection();
}

int Grid::colSel() const {
    return d->colSelection;
}

void Grid::setColSel(int col) {
    if (col < 0 || col >= cols()) runtime::raise(runtime::err::InvalidColValue);
    d->colSelection = col;
    d->showSelection();
}

void Grid::setSort(int setting) {
    if (setting != SortGenericAscending && setting != SortGenericDescending) return;
    const int first = d->fixed;
    if (rows() - first < 2 || cols() == 0) return;
    const int c1 = std::min(d->currentCol, d->colSelection);
    const int c2 = std::max(d->currentCol, d->colSelection);
    struct Keyed {
        QVector<SortKey> keys;
        QVector<Cell> row;
    };
    QVector<Keyed> keyed;
    keyed.reserve(rows() - first);
    for (int r = first; r < rows(); ++r) {
        Keyed k;
        for (int c = c1; c <= c2; ++c)
            k.keys.append(keyOf(d->cells[r][c].text));
        k.row = std::move(d->cells[r]);
        keyed.append(std::move(k));
    }
    const bool descending = setting == SortGenericDescending;
    std::stable_sort(keyed.begin(), keyed.end(), [descending](const Keyed& a, const Keyed& b) {
        for (int i = 0; i < a.keys.size(); ++i) {
            const int order = compareKeys(a.keys[i], b.keys[i]);
            if (order != 0) return descending ? order > 0 : order < 0;
        }
        return false;
    });
    emit d->layoutAboutToBeChanged();
    for (int i = 0; i < keyed.size(); ++i)
        d->cells[first + i] = std::move(keyed[i].row);
    emit d->layoutChanged();
    d->showSelection();
}

int Grid::mouseRow() const {
    return d->mouseRow;
}
int Grid::mouseCol() const {
    return d->mouseCol;
}

void Grid::onClick(std::function<void()> handler) {
    d->click = std::move(handler);
}
void Grid::onDblClick(std::function<void()> handler) {
    d->dblClick = std::move(handler);
}
void Grid::onEnterCell(std::function<void()> handler) {
    d->enterCell = std::move(handler);
}
void Grid::onMouseUp(std::function<void(int, int, double, double)> handler) {
    d->mouseUp = std::move(handler);
}

} // namespace forms

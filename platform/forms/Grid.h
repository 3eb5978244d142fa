#pragma once

#include "Control.h"

#include <functional>
#include <memory>

class QTableView;

namespace forms {

// A grid of text cells (rows by columns, the first row fixed as the title row): TextMatrix by
// row and column, widths in twips (0 hides a column),
// the current cell (Row, Col) and the selection end (RowSel, ColSel), whole-row
// selection, the generic sort, bold and back colour per cell, and Redraw. Row 0 is the
// title row while FixedRows is 1.
class Grid : public WidgetControl {
public:
    enum SelectionMode { SelectionFree = 0, SelectionByRow = 1, SelectionByColumn = 2 };
    enum SortSetting { SortNone = 0, SortGenericAscending = 1, SortGenericDescending = 2 };

    Grid(Container& container, const QString& name, const TwipsRect& rect, int index = -1);
    ~Grid() override;

    QTableView* view() const;

    int rows() const;
    void setRows(int rows);
    int cols() const;
    void setCols(int cols);
    int fixedRows() const;
    void setFixedRows(int fixedRows); // 0 or 1

    bool redraw() const;
    void setRedraw(bool redraw);
    int focusRect() const;
    void setFocusRect(int focusRect); // 0 none, 1 light, 2 heavy
    int selectionMode() const;
    void setSelectionMode(int mode);

    // Cells; a row or column outside the grid is error 381.
    QString textMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString& text);
    bool cellFontBold(int row, int col) const;
    void setCellFontBold(int row, int col, bool bold);
    int cellBackColor(int row, int col) const; // 0 when the cell has the grid's own colour
    void setCellBackColor(int row, int col, int color);

    // ColWidth in twips: 0 hides the column, -1 restores the default width.
    int colWidth(int col) const;
    void setColWidth(int col, int width);

    // The current cell and the end of the selection. Changing the current cell from code
    // raises EnterCell, as a click does.
    int row() const;
    void setRow(int row);
    int col() const;
    void setCol(int col);
    int rowSel() const;
    void setRowSel(int row);
    int colSel() const;
    void setColSel(int col);

    // Sort: orders the rows below the fixed row by the columns from Col to ColSel, cells
    // that read as numbers as numbers, the others as texts (empty cells first).
    void setSort(int setting);

    // The cell under the mouse at its last move, press or release.
    int mouseRow() const;
    int mouseCol() const;

    void onClick(std::function<void()> handler);
    void onDblClick(std::function<void()> handler);
    void onEnterCell(std::function<void()> handler);
    // MouseUp: button (1 left, 2 right, 4 middle), shift state (1 shift, 2 ctrl, 4 alt) and
    // the position in twips within the grid.
    void onMouseUp(std::function<void(int button, int shift, double x, double y)> handler);

    class Impl;

private:
    std::unique_ptr<Impl> d;
};

} // namespace forms

#pragma once

#include "Control.h"

#include <functional>
#include <memory>

class QTableView;

namespace forms {

// A list view in report view: column headers with keys, texts and widths in twips (0
// hides a column) over rows, each with a key, its own text (shown in the first column)
// and sub-items (sub-item i shown in column i + 1). Rows and column headers count from 1;
// an index outside them is error 35600, a key not there 35601, a key already there 35602
// (keys compare without regard to case; an empty key is no key). A click selects the
// whole row; with MultiSelect, Ctrl and Shift clicks select several.
class ListView : public WidgetControl {
public:
    ListView(Container& container, const QString& name, const TwipsRect& rect, int index = -1);
    ~ListView() override;

    QTableView* view() const;

    bool multiSelect() const;
    void setMultiSelect(bool multiSelect);

    // Columns.
    int columnCount() const;
    void clearColumns();
    void addColumn(const QString& key, const QString& text, double width);
    QString columnKey(int column) const;
    QString columnText(int column) const;
    double columnWidth(int column) const;

    // Rows.
    int count() const;
    void clearItems();
    // Appends a row; returns its index.
    int addItem(const QString& key, const QString& text);
    // The index of the row with that key.
    int item(const QString& key) const;
    QString key(int item) const;
    QString text(int item) const;
    bool selected(int item) const;
    void setSelected(int item, bool selected);

    // ListSubItems of a row: each added one takes the next sub-item index, from 1.
    void addSubItem(int item, const QString& key, const QString& text);
    int subItemCount(int item) const;
    QString subItemKey(int item, int subItem) const;
    // SubItems(i): the empty text for a sub-item not added.
    QString subItem(int item, int subItem) const;

    void refresh();

    // Click: every left click in the rows' area, after the selection has followed it.
    void onClick(std::function<void()> handler);

    class Impl;

private:
    std::unique_ptr<Impl> d;
};

} // namespace forms

#pragma once

#include "Control.h"

#include <cstdint>

class QComboBox;

namespace forms {

// A drop-down list: entries with a 32-bit item datum each, NewIndex (the position of the
// entry added last) and ListIndex (the selected position, -1 for none).
class ComboBox : public WidgetControl {
public:
    ComboBox(Container& container, const QString& name, const TwipsRect& rect, int index = -1);

    QComboBox* comboBox() const;
    void clear();
    // AddItem: appends, or inserts at a position (error 5 outside 0..ListCount).
    void addItem(const QString& text, int index = -1);
    int newIndex() const { return m_newIndex; }
    int listCount() const;
    QString list(int index) const;
    std::int32_t itemData(int index) const;
    void setItemData(int index, std::int32_t data);
    int listIndex() const;
    void setListIndex(int index);
    QString text() const;

private:
    void checkIndex(int index) const;
    int m_newIndex = -1;
};

} // namespace forms

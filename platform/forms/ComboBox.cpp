#include "ComboBox.h"

#include "runtime/RuntimeError.h"

#include <QComboBox>

namespace forms {

ComboBox::ComboBox(Container& container, const QString& name, const TwipsRect& rect, int index)
    : WidgetControl(container, new QComboBox, name, rect, index) {
    comboBox()->setEditable(false);
}

QComboBox* ComboBox::comboBox() const {
    return static_cast<QComboBox*>(widget());
}

void ComboBox::clear() {
    comboBox()->clear();
    m_newIndex = -1;
}

void ComboBox::addItem(const QString& text, int index) {
    if (index < -1 || index > listCount()) runtime::raise(runtime::err::InvalidProcedureCall);
    const int at = index == -1 ? listCount() : index;
    const int selected = comboBox()->currentIndex();
    comboBox()->insertItem(at, text, 0);
    // Adding never changes the selection: the list keeps "none" or its entry.
    comboBox()->setCurrentIndex(selected < 0 ? -1 : (selected >= at ? selected + 1 : selected));
    m_newIndex = at;
}

int ComboBox::listCount() const {
    return comboBox()->count();
}

QString ComboBox::list(int index) const {
    if (index < 0 || index >= listCount()) return {};
    return comboBox()->itemText(index);
}

void ComboBox::checkIndex(int index) const {
    if (index < 0 || index >= listCount()) runtime::raise(runtime::err::InvalidPropertyArrayIndex);
}

std::int32_t ComboBox::itemData(int index) const {
    checkIndex(index);
    return comboBox()->itemData(index).toInt();
}

void ComboBox::setItemData(int index, std::int32_t data) {
    checkIndex(index);
    comboBox()->setItemData(index, data);
}

int ComboBox::listIndex() const {
    return comboBox()->currentIndex();
}

void ComboBox::setListIndex(int index) {
    if (index < -1 || index >= listCount()) runtime::raise(runtime::err::InvalidPropertyValue);
    comboBox()->setCurrentIndex(index);
}

QString ComboBox::text() const {
    return comboBox()->currentText();
}

} // namespace forms

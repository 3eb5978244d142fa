#include "Frame.h"

#include <QGroupBox>

namespace forms {

Frame::Frame(Container& container, const QString& name, const QString& caption, const TwipsRect& rect,
             int index)
    : WidgetControl(container, new QGroupBox(caption), name, rect, index) {}

QGroupBox* Frame::groupBox() const {
    return static_cast<QGroupBox*>(widget());
}
QString Frame::caption() const {
    return groupBox()->title();
}
void Frame::setCaption(const QString& caption) {
    groupBox()->setTitle(caption);
}

} // namespace forms

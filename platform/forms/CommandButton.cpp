#include "CommandButton.h"

#include "Events.h"

#include <QPushButton>

namespace forms {

CommandButton::CommandButton(Container& container, const QString& name, const QString& caption,
                             const TwipsRect& rect, int index)
    : WidgetControl(container, new QPushButton(caption), name, rect, index) {
    button()->setAutoDefault(false);
    QObject::connect(button(), &QPushButton::clicked, [this] { fireEvent(m_click); });
}

QPushButton* CommandButton::button() const {
    return static_cast<QPushButton*>(widget());
}
QString CommandButton::caption() const {
    return button()->text();
}
void CommandButton::setCaption(const QString& caption) {
    button()->setText(caption);
}

} // namespace forms

#include "CommandButton.h"

#include "Events.h"

#include <QPushButton>

namespace forms {

CommandButton::CommandButton(Container& container, const QString& name, const QString& caption,
                             const TwipsRect& rect, int index)
    : WidgetControl(container, new QPushButton(caption), name, rect, index) {
    button()->setAutoDefault(false);
    QObject::connect(button(), &QPushButton::clicked, [this] {
        if (m_click) {
            std::function<void()> handler = m_click;
            fire(handler);
        }
    });
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

#include "Menu.h"

#include "Events.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace forms {

Menu::Menu(Container& form, const QString& name, const QString& caption)
    : Control(form, name), m_menu(new QMenu(caption, form.containerWidget())) {
    m_menu->setObjectName(name);
}

// The menu belongs to the form's window.
Menu::~Menu() = default;

QString Menu::caption() const {
    return m_menu->title();
}

MenuItem::MenuItem(Menu& menu, const QString& name, const QString& caption)
    : Control(menu.container(), name), m_action(menu.menu()->addAction(caption)) {
    m_action->setObjectName(name);
    QObject::connect(m_action, &QAction::triggered, [this] {
        if (m_click) fire(m_click);
    });
}

QString MenuItem::caption() const {
    return m_action->text();
}
bool MenuItem::enabled() const {
    return m_action->isEnabled();
}
void MenuItem::setEnabled(bool enabled) {
    m_action->setEnabled(enabled);
}

} // namespace forms

#pragma once

#include "Control.h"

#include <functional>

class QAction;
class QMenu;

namespace forms {

class MenuItem;

// A menu of a form that the form shows as a popup menu (PopupMenu).
class Menu : public Control {
public:
    Menu(Container& form, const QString& name, const QString& caption);
    ~Menu() override;

    QMenu* menu() const { return m_menu; }
    QString caption() const;

private:
    QMenu* m_menu;
};

// An item of a menu, with its Click event.
class MenuItem : public Control {
public:
    MenuItem(Menu& menu, const QString& name, const QString& caption);

    QAction* action() const { return m_action; }
    QString caption() const;
    bool enabled() const;
    void setEnabled(bool enabled);
    void onClick(std::function<void()> handler) { m_click = std::move(handler); }

private:
    QAction* m_action;
    std::function<void()> m_click;
};

} // namespace forms

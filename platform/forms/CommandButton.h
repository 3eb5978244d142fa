#pragma once

#include "Control.h"

#include <functional>

class QPushButton;

namespace forms {

// A command button with its Click event.
class CommandButton : public WidgetControl {
public:
    CommandButton(Container& container, const QString& name, const QString& caption, const TwipsRect& rect,
                  int index = -1);

    QPushButton* button() const;
    QString caption() const;
    void setCaption(const QString& caption);
    void onClick(std::function<void()> handler) { m_click = std::move(handler); }

private:
    std::function<void()> m_click;
};

} // namespace forms

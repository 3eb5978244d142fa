#pragma once

#include "Control.h"

#include <functional>

class QRadioButton;

namespace forms {

// An option button; the option buttons of one container exclude each other. Click runs
// when the user selects it and also when code selects it while it was not selected.
class OptionButton : public WidgetControl {
public:
    OptionButton(Container& container, const QString& name, const QString& caption, const TwipsRect& rect,
                 int index = -1);

    QRadioButton* radioButton() const;
    QString caption() const;
    void setCaption(const QString& caption);
    bool value() const;
    void setValue(bool value);
    void onClick(std::function<void()> handler) { m_click = std::move(handler); }

private:
    std::function<void()> m_click;
};

} // namespace forms

#include "OptionButton.h"

#include "Events.h"

#include <QRadioButton>

namespace forms {

OptionButton::OptionButton(Container& container, const QString& name, const QString& caption,
                           const TwipsRect& rect, int index)
    : WidgetControl(container, new QRadioButton(caption), name, rect, index) {
    QObject::connect(radioButton(), &QRadioButton::clicked, [this] { fireEvent(m_click); });
}

QRadioButton* OptionButton::radioButton() const {
    return static_cast<QRadioButton*>(widget());
}
QString OptionButton::caption() const {
    return radioButton()->text();
}
void OptionButton::setCaption(const QString& caption) {
    radioButton()->setText(caption);
}
bool OptionButton::value() const {
    return radioButton()->isChecked();
}

void OptionButton::setValue(bool value) {
    const bool was = radioButton()->isChecked();
    if (value) {
        radioButton()->setChecked(true);
    } else {
        radioButton()->setAutoExclusive(false);
        radioButton()->setChecked(false);
        radioButton()->setAutoExclusive(true);
    }
    if (value && !was && m_click) {
        std::function<void()> handler = m_click;
        callFromCode(handler);
    }
}

} // namespace forms

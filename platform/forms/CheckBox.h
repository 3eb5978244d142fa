#pragma once

#include "Control.h"

class QCheckBox;
class QLabel;

namespace forms {

// A check box whose caption wraps within its width; Value is 0 (clear) or 1 (checked).
class CheckBox : public WidgetControl {
public:
    CheckBox(Container& container, const QString& name, const QString& caption, const TwipsRect& rect,
             int index = -1);

    QCheckBox* checkBox() const { return m_box; }
    QString caption() const;
    void setCaption(const QString& caption);
    int value() const;
    void setValue(int value);

private:
    QCheckBox* m_box;
    QLabel* m_caption;
};

} // namespace forms

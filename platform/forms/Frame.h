#pragma once

#include "Control.h"

class QGroupBox;

namespace forms {

// A frame: a captioned border that holds controls; its Enabled and Visible reach them.
class Frame : public WidgetControl, public Container {
public:
    Frame(Container& container, const QString& name, const QString& caption, const TwipsRect& rect,
          int index = -1);

    QGroupBox* groupBox() const;
    QString caption() const;
    void setCaption(const QString& caption);

    QWidget* containerWidget() const override { return widget(); }
    Form& parentForm() const override { return form(); }
};

} // namespace forms

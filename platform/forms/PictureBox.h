#pragma once

#include "Control.h"

#include <functional>

class QPixmap;

namespace forms {

// A picture box: a sunken area that shows a picture, holds controls and reports clicks.
class PictureBox : public WidgetControl, public Container {
public:
    PictureBox(Container& container, const QString& name, const TwipsRect& rect, int index = -1);

    void setPicture(const QPixmap& picture);
    void setBorder(bool border);
    void setBackColor(int color);
    void onClick(std::function<void()> handler);

    QWidget* containerWidget() const override { return widget(); }
    Form& parentForm() const override { return form(); }

private:
    class Area;
    Area* area() const;
};

} // namespace forms

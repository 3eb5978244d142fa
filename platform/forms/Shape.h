#pragma once

#include "Control.h"

namespace forms {

// A rectangle drawn on the form as decoration; it takes no input.
class Shape : public WidgetControl {
public:
    Shape(Container& container, const QString& name, const TwipsRect& rect, int index = -1);

    void setBorderColor(int color);
};

} // namespace forms

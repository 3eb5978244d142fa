#pragma once

#include "Control.h"

class QLabel;

namespace forms {

// A label: a caption that wraps within its width; a carriage return and line feed in the
// caption start a new line.
class Label : public WidgetControl {
public:
    Label(Container& container, const QString& name, const QString& caption, const TwipsRect& rect,
          int index = -1);

    QLabel* label() const;
    const QString& caption() const { return m_caption; }
    void setCaption(const QString& caption);

private:
    QString m_caption;
};

} // namespace forms

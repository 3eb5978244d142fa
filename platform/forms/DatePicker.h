#pragma once

#include "Control.h"

namespace runtime {
class Variant;
}
class QDateTimeEdit;

namespace forms {

// A date picker (date with a drop-down calendar) or a time-of-day picker. Its value is a
// date serial holding both the day and the time of day, whichever part it shows.
class DatePicker : public WidgetControl {
public:
    enum Format { ShortDate, Time };

    DatePicker(Container& container, const QString& name, const TwipsRect& rect, Format format = ShortDate,
               int index = -1);

    QDateTimeEdit* editor() const;
    Format format() const { return m_format; }
    double value() const;
    void setValue(double serial);
    // Assignment from any value the runtime reads as a date ("00:00", a date text).
    void setValue(const runtime::Variant& value);

private:
    Format m_format;
};

} // namespace forms

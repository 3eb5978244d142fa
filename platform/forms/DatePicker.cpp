#include "DatePicker.h"

#include "runtime/DateSerial.h"
#include "runtime/Regional.h"
#include "runtime/Variant.h"

#include <QDateTimeEdit>

namespace forms {

DatePicker::DatePicker(Container& container, const QString& name, const TwipsRect& rect, Format format,
                       int index)
    : WidgetControl(container, new QDateTimeEdit, name, rect, index), m_format(format) {
    QDateTimeEdit* edit = editor();
    edit->setTimeSpec(Qt::LocalTime);
    edit->setMinimumDate(QDate(1601, 1, 1));
    if (format == Time) {
        edit->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    } else {
        edit->setDisplayFormat(runtime::Regional::current().shortDateFormat);
        edit->setCalendarPopup(true);
    }
    setValue(runtime::now());
}

QDateTimeEdit* DatePicker::editor() const {
    return static_cast<QDateTimeEdit*>(widget());
}

double DatePicker::value() const {
    return runtime::toSerial(editor()->dateTime());
}

void DatePicker::setValue(double serial) {
    editor()->setDateTime(runtime::toDateTime(serial));
}

void DatePicker::setValue(const runtime::Variant& value) {
    double serial = value.toDate();
    // A time alone (a serial below 1) keeps the picker's day.
    if (serial >= 0 && serial < 1) serial = runtime::datePart(this->value()) + serial;
    setValue(serial);
}

} // namespace forms

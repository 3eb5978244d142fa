#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

namespace runtime {

// Regional settings of the process, read from the locale environment (LC_ALL, LANG)
// through QLocale: separators, short date order, month names, time designators.
struct Regional {
    QChar decimalSeparator;
    QChar thousandsSeparator;
    QChar dateSeparator;
    QChar timeSeparator;
    QString shortDateFormat; // Qt picture, e.g. "dd/MM/yyyy"
    QString longTimeFormat;  // Qt picture, e.g. "HH:mm:ss" or "h:mm:ss AP"
    enum class Order { DMY, MDY, YMD } order = Order::DMY;
    QStringList monthNamesShort; // 12 names
    QStringList monthNamesLong;
    QString amDesignator;
    QString pmDesignator;
    QLocale locale;

    static const Regional& current();
    // Re-reads the locale environment (after a test changes LANG/LC_ALL).
    static void reload();
};

// Text to number under the regional settings (IsNumeric / CDbl): blanks around it,
// a sign, grouping, the regional decimal separator, an exponent, "&H" hex.
std::optional<double> parseNumber(const QString& text);
// Text to a date serial under the regional settings (IsDate / CDate): dates in the short
// date order with "/", "-" or "." as separator, month names, times with or without
// seconds and with an a.m./p.m. designator, or a date and a time.
std::optional<double> parseDate(const QString& text);

bool isNumeric(const QString& text);
bool isDateText(const QString& text);

// The general date text of a serial: short date, long time, or both with a blank.
QString generalDate(double serial);
// A number as a text: up to 15 significant digits, regional decimal separator.
QString numberText(double value);

// Val: the leading number of a text, read with a point as decimal separator
// whatever the regional settings; blanks are skipped; nothing numeric gives 0.
double val(const QString& text);

} // namespace runtime

#pragma once

#include "Variant.h"

#include <QString>

#include <memory>
#include <string>

namespace runtime {

struct Picture;

// A format picture taken apart once, to format many values as Format does.
class FormatPicture {
public:
    FormatPicture() = default;
    explicit FormatPicture(const QString& picture);
    const QString& text() const { return m_text; }
    bool isEmpty() const { return m_text.isEmpty(); }
    QString format(const Variant& value) const;

private:
    QString m_text;
    std::shared_ptr<const Picture> m_compiled;
};

// Format(value, picture): one formatter driven by the picture. Date pictures use
// y, m, d, h, n, s tokens (an "m" after "h" or before "s" is minutes), "/" and ":" for the
// regional separators, "mmm" for the short month name; number pictures use 0, #, ".",
// "," (grouping) and literal characters such as "$". A number under a date picture is a
// date serial. Null gives the empty text; text that reads as a number or date is
// converted first; other text is returned as it is.
QString Format(const Variant& value, const QString& picture);

// The digits of |value| rounded half away from zero to `decimals` places, read from its
// 15 significant decimal digits (so 2.675 gives 2.68); the integer digits without leading zeros.
void roundDecimal(double value, int decimals, std::string& integerDigits, std::string& fractionDigits);

} // namespace runtime

#include "Format.h"

#include "DateSerial.h"
#include "Regional.h"
#include "RuntimeError.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace runtime {

namespace {

bool isDatePicture(const QString& picture) {
    bool quoted = false;
    for (int i = 0; i < picture.size(); ++i) {
        QChar c = picture[i];
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (c == QLatin1Char('\\')) {
            ++i;
        } else if (!quoted && QStringLiteral("yYmMdDhHnNsS").contains(c)) {
            return true;
        }
    }
    return false;
}

// A run of one letter in a date picture ("yyyy", "mm"), or one literal character.
struct DateToken {
    QChar letter; // lower case; null for a literal
    int count = 0;
    QString literal;
};

QList<DateToken> tokenizeDatePicture(const QString& picture) {
    QList<DateToken> tokens;
    for (int i = 0; i < picture.size();) {
        QChar c = picture[i].toLower();
        if (QStringLiteral("ymdhns").contains(c)) {
            int start = i;
            while (i < picture.size() && picture[i].toLower() == c)
                ++i;
            tokens.append({c, i - start, {}});
        } else if (c == QLatin1Char('"')) {
            int end = picture.indexOf(QLatin1Char('"'), i + 1);
            if (end < 0) end = picture.size();
            tokens.append({QChar(), 0, picture.mid(i + 1, end - i - 1)});
            i = end + 1;
        } else if (c == QLatin1Char('\\') && i + 1 < picture.size()) {
            tokens.append({QChar(), 0, QString(picture[i + 1])});
            i += 2;
        } else {
            tokens.append({QChar(), 0, QString(picture[i])});
            ++i;
        }
    }
    // An "m" run right after an hour or right before a seconds run means minutes.
    auto neighbourLetter = [&](int from, int step) -> QChar {
        for (int j = from + step; j >= 0 && j < tokens.size(); j += step)
            if (!tokens[j].letter.isNull()) return tokens[j].letter;
        return {};
    };
    for (int i = 0; i < tokens.size(); ++i) {
        if (tokens[i].letter == QLatin1Char('m') && tokens[i].count <= 2 &&
            (neighbourLetter(i, -1) == QLatin1Char('h') || neighbourLetter(i, 1) == QLatin1Char('s')))
            tokens[i].letter = QLatin1Char('n');
    }
    return tokens;
}

QString two(int v) {
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

QString formatDate(double serial, const QString& picture) {
    const Regional& r = Regional::current();
    const QDate d = toDate(serial);
    const QTime t = toTime(serial);
    QString out;
    for (const DateToken& token : tokenizeDatePicture(picture)) {
        if (token.letter.isNull()) {
            if (token.literal == QLatin1String("/"))
                out += r.dateSeparator;
            else if (token.literal == QLatin1String(":"))
                out += r.timeSeparator;
            else
                out += token.literal;
            continue;
        }
        switch (token.letter.unicode()) {
        case 'y':
            out += token.count >= 3 ? QString::number(d.year()) : two(d.year() % 100);
            break;
        case 'm':
            if (token.count >= 4)
                out += r.monthNamesLong[d.month() - 1];
            else if (token.count == 3)
                out += r.monthNamesShort[d.month() - 1];
            else
                out += token.count == 2 ? two(d.month()) : QString::number(d.month());
            break;
        case 'd':
            if (token.count >= 4)
                out += r.locale.dayName(d.dayOfWeek(), QLocale::LongFormat);
            else if (token.count == 3)
                out += r.locale.dayName(d.dayOfWeek(), QLocale::ShortFormat);
            else
                out += token.count == 2 ? two(d.day()) : QString::number(d.day());
            break;
        case 'h':
            out += token.count >= 2 ? two(t.hour()) : QString::number(t.hour());
            break;
        case 'n':
            out += token.count >= 2 ? two(t.minute()) : QString::number(t.minute());
            break;
        case 's':
            out += token.count >= 2 ? two(t.second()) : QString::number(t.second());
            break;
        default:
            break;
        }
    }
    return out;
}

// The digits of |value| rounded half away from zero to `decimals` places, read from its
// 15 significant decimal digits as the classic runtime does (so 2.675 gives 2.68).
void roundDecimal(double value, int decimals, QString& integerDigits, QString& fractionDigits) {
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, 14);
    QString text = QString::fromLatin1(buffer, written.ptr - buffer);
    int e = text.indexOf(QLatin1Char('e'));
    QString mantissa = text.left(e).remove(QLatin1Char('.'));
    int exponent = text.mid(e + 1).toInt();
    // mantissa digits represent 0.d1d2... * 10^(exponent + 1)
    int pointPosition = exponent + 1;
    QString digits = mantissa;
    if (pointPosition <= 0) {
        digits = QString(-pointPosition, QLatin1Char('0')) + digits;
        pointPosition = 0;
    }
    while (digits.size() < pointPosition + decimals + 1)
        digits += QLatin1Char('0');
    int keep = pointPosition + decimals;
    QString kept = digits.left(keep);
    bool roundUp = digits[keep].digitValue() >= 5;
    if (roundUp) {
        int i = kept.size() - 1;
        for (; i >= 0; --i) {
            if (kept[i] == QLatin1Char('9')) {
                kept[i] = QLatin1Char('0');
            } else {
                kept[i] = QChar(kept[i].unicode() + 1);
                break;
            }
        }
        if (i < 0) {
            kept.prepend(QLatin1Char('1'));
            ++pointPosition;
        }
    }
    integerDigits = kept.left(pointPosition);
    fractionDigits = kept.mid(pointPosition);
    while (integerDigits.size() > 1 && integerDigits.startsWith(QLatin1Char('0')))
        integerDigits.remove(0, 1);
    if (integerDigits.isEmpty()) integerDigits = QStringLiteral("0");
}

QString formatNumber(double value, const QString& picture) {
    const Regional& r = Regional::current();
    checkedDouble(value);
    // Prefix literals, the digit placeholders, suffix literals.
    int first = -1, last = -1;
    for (int i = 0; i < picture.size(); ++i) {
        if (QStringLiteral("0#.,").contains(picture[i])) {
            if (first < 0) first = i;
            last = i;
        }
    }
    if (first < 0) return picture;
    QString prefix = picture.left(first);
    QString body = picture.mid(first, last - first + 1);
    QString suffix = picture.mid(last + 1);

    int point = body.indexOf(QLatin1Char('.'));
    QString integerPart = point < 0 ? body : body.left(point);
    QString fractionPart = point < 0 ? QString() : body.mid(point + 1);
    bool grouping = integerPart.contains(QLatin1Char(','));
    int minimumIntegerDigits = integerPart.count(QLatin1Char('0'));
    int decimals = fractionPart.count(QLatin1Char('0')) + fractionPart.count(QLatin1Char('#'));
    int requiredDecimals = fractionPart.count(QLatin1Char('0'));

    QString integerDigits, fractionDigits;
    roundDecimal(value, decimals, integerDigits, fractionDigits);
    while (fractionDigits.size() > requiredDecimals && fractionDigits.endsWith(QLatin1Char('0')))
        fractionDigits.chop(1);
    if (integerDigits == QLatin1String("0") && minimumIntegerDigits == 0) integerDigits.clear();
    while (integerDigits.size() < minimumIntegerDigits)
        integerDigits.prepend(QLatin1Char('0'));
    if (grouping) {
        for (int i = integerDigits.size() - 3; i > 0; i -= 3)
            integerDigits.insert(i, r.thousandsSeparator);
    }
    QString number = integerDigits;
    if (point >= 0 && (!fractionDigits.isEmpty() || requiredDecimals > 0))
        number += r.decimalSeparator + fractionDigits;
    else if (point >= 0 && fractionDigits.isEmpty() && fractionPart.isEmpty())
        number += r.decimalSeparator;
    const bool zero = std::none_of(number.begin(), number.end(),
                                   [](QChar c) { return c >= QLatin1Char('1') && c <= QLatin1Char('9'); });
    QString sign = value < 0 && !zero ? QStringLiteral("-") : QString();
    return sign + prefix + number + suffix;
}

} // namespace

QString Format(const Variant& value, const QString& picture) {
    if (value.isNull() || value.isEmpty()) return {};
    if (picture.isEmpty()) return value.toString();
    if (isDatePicture(picture)) {
        double serial;
        if (value.isString()) {
            if (auto date = parseDate(value.rawString()))
                serial = *date;
            else if (auto number = parseNumber(value.rawString()))
                serial = *number;
            else
                return value.rawString();
        } else {
            serial = value.toDouble();
        }
        return formatDate(serial, picture);
    }
    double number;
    if (value.isString()) {
        if (auto n = parseNumber(value.rawString()))
            number = *n;
        else if (auto date = parseDate(value.rawString()))
            number = *date;
        else
            return value.rawString();
    } else {
        number = value.toDouble();
    }
    return formatNumber(number, picture);
}

} // namespace runtime

#include "Format.h"

#include "DateSerial.h"
#include "Regional.h"
#include "RuntimeError.h"

#include <QHash>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>

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
    enum class Literal { Text, DateSeparator, TimeSeparator };
    QChar letter; // lower case; null for a literal
    int count = 0;
    QString literal;
    Literal kind = Literal::Text; // "/" and ":" stand for the regional separators
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
    for (DateToken& token : tokens) {
        if (token.literal == QLatin1String("/")) token.kind = DateToken::Literal::DateSeparator;
        if (token.literal == QLatin1String(":")) token.kind = DateToken::Literal::TimeSeparator;
    }
    return tokens;
}

// The digits of a number, at least `width` of them.
void appendNumber(QString& out, int value, int width = 1) {
    char buffer[12];
    const char* end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    const char* digits = buffer;
    if (*digits == '-') out += QLatin1Char(*digits++);
    for (qsizetype n = end - digits; n < width; ++n)
        out += QLatin1Char('0');
    out += QLatin1StringView(digits, end - digits);
}

QString formatDate(double serial, const QList<DateToken>& tokens) {
    const Regional& r = Regional::current();
    // The day and the time only where the picture shows them.
    bool day = false, time = false;
    for (const DateToken& token : tokens) {
        const char16_t letter = token.letter.unicode();
        day = day || letter == u'y' || letter == u'm' || letter == u'd';
        time = time || letter == u'h' || letter == u'n' || letter == u's';
    }
    const QDate d = day ? toDate(serial) : QDate();
    const QTime t = time ? toTime(serial) : QTime();
    QString out;
    out.reserve(2 * tokens.size() + 8);
    for (const DateToken& token : tokens) {
        if (token.letter.isNull()) {
            switch (token.kind) {
            case DateToken::Literal::DateSeparator:
                out += r.dateSeparator;
                break;
            case DateToken::Literal::TimeSeparator:
                out += r.timeSeparator;
                break;
            case DateToken::Literal::Text:
                out += token.literal;
                break;
            }
            continue;
        }
        switch (token.letter.unicode()) {
        case 'y':
            token.count >= 3 ? appendNumber(out, d.year()) : appendNumber(out, d.year() % 100, 2);
            break;
        case 'm':
            if (token.count >= 4)
                out += r.monthNamesLong[d.month() - 1];
            else if (token.count == 3)
                out += r.monthNamesShort[d.month() - 1];
            else
                appendNumber(out, d.month(), token.count == 2 ? 2 : 1);
            break;
        case 'd':
            if (token.count >= 4)
                out += r.locale.dayName(d.dayOfWeek(), QLocale::LongFormat);
            else if (token.count == 3)
                out += r.locale.dayName(d.dayOfWeek(), QLocale::ShortFormat);
            else
                appendNumber(out, d.day(), token.count == 2 ? 2 : 1);
            break;
        case 'h':
            appendNumber(out, t.hour(), token.count >= 2 ? 2 : 1);
            break;
        case 'n':
            appendNumber(out, t.minute(), token.count >= 2 ? 2 : 1);
            break;
        case 's':
            appendNumber(out, t.second(), token.count >= 2 ? 2 : 1);
            break;
        default:
            break;
        }
    }
    return out;
}

// A number picture taken apart: prefix literals, the digit placeholders, suffix literals.
struct NumberPicture {
    bool hasDigits = false;
    QString prefix;
    QString suffix;
    bool point = false;
    bool fractionEmpty = true;
    bool grouping = false;
    int minimumIntegerDigits = 0;
    int decimals = 0;
    int requiredDecimals = 0;
};

NumberPicture parseNumberPicture(const QString& picture) {
    NumberPicture p;
    int first = -1, last = -1;
    for (int i = 0; i < picture.size(); ++i) {
        if (QStringLiteral("0#.,").contains(picture[i])) {
            if (first < 0) first = i;
            last = i;
        }
    }
    if (first < 0) return p;
    p.hasDigits = true;
    p.prefix = picture.left(first);
    const QString body = picture.mid(first, last - first + 1);
    p.suffix = picture.mid(last + 1);
    const int point = int(body.indexOf(QLatin1Char('.')));
    const QString integerPart = point < 0 ? body : body.left(point);
    const QString fractionPart = point < 0 ? QString() : body.mid(point + 1);
    p.point = point >= 0;
    p.fractionEmpty = fractionPart.isEmpty();
    p.grouping = integerPart.contains(QLatin1Char(','));
    p.minimumIntegerDigits = int(integerPart.count(QLatin1Char('0')));
    p.decimals = int(fractionPart.count(QLatin1Char('0')) + fractionPart.count(QLatin1Char('#')));
    p.requiredDecimals = int(fractionPart.count(QLatin1Char('0')));
    return p;
}

QString formatNumber(double value, const QString& picture, const NumberPicture& p) {
    const Regional& r = Regional::current();
    checkedDouble(value);
    if (!p.hasDigits) return picture;

    std::string integerDigits, fractionDigits;
    roundDecimal(value, p.decimals, integerDigits, fractionDigits);
    while (fractionDigits.size() > size_t(p.requiredDecimals) && fractionDigits.back() == '0')
        fractionDigits.pop_back();
    if (integerDigits == "0" && p.minimumIntegerDigits == 0) integerDigits.clear();
    if (integerDigits.size() < size_t(p.minimumIntegerDigits))
        integerDigits.insert(0, size_t(p.minimumIntegerDigits) - integerDigits.size(), '0');
    QString number;
    number.reserve(qsizetype(integerDigits.size() + fractionDigits.size()) + 8);
    for (size_t i = 0; i < integerDigits.size(); ++i) {
        number += QLatin1Char(integerDigits[i]);
        const size_t left = integerDigits.size() - 1 - i;
        if (p.grouping && left > 0 && left % 3 == 0) number += r.thousandsSeparator;
    }
    if (p.point && (!fractionDigits.empty() || p.requiredDecimals > 0))
        number +=
            r.decimalSeparator + QLatin1StringView(fractionDigits.data(), qsizetype(fractionDigits.size()));
    else if (p.point && fractionDigits.empty() && p.fractionEmpty)
        number += r.decimalSeparator;
    const bool zero = std::none_of(number.begin(), number.end(),
                                   [](QChar c) { return c >= QLatin1Char('1') && c <= QLatin1Char('9'); });
    return (value < 0 && !zero ? QStringLiteral("-") : QString()) + p.prefix + number + p.suffix;
}

} // namespace

// A picture as Format reads it, taken apart once.
struct Picture {
    bool date = false;
    QList<DateToken> tokens;
    NumberPicture number;
};

namespace {

std::shared_ptr<const Picture> compiled(const QString& picture) {
    thread_local QHash<QString, std::shared_ptr<const Picture>> cache;
    auto it = cache.constFind(picture);
    if (it != cache.constEnd()) return *it;
    if (cache.size() > 512) cache.clear();
    auto compiledPicture = std::make_shared<Picture>();
    compiledPicture->date = isDatePicture(picture);
    if (compiledPicture->date)
        compiledPicture->tokens = tokenizeDatePicture(picture);
    else
        compiledPicture->number = parseNumberPicture(picture);
    return *cache.emplace(picture, std::move(compiledPicture));
}

// The number a value stands for under a picture: a text read as a date first under a date
// picture, as a number first under a number picture; none for a text that is neither.
std::optional<double> numberOf(const Variant& value, bool date) {
    if (!value.isString()) return value.toDouble();
    const QString& text = value.rawString();
    const auto first = date ? parseDate(text) : parseNumber(text);
    return first ? first : date ? parseNumber(text) : parseDate(text);
}

QString formatWith(const Variant& value, const QString& text, const Picture& picture) {
    const std::optional<double> number = numberOf(value, picture.date);
    if (!number) return value.rawString();
    return picture.date ? formatDate(*number, picture.tokens) : formatNumber(*number, text, picture.number);
}

} // namespace

// The digits of |value| rounded half away from zero to `decimals` places, read from its
// 15 significant decimal digits (so 2.675, held as 2.67499999..., gives 2.68).
void roundDecimal(double value, int decimals, std::string& integerDigits, std::string& fractionDigits) {
    char buffer[64];
    const char* end =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, 14)
            .ptr;
    const char* e = std::find(static_cast<const char*>(buffer), end, 'e');
    std::string digits;
    for (const char* c = buffer; c < e; ++c)
        if (*c != '.') digits += *c;
    int exponent = 0;
    std::from_chars(e[1] == '+' ? e + 2 : e + 1, end, exponent);
    // the digits represent 0.d1d2... * 10^(exponent + 1)
    int pointPosition = exponent + 1;
    if (pointPosition <= 0) {
        digits.insert(0, size_t(-pointPosition), '0');
        pointPosition = 0;
    }
    const size_t keep = size_t(pointPosition) + size_t(decimals);
    if (digits.size() < keep + 1) digits.resize(keep + 1, '0');
    std::string kept = digits.substr(0, keep);
    if (digits[keep] >= '5') {
        int i = int(kept.size()) - 1;
        for (; i >= 0 && kept[size_t(i)] == '9'; --i)
            kept[size_t(i)] = '0';
        if (i < 0) {
            kept.insert(kept.begin(), '1');
            ++pointPosition;
        } else {
            ++kept[size_t(i)];
        }
    }
    integerDigits = kept.substr(0, size_t(pointPosition));
    fractionDigits = kept.substr(size_t(pointPosition));
    const size_t first = integerDigits.find_first_not_of('0');
    integerDigits = first == std::string::npos ? std::string("0") : integerDigits.substr(first);
}

QString Format(const Variant& value, const QString& picture) {
    if (value.isNull() || value.isEmpty()) return {};
    if (picture.isEmpty()) return value.toString();
    return formatWith(value, picture, *compiled(picture));
}

FormatPicture::FormatPicture(const QString& picture)
    : m_text(picture), m_compiled(picture.isEmpty() ? nullptr : compiled(picture)) {}

QString FormatPicture::format(const Variant& value) const {
    if (value.isNull() || value.isEmpty()) return {};
    if (!m_compiled) return value.toString();
    return formatWith(value, m_text, *m_compiled);
}

} // namespace runtime

#include "Regional.h"

#include "DateSerial.h"
#include "RuntimeError.h"

#include <QRegularExpression>

#include <charconv>
#include <cmath>
#include <limits>
#include <memory>

namespace runtime {

namespace {

QString localeNameFromEnvironment() {
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        QString value = QString::fromLocal8Bit(qgetenv(variable));
        if (!value.isEmpty()) {
            value = value.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
            if (value == QLatin1String("C") || value == QLatin1String("POSIX"))
                return QStringLiteral("en_US");
            return value;
        }
    }
    return QStringLiteral("en_US");
}

QChar firstSeparator(const QString& picture, QChar fallback) {
    for (QChar c : picture)
        if (!c.isLetter() && c != QLatin1Char('\'')) return c;
    return fallback;
}

std::unique_ptr<Regional> makeRegional() {
    auto r = std::make_unique<Regional>();
    r->locale = QLocale(localeNameFromEnvironment());
    if (r->locale.language() == QLocale::C) r->locale = QLocale(QLocale::English, QLocale::UnitedStates);
    const QLocale& l = r->locale;
    r->decimalSeparator = l.decimalPoint().at(0);
    QString group = l.groupSeparator();
    r->thousandsSeparator = group.isEmpty() ? QChar(QLatin1Char(',')) : group.at(0);
    if (r->thousandsSeparator == QChar(0x202F) || r->thousandsSeparator == QChar(0x00A0))
        r->thousandsSeparator = QLatin1Char(' ');

    QString date = l.dateFormat(QLocale::ShortFormat);
    if (!date.contains(QLatin1String("yyyy"))) date.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    r->shortDateFormat = date;
    r->dateSeparator = firstSeparator(date, QLatin1Char('/'));
    int y = date.indexOf(QLatin1Char('y')), m = date.indexOf(QLatin1Char('M')),
        d = date.indexOf(QLatin1Char('d'));
    r->order = y < m && y < d ? Regional::Order::YMD : (m < d ? Regional::Order::MDY : Regional::Order::DMY);

    QString time = l.timeFormat(QLocale::ShortFormat);
    if (!time.contains(QLatin1String("ss"))) time.replace(QLatin1String("mm"), QLatin1String("mm:ss"));
    r->longTimeFormat = time;
    int hour = time.indexOf(QRegularExpression(QStringLiteral("[hH]")));
    r->timeSeparator = firstSeparator(time.mid(hour < 0 ? 0 : hour), QLatin1Char(':'));

    for (int month = 1; month <= 12; ++month) {
        QString shortName = l.monthName(month, QLocale::ShortFormat);
        while (shortName.endsWith(QLatin1Char('.')))
            shortName.chop(1);
        r->monthNamesShort << shortName;
        r->monthNamesLong << l.monthName(month, QLocale::LongFormat);
    }
    r->amDesignator = l.amText();
    r->pmDesignator = l.pmText();
    return r;
}

std::unique_ptr<Regional>& instance() {
    static std::unique_ptr<Regional> regional;
    return regional;
}

// Letters of a time designator without blanks and dots: "a. m." -> "am".
QString designatorKey(const QString& text) {
    QString key;
    for (QChar c : text)
        if (c.isLetter()) key += c.toLower();
    return key;
}

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QChar(0x00A0);
}

// A number written in ASCII with "." as decimal separator, read without the C library's
// locale: NaN when it holds no number, an infinity when it overflows, 0 when it underflows.
double plainNumber(const QByteArray& text) {
    const char* begin = text.constData();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+') ++begin;
    double value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error == std::errc::invalid_argument) return std::numeric_limits<double>::quiet_NaN();
    if (error != std::errc::result_out_of_range) return value;
    // Out of range: the decimal exponent of the leading digit tells overflow from underflow.
    const bool negative = *begin == '-';
    long long magnitude = 0;
    bool point = false, leading = true;
    const char* c = negative ? begin + 1 : begin;
    for (; c != stop && *c != 'e' && *c != 'E'; ++c) {
        if (*c == '.') {
            point = true;
        } else if (leading && *c == '0') {
            if (point) --magnitude;
        } else {
            leading = false;
            if (!point) ++magnitude;
        }
    }
    if (c != stop) {
        long long exponent = 0;
        const char* digits = c + 1;
        const auto parsed = std::from_chars(digits + (*digits == '+'), stop, exponent);
        if (parsed.ec == std::errc::result_out_of_range) exponent = *digits == '-' ? -(1LL << 40) : 1LL << 40;
        magnitude += exponent;
    }
    if (magnitude <= 0) return negative ? -0.0 : 0.0;
    return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
}

} // namespace

const Regional& Regional::current() {
    if (!instance()) instance() = makeRegional();
    return *instance();
}

void Regional::reload() {
    instance() = makeRegional();
}

std::optional<double> parseNumber(const QString& input) {
    const Regional& r = Regional::current();
    QString text = input.trimmed();
    if (text.isEmpty()) return std::nullopt;
    if (text.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
        bool ok = false;
        qlonglong v = text.mid(2).toLongLong(&ok, 16);
        if (!ok) return std::nullopt;
        return static_cast<double>(v);
    }
    QByteArray plain;
    int i = 0;
    const int n = text.size();
    if (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')) {
        if (text[i] == QLatin1Char('-')) plain += '-';
        ++i;
        while (i < n && isBlank(text[i]))
            ++i;
    }
    bool digits = false, decimal = false;
    for (; i < n; ++i) {
        QChar c = text[i];
        if (c.isDigit()) {
            plain += static_cast<char>(c.unicode());
            digits = true;
        } else if (c == r.decimalSeparator && !decimal) {
            plain += '.';
            decimal = true;
        } else if (c == r.thousandsSeparator && !decimal) {
            continue;
        } else {
            break;
        }
    }
    if (!digits) return std::nullopt;
    if (i < n && (text[i] == QLatin1Char('e') || text[i] == QLatin1Char('E'))) {
        plain += 'e';
        ++i;
        if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
            plain += static_cast<char>(text[i++].unicode());
        bool exponentDigits = false;
        for (; i < n && text[i].isDigit(); ++i) {
            plain += static_cast<char>(text[i].unicode());
            exponentDigits = true;
        }
        if (!exponentDigits) return std::nullopt;
    }
    if (i != n) return std::nullopt;
    const double value = plainNumber(plain);
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

bool isNumeric(const QString& text) {
    return parseNumber(text).has_value();
}

namespace {

struct Token {
    enum Kind { Number, Word, Separator } kind;
    QString text;
};

QList<Token> tokenize(const QString& text) {
    QList<Token> tokens;
    int i = 0;
    const int n = text.size();
    while (i < n) {
        QChar c = text[i];
        if (isBlank(c) || c == QLatin1Char(',')) {
            ++i;
        } else if (c.isDigit()) {
            int start = i;
            while (i < n && text[i].isDigit())
                ++i;
            tokens.append({Token::Number, text.mid(start, i - start)});
        } else if (c.isLetter()) {
            int start = i;
            while (i < n && (text[i].isLetter() || text[i] == QLatin1Char('.')))
                ++i;
            tokens.append({Token::Word, text.mid(start, i - start)});
        } else {
            tokens.append({Token::Separator, QString(c)});
            ++i;
        }
    }
    return tokens;
}

int monthFromName(const QString& word) {
    const Regional& r = Regional::current();
    QString key = designatorKey(word);
    if (key.size() < 3) return 0;
    static const QStringList english = {QStringLiteral("jan"), QStringLiteral("feb"), QStringLiteral("mar"),
                                        QStringLiteral("apr"), QStringLiteral("may"), QStringLiteral("jun"),
                                        QStringLiteral("jul"), QStringLiteral("aug"), QStringLiteral("sep"),
                                        QStringLiteral("oct"), QStringLiteral("nov"), QStringLiteral("dec")};
    for (int m = 0; m < 12; ++m) {
        QString shortName = designatorKey(r.monthNamesShort[m]);
        QString longName = designatorKey(r.monthNamesLong[m]);
        if (key == shortName || key == longName || longName.startsWith(key) || key == english[m] ||
            (key.size() >= 3 && key.startsWith(english[m])))
            return m + 1;
    }
    return 0;
}

// Which time designator a word is: 1 am, 2 pm, 0 none.
int designator(const QString& word) {
    const Regional& r = Regional::current();
    QString key = designatorKey(word);
    if (key == QLatin1String("am") || key == designatorKey(r.amDesignator)) return 1;
    if (key == QLatin1String("pm") || key == designatorKey(r.pmDesignator)) return 2;
    return 0;
}

bool validDate(int y, int m, int d) {
    return y >= 100 && y <= 9999 && QDate::isValid(y, m, d);
}

int expandYear(int year, int digits) {
    if (digits > 2) return year;
    return year < 30 ? 2000 + year : 1900 + year;
}

// A time of day as written; hour -1 when there is none.
struct WrittenTime {
    int hour = -1;
    int minute = 0;
    int second = 0;
    int designator = 0; // 1 am, 2 pm, 0 none
};

bool isTimeSeparator(const Token& t, const Regional& r) {
    return t.kind == Token::Separator && (t.text == QString(r.timeSeparator) || t.text == QLatin1String(":"));
}

// Whether the tokens from i on are a number, a time separator and a number.
bool timePairAt(const QList<Token>& tokens, int i, const Regional& r) {
    return i + 2 < tokens.size() && tokens[i].kind == Token::Number && isTimeSeparator(tokens[i + 1], r) &&
           tokens[i + 2].kind == Token::Number;
}

// Splits the tokens into the time (numbers joined by the time separator with an optional
// designator, or a lone number with a designator) and the date's tokens (everything else).
WrittenTime splitTime(const QList<Token>& tokens, QList<Token>& dateTokens, const Regional& r) {
    WrittenTime time;
    for (int i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (time.hour < 0 && timePairAt(tokens, i, r)) {
            time.hour = t.text.toInt();
            time.minute = tokens[i + 2].text.toInt();
            i += 2;
            if (timePairAt(tokens, i, r)) {
                time.second = tokens[i + 2].text.toInt();
                i += 2;
            }
            if (i + 1 < tokens.size() && tokens[i + 1].kind == Token::Word &&
                designator(tokens[i + 1].text)) {
                time.designator = designator(tokens[i + 1].text);
                ++i;
            }
            continue;
        }
        if (t.kind == Token::Word && designator(t.text) && time.hour < 0 && dateTokens.size() == 1 &&
            dateTokens.last().kind == Token::Number) {
            time.hour = dateTokens.takeLast().text.toInt();
            time.designator = designator(t.text);
            continue;
        }
        dateTokens.append(t);
    }
    return time;
}

// The time's serial: 0 without a time, nothing when it is no time of day.
std::optional<double> timeValue(WrittenTime t) {
    if (t.hour < 0) return 0.0;
    if (t.designator) {
        if (t.hour < 1 || t.hour > 12) return std::nullopt;
        t.hour = t.hour % 12 + (t.designator == 2 ? 12 : 0);
    }
    if (t.hour > 23 || t.minute > 59 || t.second > 59) return std::nullopt;
    return timeSerial(t.hour, t.minute, t.second);
}

// A date as written: its numbers (with how many digits each) and its month when named.
struct WrittenDate {
    QList<int> numbers;
    QList<int> digits;
    int month = 0;
};

bool isDateSeparator(const QString& text, const Regional& r) {
    return text == QLatin1String("/") || text == QLatin1String("-") || text == QLatin1String(".") ||
           text == QString(r.dateSeparator);
}

// Reads the date's tokens: numbers, at most one month name, one kind of separator.
std::optional<WrittenDate> readDate(const QList<Token>& tokens, const Regional& r) {
    WrittenDate date;
    QString separator;
    for (const Token& t : tokens) {
        if (t.kind == Token::Number) {
            date.numbers << t.text.toInt();
            date.digits << int(t.text.size());
        } else if (t.kind == Token::Word) {
            const int month = monthFromName(t.text);
            if (!month || date.month) return std::nullopt;
            date.month = month;
        } else {
            if (!isDateSeparator(t.text, r)) return std::nullopt;
            if (!separator.isEmpty() && separator != t.text) return std::nullopt;
            separator = t.text;
        }
    }
    return date;
}

struct YearMonthDay {
    int year = 0;
    int month = 0;
    int day = 0;
};

// A date with its month named: "8-dic-26", "dic 8 2026", "8 December".
std::optional<YearMonthDay> withMonthName(const WrittenDate& w, int currentYear) {
    if (w.numbers.size() == 1) return YearMonthDay{currentYear, w.month, w.numbers[0]};
    if (w.numbers.size() != 2) return std::nullopt;
    if (w.digits[0] == 4) return YearMonthDay{w.numbers[0], w.month, w.numbers[1]};
    return YearMonthDay{expandYear(w.numbers[1], w.digits[1]), w.month, w.numbers[0]};
}

// A date of numbers alone, in the regional order (the year first when it has three or more
// digits); day and month trade places when only the other order makes a date.
std::optional<YearMonthDay> fromNumbers(const WrittenDate& w, Regional::Order order, int currentYear) {
    const QList<int>& n = w.numbers;
    YearMonthDay date;
    if (n.size() == 3 && (w.digits[0] >= 3 || order == Regional::Order::YMD))
        date = {expandYear(n[0], w.digits[0]), n[1], n[2]};
    else if (n.size() == 3 && order == Regional::Order::MDY)
        date = {expandYear(n[2], w.digits[2]), n[0], n[1]};
    else if (n.size() == 3)
        date = {expandYear(n[2], w.digits[2]), n[1], n[0]};
    else if (n.size() == 2 && order == Regional::Order::MDY)
        date = {currentYear, n[0], n[1]};
    else if (n.size() == 2)
        date = {currentYear, n[1], n[0]};
    else
        return std::nullopt;
    if (!validDate(date.year, date.month, date.day) && validDate(date.year, date.day, date.month))
        std::swap(date.day, date.month);
    return date;
}

} // namespace

std::optional<double> parseDate(const QString& input) {
    const Regional& r = Regional::current();
    const QList<Token> tokens = tokenize(input.trimmed());
    if (tokens.isEmpty()) return std::nullopt;
    QList<Token> dateTokens;
    const WrittenTime writtenTime = splitTime(tokens, dateTokens, r);
    const std::optional<double> time = timeValue(writtenTime);
    const std::optional<WrittenDate> written = readDate(dateTokens, r);
    if (!time || !written) return std::nullopt;
    if (written->numbers.isEmpty() && !written->month) {
        if (writtenTime.hour < 0) return std::nullopt;
        return time;
    }
    const int currentYear = toDate(today()).year();
    const std::optional<YearMonthDay> date =
        written->month ? withMonthName(*written, currentYear) : fromNumbers(*written, r.order, currentYear);
    if (!date || !validDate(date->year, date->month, date->day)) return std::nullopt;
    const double day = dateSerial(date->year, date->month, date->day);
    return day < 0 ? day - *time : day + *time;
}

bool isDateText(const QString& text) {
    return parseDate(text).has_value();
}

QString generalDate(double serial) {
    const Regional& r = Regional::current();
    const QDate date = toDate(serial);
    const QTime time = toTime(serial);
    bool hasTime = time != QTime(0, 0);
    bool hasDate = date != QDate(1899, 12, 30);
    QString dateText = r.locale.toString(date, r.shortDateFormat);
    QString timeText = r.locale.toString(time, r.longTimeFormat);
    if (!hasTime) return dateText;
    if (!hasDate) return timeText;
    return dateText + QLatin1Char(' ') + timeText;
}

QString numberText(double value) {
    checkedDouble(value);
    if (value == 0) return QStringLiteral("0");
    // As printf's "%.15g" writes it: 1e+20 -> 1E+20, 1e-07 -> 1E-07.
    char buffer[32];
    const char* end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15).ptr;
    QString text;
    text.reserve(end - buffer);
    const QChar decimal = Regional::current().decimalSeparator;
    for (const char* c = buffer; c < end; ++c)
        text += *c == '.' ? decimal : *c == 'e' ? QLatin1Char('E') : QLatin1Char(*c);
    return text;
}

double val(const QString& text) {
    QByteArray plain;
    int i = 0;
    const int n = text.size();
    auto skipBlanks = [&] {
        while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t') ||
                         text[i] == QLatin1Char('\n') || text[i] == QLatin1Char('\r')))
            ++i;
    };
    skipBlanks();
    if (i + 1 < n && text[i] == QLatin1Char('&') &&
        (text[i + 1] == QLatin1Char('H') || text[i + 1] == QLatin1Char('h'))) {
        i += 2;
        QString hex;
        for (; i < n && (text[i].isDigit() || QStringLiteral("abcdefABCDEF").contains(text[i])) &&
               text[i].unicode() < 128;
             ++i)
            hex += text[i];
        return hex.isEmpty() ? 0.0 : static_cast<double>(hex.toLongLong(nullptr, 16));
    }
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        plain += static_cast<char>(text[i++].unicode());
    bool decimal = false, exponent = false;
    for (; i < n; ++i) {
        skipBlanks();
        if (i >= n) break;
        QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) {
            plain += static_cast<char>(c.unicode());
        } else if (c == QLatin1Char('.') && !decimal && !exponent) {
            plain += '.';
            decimal = true;
        } else if ((c == QLatin1Char('e') || c == QLatin1Char('E') || c == QLatin1Char('d') ||
                    c == QLatin1Char('D')) &&
                   !exponent) {
            plain += 'e';
            exponent = true;
            if (i + 1 < n && (text[i + 1] == QLatin1Char('-') || text[i + 1] == QLatin1Char('+')))
                plain += static_cast<char>(text[++i].unicode());
        } else {
            break;
        }
    }
    const double value = plainNumber(plain);
    if (std::isnan(value)) return 0.0;
    if (std::isinf(value)) raise(err::Overflow);
    return value;
}

} // namespace runtime

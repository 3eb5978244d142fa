#include "SqlTokenizer.h"

#include "runtime/RuntimeError.h"

namespace data {

using runtime::Variant;

namespace {

[[noreturn]] void fail(const QString& description) {
    throw runtime::RuntimeError(runtime::err::DatabaseError, description);
}

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool isIdentChar(char16_t u) {
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || isDigit(u) || u == '_' || u >= 0x80;
}

int digitsFrom(const char16_t* text, int size, int j) {
    while (j < size && isDigit(text[j]))
        ++j;
    return j;
}

// The end of a number starting at `at`: digits, a fraction and an exponent; whole when it has
// neither.
int numberEnd(const char16_t* text, int size, int at, bool& whole) {
    int j = digitsFrom(text, size, at);
    whole = true;
    if (j < size && text[j] == u'.') {
        whole = false;
        j = digitsFrom(text, size, j + 1);
    }
    if (j < size && (text[j] == u'e' || text[j] == u'E')) {
        int k = j + 1;
        if (k < size && (text[k] == u'+' || text[k] == u'-')) ++k;
        if (k < size && isDigit(text[k])) {
            whole = false;
            j = digitsFrom(text, size, k);
        }
    }
    return j;
}

// A number's value: whole numbers of up to 18 digits stay exact.
Variant numberValue(QStringView digits, bool whole) {
    bool fits = false;
    const qlonglong integer = whole ? digits.toLongLong(&fits) : 0;
    return fits ? Variant(std::int64_t(integer)) : Variant(digits.toDouble());
}

bool startsNumber(const char16_t* text, int size, int at) {
    return at < size && (isDigit(text[at]) || (text[at] == u'.' && at + 1 < size && isDigit(text[at + 1])));
}

// Walks a text once, writing its shape as it goes: text[m_segment, m_at) is still to be
// copied. A literal's mark (two characters) may be longer than the literal.
class Tokenizer {
public:
    Tokenizer(const QString& sql, bool withTokens)
        : m_sql(sql), m_text(reinterpret_cast<const char16_t*>(sql.constData())), m_size(int(sql.size())),
          m_withTokens(withTokens), m_shape(2 * qsizetype(m_size), Qt::Uninitialized),
          m_shapeBegin(reinterpret_cast<char16_t*>(m_shape.data())), m_write(m_shapeBegin) {
        if (withTokens) m_out.tokens.reserve(m_size / 4);
        m_out.literals.reserve(16);
    }

    SqlText run() {
        while (m_at < m_size)
            next();
        copyText();
        m_shape.truncate(m_write - m_shapeBegin);
        m_out.shape = std::move(m_shape);
        m_out.query = m_out.verb == QLatin1String("select");
        return std::move(m_out);
    }

private:
    void next() {
        const char16_t c = m_text[m_at];
        if (QChar::isSpace(c))
            blanks();
        else if (c == u'\'' || c == u'"')
            quoted(c);
        else if (c == u'[')
            bracketed();
        else if (c == u'#')
            dateLiteral();
        else if (startsNumber(m_text, m_size, m_at))
            number();
        else if (isIdentChar(c))
            name();
        else
            symbol();
    }

    void copyText() {
        std::copy(m_text + m_segment, m_text + m_at, m_write);
        m_write += m_at - m_segment;
    }

    // The statement's kind, from its first word past any opening parentheses.
    void firstWord(QStringView token) {
        if (m_out.verb.isEmpty() && token != u"(") m_out.verb = token.toString().toLower();
    }

    void addToken(SqlToken::Kind kind, QStringView text) {
        if (m_withTokens) m_out.tokens.append({kind, text.toString()});
        firstWord(kind == SqlToken::Quoted ? QStringView(u"[") : text);
    }

    void addParam(const Variant& value, bool isText, bool isDate, int end) {
        const int index = int(m_out.literals.size());
        m_out.literals.append(value);
        if (isDate) m_out.dateLiterals.append(index);
        if (m_withTokens) m_out.tokens.append({SqlToken::Param, {}, index, isText, isDate});
        firstWord(u"?");
        copyText();
        *m_write++ = u'\x01';
        *m_write++ = isText ? u's' : isDate ? u'd' : u'n';
        m_at = m_segment = end;
    }

    // A run of blanks inside the text becomes one blank; at either end it goes.
    void blanks() {
        int j = m_at + 1;
        while (j < m_size && QChar::isSpace(m_text[j]))
            ++j;
        const bool inside = (m_write != m_shapeBegin || m_at > m_segment) && j < m_size;
        if (inside && m_text[m_at] == u' ' && j == m_at + 1) { // stays, in the text still to copy
            m_at = j;
            return;
        }
        copyText();
        if (inside) *m_write++ = u' ';
        m_at = m_segment = j;
    }

    // 'text' or "text", a doubled quote standing for one.
    void quoted(char16_t quote) {
        QString value;
        int j = m_at + 1;
        for (int close; (close = int(m_sql.indexOf(QChar(quote), j))) >= 0;) {
            value += QStringView(m_sql).mid(j, close - j);
            j = close + 1;
            if (j >= m_size || m_text[j] != quote) {
                addParam(Variant(value), true, false, j);
                return;
            }
            value += QChar(quote);
            ++j;
        }
        fail(QStringLiteral("Syntax error in string in query expression '%1'.").arg(m_sql.mid(m_at)));
    }

    void bracketed() {
        const int close = int(m_sql.indexOf(QLatin1Char(']'), m_at + 1));
        if (close < 0) fail(QStringLiteral("Invalid bracketing of name '%1'.").arg(m_sql.mid(m_at)));
        addToken(SqlToken::Quoted, QStringView(m_sql).mid(m_at + 1, close - m_at - 1));
        m_at = close + 1;
    }

    void dateLiteral() {
        const int close = int(m_sql.indexOf(QLatin1Char('#'), m_at + 1));
        if (close < 0)
            fail(QStringLiteral("Syntax error in date in query expression '%1'.").arg(m_sql.mid(m_at)));
        addParam(Variant(m_sql.mid(m_at + 1, close - m_at - 1)), false, true, close + 1);
    }

    // A number: a literal, or in ORDER BY a whole one that is a column's position.
    void number() {
        bool whole = true;
        const int j = numberEnd(m_text, m_size, m_at, whole);
        const QStringView digits = QStringView(m_sql).mid(m_at, j - m_at);
        if (m_orderBy && whole) { // a column's position, part of the statement's shape
            addToken(SqlToken::Word, digits);
            m_at = j;
            return;
        }
        // In ORDER BY another number in its place could be a position: it stays as it is.
        if (!m_orderBy) m_out.numbers.append({int(m_out.literals.size()), m_at, j});
        addParam(numberValue(digits, whole), false, false, j);
    }

    void name() {
        int j = m_at;
        while (j < m_size && isIdentChar(m_text[j]))
            ++j;
        const QStringView word = QStringView(m_sql).mid(m_at, j - m_at);
        addToken(SqlToken::Word, word);
        noteClause(word);
        m_at = j;
    }

    // Whether the words read so far end in an ORDER BY clause, whose numbers are positions.
    void noteClause(QStringView word) {
        if (word.compare(u"by", Qt::CaseInsensitive) == 0)
            m_orderBy = m_lastWord.compare(u"order", Qt::CaseInsensitive) == 0;
        else if (word.compare(u"union", Qt::CaseInsensitive) == 0 ||
                 word.compare(u"limit", Qt::CaseInsensitive) == 0)
            m_orderBy = false;
        m_lastWord = word;
    }

    void symbol() {
        const char16_t c = m_text[m_at];
        const char16_t second = m_at + 1 < m_size ? m_text[m_at + 1] : 0;
        const bool pair = (c == '<' && (second == '>' || second == '=')) ||
                          ((c == '>' || c == '!') && second == '=') || (c == '|' && second == '|');
        const QStringView text = QStringView(m_sql).mid(m_at, pair ? 2 : 1);
        addToken(SqlToken::Symbol, text);
        if (c == u')' || c == u';') m_orderBy = false;
        m_at += int(text.size());
    }

    const QString& m_sql;
    const char16_t* m_text;
    int m_size;
    bool m_withTokens;
    SqlText m_out;
    QString m_shape;
    char16_t* m_shapeBegin;
    char16_t* m_write;
    int m_segment = 0;
    int m_at = 0;
    QStringView m_lastWord;
    bool m_orderBy = false;
};

} // namespace

SqlText tokenize(const QString& sql, bool withTokens) {
    return Tokenizer(sql, withTokens).run();
}

bool literalsLike(const QString& sql, const QString& knownSql, const SqlText& known,
                  QVector<Variant>& literals) {
    const auto* text = reinterpret_cast<const char16_t*>(sql.constData());
    const auto* knownText = reinterpret_cast<const char16_t*>(knownSql.constData());
    const int size = int(sql.size());
    literals = known.literals;
    int at = 0, knownAt = 0;
    // The text between two numbers is the known text's; each number is read as tokenize reads it.
    for (const SqlText::Number& number : known.numbers) {
        const int same = number.begin - knownAt;
        if (at + same > size || !std::equal(text + at, text + at + same, knownText + knownAt)) return false;
        at += same;
        knownAt = number.end;
        if (!startsNumber(text, size, at)) return false;
        bool whole = true;
        const int end = numberEnd(text, size, at, whole);
        literals[number.literal] = numberValue(QStringView(sql).mid(at, end - at), whole);
        at = end;
    }
    const int rest = int(knownSql.size()) - knownAt;
    return size - at == rest && std::equal(text + at, text + size, knownText + knownAt);
}

} // namespace data

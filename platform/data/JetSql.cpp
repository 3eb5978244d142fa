#include "JetSql.h"

#include "JetFunctions.h"
#include "SqlTokens.h"
#include "SqliteHandle_p.h"
#include "TextCollation_p.h"

#include "runtime/DateSerial.h"

#include <QDate>
#include <QRegularExpression>

#include <sqlite3.h>

#include <optional>

namespace data {

using runtime::Variant;
using namespace sql;

namespace {

struct Clock {
    int hour, minute, second;
};

std::optional<double> dayOf(const QRegularExpressionMatch& m) {
    int year, month, day;
    if (!m.captured(1).isEmpty()) {
        year = m.captured(1).toInt();
        month = m.captured(2).toInt();
        day = m.captured(3).toInt();
    } else {
        month = m.captured(4).toInt();
        day = m.captured(5).toInt();
        year = m.captured(6).toInt();
        if (m.captured(6).size() == 2) year += year < 30 ? 2000 : 1900;
    }
    if (!QDate::isValid(year, month, day)) return std::nullopt;
    return runtime::dateSerial(year, month, day);
}

std::optional<double> timeOf(const QRegularExpressionMatch& m) {
    Clock c{m.captured(7).toInt(), m.captured(8).toInt(),
            m.captured(9).isEmpty() ? 0 : m.captured(9).toInt()};
    const QString ampm = m.captured(10).toUpper();
    if (!ampm.isEmpty()) {
        if (c.hour < 1 || c.hour > 12) return std::nullopt;
        c.hour = c.hour % 12 + (ampm == QLatin1String("PM") ? 12 : 0);
    }
    if (c.hour > 23 || c.minute > 59 || c.second > 59) return std::nullopt;
    return runtime::timeSerial(c.hour, c.minute, c.second);
}

// #yyyy-mm-dd#, #m/d/yyyy# and #hh:nn[:ss] [AM|PM]#, alone or a date followed by a time.
std::optional<double> parseDateLiteral(const QString& text) {
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*(?:(\d{4})-(\d{1,2})-(\d{1,2})|(\d{1,2})/(\d{1,2})/(\d{2,4}))?\s*)"
                       R"((?:(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?\s*([AaPp][Mm])?)?\s*$)"));
    const auto m = re.match(text);
    if (!m.hasMatch() || text.trimmed().isEmpty()) return std::nullopt;
    std::optional<double> serial = 0.0;
    if (!m.captured(1).isEmpty() || !m.captured(4).isEmpty()) serial = dayOf(m);
    if (serial && !m.captured(7).isEmpty()) {
        const auto time = timeOf(m);
        serial = time ? std::optional<double>(*serial + *time) : std::nullopt;
    }
    return serial;
}

// Where an operand of "&" stops: a comma, a comparison or a keyword.
bool endsOperand(const SqlToken& t) {
    return isSymbol(t, QLatin1String(",")) || isSymbol(t, QLatin1String(";")) || isComparison(t) ||
           (isKeyword(t) && !isWord(t, QLatin1String("null")));
}

// Jet functions that SQLite lacks or has with other semantics; registered under these names.
QString sqliteFunction(const QString& jetName) {
    static const QHash<QString, QString> names = {
        {QStringLiteral("first"), QStringLiteral("jet_first")},
        {QStringLiteral("last"), QStringLiteral("jet_last")},
        {QStringLiteral("val"), QStringLiteral("jet_val")},
        {QStringLiteral("hour"), QStringLiteral("jet_hour")},
        {QStringLiteral("datevalue"), QStringLiteral("jet_datevalue")},
        {QStringLiteral("instr"), QStringLiteral("jet_instr")}};
    return names.value(jetName.toLower());
}

bool isOneArgumentIsnull(const Tokens& in, int i, int close) {
    return in[i].text.compare(QLatin1String("isnull"), Qt::CaseInsensitive) == 0 && close > i + 2 &&
           splitTopLevel(in, i + 2, close, QLatin1String(",")).size() == 1;
}

// isnull(x) with one argument becomes ((x) IS NULL); Jet functions get their SQLite names.
Tokens rewriteFunctions(const Tokens& in) {
    Tokens out;
    for (int i = 0; i < in.size(); ++i) {
        const SqlToken& t = in[i];
        const bool call = t.kind == SqlToken::Word && i + 1 < in.size() &&
                          isSymbol(in[i + 1], QLatin1String("(")) &&
                          (i == 0 || !isSymbol(in[i - 1], QLatin1String(".")));
        const int close = call ? matchingParen(in, i + 1) : -1;
        if (call && isOneArgumentIsnull(in, i, close)) {
            out << symbol(QStringLiteral("(")) << symbol(QStringLiteral("("));
            out += rewriteFunctions(in.mid(i + 2, close - i - 2));
            out << symbol(QStringLiteral(")")) << word(QStringLiteral("IS")) << word(QStringLiteral("NULL"))
                << symbol(QStringLiteral(")"));
            i = close;
            continue;
        }
        const QString renamed = call ? sqliteFunction(t.text) : QString();
        out.append(renamed.isEmpty() ? t : word(renamed));
    }
    return out;
}

// The parenthesis that matches the one at at; a syntax error when there is none.
int skipParens(const Tokens& t, int at) {
    const int other = matchingParen(t, at);
    if (other < 0) syntaxError(QStringLiteral("Syntax error in query expression."));
    return other;
}

// The first token of the operands joined by the "&" at amp.
int joinBegin(const Tokens& t, int amp) {
    int begin = amp;
    while (begin > 0) {
        const SqlToken& p = t[begin - 1];
        if (isSymbol(p, QLatin1String(")"))) {
            begin = skipParens(t, begin - 1);
            continue;
        }
        if (isSymbol(p, QLatin1String("(")) || endsOperand(p)) break;
        --begin;
    }
    return begin;
}

// The index past the operands joined by the "&" at amp.
int joinEnd(const Tokens& t, int amp) {
    int end = amp + 1;
    while (end < t.size()) {
        const SqlToken& p = t[end];
        if (isSymbol(p, QLatin1String("("))) {
            end = skipParens(t, end) + 1;
            continue;
        }
        if (isSymbol(p, QLatin1String(")")) || endsOperand(p)) break;
        ++end;
    }
    return end;
}

// a & b & c becomes jet_cat(a, b, c): Jet joins texts with "&", a Null joining as empty.
// "&" binds more loosely than arithmetic and more tightly than comparisons.
Tokens rewriteJoins(Tokens t) {
    for (int amp = 0; amp < t.size(); ++amp) {
        if (!isSymbol(t[amp], QLatin1String("&"))) continue;
        const int begin = joinBegin(t, amp);
        const int end = joinEnd(t, amp);
        const QVector<Tokens> operands = splitTopLevel(t, begin, end, QLatin1String("&"));
        for (const Tokens& operand : operands)
            if (operand.isEmpty())
                syntaxError(QStringLiteral("Syntax error (missing operator) in query expression."));
        const Tokens joinedCall = call(QStringLiteral("jet_cat"), joined(operands, QStringLiteral(",")));
        t = t.mid(0, begin) + joinedCall + t.mid(end);
        amp = begin;
    }
    return t;
}

// Fails the open when the file holds a password other than the one given.
void checkPassword(sqlite3* db, const QString& password) {
    if (sqlite3_table_column_metadata(db, nullptr, jetPasswordTable, "Password", nullptr, nullptr, nullptr,
                                      nullptr, nullptr) != SQLITE_OK)
        return;
    Statement stored;
    if (stored.prepare(db, QByteArrayLiteral("SELECT Password FROM MSysPassword LIMIT 1")) != SQLITE_OK)
        sql::syntaxError(QString::fromUtf8(sqlite3_errmsg(db)));
    const bool found = stored.step() == SQLITE_ROW && sqlite3_column_type(stored.get(), 0) != SQLITE_NULL;
    const QString text = found ? columnText(stored.get(), 0) : QString();
    if (!text.isEmpty() && text != password) sql::syntaxError(QStringLiteral("Not a valid password."));
}

class JetDialect : public SqlDialect {
public:
    explicit JetDialect(const QString& password) : m_password(password) {}

    void attach(sqlite3* db) override {
        checkPassword(db, m_password);
        registerJetFunctions(db);
        registerTextCollation(db, collation().toUtf8().constData(), TextRules::Jet);
    }
    QString collation() const override { return QStringLiteral("jet_text"); }

    void readLiterals(SqlText& text) const override {
        for (int index : std::as_const(text.dateLiterals)) {
            Variant& literal = text.literals[index];
            if (!literal.isString()) continue;
            const auto serial = parseDateLiteral(literal.rawString());
            if (!serial)
                syntaxError(QStringLiteral("Syntax error in date in query expression '#%1#'.")
                                .arg(literal.rawString()));
            literal = Variant::date(*serial);
        }
    }

    Tokens rewrite(const Tokens& tokens, const ColumnTypeLookup&) const override {
        return rewriteJoins(rewriteFunctions(tokens));
    }

    bool accepts(SelectConstruct) const override { return true; }
    void refuse(SelectConstruct, const QString&) const override {
        syntaxError(QStringLiteral("Syntax error in query expression."));
    }
    bool executeOwn(const SqlText&, const QString&) const override { return false; }

private:
    QString m_password;
};

} // namespace

std::unique_ptr<SqlDialect> jetDialect(const QString& password) {
    return std::make_unique<JetDialect>(password);
}

} // namespace data

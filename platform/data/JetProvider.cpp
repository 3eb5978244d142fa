#include "JetProvider.h"

#include "JetFunctions.h"
#include "runtime/DateSerial.h"
#include "runtime/FileSystem.h"
#include "runtime/RuntimeError.h"

#include <QDateTime>
#include <QFileInfo>

#include <sqlite3.h>

namespace data {

using runtime::Variant;

namespace {

constexpr int maxCachedStatements = 256;

[[noreturn]] void databaseError(const QString& description) {
    throw runtime::RuntimeError(runtime::err::DatabaseError, description);
}

// How a declared column type reads and stores values.
enum class Kind { Plain, Date, Boolean, Currency, SmallInt, Integer, Double, Text, Memo };

Kind kindOf(const QString& declared) {
    const QString t = declared.toUpper();
    if (t.isEmpty()) return Kind::Plain;
    if (t.contains(QLatin1String("DATE")) || t.contains(QLatin1String("TIME"))) return Kind::Date;
    if (t.contains(QLatin1String("BOOL")) || t.contains(QLatin1String("BIT")) ||
        t.contains(QLatin1String("YESNO")))
        return Kind::Boolean;
    if (t.contains(QLatin1String("CURRENCY")) || t.contains(QLatin1String("MONEY"))) return Kind::Currency;
    if (t.contains(QLatin1String("MEMO")) || t.contains(QLatin1String("CLOB")) ||
        t.contains(QLatin1String("LONGTEXT")))
        return Kind::Memo;
    if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("TEXT")) ||
        t.contains(QLatin1String("STRING")))
        return Kind::Text;
    if (t.contains(QLatin1String("SMALLINT")) || t.contains(QLatin1String("SHORT")) ||
        t.contains(QLatin1String("TINYINT")) || t.contains(QLatin1String("BYTE")))
        return Kind::SmallInt;
    if (t.contains(QLatin1String("INT")) || t.contains(QLatin1String("COUNTER")) ||
        t.contains(QLatin1String("LONG")))
        return Kind::Integer;
    if (t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("FLOA")) ||
        t.contains(QLatin1String("DOUB")) || t.contains(QLatin1String("NUM")) ||
        t.contains(QLatin1String("DEC")) || t.contains(QLatin1String("SINGLE")))
        return Kind::Double;
    return Kind::Plain;
}

int typeCode(Kind kind) {
    switch (kind) {
    case Kind::Date:
        return adType::Date;
    case Kind::Boolean:
        return adType::Boolean;
    case Kind::Currency:
        return adType::Currency;
    case Kind::SmallInt:
        return adType::SmallInt;
    case Kind::Integer:
        return adType::Integer;
    case Kind::Double:
        return adType::Double;
    case Kind::Memo:
        return adType::LongVarWChar;
    default:
        return adType::VarWChar;
    }
}

QString columnText(sqlite3_stmt* s, int i) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, i)),
                             sqlite3_column_bytes(s, i));
}

Variant number(qint64 value) {
    return value >= INT32_MIN && value <= INT32_MAX ? Variant(int(value)) : Variant(std::int64_t(value));
}

Variant readValue(sqlite3_stmt* s, int i, Kind kind) {
    switch (sqlite3_column_type(s, i)) {
    case SQLITE_NULL:
        return Variant::null();
    case SQLITE_INTEGER: {
        const qint64 v = sqlite3_column_int64(s, i);
        switch (kind) {
        case Kind::Date:
            return Variant::date(double(v));
        case Kind::Boolean:
            return Variant(v != 0);
        case Kind::Currency:
            return Variant::currency(double(v));
        case Kind::SmallInt:
            return v >= -32768 && v <= 32767 ? Variant::integer(int(v)) : number(v);
        case Kind::Double:
            return Variant(double(v));
        default:
            return number(v);
        }
    }
    case SQLITE_FLOAT: {
        const double v = sqlite3_column_double(s, i);
        switch (kind) {
        case Kind::Date:
            return Variant::date(v);
        case Kind::Boolean:
            return Variant(v != 0);
        case Kind::Currency:
            return Variant::currency(v);
        default:
            return Variant(v);
        }
    }
    default: {
        const QString text = columnText(s, i);
        if (kind == Kind::Date) {
            const QDateTime iso = QDateTime::fromString(text, Qt::ISODate);
            if (iso.isValid()) return Variant::date(runtime::toSerial(iso));
            const QDate day = QDate::fromString(text, Qt::ISODate);
            if (day.isValid()) return Variant::date(runtime::toSerial(day));
        }
        return Variant(text);
    }
    }
}

// A value as the column's declared type stores it.
Variant coerce(const Variant& v, Kind kind) {
    if (v.isNull() || v.isEmpty()) return Variant::null();
    switch (kind) {
    case Kind::Date:
        return Variant::date(v.toDate());
    case Kind::Boolean:
        return Variant(v.toBool());
    case Kind::Currency:
    case Kind::Double:
        return Variant(v.toDouble());
    case Kind::SmallInt:
        return Variant(int(v.toInteger()));
    case Kind::Integer:
        return Variant(int(v.toLong()));
    case Kind::Text:
    case Kind::Memo:
        return v.isString() ? v : Variant(v.toString());
    case Kind::Plain:
        return v;
    }
    return v;
}

int bindValue(sqlite3_stmt* s, int index, const Variant& v) {
    switch (v.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
        return sqlite3_bind_null(s, index);
    case Variant::Type::Boolean:
        return sqlite3_bind_int64(s, index, v.rawNumber() != 0 ? -1 : 0);
    case Variant::Type::Integer:
    case Variant::Type::Long:
        return sqlite3_bind_int64(s, index, qint64(v.rawNumber()));
    case Variant::Type::Double:
    case Variant::Type::Currency:
    case Variant::Type::Date:
        return sqlite3_bind_double(s, index, v.rawNumber());
    case Variant::Type::String: {
        const QByteArray utf8 = v.rawString().toUtf8();
        return sqlite3_bind_text(s, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    }
    return SQLITE_OK;
}

QString quoted(const QString& name) {
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

// Resets a statement however the reading of its rows ends.
struct ResetGuard {
    sqlite3_stmt* stmt;
    ~ResetGuard() {
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
    }
};

} // namespace

struct JetProvider::Prepared {
    sqlite3_stmt* stmt = nullptr;
    SqliteText text;
    int firstColumn = 0; // 1 when column 0 is the rowid
    QVector<ColumnInfo> columns;
    QVector<Kind> kinds;
    QString table; // the one table every column reads, when the rows can be updated
    ~Prepared() { sqlite3_finalize(stmt); }
};

JetProvider::JetProvider(const QString& file, const QString& password) : m_file(file) {
    const QString path = runtime::localPath(file);
    if (!QFileInfo(path).isFile()) databaseError(QStringLiteral("Could not find file '%1'.").arg(file));
    if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        databaseError(QStringLiteral("Cannot open database '%1': %2").arg(file, message));
    }
    sqlite3_busy_timeout(m_db, 5000);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    try {
        sqlite3_stmt* check = nullptr;
        if (sqlite3_prepare_v2(m_db, "SELECT count(*) FROM sqlite_master", -1, &check, nullptr) !=
                SQLITE_OK ||
            sqlite3_step(check) != SQLITE_ROW) {
            sqlite3_finalize(check);
            databaseError(QStringLiteral("Unrecognized database format '%1'.").arg(file));
        }
        sqlite3_finalize(check);
        if (!declaredType(QLatin1String(passwordTable), QStringLiteral("Password")).isNull()) {
            sqlite3_stmt* stmt = nullptr;
            sqlite3_prepare_v2(m_db, "SELECT Password FROM MSysPassword LIMIT 1", -1, &stmt, nullptr);
            const bool found =
                sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_type(stmt, 0) != SQLITE_NULL;
            const QString stored = found ? columnText(stmt, 0) : QString();
            sqlite3_finalize(stmt);
            if (!stored.isEmpty() && stored != password)
                databaseError(QStringLiteral("Not a valid password."));
        }
    } catch (...) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw;
    }
    sqlite3_exec(m_db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
    registerJetFunctions(m_db);
}

JetProvider::~JetProvider() {
    clearCaches();
    sqlite3_close_v2(m_db);
}

void JetProvider::clearCaches() {
    m_translated.clear();
    m_declared.clear();
    m_rows.clear();
}

void JetProvider::fail() const {
    databaseError(QString::fromUtf8(sqlite3_errmsg(m_db)));
}

QString JetProvider::declaredType(const QString& table, const QString& column) const {
    const QString key = table.toLower() + QChar(0x1f) + column.toLower();
    if (auto it = m_declared.constFind(key); it != m_declared.constEnd()) return *it;
    QString type = lookUpDeclaredType(table, column);
    m_declared.insert(key, type);
    return type;
}

QString JetProvider::lookUpDeclaredType(const QString& table, const QString& column) const {
    const char* declared = nullptr;
    if (sqlite3_table_column_metadata(m_db, nullptr, table.toUtf8().constData(), column.toUtf8().constData(),
                                      &declared, nullptr, nullptr, nullptr, nullptr) != SQLITE_OK)
        return QString();
    return declared ? QString::fromUtf8(declared) : QStringLiteral("");
}

SqliteText JetProvider::translate(const QVector<SqlToken>& tokens, bool wantRowid) {
    return translateJet(tokens, wantRowid, [this](const QString& table, const QString& column) {
        return kindOf(declaredType(table, column)) == Kind::Date;
    });
}

JetProvider::Prepared& JetProvider::prepared(const JetText& text, bool updatable) {
    const QString key = updatable ? text.shape + QStringLiteral(" \x02") : text.shape;
    if (auto it = m_translated.constFind(key); it != m_translated.constEnd()) return **it;
    if (m_translated.size() >= maxCachedStatements) m_translated.clear();

    auto p = std::make_shared<Prepared>();
    p->text = translate(text.tokens, updatable);
    const QByteArray sql = p->text.sql.toUtf8();
    if (sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &p->stmt, nullptr) != SQLITE_OK) {
        if (!updatable) fail();
        // Rows that cannot carry their rowid are read only.
        Prepared& readOnly = prepared(text, false);
        m_translated.insert(key, m_translated.value(text.shape));
        return readOnly;
    }
    p->firstColumn = p->text.hasRowid ? 1 : 0;
    const int count = sqlite3_column_count(p->stmt);
    QString table = p->text.hasRowid ? QString::fromUtf8(sqlite3_column_table_name(p->stmt, 0)) : QString();
    for (int i = p->firstColumn; i < count; ++i) {
        ColumnInfo info;
        info.name = QString::fromUtf8(sqlite3_column_name(p->stmt, i));
        const char* declared = sqlite3_column_decltype(p->stmt, i);
        info.declaredType = declared ? QString::fromUtf8(declared) : QString();
        const char* origin = sqlite3_column_origin_name(p->stmt, i);
        info.baseColumn = origin ? QString::fromUtf8(origin) : QString();
        const QString columnTable = QString::fromUtf8(sqlite3_column_table_name(p->stmt, i));
        if (!origin || columnTable.compare(table, Qt::CaseInsensitive) != 0) table.clear();
        Kind kind = kindOf(info.declaredType);
        if (!declared && p->text.dateAliases.contains(info.name.toLower())) kind = Kind::Date;
        info.type = typeCode(kind);
        p->columns.append(info);
        p->kinds.append(kind);
    }
    p->table = table;
    Prepared& result = *p;
    m_translated.insert(key, p);
    return result;
}

QueryResult JetProvider::query(const QString& sql, bool updatable) {
    const JetText text = parseJet(sql);
    if (!isQuery(text.tokens)) {
        execute(sql);
        return {};
    }
    Prepared& p = prepared(text, updatable);
    ResetGuard guard{p.stmt};
    for (int i = 0; i < text.literals.size(); ++i)
        bindValue(p.stmt, i + 1, text.literals[i]);

    QueryResult result;
    result.columns = p.columns;
    result.table = p.table;
    const int count = p.columns.size();
    QVector<bool> typed(count, false);
    for (int i = 0; i < count; ++i)
        typed[i] = p.kinds[i] != Kind::Plain;
    int rc;
    while ((rc = sqlite3_step(p.stmt)) == SQLITE_ROW) {
        QVector<Variant> row(count);
        for (int i = 0; i < count; ++i) {
            const int column = i + p.firstColumn;
            row[i] = readValue(p.stmt, column, p.kinds[i]);
            if (!typed[i] && !row[i].isNull()) {
                const int storage = sqlite3_column_type(p.stmt, column);
                result.columns[i].type = storage == SQLITE_INTEGER ? adType::Integer
                                         : storage == SQLITE_FLOAT ? adType::Double
                                                                   : adType::VarWChar;
                typed[i] = true;
            }
        }
        result.rows.append(row);
        if (!p.table.isEmpty()) result.rowids.append(sqlite3_column_int64(p.stmt, 0));
    }
    if (rc != SQLITE_DONE) fail();
    return result;
}

long JetProvider::execute(const QString& sql) {
    const JetText text = parseJet(sql);
    if (text.tokens.isEmpty())
        databaseError(
            QStringLiteral("Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT', or "
                           "'UPDATE'."));
    // DDL cannot take parameters: it is translated and run with its literals written in.
    const QString verb = text.tokens[0].text.toLower();
    if (!isQuery(text.tokens) && verb != QLatin1String("insert") && verb != QLatin1String("update") &&
        verb != QLatin1String("delete")) {
        const SqliteText translated = translateJet(text.tokens, false, {});
        const QByteArray utf8 = inlineLiterals(translated.sql, text.literals).toUtf8();
        char* message = nullptr;
        if (sqlite3_exec(m_db, utf8.constData(), nullptr, nullptr, &message) != SQLITE_OK) {
            const QString description = QString::fromUtf8(message);
            sqlite3_free(message);
            databaseError(description);
        }
        clearCaches();
        return 0;
    }
    Prepared& p = prepared(text, false);
    ResetGuard guard{p.stmt};
    for (int i = 0; i < text.literals.size(); ++i)
        bindValue(p.stmt, i + 1, text.literals[i]);
    int rc;
    while ((rc = sqlite3_step(p.stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) fail();
    return isQuery(text.tokens) ? 0 : sqlite3_changes(m_db);
}

// A prepared write or read of one row by its key, with the kinds of the values it binds
// and of the columns it gives back.
struct JetProvider::RowStatement {
    sqlite3_stmt* stmt = nullptr;
    QVector<Kind> valueKinds;
    QVector<Kind> columnKinds;
    ~RowStatement() { sqlite3_finalize(stmt); }
};

JetProvider::RowStatement& JetProvider::rowStatement(RowVerb verb, const QString& table,
                                                     const ColumnValues& values,
                                                     const QVector<ColumnInfo>& columns) {
    QString key = QString::number(int(verb)) + table;
    for (const auto& value : values)
        key += QChar(1) + value.first;
    key += QChar(2);
    for (const ColumnInfo& c : columns)
        key += QChar(1) + c.baseColumn;
    if (auto it = m_rows.constFind(key); it != m_rows.constEnd()) return **it;
    if (m_rows.size() >= maxCachedStatements) m_rows.clear();

    QStringList names, params, returned;
    for (int i = 0; i < values.size(); ++i) {
        names << quoted(values[i].first);
        params << QStringLiteral("?%1").arg(i + 1);
    }
    for (const ColumnInfo& c : columns)
        returned << quoted(c.baseColumn);
    QString sql;
    switch (verb) {
    case RowVerb::Insert:
        sql = values.isEmpty()
                  ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoted(table))
                  : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                        .arg(quoted(table), names.join(QLatin1Char(',')), params.join(QLatin1Char(',')));
        break;
    case RowVerb::Update:
        for (int i = 0; i < names.size(); ++i)
            names[i] += QLatin1Char('=') + params[i];
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE _rowid_=?%3")
                  .arg(quoted(table), names.join(QLatin1Char(',')))
                  .arg(values.size() + 1);
        break;
    case RowVerb::Read:
        sql = QStringLiteral("SELECT %1 FROM %2 WHERE _rowid_=?1")
                  .arg(returned.join(QLatin1Char(',')), quoted(table));
        break;
    }
    if (verb != RowVerb::Read && !returned.isEmpty())
        sql += QStringLiteral(" RETURNING ") + returned.join(QLatin1Char(','));

    auto s = std::make_shared<RowStatement>();
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &s->stmt, nullptr) != SQLITE_OK) fail();
    for (const auto& value : values)
        s->valueKinds.append(kindOf(declaredType(table, value.first)));
    for (const ColumnInfo& c : columns)
        s->columnKinds.append(kindOf(c.declaredType));
    RowStatement& result = *s;
    m_rows.insert(key, s);
    return result;
}

// Binds the values (and the key, after them, when there is one), runs the statement to its
// end and gives back the columns of the row it returned (Empty values without a row).
QVector<Variant> JetProvider::runRowStatement(RowStatement& s, const ColumnValues& values, qint64 rowid) {
    ResetGuard guard{s.stmt};
    for (int i = 0; i < values.size(); ++i)
        bindValue(s.stmt, i + 1, coerce(values[i].second, s.valueKinds[i]));
    if (rowid >= 0) sqlite3_bind_int64(s.stmt, values.size() + 1, rowid);
    QVector<Variant> row(s.columnKinds.size());
    int rc = sqlite3_step(s.stmt);
    if (rc == SQLITE_ROW) {
        for (int i = 0; i < s.columnKinds.size(); ++i)
            row[i] = readValue(s.stmt, i, s.columnKinds[i]);
        while ((rc = sqlite3_step(s.stmt)) == SQLITE_ROW) {
        }
    }
    if (rc != SQLITE_DONE) fail();
    return row;
}

void JetProvider::updateRow(const QString& table, qint64 rowid, const ColumnValues& values) {
    if (values.isEmpty()) return;
    runRowStatement(rowStatement(RowVerb::Update, table, values, {}), values, rowid);
}

qint64 JetProvider::insertRow(const QString& table, const ColumnValues& values) {
    runRowStatement(rowStatement(RowVerb::Insert, table, values, {}), values, -1);
    return sqlite3_last_insert_rowid(m_db);
}

QVector<Variant> JetProvider::readRow(const QString& table, qint64 rowid,
                                      const QVector<ColumnInfo>& columns) {
    return runRowStatement(rowStatement(RowVerb::Read, table, {}, columns), {}, rowid);
}

qint64 JetProvider::insertRow(const QString& table, const ColumnValues& values,
                              const QVector<ColumnInfo>& columns, QVector<Variant>& row) {
    row = runRowStatement(rowStatement(RowVerb::Insert, table, values, columns), values, -1);
    return sqlite3_last_insert_rowid(m_db);
}

void JetProvider::updateRow(const QString& table, qint64 rowid, const ColumnValues& values,
                            const QVector<ColumnInfo>& columns, QVector<Variant>& row) {
    if (values.isEmpty()) {
        row = readRow(table, rowid, columns);
        return;
    }
    row = runRowStatement(rowStatement(RowVerb::Update, table, values, columns), values, rowid);
}

} // namespace data

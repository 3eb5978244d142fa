#include "SqliteProvider_p.h"

#include "ColumnNames_p.h"
#include "JetSql.h"
#include "SqliteValues.h"
#include "TSql_p.h"
#include "runtime/FileSystem.h"
#include "runtime/RuntimeError.h"

#include <QFileInfo>

#include <algorithm>

namespace data {

using runtime::Variant;

namespace {

constexpr int maxCachedStatements = 256;

[[noreturn]] void databaseError(const QString& description) {
    throw runtime::RuntimeError(runtime::err::DatabaseError, description);
}

[[noreturn]] void failOn(sqlite3* db) {
    databaseError(QString::fromUtf8(sqlite3_errmsg(db)));
}

// Equal texts, found at once when they share their characters (a loop writes the same names).
bool sameText(const QString& a, const QString& b) {
    return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}

QString quoted(const QString& name) {
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) +
           QLatin1Char('"');
}

} // namespace

struct SqliteProvider::Prepared {
    Statement stmt;
    SqliteText text;
    int firstColumn = 0; // 1 when column 0 is the rowid
    QVector<ColumnInfo> columns;
    QVector<Kind> kinds;
    QVector<int> types;   // of the columns, as declared
    QVector<int> untyped; // the columns without declared type
    std::shared_ptr<const ColumnNames> names;
    QString table;     // the one table every column reads, when the rows can be updated
    bool busy = false; // a cursor is reading its rows
};

// Steps a query's statement as its rows are asked for and makes a Variant of a value only when it
// is read. Rows kept, and every row left before a write on the connection or when the connection
// closes, are copied compactly out of the statement.
class SqliteProvider::Cursor : public RowCursor {
public:
    Cursor(SqliteProvider* provider, std::shared_ptr<Prepared> prepared)
        : m_provider(provider), m_prepared(std::move(prepared)), m_kinds(m_prepared->kinds),
          m_keyed(!m_prepared->table.isEmpty()), m_first(m_prepared->firstColumn) {
        m_prepared->busy = true;
        m_types = m_prepared->types;
        m_untyped = m_prepared->untyped;
        m_provider->m_cursors.append(this);
    }
    ~Cursor() override {
        release();
        if (m_provider) m_provider->m_cursors.removeOne(this);
    }

    bool next() override {
        if (m_ahead < m_held.size()) {
            m_current = m_held[m_ahead++];
            m_state = State::Held;
            return true;
        }
        m_state = step() ? State::InStatement : State::None;
        return m_state != State::None;
    }
    Variant value(int column) override {
        if (m_state == State::InStatement)
            return readValue(m_prepared->stmt.get(), column + m_first, m_kinds[column]);
        if (m_state == State::Held) return m_heldRows.value(m_current, column, m_kinds[column]);
        return Variant();
    }
    qint64 rowid() override {
        if (!m_keyed) return -1;
        if (m_state == State::InStatement) return sqlite3_column_int64(m_prepared->stmt.get(), 0);
        return m_state == State::Held ? m_heldRows.key(m_current) : -1;
    }
    // A row copied ahead is kept where it is: its handle is marked as one of them.
    size_t keep() override {
        if (m_state == State::Held) return m_current | HeldRow;
        return m_kept.add(m_prepared->stmt.get(), m_first, int(m_kinds.size()), m_keyed);
    }
    void forget() override { m_kept.clear(); }
    Variant keptValue(size_t row, int column) const override {
        return storeOf(row).value(row & ~HeldRow, column, m_kinds[column]);
    }
    qint64 keptRowid(size_t row) const override { return m_keyed ? storeOf(row).key(row & ~HeldRow) : -1; }
    int columnType(int column) const override { return m_types[column]; }

    // Copies every row left, the one moved to included, to give them out later.
    void settle() {
        if (m_state == State::InStatement) {
            m_current = copyAhead();
            m_state = State::Held;
            m_held.push_back(m_current);
            m_ahead = m_held.size();
        }
        while (step())
            m_held.push_back(copyAhead());
    }
    void detach() {
        settle();
        m_provider = nullptr;
    }

private:
    enum class State { None, InStatement, Held }; // where the row moved to is
    static constexpr size_t HeldRow = size_t(1) << (sizeof(size_t) * 8 - 1);

    const KeptRows& storeOf(size_t handle) const { return handle & HeldRow ? m_heldRows : m_kept; }

    size_t copyAhead() {
        return m_heldRows.add(m_prepared->stmt.get(), m_first, int(m_kinds.size()), m_keyed);
    }

    bool step() {
        if (!m_prepared) return false;
        Prepared& p = *m_prepared;
        const int rc = p.stmt.step();
        if (rc != SQLITE_ROW) {
            sqlite3* db = sqlite3_db_handle(p.stmt.get());
            release();
            if (rc != SQLITE_DONE) failOn(db);
            return false;
        }
        // A column without declared type takes the type of its first value.
        for (int k = 0; k < m_untyped.size();) {
            const int column = m_untyped[k] + m_first;
            if (sqlite3_column_type(p.stmt.get(), column) == SQLITE_NULL) {
                ++k;
                continue;
            }
            m_types[m_untyped[k]] = storageTypeCode(p.stmt.get(), column);
            m_untyped.remove(k);
        }
        return true;
    }
    void release() {
        if (!m_prepared) return;
        m_prepared->stmt.reset();
        m_prepared->busy = false;
        m_prepared.reset();
    }

    SqliteProvider* m_provider;
    std::shared_ptr<Prepared> m_prepared;
    const QVector<Kind> m_kinds; // of the columns
    const bool m_keyed;          // column 0 is the rowid
    const int m_first;           // the first column of the result's own
    QVector<int> m_types;
    QVector<int> m_untyped; // the columns still without type
    State m_state = State::None;
    KeptRows m_kept;            // the rows kept
    KeptRows m_heldRows;        // the rows copied ahead (the statement's every row left), the one moved
                                // to among them when Held
    std::vector<size_t> m_held; // where each of them is
    size_t m_ahead = 0;         // the next of them to give out
    size_t m_current = 0;       // where the row moved to is, when Held
};

SqliteProvider::SqliteProvider(const QString& file, std::unique_ptr<SqlDialect> dialect)
    : m_file(file), m_dialect(std::move(dialect)) {
    const QFileInfo info(runtime::localPath(file));
    if (!info.isFile()) databaseError(QStringLiteral("Could not find file '%1'.").arg(file));
    // An empty file would become a new database at the first write.
    if (info.size() == 0) databaseError(QStringLiteral("Unrecognized database format '%1'.").arg(file));
    sqlite3* db = nullptr;
    // A connection is used by one thread at a time: its calls need no lock of their own.
    const int opened = sqlite3_open_v2(info.filePath().toUtf8().constData(), &db,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    m_db.reset(db);
    if (opened != SQLITE_OK)
        databaseError(QStringLiteral("Cannot open database '%1': %2")
                          .arg(file, QString::fromUtf8(sqlite3_errmsg(m_db.get()))));
    sqlite3_busy_timeout(db, busyTimeoutMs);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    {
        Statement schema;
        int rc = schema.prepare(db, QByteArrayLiteral("SELECT count(*) FROM sqlite_master"));
        if (rc == SQLITE_OK) rc = schema.step();
        if (rc == SQLITE_NOTADB)
            databaseError(QStringLiteral("Unrecognized database format '%1'.").arg(file));
        // A database that cannot be read now (locked, its journal out of reach) says why.
        if (rc != SQLITE_ROW)
            databaseError(QStringLiteral("Cannot open database '%1': %2")
                              .arg(file, QString::fromUtf8(sqlite3_errmsg(db))));
    }
    m_dialect->attach(db);
}

SqliteProvider::~SqliteProvider() {
    for (Cursor* cursor : std::as_const(m_cursors)) {
        try {
            cursor->detach();
        } catch (const runtime::RuntimeError&) {
        }
    }
    clearCaches();
}

void SqliteProvider::clearCaches() {
    m_translated.clear();
    m_known.clear();
    m_declared.clear();
    m_rows.clear();
    for (auto& last : m_lastRow)
        last.reset();
}

void SqliteProvider::check(int rc) const {
    if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE) fail();
}

void SqliteProvider::fail() const {
    failOn(m_db.get());
}

void SqliteProvider::bindLiterals(Statement& statement, const QVector<Variant>& literals) {
    // A literal the translation dropped (a constant of GROUP BY) has no parameter.
    const int count = std::min(int(literals.size()), sqlite3_bind_parameter_count(statement.get()));
    for (int i = 0; i < count; ++i)
        check(bindValue(statement.get(), i + 1, literals[i]));
}

void SqliteProvider::run(const char* sql) {
    check(sqlite3_exec(m_db.get(), sql, nullptr, nullptr, nullptr));
}

void SqliteProvider::settleCursors() {
    for (Cursor* cursor : std::as_const(m_cursors))
        cursor->settle();
}

void SqliteProvider::beginTransaction() {
    if (m_transactions == 0) {
        settleCursors();
        run("BEGIN");
    }
    ++m_transactions;
}

bool SqliteProvider::beginWriteTransaction(int waitMs) {
    if (m_transactions > 0) {
        ++m_transactions;
        return true;
    }
    settleCursors();
    struct BusyTimeout {
        sqlite3* db;
        ~BusyTimeout() { sqlite3_busy_timeout(db, busyTimeoutMs); }
    } restore{m_db.get()};
    sqlite3_busy_timeout(m_db.get(), waitMs);
    const int rc = sqlite3_exec(m_db.get(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc == SQLITE_BUSY) return false;
    check(rc);
    ++m_transactions;
    return true;
}

void SqliteProvider::commitTransaction() {
    if (m_transactions == 0) return;
    if (--m_transactions == 0 && !sqlite3_get_autocommit(m_db.get())) run("COMMIT");
}

void SqliteProvider::relaxDurability() {
    run("PRAGMA synchronous=OFF");
}

QString SqliteProvider::declaredType(const QString& table, const QString& column) const {
    const QString key = table.toLower() + QChar(0x1f) + column.toLower();
    if (auto it = m_declared.constFind(key); it != m_declared.constEnd()) return *it;
    QString type = lookUpDeclaredType(table, column);
    m_declared.insert(key, type);
    return type;
}

QString SqliteProvider::lookUpDeclaredType(const QString& table, const QString& column) const {
    const char* declared = nullptr;
    if (sqlite3_table_column_metadata(m_db.get(), nullptr, table.toUtf8().constData(),
                                      column.toUtf8().constData(), &declared, nullptr, nullptr, nullptr,
                                      nullptr) != SQLITE_OK)
        return QString();
    return declared ? QString::fromUtf8(declared) : QStringLiteral("");
}

SqliteText SqliteProvider::translate(const QVector<SqlToken>& tokens, bool wantRowid) {
    return data::translate(
        tokens, wantRowid, *m_dialect,
        [this](const QString& table, const QString& column) { return declaredType(table, column); });
}

SqliteProvider::Known& SqliteProvider::known(const QString& sql, QVector<Variant>& literals) {
    // A program builds the texts of one kind from the same beginning, up to their first literal.
    qsizetype begins = 0;
    for (const qsizetype end = std::min<qsizetype>(sql.size(), 64); begins < end; ++begins) {
        const char16_t c = sql[begins].unicode();
        if ((c >= u'0' && c <= u'9') || c == u'\'' || c == u'"' || c == u'#') break;
    }
    const size_t key = qHash(QStringView(sql).left(begins));
    if (const auto it = m_known.find(key);
        it != m_known.end() && literalsLike(sql, it->sql, it->text, literals))
        return *it;
    SqlText text = tokenize(sql, false);
    m_dialect->readLiterals(text);
    literals = text.literals;
    if (m_known.size() >= maxCachedStatements) m_known.clear();
    Known& entry = m_known[key];
    entry = {sql, std::move(text), {}};
    return entry;
}

SqlText SqliteProvider::shapeOf(const QString& sql) {
    QVector<Variant> literals;
    SqlText text = known(sql, literals).text;
    text.literals = std::move(literals);
    return text;
}

std::shared_ptr<SqliteProvider::Prepared> SqliteProvider::prepared(const QString& sql, const SqlText& text,
                                                                   bool updatable) {
    const QString key = updatable ? text.shape + QStringLiteral(" \x02") : text.shape;
    if (auto it = m_translated.constFind(key); it != m_translated.constEnd()) {
        if (!(*it)->busy) return *it;
        return prepare(sql, updatable); // its cached twin is being read
    }
    if (m_translated.size() >= maxCachedStatements) m_translated.clear();
    auto p = prepare(sql, updatable);
    m_translated.insert(key, p);
    return p;
}

std::shared_ptr<SqliteProvider::Prepared> SqliteProvider::prepare(const QString& sql, bool updatable) {
    auto p = std::make_shared<Prepared>();
    p->text = translate(tokenize(sql).tokens, updatable);
    if (p->stmt.prepare(m_db.get(), p->text.sql.toUtf8()) != SQLITE_OK) {
        if (!updatable) fail();
        // Rows that cannot carry their rowid are read only.
        return prepare(sql, false);
    }
    sqlite3_stmt* stmt = p->stmt.get();
    p->firstColumn = p->text.hasRowid ? 1 : 0;
    const int count = sqlite3_column_count(stmt);
    QString table = p->text.hasRowid ? QString::fromUtf8(sqlite3_column_table_name(stmt, 0)) : QString();
    for (int i = p->firstColumn; i < count; ++i) {
        ColumnInfo info;
        info.name = QString::fromUtf8(sqlite3_column_name(stmt, i));
        const char* declared = sqlite3_column_decltype(stmt, i);
        info.declaredType = declared ? QString::fromUtf8(declared) : QString();
        const char* origin = sqlite3_column_origin_name(stmt, i);
        info.baseColumn = origin ? QString::fromUtf8(origin) : QString();
        const QString columnTable = QString::fromUtf8(sqlite3_column_table_name(stmt, i));
        if (!origin || columnTable.compare(table, Qt::CaseInsensitive) != 0) table.clear();
        Kind kind = kindOf(info.declaredType);
        if (!declared && p->text.dateAliases.contains(info.name.toLower())) kind = Kind::Date;
        info.type = typeCode(kind);
        p->columns.append(info);
        p->kinds.append(kind);
        p->types.append(info.type);
        if (kind == Kind::Plain) p->untyped.append(p->columns.size() - 1);
    }
    p->table = table;
    p->names = std::make_shared<const ColumnNames>(p->columns);
    return p;
}

QueryResult SqliteProvider::query(const QString& sql, bool updatable) {
    QVector<Variant> literals;
    Known& k = known(sql, literals);
    if (!k.text.query) {
        execute(sql); // as the provider's dialect runs it
        return {};
    }
    std::shared_ptr<Prepared> p = k.statements[updatable ? 1 : 0];
    if (!p || p->busy) {
        p = prepared(sql, k.text, updatable);
        k.statements[updatable ? 1 : 0] = p;
    }
    bindLiterals(p->stmt, literals);
    QueryResult result;
    result.columns = p->columns;
    result.table = p->table;
    result.names = p->names;
    result.rows = std::make_unique<Cursor>(this, std::move(p));
    return result;
}

long SqliteProvider::execute(const QString& sql) {
    return execute(sql, shapeOf(sql));
}

long SqliteProvider::execute(const QString& sql, const SqlText& text) {
    if (text.shape.isEmpty())
        databaseError(
            QStringLiteral("Invalid SQL statement; expected 'DELETE', 'INSERT', 'PROCEDURE', 'SELECT', or "
                           "'UPDATE'."));
    settleCursors();
    if (m_dialect->executeOwn(text, sql)) {
        clearCaches();
        return 0;
    }
    // DDL cannot take parameters: it is translated and run with its literals written in.
    const QString& verb = text.verb;
    const bool query = text.query;
    if (!query && verb != QLatin1String("insert") && verb != QLatin1String("update") &&
        verb != QLatin1String("delete")) {
        const SqliteText translated = translate(tokenize(sql).tokens, false);
        const QByteArray utf8 = inlineLiterals(translated.sql, text.literals).toUtf8();
        char* message = nullptr;
        if (sqlite3_exec(m_db.get(), utf8.constData(), nullptr, nullptr, &message) != SQLITE_OK) {
            const QString description = QString::fromUtf8(message);
            sqlite3_free(message);
            databaseError(description);
        }
        clearCaches();
        return 0;
    }
    std::shared_ptr<Prepared> p = prepared(sql, text, false);
    ResetGuard guard{p->stmt};
    bindLiterals(p->stmt, text.literals);
    int rc;
    while ((rc = p->stmt.step()) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) fail();
    return query ? 0 : sqlite3_changes(m_db.get());
}

// A prepared write or read of one row by its key, with the kinds of the values it binds
// and of the columns it gives back.
struct SqliteProvider::RowStatement {
    Statement stmt;
    RowVerb verb;
    QString table;
    QStringList names;    // the columns written
    QStringList returned; // the columns read back
    QVector<Kind> valueKinds;
    QVector<Kind> columnKinds;

    bool matches(RowVerb v, const QString& t, const ColumnValues& values,
                 const QVector<ColumnInfo>& columns) const {
        if (v != verb || t != table || values.size() != names.size() || columns.size() != returned.size())
            return false;
        for (int i = 0; i < values.size(); ++i)
            if (!sameText(values[i].first, names[i])) return false;
        for (int i = 0; i < columns.size(); ++i)
            if (!sameText(columns[i].baseColumn, returned[i])) return false;
        return true;
    }
};

SqliteProvider::RowStatement& SqliteProvider::rowStatement(RowVerb verb, const QString& table,
                                                           const ColumnValues& values,
                                                           const QVector<ColumnInfo>& columns) {
    // A loop writes or reads the same columns row after row.
    std::shared_ptr<RowStatement>& last = m_lastRow[int(verb)];
    if (last && last->matches(verb, table, values, columns)) return *last;
    size_t key = qHashMulti(0, int(verb), table);
    for (const auto& value : values)
        key = qHashMulti(key, value.first);
    key = qHashMulti(key, columns.size());
    for (const ColumnInfo& c : columns)
        key = qHashMulti(key, c.baseColumn);
    if (auto it = m_rows.constFind(key);
        it != m_rows.constEnd() && (*it)->matches(verb, table, values, columns)) {
        last = *it;
        return **it;
    }
    if (m_rows.size() >= maxCachedStatements) m_rows.clear();

    auto s = std::make_shared<RowStatement>();
    s->verb = verb;
    s->table = table;
    QStringList names, params, returned;
    for (int i = 0; i < values.size(); ++i) {
        s->names << values[i].first;
        names << quoted(values[i].first);
        params << QStringLiteral("?%1").arg(i + 1);
    }
    for (const ColumnInfo& c : columns) {
        s->returned << c.baseColumn;
        returned << quoted(c.baseColumn);
    }
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

    check(s->stmt.prepare(m_db.get(), sql.toUtf8()));
    for (const auto& value : values)
        s->valueKinds.append(kindOf(declaredType(table, value.first)));
    for (const ColumnInfo& c : columns)
        s->columnKinds.append(kindOf(c.declaredType));
    last = s;
    m_rows.insert(key, s);
    return *last;
}

// Binds the values (and the key, after them, when there is one), runs the statement to its
// end and gives back the columns of the row it returned (Empty values without a row).
QVector<Variant> SqliteProvider::runRowStatement(RowStatement& s, const ColumnValues& values, qint64 rowid) {
    if (s.verb != RowVerb::Read) settleCursors();
    BoundTexts texts; // bound as they are: kept past the reset
    ResetGuard guard{s.stmt};
    sqlite3_stmt* stmt = s.stmt.get();
    for (int i = 0; i < values.size(); ++i) {
        const Kind kind = s.valueKinds[i];
        const Variant& value = values[i].second;
        if (kind == Kind::Plain)
            check(bindValue(stmt, i + 1, value, &texts));
        else
            check(bindValue(stmt, i + 1, m_dialect->stored(value, kind), &texts));
    }
    if (rowid >= 0) check(sqlite3_bind_int64(stmt, values.size() + 1, rowid));
    QVector<Variant> row(s.columnKinds.size());
    int rc = s.stmt.step();
    if (rc == SQLITE_ROW) {
        for (int i = 0; i < s.columnKinds.size(); ++i)
            row[i] = readValue(stmt, i, s.columnKinds[i]);
        while ((rc = s.stmt.step()) == SQLITE_ROW) {
        }
    }
    if (rc != SQLITE_DONE) fail();
    return row;
}

void SqliteProvider::updateRow(const QString& table, qint64 rowid, const ColumnValues& values) {
    if (values.isEmpty()) return;
    runRowStatement(rowStatement(RowVerb::Update, table, values, {}), values, rowid);
}

qint64 SqliteProvider::insertRow(const QString& table, const ColumnValues& values) {
    runRowStatement(rowStatement(RowVerb::Insert, table, values, {}), values, -1);
    return sqlite3_last_insert_rowid(m_db.get());
}

QVector<Variant> SqliteProvider::readRow(const QString& table, qint64 rowid,
                                         const QVector<ColumnInfo>& columns) {
    return runRowStatement(rowStatement(RowVerb::Read, table, {}, columns), {}, rowid);
}

std::unique_ptr<Provider> openJetFile(const QString& file, const QString& password) {
    return std::make_unique<SqliteProvider>(file, jetDialect(password));
}

std::unique_ptr<Provider> openSqlServerFile(const QString& file) {
    return std::make_unique<SqliteProvider>(file, tsqlDialect());
}

} // namespace data

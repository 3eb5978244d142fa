#include "OdbcProvider.h"

#include "SqlTokens.h"
#include "runtime/DateSerial.h"
#include "runtime/RuntimeError.h"

#include <QDateTime>

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <vector>

namespace data {

using runtime::Variant;

namespace {

// SQL Server's time type, which drivers report beside the standard ones.
constexpr SQLSMALLINT SqlServerTime = -154;

const SQLWCHAR* wide(const QString& text) {
    return reinterpret_cast<const SQLWCHAR*>(text.utf16());
}

QString fromWide(const SQLWCHAR* text, qsizetype length) {
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(text), length);
}

// The driver's and the server's messages about the last call on a handle.
QString diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
    QStringList messages;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLWCHAR state[6];
        SQLINTEGER native = 0;
        SQLWCHAR text[1024];
        SQLSMALLINT length = 0;
        if (!SQL_SUCCEEDED(SQLGetDiagRecW(type, handle, record, state, &native, text, 1024, &length))) break;
        messages << fromWide(text, std::min<qsizetype>(length, 1023));
    }
    return messages.isEmpty() ? QStringLiteral("The ODBC driver failed without a message.")
                              : messages.join(QLatin1Char(' '));
}

[[noreturn]] void fail(SQLSMALLINT type, SQLHANDLE handle) {
    throw runtime::RuntimeError(runtime::err::DatabaseError, diagnostics(type, handle));
}

void check(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle) {
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) fail(type, handle);
}

QString bracketed(const QString& name) {
    return QLatin1Char('[') + QString(name).replace(QLatin1Char(']'), QLatin1String("]]")) + QLatin1Char(']');
}

Variant number(qint64 value) {
    return value >= INT32_MIN && value <= INT32_MAX ? Variant(int(value)) : Variant(std::int64_t(value));
}

int typeCode(SQLSMALLINT sqlType, SQLSMALLINT scale, SQLULEN size, const QString& typeName) {
    switch (sqlType) {
    case SQL_BIT:
        return adType::Boolean;
    case SQL_TINYINT:
    case SQL_SMALLINT:
        return adType::SmallInt;
    case SQL_INTEGER:
    case SQL_BIGINT:
        return adType::Integer;
    case SQL_REAL:
    case SQL_FLOAT:
    case SQL_DOUBLE:
        return adType::Double;
    case SQL_DECIMAL:
    case SQL_NUMERIC:
        if (typeName.contains(QLatin1String("money"), Qt::CaseInsensitive)) return adType::Currency;
        return scale == 0 && size <= 9 ? adType::Integer : adType::Double;
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME:
    case SQL_TYPE_TIMESTAMP:
    case SQL_DATE:
    case SQL_TIME:
    case SQL_TIMESTAMP:
    case SqlServerTime:
        return adType::Date;
    case SQL_LONGVARCHAR:
    case SQL_WLONGVARCHAR:
        return adType::LongVarWChar;
    default:
        return adType::VarWChar;
    }
}

QString attribute(SQLHSTMT h, SQLUSMALLINT column, SQLUSMALLINT field) {
    SQLWCHAR text[256];
    SQLSMALLINT bytes = 0;
    if (!SQL_SUCCEEDED(SQLColAttributeW(h, column, field, text, sizeof text, &bytes, nullptr))) return {};
    return fromWide(text, std::min<qsizetype>(bytes / qsizetype(sizeof(SQLWCHAR)), 255));
}

// The rows of a query, read whole.
class BufferedRows : public RowCursor {
public:
    QVector<QVector<Variant>> rows;
    QVector<qint64> rowids; // one per row when the rows can be updated
    QVector<int> types;

    bool next() override { return ++m_position < rows.size(); }
    Variant value(int column) override { return rows[m_position][column]; }
    qint64 rowid() override { return rowidOf(m_position); }
    size_t keep() override { return size_t(m_position); }
    void forget() override {}
    Variant keptValue(size_t row, int column) const override { return rows[qsizetype(row)][column]; }
    qint64 keptRowid(size_t row) const override { return rowidOf(qsizetype(row)); }
    int columnType(int column) const override { return types[column]; }

private:
    qint64 rowidOf(qsizetype position) const { return position < rowids.size() ? rowids[position] : -1; }

    qsizetype m_position = -1;
};

} // namespace

QString plainTable(const QString& sql) {
    using namespace sql;
    const QVector<SqlToken> t = tokenize(sql).tokens;
    if (t.isEmpty() || !isWord(t[0], QLatin1String("select"))) return {};
    int i = 1;
    // The select list: "*" or plain column names, qualified or not, without aliases.
    for (bool name = true;; name = !name) {
        if (i >= t.size()) return {};
        if (name) {
            if (isSymbol(t[i], QLatin1String("*"))) {
                ++i;
            } else {
                if (!isName(t[i]) || isKeyword(t[i])) return {};
                ++i;
                if (i + 1 < t.size() && isSymbol(t[i], QLatin1String(".")) && isName(t[i + 1])) i += 2;
            }
        } else if (isSymbol(t[i], QLatin1String(","))) {
            ++i;
        } else {
            break;
        }
    }
    if (!isWord(t[i], QLatin1String("from")) || i + 1 >= t.size() || !isName(t[i + 1])) return {};
    const int next = i + 2;
    if (next < t.size() && !isWord(t[next], QLatin1String("where")) &&
        !isWord(t[next], QLatin1String("order")) && !isSymbol(t[next], QLatin1String(";")))
        return {};
    return t[i + 1].text;
}

// A statement handle with the buffers of the parameters bound to it.
class OdbcProvider::Statement {
public:
    explicit Statement(SQLHDBC dbc) {
        data::check(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &m_h), SQL_HANDLE_DBC, dbc);
    }
    ~Statement() { SQLFreeHandle(SQL_HANDLE_STMT, m_h); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    SQLHSTMT handle() const { return m_h; }
    void check(SQLRETURN rc) const { data::check(rc, SQL_HANDLE_STMT, m_h); }

    // Prepares sql, binds the values to its markers in order and runs it; returns the rows it changed.
    long run(const QString& sql, const QVector<Variant>& values = {}) {
        check(SQLPrepareW(m_h, const_cast<SQLWCHAR*>(wide(sql)), SQL_NTS));
        m_parameters.assign(values.size(), Parameter());
        for (int i = 0; i < values.size(); ++i)
            bind(SQLUSMALLINT(i + 1), values[i], m_parameters[i]);
        check(SQLExecute(m_h));
        SQLLEN changed = 0;
        SQLRowCount(m_h, &changed);
        return long(changed);
    }

    QVector<ColumnInfo> columns() const {
        SQLSMALLINT count = 0;
        check(SQLNumResultCols(m_h, &count));
        QVector<ColumnInfo> result;
        for (SQLUSMALLINT i = 1; i <= count; ++i) {
            SQLWCHAR name[256];
            SQLSMALLINT nameLength = 0, sqlType = 0, scale = 0, nullable = 0;
            SQLULEN size = 0;
            check(SQLDescribeColW(m_h, i, name, 256, &nameLength, &sqlType, &size, &scale, &nullable));
            ColumnInfo info;
            info.name = fromWide(name, std::min<qsizetype>(nameLength, 255));
            info.declaredType = attribute(m_h, i, SQL_DESC_TYPE_NAME);
            info.type = typeCode(sqlType, scale, size, info.declaredType);
            info.baseColumn = attribute(m_h, i, SQL_DESC_BASE_COLUMN_NAME);
            result.append(info);
        }
        return result;
    }

    Variant value(SQLUSMALLINT column, int type) const {
        SQLLEN indicator = 0;
        switch (type) {
        case adType::Boolean:
        case adType::SmallInt: {
            SQLINTEGER v = 0;
            check(SQLGetData(m_h, column, SQL_C_SLONG, &v, 0, &indicator));
            if (indicator == SQL_NULL_DATA) return Variant::null();
            return type == adType::Boolean ? Variant(v != 0) : Variant::integer(int(v));
        }
        case adType::Integer: {
            SQLBIGINT v = 0;
            check(SQLGetData(m_h, column, SQL_C_SBIGINT, &v, 0, &indicator));
            return indicator == SQL_NULL_DATA ? Variant::null() : number(v);
        }
        case adType::Double:
        case adType::Currency: {
            double v = 0;
            check(SQLGetData(m_h, column, SQL_C_DOUBLE, &v, 0, &indicator));
            if (indicator == SQL_NULL_DATA) return Variant::null();
            return type == adType::Currency ? Variant::currency(v) : Variant(v);
        }
        case adType::Date: {
            SQL_TIMESTAMP_STRUCT v{};
            check(SQLGetData(m_h, column, SQL_C_TYPE_TIMESTAMP, &v, 0, &indicator));
            if (indicator == SQL_NULL_DATA) return Variant::null();
            const QDateTime moment(QDate(v.year, v.month, v.day),
                                   QTime(v.hour, v.minute, v.second, int(v.fraction / 1000000)));
            return Variant::date(runtime::toSerial(moment));
        }
        default:
            return text(column);
        }
    }

private:
    struct Parameter {
        SQLLEN indicator = 0;
        SQLBIGINT integer = 0;
        double real = 0;
        unsigned char bit = 0;
        SQL_TIMESTAMP_STRUCT moment{};
        QString text;
    };

    void bind(SQLUSMALLINT index, const Variant& v, Parameter& p) {
        SQLSMALLINT cType = SQL_C_CHAR, sqlType = SQL_VARCHAR, digits = 0;
        SQLULEN size = 1;
        SQLPOINTER buffer = nullptr;
        switch (v.type()) {
        case Variant::Type::Empty:
        case Variant::Type::Null:
            p.indicator = SQL_NULL_DATA;
            break;
        case Variant::Type::Boolean:
            p.bit = v.rawNumber() != 0 ? 1 : 0;
            cType = SQL_C_BIT, sqlType = SQL_BIT, buffer = &p.bit;
            break;
        case Variant::Type::Integer:
        case Variant::Type::Long:
            p.integer = SQLBIGINT(v.rawNumber());
            cType = SQL_C_SBIGINT, sqlType = SQL_BIGINT, size = 19, buffer = &p.integer;
            break;
        case Variant::Type::Double:
        case Variant::Type::Currency:
            p.real = v.rawNumber();
            cType = SQL_C_DOUBLE, sqlType = SQL_DOUBLE, size = 15, buffer = &p.real;
            break;
        case Variant::Type::Date: {
            const QDateTime moment = runtime::toDateTime(v.rawNumber());
            p.moment = {SQLSMALLINT(moment.date().year()),
                        SQLUSMALLINT(moment.date().month()),
                        SQLUSMALLINT(moment.date().day()),
                        SQLUSMALLINT(moment.time().hour()),
                        SQLUSMALLINT(moment.time().minute()),
                        SQLUSMALLINT(moment.time().second()),
                        0};
            cType = SQL_C_TYPE_TIMESTAMP, sqlType = SQL_TYPE_TIMESTAMP, size = 23, digits = 3,
            buffer = &p.moment;
            break;
        }
        case Variant::Type::String:
            p.text = v.rawString();
            p.indicator = SQLLEN(p.text.size() * sizeof(SQLWCHAR));
            cType = SQL_C_WCHAR, sqlType = SQL_WVARCHAR,
            size = SQLULEN(std::max<qsizetype>(p.text.size(), 1));
            buffer = const_cast<ushort*>(p.text.utf16());
            break;
        }
        check(SQLBindParameter(m_h, index, SQL_PARAM_INPUT, cType, sqlType, size, digits, buffer,
                               p.indicator > 0 ? p.indicator : 0, &p.indicator));
    }

    Variant text(SQLUSMALLINT column) const {
        QString result;
        SQLWCHAR chunk[2048];
        for (;;) {
            SQLLEN indicator = 0;
            const SQLRETURN rc = SQLGetData(m_h, column, SQL_C_WCHAR, chunk, sizeof chunk, &indicator);
            if (rc == SQL_NO_DATA) break;
            check(rc);
            if (indicator == SQL_NULL_DATA) return Variant::null();
            const qsizetype capacity = qsizetype(sizeof chunk / sizeof(SQLWCHAR)) - 1;
            const qsizetype length =
                indicator == SQL_NO_TOTAL || indicator / qsizetype(sizeof(SQLWCHAR)) > capacity
                    ? capacity
                    : indicator / qsizetype(sizeof(SQLWCHAR));
            result += fromWide(chunk, length);
            if (rc == SQL_SUCCESS) break;
        }
        return Variant(result);
    }

    SQLHSTMT m_h = nullptr;
    std::vector<Parameter> m_parameters;
};

OdbcProvider::OdbcProvider(const QString& connectionString, int loginTimeout, const QString& dataSource)
    : m_dataSource(dataSource) {
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &m_env);
    SQLSetEnvAttr(m_env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, m_env, &m_dbc);
    // ODBC takes an integer attribute in the place of the pointer.
    SQLSetConnectAttr(
        m_dbc, SQL_ATTR_LOGIN_TIMEOUT,
        reinterpret_cast<SQLPOINTER>(SQLULEN(loginTimeout)), // NOLINT(performance-no-int-to-ptr)
        0);
    const SQLRETURN rc = SQLDriverConnectW(m_dbc, nullptr, const_cast<SQLWCHAR*>(wide(connectionString)),
                                           SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
        const QString message = diagnostics(SQL_HANDLE_DBC, m_dbc);
        SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
        SQLFreeHandle(SQL_HANDLE_ENV, m_env);
        throw runtime::RuntimeError(runtime::err::DatabaseError, message);
    }
}

OdbcProvider::~OdbcProvider() {
    SQLDisconnect(m_dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, m_dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, m_env);
}

QueryResult OdbcProvider::query(const QString& sql, bool updatable) {
    Statement s(m_dbc);
    s.run(sql);
    QueryResult result;
    result.columns = s.columns();
    if (result.columns.isEmpty()) return result;
    // Rows can be written back when every column is a column of one table.
    QString table;
    QVector<QString> names;
    if (updatable) {
        for (int i = 1; i <= result.columns.size(); ++i) {
            const QString columnTable = attribute(s.handle(), SQLUSMALLINT(i), SQL_DESC_BASE_TABLE_NAME);
            const QString& base = result.columns[i - 1].baseColumn;
            if (i == 1) table = columnTable;
            if (base.isEmpty() || columnTable.isEmpty() ||
                columnTable.compare(table, Qt::CaseInsensitive) != 0) {
                table.clear();
                break;
            }
            names.append(base);
        }
        // A driver that tells no base table (FreeTDS outside browse mode): the table of a text
        // that reads plain columns of one table, its columns by their names.
        if (table.isEmpty()) {
            table = plainTable(sql);
            names.clear();
            for (ColumnInfo& column : result.columns) {
                if (column.baseColumn.isEmpty()) column.baseColumn = column.name;
                names.append(column.baseColumn);
            }
        }
    }
    result.table = table;
    auto rows = std::make_unique<BufferedRows>();
    for (const ColumnInfo& column : result.columns)
        rows->types.append(column.type);
    SQLRETURN rc;
    while (SQL_SUCCEEDED(rc = SQLFetch(s.handle()))) {
        QVector<Variant> row(result.columns.size());
        for (int i = 0; i < row.size(); ++i)
            row[i] = s.value(SQLUSMALLINT(i + 1), result.columns[i].type);
        if (!table.isEmpty()) {
            m_rows.insert(m_nextRow, KnownRow{table, names, row});
            rows->rowids.append(m_nextRow++);
        }
        rows->rows.append(row);
    }
    s.check(rc);
    result.rows = std::move(rows);
    return result;
}

void OdbcProvider::beginTransaction() {
    if (m_transactions++ == 0)
        check(SQLSetConnectAttr(m_dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF),
                                0),
              SQL_HANDLE_DBC, m_dbc);
}

void OdbcProvider::commitTransaction() {
    if (m_transactions == 0 || --m_transactions > 0) return;
    check(SQLEndTran(SQL_HANDLE_DBC, m_dbc, SQL_COMMIT), SQL_HANDLE_DBC, m_dbc);
    check(SQLSetConnectAttr(m_dbc, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0),
          SQL_HANDLE_DBC, m_dbc);
}

long OdbcProvider::execute(const QString& sql) {
    Statement s(m_dbc);
    return s.run(sql);
}

void OdbcProvider::setKnown(KnownRow& row, const ColumnValues& values) {
    for (const auto& [name, value] : values) {
        int i = 0;
        while (i < row.columns.size() && row.columns[i].compare(name, Qt::CaseInsensitive) != 0)
            ++i;
        if (i == row.columns.size()) {
            row.columns.append(name);
            row.values.append(value);
        } else {
            row.values[i] = value;
        }
    }
}

void OdbcProvider::updateRow(const QString& table, qint64 rowid, const ColumnValues& values) {
    if (values.isEmpty()) return;
    auto known = m_rows.find(rowid);
    if (known == m_rows.end()) runtime::raise(runtime::err::NotAnUpdatableQuery);
    QStringList assignments, criteria;
    QVector<Variant> parameters;
    for (const auto& [name, value] : values) {
        assignments << bracketed(name) + QStringLiteral(" = ?");
        parameters.append(value);
    }
    // The row is found again by the values read of its whole numbers, texts and flags; dates
    // and fractions may not come back exactly as the server holds them.
    for (int i = 0; i < known->columns.size(); ++i) {
        const Variant& v = known->values[i];
        if (v.isNull() || v.isEmpty()) {
            criteria << bracketed(known->columns[i]) + QStringLiteral(" IS NULL");
        } else if (v.isString() || v.type() == Variant::Type::Integer || v.type() == Variant::Type::Long ||
                   v.type() == Variant::Type::Boolean) {
            criteria << bracketed(known->columns[i]) + QStringLiteral(" = ?");
            parameters.append(v);
        }
    }
    if (criteria.isEmpty()) runtime::raise(runtime::err::NotAnUpdatableQuery);
    Statement s(m_dbc);
    const long changed = s.run(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                   .arg(bracketed(table), assignments.join(QLatin1String(", ")),
                                        criteria.join(QLatin1String(" AND "))),
                               parameters);
    if (changed == 0)
        throw runtime::RuntimeError(
            runtime::err::DatabaseError,
            QStringLiteral("Row cannot be located for updating. Some values may have been "
                           "changed since it was last read."));
    setKnown(*known, values);
}

qint64 OdbcProvider::insertRow(const QString& table, const ColumnValues& values) {
    QStringList names, markers;
    QVector<Variant> parameters;
    for (const auto& [name, value] : values) {
        names << bracketed(name);
        markers << QStringLiteral("?");
        parameters.append(value);
    }
    Statement s(m_dbc);
    s.run(values.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(bracketed(table))
                           : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                 .arg(bracketed(table), names.join(QLatin1String(", ")),
                                      markers.join(QLatin1String(", "))),
          parameters);
    KnownRow row{table, {}, {}};
    setKnown(row, values);
    m_rows.insert(m_nextRow, row);
    return m_nextRow++;
}

QVector<Variant> OdbcProvider::readRow(const QString&, qint64 rowid, const QVector<ColumnInfo>& columns) {
    const KnownRow row = m_rows.value(rowid);
    QVector<Variant> values(columns.size(), Variant::null());
    for (int c = 0; c < columns.size(); ++c)
        for (int i = 0; i < row.columns.size(); ++i)
            if (row.columns[i].compare(columns[c].baseColumn, Qt::CaseInsensitive) == 0)
                values[c] = row.values[i];
    return values;
}

} // namespace data

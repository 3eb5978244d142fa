#include "TSqlProvider.h"

#include "SqlTokens.h"
#include "TSql.h"
#include "runtime/RuntimeError.h"

#include <sqlite3.h>

namespace data {

using namespace sql;

TSqlProvider::TSqlProvider(const QString& file) : JetProvider(file, QString()) {
    registerTSqlFunctions(handle());
}

SqliteText TSqlProvider::translate(const QVector<SqlToken>& tokens, bool wantRowid) {
    return translateTSql(tokens, wantRowid, [this](const QString& table, const QString& column) {
        return declaredType(table, column);
    });
}

long TSqlProvider::execute(const QString& sql) {
    const JetText text = parseJet(sql);
    const QString verb = text.tokens.isEmpty() ? QString() : text.tokens[0].text.toLower();
    if (verb == QLatin1String("create") && text.tokens.size() > 1 &&
        isWord(text.tokens[1], QLatin1String("function"))) {
        createFunction(text.tokens, sql);
        return 0;
    }
    if (!isQuery(text.tokens) && verb != QLatin1String("insert") && verb != QLatin1String("update") &&
        verb != QLatin1String("delete"))
        syntaxError(QStringLiteral("The embedded SQL Server engine runs queries, INSERT, UPDATE, DELETE and "
                                   "CREATE FUNCTION only: '%1'.")
                        .arg(sql.left(40)));
    return JetProvider::execute(sql);
}

void TSqlProvider::createFunction(const QVector<SqlToken>& tokens, const QString& sql) {
    QString name;
    for (int i = 2; i < tokens.size() && !isSymbol(tokens[i], QLatin1String("(")); ++i)
        if (isName(tokens[i])) name = tokens[i].text;
    if (name.isEmpty()) syntaxError(QStringLiteral("Incorrect syntax near 'FUNCTION'."));
    sqlite3* db = handle();
    const QByteArray create =
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (name TEXT PRIMARY KEY COLLATE NOCASE, "
                       "definition TEXT)")
            .arg(QLatin1String(functionsTable))
            .toUtf8();
    if (sqlite3_exec(db, create.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) fail();
    const QByteArray insert =
        QStringLiteral("INSERT INTO %1 VALUES (?1, ?2)").arg(QLatin1String(functionsTable)).toUtf8();
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, insert.constData(), int(insert.size()), &stmt, nullptr) != SQLITE_OK) fail();
    const QByteArray nameUtf8 = name.toUtf8(), definition = sql.toUtf8();
    sqlite3_bind_text(stmt, 1, nameUtf8.constData(), int(nameUtf8.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(stmt, 2, definition.constData(), int(definition.size()), SQLITE_TRANSIENT);
    const int rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    if (rc == SQLITE_CONSTRAINT)
        syntaxError(QStringLiteral("There is already an object named '%1' in the database.").arg(name));
    if (rc != SQLITE_DONE) fail();
}

} // namespace data

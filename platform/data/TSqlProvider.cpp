#include "TSqlProvider.h"

#include "SqlTokens.h"
#include "TSql.h"
#include "runtime/RuntimeError.h"

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
    const JetText text = parseJet(sql, false);
    if (text.verb == QLatin1String("create")) {
        const QVector<SqlToken> tokens = parseJet(sql).tokens;
        if (tokens.size() > 1 && isWord(tokens[1], QLatin1String("function"))) {
            createFunction(tokens, sql);
            return 0;
        }
    }
    if (!text.query && text.verb != QLatin1String("insert") && text.verb != QLatin1String("update") &&
        text.verb != QLatin1String("delete"))
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
    auto literal = [](QString text) {
        return QLatin1Char('\'') + text.replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\'');
    };
    const QString table = QLatin1String(functionsTable);
    JetProvider::execute(
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (name TEXT PRIMARY KEY COLLATE NOCASE, "
                       "definition TEXT)")
            .arg(table));
    if (JetProvider::query(QStringLiteral("SELECT name FROM %1 WHERE name = %2").arg(table, literal(name)),
                           false)
            .rows->next())
        syntaxError(QStringLiteral("There is already an object named '%1' in the database.").arg(name));
    JetProvider::execute(QStringLiteral("INSERT INTO %1 (name, definition) VALUES (%2, %3)")
                             .arg(table, literal(name), literal(sql)));
}

} // namespace data

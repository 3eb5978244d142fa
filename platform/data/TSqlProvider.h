#pragma once

#include "JetProvider.h"

namespace data {

// The embedded engine of the SQL Server kind, for tests and the demo: the file a connection
// string attaches (AttachDbFilename) is a SQLite database read and written with SQL Server's
// dialect (see translateTSql). Dates are serials as in the Jet files, a time alone lies on
// 1900-01-01 as SQL Server stores it. CREATE FUNCTION records the function in the file, so a
// second creation fails as on a server; other definitions are refused.
class TSqlProvider : public JetProvider {
public:
    explicit TSqlProvider(const QString& file);
    long execute(const QString& sql) override;

    // The table that records the functions created.
    static constexpr const char* functionsTable = "tsql_functions";

protected:
    SqliteText translate(const QVector<SqlToken>& tokens, bool wantRowid) override;

private:
    void createFunction(const QVector<SqlToken>& tokens, const QString& sql);
};

} // namespace data

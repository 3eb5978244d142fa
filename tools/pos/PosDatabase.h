#pragma once

#include "data/Connection.h"
#include "runtime/Variant.h"

#include <QPair>
#include <QString>
#include <QVector>

// Builds point-of-sale database files for tests, tools and benchmarks: every table and column
// the programs read or write, with the indexes of a real installation, and the database
// password of the installation stored in the file.
namespace posdb {

constexpr const char* Password = "47125830";

// Creates db.mdb with the whole schema and no rows (an existing file is replaced).
void createMainDatabase(const QString& file, const QString& password = QLatin1String(Password));
// Creates spooler.mdb with tmpreport (campo1 to campo28, untyped: they keep what is stored).
void createSpoolerDatabase(const QString& file, const QString& password = QLatin1String(Password));

// The Jet connection string of a file, as the programs write it.
QString jetConnectionString(const QString& file, const QString& password = QLatin1String(Password));
// An open connection on a database file.
data::ConnectionPtr openJet(const QString& file, const QString& password = QLatin1String(Password));

// Copies a Jet database file as a database of the embedded SQL Server engine: without the Jet
// password, a time alone moved to SQL Server's day 0 (1900-01-01) as a server stores it.
void copyAsSqlServer(const QString& jetFile, const QString& sqlServerFile);
// The connection string that opens such a file on the embedded engine, as bases.ini gives it.
QString sqlServerConnectionString(const QString& file);

// Column values of a row to add.
using Row = QVector<QPair<QString, runtime::Variant>>;

// Adds a row through the connection; returns its key (rowid, which is the identifier column).
qint64 insertRow(const data::ConnectionPtr& db, const QString& table, const Row& row);
// The rows of a Jet query, values by position.
QVector<QVector<runtime::Variant>> rows(const data::ConnectionPtr& db, const QString& sql);

// Date and time values as the point of sale stores them.
runtime::Variant day(int year, int month, int dayOfMonth);
runtime::Variant time(int hour, int minute, int second = 0);

// The small data set of the fixture (see PosFixture.h for its contents).
void seedSampleData(const data::ConnectionPtr& db);

} // namespace posdb

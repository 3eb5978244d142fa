// The ODBC provider end to end through unixODBC with the SQLite ODBC driver, and the mapping of
// SQL Server connection strings to FreeTDS with a refused connection.

#include "data/Connection.h"
#include "data/OdbcProvider.h"
#include "data/SqlServer.h"
#include "runtime/DateSerial.h"
#include "runtime/RuntimeError.h"
#include "support/LocalPorts.h"
#include "tools/pos/PosDatabase.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using runtime::Variant;

namespace {

QString errorText(const std::function<void()>& action) {
    try {
        action();
    } catch (const runtime::RuntimeError& e) {
        return e.description();
    }
    return {};
}

// A query's result read whole.
struct Read {
    QVector<data::ColumnInfo> columns;
    QString table;
    QVector<QVector<Variant>> rows;
    QVector<qint64> rowids;
};
Read readAll(data::QueryResult r) {
    Read out{r.columns, r.table, {}, {}};
    while (r.rows->next()) {
        QVector<Variant> row;
        for (int c = 0; c < r.columns.size(); ++c)
            row.append(r.rows->value(c));
        out.rows.append(row);
        out.rowids.append(r.rows->rowid());
    }
    return out;
}

class Odbc : public ::testing::Test {
protected:
    Odbc() : odbc("Driver={SQLite3};Database=" + dir.path() + "/odbc.db", 5, "odbc.db") {
        odbc.execute(
            "CREATE TABLE t (id INTEGER PRIMARY KEY, name VARCHAR(40), amount DOUBLE, day TIMESTAMP, "
            "flag BIT)");
    }
    QTemporaryDir dir;
    data::OdbcProvider odbc;
};

} // namespace

TEST_F(Odbc, BoundValuesComeBackAsTheirColumnsTypes) {
    const double moment = runtime::dateSerial(2026, 12, 8) + runtime::timeSerial(17, 45, 3);
    odbc.insertRow("t", {{"id", 1},
                         {"name", QString("Ñandú 'x'")},
                         {"amount", 1234.5},
                         {"day", Variant::date(moment)},
                         {"flag", true}});
    odbc.insertRow("t", {{"id", 2}});
    const Read r = readAll(odbc.query("SELECT id, name, amount, day, flag FROM t ORDER BY id", false));
    ASSERT_EQ(r.rows.size(), 2);
    const int types[] = {data::adType::Integer, data::adType::VarWChar, data::adType::Double,
                         data::adType::Date, data::adType::Boolean};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(r.columns[i].type, types[i]) << r.columns[i].name.toStdString();
    EXPECT_EQ(r.rows[0][0].toLong(), 1);
    EXPECT_EQ(r.rows[0][1].toText(), "Ñandú 'x'");
    EXPECT_DOUBLE_EQ(r.rows[0][2].toDouble(), 1234.5);
    EXPECT_TRUE(r.rows[0][3].isDate());
    EXPECT_EQ(runtime::toDateTime(r.rows[0][3].toDate()), QDateTime(QDate(2026, 12, 8), QTime(17, 45, 3)));
    EXPECT_TRUE(r.rows[0][4].toBool());
    for (int i = 1; i < 5; ++i)
        EXPECT_TRUE(r.rows[1][i].isNull());
    EXPECT_EQ(odbc.execute("DELETE FROM t WHERE id = 2"), 1);
}

TEST_F(Odbc, RowsReadForUpdateAreWrittenBackOnlyWhileUnchanged) {
    odbc.insertRow("t", {{"id", 7}, {"name", QString("siete")}});
    const Read r = readAll(odbc.query("SELECT id, name FROM t", true));
    ASSERT_EQ(r.table, "t");
    ASSERT_EQ(r.rowids.size(), 1);
    odbc.updateRow("t", r.rowids[0], {{"name", QString("SIETE")}});
    EXPECT_EQ(readAll(odbc.query("SELECT name FROM t", false)).rows[0][0].toText(), "SIETE");
    EXPECT_EQ(odbc.readRow("t", r.rowids[0], r.columns)[1].toText(), "SIETE");
    // Another writer changes the row: the next write finds it no more.
    odbc.execute("UPDATE t SET name = 'otro'");
    EXPECT_TRUE(errorText([&] {
                    odbc.updateRow("t", r.rowids[0], {{"name", QString("x")}});
                }).startsWith("Row cannot be located for updating."));
    EXPECT_TRUE(odbc.query("SELECT count(*) FROM t", true).table.isEmpty());
}

TEST_F(Odbc, WritesInATransactionReachOtherConnectionsAtTheOutermostCommit) {
    data::OdbcProvider other("Driver={SQLite3};Database=" + dir.path() + "/odbc.db;Timeout=100", 5,
                             "odbc.db");
    auto count = [&] { return readAll(other.query("SELECT count(*) FROM t", false)).rows[0][0].toLong(); };
    odbc.beginTransaction();
    odbc.beginTransaction();
    odbc.insertRow("t", {{"id", 1}});
    odbc.commitTransaction();
    EXPECT_EQ(count(), 0);
    odbc.commitTransaction();
    EXPECT_EQ(count(), 1);
}

TEST(OdbcTexts, TheTableOfATextOfPlainColumns) {
    const struct {
        const char* sql;
        const char* table;
    } cases[] = {
        {"Select CLAVE, VALOR from REGISTRY where CLAVE = 'x'", "REGISTRY"},
        {"select * from ventas where fechacaja is null ", "ventas"},
        {"select ventas.idventa from [ventas] order by 1;", "ventas"},
        {"select a.x from a, b", ""},
        {"select x as y from a", ""},
        {"select count(*) from a", ""},
        {"select x from a left join b on a.i = b.i", ""},
        {"delete from a", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(data::plainTable(c.sql), c.table) << c.sql;
}

TEST_F(Odbc, TheDriversMessageIsTheErrorsText) {
    EXPECT_TRUE(errorText([&] { odbc.query("SELECT * FROM missing", false); }).contains("no such table"));
    EXPECT_FALSE(errorText([&] { data::OdbcProvider("Driver={NoSuchDriver}", 5, {}); }).isEmpty());
}

TEST(FreeTds, SqlServerClientConnectionStringsMapToTheDriversKeys) {
    const struct {
        const char* given;
        const char* odbc;
        int timeout;
    } cases[] = {
        {"Provider=SQLOLEDB.1;Data Source=caja\\SQLEXPRESS;initial catalog=pos;User ID=sa;Password='a;b'",
         "Driver={FreeTDS};Server=caja\\SQLEXPRESS;Database=pos;UID=sa;PWD={a;b};TDS_Version=7.4;"
         "ClientCharset=UTF-8",
         15},
        {"Provider=SQLNCLI11;Data Source=tcp:10.0.0.5,1450;initial catalog=pos;User ID=u;Password=p;Connect "
         "Timeout=3",
         "Driver={FreeTDS};Server=10.0.0.5;Port=1450;Database=pos;UID=u;PWD=p;TDS_Version=7.4;ClientCharset="
         "UTF-8",
         3},
        {"Provider=MSOLEDBSQL;Server=(local);Database=x;UID=u;PWD=p",
         "Driver={FreeTDS};Server=localhost;Database=x;UID=u;PWD=p;TDS_Version=7.4;ClientCharset=UTF-8", 15},
    };
    for (const auto& c : cases) {
        const data::FreeTdsLogin login = data::freeTdsLogin(data::ConnectionString(c.given));
        EXPECT_EQ(login.connectionString, c.odbc) << c.given;
        EXPECT_EQ(login.loginTimeout, c.timeout) << c.given;
    }
    EXPECT_TRUE(errorText([] {
                    data::freeTdsLogin(data::ConnectionString("Provider=SQLOLEDB;Data Source=caja;Integrated "
                                                              "Security=SSPI"));
                }).startsWith("Integrated Security"));
}

TEST(FreeTds, ARefusedOrSilentServerFailsTheOpenWithinTheLoginTimeout) {
    SilentServer silent;
    const struct {
        int port;
        const char* message;
        qint64 atLeast;
    } cases[] = {{closedLocalPort(), "[FreeTDS]", 0}, {silent.port(), "Timeout expired", 1500}};
    for (const auto& c : cases) {
        data::Connection cn;
        QElapsedTimer clock;
        clock.start();
        const QString message = errorText([&] {
            cn.open("Provider=SQLOLEDB;Data Source=127.0.0.1," + QString::number(c.port) +
                    ";initial catalog=pos;User ID=sa;Password=x;Connect Timeout=2");
        });
        EXPECT_TRUE(message.contains(c.message)) << message.toStdString();
        EXPECT_GE(clock.elapsed(), c.atLeast);
        EXPECT_LT(clock.elapsed(), 8000);
        EXPECT_FALSE(cn.isOpen());
    }
}

TEST(FreeTds, TheLoginCarriesUserPasswordDatabaseAndFileAsWritten) {
    QTemporaryDir dir;
    const QString notOurs = dir.path() + "/pos.mdf";
    QFile file(notOurs);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, '\0'));
    file.close();
    const struct {
        QString keys; // of CONNSTRING
        QString user, password, database, attached;
    } cases[] = {
        {"User ID=u}s;Password=ab}c;Database=po}s", "u}s", "ab}c", "po}s", ""},
        {"User ID=\"a;b\";Password=\"x=y;z}\";Database='p;o}'", "a;b", "x=y;z}", "p;o}", ""},
        {"User ID=\" jo se \";Password= p w ;Database=' mi base '", " jo se ", "p w", " mi base ", ""},
        {"User ID=o'neill;Password=\"di\"\"ce\";Database='it''s'", "o'neill", "di\"ce", "it's", ""},
        {"User ID=Ñandú;Password=contraseña€;Database=Peñón", "Ñandú", "contraseña€", "Peñón", ""},
        {"User ID={u};Password={p}};Database={x", "{u}", "{p}}", "{x", ""},
        // A file the embedded engine cannot read is the server's to attach.
        {"User ID=u;Password=p;AttachDbFilename=C:\\datos\\pos.mdf", "u", "p", "", "C:\\datos\\pos.mdf"},
        {"User ID=u;Password=p;AttachDbFilename=" + notOurs, "u", "p", "", notOurs},
    };
    for (const auto& c : cases) {
        TdsLoginListener server;
        data::Connection cn;
        const QString message = errorText([&] {
            cn.open("Provider=SQLOLEDB;Data Source=127.0.0.1," + QString::number(server.port()) + ";" +
                    c.keys);
        });
        EXPECT_TRUE(message.startsWith("[FreeTDS]")) << message.toStdString();
        const TdsLoginListener::Login login = server.login();
        ASSERT_TRUE(login.received) << c.keys.toStdString();
        EXPECT_EQ(login.user, c.user) << c.keys.toStdString();
        EXPECT_EQ(login.password, c.password) << c.keys.toStdString();
        EXPECT_EQ(login.database, c.database) << c.keys.toStdString();
        EXPECT_EQ(login.attachDbFile, c.attached) << c.keys.toStdString();
    }

    // A value that the driver cannot be given is refused before any connection; a SQLite file
    // is attached by the embedded engine.
    const QString server = "Provider=SQLOLEDB;Data Source=127.0.0.1," + QString::number(closedLocalPort());
    data::Connection cn;
    EXPECT_EQ(
        errorText([&] { cn.open(server + ";User ID=u;Password=\"a};b\""); }),
        "The value of Password in CONNSTRING holds \"};\", which cannot be passed to the FreeTDS driver.");
    const QString ours = dir.path() + "/pos_embedded.mdf";
    posdb::createSpoolerDatabase(ours, QString());
    cn.open(server + ";AttachDbFilename=" + ours);
    EXPECT_TRUE(cn.isOpen());
}

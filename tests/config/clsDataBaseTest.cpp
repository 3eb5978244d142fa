#include "framework/clsDataBase.h"
#include "data/Recordset.h"
#include "framework/Main.h"
#include "framework/ProgramSession.h"
#include "runtime/DateSerial.h"
#include "runtime/Format.h"
#include "runtime/Program.h"
#include "runtime/RuntimeError.h"
#include "support/Files.h"
#include "support/LocalPorts.h"
#include "support/PosFixture.h"
#include "support/ScriptedHost.h"

#include <QDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace framework;

namespace {

QString mainConnection(const QString& directorio) {
    return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + directorio +
           "\\db\\db.mdb;Persist Security Info=False;Jet OLEDB:Database Password=47125830";
}

// The lines of today's error log in the program's folder.
QStringList errorLog(const PosFixture& pos) {
    return QString::fromUtf8(
               fileContents(pos.programFolder() + "/ErrorLog" +
                            runtime::Format(runtime::Variant::date(runtime::today()), "DDMMYY") + ".log"))
        .split("\r\n", Qt::SkipEmptyParts);
}

} // namespace

TEST(OpenAccess, OpensBothDatabasesOfTheConfiguredFolder) {
    ScriptedHost host;
    PosFixture pos;
    clsDataBase db;
    EXPECT_TRUE(db.OpenAccess());
    EXPECT_EQ(db.directorio, pos.root());
    EXPECT_FALSE(db.isMSSQL);
    EXPECT_EQ(db.cn, mainConnection(pos.root()));
    ASSERT_TRUE(db.dbaccess && db.dbaccess->isOpen());
    EXPECT_EQ(db.dbaccess->cursorLocation(), data::adUseClient);
    ASSERT_TRUE(db.spooler && db.spooler->isOpen());
    EXPECT_EQ(db.spooler->cursorLocation(), data::adUseServer);
    EXPECT_TRUE(db.DBIsOpen());
    EXPECT_TRUE(host.boxes.isEmpty());

    db.CloseDatabase();
    EXPECT_FALSE(db.dbaccess);
    EXPECT_FALSE(db.spooler);
}

TEST(OpenAccess, WithoutBasesIniLooksTwoFoldersUp) {
    ScriptedHost host;
    PosFixture pos;
    QFile::remove(pos.iniFile());
    clsDataBase db;
    db.OpenAccess();
    EXPECT_EQ(db.directorio, pos.programFolder() + "\\..\\..\\");
    EXPECT_EQ(db.cn, mainConnection(pos.programFolder() + "\\..\\..\\"));
    EXPECT_TRUE(db.DBIsOpen());
}

TEST(OpenAccess, MissingDatabaseEndsTheProgramWhateverTheKind) {
    for (const QByteArray kind : {"1", "2"}) {
        ScriptedHost host;
        PosFixture pos(false);
        pos.writeIni("Directorio|" + pos.root().toUtf8() + "\r\nDBKIND|" + kind + "\r\n");
        QFile::remove(pos.mainFile());
        clsDataBase db;
        EXPECT_THROW(db.OpenAccess(), runtime::ProgramEnd);
        ASSERT_EQ(host.boxes.size(), 1);
        EXPECT_EQ(host.boxes[0].text,
                  "No se puede encontrar la base de datos, " + pos.root() + "\\db\\db.mdb");
        EXPECT_EQ(host.boxes[0].buttons, runtime::mb::OKOnly);
        EXPECT_TRUE(host.ended);
        EXPECT_FALSE(db.dbaccess);
        EXPECT_FALSE(db.spooler);
    }
}

TEST(OpenAccess, OnlyKindTwoSelectsSqlServerAndAFailedOpenIsLoggedWithItsReason) {
    ScriptedHost host;
    PosFixture pos;
    for (const QByteArray kind : {"1", "3", "sql", "", "2 "}) {
        pos.writeIni("Directorio|" + pos.root().toUtf8() + "\r\nDBKIND|" + kind + "\r\n");
        clsDataBase db;
        db.OpenAccess();
        EXPECT_FALSE(db.isMSSQL) << kind.constData();
        EXPECT_TRUE(db.DBIsOpen()) << kind.constData();
        EXPECT_EQ(db.openError(), "");
    }
    EXPECT_TRUE(errorLog(pos).isEmpty());
    // A server that refuses the connection.
    const QString unreachable =
        "Provider=SQLOLEDB;Server=127.0.0.1," + QString::number(closedLocalPort()) + ";User ID=sa;Password=x";
    pos.writeIni("Directorio|" + pos.root().toUtf8() + "\r\nDBKIND|2\r\nCONNSTRING|" + unreachable.toUtf8() +
                 "\r\n");
    clsDataBase db;
    EXPECT_TRUE(db.OpenAccess());
    EXPECT_TRUE(db.isMSSQL);
    EXPECT_EQ(db.cn, unreachable);
    EXPECT_FALSE(db.DBIsOpen());
    EXPECT_TRUE(db.spooler->isOpen());
    EXPECT_TRUE(host.boxes.isEmpty());
    // The driver's own reason, in the error log and for the login.
    EXPECT_TRUE(db.openError().startsWith("[FreeTDS]")) << db.openError().toStdString();
    const QStringList log = errorLog(pos);
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(
        log[0].contains("(" + db.openError() + ") in procedure OpenAccess of Módulo de clase clsDataBase"))
        << log[0].toStdString();
    // A start whose main connection failed still closes quietly.
    EXPECT_NO_THROW(db.CloseDatabase());
}

TEST(OpenAccess, WrongPasswordShowsOnlyAtTheFirstQuery) {
    ScriptedHost host;
    PosFixture pos;
    posdb::createMainDatabase(pos.mainFile(), "otra");
    clsDataBase db;
    EXPECT_TRUE(db.OpenAccess());
    EXPECT_FALSE(db.DBIsOpen());
    data::Recordset rs;
    EXPECT_THROW(rs.open("select * from usuarios", db.dbaccess), runtime::RuntimeError);
    EXPECT_TRUE(host.boxes.isEmpty());
    EXPECT_EQ(db.openError(), "Not a valid password.");
}

TEST(OpenAccess, MissingSpoolerIsARunTimeError) {
    ScriptedHost host;
    PosFixture pos;
    QFile::remove(pos.spoolerFile());
    clsDataBase db;
    try {
        db.OpenAccess();
        FAIL();
    } catch (const runtime::RuntimeError& e) {
        EXPECT_TRUE(e.description().contains("spooler.mdb"));
    }
    EXPECT_TRUE(db.DBIsOpen());
}

TEST(OpenAccess, AGoodSpoolerThatCannotBeReadGivesTheEnginesReason) {
    ScriptedHost host;
    PosFixture pos;
    pos.inRollbackJournal(pos.spoolerFile());
    sqlite3* handle = nullptr;
    sqlite3_open(pos.spoolerFile().toUtf8().constData(), &handle);
    sqlite3_exec(handle, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    sqlite3_close(handle);
    // Its write-ahead log cannot be opened, as in a folder the user may not write to.
    ASSERT_TRUE(QDir().mkdir(pos.spoolerFile() + "-wal"));
    clsDataBase db;
    try {
        db.OpenAccess();
        FAIL();
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.description(),
                  "Cannot open database '" + pos.root() + "\\spooler.mdb': unable to open database file");
    }
}

TEST(OpenAccess, AReducedObjectOpensOnlyThePointOfSaleDatabase) {
    ScriptedHost host;
    PosFixture pos;
    QFile::remove(pos.spoolerFile());
    pos.setSetting("CSNETIQUETA", "LOC2");
    clsDataBase db({.scratch = false, .cursorLocation = std::nullopt, .settingsTable = false});
    EXPECT_TRUE(db.OpenAccess());
    EXPECT_TRUE(host.boxes.isEmpty());
    ASSERT_TRUE(db.dbaccess && db.dbaccess->isOpen());
    EXPECT_EQ(db.dbaccess->cursorLocation(), data::adUseServer);
    EXPECT_FALSE(db.spooler);
    EXPECT_EQ(db.dbgetsetting("CSNETIQUETA", "LOC1"), "LOC1");
    db.DBSaveSetting("CSNETIQUETA", "LOC9");
    EXPECT_EQ(pos.scalar("select VALOR from REGISTRY where CLAVE = 'CSNETIQUETA'").toString(), "LOC2");
    db.CloseDatabase();
    EXPECT_FALSE(db.dbaccess);
}

TEST(Settings, ReadGivesTheStoredTextWithoutQuotesOrTheDefault) {
    ScriptedHost host;
    PosFixture pos;
    pos.setSetting("CSNETIQUETA", "\"LOC\"2\"");
    pos.setSetting("cmbPais", "3");
    pos.setSetting("cmbPais", "4");
    pos.insert("REGISTRY", {{"CLAVE", "nulo"}, {"VALOR", runtime::Variant::null()}});
    ProgramSession session;
    clsDataBase& db = session.newDatabase();
    db.OpenAccess();
    EXPECT_EQ(db.dbgetsetting("CSNETIQUETA", "LOC1"), "LOC2");
    EXPECT_EQ(db.dbgetsetting("CMBPAIS"), "3"); // keys compare without regard to case; the first row counts
    EXPECT_EQ(LeeDBSetting("cmbPais", "0"), "3");
    EXPECT_EQ(db.dbgetsetting("nada", "LOC1"), "LOC1");
    EXPECT_EQ(db.dbgetsetting("nada"), "");
    EXPECT_EQ(db.dbgetsetting("nulo", "x"), "");
}

TEST(Settings, SaveAddsOrUpdatesTheFirstRowOnly) {
    ScriptedHost host;
    PosFixture pos;
    pos.setSetting("dup", "a");
    pos.setSetting("dup", "b");
    ProgramSession session;
    clsDataBase& db = session.newDatabase();
    db.OpenAccess();
    db.DBSaveSetting("CSNETIQUETA", "LOC7");
    EXPECT_EQ(db.dbgetsetting("CSNETIQUETA", "LOC1"), "LOC7");
    db.DBSaveSetting("CSNETIQUETA", "LOC8");
    EXPECT_EQ(pos.scalar("select count(*) from REGISTRY where CLAVE = 'CSNETIQUETA'").toLong(), 1);
    EXPECT_EQ(pos.scalar("select VALOR from REGISTRY where CLAVE = 'CSNETIQUETA'").toString(), "LOC8");
    db.DBSaveSetting("DUP", "c");
    const auto rows = pos.rows("select CLAVE, VALOR from REGISTRY where CLAVE = 'dup' order by rowid");
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0][0].toString(), "DUP");
    EXPECT_EQ(rows[0][1].toString(), "c");
    EXPECT_EQ(rows[1][1].toString(), "b");
}

TEST(Settings, ApostrophesInKeysNeitherBreakNorChangeTheQuery) {
    ScriptedHost host;
    PosFixture pos;
    pos.setSetting("otra", "secreto");
    clsDataBase db;
    db.OpenAccess();
    db.DBSaveSetting("O'Brien", "1");
    EXPECT_EQ(db.dbgetsetting("O'Brien", "x"), "1");
    EXPECT_EQ(pos.scalar("select CLAVE from REGISTRY where VALOR = '1'").toString(), "O'Brien");
    EXPECT_EQ(db.dbgetsetting("x' or CLAVE = 'otra", "def"), "def");
    db.DBSaveSetting("x' or CLAVE = 'otra", "pisado");
    EXPECT_EQ(db.dbgetsetting("otra"), "secreto");
}

TEST(Settings, FailuresAreSilentAndReadGivesEmpty) {
    ScriptedHost host;
    PosFixture pos;
    pos.exec("DROP TABLE REGISTRY");
    clsDataBase db;
    db.OpenAccess();
    EXPECT_EQ(db.dbgetsetting("CSNETIQUETA", "LOC1"), "");
    EXPECT_NO_THROW(db.DBSaveSetting("CSNETIQUETA", "LOC2"));
    db.CloseDatabase();
    clsDataBase closed;
    EXPECT_EQ(closed.dbgetsetting("CSNETIQUETA", "LOC1"), "");
    EXPECT_NO_THROW(closed.DBSaveSetting("CSNETIQUETA", "LOC2"));
}

TEST(Main, MissingDatabaseEndsTheProgramBeforeAnyWindow) {
    ScriptedHost host;
    PosFixture pos(false);
    QFile::remove(pos.mainFile());
    ProgramSession session;
    EXPECT_THROW(Main(), runtime::ProgramEnd);
    ASSERT_TRUE(gDB);
    EXPECT_FALSE(gDB->dbaccess);
    EXPECT_EQ(host.boxes.size(), 1);
}

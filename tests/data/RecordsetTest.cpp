#include "data/Recordset.h"
#include "runtime/DateSerial.h"
#include "runtime/RuntimeError.h"
#include "support/PosFixture.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <gtest/gtest.h>

using data::Recordset;
using runtime::RuntimeError;
using runtime::Variant;

namespace {

long errorNumber(const std::function<void()>& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

QString errorText(const std::function<void()>& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.description();
    }
    return {};
}

} // namespace

TEST(JetConnection, OpensWithTheStoredPasswordOnly) {
    PosFixture pos(false);
    auto cn = std::make_shared<data::Connection>();
    EXPECT_EQ(errorText([&] { cn->open(posdb::jetConnectionString(pos.mainFile(), "wrong")); }),
              "Not a valid password.");
    EXPECT_FALSE(cn->isOpen());
    EXPECT_EQ(cn->property(0), "");
    cn->open(posdb::jetConnectionString(pos.mainFile()));
    EXPECT_TRUE(cn->isOpen());
    EXPECT_FALSE(cn->property(0).isEmpty());
    cn->close();
    EXPECT_EQ(cn->property(0), "");
}

TEST(JetConnection, FileWithoutPasswordOpensWithAny) {
    PosFixture pos(false);
    const QString file = pos.root() + "/open.mdb";
    posdb::createSpoolerDatabase(file, QString());
    auto cn = posdb::openJet(file, "anything");
    EXPECT_TRUE(cn->isOpen());
}

TEST(JetConnection, MissingOrForeignFileFailsWithItsName) {
    PosFixture pos(false);
    auto cn = std::make_shared<data::Connection>();
    const QString missing = pos.root() + "\\nada\\db.mdb";
    EXPECT_EQ(errorText([&] { cn->open(posdb::jetConnectionString(missing)); }),
              "Could not find file '" + missing + "'.");
    const QString text = pos.root() + "/text.mdb";
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    EXPECT_EQ(errorText([&] { cn->open(posdb::jetConnectionString(text)); }),
              "Unrecognized database format '" + text + "'.");
    const QString empty = pos.root() + "/empty.mdb";
    QFile(empty).open(QIODevice::WriteOnly);
    EXPECT_EQ(errorText([&] { cn->open(posdb::jetConnectionString(empty)); }),
              "Unrecognized database format '" + empty + "'.");
    EXPECT_EQ(QFileInfo(empty).size(), 0); // never made a database
    EXPECT_EQ(errorNumber([&] { cn->open("Provider=MSDAORA;Data Source=server"); }), 3706);
    EXPECT_EQ(errorNumber([&] { cn->open(""); }), runtime::err::DatabaseError);
    EXPECT_FALSE(cn->isOpen());
}

TEST(JetConnection, ReadingLeavesTheFileByteForByteAsItWas) {
    PosFixture pos(false);
    const QByteArray before = pos.inRollbackJournal(pos.mainFile());
    {
        auto cn = posdb::openJet(pos.mainFile());
        Recordset rs;
        rs.open("select * from usuarios where apodo = 'admin'", cn);
        EXPECT_TRUE(rs.eof());
        rs.close();
        cn->close();
    }
    QFile f(pos.mainFile());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll() == before);
    EXPECT_FALSE(QFileInfo::exists(pos.mainFile() + "-wal"));
}

TEST(JetConnection, AFileLockedByAnotherProgramSaysSo) {
    PosFixture pos(false);
    pos.inRollbackJournal(pos.spoolerFile());
    sqlite3* other = nullptr;
    sqlite3_open(pos.spoolerFile().toUtf8().constData(), &other);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    auto cn = std::make_shared<data::Connection>();
    const QString message = errorText([&] { cn->open(posdb::jetConnectionString(pos.spoolerFile())); });
    EXPECT_TRUE(message.contains("locked")) << message.toStdString();
    sqlite3_close(other);
}

TEST(JetConnection, ClosedConnectionRefusesWorkButClosesQuietly) {
    auto cn = std::make_shared<data::Connection>();
    cn->close(); // never opened: nothing happens
    EXPECT_EQ(errorNumber([&] { cn->execute("Delete from tmpreport"); }), 3704);
    Recordset rs;
    EXPECT_EQ(errorNumber([&] { rs.open("select 1", cn); }), 3709);
    EXPECT_EQ(errorNumber([&] { rs.eof(); }), 3704);
}

TEST(JetConnection, DatabaseErrorsCarryTheEngineDescription) {
    PosFixture pos(false);
    try {
        pos.exec("select nada from ventas");
        FAIL();
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), runtime::err::DatabaseError);
        EXPECT_TRUE(e.description().contains("nada")) << e.description().toStdString();
    }
    EXPECT_EQ(errorNumber([&] { pos.exec("select * from ventas where fecha = #2026-13-45#"); }),
              runtime::err::DatabaseError);
    EXPECT_EQ(errorNumber([&] { pos.exec("select * from ventas where tipofactura = 'A"); }),
              runtime::err::DatabaseError);
}

TEST(JetRecordset, NavigatesAndCountsByCursorKind) {
    PosFixture pos;
    Recordset rs;
    rs.open("select apodo from usuarios order by id", pos.db());
    EXPECT_EQ(rs.recordCount(), -1); // forward-only on the server side
    EXPECT_FALSE(rs.bof());
    EXPECT_EQ(rs.fields("APODO").value().toString(), "admin");
    rs.moveLast();
    EXPECT_EQ(rs.fields(0).value().toString(), "baja");
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(errorNumber([&] { rs.moveNext(); }), 3021);
    EXPECT_EQ(errorNumber([&] { rs.fields(0).value(); }), 3021);
    rs.moveFirst();
    EXPECT_EQ(rs.fields(0).value().toString(), "admin");
    rs.close();
    EXPECT_EQ(errorNumber([&] { rs.close(); }), 3704);

    rs.open("select apodo from usuarios", pos.db(), data::adOpenStatic);
    EXPECT_EQ(rs.recordCount(), 4);
    rs.close();

    auto client = posdb::openJet(pos.mainFile());
    client->setCursorLocation(data::adUseClient);
    rs.open("select apodo from usuarios where id > 100", client);
    EXPECT_EQ(rs.recordCount(), 0);
    EXPECT_TRUE(rs.bof() && rs.eof());
    EXPECT_EQ(errorNumber([&] { rs.moveFirst(); }), 3021);
}

TEST(JetRecordset, GetRowsReturnsColumnsOfRowsFromTheCurrentOne) {
    PosFixture pos;
    Recordset rs;
    rs.open("select idr, descripcion from rubros order by idr", pos.db(), data::adOpenStatic);
    rs.moveNext();
    const auto block = rs.getRows();
    ASSERT_EQ(block.size(), 2);
    ASSERT_EQ(block[0].size(), 2);
    EXPECT_EQ(block[0][0].toLong(), 2);
    EXPECT_EQ(block[1][1].toString(), "Postres");
    EXPECT_TRUE(rs.eof());
}

TEST(JetRecordset, FieldsByNameTakeTheFirstOfEqualNames) {
    PosFixture pos;
    Recordset rs;
    rs.open("select ventas.estado, ventas.tipofactura, 7 as ESTADO from ventas where idventa = 2", pos.db());
    EXPECT_EQ(rs.fieldCount(), 3);
    EXPECT_EQ(rs.fields("Estado").value().toLong(), 3);
    EXPECT_EQ(rs.fields(2).value().toLong(), 7);
    EXPECT_EQ(rs.fields(1).name(), "TIPOFACTURA");
    EXPECT_EQ(errorNumber([&] { rs.fields("nada"); }), 3265);
    EXPECT_EQ(errorNumber([&] { rs.fields(3); }), 3265);
}

TEST(JetRecordset, DateColumnsReadAsDatesAndAddUp) {
    PosFixture pos;
    Recordset rs;
    rs.open("select fechaapertura, horaapertura, fechaapertura + horaapertura as Apertura, NROTURNO, "
            "TotalGeneral "
            "from sesion where idsesion = 2",
            pos.db());
    const Variant day = rs.fields("fechaapertura").value();
    ASSERT_TRUE(day.isDate()); // stored as a whole number, read as a date all the same
    EXPECT_EQ(runtime::toDate(day.toDate()), QDate(2026, 12, 1));
    EXPECT_TRUE(rs.fields("horaapertura").value().isDate());
    const Variant opening = rs.fields("Apertura").value();
    EXPECT_TRUE(opening.isDate());
    EXPECT_EQ(runtime::toDateTime(opening.toDate()), QDateTime(QDate(2026, 12, 1), QTime(16, 0)));
    EXPECT_EQ(rs.fields("fechaapertura").type(), data::adType::Date);
    EXPECT_EQ(rs.fields("NROTURNO").type(), data::adType::Integer);
    EXPECT_EQ(rs.fields("TotalGeneral").type(), data::adType::Double);
    EXPECT_EQ(rs.fields("NROTURNO").value().type(), Variant::Type::Long);
}

TEST(JetRecordset, RowsMovedBackToReadAsTheyReadWhenFirstPassed) {
    PosFixture pos(false);
    const QString longText = QString(300, QChar(u'ñ'));
    auto spooler = pos.spooler();
    spooler->execute(
        "insert into tmpreport (campo1, campo2, campo3, campo4, campo5, campo6) values (null, -5, "
        "70000, 9000000000, 2.5, 'abc')");
    spooler->execute("insert into tmpreport (campo1, campo2, campo3, campo4, campo5, campo6) values ('" +
                     longText + "', 127, -2147483648, -9000000000, -0.125, '')");
    Recordset rs;
    rs.open("select campo1, campo2, campo3, campo4, campo5, campo6 from tmpreport", spooler);
    QVector<QVector<Variant>> passing;
    for (; !rs.eof(); rs.moveNext()) {
        passing.append(QVector<Variant>());
        for (int c = 0; c < rs.fieldCount(); ++c)
            passing.last().append(rs.fields(c).value());
    }
    ASSERT_EQ(passing.size(), 2);
    EXPECT_EQ(passing[1][0].toString(), longText);
    rs.moveFirst();
    const auto block = rs.getRows();
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 6; ++c) {
            EXPECT_EQ(block[c][r].type(), passing[r][c].type()) << r << ',' << c;
            EXPECT_TRUE(block[c][r].isNull() ? passing[r][c].isNull() : block[c][r].equals(passing[r][c]))
                << r << ',' << c;
        }
}

TEST(JetRecordset, AddNewAndUpdateWriteExactlyTheFetchedRow) {
    PosFixture pos;
    pos.setSetting("uno", "1");
    pos.setSetting("dos", "2");
    pos.setSetting("dos", "2b");

    Recordset rs;
    rs.open("Select CLAVE, VALOR from REGISTRY where CLAVE = 'DOS'", pos.db(), data::adOpenStatic,
            data::adLockOptimistic);
    ASSERT_EQ(rs.recordCount(), 2);
    rs.fields("VALOR").setValue("cambiado");
    EXPECT_EQ(rs.fields("VALOR").value().toString(), "cambiado");
    rs.update();
    rs.close();
    const auto values = pos.rows("select VALOR from REGISTRY order by rowid");
    ASSERT_EQ(values.size(), 3);
    EXPECT_EQ(values[0][0].toString(), "1");
    EXPECT_EQ(values[1][0].toString(), "cambiado");
    EXPECT_EQ(values[2][0].toString(), "2b");

    rs.open("select * from REGISTRY where 1 = 0", pos.db(), data::adOpenStatic, data::adLockOptimistic);
    rs.addNew();
    EXPECT_FALSE(rs.eof());
    rs.fields("clave").setValue("tres");
    rs.fields("valor").setValue(3);
    rs.update();
    EXPECT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.fields("VALOR").value().toString(), "3");
    rs.close();
    EXPECT_EQ(pos.scalar("select valor from registry where clave = 'tres'").toString(), "3");
}

TEST(JetRecordset, RowsAreWrittenInOrderAndKeepTheirKinds) {
    PosFixture pos;
    Recordset rs;
    rs.open("select * from tmpReport", pos.spooler(), data::adOpenStatic, data::adLockOptimistic);
    for (int i = 1; i <= 3; ++i) {
        rs.addNew();
        rs.fields("campo1").setValue(10 - i);
        rs.fields("campo8").setValue("0000012" + QString::number(i));
        rs.fields("campo18").setValue(Variant::date(runtime::timeSerial(19, 0, 0)));
        rs.fields("campo9").setValue(1234.5);
        rs.update();
    }
    rs.close();
    const auto rows =
        pos.rows("select campo1, campo8, campo18, campo9, campo2 from tmpreport", pos.spooler());
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0][0].toLong(), 9);
    EXPECT_EQ(rows[2][0].toLong(), 7);
    EXPECT_EQ(rows[0][1].toString(), "00000121"); // a text stays a text
    EXPECT_EQ(runtime::toTime(rows[0][2].toDouble()), QTime(19, 0));
    EXPECT_DOUBLE_EQ(rows[0][3].toDouble(), 1234.5);
    EXPECT_TRUE(rows[0][4].isNull());
}

TEST(JetRecordset, UpdatesCoerceToTheColumnType) {
    PosFixture pos;
    Recordset rs;
    rs.open("select * from ventas where idventa = 4", pos.db(), data::adOpenStatic, data::adLockOptimistic);
    rs.fields("fechacaja").setValue(Variant::date(runtime::dateSerial(2026, 12, 2)));
    rs.fields("NUMEROTICKET").setValue(15);
    rs.update();
    EXPECT_TRUE(rs.fields("fechacaja").value().isDate());
    EXPECT_EQ(rs.fields("NUMEROTICKET").value().type(), Variant::Type::String);
    rs.moveFirst();
    rs.close();
    EXPECT_EQ(pos.scalar("select count(*) from ventas where fechacaja = #2026-12-02#").toLong(), 1);
}

TEST(JetRecordset, SavedRowsReadBackAsStoredWithTheirKey) {
    PosFixture pos;
    Recordset rs;
    rs.open("select * from usuarios where 1 = 0", pos.db(), data::adOpenStatic, data::adLockOptimistic);
    for (const char* name : {"uno", "dos"}) {
        rs.addNew();
        rs.fields("apodo").setValue(name);
        rs.fields("estado").setValue("1");
        rs.update();
    }
    EXPECT_EQ(rs.fields("id").value().toLong(), 6); // the sample's four users, then uno
    EXPECT_EQ(rs.fields("apodo").value().toString(), "dos");
    EXPECT_EQ(rs.fields("estado").value().type(), Variant::Type::Long);
    EXPECT_TRUE(rs.fields("reportes").value().isNull());
    rs.moveFirst();
    EXPECT_EQ(rs.fields("id").value().toLong(), 5);
    rs.fields("Admin").setValue(true);
    rs.update();
    EXPECT_EQ(rs.fields("Admin").value().toLong(), -1);
    EXPECT_EQ(rs.fields("apodo").value().toString(), "uno");
    rs.close();
    EXPECT_EQ(pos.scalar("select count(*) from usuarios where Admin = -1 and apodo = 'uno'").toLong(), 1);
}

TEST(JetRecordset, ReadOnlyAndJoinedRowsRefuseChanges) {
    PosFixture pos;
    Recordset rs;
    rs.open("select * from usuarios", pos.db());
    EXPECT_EQ(errorNumber([&] { rs.fields("apodo").setValue("x"); }), 3251);
    EXPECT_EQ(errorNumber([&] { rs.addNew(); }), 3251);
    rs.close();
    rs.open("select ventas.idventa, usuarios.apodo from ventas inner join usuarios on ventas.idusuario = "
            "usuarios.id",
            pos.db(), data::adOpenStatic, data::adLockOptimistic);
    EXPECT_EQ(errorNumber([&] { rs.fields("apodo").setValue("x"); }), runtime::err::DatabaseError);
}

TEST(JetRecordset, MovingOnSavesAPendingEdit) {
    PosFixture pos;
    Recordset rs;
    rs.open("select * from ventas where fechacaja is null or idventa >= 3 order by idventa", pos.db(),
            data::adOpenStatic, data::adLockOptimistic);
    rs.fields("smesa").setValue("99");
    rs.moveNext();
    rs.close();
    EXPECT_EQ(pos.scalar("select smesa from ventas where idventa = 3").toString(), "99");
}

TEST(JetRecordset, RowsReadAsWalkedAreTheRowsAtOpenDespiteLaterWrites) {
    PosFixture pos(false);
    for (int i = 1; i <= 3; ++i)
        pos.exec(QStringLiteral("insert into REGISTRY (CLAVE, VALOR) values ('k%1', 'v')").arg(i));
    Recordset rs;
    rs.open("select CLAVE from REGISTRY", pos.db());
    EXPECT_EQ(rs.fields("clave").value().toText(), "k1");
    pos.exec("delete from REGISTRY");
    QStringList seen;
    for (; !rs.eof(); rs.moveNext())
        seen << rs.fields(0).value().toText();
    EXPECT_EQ(seen, QStringList({"k1", "k2", "k3"}));
}

TEST(JetRecordset, TextsCompareWithoutCaseForEveryLetter) {
    PosFixture pos(false);
    pos.addUser(QStringLiteral("Ángel"), QStringLiteral("Ñoño"));
    pos.addUser(QStringLiteral("Angel"), QStringLiteral("nono"));
    const struct {
        const char* where;
        int rows;
    } cases[] = {{"apodo = 'ángel' and password = 'ñoño'", 1},
                 {"apodo = 'ÁNGEL'", 1},
                 {"apodo = 'angel'", 1},
                 {"apodo <> 'ÁnGeL'", 1},
                 {"apodo > 'angel'", 1}};
    for (const auto& c : cases)
        EXPECT_EQ(pos.rows(QStringLiteral("select id from usuarios where ") + c.where).size(), c.rows)
            << c.where;
}

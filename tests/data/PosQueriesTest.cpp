// Every SQL text that the programs run on the Access kind, on the fixture's database, with
// the rows the point-of-sale engine returns for them. Texts are built as the programs build them.

#include "data/Recordset.h"
#include "deleted_items/frmParametros.h"
#include "framework/ItemsVenta.h"
#include "framework/clsDataBase.h"
#include "framework/funciones.h"
#include "runtime/DateSerial.h"
#include "runtime/RuntimeError.h"
#include "sales_by_dish/ReportTexts.h"
#include "support/LocaleScope.h"
#include "support/PosFixture.h"

#include <gtest/gtest.h>

using namespace framework;
using namespace quenbrook;

using runtime::Variant;
using Rows = QVector<QVector<Variant>>;

namespace {

Variant day(int y, int m, int d) {
    return posdb::day(y, m, d);
}

QDateTime moment(const Variant& v) {
    return runtime::toDateTime(v.toDate());
}
QTime clock(const Variant& v) {
    return runtime::toTime(v.toDate());
}

class PosQueries : public ::testing::Test {
protected:
    PosQueries() : m_locale("es_AR.UTF-8"), m_previous(gDB) {
        m_access.isMSSQL = false;
        gDB = &m_access;
        cn = posdb::openJet(pos.mainFile());
        cn->setCursorLocation(data::adUseClient);
    }
    ~PosQueries() override { gDB = m_previous; }

    // The rows of a query opened with the provider's defaults on the client-side connection.
    Rows query(const QString& sql) { return pos.rows(sql, cn); }

    // Names of the result columns.
    QStringList names(const QString& sql) {
        data::Recordset rs;
        rs.open(sql, cn);
        QStringList result;
        for (int i = 0; i < rs.fieldCount(); ++i)
            result << rs.fields(i).name();
        return result;
    }

    LocaleScope m_locale;
    PosFixture pos;
    data::ConnectionPtr cn;
    clsDataBase m_access;
    clsDataBase* m_previous;
};

} // namespace

TEST_F(PosQueries, LoginLookupComparesWithoutRegardToCase) {
    auto login = [&](const QString& user, const QString& password, data::CursorType cursor,
                     data::LockType lock) {
        data::Recordset rs;
        rs.open("select * from usuarios where estado=1 and apodo='" + user + "' and password='" + password +
                    "'",
                cn, cursor, lock);
        return rs.eof() ? Variant() : rs.fields("id").value();
    };
    EXPECT_EQ(login("ana", "ana1", data::adOpenStatic, data::adLockOptimistic).toLong(), 2);
    EXPECT_EQ(login("ANA", "ANA1", data::adOpenStatic, data::adLockOptimistic).toLong(), 2);
    EXPECT_EQ(login("admin", "", data::adOpenDynamic, data::adLockReadOnly).toLong(), 1);
    EXPECT_TRUE(login("baja", "baja", data::adOpenStatic, data::adLockOptimistic).isEmpty());
    EXPECT_TRUE(login("ana", "otra", data::adOpenStatic, data::adLockOptimistic).isEmpty());
    pos.addUser("nulo", {}, {{"password", Variant::null()}});
    EXPECT_TRUE(login("nulo", "", data::adOpenStatic, data::adLockOptimistic).isEmpty());
}

TEST_F(PosQueries, PermissionTestWalksEveryColumn) {
    data::Recordset rs;
    rs.open("SELECT * FROM USUARIOS WHERE ID = " + Variant(2).toString(), cn);
    EXPECT_EQ(rs.fields("Admin").value().toLong(), 0);
    QString permission;
    for (int i = 0; i < rs.fieldCount(); ++i)
        if (rs.fields(i).name().compare("REPORTES", Qt::CaseInsensitive) == 0)
            permission = rs.fields(i).value().toString();
    EXPECT_EQ(permission, "1");
}

TEST_F(PosQueries, LoginRecordStoresADayAndATimeOfDay) {
    cn->execute(
        "insert into UsuariosPasadas (idusuario, fecha, hora) values" + QString(" (") + "2" + "," +
        FechaSQL(Variant::date(runtime::dateSerial(2026, 12, 8) + runtime::timeSerial(17, 45, 3))) + "," +
        HoraSQL(Variant::date(runtime::dateSerial(2026, 12, 8) + runtime::timeSerial(17, 45, 3))) + ")");
    const Rows rows = query("select idusuario, fecha, hora, fecha + hora as momento from UsuariosPasadas");
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(moment(rows[0][1]), QDateTime(QDate(2026, 12, 8), QTime(0, 0)));
    EXPECT_LT(rows[0][2].toDouble(), 1.0); // a time alone lies on day 0
    EXPECT_EQ(clock(rows[0][2]), QTime(17, 45, 3));
    EXPECT_EQ(moment(rows[0][3]), QDateTime(QDate(2026, 12, 8), QTime(17, 45, 3)));
}

namespace {

QString shiftList(const Variant& from, const Variant& to, bool dorrindale) {
    return QString("SELECT sesion.Idsesion, usuarios.apodo AS uapertura, usuarios_1.apodo AS ucierre, "
                   "[sesion].[fechaapertura]+[sesion].[horaapertura] AS Apertura, "
                   "[sesion].[fechacierre]+[sesion].[horacierre] AS Cierre, sesion.NROTURNO, "
                   "sesion.TotalGeneral ") +
           " FROM (sesion LEFT JOIN usuarios ON sesion.idcajeroapertura = usuarios.Id) LEFT JOIN usuarios AS "
           "usuarios_1 ON sesion.idcajerocierre = usuarios_1.Id " +
           " Where ((([sesion].[fechaapertura] + [sesion].[horaapertura]) >= " + FechaSQL(from) +
           (dorrindale ? ") And (([sesion].[fechacierre] + [sesion].[horacierre]) <= "
                       : ") And (([sesion].[fechaapertura] + [sesion].[horaapertura]) <= ") +
           FechaSQL(to) + ")) Or ((([sesion].[fechacierre] + [sesion].[horacierre]) Is Null)) " +
           " ORDER BY [sesion].[fechaapertura]+[sesion].[horaapertura] DESC;";
}

} // namespace

TEST_F(PosQueries, ShiftListAddsDatesAndTimesAndListsOpenShifts) {
    data::Recordset rs;
    rs.open(shiftList(day(2026, 12, 1), day(2026, 12, 2), false), cn);
    ASSERT_EQ(rs.recordCount(), 3);
    EXPECT_EQ(rs.fields("idsesion").value().toLong(), 3);
    EXPECT_TRUE(rs.fields("cierre").value().isNull());
    EXPECT_TRUE(rs.fields("ucierre").value().isNull());
    rs.moveNext();
    EXPECT_EQ(rs.fields("nroturno").value().toLong(), 102);
    EXPECT_TRUE(rs.fields("apertura").value().isDate());
    EXPECT_EQ(moment(rs.fields("apertura").value()), QDateTime(QDate(2026, 12, 1), QTime(16, 0)));
    EXPECT_EQ(moment(rs.fields("cierre").value()), QDateTime(QDate(2026, 12, 2), QTime(0, 30)));
    EXPECT_EQ(rs.fields("uapertura").value().toString(), "ana");
    EXPECT_EQ(rs.fields("ucierre").value().toString(), "admin");
    EXPECT_DOUBLE_EQ(rs.fields("TOTALGENERAL").value().toDouble(), 1000);
    rs.moveNext();
    EXPECT_EQ(rs.fields("idsesion").value().toLong(), 1);
    rs.close();

    // One day as range: its upper bound is the midnight that starts it, so only open shifts.
    const Rows oneDay = query(shiftList(day(2026, 12, 1), day(2026, 12, 1), false));
    ASSERT_EQ(oneDay.size(), 1);
    EXPECT_EQ(oneDay[0][0].toLong(), 3);

    const Rows dorrindale = query(shiftList(day(2026, 12, 1), day(2026, 12, 2), true));
    ASSERT_EQ(dorrindale.size(), 2);
    EXPECT_EQ(dorrindale[0][0].toLong(), 3);
    EXPECT_EQ(dorrindale[1][0].toLong(), 1);
}

TEST_F(PosQueries, CashDatesAreFilledThroughTheRecordset) {
    const qint64 sale = pos.addSale(2, day(2026, 12, 1), {{"fechacaja", Variant::null()}});
    data::Recordset rs;
    rs.open("select * from ventas where fechacaja is null ", cn, data::adOpenStatic, data::adLockOptimistic);
    ASSERT_EQ(rs.recordCount(), 1);
    while (!rs.eof()) {
        data::Recordset shift;
        shift.open("select fechaapertura from sesion where idsesion = " +
                       rs.fields("idsesion").value().toString(),
                   cn);
        rs.fields("fechacaja").setValue(shift.fields("fechaapertura").value());
        rs.update();
        rs.moveNext();
    }
    EXPECT_EQ(moment(pos.scalar(QString("select fechacaja from ventas where idventa = %1").arg(sale))),
              QDateTime(QDate(2026, 12, 1), QTime(0, 0)));
    EXPECT_THROW(pos.rows("select fechaapertura from sesion where idsesion = "), runtime::RuntimeError);
}

TEST_F(PosQueries, AuditSupplementOfASale) {
    const Rows rows =
        query("select * from auditoria where idventa = " + Variant(2).toString() + " and codigo = 21 ");
    ASSERT_EQ(rows.size(), 1);
    data::Recordset rs;
    rs.open("select * from auditoria where idventa = 2 and codigo = 21 ", cn);
    EXPECT_EQ(rs.fields("usuario").value().toText(), "admin");
    EXPECT_EQ(rs.fields("motivo").value().toText(), "Cliente se fue");
}

namespace {

const QString SalesColumns =
    "SELECT ventas.Idventa, ventas.SF_hora, ventas.smesa, ventas.horaapertura, ventas.horacierre, "
    "ventas.estado, "
    "ventas.TIPOFACTURA, ventas.NUMEROTICKET, ventas.SF_total, ventas.facturasacada, ventas.facturaimpresa, "
    "ventas.estado, ventas.SF_FECHA, ventas.fecha, usuarios.apodo, ventas.tmesa ";
const QString SalesFrom = " FROM (ventas LEFT JOIN mesas ON ventas.idmesa = mesas.Id) LEFT JOIN usuarios ON "
                          "ventas.idusuario = usuarios.Id ";

QVector<long> ids(const Rows& rows, int column = 0) {
    QVector<long> result;
    for (const auto& row : rows)
        result.append(row[column].toLong());
    return result;
}

} // namespace

TEST_F(PosQueries, DeletedItemsSalesOfAShiftOrARange) {
    pos.addSale(1, day(2026, 12, 1),
                {{"Idventa", 10}, {"estado", 3}, {"reemplazadoporid", 5}, {"SF_hora", posdb::time(14, 0)}});
    pos.addSale(1, day(2026, 12, 1),
                {{"Idventa", 11},
                 {"estado", 3},
                 {"reemplazadoporid", Variant::null()},
                 {"SF_hora", posdb::time(15, 0)}});
    pos.addSale(1, day(2026, 12, 1),
                {{"Idventa", 12}, {"estado", 2}, {"reemplazadoporid", 7}, {"SF_hora", posdb::time(16, 0)}});
    const QString replacement =
        "(ventas.reemplazadoporid = 0 or isnull(ventas.reemplazadoporid) or ventas.estado <> 3) ";
    const QString byShift = deletedItemsSalesQuery("1", 0, 0, false);
    EXPECT_TRUE(byShift.contains(" where ventas.idsesion = 1 and " + replacement));
    data::Recordset rs;
    rs.open(byShift, cn);
    ASSERT_EQ(rs.fieldCount(), 16);
    rs.moveLast();
    rs.moveFirst();
    EXPECT_EQ(rs.recordCount(), 4);
    EXPECT_EQ(rs.fields(5).name(), rs.fields(11).name());
    EXPECT_EQ(rs.fields("apodo").value().toString(), "ana");
    EXPECT_EQ(rs.fields("SF_hora").value().type(), Variant::Type::Date);
    rs.close();
    EXPECT_EQ(ids(query(byShift)), (QVector<long>{1, 2, 11, 12}));

    const QString byDates =
        deletedItemsSalesQuery("", runtime::dateSerial(2026, 12, 1), runtime::dateSerial(2026, 12, 1), false);
    EXPECT_EQ(ids(query(byDates)), (QVector<long>{1, 2, 11, 12, 3}));
}

namespace {

QString detailQuery(long id, bool velmarsh) {
    return detalleVentaQuery(QString::number(id), false, velmarsh);
}

} // namespace

TEST_F(PosQueries, DetailOfASaleJoinsDeletionsAndRemainingLines) {
    const QStringList expectedNames = {"IDVENTA", "IDVENTADETAIL", "HORA",      "CANTIDAD", "PRODUCTO",
                                       "IMPORTE", "PREPARACION",   "DEMORA",    "TIPO",     "MOTIVO",
                                       "usuario", "estado",        "idproducto"};
    EXPECT_EQ(names(detailQuery(1, false)), expectedNames);
    const Rows rows = query(detailQuery(1, false));
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0][4].toString(), "Muzzarella");
    EXPECT_EQ(rows[0][1].toLong(), 1);
    EXPECT_EQ(rows[0][3].toDouble(), 2);
    EXPECT_EQ(rows[0][8].toString(), "ADIC");
    EXPECT_TRUE(rows[0][2].isDate());
    EXPECT_EQ(clock(rows[0][2]), QTime(12, 5));
    EXPECT_EQ(rows[1][4].toString(), "Agua");
    EXPECT_EQ(rows[2][4].toString(), "Napolitana");
    EXPECT_EQ(rows[2][8].toString(), "PRODUCTO");
    EXPECT_EQ(rows[2][9].toString(), "Error de carga");
    EXPECT_EQ(rows[2][11].toLong(), 2);
    EXPECT_EQ(clock(rows[2][6]), QTime(0, 10));
}

TEST_F(PosQueries, DetailTakesFirstAndLastInStoredOrderAndMergesEqualDeletions) {
    const qint64 sale = pos.addSale(1, day(2026, 12, 1));
    const qint64 first = pos.addLine(sale, "Fugazza", 1, 700, {{"HORA", posdb::time(13, 0)}});
    pos.addLine(sale, "Fugazza", 2, 700, {{"HORA", posdb::time(12, 0)}});
    pos.addLine(sale, "Promo", 1, 0, {{"HORA", posdb::time(12, 30)}, {"idproducto", -8}});
    pos.addDeletion(sale, "Fainá", 1, 300, {{"HORA", posdb::time(12, 40)}});
    pos.addDeletion(sale, "Fainá", 1, 300, {{"HORA", posdb::time(12, 40)}});
    pos.addDeletion(sale, "Nada", 0, 300, {{"HORA", posdb::time(12, 45)}});

    const Rows rows = query(detailQuery(sale, false));
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0][4].toString(), "Fugazza");
    EXPECT_EQ(rows[0][1].toLong(), first);      // First(IDVENTADETAIL)
    EXPECT_EQ(clock(rows[0][2]), QTime(12, 0)); // Last(HORA): the last row stored, not the latest time
    EXPECT_DOUBLE_EQ(rows[0][3].toDouble(), 3);
    EXPECT_EQ(rows[1][4].toString(), "Promo");
    EXPECT_EQ(rows[2][4].toString(), QString::fromUtf8("Fainá")); // two equal deletions print once

    const Rows velmarsh = query(detailQuery(sale, true));
    ASSERT_EQ(velmarsh.size(), 2);
    EXPECT_EQ(velmarsh[0][4].toString(), "Fugazza");
    EXPECT_EQ(velmarsh[1][4].toString(), QString::fromUtf8("Fainá"));
}

TEST_F(PosQueries, DeletedItemsOfASaleAddDateAndTimeInTheClient) {
    data::Recordset rs;
    rs.open("select * from Quenbrook where idventa = " + Variant(1).toString(), cn);
    ASSERT_FALSE(rs.eof());
    const double when = rs.fields("Fecha").value().toDate() + rs.fields("Hora").value().toDate();
    EXPECT_EQ(runtime::toDateTime(when), QDateTime(QDate(2026, 12, 1), QTime(12, 20)));
    EXPECT_EQ(query("select * from Quenbrook where idventa = 1 order by hora ").size(), 1);
    EXPECT_EQ(query("select * from Quenbrook where idventa = 2").size(), 0);
}

TEST_F(PosQueries, ScratchTableIsEmptiedFilledAndReadInOrder) {
    auto spooler = pos.spooler();
    data::Recordset rs;
    rs.open("select * from tmpReport", spooler, data::adOpenStatic, data::adLockOptimistic);
    for (int id : {5, 3, 4}) {
        rs.addNew();
        rs.fields("campo1").setValue(id);
        rs.update();
    }
    rs.close();
    EXPECT_EQ(ids(pos.rows("select * from tmpreport", spooler)), (QVector<long>{5, 3, 4}));
    long affected = 0;
    spooler->execute("Delete from tmpreport", &affected);
    EXPECT_EQ(affected, 3);
    EXPECT_TRUE(pos.rows("select * from tmpreport", spooler).isEmpty());
}

TEST_F(PosQueries, ComboListsComeWholeThroughGetRows) {
    data::Recordset rs;
    rs.open("select idr,descripcion from rubros where estado = 1 order by descripcion", cn);
    ASSERT_FALSE(rs.bof() && rs.eof());
    rs.moveLast();
    rs.moveFirst();
    const auto block = rs.getRows(rs.recordCount());
    ASSERT_EQ(block.size(), 2);
    ASSERT_EQ(block[0].size(), 2);
    EXPECT_EQ(block[0][0].toLong(), 2);
    EXPECT_EQ(block[1][0].toString(), "Bebidas");
    EXPECT_EQ(block[1][1].toString(), "Pizzas");
    EXPECT_EQ(query("select id,nombres from clientes where estado = 1 order by nombres ").size(), 1);
}

TEST_F(PosQueries, DeletedProductsListingSkipsItemRowsInAnyCase) {
    pos.addDeletion(1, "", 0, 0, {{"TIPO", "ITEM"}});
    pos.addDeletion(1, "", 0, 0, {{"TIPO", "item"}});
    pos.addDeletion(1, "", 0, 0, {{"TIPO", Variant::null()}});
    const QString head =
        "SELECT Quenbrook.*, sesion.NROTURNO, ventas.TIPOFACTURA AS Doc, ventas.NUMEROTICKET as "
        "NroFact, ventas.sf_fecha, ventas.sf_hora "
        "FROM (sesion INNER JOIN Quenbrook ON sesion.Idsesion = Quenbrook.caja) LEFT JOIN ventas ON "
        "Quenbrook.Idventa = ventas.Idventa ";
    const QString tail = QString(" and Quenbrook.tipo <> 'ITEM' ") + " order by sf_fecha, sf_hora ";
    for (const QString& period : {" WHERE Quenbrook.fecha between " + FechaSQL(day(2026, 12, 1)) + " and " +
                                      FechaSQL(day(2026, 12, 1)) + " ",
                                  QString(" WHERE Quenbrook.caja = ") + "1"}) {
        data::Recordset rs;
        rs.open(head + period + tail, cn);
        ASSERT_EQ(rs.recordCount(), 1);
        EXPECT_EQ(rs.fields("producto").value().toString(), "Napolitana");
        EXPECT_EQ(rs.fields("NROTURNO").value().toLong(), 101);
        EXPECT_EQ(rs.fields("Doc").value().toString(), "A");
        EXPECT_EQ(rs.fields("NroFact").value().toString(), "00000001");
        EXPECT_TRUE(rs.fields("sf_fecha").value().isDate());
        EXPECT_TRUE(rs.fields("Preparacion").value().isDate());
    }
}

namespace {

const QString TicketSelect =
    " SELECT empleados.numero, ventas.Idventa, ventas.fecha, ventas.SF_hora, ventas.SF_fecha, "
    "ventas.horaapertura, "
    "ventas.horacierre, ventas.TicketControl, ventas.TIPOFACTURA, ventas.NUMEROSUC, ventas.NUMEROTICKET, "
    "ventas.apellidos & ' ' & ventas.nombres AS CLIENTE, EMPLEADOS.APELLIDOS & ' ' & EMPLEADOS.NOMBRES AS "
    "MOZO_REP, "
    "ventas.total, ventas.concepto, usuarios.apodo, ventas.subtotal, ventas.descuento, ventas.montopagado, "
    "ventas.tipo, ventas.estado, ventas.dinerodevuelto, ventas.moto, ventas.interno, ventas.diraltura, "
    "ventas.dirpiso, ventas.direntrea, ventas.direntreb, ventas.direccion, ventas.localidad, "
    "ventas.codigopostal, "
    "ventas.notacliente, ventas.notarepartidor, ventas.teluno, ventas.provincia, ventas.mediopago, "
    "ventas.demoratotal, ventas.PagoL2, ventas.PagoL2T, ventas.HoraRecibido, ventas.HoraPedido, ventas.smesa "
    "AS "
    "MESA, ventas.tmesa AS TIPOMESA, ventas.tipo ";
const QString ListingFrom =
    " FROM ((ventas LEFT JOIN clientes ON ventas.idcliente = clientes.Id) LEFT JOIN empleados "
    "ON ventas.idmozo = empleados.Id) LEFT JOIN usuarios ON ventas.idusuario = usuarios.Id ";
const QString Letters =
    " and ( VENTAS.TIPOFACTURA = 'A' OR VENTAS.TIPOFACTURA = 'NCA' or  VENTAS.TIPOFACTURA = 'B' "
    "OR VENTAS.TIPOFACTURA = 'NCB' or  VENTAS.TIPOFACTURA = 'X' ) ";
const QString Kinds =
    " and ( ventas.tmesa = 2  or  ventas.tmesa = 1  or  (ventas.tmesa = 0 or isnull(ventas.tmesa))) ";

} // namespace

TEST_F(PosQueries, SalesListingJoinsNamesAndFiltersTimes) {
    pos.addSale(2, day(2026, 12, 1),
                {{"Idventa", 20},
                 {"apellidos", Variant::null()},
                 {"nombres", "Sola"},
                 {"NUMEROTICKET", Variant::null()}});
    pos.addSale(2, day(2026, 12, 1),
                {{"Idventa", 21},
                 {"apellidos", Variant::null()},
                 {"nombres", "Sola"},
                 {"tmesa", Variant::null()},
                 {"SF_hora", posdb::time(1, 30)}});
    const QString days = " and ventas.fechacaja between " + FechaSQL(day(2026, 12, 1)) + " and " +
                         FechaSQL(day(2026, 12, 1)) + " ";
    const QString ticketWhere = " Where  val(ventas.NUMEROTICKET)>=0 and not isnull(numeroticket) ";
    const QString order = " ORDER BY ventas.SF_fecha ASC , ventas.SF_hora ASC; ";

    data::Recordset rs;
    rs.open(TicketSelect + ListingFrom + ticketWhere + days + Letters + Kinds + order, cn);
    ASSERT_EQ(rs.recordCount(), 4);
    EXPECT_EQ(rs.fields("idventa").value().toLong(), 21);
    EXPECT_EQ(rs.fields("Cliente").value().toString(), " Sola"); // a Null joins as empty
    EXPECT_EQ(rs.fields("TIPOMESA").value().isNull(), true);
    rs.moveNext();
    EXPECT_EQ(rs.fields("idventa").value().toLong(), 1);
    EXPECT_EQ(rs.fields("Cliente").value().toString(), "Perez Maria");
    EXPECT_EQ(rs.fields("mozo_rep").value().toString(), "Gomez Juan");
    EXPECT_EQ(rs.fields("numero").value().toLong(), 7);
    EXPECT_EQ(rs.fields("mesa").value().toString(), "5");
    rs.close();

    const QString noon = days + " and ventas.sf_hora between " + HoraSQL(posdb::time(12, 0)) + " and " +
                         HoraSQL(posdb::time(13, 0)) + " ";
    EXPECT_EQ(ids(query(TicketSelect + ListingFrom + ticketWhere + noon + Letters + Kinds + order), 1),
              (QVector<long>{1, 2}));
    const QString night = days + " and (ventas.sf_hora between " + HoraSQL(posdb::time(20, 0)) +
                          " and #23:59:59# or ventas.sf_hora between #00:00:00# and " +
                          HoraSQL(posdb::time(2, 0)) + ")  ";
    EXPECT_EQ(ids(query(TicketSelect + ListingFrom + ticketWhere + night + Letters + Kinds + order), 1),
              (QVector<long>{21, 3}));
    EXPECT_TRUE(query(TicketSelect + ListingFrom + ticketWhere + " and ventas.idsesion = " + "-1").isEmpty());
}

TEST_F(PosQueries, SalesListingSummaryGroupsByDay) {
    const QString select =
        " SELECT ventas.fecha, Sum(ventas.total) AS SumaDetotal, count(ventas.total) as cuenta, "
        "ventas.estado, ventas.tipo, ventas.tmesa as mesatipo ";
    const QString where =
        " where  val(ventas.NUMEROTICKET)>=0 and ventas.estado <> 3 and not isnull(numeroticket)";
    const QString days = " and ventas.fechacaja between " + FechaSQL(day(2026, 12, 1)) + " and " +
                         FechaSQL(day(2026, 12, 2)) + " ";
    const Rows rows = query(select + ListingFrom + where + days +
                            " GROUP BY ventas.fecha, ventas.estado, "
                            "ventas.tipo, ventas.tmesa " +
                            " ORDER BY ventas.fecha DESC ");
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows[0][0].isDate());
    EXPECT_DOUBLE_EQ(rows[0][1].toDouble(), 2500);
    EXPECT_EQ(rows[0][2].toLong(), 2);
}

TEST_F(PosQueries, SaleDetailViewLines) {
    const QString id = "1";
    const Rows lines = query(
        "SELECT ventasdetail.Idventadetail, ventasdetail.hora, ventasdetail.cantidad, "
        "ventasdetail.nombrearticulo, ventasdetail.Comentario, ventasdetail.monto , ventasdetail.cantidad AS "
        "ccant, ventasdetail.monto*ventasdetail.cantidad AS mmonto, empleados.nombres, "
        "ventasdetail.idproducto " +
        QString(" FROM ventasdetail LEFT JOIN empleados ON ventasdetail.idmozo = empleados.Id ") +
        " Where (((ventasdetail.idventa) = " + id + ")) " + " ORDER BY ventasdetail.hora ");
    ASSERT_EQ(lines.size(), 2);
    EXPECT_DOUBLE_EQ(lines[0][7].toDouble(), 1000);
    EXPECT_EQ(lines[0][8].toString(), "Juan");
    EXPECT_EQ(lines[1][3].toString(), "Agua");
}

TEST_F(PosQueries, InvoiceLinesSalesKeepTheirOperatorPrecedence) {
    pos.addSale(1, day(2026, 12, 1), {{"Idventa", 30}, {"TIPOFACTURA", "a"}, {"reemplazadoporid", 0}});
    pos.addSale(1, day(2026, 12, 1), {{"Idventa", 31}, {"TIPOFACTURA", "NCA"}});
    pos.addSale(1, day(2026, 12, 1),
                {{"Idventa", 32}, {"TIPOFACTURA", "C"}, {"reemplazadoporid", Variant::null()}});
    pos.addSale(1, day(2026, 12, 1),
                {{"Idventa", 33},
                 {"TIPOFACTURA", "C"},
                 {"reemplazadoporid", Variant::null()},
                 {"estado", 3},
                 {"SF_hora", posdb::time(18, 0)}});
    const QString filter =
        " where ventas.tipofactura in ('A','B','C','X') and ventas.idsesion = " + QString("1") + " and " +
        "(ventas.reemplazadoporid = 0 or isnull(ventas.reemplazadoporid) and ventas.estado = 3) ";
    EXPECT_EQ(ids(query(SalesColumns + SalesFrom + filter + " ORDER BY ventas.sf_fecha, ventas.sf_hora; ")),
              (QVector<long>{30, 1, 2, 33}));
}

TEST_F(PosQueries, FamiliesAndDishesAndTheEmptyList) {
    const Rows families = query("select idr, descripcion from rubros where estado = 1 order by descripcion");
    EXPECT_EQ(ids(families), (QVector<long>{2, 1}));
    const Rows dishes = query("select id, nombre from productos where estado = 1 and idrubro in (" +
                              QString("1, 2") + ") order by nombre");
    EXPECT_EQ(ids(dishes), (QVector<long>{20, 10, 11}));
    try {
        query("select id, nombre from productos where estado = 1 and idrubro in (" + QString() +
              ") order by nombre");
        FAIL() << "an empty list is a syntax error";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.number(), runtime::err::DatabaseError);
        EXPECT_TRUE(e.description().contains("Syntax error"));
    }
    EXPECT_THROW(query("select id from productos where id in (" + QString() + ",-5,-36,-35,-7,-6)"),
                 runtime::RuntimeError);
}

namespace {

// The texts of the sales-by-dish report for 1 December 2026, every product unless dishes are given.
dorrindale::ReportTexts dishTexts(bool categorizacion = false, const QString& dishes = {},
                                  const QString& tag = {}) {
    dorrindale::Choice choice;
    choice.todos = dishes.isEmpty();
    choice.dishes = dishes;
    choice.tag = tag;
    choice.desde = choice.hasta = runtime::dateSerial(2026, 12, 1);
    choice.categorizacion = categorizacion;
    return dorrindale::reportTexts(choice);
}

} // namespace

TEST_F(PosQueries, SalesPerDishPerHourCountCreditNotesBackwards) {
    const qint64 credit = pos.addSale(1, day(2026, 12, 1), {{"TIPOFACTURA", "NCA"}});
    pos.addLine(credit, "Muzzarella", 1, 500, {{"HORA", posdb::time(12, 40)}});
    // 19:00 stored a hair short of the hour still counts as 19.
    pos.addLine(credit, "Agua", -1, 500,
                {{"HORA", Variant::date(runtime::timeSerial(19, 0, 0) - 1e-9)},
                 {"fecha", Variant::date(runtime::dateSerial(2026, 12, 1) + runtime::timeSerial(19, 0, 0))}});
    pos.addLine(1, "Oculto", 1, 100, {{"noimprimir", 1}});
    pos.addLine(1, "Descuento", 1, -100, {{"idproducto", -7}});

    data::Recordset rs;
    rs.open(dishTexts().mainQuery, cn);
    const Rows rows = pos.rows(dishTexts().mainQuery, cn);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_TRUE(rs.fields("x_fecha").value().isDate());
    EXPECT_EQ(moment(rows[0][0]), QDateTime(QDate(2026, 12, 1), QTime(0, 0)));
    EXPECT_EQ(rows[0][1].toLong(), 12);
    EXPECT_EQ(rows[0][2].toString(), "Agua");
    EXPECT_EQ(rows[1][2].toString(), "Muzzarella");
    EXPECT_DOUBLE_EQ(rows[1][3].toDouble(), 1); // 2 sold, 1 back on the credit note
    EXPECT_DOUBLE_EQ(rows[1][5].toDouble(), 500);
    EXPECT_EQ(rows[2][1].toLong(), 19);
    EXPECT_DOUBLE_EQ(rows[2][3].toDouble(), 1);
    EXPECT_EQ(rows[3][1].toLong(), 20);
    EXPECT_DOUBLE_EQ(rows[3][5].toDouble(), 1000);

    const Rows withoutX = query(dishTexts(true).mainQuery);
    EXPECT_EQ(withoutX.size(), 3);
    const Rows chosen = query(dishTexts(false, "10", "2").mainQuery);
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen[0][1].toLong(), 20);
}

TEST_F(PosQueries, DiscountsPerDay) {
    pos.addLine(1, "Descuento", 1, -100, {{"idproducto", -7}});
    pos.addLine(3, "Descuento", 1, -50, {{"idproducto", -7}});
    Rows rows = query(dishTexts().discountQuery);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows[0][0].isDate());
    EXPECT_DOUBLE_EQ(rows[0][1].toDouble(), 2);
    EXPECT_DOUBLE_EQ(rows[0][2].toDouble(), -150);
    rows = query(dishTexts(true).discountQuery);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_DOUBLE_EQ(rows[0][2].toDouble(), -100);
}

TEST_F(PosQueries, ObservationsOfThePeriodOrShift) {
    for (const QString& text :
         {dishTexts().observationsQuery, dishTexts(false, "10", "1").observationsQuery}) {
        data::Recordset rs;
        rs.open(text, cn);
        ASSERT_FALSE(rs.eof());
        EXPECT_DOUBLE_EQ(rs.fields("qty").value().toDouble(), 2);
        EXPECT_EQ(rs.fields("concepto").value().toString(), "Sin sal");
        EXPECT_DOUBLE_EQ(rs.fields("PRECIO").value().toDouble(), 0);
    }
}

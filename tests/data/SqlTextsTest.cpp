// Every SQL text of the three programs, on the Jet file of the fixture and on its copy on the
// SQL Server engine, each kind sent its own text (the same one where the programs send one text
// to both, with the literals of the kind). A row of the table holds a text and the rows each kind
// gives; where a kind differs the table says how. Texts are built as the programs build them.

#include "data/Recordset.h"
#include "deleted_items/frmParametros.h"
#include "framework/ProgramSession.h"
#include "framework/SaleItems.h"
#include "framework/clsDataBase.h"
#include "framework/funciones.h"
#include "invoice_lines/frmParametros.h"
#include "runtime/DateSerial.h"
#include "runtime/RuntimeError.h"
#include "sales_by_dish/ReportTexts.h"
#include "support/LocaleScope.h"
#include "support/PosFixture.h"

#include <gtest/gtest.h>

using namespace framework;
using runtime::Variant;

namespace {

// A text for the kind (server: SQL Server); an empty text is not sent to that kind.
using TextOf = QString (*)(bool server);

struct SqlCase {
    const char* name;
    // The text sent to both kinds, or to SQL Server alone; else the one built for the kind.
    const char* sql = nullptr;
    bool serverOnly = false;
    TextOf text = nullptr;
    // The rows Jet gives, each as its values joined by "|"; "!words" for a failure whose message
    // holds the words.
    QStringList access = {};
    // The rows the SQL Server engine gives; {"="}: those of Jet.
    QStringList server = {QStringLiteral("=")};
    QVector<int> columns = {}; // the columns compared, all when empty
    // Rows added before the server's copy is made.
    void (*data)(PosFixture&) = nullptr;
    // After a text that writes: the query whose rows are compared.
    const char* check = nullptr;
    // Sent first, on that kind.
    TextOf before = nullptr;
    bool days = false; // times alone with their day (1899-12-30 on Access, 1900-01-01 on SQL Server)
};

void PrintTo(const SqlCase& c, std::ostream* os) {
    *os << c.name;
}

QString textOf(const SqlCase& c, bool server) {
    if (!c.sql) return c.text(server);
    return c.serverOnly && !server ? QString() : QString::fromUtf8(c.sql);
}

QString day(int y, int m, int d, bool server) {
    gDB->isMSSQL = server;
    return FechaSQL(posdb::day(y, m, d));
}

QString clockTime(int h, int n, bool server) {
    gDB->isMSSQL = server;
    Variant t = posdb::time(h, n);
    return HoraSQL(t);
}

// A value as the table writes it: a time alone (on either kind's day 0) as its clock, a date
// as yyyy-mm-dd with its time when it has one.
QString cell(const Variant& v, bool days) {
    if (v.isNull()) return QStringLiteral("Null");
    if (!v.isDate()) return v.toText();
    const double serial = v.toDate();
    const QDateTime moment = runtime::toDateTime(serial);
    if (serial >= 0 && serial < 3 && !days) return moment.time().toString(QStringLiteral("hh:mm:ss"));
    if (moment.time() == QTime(0, 0)) return moment.date().toString(Qt::ISODate);
    return moment.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

// Products and lines whose names differ in case, accents, ñ and trailing blanks.
void names(PosFixture& pos) {
    pos.exec("insert into rubros (IdR, descripcion, estado) values (9, 'Pastas', 1)");
    const char* products[] = {"Ñoquis", "Ávila", "zapallo", "Nuez", "agua", "Muzzarella"};
    for (int i = 0; i < 6; ++i)
        pos.insert(
            "productos",
            {{"Id", 90 + i}, {"nombre", QString::fromUtf8(products[i])}, {"estado", 1}, {"idrubro", 9}});
    for (const char* name : {"Ñoqui", "ñoqui", "Flan", "Flan "})
        pos.addLine(1, QString::fromUtf8(name), 1, 300, {{"HORA", posdb::time(12, 10)}});
}

// Lines a breath before the hour and before midnight, and the lines of a credit note, which
// count backwards; a line not printed and a discount line count nowhere.
void edges(PosFixture& pos) {
    const qint64 credit = pos.addSale(1, posdb::day(2026, 12, 1), {{"TIPOFACTURA", "NCA"}});
    pos.addLine(credit, "Muzzarella", 1, 500, {{"HORA", posdb::time(12, 40)}});
    pos.addLine(credit, "Agua", -1, 500,
                {{"HORA", Variant::date(runtime::timeSerial(19, 0, 0) - 1e-9)},
                 {"fecha", Variant::date(runtime::dateSerial(2026, 12, 1) + runtime::timeSerial(19, 0, 0))}});
    pos.addLine(1, "Oculto", 1, 100, {{"noimprimir", 1}});
    pos.addLine(1, "Descuento", 1, -100, {{"idproducto", -7}});
    const double fraction = 0.6 / 86400;
    pos.addLine(1, "Tarde", 1, 50,
                {{"HORA", Variant::date(runtime::timeSerial(19, 59, 59) + fraction)},
                 {"fecha", Variant::date(runtime::dateSerial(2026, 12, 1) + runtime::timeSerial(23, 59, 59) +
                                         fraction)}});
}

// Two Fugazza lines of sale 3 stored latest time first, and two equal deletions.
void outOfOrder(PosFixture& pos) {
    pos.addLine(3, "Fugazza", 1, 700, {{"HORA", posdb::time(20, 40)}});
    pos.addLine(3, "Fugazza", 2, 700, {{"HORA", posdb::time(20, 10)}});
    pos.addDeletion(3, QString::fromUtf8("Fainá"), 1, 300, {{"HORA", posdb::time(20, 20)}});
    pos.addDeletion(3, QString::fromUtf8("Fainá"), 1, 300, {{"HORA", posdb::time(20, 20)}});
}

// A voided sale replaced by nothing, one without cash date, and a voided sale replaced by another.
void unreplaced(PosFixture& pos) {
    pos.addSale(1, posdb::day(2026, 12, 1),
                {{"Idventa", 5}, {"reemplazadoporid", Variant::null()}, {"estado", 3}});
    pos.addSale(1, posdb::day(2026, 12, 1), {{"Idventa", 6}, {"fechacaja", Variant::null()}});
    pos.addSale(1, posdb::day(2026, 12, 1), {{"Idventa", 7}, {"reemplazadoporid", 5}, {"estado", 3}});
}

// Sales of a client with only a first name, one without ticket number.
void soloSales(PosFixture& pos) {
    pos.addSale(2, posdb::day(2026, 12, 1),
                {{"Idventa", 20},
                 {"apellidos", Variant::null()},
                 {"nombres", "Sola"},
                 {"NUMEROTICKET", Variant::null()}});
    pos.addSale(2, posdb::day(2026, 12, 1),
                {{"Idventa", 21},
                 {"apellidos", Variant::null()},
                 {"nombres", "Sola"},
                 {"tmesa", Variant::null()},
                 {"SF_hora", posdb::time(1, 30)}});
}

void users(PosFixture& pos) {
    pos.addUser("flor ", "flor");
    pos.setSetting("CSNETIQUETA", "LOC2");
}

dorrindale::ReportTexts dishTexts(bool server, bool categorizacion = false, const QString& dishes = {}) {
    gDB->isMSSQL = server;
    dorrindale::Choice choice;
    choice.allProducts = dishes.isEmpty();
    choice.dishes = dishes;
    choice.desde = choice.hasta = runtime::dateSerial(2026, 12, 1);
    choice.categorizacion = categorizacion;
    return dorrindale::reportTexts(choice);
}

QString shiftList(bool server, bool dorrindale, int lastDay = 2) {
    return QString("SELECT sesion.Idsesion, usuarios.apodo AS uapertura, usuarios_1.apodo AS ucierre, "
                   "[sesion].[fechaapertura]+[sesion].[horaapertura] AS Apertura, "
                   "[sesion].[fechacierre]+[sesion].[horacierre] AS Cierre, sesion.NROTURNO, "
                   "sesion.TotalGeneral ") +
           " FROM (sesion LEFT JOIN usuarios ON sesion.idcajeroapertura = usuarios.Id) LEFT JOIN usuarios AS "
           "usuarios_1 ON sesion.idcajerocierre = usuarios_1.Id " +
           " Where ((([sesion].[fechaapertura] + [sesion].[horaapertura]) >= " + day(2026, 12, 1, server) +
           (dorrindale ? ") And (([sesion].[fechacierre] + [sesion].[horacierre]) <= "
                       : ") And (([sesion].[fechaapertura] + [sesion].[horaapertura]) <= ") +
           day(2026, 12, lastDay, server) +
           ")) Or ((([sesion].[fechacierre] + [sesion].[horacierre]) Is Null)) " +
           " ORDER BY [sesion].[fechaapertura]+[sesion].[horaapertura] DESC;";
}

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

QString ticketListing(bool server, const QString& period) {
    return TicketSelect + ListingFrom + " Where  val(ventas.NUMEROTICKET)>=0 and not isnull(numeroticket) " +
           " and ventas.fechacaja between " + day(2026, 12, 1, server) + " and " + day(2026, 12, 1, server) +
           " " + period + Letters + Kinds + " ORDER BY ventas.SF_fecha ASC , ventas.SF_hora ASC; ";
}

const QString Refused = QStringLiteral("!");

const SqlCase cases[] = {
    // Framework texts.
    {.name = "ReadSetting",
     .sql = "Select VALOR from REGISTRY where CLAVE = 'csnetiqueta'",
     .access = {"LOC2"},
     .data = users},
    {.name = "SaveSetting",
     .sql = "Select CLAVE, VALOR from REGISTRY where CLAVE = 'CSNETIQUETA'",
     .access = {"CSNETIQUETA|LOC2"},
     .data = users},
    {.name = "LoginLooksUpWithoutRegardToCase",
     .text =
         [](bool) {
             return QString("select * from usuarios where estado=1 and apodo='" + QString("ANA") +
                            "' and password='" + "ANA1" + "'");
         },
     .access = {"2"},
     .columns = {0}},
    {.name = "LoginWithAnotherPassword",
     .sql = "select * from usuarios where estado=1 and apodo='ana' and password='otra'"},
    {.name = "LoginWithoutPassword",
     .sql = "select * from usuarios where estado=1 and apodo='nulo' and password=''",
     .data =
         [](PosFixture& pos) {
             pos.addUser("nulo", {}, {{"password", Variant::null()}});
         }},
    {.name = "LoginOfAnInactiveUser",
     .sql = "select * from usuarios where estado=1 and apodo='baja' and password='baja'"},
    // A name stored with a trailing blank is found on SQL Server alone.
    {.name = "LoginIgnoresTrailingBlanksOnSqlServer",
     .sql = "select * from usuarios where estado=1 and apodo='flor' and password='flor'",
     .server = {"5"},
     .columns = {0},
     .data = users},
    {.name = "PermissionTest",
     .text = [](bool) { return "SELECT * FROM USUARIOS WHERE ID = " + Variant(2).toString(); },
     .access = {"ana|0|1"},
     .columns = {1, 4, 6}},
    {.name = "LoginRecord",
     .text =
         [](bool server) {
             gDB->isMSSQL = server;
             const Variant now =
                 Variant::date(runtime::dateSerial(2026, 12, 8) + runtime::timeSerial(17, 45, 3));
             return "insert into UsuariosPasadas (idusuario, fecha, hora) values" + QString(" (") + "2" +
                    "," + FechaSQL(now) + "," + HoraSQL(now) + ")";
         },
     .access = {"2|2026-12-08|17:45:03|2026-12-08 17:45:03"},
     .check = "select idusuario, fecha, hora, fecha + hora as momento from UsuariosPasadas"},
    {.name = "ShiftList",
     .text = [](bool server) { return shiftList(server, false); },
     .access = {"3|ana|Null|2026-12-02 08:00:00|Null|103|0",
                "2|ana|admin|2026-12-01 16:00:00|2026-12-02 00:30:00|102|1000",
                "1|ana|ana|2026-12-01 08:00:00|2026-12-01 16:00:00|101|2300"}},
    {.name = "ShiftListOfDorrindale",
     .text = [](bool server) { return shiftList(server, true); },
     .access = {"3", "1"},
     .columns = {0}},
    // One day as range: its upper bound is the midnight that starts it, so only open shifts.
    {.name = "ShiftListOfOneDay",
     .text = [](bool server) { return shiftList(server, false, 1); },
     .access = {"3"},
     .columns = {0}},
    {.name = "SalesWithoutCashDate",
     .sql = "select * from ventas where fechacaja is null ",
     .access = {"6"},
     .columns = {0},
     .data = unreplaced},
    {.name = "OpeningOfAShift",
     .text = [](bool) { return "select fechaapertura from sesion where idsesion = " + QString("2"); },
     .access = {"2026-12-01"}},
    {.name = "OpeningOfNoShift",
     .text = [](bool) { return "select fechaapertura from sesion where idsesion = " + QString(); },
     .access = {Refused}},
    // Deleted-items report.
    {.name = "AuditSupplement",
     .text =
         [](bool) {
             return "select * from auditoria where idventa = " + Variant(2).toString() + " and codigo = 21 ";
         },
     .access = {"admin|Cliente se fue"},
     .columns = {3, 4}},
    // coalesce(int, '') = '' holds for 0 and Null on SQL Server; isnull() for Null alone on Access.
    {.name = "DeletedItemsSalesOfAShift",
     .text = [](bool server) { return quenbrook::deletedItemsSalesQuery("1", 0, 0, server); },
     .access = {"5|B|ana", "6|B|ana", "1|A|ana", "2|B|ana"},
     .columns = {0, 6, 14},
     .data = unreplaced},
    {.name = "DeletedItemsSalesOfADay",
     .text =
         [](bool server) {
             gDB->isMSSQL = server;
             return quenbrook::deletedItemsSalesQuery("", runtime::dateSerial(2026, 12, 1),
                                                      runtime::dateSerial(2026, 12, 1), server);
         },
     .access = {"5", "6", "1", "2", "3"},
     .columns = {0},
     .data = unreplaced},
    // First/Last take the lines in stored order, MIN/MAX the smallest id and the latest time.
    {.name = "DetailOfASale",
     .text = [](bool server) { return saleItemsQuery("3", server); },
     .access = {"Muzzarella|4|20:00:00|2|ADIC", "Fugazza|6|20:10:00|3|ADIC",
                QString::fromUtf8("Fainá|Null|20:20:00|1|PRODUCTO")},
     .server = {"Muzzarella|4|20:00:00|2|ADIC", QString::fromUtf8("Fainá|Null|20:20:00|1|PRODUCTO"),
                "Fugazza|6|20:40:00|3|ADIC"},
     .columns = {4, 1, 2, 3, 8},
     .data = outOfOrder},
    {.name = "DeletedItemsOfASale",
     .text = [](bool) { return "select * from Quenbrook where idventa = " + Variant(1).toString(); },
     .access = {"Napolitana|12:20:00"},
     .columns = {7, 5}},
    // Listing window.
    {.name = "Families",
     .sql = "select idr,descripcion from rubros where estado = 1 order by descripcion",
     .access = {"2|Bebidas", "1|Pizzas"}},
    {.name = "Clients",
     .sql = "select id,nombres from clientes where estado = 1 order by nombres ",
     .access = {"1|Cliente Uno"}},
    {.name = "DeletedProductsListing",
     .text =
         [](bool server) {
             return "SELECT Quenbrook.*, sesion.NROTURNO, ventas.TIPOFACTURA AS Doc, ventas.NUMEROTICKET as "
                    "NroFact, "
                    "ventas.sf_fecha, ventas.sf_hora FROM (sesion INNER JOIN Quenbrook ON sesion.Idsesion = "
                    "Quenbrook.caja) LEFT JOIN ventas ON Quenbrook.Idventa = ventas.Idventa  WHERE "
                    "Quenbrook.fecha "
                    "between " +
                    day(2026, 12, 1, server) + " and " + day(2026, 12, 1, server) + " " +
                    " and Quenbrook.tipo <> 'ITEM' " + " order by sf_fecha, sf_hora ";
         },
     .access = {"Napolitana|12:20:00|101|A|00000001|2026-12-01|12:30:00"},
     .columns = {7, 5, 17, 18, 19, 20, 21},
     .data =
         [](PosFixture& pos) {
             pos.addDeletion(1, "", 0, 0, {{"TIPO", "ITEM"}});
             pos.addDeletion(1, "", 0, 0, {{"TIPO", "item"}});
             pos.addDeletion(1, "", 0, 0, {{"TIPO", Variant::null()}});
         }},
    // The sales listing's Access syntax fails on SQL Server.
    // A Null joins as empty; a sale without ticket number is left out.
    {.name = "SalesListing",
     .text = [](bool server) { return ticketListing(server, {}); },
     .access = {"21| Sola|Gomez Juan|1|Null", "1|Perez Maria|Gomez Juan|5|1", "2|Perez Maria|Gomez Juan|6|1",
                "3|Perez Maria|Gomez Juan|7|1"},
     .server = {"!'&' operator"},
     .columns = {1, 11, 12, 41, 42},
     .data = soloSales},
    {.name = "SalesListingAtNoon",
     .text =
         [](bool server) {
             return ticketListing(server, " and ventas.sf_hora between " + clockTime(12, 0, server) +
                                              " and " + clockTime(13, 0, server) + " ");
         },
     .access = {"1", "2"},
     .server = {"!'&' operator"},
     .columns = {1},
     .data = soloSales},
    {.name = "SalesListingAcrossMidnight",
     .text =
         [](bool server) {
             return ticketListing(server, " and (ventas.sf_hora between " + clockTime(20, 0, server) +
                                              " and #23:59:59# or ventas.sf_hora between #00:00:00# and " +
                                              clockTime(2, 0, server) + ")  ");
         },
     .access = {"21", "3"},
     .server = {"!'&' operator"},
     .columns = {1},
     .data = soloSales},
    {.name = "SalesListingOfNoShift",
     .text =
         [](bool) {
             return TicketSelect + ListingFrom +
                    " Where  val(ventas.NUMEROTICKET)>=0 and not isnull(numeroticket) " +
                    " and ventas.idsesion = " + "-1";
         },
     .server = {"!'&' operator"}},
    {.name = "SalesListingSummary",
     .text =
         [](bool server) {
             return " SELECT ventas.fecha, Sum(ventas.total) AS SumaDetotal, count(ventas.total) as cuenta, "
                    "ventas.estado, ventas.tipo, ventas.tmesa as mesatipo " +
                    ListingFrom +
                    " where  val(ventas.NUMEROTICKET)>=0 and ventas.estado <> 3 and not "
                    "isnull(numeroticket)" +
                    " and ventas.fechacaja between " + day(2026, 12, 1, server) + " and " +
                    day(2026, 12, 2, server) +
                    " GROUP BY ventas.fecha, ventas.estado, ventas.tipo, ventas.tmesa  ORDER BY ventas.fecha "
                    "DESC ";
         },
     .access = {"2026-12-01|2500|2"},
     .server = {"!'val' is not a recognized"},
     .columns = {0, 1, 2}},
    {.name = "LinesOfASale",
     .text =
         [](bool) {
             return "SELECT ventasdetail.Idventadetail, ventasdetail.hora, ventasdetail.cantidad, "
                    "ventasdetail.nombrearticulo, ventasdetail.Comentario, ventasdetail.monto , "
                    "ventasdetail.cantidad AS "
                    "ccant, ventasdetail.monto*ventasdetail.cantidad AS mmonto, empleados.nombres, "
                    "ventasdetail.idproducto " +
                    QString(" FROM ventasdetail LEFT JOIN empleados ON ventasdetail.idmozo = empleados.Id ") +
                    " Where (((ventasdetail.idventa) = " + "1" + ")) " + " ORDER BY ventasdetail.hora ";
         },
     .access = {"Muzzarella|1000|Juan", "Agua|500|Juan"},
     .columns = {3, 7, 8}},
    {.name = "DeletedProductsOfASale",
     .text =
         [](bool) { return "select * from Quenbrook where idventa = " + QString("1") + " order by hora "; },
     .access = {"Napolitana"},
     .columns = {7}},
    // Invoice-lines report.
    // AND binds tighter than OR; letters compare without regard to case.
    {.name = "InvoiceLinesSales",
     .text = [](bool server) { return velmarsh::invoiceLinesSalesQuery("1", 0, 0, server); },
     .access = {"30", "1", "2", "33"},
     .columns = {0},
     .data =
         [](PosFixture& pos) {
             const Variant day = posdb::day(2026, 12, 1);
             pos.addSale(1, day, {{"Idventa", 30}, {"TIPOFACTURA", "a"}, {"reemplazadoporid", 0}});
             pos.addSale(1, day, {{"Idventa", 31}, {"TIPOFACTURA", "NCA"}});
             pos.addSale(1, day,
                         {{"Idventa", 32}, {"TIPOFACTURA", "C"}, {"reemplazadoporid", Variant::null()}});
             pos.addSale(1, day,
                         {{"Idventa", 33},
                          {"TIPOFACTURA", "C"},
                          {"reemplazadoporid", Variant::null()},
                          {"estado", 3},
                          {"SF_hora", posdb::time(18, 0)}});
         }},
    {.name = "InvoiceLinesDetail",
     .text = [](bool server) { return saleItemsQuery("3", server, true); },
     .access = {"Muzzarella|2", "Fugazza|3", QString::fromUtf8("Fainá|1")},
     .server = {"Muzzarella|2", QString::fromUtf8("Fainá|1"), "Fugazza|3"},
     .columns = {4, 3},
     .data = outOfOrder},
    // Sales-by-dish report.
    {.name = "FamiliesOfDorrindale",
     .sql = "select idr, descripcion from rubros where estado = 1 order by descripcion",
     .access = {"Bebidas", "Pastas", "Pizzas"},
     .columns = {1},
     .data = names},
    // Accented letters beside their base letter; ñ with n on Access, after n on SQL Server.
    {.name = "DishesOfTheFamilies",
     .text =
         [](bool) {
             return "select id, nombre from productos where estado = 1 and idrubro in (" + QString("9") +
                    ") order by nombre";
         },
     .access = {"agua", QString::fromUtf8("Ávila"), "Muzzarella", QString::fromUtf8("Ñoquis"), "Nuez",
                "zapallo"},
     .server = {"agua", QString::fromUtf8("Ávila"), "Muzzarella", "Nuez", QString::fromUtf8("Ñoquis"),
                "zapallo"},
     .columns = {1},
     .data = names},
    {.name = "DishesOfNoDish",
     .text = [](bool) { return "select id from productos where id in (" + QString() + ",-5,-36,-35,-7,-6)"; },
     .access = {"!"}},
    {.name = "DishesOfNoFamily",
     .text =
         [](bool) {
             return "select id, nombre from productos where estado = 1 and idrubro in (" + QString() +
                    ") order by nombre";
         },
     .access = {"!in ()"}},
    {.name = "CreateTheFunctionAndCallIt",
     .text = [](bool server) { return server ? dorrindale::firstWordFunction() : QString(); },
     .server = {"Agua"},
     .check = "select dbo.FirstWord('Agua, sin gas') as palabra"},
    {.name = "CreateTheFunctionTwice",
     .text = [](bool server) { return server ? dorrindale::firstWordFunction() : QString(); },
     .server = {"!There is already an object named 'FirstWord' in the database."},
     .before = [](bool) { return dorrindale::firstWordFunction(); }},
    // Case variants group as one; "Flan " groups with "Flan" on SQL Server alone; 19:59:59.6 is
    // hour 20 on Access (whole seconds) and 19 on SQL Server, 23:59:59.6 the next day.
    {.name = "SalesPerDishPerHour",
     .text = [](bool server) { return dishTexts(server).mainQuery; },
     .access = {"2026-12-01|12|Agua|1|500|500", "2026-12-01|12|Flan|1|300|300",
                "2026-12-01|12|Flan |1|300|300", "2026-12-01|12|Muzzarella|1|500|500",
                QString::fromUtf8("2026-12-01|12|Ñoqui|2|300|600"), "2026-12-01|19|Agua|1|500|500",
                "2026-12-01|20|Muzzarella|2|500|1000", "2026-12-02|20|Tarde|1|50|50"},
     .server = {"2026-12-01|12|Agua|1|500|500", "2026-12-01|12|Flan|2|300|600",
                "2026-12-01|12|Muzzarella|1|500|500", QString::fromUtf8("2026-12-01|12|Ñoqui|2|300|600"),
                "2026-12-01|19|Agua|1|500|500", "2026-12-01|19|Tarde|1|50|50",
                "2026-12-01|20|Muzzarella|2|500|1000"},
     .data =
         [](PosFixture& pos) {
             names(pos);
             edges(pos);
         }},
    {.name = "SalesPerDishWithoutLetterX",
     .text = [](bool server) { return dishTexts(server, true).mainQuery; },
     .access = {"Agua", "Muzzarella"},
     .columns = {2}},
    {.name = "SalesOfTheChosenDishes",
     .text = [](bool server) { return dishTexts(server, false, "20").mainQuery; },
     .access = {"Agua"},
     .columns = {2}},
    {.name = "DiscountsPerDay",
     .text = [](bool server) { return dishTexts(server).discountQuery; },
     .access = {"2026-12-01|2|-150"},
     .data =
         [](PosFixture& pos) {
             pos.addLine(1, "Descuento", 1, -100, {{"idproducto", -7}});
             pos.addLine(3, "Descuento", 1, -50, {{"idproducto", -7}});
         }},
    {.name = "Observations",
     .text = [](bool server) { return dishTexts(server).observationsQuery; },
     .access = {"2|0|Sin sal"}},
    {.name = "ObservationsOfAShift",
     .text =
         [](bool server) {
             gDB->isMSSQL = server;
             dorrindale::Choice choice;
             choice.dishes = "10";
             choice.tag = "1";
             return dorrindale::reportTexts(choice).observationsQuery;
         },
     .access = {"2|0|Sin sal"}},
    // Texts compared and ordered as the databases do, wherever a text is compared.
    {.name = "DistinctNames",
     .sql = "select distinct nombrearticulo from ventasdetail where monto = 300 order by 1",
     .access = {"Flan", "Flan ", QString::fromUtf8("Ñoqui")},
     .server = {"Flan", QString::fromUtf8("Ñoqui")},
     .data = names},
    {.name = "UnionOfNames",
     .sql = "select nombre from productos where id = 94 union select nombrearticulo from ventasdetail where "
            "idventadetail = 2 order by nombre",
     .access = {"Agua"},
     .data = names},
    {.name = "InBetweenAndLessThan",
     .sql = "select count(*) from productos where nombre in ('ÑOQUIS', 'AVILA') union all select count(*) "
            "from productos where nombre between 'n' and 'nz' union all select count(*) from productos where "
            "nombre < 'b'",
     .access = {"1", "3", "3"},
     .server = {"1", "2", "3"},
     .data = names},
    {.name = "MinAndMaxOfNames",
     .sql = "select min(nombre), max(nombre) from productos where idrubro = 9",
     .access = {QString::fromUtf8("agua|zapallo")},
     .data = names},
    {.name = "JoinOnTexts",
     .sql = "select count(*) from ventasdetail inner join productos on productos.nombre = "
            "ventasdetail.nombrearticulo where productos.idrubro = 2",
     .access = {"3"},
     .data = [](PosFixture& pos) { pos.addLine(1, "AGUA", 1, 1, {}); }},
    {.name = "LikeKeepsTrailingBlanks",
     .sql = "select count(*) from ventasdetail where nombrearticulo like 'flan'",
     .access = {"1"},
     .data = names},
    {.name = "LikeMatchesEveryLetterWithoutRegardToCase",
     .sql = "select count(*) from ventasdetail where nombrearticulo like '_OQUI%'",
     .access = {"2"},
     .data = names},
    {.name = "LikeWithAccentedCapitals",
     .sql = "select count(*) from ventasdetail where nombrearticulo like 'ñ%'",
     .access = {"2"},
     .data = names},
    // SQL Server's datetime: 1/300 s, literals rounded to it.
    {.name = "DatetimeLiteralRoundsToItsPrecision",
     .sql = "select idventa from ventas where fecha = '20261201 23:59:59.999'",
     .serverOnly = true,
     .server = {"4"}},
    {.name = "DatetimeMinusDatetime",
     .sql = "select fechacierre - fechaapertura as d from sesion where idsesion = 2",
     .serverOnly = true,
     .server = {"1900-01-02"}},
    {.name = "TextsInAnInListOfDates",
     .sql = "select count(*) from ventas where fecha in ('20261201', '2026-12-02')",
     .serverOnly = true,
     .server = {"4"}},
    {.name = "CharIndexFromZero",
     .sql = "select charindex('n', 'NCA', 0) as i",
     .serverOnly = true,
     .server = {"1"}},
    {.name = "IsnullTypedByItsFirstArgument",
     .sql = "select isnull(reemplazadoporid, 1.5) as r from ventas where idventa = 5",
     .serverOnly = true,
     .server = {"1"},
     .data = unreplaced},
    {.name = "ZeroFacingADatetimeInAUnion",
     .sql = "select PREPARACION from Quenbrook where idventa = 1 union select 0 as PREPARACION from ventas "
            "where idventa = 1 order by 1",
     .access = {"1899-12-30", "1899-12-30 00:10:00"},
     .server = {"1900-01-01", "1900-01-01 00:10:00"},
     .days = true},
    // What a server refuses.
    {.name = "AliasReusedInTheSelectList",
     .sql = "select total as t, t * 2 as doble from ventas where idventa = 1",
     .access = {"1500|3000"},
     .server = {"!Invalid column name 't'."}},
    {.name = "GroupByAConstant",
     .sql = "select count(*) from ventas group by 1",
     .access = {"4"},
     .server =
         {"!Each GROUP BY expression must contain at least one column that is not an outer reference."}},
    {.name = "AccessSyntaxOnSqlServer",
     .sql = "select First(idventa) from ventas",
     .access = {"1"},
     .server = {"!'First' is not a recognized built-in function name."}},
    {.name = "OneArgumentIsnullOnSqlServer",
     .sql = "select idventa from ventas where isnull(tmesa)",
     .server = {"!The isnull function requires 2 argument(s)."}},
    {.name = "ConvertToAnotherTypeOnSqlServer",
     .sql = "select CONVERT(varchar, fecha) from ventas",
     .serverOnly = true,
     .server = {"!CONVERT is supported here only as CONVERT(date, expression)."}},
    {.name = "AccessDateLiteralOnSqlServer",
     .sql = "select idventa from ventas where fecha = #1980-01-01#",
     .server = {"!Incorrect syntax near '#'."}},
    {.name = "TextThatIsNoDate",
     .sql = "select idventa from ventas where fecha = '2026-13-01'",
     .serverOnly = true,
     .server = {"!Conversion failed when converting date and/or time from character string."}},
    {.name = "OtherDefinitions",
     .sql = "drop table auditoria",
     .serverOnly = true,
     .server = {"!CREATE FUNCTION only"},
     .check = "select count(*) from auditoria"},
};

class SqlTexts : public ::testing::TestWithParam<SqlCase> {
protected:
    SqlTexts() : m_locale("es_AR.UTF-8") { m_session.newDatabase(); }

    // The rows of the case's text on a connection, or "!" and the failure's message.
    QStringList run(const SqlCase& c, bool server, const data::ConnectionPtr& on) {
        try {
            if (c.before) on->execute(c.before(server));
            const QString text = textOf(c, server);
            const bool writes = c.check != nullptr;
            if (writes) on->execute(text);
            return rows(writes ? QString::fromUtf8(c.check) : text, on, c);
        } catch (const runtime::RuntimeError& e) {
            return {Refused + e.description()};
        }
    }

    QStringList rows(const QString& sql, const data::ConnectionPtr& on, const SqlCase& c) {
        const QVector<int>& columns = c.columns;
        QStringList out;
        for (const auto& row : pos.rows(sql, on)) {
            QStringList cells;
            for (int i = 0; i < row.size(); ++i)
                if (columns.isEmpty() || columns.contains(i)) cells.append(QString());
            for (int i = 0; i < row.size(); ++i) {
                const int at = columns.isEmpty() ? i : int(columns.indexOf(i));
                if (at >= 0) cells[at] = cell(row[i], c.days);
            }
            out << cells.join('|');
        }
        return out;
    }

    LocaleScope m_locale;
    PosFixture pos;
    ProgramSession m_session;
};

// Whether the rows are those expected; a failure matches when its message holds the words.
void expectRows(const QStringList& rows, const QStringList& expected, const char* kind) {
    if (expected.size() == 1 && expected[0].startsWith(Refused)) {
        ASSERT_EQ(rows.size(), 1) << kind << ": " << rows.join('/').toStdString();
        EXPECT_TRUE(rows[0].startsWith(Refused) && rows[0].contains(expected[0].mid(1)))
            << kind << ": " << rows[0].toStdString();
        return;
    }
    EXPECT_EQ(rows.join('\n').toStdString(), expected.join('\n').toStdString()) << kind;
}

} // namespace

TEST_P(SqlTexts, GiveTheRowsOfTheirDatabase) {
    const SqlCase& c = GetParam();
    if (c.data) c.data(pos);
    const QString file = pos.root() + QStringLiteral("/db/pos.mdf");
    posdb::copyAsSqlServer(pos.mainFile(), file);
    if (!textOf(c, false).isEmpty()) expectRows(run(c, false, pos.db()), c.access, "Access");
    auto server = std::make_shared<data::Connection>();
    server->open(posdb::sqlServerConnectionString(file));
    const QStringList expected = c.server == QStringList{QStringLiteral("=")} ? c.access : c.server;
    if (!textOf(c, true).isEmpty()) expectRows(run(c, true, server), expected, "SQL Server");
}

INSTANTIATE_TEST_SUITE_P(EveryText, SqlTexts, ::testing::ValuesIn(cases),
                         [](const ::testing::TestParamInfo<SqlCase>& info) {
                             return std::string(info.param.name);
                         });

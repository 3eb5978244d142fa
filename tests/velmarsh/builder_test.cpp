#include "VelmarshTest.h"

#include "framework/SaleItems.h"
#include "framework/clsDataBase.h"
#include "runtime/DateSerial.h"
#include "runtime/Format.h"
#include "support/LocaleScope.h"
#include "support/UserInput.h"

using posdb::day;
using posdb::time;
using runtime::Variant;

namespace {

// The products of tmpreport's rows, in stored order.
QStringList productos(const QVector<QVector<Variant>>& rows) {
    QStringList names;
    for (const auto& row : rows)
        names << campo(row, 20);
    return names;
}

} // namespace

TEST_F(VelmarshTest, TheWholeRoadWritesOneRowPerItemCarryingItsSale) {
    LocaleScope locale("es_AR.UTF-8");
    velmarsh::frmParametros& window = logIn();
    EXPECT_TRUE(window.visible());
    // Right after the login: the label's default, today to tomorrow, no shift, no build running.
    EXPECT_EQ(window.txtEtiqueta.text(), "LOC1");
    EXPECT_EQ(window.dtdesde.value(), runtime::dateSerial(2026, 12, 3));
    EXPECT_EQ(window.dthasta.value(), runtime::dateSerial(2026, 12, 4));
    EXPECT_FALSE(window.cancelar.enabled());

    const int pumpsBefore = host.doEventsCalls;
    verListado(window, day(2026, 12, 1), day(2026, 12, 1));

    // Sales 1 (A), 2 (B, voided) and 3 (X) of 1 December; their lines by time, then type.
    const auto rows = tmpreport();
    ASSERT_EQ(productos(rows), QStringList({"Muzzarella", "Agua", "Napolitana", "Napolitana", "Muzzarella"}));
    // Each row carries its sale's columns: the table as stored, no table-kind prefix.
    const QVector<Variant>& first = rows[0];
    EXPECT_EQ(campo(first, 1), "1");
    EXPECT_EQ(hhmm(first[1]), "12:30");
    EXPECT_EQ(campo(first, 3), "5");
    EXPECT_EQ(campo(first, 6), "2");
    EXPECT_EQ(campo(first, 7), "A");
    EXPECT_EQ(campo(first, 8), "00000001");
    EXPECT_EQ(campo(first, 9), "1500");
    EXPECT_EQ(campo(first, 12), "2");
    EXPECT_EQ(first[12].toDouble(), runtime::dateSerial(2026, 12, 1));
    EXPECT_EQ(campo(first, 15), "ana");
    // and the line's own: campo16 the sale again, the line's id, time, quantity, product, amount.
    EXPECT_EQ(campo(first, 16), "1");
    EXPECT_EQ(campo(first, 17), "1");
    EXPECT_EQ(hhmm(first[17]), "12:05");
    EXPECT_EQ(campo(first, 19), "2");
    EXPECT_EQ(campo(first, 21), "500");
    EXPECT_EQ(campo(first, 24), "ADIC");
    EXPECT_EQ(campo(first, 28), "10");
    // The deleted Napolitana keeps its user; its own motive is not carried.
    EXPECT_EQ(campo(rows[2], 24), "PRODUCTO");
    EXPECT_EQ(campo(rows[2], 27), "ana");
    EXPECT_EQ(campo(rows[2], 25), "");
    // The voided sale's line reads ANULADO with the audit entry's user and motive.
    EXPECT_EQ(campo(rows[3], 1), "2");
    EXPECT_EQ(campo(rows[3], 24), "ANULADO");
    EXPECT_EQ(campo(rows[3], 27), "admin");
    EXPECT_EQ(campo(rows[3], 25), "Cliente se fue");
    EXPECT_EQ(campo(rows[3], 26), "Cliente se fue");
    EXPECT_EQ(campo(rows[4], 7), "X");

    // The message loop ran once per written row; the bar went to its end; the report shows the label.
    EXPECT_EQ(host.doEventsCalls - pumpsBefore, 5);
    EXPECT_EQ(window.pb.max(), 3);
    EXPECT_EQ(window.pb.value(), 3);
    EXPECT_TRUE(host.pointers.contains(runtime::pointer::Hourglass));
    EXPECT_EQ(host.pointers.last(), runtime::pointer::Default);
    EXPECT_FALSE(window.cancelar.enabled());
    ASSERT_NE(framework::preview(), nullptr);
    EXPECT_EQ(framework::report<velmarsh::ActiveReport1>().local->text(), "LOC1");
    EXPECT_TRUE(host.boxes.isEmpty());
    EXPECT_TRUE(errorLog().isEmpty());
}

TEST_F(VelmarshEmptyTest, SalesOfTheFourLettersNotReplaced) {
    velmarsh::frmParametros& window = logIn();
    const Variant today = day(2026, 12, 3);
    struct Case {
        const char* name;
        posdb::Row sale;
        bool listed;
    };
    const Case cases[] = {
        {"A", {{"TIPOFACTURA", "A"}}, true},
        {"C", {{"TIPOFACTURA", "C"}}, true},
        {"X", {{"TIPOFACTURA", "X"}}, true},
        {"D", {{"TIPOFACTURA", "D"}}, false},
        {"NCA", {{"TIPOFACTURA", "NCA"}}, false},
        {"replaced", {{"reemplazadoporid", 99}}, false},
        {"no reference", {{"reemplazadoporid", Variant::null()}}, false},
        {"voided, no reference", {{"reemplazadoporid", Variant::null()}, {"estado", 3}}, true},
        {"voided, replaced", {{"reemplazadoporid", 99}, {"estado", 3}}, false},
        {"day after the range", {{"fecha", day(2026, 12, 5)}}, false},
        {"last day of the range", {{"fecha", day(2026, 12, 4)}}, true},
    };
    int minute = 0;
    for (const Case& c : cases) {
        posdb::Row sale = c.sale;
        sale.append({QStringLiteral("SF_hora"), time(12, minute++)});
        fx.addLine(fx.addSale(1, today, sale), QString::fromUtf8(c.name), 1, 100);
    }
    verListado(window, day(2026, 12, 3), day(2026, 12, 4));
    QStringList expected;
    for (const Case& c : cases)
        if (c.listed) expected << QString::fromUtf8(c.name);
    EXPECT_EQ(productos(tmpreport()), expected);

    // A tag of "0" selects by dates; a shift's id by the shift whatever the dates.
    fx.addLine(fx.addSale(7, day(2026, 11, 20), {{"TIPOFACTURA", "B"}}), "Turno 7", 1, 100);
    window.cmdTurno.setTag(QStringLiteral("0"));
    verListado(window, day(2026, 12, 3), day(2026, 12, 3));
    EXPECT_EQ(tmpreport().size(), expected.size() - 1);
    window.cmdTurno.setTag(QStringLiteral("7"));
    verListado(window, day(2026, 12, 3), day(2026, 12, 3));
    EXPECT_EQ(productos(tmpreport()), QStringList({"Turno 7"}));
}

TEST_F(VelmarshEmptyTest, LinesMotivesAndTheAuditSupplement) {
    velmarsh::frmParametros& window = logIn();
    const Variant today = day(2026, 12, 3);
    const qint64 sale = fx.addSale(1, today, {{"SF_FECHA", Variant::null()}});
    auto deletion = [&](qint64 id, const char* producto, int minute, posdb::Row more) {
        more.append({QStringLiteral("HORA"), time(10, minute)});
        fx.addDeletion(id, QString::fromUtf8(producto), 1, 100, more);
    };
    fx.addLine(sale, "Promo", 1, 0, {{"HORA", time(10, 0)}, {"idproducto", -8}}); // never listed
    deletion(sale, "Cero", 1, {{"CANTIDAD", 0}});                                 // never listed
    deletion(sale, "Negativo", 2, {{"CANTIDAD", -1}});                            // never listed
    deletion(sale, "Servicio", 3, {{"idproducto", -8}, {"usuario", Variant::null()}});
    deletion(sale, "", 4, {{"TIPO", "ITEM"}, {"MOTIVO", "Cliente apurado"}});
    deletion(sale, "Flan", 5, {{"usuario", "beto"}});
    deletion(sale, "Coca", 6, {{"usuario", Variant::null()}});
    deletion(sale, "Nada", 7, {{"TIPO", Variant::null()}});
    deletion(sale, "", 8, {{"TIPO", "ITEM"}, {"MOTIVO", "Sin uso"}}); // no line follows: it hands nothing on
    fx.insert("auditoria", {{"idventa", Variant(std::int64_t(sale))},
                            {"codigo", 21},
                            {"usuario", "admin"},
                            {"motivo", "Mesa equivocada"}});
    const qint64 voided = fx.addSale(1, today, {{"estado", 3}});
    fx.addLine(voided, "Vino", 1, 900, {{"HORA", time(11, 0)}});
    fx.addDeletion(voided, "Soda", 1, 100, {{"HORA", time(11, 1)}, {"usuario", "ana"}});

    verListado(window, today, today);
    const auto rows = tmpreport();
    ASSERT_EQ(productos(rows), QStringList({"Servicio", "Flan", "Coca", "Vino", "Soda"}));
    // The first line with neither user nor motive takes the audit entry; later ones stay empty.
    EXPECT_EQ(campo(rows[0], 27), "admin");
    EXPECT_EQ(campo(rows[0], 25), "Mesa equivocada");
    EXPECT_EQ(campo(rows[1], 25), "Cliente apurado"); // the ITEM row's motive, on the next line only
    EXPECT_EQ(campo(rows[1], 26), "Cliente apurado");
    EXPECT_EQ(campo(rows[1], 27), "beto");
    EXPECT_EQ(campo(rows[2], 25), "");
    EXPECT_EQ(campo(rows[2], 27), "");
    // A sale without ticket date takes its date; every line of a voided sale is ANULADO.
    EXPECT_EQ(rows[0][12].toDouble(), runtime::dateSerial(2026, 12, 3));
    EXPECT_EQ(campo(rows[3], 24), "ANULADO");
    EXPECT_EQ(campo(rows[4], 24), "ANULADO");
    EXPECT_EQ(campo(rows[3], 25), ""); // the "Sin uso" of the sale before stays there
}

TEST_F(VelmarshEmptyTest, CancelStopsAfterTheRowInHandAndASecondPressDoesNotNest) {
    velmarsh::frmParametros& window = logIn();
    const Variant today = day(2026, 12, 3);
    for (int i = 0; i < 3; ++i) {
        const qint64 sale = fx.addSale(1, today, {{"SF_hora", time(12, i)}});
        fx.addLine(sale, "Flan", 1, 400);
        fx.addLine(sale, "Coca", 1, 300);
    }
    // While the first row is written, the user presses "Ver Listado" again and then "Cancelar".
    int pumps = 0;
    host.onDoEvents = [&] {
        if (++pumps != 1) return;
        EXPECT_TRUE(window.building());
        EXPECT_TRUE(user::click(window.cmdVerListado.widget()));
        EXPECT_TRUE(user::click(window.cancelar.widget()));
    };
    verListado(window, today, today);
    host.onDoEvents = nullptr;
    EXPECT_EQ(tmpreport().size(), 1);
    EXPECT_EQ(pumps, 1);
    const auto* preview = framework::preview();
    EXPECT_TRUE(!preview || !preview->isVisible());
    EXPECT_FALSE(window.cancelar.enabled());
    EXPECT_EQ(host.pointers.last(), runtime::pointer::Default);

    verListado(window, today, today);
    EXPECT_EQ(tmpreport().size(), 6);
}

TEST_F(VelmarshTest, QueryTextsOfBothDatabaseKinds) {
    const QString filtro = " where ventas.tipofactura in ('A','B','C','X') and ventas.idsesion = 12 and ";
    const QString inicio =
        "SELECT ventas.Idventa, ventas.SF_hora, ventas.smesa, ventas.horaapertura, ventas.horacierre, "
        "ventas.estado, ventas.TIPOFACTURA, ventas.NUMEROTICKET, ventas.SF_total, ventas.facturasacada, "
        "ventas.facturaimpresa, ventas.estado, ventas.SF_FECHA, ventas.fecha, usuarios.apodo, ventas.tmesa " +
        QString(" FROM (ventas LEFT JOIN mesas ON ventas.idmesa = mesas.Id) LEFT JOIN usuarios ON "
                "ventas.idusuario = usuarios.Id ");
    const QString fin = " ORDER BY ventas.sf_fecha, ventas.sf_hora; ";
    EXPECT_EQ(
        velmarsh::invoiceLinesSalesQuery("12", 0, 0, true),
        inicio + filtro +
            "(ventas.reemplazadoporid = 0 or coalesce(ventas.reemplazadoporid,'') = '' and ventas.estado = "
            "3) " +
            fin);
    EXPECT_EQ(velmarsh::invoiceLinesSalesQuery("12", 0, 0, false),
              inicio + filtro +
                  "(ventas.reemplazadoporid = 0 or isnull(ventas.reemplazadoporid) and ventas.estado = 3) " +
                  fin);

    const QString id = "45";
    EXPECT_EQ(
        framework::saleItemsQuery(id, true, true),
        "SELECT " + QString(" IDVENTA, ") + " IDVENTADETAIL, " + " HORA, " + " CANTIDAD, " + " PRODUCTO, " +
            " IMPORTE, PREPARACION, DEMORA, TIPO, MOTIVO, usuario,2 as estado, idproducto " +
            " FROM Quenbrook WHERE  IDVENTA =  " + id + "  and cantidad > 0 " + " Union" + " SELECT " +
            " VENTASDETAIL.IDVENTA, MIN(VENTASDETAIL.IDVENTADETAIL) AS IDVENTADETAIL, " +
            " MAX(VENTASDETAIL.HORA) AS HORA, Sum(VENTASDETAIL.CANTIDAD) AS CANTIDAD, " +
            " VENTASDETAIL.NOMBREARTICULO AS PRODUCTO, VENTASDETAIL.MONTO AS IMPORTE, 0 AS PREPARACION, 0 "
            "AS DEMORA, 'ADIC' AS TIPO, " +
            " '' AS MOTIVO, '' as usuario, " + " estado, idproducto " + " From VENTASDETAIL " +
            " Where (((VENTASDETAIL.[idventa]) = " + id + ")) and idproducto <> -8  " +
            " GROUP BY IDVENTA, NOMBREARTICULO, MONTO, VENTASDETAIL.IDVENTA, estado, idproducto " +
            " order by hora, tipo ");
    EXPECT_EQ(
        framework::saleItemsQuery(id, false, true),
        "SELECT  IDVENTA, IDVENTADETAIL, HORA, CANTIDAD, PRODUCTO, IMPORTE, PREPARACION, DEMORA, TIPO, "
        "MOTIVO, usuario,2 as estado, idproducto" +
            QString(" FROM Quenbrook WHERE  IDVENTA =  ") + id + "  and cantidad > 0 " + " Union " +
            " SELECT VENTASDETAIL.IDVENTA, First(VENTASDETAIL.IDVENTADETAIL) AS PrimeroDeIDVENTADETAIL, "
            "Last(VENTASDETAIL.HORA) AS ÚltimoDeHORA, Sum(VENTASDETAIL.CANTIDAD) AS SumaDeCANTIDAD, "
            "VENTASDETAIL.NOMBREARTICULO, VENTASDETAIL.MONTO, 0 AS Expr1, 0 AS Expr2, 'ADIC' AS Expr3, '' "
            "AS Expr4,'' as usuario, estado, idproducto " +
            " From VENTASDETAIL where (((VENTASDETAIL.[IDVENTA])=" + id +
            ")) and idproducto <> -8 GROUP BY VENTASDETAIL.IDVENTA, VENTASDETAIL.NOMBREARTICULO, "
            "VENTASDETAIL.MONTO, 0, 0, 'ADIC', '', VENTASDETAIL.[IDVENTA], estado, idproducto " +
            " order by hora, tipo ;");
}

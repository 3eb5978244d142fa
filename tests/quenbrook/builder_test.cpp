#include "QuenbrookTest.h"

#include "../reports/PageQueries.h"

#include "data/Connection.h"
#include "deleted_items/Quenbrook.h"
#include "deleted_items/extras.h"
#include "forms/Events.h"
#include "framework/clsDataBase.h"
#include "framework/frmSeleccionaTurno.h"
#include "runtime/DateSerial.h"
#include "runtime/Format.h"
#include "support/LocaleScope.h"
#include "support/QtPrinters.h"
#include "support/UserInput.h"

#include <QTimer>

#include <chrono>
#include <utility>

using namespace framework;
using namespace quenbrook;

using posdb::day;
using posdb::time;
using runtime::Variant;

TEST_F(QuenbrookTest, TheWholeRoadFillsTmpreportWithOneGroupPerQualifyingSale) {
    LocaleScope locale("es_AR.UTF-8");
    frmParametros& window = logIn();
    EXPECT_TRUE(window.visible());
    // Right after the login: today to tomorrow, both filters clear, no shift.
    EXPECT_EQ(window.dtdesde.value(), runtime::dateSerial(2026, 12, 3));
    EXPECT_EQ(window.dthasta.value(), runtime::dateSerial(2026, 12, 4));
    EXPECT_EQ(window.chkDelivery.value(), 0);
    EXPECT_EQ(window.chkTodos.value(), 0);
    EXPECT_FALSE(window.cancelar.enabled());

    firstOfDecember(window);

    // Sale 1 (a deletion) and sale 2 (voided) qualify; sale 3 has nothing deleted; sale 4 is of 2 December.
    const auto rows = tmpreport();
    ASSERT_EQ(rows.size(), 6);
    // Header of sale 1: the sales query's columns by position, the table label rebuilt.
    EXPECT_EQ(campo(rows[0], 1), "1");
    EXPECT_EQ(hhmm(rows[0][1]), "12:30");
    EXPECT_EQ(campo(rows[0], 3), "T/5");
    EXPECT_EQ(campo(rows[0], 6), "2");
    EXPECT_EQ(campo(rows[0], 7), "A");
    EXPECT_EQ(campo(rows[0], 8), "00000001");
    EXPECT_EQ(campo(rows[0], 9), "1500");
    EXPECT_EQ(campo(rows[0], 15), "ana");
    EXPECT_TRUE(rows[0][17].isNull()); // campo18, the line time, is empty on a header row
    // Its lines by time: the two remaining lines, then the deleted Napolitana with its user.
    EXPECT_EQ(campo(rows[1], 20), "Muzzarella");
    EXPECT_EQ(campo(rows[1], 19), "2");
    EXPECT_EQ(campo(rows[1], 24), "ADIC");
    EXPECT_EQ(campo(rows[2], 20), "Agua");
    EXPECT_EQ(campo(rows[3], 20), "Napolitana");
    EXPECT_EQ(campo(rows[3], 24), "PRODUCTO");
    EXPECT_EQ(campo(rows[3], 27), "ana");
    EXPECT_EQ(campo(rows[3], 25), ""); // the deletion's own motive is not carried into tmpreport
    EXPECT_EQ(hhmm(rows[3][17]), "12:20");
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(campo(rows[i], 1), "1");
        EXPECT_TRUE(rows[i][1].isNull()); // item rows leave the sale's columns empty
    }
    // Sale 2 is voided: its remaining line reads ANULADO and takes the audit entry's user and motive.
    EXPECT_EQ(campo(rows[4], 1), "2");
    EXPECT_EQ(campo(rows[4], 6), "3");
    EXPECT_EQ(campo(rows[5], 20), "Napolitana");
    EXPECT_EQ(campo(rows[5], 24), "ANULADO");
    EXPECT_EQ(campo(rows[5], 27), "admin");
    EXPECT_EQ(campo(rows[5], 25), "Cliente se fue");
    EXPECT_EQ(campo(rows[5], 26), "Cliente se fue");

    // The build ran with the hourglass and a live window, then handed over to the report.
    EXPECT_TRUE(host.pointers.contains(runtime::pointer::Hourglass));
    EXPECT_EQ(host.pointers.last(), runtime::pointer::Default);
    EXPECT_EQ(window.pb.value(), window.pb.max());
    EXPECT_EQ(window.pb.max(), 3); // the sales of the period, before qualification
    EXPECT_GE(host.doEventsCalls, 2);
    EXPECT_FALSE(window.cancelar.enabled());
    ASSERT_NE(framework::preview(), nullptr);
    EXPECT_TRUE(host.boxes.isEmpty());
    EXPECT_TRUE(errorLog().isEmpty());
}

TEST_F(QuenbrookEmptyTest, QualificationOfSales) {
    frmParametros& window = logIn();
    const Variant today = day(2026, 12, 3);
    const qint64 voided = fx.addSale(1, today, {{"estado", 3}});
    fx.addLine(voided, "Coca", 1, 300);
    const qint64 replaced = fx.addSale(1, today, {{"estado", 3}, {"reemplazadoporid", 99}});
    fx.addLine(replaced, "Coca", 1, 300);
    const qint64 plain = fx.addSale(1, today);
    fx.addLine(plain, "Flan", 1, 400);
    const qint64 open = fx.addSale(1, today, {{"estado", 1}});
    fx.addLine(open, "Flan", 1, 400);
    fx.addDeletion(open, "Flan", 1, 400);
    const qint64 noLines = fx.addSale(1, today, {{"estado", 3}});

    verListado(window);
    auto rows = tmpreport();
    // The voided sale: a header and its line as ANULADO. The replaced one is not selected, the
    // plain one does not qualify, the open one writes its items without a header, and the voided
    // sale without lines writes nothing.
    QStringList sales;
    for (const auto& row : rows)
        sales << campo(row, 1) + (row[17].isNull() ? "H" : "I");
    EXPECT_EQ(sales, QStringList({QString::number(voided) + "H", QString::number(voided) + "I",
                                  QString::number(open) + "I", QString::number(open) + "I"}));
    EXPECT_EQ(campo(rows[1], 24), "ANULADO");
    EXPECT_EQ(window.pb.max(), 4); // voided, plain, open, voided without lines: the replaced one is left out
    Q_UNUSED(noLines);

    // "Ver todas las ventas" takes the plain sale too.
    window.chkTodos.setValue(1);
    verListado(window);
    rows = tmpreport();
    EXPECT_EQ(rows.size(), 6);
    EXPECT_EQ(campo(rows[2], 1), QString::number(plain));
}

TEST_F(QuenbrookEmptyTest, DeletionsAfterTheTicketWithTheFirstFilter) {
    frmParametros& window = logIn();
    const Variant today = day(2026, 12, 3);
    const qint64 atTicket = fx.addSale(1, today, {{"SF_hora", time(12, 0)}});
    fx.addLine(atTicket, "Flan", 1, 400);
    fx.addDeletion(atTicket, "Flan", 1, 400, {{"HORA", time(12, 0)}});
    const qint64 secondLater = fx.addSale(1, today, {{"SF_hora", time(12, 0)}});
    fx.addLine(secondLater, "Flan", 1, 400);
    fx.addDeletion(secondLater, "Flan", 1, 400, {{"HORA", time(12, 0, 1)}});
    const qint64 noTicket = fx.addSale(1, today, {{"SF_hora", Variant::null()}});
    fx.addLine(noTicket, "Flan", 1, 400);
    fx.addDeletion(noTicket, "Flan", 1, 400, {{"HORA", time(8, 0)}});
    const qint64 noTime = fx.addSale(1, today);
    fx.addLine(noTime, "Flan", 1, 400);
    fx.addDeletion(noTime, "Flan", 1, 400, {{"HORA", Variant::null()}});

    // The filter alone, and the test underneath it.
    const double ticket = runtime::dateSerial(2026, 12, 3) + runtime::timeSerial(12, 0, 0);
    EXPECT_FALSE(TraeEliminado(atTicket, true, ticket));
    EXPECT_TRUE(TraeEliminado(secondLater, true, ticket));
    EXPECT_TRUE(TraeEliminado(noTicket, true, 0.0));
    EXPECT_FALSE(TraeEliminado(noTime, true, 0.0));
    EXPECT_TRUE(TraeEliminado(noTime, false, ticket));

    window.chkDelivery.setValue(1);
    verListado(window);
    QSet<QString> sales;
    for (const auto& row : tmpreport())
        sales << campo(row, 1);
    EXPECT_EQ(sales, QSet<QString>({QString::number(secondLater), QString::number(noTicket)}));
}

TEST_F(QuenbrookEmptyTest, MotivesCarriedFromItemRowsAndTheAuditSupplement) {
    frmParametros& window = logIn();
    const Variant today = day(2026, 12, 3);
    const qint64 sale = fx.addSale(1, today);
    fx.addDeletion(sale, "", 0, 0,
                   {{"HORA", time(10, 0)}, {"CANTIDAD", 1}, {"TIPO", "ITEM"}, {"MOTIVO", "Primero"}});
    fx.addDeletion(sale, "", 0, 0,
                   {{"HORA", time(10, 1)}, {"CANTIDAD", 1}, {"TIPO", "ITEM"}, {"MOTIVO", "Cliente apurado"}});
    fx.addDeletion(sale, "Flan", 1, 400, {{"HORA", time(10, 2)}, {"usuario", "beto"}});
    fx.addDeletion(sale, "Coca", 1, 300, {{"HORA", time(10, 3)}, {"usuario", Variant::null()}});
    fx.addLine(sale, "Agua", 1, 200, {{"HORA", time(10, 4)}});
    fx.addDeletion(sale, "", 0, 0,
                   {{"HORA", time(10, 5)}, {"CANTIDAD", 1}, {"TIPO", "ITEM"}, {"MOTIVO", "Sin uso"}});
    // Two identical deletions print once; a null type writes nothing.
    fx.addDeletion(sale, "Vino", 1, 900, {{"HORA", time(10, 6)}, {"usuario", "ana"}});
    fx.addDeletion(sale, "Vino", 1, 900, {{"HORA", time(10, 6)}, {"usuario", "ana"}});
    fx.addDeletion(sale, "Nada", 1, 1, {{"HORA", time(10, 7)}, {"TIPO", Variant::null()}});
    fx.insert("auditoria", {{"idventa", Variant(std::int64_t(sale))},
                            {"codigo", 21},
                            {"usuario", "admin"},
                            {"motivo", "Mesa equivocada"}});
    fx.insert("auditoria", {{"idventa", Variant(std::int64_t(sale))},
                            {"codigo", 21},
                            {"usuario", "otro"},
                            {"motivo", "Segundo"}});

    verListado(window);
    const auto rows = tmpreport();
    ASSERT_EQ(rows.size(), 5); // header, Flan, Coca, Agua, Vino
    EXPECT_EQ(campo(rows[1], 20), "Flan");
    EXPECT_EQ(campo(rows[1], 25), "Cliente apurado"); // the later of two ITEM rows
    EXPECT_EQ(campo(rows[1], 27), "beto");
    // Coca has neither user nor motive: the sale's first audit entry fills both, once per sale.
    EXPECT_EQ(campo(rows[2], 20), "Coca");
    EXPECT_EQ(campo(rows[2], 27), "admin");
    EXPECT_EQ(campo(rows[2], 25), "Mesa equivocada");
    EXPECT_EQ(campo(rows[3], 20), "Agua");
    EXPECT_EQ(campo(rows[3], 27), "");
    EXPECT_EQ(campo(rows[3], 25), "");
    // The last ITEM row's motive goes to the next written row.
    EXPECT_EQ(campo(rows[4], 20), "Vino");
    EXPECT_EQ(campo(rows[4], 25), "Sin uso");
}

TEST_F(QuenbrookEmptyTest, PeriodFromAShiftOrFromTheRange) {
    frmParametros& window = logIn();
    const qint64 inShift = fx.addSale(7, day(2026, 11, 20), {{"estado", 3}});
    fx.addLine(inShift, "Flan", 1, 400);
    const qint64 lastDay = fx.addSale(1, day(2026, 12, 4), {{"estado", 3}});
    fx.addLine(lastDay, "Flan", 1, 400);

    // A range whose first day lies after its last day selects nothing; the empty report still shows.
    setRange(window, day(2026, 12, 5), day(2026, 12, 4));
    verListado(window);
    EXPECT_TRUE(tmpreport().isEmpty());
    EXPECT_EQ(window.pb.max(), 100);
    EXPECT_EQ(window.pb.value(), 100);
    ASSERT_NE(framework::preview(), nullptr);

    // The default range reaches the sales of tomorrow.
    setRange(window, day(2026, 12, 3), day(2026, 12, 4));
    verListado(window);
    ASSERT_EQ(tmpreport().size(), 2);
    EXPECT_EQ(campo(tmpreport()[0], 1), QString::number(lastDay));

    // A chosen shift: the dates play no part.
    window.cmdTurno.setTag(QStringLiteral("7"));
    verListado(window);
    ASSERT_EQ(tmpreport().size(), 2);
    EXPECT_EQ(campo(tmpreport()[0], 1), QString::number(inShift));
}

TEST_F(QuenbrookEmptyTest, MissingCashDatesAreFilledBeforeTheBuild) {
    frmParametros& window = logIn();
    const qint64 shift = fx.addShift(5, day(2026, 12, 2), time(20, 0));
    const qint64 sale = fx.addSale(int(shift), day(2026, 12, 3), {{"fechacaja", Variant::null()}});
    verListado(window);
    EXPECT_EQ(
        fx.scalar(QStringLiteral("select fechacaja from ventas where idventa = %1").arg(sale)).toDouble(),
        runtime::dateSerial(2026, 12, 2));
}

TEST(QuenbrookQueries, SqlServerTextsOfTheBuild) {
    const QString sales = deletedItemsSalesQuery(QStringLiteral("1234"), 0, 0, true);
    EXPECT_EQ(
        sales,
        "SELECT ventas.Idventa, ventas.SF_hora, ventas.smesa, ventas.horaapertura, ventas.horacierre, "
        "ventas.estado, ventas.TIPOFACTURA, ventas.NUMEROTICKET, ventas.SF_total, ventas.facturasacada, "
        "ventas.facturaimpresa, ventas.estado, ventas.SF_FECHA, ventas.fecha, usuarios.apodo, ventas.tmesa  "
        "FROM (ventas LEFT JOIN mesas ON ventas.idmesa = mesas.Id) LEFT JOIN usuarios ON ventas.idusuario = "
        "usuarios.Id  where ventas.idsesion = 1234 and (ventas.reemplazadoporid = 0 or "
        "coalesce(ventas.reemplazadoporid,'') = '' or ventas.estado <> 3)  ORDER BY ventas.sf_fecha, "
        "ventas.sf_hora; ");
    EXPECT_EQ(
        deletedItemsDetailQuery(42, true),
        "SELECT  IDVENTA,  IDVENTADETAIL,  HORA,  CANTIDAD,  PRODUCTO,  IMPORTE, PREPARACION, DEMORA, TIPO, "
        "MOTIVO, usuario,2 as estado, idproducto  FROM Quenbrook WHERE  IDVENTA =  42  and cantidad > 0  "
        "Union "
        "SELECT  VENTASDETAIL.IDVENTA, MIN(VENTASDETAIL.IDVENTADETAIL) AS IDVENTADETAIL,  "
        "MAX(VENTASDETAIL.HORA) AS HORA, Sum(VENTASDETAIL.CANTIDAD) AS CANTIDAD,  "
        "VENTASDETAIL.NOMBREARTICULO "
        "AS PRODUCTO, VENTASDETAIL.MONTO AS IMPORTE, 0 AS PREPARACION, 0 AS DEMORA, 'ADIC' AS TIPO,  '' AS "
        "MOTIVO, '' as usuario,  estado, idproducto  From VENTASDETAIL  Where (((VENTASDETAIL.[idventa]) = "
        "42))  GROUP BY IDVENTA, NOMBREARTICULO, MONTO, VENTASDETAIL.IDVENTA, estado, idproducto  order by "
        "hora, tipo ");
    // The range form, with the Access literals.
    ProgramSession session;
    session.newDatabase();
    EXPECT_TRUE(
        deletedItemsSalesQuery(QString(), runtime::dateSerial(2026, 12, 3), runtime::dateSerial(2026, 12, 4),
                               false)
            .contains(
                " where ventas.fecha between #2026-12-03# and #2026-12-04# and "
                "(ventas.reemplazadoporid = 0 or isnull(ventas.reemplazadoporid) or ventas.estado <> 3) "));
    // A picker value after midnight moves the upper bound to the next day.
    EXPECT_TRUE(deletedItemsSalesQuery(QString(), 0,
                                       runtime::dateSerial(2026, 12, 4) + runtime::timeSerial(0, 1, 0), false)
                    .contains(" and #2026-12-05# "));
}

TEST_F(QuenbrookEmptyTest, NombreMesaAndTheAuditSupplement) {
    frmParametros& window = logIn();
    EXPECT_EQ(window.nombreMesa(Variant(0)).toText(), "");
    EXPECT_EQ(window.nombreMesa(Variant(1)).toText(), "T/");
    EXPECT_EQ(window.nombreMesa(Variant("2")).toText(), "D/");
    EXPECT_EQ(window.nombreMesa(Variant(3)).toText(), "-");
    EXPECT_EQ(window.nombreMesa(Variant(-1)).toText(), "-");
    EXPECT_EQ(window.nombreMesa(Variant::null()).toText(), "-");

    fx.insert("auditoria", {{"idventa", 9}, {"codigo", 20}, {"usuario", "x"}, {"motivo", "y"}});
    fx.insert("auditoria", {{"idventa", 9}, {"codigo", 21}, {"usuario", Variant::null()}, {"motivo", "m"}});
    QString usuario = QStringLiteral("antes");
    QString motivo = QStringLiteral("antes");
    window.traeSuplementoAuditoria(8, usuario, motivo);
    EXPECT_EQ(usuario, "antes");
    EXPECT_EQ(motivo, "antes");
    window.traeSuplementoAuditoria(9, usuario, motivo);
    EXPECT_EQ(usuario, "");
    EXPECT_EQ(motivo, "m");
}

TEST_F(QuenbrookEmptyTest, CancelStopsTheBuildAndASecondPressDoesNotNest) {
    frmParametros& window = logIn();
    const Variant today = day(2026, 12, 3);
    QList<qint64> sales;
    for (int i = 0; i < 5; ++i) {
        sales << fx.addSale(1, today, {{"estado", 3}, {"SF_hora", time(12, i)}});
        fx.addLine(sales.last(), "Flan", 1, 400);
    }
    // While the first sale's header is written, the user presses "Ver Listado" again and then "Cancelar".
    int pumps = 0;
    host.onDoEvents = [&] {
        if (++pumps != 1) return;
        EXPECT_TRUE(window.cancelar.enabled());
        EXPECT_TRUE(window.building());
        EXPECT_TRUE(user::click(window.cmdVerListado.widget()));
        EXPECT_TRUE(user::click(window.cancelar.widget()));
    };
    verListado(window);
    host.onDoEvents = nullptr;
    const auto rows = tmpreport();
    ASSERT_EQ(rows.size(), 2); // the sale in hand is finished, nothing after it
    EXPECT_EQ(campo(rows[0], 1), QString::number(sales[0]));
    EXPECT_EQ(pumps, 1);
    EXPECT_TRUE(!framework::preview() || !framework::preview()->isVisible());
    EXPECT_FALSE(window.cancelar.enabled());
    EXPECT_EQ(host.pointers.last(), runtime::pointer::Default);

    // The next build runs whole.
    verListado(window);
    EXPECT_EQ(tmpreport().size(), 10);
}

// Two builds on one installation: another program or workstation (a connection of its own on
// spooler.mdb) has emptied tmpreport and written its rows, its build still running. This build
// waits for it under the hourglass with the window live, then runs, and holds tmpreport until
// its report has read it back, whichever journal mode the file is in.
TEST_F(QuenbrookEmptyTest, ABuildWaitsForAnotherBuildAndHoldsTmpreportUntilItsReportHasReadIt) {
    const qint64 sale = fx.addSale(1, day(2026, 12, 3), {{"estado", 3}});
    fx.addLine(sale, "Flan", 1, 400);
    for (const bool rollbackJournal : {false, true}) {
        SCOPED_TRACE(rollbackJournal ? "rollback journal" : "WAL");
        if (rollbackJournal) fx.inRollbackJournal(fx.spoolerFile());
        frmParametros& window = logIn();

        data::ConnectionPtr other = posdb::openJet(fx.spoolerFile());
        auto otherBuild = std::make_unique<data::CommitScope>(other);
        other->execute("Delete from tmpreport");
        other->execute("insert into tmpreport (campo1, campo20) values (900, 'Otro programa')");

        int waits = 0;
        host.onDoEvents = [&] {
            if (!otherBuild || ++waits < 3) return;
            EXPECT_EQ(runtime::mousePointer(), runtime::pointer::Hourglass);
            EXPECT_TRUE(window.cancelar.enabled());
            otherBuild.reset(); // the other build ends
        };
        // Between the build and its report (the hourglass gone), a third build tries to start.
        bool tried = false;
        bool slippedIn = false;
        host.onPointer = [&](int pointer) {
            if (pointer != runtime::pointer::Default || !window.building() || std::exchange(tried, true))
                return;
            data::CommitScope third;
            if (!third.tryBeginWrite(other, std::chrono::milliseconds(0))) return;
            slippedIn = true;
            other->execute("Delete from tmpreport");
            other->execute("insert into tmpreport (campo1, campo20) values (901, 'Intruso')");
        };
        verListado(window);
        host.onDoEvents = nullptr;
        host.onPointer = nullptr;

        EXPECT_EQ(waits, 3);
        EXPECT_TRUE(tried);
        EXPECT_FALSE(slippedIn);
        const auto rows = tmpreport();
        ASSERT_EQ(rows.size(), 2);
        EXPECT_EQ(campo(rows[0], 1), QString::number(sale));
        EXPECT_EQ(campo(rows[1], 20), "Flan");
        const QStringList texts = allTexts(framework::report<ActiveReport1>().pages());
        EXPECT_TRUE(texts.contains("Flan"));
        EXPECT_FALSE(texts.contains("Otro programa") || texts.contains("Intruso"));
        EXPECT_TRUE(host.boxes.isEmpty());
        EXPECT_FALSE(host.ended);

        // Once this build is done with it, the others build.
        data::CommitScope next;
        EXPECT_TRUE(next.tryBeginWrite(other, std::chrono::milliseconds(0)));
        next.commit();
        restart();
    }
}

// While another build holds tmpreport, "Cancelar" stops the wait, and a wait that runs out says
// so; the window stays either way and the other build's rows are left alone.
TEST_F(QuenbrookEmptyTest, WaitingForTmpreportCanBeCancelledAndRunsOutWithAMessage) {
    frmParametros& window = logIn();
    const qint64 sale = fx.addSale(1, day(2026, 12, 3), {{"estado", 3}});
    fx.addLine(sale, "Flan", 1, 400);
    data::ConnectionPtr other = posdb::openJet(fx.spoolerFile());
    data::CommitScope otherBuild(other);
    other->execute("insert into tmpreport (campo1, campo20) values (900, 'Otro programa')");
    const double progress = window.pb.value();

    const auto stoppedWaiting = [&] {
        EXPECT_FALSE(host.ended);
        EXPECT_TRUE(window.visible());
        EXPECT_FALSE(window.building());
        EXPECT_FALSE(window.cancelar.enabled());
        EXPECT_EQ(host.pointers.last(), runtime::pointer::Default);
        EXPECT_EQ(window.pb.value(), progress);
        EXPECT_TRUE(!framework::preview() || !framework::preview()->isVisible());
    };
    int pumps = 0;
    host.onDoEvents = [&] {
        if (++pumps == 2) {
            EXPECT_TRUE(user::click(window.cancelar.widget()));
        }
    };
    verListado(window);
    host.onDoEvents = nullptr;
    EXPECT_EQ(pumps, 2);
    EXPECT_TRUE(host.boxes.isEmpty());
    stoppedWaiting();

    window.tmpreportWait = std::chrono::milliseconds(100);
    verListado(window);
    ASSERT_EQ(host.boxes.size(), 1);
    EXPECT_EQ(host.boxes[0].text, frmParametros::TmpreportBusyMessage);
    EXPECT_EQ(host.boxes[0].icon(), runtime::mb::Exclamation);
    EXPECT_EQ(host.boxes[0].caption, "Quenbrook");
    stoppedWaiting();

    otherBuild.commit();
    ASSERT_EQ(tmpreport().size(), 1);
    EXPECT_EQ(campo(tmpreport()[0], 20), "Otro programa");
    verListado(window);
    EXPECT_EQ(tmpreport().size(), 2);
}

// "Salir" pressed while a build writes its rows, or while its report makes its pages, ends the
// program there: the build's writes are dropped, tmpreport keeps the last whole build, and both
// files stay whole.
TEST_F(QuenbrookEmptyTest, SalirDuringABuildOrItsReportEndsTheProgramLeavingBothFilesWhole) {
    const Variant today = day(2026, 12, 3);
    for (int i = 0; i < 5; ++i)
        fx.addLine(fx.addSale(1, today, {{"estado", 3}, {"SF_hora", time(12, i)}}), "Flan", 1, 400);
    for (const bool inReport : {false, true}) {
        SCOPED_TRACE(inReport ? "in the report" : "in the build");
        frmParametros& window = logIn();
        verListado(window);
        const QStringList whole = tmpreportTexts(tmpreport());
        ASSERT_GE(whole.size(), 10);

        // The next build: the user leaves at its second sale, or as its report begins.
        int pumps = 0;
        // The click is dispatched as the loop dispatches it, at the top level.
        const auto salir = [&] {
            forms::NestedDispatch dispatch;
            EXPECT_TRUE(user::click(window.cmdSalir.widget()));
        };
        host.onDoEvents = [&] {
            if (!inReport && ++pumps == 2) salir();
        };
        host.onDoExitEvents = [&] {
            if (inReport) salir();
        };
        fx.addLine(fx.addSale(1, today, {{"estado", 3}}), "Coca", 1, 300);
        const int exitPumps = host.doExitEventsCalls;
        verListado(window);
        host.onDoEvents = nullptr;
        host.onDoExitEvents = nullptr;

        EXPECT_TRUE(runtime::hasEnded());
        EXPECT_EQ(pumps, inReport ? 0 : 2);
        EXPECT_EQ(host.doExitEventsCalls - exitPumps, inReport ? 1 : 0);
        EXPECT_EQ(gDB->spooler, nullptr);
        EXPECT_EQ(tmpreportTexts(tmpreport()), whole);
        EXPECT_EQ(integrityCheck(fx.spoolerFile()), "ok");
        EXPECT_EQ(integrityCheck(fx.mainFile()), "ok");

        restart();
    }
}

TEST_F(QuenbrookTest, AShiftChosenInTheChooserSetsThePeriod) {
    frmParametros& window = logIn();
    // The user opens the chooser, searches 1 to 2 December, picks the oldest shift listed (turn 101) and
    // accepts.
    QTimer::singleShot(0, [] {
        frmSeleccionaTurno& chooser = forms::instance<frmSeleccionaTurno>();
        chooser.DTPicker1.setValue(day(2026, 12, 1));
        chooser.DTPicker2.setValue(day(2026, 12, 2));
        EXPECT_TRUE(user::click(chooser.cmdTurno.widget()));
        ASSERT_EQ(chooser.grdTurnos.rows(), 4); // turns 103 (still open), 102, 101
        EXPECT_EQ(chooser.grdTurnos.textMatrix(3, 1), "101");
        EXPECT_TRUE(user::clickCell(chooser.grdTurnos, 3, 1));
        EXPECT_TRUE(user::click(chooser.cmdOk.widget()));
    });
    EXPECT_TRUE(user::click(window.cmdTurno.widget()));
    EXPECT_EQ(window.cmdTurno.tag(), "1");
    EXPECT_EQ(window.mNroTurno, 101);
    EXPECT_FALSE(window.Frame1.enabled());
    EXPECT_TRUE(window.lblAperturaTurno.visible());

    // The dates say 3 to 4 December, but the shift rules: its sales 1 and 2 are reported.
    verListado(window);
    QStringList sales;
    for (const auto& row : tmpreport())
        if (row[17].isNull()) sales << campo(row, 1);
    EXPECT_EQ(sales, QStringList({"1", "2"}));
}

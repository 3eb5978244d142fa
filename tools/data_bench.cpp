// Prints the cost of the data layer's work in a report build: small per-sale queries (against
// the same query on raw SQLite), the detail query of a sale, and rows added to tmpreport.

#include "data/Recordset.h"
#include "tests/support/PosFixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <sqlite3.h>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    PosFixture pos;
    auto db = pos.db();
    const int sales = 2000;
    for (int i = 0; i < sales; ++i)
        pos.addDeletion(i, QStringLiteral("Muzzarella"), 1, 500);

    const int queries = 20000;
    QElapsedTimer timer;
    timer.start();
    long layerRows = 0;
    for (int i = 0; i < queries; ++i) {
        data::Recordset rs;
        rs.open(QStringLiteral("select * from Quenbrook where idventa = ") + QString::number(i % sales), db);
        for (; !rs.eof(); rs.moveNext())
            layerRows += rs.fields(0).value().isNull() ? 0 : 1;
        rs.close();
    }
    const double layer = timer.nsecsElapsed() / 1e3 / queries;

    sqlite3* raw = nullptr;
    sqlite3_open_v2(pos.mainFile().toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(raw, "select * from Quenbrook where idventa = ?", -1, &stmt, nullptr);
    timer.restart();
    long rawRows = 0;
    for (int i = 0; i < queries; ++i) {
        sqlite3_bind_int(stmt, 1, i % sales);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(stmt); ++c)
                sqlite3_column_value(stmt, c);
            ++rawRows;
        }
        sqlite3_reset(stmt);
    }
    const double rawCost = timer.nsecsElapsed() / 1e3 / queries;
    sqlite3_finalize(stmt);
    sqlite3_close(raw);
    std::printf("per-sale query (%d texts, %ld rows): data layer %.1f us, raw SQLite %.1f us\n", queries,
                layerRows, layer, rawCost);

    const QString detail = QStringLiteral(
        "SELECT  IDVENTA, IDVENTADETAIL, HORA, CANTIDAD, PRODUCTO, IMPORTE, PREPARACION, DEMORA, TIPO, "
        "MOTIVO, "
        "usuario,2 as estado, idproducto FROM Quenbrook WHERE  IDVENTA =  %1  and cantidad > 0  Union  "
        "SELECT "
        "VENTASDETAIL.IDVENTA, First(VENTASDETAIL.IDVENTADETAIL) AS PrimeroDeIDVENTADETAIL, "
        "Last(VENTASDETAIL.HORA) "
        "AS ÚltimoDeHORA, Sum(VENTASDETAIL.CANTIDAD) AS SumaDeCANTIDAD, VENTASDETAIL.NOMBREARTICULO, "
        "VENTASDETAIL.MONTO, 0 AS Expr1, 0 AS Expr2, 'ADIC' AS Expr3, '' AS Expr4,'' as usuario, estado, "
        "idproducto  "
        "From VENTASDETAIL where (((VENTASDETAIL.[IDVENTA])=%1)) GROUP BY VENTASDETAIL.IDVENTA, "
        "VENTASDETAIL.NOMBREARTICULO, VENTASDETAIL.MONTO, 0, 0, 'ADIC', '', VENTASDETAIL.[IDVENTA], estado, "
        "idproducto  order by hora, tipo ;");
    const int details = 5000;
    timer.restart();
    for (int i = 0; i < details; ++i) {
        data::Recordset rs;
        rs.open(detail.arg(1 + i % 4), db);
        rs.close();
    }
    std::printf("detail query of a sale: %.1f us\n", timer.nsecsElapsed() / 1e3 / details);

    const int rows = 10000;
    data::Recordset scratch;
    scratch.open(QStringLiteral("select * from tmpReport"), pos.spooler(), data::adOpenStatic,
                 data::adLockOptimistic);
    timer.restart();
    for (int i = 0; i < rows; ++i) {
        scratch.addNew();
        for (int c = 0; c < 28; ++c)
            scratch.fields(c).setValue(i);
        scratch.update();
    }
    std::printf("tmpreport row of 28 fields added: %.1f us\n", timer.nsecsElapsed() / 1e3 / rows);
    return 0;
}

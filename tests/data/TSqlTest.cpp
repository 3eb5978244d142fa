// The SQL Server texts of the programs on the embedded engine of the SQL Server kind, on a copy
// of the fixture's database as a server stores it, beside the Access texts on the Jet file.

#include "data/Recordset.h"
#include "framework/funciones.h"
#include "runtime/DateSerial.h"
#include "runtime/RuntimeError.h"
#include "support/LocaleScope.h"
#include "support/PosFixture.h"

#include <gtest/gtest.h>

using runtime::Variant;
using Rows = QVector<QVector<Variant>>;

namespace {

QDateTime moment(const Variant& v) {
    return runtime::toDateTime(v.toDate());
}

// Rows as texts, to compare them.
QStringList texts(const Rows& rows) {
    QStringList out;
    for (const auto& row : rows) {
        QStringList cells;
        for (const Variant& v : row)
            cells << v.toText();
        out << cells.join('|');
    }
    return out;
}

class TSqlEngine : public ::testing::Test {
protected:
    TSqlEngine() : m_locale("es_AR.UTF-8") {
        jet = posdb::openJet(pos.mainFile());
        copy();
    }
    // The server's copy of the fixture's database as it is now.
    void copy() {
        if (cn) cn->close();
        posdb::copyAsSqlServer(pos.mainFile(), file);
        cn = std::make_shared<data::Connection>();
        cn->setCursorLocation(data::adUseClient);
        cn->open(posdb::sqlServerConnectionString(file));
    }
    Rows query(const QString& sql) { return pos.rows(sql, cn); }
    QVector<long> ids(const QString& sql, data::ConnectionPtr on) {
        QVector<long> result;
        for (const auto& row : pos.rows(sql, on))
            result.append(row[0].toLong());
        return result;
    }

    LocaleScope m_locale;
    PosFixture pos;
    QString file = pos.root() + QStringLiteral("/db/pos.mdf");
    data::ConnectionPtr jet, cn;
};

QString detailOfSale(bool sqlServer, int id) {
    const QString n = QString::number(id);
    if (sqlServer)
        return "SELECT  IDVENTA,  IDVENTADETAIL,  HORA,  CANTIDAD,  PRODUCTO,  IMPORTE, PREPARACION, DEMORA, "
               "TIPO, "
               "MOTIVO, usuario,2 as estado, idproducto  FROM Quenbrook WHERE  IDVENTA =  " +
               n +
               "  and cantidad > 0  Union SELECT  VENTASDETAIL.IDVENTA, MIN(VENTASDETAIL.IDVENTADETAIL) AS "
               "IDVENTADETAIL,  MAX(VENTASDETAIL.HORA) AS HORA, Sum(VENTASDETAIL.CANTIDAD) AS CANTIDAD,  "
               "VENTASDETAIL.NOMBREARTICULO AS PRODUCTO, VENTASDETAIL.MONTO AS IMPORTE, 0 AS PREPARACION, 0 "
               "AS "
               "DEMORA, 'ADIC' AS TIPO,  '' AS MOTIVO, '' as usuario,  estado, idproducto  From VENTASDETAIL "
               " Where "
               "(((VENTASDETAIL.[idventa]) = " +
               n +
               "))  GROUP BY IDVENTA, NOMBREARTICULO, MONTO, VENTASDETAIL.IDVENTA, estado, idproducto  order "
               "by hora, tipo ";
    return "SELECT  IDVENTA, IDVENTADETAIL, HORA, CANTIDAD, PRODUCTO, IMPORTE, PREPARACION, DEMORA, TIPO, "
           "MOTIVO, "
           "usuario,2 as estado, idproducto FROM Quenbrook WHERE  IDVENTA =  " +
           n +
           "  and cantidad > 0  Union  SELECT VENTASDETAIL.IDVENTA, First(VENTASDETAIL.IDVENTADETAIL) AS "
           "PrimeroDeIDVENTADETAIL, Last(VENTASDETAIL.HORA) AS ÚltimoDeHORA, Sum(VENTASDETAIL.CANTIDAD) AS "
           "SumaDeCANTIDAD, VENTASDETAIL.NOMBREARTICULO, VENTASDETAIL.MONTO, 0 AS Expr1, 0 AS Expr2, 'ADIC' "
           "AS "
           "Expr3, '' AS Expr4,'' as usuario, estado, idproducto  From VENTASDETAIL where "
           "(((VENTASDETAIL.[IDVENTA])=" +
           n +
           ")) GROUP BY VENTASDETAIL.IDVENTA, VENTASDETAIL.NOMBREARTICULO, VENTASDETAIL.MONTO, 0, 0, 'ADIC', "
           "'', "
           "VENTASDETAIL.[IDVENTA], estado, idproducto  order by hora, tipo ;";
}

} // namespace

TEST_F(TSqlEngine, TextLiteralsTakeTheTypeOfTheColumnTheyMeet) {
    // The login record: a day and a time of day on SQL Server's day 0.
    cn->execute("insert into UsuariosPasadas (idusuario, fecha, hora) values (5,'20261208','17:45:03')");
    const Rows login = query("select fecha, hora from UsuariosPasadas");
    ASSERT_EQ(login.size(), 1);
    EXPECT_TRUE(login[0][0].isDate());
    EXPECT_EQ(moment(login[0][0]), QDateTime(QDate(2026, 12, 8), QTime(0, 0)));
    EXPECT_EQ(moment(login[0][1]), QDateTime(QDate(1900, 1, 1), QTime(17, 45, 3)));

    // The shift list: datetime + datetime is the moment, compared with 'yyyymmdd'.
    const QString shifts =
        "SELECT sesion.Idsesion, [sesion].[fechaapertura]+[sesion].[horaapertura] AS Apertura, "
        "[sesion].[fechacierre]+[sesion].[horacierre] AS Cierre FROM sesion Where "
        "((([sesion].[fechaapertura] + "
        "[sesion].[horaapertura]) >= '20261201') And (([sesion].[fechaapertura] + [sesion].[horaapertura]) "
        "<= "
        "'20261202')) Or ((([sesion].[fechacierre] + [sesion].[horacierre]) Is Null))  ORDER BY "
        "[sesion].[fechaapertura]+[sesion].[horaapertura] DESC;";
    const Rows rows = query(shifts);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0][0].toLong(), 3);
    EXPECT_TRUE(rows[1][1].isDate());
    EXPECT_EQ(moment(rows[1][1]), QDateTime(QDate(2026, 12, 1), QTime(16, 0)));
    EXPECT_EQ(moment(rows[1][2]), QDateTime(QDate(2026, 12, 2), QTime(0, 30)));

    // A sale replaced by nothing: coalesce(int, '') = '' holds for Null and for 0 on SQL Server,
    // where isnull() holds for Null alone on Access.
    const qint64 unreplaced =
        pos.addSale(1, posdb::day(2026, 12, 1), {{"reemplazadoporid", Variant::null()}});
    copy();
    EXPECT_EQ(
        ids("select idventa from ventas where coalesce(ventas.reemplazadoporid,'') = '' order by 1", cn),
        QVector<long>({1, 2, 3, 4, long(unreplaced)}));
    EXPECT_EQ(ids("select idventa from ventas where isnull(ventas.reemplazadoporid) order by 1", jet),
              QVector<long>({long(unreplaced)}));
    // A text that is no date fails the statement as the server does.
    EXPECT_THROW(query("select idventa from ventas where fecha = '2026-13-01'"), runtime::RuntimeError);
}

TEST_F(TSqlEngine, DetailTakesSmallestIdAndLatestTimeWhereAccessTakesFirstAndLast) {
    // Two Fugazzeta lines stored latest time first.
    const qint64 later = pos.addLine(3, "Fugazzeta", 1, 700, {{"HORA", posdb::time(20, 40)}});
    pos.addLine(3, "Fugazzeta", 1, 700, {{"HORA", posdb::time(20, 10)}});
    copy();
    auto fugazzeta = [](const Rows& rows) {
        for (const auto& row : rows)
            if (row[4].toText() == "Fugazzeta") return row;
        return QVector<Variant>();
    };
    const auto server = fugazzeta(query(detailOfSale(true, 3)));
    const auto access = fugazzeta(pos.rows(detailOfSale(false, 3), jet));
    ASSERT_FALSE(server.isEmpty());
    ASSERT_FALSE(access.isEmpty());
    EXPECT_EQ(server[1].toLong(), later);
    EXPECT_EQ(access[1].toLong(), later);
    EXPECT_EQ(runtime::toTime(server[2].toDate()), QTime(20, 40)); // MAX
    EXPECT_EQ(runtime::toTime(access[2].toDate()), QTime(20, 10)); // Last in stored order
    EXPECT_EQ(server[3].toDouble(), 2);
    EXPECT_EQ(access[3].toDouble(), 2);
}

TEST_F(TSqlEngine, SalesPerDishAgreeWithTheAccessText) {
    const QString from =
        " FROM ((ventas INNER JOIN ventasDetail ON ventas.Idventa = ventasDetail.idventa) left JOIN "
        "productos ON "
        "ventasDetail.idproducto = productos.Id) left JOIN rubros ON productos.idrubro = rubros.IdR  Where "
        "ventas.estado <> 3  and (ventasdetail.idproducto > 0 or ventasdetail.idproducto in "
        "(-5,-36,-35,-7,-6))  and "
        "ventas.sf_fecha between %1 and %2 and (ventasdetail.noimprimir is null or (ventasdetail.monto<>0 "
        "and "
        "ventasdetail.noimprimir<>1))  and ventasdetail.idproducto<>-7 ";
    const QString server =
        "SELECT CONVERT(date, ventasdetail.fecha) as x_fecha, DATEPART(hour,ventasdetail.hora) AS x_hora, "
        "ventasDetail.NombreArticulo, Sum(CASE WHEN CHARINDEX('N',tipofactura)>0 THEN -VENTASDETAIL.CANTIDAD "
        "ELSE "
        "VENTASDETAIL.CANTIDAD END) AS SumOfcantidad, ventasDetail.monto, [monto]*Sum(CASE WHEN "
        "CHARINDEX('N',tipofactura)>0 THEN -VENTASDETAIL.CANTIDAD ELSE VENTASDETAIL.CANTIDAD END) AS imp " +
        from.arg("'20261201'", "'20261202'") +
        " GROUP BY CONVERT(date, ventasdetail.fecha), DATEPART(hour,ventasdetail.hora), "
        "ventasDetail.NombreArticulo, ventasDetail.monto  ORDER BY CONVERT(date, ventasdetail.fecha), "
        "DATEPART(hour,ventasdetail.hora), NombreArticulo ";
    const QString access =
        "SELECT DateValue(ventasdetail.fecha) as x_fecha, hour(ventasdetail.hora) AS x_hora, "
        "ventasDetail.NombreArticulo, Sum(iif(instr(1, tipofactura, 'N'), -ventasDetail.cantidad, "
        "ventasDetail.cantidad)) AS SumOfcantidad, ventasDetail.monto, [monto]*[SumOfcantidad] AS imp " +
        from.arg("#2026-12-01#", "#2026-12-02#") +
        " GROUP BY DateValue(ventasdetail.fecha), hour(ventasdetail.hora), ventasDetail.NombreArticulo, "
        "ventasDetail.monto  ORDER BY DateValue(ventasdetail.fecha), hour(ventasdetail.hora), "
        "ventasDetail.NombreArticulo ";
    const Rows rows = query(server);
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_EQ(texts(rows), texts(pos.rows(access, jet)));
    EXPECT_TRUE(rows[0][0].isDate());
}

TEST_F(TSqlEngine, AFunctionIsCreatedOnce) {
    const QString create =
        "CREATE FUNCTION [dbo].[FirstWord] (@value varchar(max)) \r\nRETURNS VarChar(Max)\r\nAS\r\n"
        "BEGIN\r\n    RETURN CASE CHARINDEX(',', @value, 1)\r\n        WHEN 0 THEN @value\r\n"
        "        ELSE SUBSTRING(@value, 1, CHARINDEX(',', @value, 1) - 1) END\r\nEnd\r\n";
    cn->execute(create);
    try {
        cn->execute(create);
        FAIL() << "a second creation must fail";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.description(), "There is already an object named 'FirstWord' in the database.");
    }
}

TEST_F(TSqlEngine, AccessSyntaxAndOtherStatementsAreRefused) {
    const struct {
        const char* sql;
        const char* message;
    } cases[] = {
        {"select apellidos & ' ' & nombres as cliente from ventas", "'&' operator"},
        {"select idventa from ventas where val(numeroticket) >= 0", "'val' is not a recognized"},
        {"select idventa from ventas where isnull(tmesa)", "requires 2 argument"},
        {"select idventa from ventas where sf_hora between #20:00:00# and #23:59:59#", "near '#'"},
        {"select idventa from ventas where fecha = #1980-01-01#", "near '#'"},
        {"select First(idventa) from ventas", "'First' is not a recognized"},
        {"select CONVERT(varchar, fecha) from ventas", "CONVERT"},
        {"select id from productos where idrubro in ()", "in ()"},
        {"drop table ventas", "CREATE FUNCTION only"},
    };
    for (const auto& c : cases) {
        try {
            cn->execute(c.sql);
            ADD_FAILURE() << c.sql;
        } catch (const runtime::RuntimeError& e) {
            EXPECT_TRUE(e.description().contains(c.message))
                << c.sql << ": " << e.description().toStdString();
        }
    }
    EXPECT_EQ(pos.scalar("select count(*) from ventas").toLong(), 4);
}

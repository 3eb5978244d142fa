#include "sales_by_dish/ReportTexts.h"

#include "framework/ProgramSession.h"
#include "framework/clsDataBase.h"
#include "runtime/DateSerial.h"
#include "support/LocaleScope.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using dorrindale::Choice;
using dorrindale::reportTexts;

namespace {

// The SQL Server texts, piece by piece as the report's queries are specified.
QString sqlServerMain(const QString& periodFilter, const QString& c) {
    return QString(
               "SELECT CONVERT(date, ventasdetail.fecha) as x_fecha, DATEPART(hour,ventasdetail.hora) AS "
               "x_hora, "
               "ventasDetail.NombreArticulo, Sum(CASE WHEN CHARINDEX('N',tipofactura)>0 THEN "
               "-VENTASDETAIL.CANTIDAD ELSE VENTASDETAIL.CANTIDAD END) AS SumOfcantidad, ventasDetail.monto, "
               "[monto]*Sum(CASE WHEN CHARINDEX('N',tipofactura)>0 THEN -VENTASDETAIL.CANTIDAD ELSE "
               "VENTASDETAIL.CANTIDAD END) AS imp ") +
           " FROM ((ventas INNER JOIN ventasDetail ON ventas.Idventa = ventasDetail.idventa) left JOIN "
           "productos "
           "ON ventasDetail.idproducto = productos.Id) left JOIN rubros ON productos.idrubro = rubros.IdR " +
           " Where ventas.estado <> 3 " + periodFilter + c +
           " and (ventasdetail.noimprimir is null or (ventasdetail.monto<>0 and "
           "ventasdetail.noimprimir<>1)) " +
           " and ventasdetail.idproducto<>-7 " +
           " GROUP BY CONVERT(date, ventasdetail.fecha), DATEPART(hour,ventasdetail.hora), "
           "ventasDetail.NombreArticulo, ventasDetail.monto " +
           " ORDER BY CONVERT(date, ventasdetail.fecha), DATEPART(hour,ventasdetail.hora), NombreArticulo ";
}

QString sqlServerDiscounts(const QString& where, const QString& d) {
    return QString(" SELECT ventas.sf_fecha, Sum(CASE WHEN CHARINDEX('N',tipofactura)>0 THEN "
                   "-VENTASDETAIL.CANTIDAD "
                   "ELSE VENTASDETAIL.CANTIDAD END) AS SumaDecantidad, Sum(ventasDetail.monto) as Monto") +
           " FROM ((ventasDetail LEFT JOIN ventas ON ventasDetail.idventa = ventas.Idventa) left JOIN "
           "productos ON "
           "ventasDetail.idproducto = productos.Id) left JOIN rubros ON productos.idrubro = rubros.IdR " +
           where + " and ventasdetail.idproducto =-7 " + d + " AND ventas.estado <> 3" +
           " group by ventas.sf_fecha ";
}

QString observations(const QString& filter) {
    return QString("SELECT ") + "SUM(VentasDetail.CANTIDAD) AS qty, " + "VentasDetailObservaciones.PRECIO, " +
           "VentasDetailObservaciones.concepto " + "FROM " + "( VentasDetailObservaciones " +
           "INNER JOIN VENTASDETAIL ON (VENTASDETAIL.IDVENTADETAIL = "
           "VentasDetailObservaciones.IDVENTADETAIL) )" +
           "INNER JOIN VENTAS ON VENTASDETAIL.IDVENTA = VENTAS.IDVENTA " + "WHERE " + filter + " GROUP BY " +
           "VentasDetailObservaciones.idobservacion, " + "VentasDetailObservaciones.PRECIO, " +
           "VentasDetailObservaciones.concepto";
}

class ReportTextsTest : public ::testing::Test {
protected:
    Choice range() const {
        Choice c;
        c.allProducts = true;
        c.desde = runtime::dateSerial(2026, 3, 1);
        c.hasta = runtime::dateSerial(2026, 3, 2);
        return c;
    }

    framework::ProgramSession session;
    framework::clsDataBase& db = session.newDatabase();
};

} // namespace

TEST_F(ReportTextsTest, SqlServerTextsOfARangeOfDaysAreTheSpecifiedOnes) {
    LocaleScope locale("es_AR.UTF-8");
    db.isMSSQL = true;
    const auto t = reportTexts(range());
    const QString all =
        " and (ventasdetail.idproducto > 0 or ventasdetail.idproducto in (-5,-36,-35,-7,-6)) ";
    EXPECT_EQ(t.productFilter, all);
    EXPECT_EQ(t.periodFilter, all + " and ventas.sf_fecha between '20260301' and '20260302'");
    EXPECT_EQ(t.title, "Este informe comprende datos desde 1/3/2026 hasta 2/3/2026");
    EXPECT_EQ(t.mainQuery, sqlServerMain(t.periodFilter, ""));
    EXPECT_EQ(t.discountQuery,
              sqlServerDiscounts(" WHERE (((ventas.sf_fecha) Between '20260301' And '20260302')) ", ""));
    EXPECT_EQ(t.observationsQuery, observations(" ventas.sf_fecha between '20260301' and '20260302'"));
    EXPECT_TRUE(t.hasProducts);

    EXPECT_EQ(
        dorrindale::firstWordFunction(),
        "CREATE FUNCTION [dbo].[FirstWord] (@value varchar(max)) \r\nRETURNS VarChar(Max)\r\nAS\r\nBEGIN\r\n"
        "    RETURN CASE CHARINDEX(',', @value, 1)\r\n        WHEN 0 THEN @value\r\n"
        "        ELSE SUBSTRING(@value, 1, CHARINDEX(',', @value, 1) - 1) END\r\nEnd\r\n");
}

TEST_F(ReportTextsTest, SqlServerTextsOfAShiftWithChosenDishesAndCategorisation) {
    LocaleScope locale("en_US.UTF-8");
    db.isMSSQL = true;
    Choice c = range();
    c.allProducts = false;
    c.dishes = "10,20";
    c.tag = "7";
    c.shiftNumber = 102;
    c.apertura = "01/12/26 16:00";
    c.cierre = "";
    c.categorizacion = true;
    const auto t = reportTexts(c);
    EXPECT_EQ(t.productFilter, " and ventasdetail.idproducto in (10,20,-5,-36,-35,-7,-6)");
    EXPECT_EQ(t.periodFilter, t.productFilter + " and ventas.idsesion = 7");
    EXPECT_EQ(t.title, "Este informe comprende datos del turno 102, desde 01/12/26 16:00 hasta ");
    EXPECT_EQ(t.mainQuery, sqlServerMain(t.periodFilter, " AND ventas.tipofactura <> 'X'"));
    // The discounts follow the chosen shift, not the hidden dates.
    EXPECT_EQ(t.discountQuery,
              sqlServerDiscounts(" WHERE (((ventas.idsesion) = 7)) ", " and ventas.TIPOFACTURA <> 'X' "));
    EXPECT_EQ(t.observationsQuery, observations(" idsesion = 7"));
}

TEST_F(ReportTextsTest, AccessTextsWriteDatesAsJetLiteralsAndNoDishSelectsNothing) {
    LocaleScope locale("en_US.UTF-8");
    Choice c = range();
    EXPECT_TRUE(reportTexts(c).discountQuery.contains(
        " WHERE (((ventas.sf_fecha) Between #2026-03-01# And #2026-03-02#)) "));
    EXPECT_TRUE(reportTexts(c).mainQuery.startsWith("SELECT DateValue(ventasdetail.fecha) as x_fecha"));
    EXPECT_EQ(reportTexts(c).title, "Este informe comprende datos desde 3/1/2026 hasta 3/2/2026");
    c.allProducts = false;
    c.tag = "0";
    EXPECT_FALSE(reportTexts(c).hasProducts);
}

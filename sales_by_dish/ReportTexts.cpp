#include "ReportTexts.h"

#include "framework/clsDataBase.h"
#include "framework/funciones.h"
#include "runtime/Regional.h"
#include "runtime/Variant.h"

using namespace framework;

namespace dorrindale {
using runtime::Variant;

namespace {

const QString FixedProducts = QStringLiteral("-5,-36,-35,-7,-6");

const QString MainFrom = QStringLiteral(
    " FROM ((ventas INNER JOIN ventasDetail ON ventas.Idventa = ventasDetail.idventa) left JOIN productos ON "
    "ventasDetail.idproducto = productos.Id) left JOIN rubros ON productos.idrubro = rubros.IdR ");

const QString MainTail = QStringLiteral(
    " and (ventasdetail.noimprimir is null or (ventasdetail.monto<>0 and ventasdetail.noimprimir<>1)) "
    " and ventasdetail.idproducto<>-7 ");

QString mainQuery(const QString& periodFilter, const QString& c, bool isMSSQL) {
    if (isMSSQL)
        return QStringLiteral(
                   "SELECT CONVERT(date, ventasdetail.fecha) as x_fecha, DATEPART(hour,ventasdetail.hora) AS "
                   "x_hora, ventasDetail.NombreArticulo, Sum(CASE WHEN CHARINDEX('N',tipofactura)>0 THEN "
                   "-VENTASDETAIL.CANTIDAD ELSE VENTASDETAIL.CANTIDAD END) AS SumOfcantidad, "
                   "ventasDetail.monto, [monto]*Sum(CASE WHEN CHARINDEX('N',tipofactura)>0 THEN "
                   "-VENTASDETAIL.CANTIDAD ELSE VENTASDETAIL.CANTIDAD END) AS imp ") +
               MainFrom + QStringLiteral(" Where ventas.estado <> 3 ") + periodFilter + c + MainTail +
               QStringLiteral(
                   " GROUP BY CONVERT(date, ventasdetail.fecha), DATEPART(hour,ventasdetail.hora), "
                   "ventasDetail.NombreArticulo, ventasDetail.monto ") +
               QStringLiteral(
                   " ORDER BY CONVERT(date, ventasdetail.fecha), DATEPART(hour,ventasdetail.hora), "
                   "NombreArticulo ");
    return QStringLiteral(
               "SELECT DateValue(ventasdetail.fecha) as x_fecha, hour(ventasdetail.hora) AS x_hora, "
               "ventasDetail.NombreArticulo, Sum(iif(instr(1, tipofactura, 'N'), "
               "-ventasDetail.cantidad, ventasDetail.cantidad)) AS SumOfcantidad, ventasDetail.monto, "
               "[monto]*[SumOfcantidad] AS imp ") +
           MainFrom + QStringLiteral(" Where ventas.estado <> 3 ") + periodFilter + c + MainTail +
           QStringLiteral(" GROUP BY DateValue(ventasdetail.fecha), hour(ventasdetail.hora), "
                          "ventasDetail.NombreArticulo, ventasDetail.monto ") +
           QStringLiteral(" ORDER BY DateValue(ventasdetail.fecha), hour(ventasdetail.hora), "
                          "ventasDetail.NombreArticulo ");
}

QString discountQuery(const QString& where, const QString& d, bool isMSSQL) {
    const QString select =
        isMSSQL ? QStringLiteral(" SELECT ventas.sf_fecha, Sum(CASE WHEN CHARINDEX('N',tipofactura)>0 THEN "
                                 "-VENTASDETAIL.CANTIDAD ELSE VENTASDETAIL.CANTIDAD END) AS SumaDecantidad, "
                                 "Sum(ventasDetail.monto) as Monto")
                : QStringLiteral(" SELECT ventas.sf_fecha, Sum(iif(instr(1, tipofactura,'N'), "
                                 "-ventasDetail.cantidad, ventasDetail.cantidad)) AS SumaDecantidad, "
                                 "Sum(ventasDetail.monto) as Monto");
    return select +
           QStringLiteral(
               " FROM ((ventasDetail LEFT JOIN ventas ON ventasDetail.idventa = ventas.Idventa) left "
               "JOIN productos ON ventasDetail.idproducto = productos.Id) left JOIN rubros ON "
               "productos.idrubro = rubros.IdR ") +
           where + QStringLiteral(" and ventasdetail.idproducto =-7 ") + d +
           QStringLiteral(" AND ventas.estado <> 3") + QStringLiteral(" group by ventas.sf_fecha ");
}

QString observationsQuery(const QString& filter) {
    return QStringLiteral("SELECT ") + QStringLiteral("SUM(VentasDetail.CANTIDAD) AS qty, ") +
           QStringLiteral("VentasDetailObservaciones.PRECIO, ") +
           QStringLiteral("VentasDetailObservaciones.concepto ") + QStringLiteral("FROM ") +
           QStringLiteral("( VentasDetailObservaciones ") +
           QStringLiteral("INNER JOIN VENTASDETAIL ON (VENTASDETAIL.IDVENTADETAIL = "
                          "VentasDetailObservaciones.IDVENTADETAIL) )") +
           QStringLiteral("INNER JOIN VENTAS ON VENTASDETAIL.IDVENTA = VENTAS.IDVENTA ") +
           QStringLiteral("WHERE ") + filter + QStringLiteral(" GROUP BY ") +
           QStringLiteral("VentasDetailObservaciones.idobservacion, ") +
           QStringLiteral("VentasDetailObservaciones.PRECIO, ") +
           QStringLiteral("VentasDetailObservaciones.concepto");
}

QString shortDate(double serial) {
    return Variant::date(serial).toString();
}

} // namespace

bool Choice::shift() const {
    return runtime::val(tag) != 0;
}

ReportTexts reportTexts(const Choice& choice) {
    ReportTexts t;
    if (choice.allProducts) {
        t.productFilter =
            QStringLiteral(" and (ventasdetail.idproducto > 0 or ventasdetail.idproducto in (") +
            FixedProducts + QStringLiteral(")) ");
    } else {
        t.productFilter = QStringLiteral(" and ventasdetail.idproducto in (") + choice.dishes +
                          QLatin1Char(',') + FixedProducts + QLatin1Char(')');
        t.hasProducts = !choice.dishes.isEmpty();
    }

    const QString a = FechaSQL(Variant::date(choice.desde));
    const QString b = FechaSQL(Variant::date(choice.hasta));
    // The discounts follow the period: the chosen shift's sales, or the range of days.
    QString discountWhere;
    if (choice.shift()) {
        t.periodFilter = t.productFilter + QStringLiteral(" and ventas.idsesion = ") + choice.tag;
        t.title = QStringLiteral("Este informe comprende datos del turno ") +
                  Variant(choice.shiftNumber).toString() + QStringLiteral(", desde ") + choice.apertura +
                  QStringLiteral(" hasta ") + choice.cierre;
        t.observationsFilter = QStringLiteral(" idsesion = ") + choice.tag;
        discountWhere = QStringLiteral(" WHERE (((ventas.idsesion) = ") + choice.tag + QStringLiteral(")) ");
    } else {
        t.periodFilter = t.productFilter + QStringLiteral(" and ventas.sf_fecha between ") + a +
                         QStringLiteral(" and ") + b;
        t.title = QStringLiteral("Este informe comprende datos desde ") + shortDate(choice.desde) +
                  QStringLiteral(" hasta ") + shortDate(choice.hasta);
        t.observationsFilter = QStringLiteral(" ventas.sf_fecha between ") + a + QStringLiteral(" and ") + b;
        discountWhere = QStringLiteral(" WHERE (((ventas.sf_fecha) Between ") + a + QStringLiteral(" And ") +
                        b + QStringLiteral(")) ");
    }

    const QString c = choice.categorizacion ? QStringLiteral(" AND ventas.tipofactura <> 'X'") : QString();
    const QString d = choice.categorizacion ? QStringLiteral(" and ventas.TIPOFACTURA <> 'X' ") : QString();
    t.mainQuery = mainQuery(t.periodFilter, c, gDB->isMSSQL);
    t.discountQuery = discountQuery(discountWhere, d, gDB->isMSSQL);
    t.observationsQuery = observationsQuery(t.observationsFilter);
    return t;
}

QString firstWordFunction() {
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("CREATE FUNCTION [dbo].[FirstWord] (@value varchar(max)) ") + crlf +
           QStringLiteral("RETURNS VarChar(Max)") + crlf + QStringLiteral("AS") + crlf +
           QStringLiteral("BEGIN") + crlf + QStringLiteral("    RETURN CASE CHARINDEX(',', @value, 1)") +
           crlf + QStringLiteral("        WHEN 0 THEN @value") + crlf +
           QStringLiteral("        ELSE SUBSTRING(@value, 1, CHARINDEX(',', @value, 1) - 1) END") + crlf +
           QStringLiteral("End") + crlf;
}

} // namespace dorrindale

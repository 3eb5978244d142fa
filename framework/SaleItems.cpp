#include "SaleItems.h"

#include "TmpreportParametersWindow.h"

#include "funciones.h"

#include "data/Recordset.h"
#include "runtime/Regional.h"

namespace framework {

using runtime::Variant;

QString salesQuery(const QString& filtro) {
    return QStringLiteral(
               "SELECT ventas.Idventa, ventas.SF_hora, ventas.smesa, ventas.horaapertura, ventas.horacierre, "
               "ventas.estado, ventas.TIPOFACTURA, ventas.NUMEROTICKET, ventas.SF_total, "
               "ventas.facturasacada, "
               "ventas.facturaimpresa, ventas.estado, ventas.SF_FECHA, ventas.fecha, usuarios.apodo, "
               "ventas.tmesa  FROM (ventas LEFT JOIN mesas ON ventas.idmesa = mesas.Id) LEFT JOIN usuarios "
               "ON "
               "ventas.idusuario = usuarios.Id ") +
           filtro + QStringLiteral(" ORDER BY ventas.sf_fecha, ventas.sf_hora; ");
}

QString salesPeriodFilter(const QString& tag, double desde, double hasta) {
    if (runtime::val(tag) != 0) return QStringLiteral("ventas.idsesion = ") + tag;
    return QStringLiteral("ventas.fecha between ") + FechaSQL(Variant::date(desde)) +
           QStringLiteral(" and ") + FechaSQL(Variant::date(hasta + 1439.0 / 1440.0));
}

QString saleItemsQuery(const QString& idventa, bool isMSSQL, bool sinProductoMenos8) {
    if (isMSSQL)
        return QStringLiteral(
                   "SELECT  IDVENTA,  IDVENTADETAIL,  HORA,  CANTIDAD,  PRODUCTO,  IMPORTE, PREPARACION, "
                   "DEMORA, TIPO, MOTIVO, usuario,2 as estado, idproducto  FROM Quenbrook WHERE  IDVENTA = "
                   " ") +
               idventa +
               QStringLiteral(
                   "  and cantidad > 0  Union SELECT  VENTASDETAIL.IDVENTA, MIN(VENTASDETAIL.IDVENTADETAIL) "
                   "AS IDVENTADETAIL,  MAX(VENTASDETAIL.HORA) AS HORA, Sum(VENTASDETAIL.CANTIDAD) AS "
                   "CANTIDAD,  VENTASDETAIL.NOMBREARTICULO AS PRODUCTO, VENTASDETAIL.MONTO AS IMPORTE, 0 AS "
                   "PREPARACION, 0 AS DEMORA, 'ADIC' AS TIPO,  '' AS MOTIVO, '' as usuario,  estado, "
                   "idproducto  From VENTASDETAIL  Where (((VENTASDETAIL.[idventa]) = ") +
               idventa + QStringLiteral("))") +
               (sinProductoMenos8 ? QStringLiteral(" and idproducto <> -8 ") : QString()) +
               QStringLiteral(
                   "  GROUP BY IDVENTA, NOMBREARTICULO, MONTO, VENTASDETAIL.IDVENTA, estado, idproducto  "
                   "order by hora, tipo ");
    return QStringLiteral(
               "SELECT  IDVENTA, IDVENTADETAIL, HORA, CANTIDAD, PRODUCTO, IMPORTE, PREPARACION, DEMORA, "
               "TIPO, MOTIVO, usuario,2 as estado, idproducto FROM Quenbrook WHERE  IDVENTA =  ") +
           idventa +
           QStringLiteral(
               "  and cantidad > 0  Union  SELECT VENTASDETAIL.IDVENTA, First(VENTASDETAIL.IDVENTADETAIL) AS "
               "PrimeroDeIDVENTADETAIL, Last(VENTASDETAIL.HORA) AS ÚltimoDeHORA, Sum(VENTASDETAIL.CANTIDAD) "
               "AS SumaDeCANTIDAD, VENTASDETAIL.NOMBREARTICULO, VENTASDETAIL.MONTO, 0 AS Expr1, 0 AS Expr2, "
               "'ADIC' AS Expr3, '' AS Expr4,'' as usuario, estado, idproducto  From VENTASDETAIL where "
               "(((VENTASDETAIL.[IDVENTA])=") +
           idventa + QStringLiteral("))") +
           (sinProductoMenos8 ? QStringLiteral(" and idproducto <> -8") : QString()) +
           QStringLiteral(
               " GROUP BY VENTASDETAIL.IDVENTA, VENTASDETAIL.NOMBREARTICULO, VENTASDETAIL.MONTO, 0, 0, "
               "'ADIC', '', VENTASDETAIL.[IDVENTA], estado, idproducto  order by hora, tipo ;");
}

void copySale(data::Recordset& tmp, data::Recordset& ventas) {
    for (int i = 0; i < 16; ++i)
        tmp.fields(i).setValue(ventas.fields(i).value());
    if (ventas.fields(QStringLiteral("sf_fecha")).value().isNull())
        tmp.fields(QStringLiteral("campo13")).setValue(ventas.fields(QStringLiteral("Fecha")).value());
}

SaleItemWriter::SaleItemWriter(TmpreportParametersWindow& window, data::Recordset& tmp)
    : m_window(window), m_tmp(tmp), m_campo1(&tmp.fields(QStringLiteral("campo1"))),
      m_campo24(&tmp.fields(QStringLiteral("campo24"))), m_campo25(&tmp.fields(QStringLiteral("campo25"))),
      m_campo26(&tmp.fields(QStringLiteral("campo26"))), m_campo27(&tmp.fields(QStringLiteral("campo27"))) {}

void SaleItemWriter::beginSale(data::Recordset& det) {
    m_pendingMotive.clear();
    m_det = &det;
    m_tipo = &det.fields(QStringLiteral("TIPO"));
    m_motivoItem = &det.fields(QStringLiteral("motivo"));
    m_idventa = &det.fields(QStringLiteral("idventa"));
    m_usuario = &det.fields(QStringLiteral("usuario"));
}

bool SaleItemWriter::isItem() {
    const Variant tipo = m_tipo->value();
    if (tipo.isString() && tipo.rawString() == QLatin1String("ITEM")) {
        m_pendingMotive = m_motivoItem->value().toText();
        return false;
    }
    return !tipo.isNull();
}

void SaleItemWriter::write(bool anulada) {
    for (int i = 0; i < 13; ++i)
        m_tmp.fields(15 + i).setValue(m_det->fields(i).value());
    const Variant idventa = m_idventa->value();
    m_campo1->setValue(idventa);
    if (anulada) m_campo24->setValue(QStringLiteral("ANULADO"));
    m_campo25->setValue(m_pendingMotive);
    m_campo26->setValue(m_pendingMotive);
    const Variant usuario = m_usuario->value();
    m_campo27->setValue(usuario);
    if (usuario.toText().isEmpty() && m_pendingMotive.isEmpty() &&
        idventa.toDouble() != m_lastSupplementedSale) {
        QString usuarioAuditoria;
        QString motivoAuditoria;
        m_window.traeSuplementoAuditoria(idventa.toDouble(), usuarioAuditoria, motivoAuditoria);
        m_campo27->setValue(usuarioAuditoria);
        m_campo25->setValue(motivoAuditoria);
        m_campo26->setValue(motivoAuditoria);
        m_lastSupplementedSale = idventa.toDouble();
    }
    m_tmp.update();
    m_pendingMotive.clear();
}

} // namespace framework

#include "frmParametros.h"

#include "ActiveReport1.h"
#include "extras.h"

#include "data/Recordset.h"
#include "framework/clsCajaHelpers.h"
#include "framework/clsDataBase.h"
#include "framework/funciones.h"
#include "runtime/DateSerial.h"
#include "runtime/Program.h"
#include "runtime/Regional.h"

#include <QGroupBox>

using runtime::Variant;

frmParametros::frmParametros() {
    frameFamilias.groupBox()->setFlat(true);
    cancelar.setEnabled(false);
    cmdVerListado.onClick([this] { cmdVerListado_Click(); });
    cancelar.onClick([this] { cancelar_Click(); });
}

void frmParametros::Form_Load() {
    dtdesde.setValue(runtime::today());
    dthasta.setValue(runtime::today() + 1);
}

void frmParametros::cmdVerListado_Click() {
    if (m_building) return;
    m_building = true;
    m_cancelRequested = false;
    struct BuildFlag {
        frmParametros& window;
        ~BuildFlag() { window.m_building = false; }
    } flag{*this};
    cancelar.setEnabled(true);
    runtime::setMousePointer(runtime::pointer::Hourglass);
    LlenaInforme();
    runtime::setMousePointer(runtime::pointer::Default);
    cancelar.setEnabled(false);
}

void frmParametros::cancelar_Click() {
    if (m_building) m_cancelRequested = true;
}

namespace {

const QString SalesColumns = QStringLiteral(
    "SELECT ventas.Idventa, ventas.SF_hora, ventas.smesa, ventas.horaapertura, ventas.horacierre, "
    "ventas.estado, "
    "ventas.TIPOFACTURA, ventas.NUMEROTICKET, ventas.SF_total, ventas.facturasacada, ventas.facturaimpresa, "
    "ventas.estado, ventas.SF_FECHA, ventas.fecha, usuarios.apodo, ventas.tmesa ");

QString detailQuery(const QString& idventa, bool isMSSQL) {
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
               idventa +
               QStringLiteral(
                   "))  GROUP BY IDVENTA, NOMBREARTICULO, MONTO, VENTASDETAIL.IDVENTA, estado, idproducto  "
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
           idventa +
           QStringLiteral(
               ")) GROUP BY VENTASDETAIL.IDVENTA, VENTASDETAIL.NOMBREARTICULO, VENTASDETAIL.MONTO, 0, 0, "
               "'ADIC', '', VENTASDETAIL.[IDVENTA], estado, idproducto  order by hora, tipo ;");
}

// The closing date and time of a sale: its ticket date plus ticket time, or the zero date
// when either is missing.
double closingMoment(const Variant& sfFecha, const Variant& sfHora) {
    if (sfHora.isNull() || sfFecha.isNull()) return 0.0;
    return sfFecha.toDouble() + sfHora.toDouble();
}

} // namespace

QString deletedItemsSalesQuery(const QString& tag, double desde, double hasta, bool isMSSQL) {
    QString periodo;
    if (runtime::val(tag) != 0)
        periodo = QStringLiteral(" where ventas.idsesion = ") + tag;
    else
        periodo = QStringLiteral(" where ventas.fecha between ") + FechaSQL(Variant::date(desde)) +
                  QStringLiteral(" and ") + FechaSQL(Variant::date(hasta + 1439.0 / 1440.0));
    const QString reemplazo =
        isMSSQL
            ? QStringLiteral("(ventas.reemplazadoporid = 0 or coalesce(ventas.reemplazadoporid,'') = '' or "
                             "ventas.estado <> 3) ")
            : QStringLiteral(
                  "(ventas.reemplazadoporid = 0 or isnull(ventas.reemplazadoporid) or ventas.estado <> 3) ");
    return SalesColumns +
           QStringLiteral(" FROM (ventas LEFT JOIN mesas ON ventas.idmesa = mesas.Id) LEFT JOIN usuarios ON "
                          "ventas.idusuario = usuarios.Id ") +
           periodo + QStringLiteral(" and ") + reemplazo +
           QStringLiteral(" ORDER BY ventas.sf_fecha, ventas.sf_hora; ");
}

QString deletedItemsDetailQuery(double idventa, bool isMSSQL) {
    return detailQuery(Variant(idventa).toString(), isMSSQL);
}

void frmParametros::LlenaInforme() {
    // 1. Missing cash dates first.
    {
        clsCajaHelpers caja;
        caja.generaFechaCaja();
    }

    // 2-4. The sales of the shift or of the range of days.
    const QString sql =
        deletedItemsSalesQuery(cmdTurno.tag(), dtdesde.value(), dthasta.value(), gDB->isMSSQL);

    runtime::setMousePointer(runtime::pointer::Hourglass);

    // The build's writes are one transaction, kept however the build ends; its reads, one
    // snapshot of the point-of-sale database.
    data::Transaction writes(*gDB->spooler);
    data::Transaction reads(*gDB->dbaccess);
    gDB->spooler->execute(QStringLiteral("Delete from tmpreport"));
    data::Recordset rsTmp;
    rsTmp.open(QStringLiteral("select * from tmpReport"), gDB->spooler, data::adOpenStatic,
               data::adLockOptimistic);

    data::Recordset rs;
    rs.open(sql, gDB->dbaccess);
    if (!rs.eof()) {
        rs.moveLast();
        rs.moveFirst();
        pb.setMax(rs.recordCount());
    }

    long contador = 0;
    double ultimoSuplementado = 0;
    const bool soloLuegoDelTicket = chkDelivery.value() == 1;
    const bool todas = chkTodos.value() == 1;
    while (!rs.eof()) {
        const Variant idventa = rs.fields(QStringLiteral("idventa")).value();
        const Variant estado = rs.fields(QStringLiteral("estado")).value();
        const double cierre = closingMoment(rs.fields(QStringLiteral("sf_fecha")).value(),
                                            rs.fields(QStringLiteral("SF_hora")).value());
        const bool eliminado = TraeEliminado(idventa.toDouble(), soloLuegoDelTicket, cierre);
        const bool anulada = estado.equals(3);
        if (anulada || eliminado || todas) {
            ++contador;
            bool cabecera = false;
            QString motivo;
            data::Recordset det;
            det.open(deletedItemsDetailQuery(idventa.toDouble(), gDB->isMSSQL), gDB->dbaccess);
            while (!det.eof()) {
                if (!cabecera && !estado.isNull() && !estado.equals(1)) {
                    cabecera = true;
                    pb.setValue(contador);
                    runtime::DoEvents();
                    rsTmp.addNew();
                    for (int i = 0; i < 16; ++i)
                        rsTmp.fields(i).setValue(rs.fields(i).value());
                    rsTmp.fields(QStringLiteral("campo3"))
                        .setValue(nombreMesa(rs.fields(QStringLiteral("tmesa")).value()).toText() +
                                  rs.fields(QStringLiteral("smesa")).value().toText());
                    if (rs.fields(QStringLiteral("sf_fecha")).value().isNull())
                        rsTmp.fields(QStringLiteral("campo13"))
                            .setValue(rs.fields(QStringLiteral("Fecha")).value());
                    rsTmp.update();
                }
                const Variant tipo = det.fields(QStringLiteral("TIPO")).value();
                if (tipo.isString() && tipo.rawString() == QLatin1String("ITEM")) {
                    motivo = det.fields(QStringLiteral("motivo")).value().toText();
                } else if (!tipo.isNull()) {
                    rsTmp.addNew();
                    for (int i = 0; i < 13; ++i)
                        rsTmp.fields(15 + i).setValue(det.fields(i).value());
                    const Variant idLinea = det.fields(QStringLiteral("idventa")).value();
                    rsTmp.fields(QStringLiteral("campo1")).setValue(idLinea);
                    if (anulada) rsTmp.fields(QStringLiteral("campo24")).setValue(QStringLiteral("ANULADO"));
                    rsTmp.fields(QStringLiteral("campo25")).setValue(motivo);
                    rsTmp.fields(QStringLiteral("campo26")).setValue(motivo);
                    const Variant usuario = det.fields(QStringLiteral("usuario")).value();
                    rsTmp.fields(QStringLiteral("campo27")).setValue(usuario);
                    if (usuario.toText().isEmpty() && motivo.isEmpty() &&
                        idLinea.toDouble() != ultimoSuplementado) {
                        QString usuarioAuditoria;
                        QString motivoAuditoria;
                        traeSuplementoAuditoria(idLinea.toDouble(), usuarioAuditoria, motivoAuditoria);
                        rsTmp.fields(QStringLiteral("campo27")).setValue(usuarioAuditoria);
                        rsTmp.fields(QStringLiteral("campo25")).setValue(motivoAuditoria);
                        rsTmp.fields(QStringLiteral("campo26")).setValue(motivoAuditoria);
                        ultimoSuplementado = idLinea.toDouble();
                    }
                    rsTmp.update();
                    motivo.clear();
                }
                det.moveNext();
            }
            det.close();
        }
        if (m_cancelRequested) break;
        rs.moveNext();
    }
    rsTmp.close();
    rs.close();
    reads.commit();
    writes.commit();

    if (m_cancelRequested) {
        runtime::setMousePointer(runtime::pointer::Default);
        return;
    }
    pb.setValue(pb.max());
    runtime::setMousePointer(runtime::pointer::Default);
    ActiveReport1::instance().show();
}

void frmParametros::traeSuplementoAuditoria(double idventa, QString& usuario, QString& motivo) {
    data::Recordset rs;
    rs.open(QStringLiteral("select * from auditoria where idventa = ") + Variant(idventa).toString() +
                QStringLiteral(" and codigo = 21 "),
            gDB->dbaccess);
    if (!rs.eof()) {
        usuario = rs.fields(QStringLiteral("usuario")).value().toText();
        motivo = rs.fields(QStringLiteral("motivo")).value().toText();
    }
    rs.close();
}

Variant frmParametros::nombreMesa(const Variant& mesa) {
    if (mesa.equals(0)) return QString();
    if (mesa.equals(1)) return QStringLiteral("T/");
    if (mesa.equals(2)) return QStringLiteral("D/");
    return QStringLiteral("-");
}

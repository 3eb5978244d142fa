#include "frmParametros.h"

#include "ActiveReport1.h"

#include "data/Recordset.h"
#include "framework/ItemsVenta.h"
#include "framework/ProgramDescription.h"
#include "framework/clsCajaHelpers.h"
#include "framework/clsDataBase.h"
#include "framework/funciones.h"
#include "runtime/DateSerial.h"
#include "runtime/Program.h"
#include "runtime/Regional.h"

using namespace framework;
using runtime::Variant;

namespace velmarsh {

namespace {

const QString Etiqueta = QStringLiteral("CSNETIQUETA");

} // namespace

QString invoiceLinesSalesQuery(const QString& tag, double desde, double hasta, bool isMSSQL) {
    QString filtro;
    if (runtime::val(tag) != 0)
        filtro =
            QStringLiteral(" where ventas.tipofactura in ('A','B','C','X') and ventas.idsesion = ") + tag;
    else
        filtro = QStringLiteral(" where ventas.tipofactura in ('A','B','C','X') and ventas.fecha between ") +
                 FechaSQL(Variant::date(desde)) + QStringLiteral(" and ") +
                 FechaSQL(Variant::date(hasta + 1439.0 / 1440.0));
    filtro += QStringLiteral(" and ");
    filtro +=
        isMSSQL
            ? QStringLiteral("(ventas.reemplazadoporid = 0 or coalesce(ventas.reemplazadoporid,'') = '' "
                             "and ventas.estado = 3) ")
            : QStringLiteral(
                  "(ventas.reemplazadoporid = 0 or isnull(ventas.reemplazadoporid) and ventas.estado = 3) ");
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

frmParametros::frmParametros() {
    txtEtiqueta.setText(QStringLiteral("LOC1"));
    txtEtiqueta.onLostFocus([this] { txtEtiqueta_LostFocus(); });
}

void frmParametros::Form_Load() {
    txtEtiqueta.setText(gDB->dbgetsetting(Etiqueta, QStringLiteral("LOC1")));
    dtdesde.setValue(runtime::today());
    dthasta.setValue(runtime::today() + 1);
}

void frmParametros::txtEtiqueta_LostFocus() {
    gDB->DBSaveSetting(Etiqueta, txtEtiqueta.text());
}

void frmParametros::Form_QueryUnload(int& Cancel, int UnloadMode) {
    Q_UNUSED(Cancel);
    Q_UNUSED(UnloadMode);
    gDB->DBSaveSetting(Etiqueta, txtEtiqueta.text());
}

void frmParametros::LlenaInforme() {
    {
        clsCajaHelpers caja;
        caja.generaFechaCaja();
    }
    const QString sql =
        invoiceLinesSalesQuery(cmdTurno.tag(), dtdesde.value(), dthasta.value(), gDB->isMSSQL);

    runtime::setMousePointer(runtime::pointer::Hourglass);
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
    ItemsVenta items(*this);
    while (!rs.eof() && !cancelRequested()) {
        ++contador;
        items.nuevaVenta();
        const bool anulada = rs.fields(QStringLiteral("estado")).value().equals(3);
        data::Recordset det;
        det.open(detalleVentaQuery(rs.fields(QStringLiteral("idventa")).value().toText(), gDB->isMSSQL, true),
                 gDB->dbaccess);
        while (!det.eof() && !cancelRequested()) {
            if (items.esItem(det)) {
                pb.setValue(contador);
                runtime::DoEvents();
                rsTmp.addNew();
                for (int i = 0; i < 16; ++i)
                    rsTmp.fields(i).setValue(rs.fields(i).value());
                if (rs.fields(QStringLiteral("sf_fecha")).value().isNull())
                    rsTmp.fields(QStringLiteral("campo13"))
                        .setValue(rs.fields(QStringLiteral("Fecha")).value());
                items.escribe(rsTmp, det, anulada);
            }
            det.moveNext();
        }
        det.close();
        rs.moveNext();
    }
    rs.close();
    rsTmp.close();

    runtime::setMousePointer(runtime::pointer::Default);
    if (cancelRequested()) return;
    pb.setValue(pb.max());
    ActiveReport1& report = framework::report<ActiveReport1>();
    report.local->setText(txtEtiqueta.text());
    report.show();
}

} // namespace velmarsh

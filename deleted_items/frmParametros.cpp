#include "frmParametros.h"

#include "ActiveReport1.h"
#include "extras.h"

#include "data/Recordset.h"
#include "framework/SaleItems.h"
#include "framework/clsDataBase.h"
#include "framework/funciones.h"
#include "runtime/DateSerial.h"
#include "runtime/Program.h"
#include "runtime/Regional.h"

using namespace framework;

namespace quenbrook {

using runtime::Variant;

void frmParametros::Form_Load() {
    dtdesde.setValue(runtime::today());
    dthasta.setValue(runtime::today() + 1);
}

namespace {

// The closing date and time of a sale: its ticket date plus ticket time, or the zero date
// when either is missing.
double closingMoment(const Variant& sfFecha, const Variant& sfHora) {
    if (sfHora.isNull() || sfFecha.isNull()) return 0.0;
    return sfFecha.toDouble() + sfHora.toDouble();
}

} // namespace

QString deletedItemsSalesQuery(const QString& tag, double desde, double hasta, bool isMSSQL) {
    return salesQuery(
        QStringLiteral(" where ") + salesPeriodFilter(tag, desde, hasta) + QStringLiteral(" and ") +
        (isMSSQL
             ? QStringLiteral("(ventas.reemplazadoporid = 0 or coalesce(ventas.reemplazadoporid,'') = '' or "
                              "ventas.estado <> 3) ")
             : QStringLiteral("(ventas.reemplazadoporid = 0 or isnull(ventas.reemplazadoporid) or "
                              "ventas.estado <> 3) ")));
}

QString deletedItemsDetailQuery(double idventa, bool isMSSQL) {
    return saleItemsQuery(Variant(idventa).toString(), isMSSQL);
}

QString frmParametros::periodSalesQuery() {
    return deletedItemsSalesQuery(cmdTurno.tag(), dtdesde.value(), dthasta.value(), gDB->isMSSQL);
}

void frmParametros::writeSales(data::Recordset& rsTmp, data::Recordset& rs) {
    long contador = 0;
    SaleItemWriter items(*this, rsTmp);
    const bool soloLuegoDelTicket = chkDelivery.value() == 1;
    const bool todas = chkTodos.value() == 1;
    data::Recordset det; // opened for each sale in turn
    while (!rs.eof() && !cancelRequested()) {
        const Variant idventa = rs.fields(QStringLiteral("idventa")).value();
        const Variant estado = rs.fields(QStringLiteral("estado")).value();
        const double cierre = closingMoment(rs.fields(QStringLiteral("sf_fecha")).value(),
                                            rs.fields(QStringLiteral("SF_hora")).value());
        const bool eliminado = TraeEliminado(idventa.toDouble(), soloLuegoDelTicket, cierre);
        const bool anulada = estado.equals(3);
        if (anulada || eliminado || todas) {
            ++contador;
            bool cabecera = false;
            det.open(deletedItemsDetailQuery(idventa.toDouble(), gDB->isMSSQL), gDB->dbaccess);
            items.beginSale(det);
            while (!det.eof()) {
                if (!cabecera && !estado.isNull() && !estado.equals(1)) {
                    cabecera = true;
                    pb.setValue(contador);
                    runtime::DoEvents();
                    rsTmp.addNew();
                    copySale(rsTmp, rs);
                    rsTmp.fields(QStringLiteral("campo3"))
                        .setValue(nombreMesa(rs.fields(QStringLiteral("tmesa")).value()).toText() +
                                  rs.fields(QStringLiteral("smesa")).value().toText());
                    rsTmp.update();
                }
                if (items.isItem()) {
                    rsTmp.addNew();
                    items.write(anulada);
                }
                det.moveNext();
            }
            det.close();
        }
        rs.moveNext();
    }
}

} // namespace quenbrook

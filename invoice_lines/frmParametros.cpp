#include "frmParametros.h"

#include "ActiveReport1.h"

#include "data/Recordset.h"
#include "framework/ProgramSession.h"
#include "framework/SaleItems.h"
#include "framework/clsDataBase.h"
#include "runtime/DateSerial.h"
#include "runtime/Program.h"

using namespace framework;
using runtime::Variant;

namespace velmarsh {

namespace {

const QString Etiqueta = QStringLiteral("CSNETIQUETA");

} // namespace

QString invoiceLinesSalesQuery(const QString& tag, double desde, double hasta, bool isMSSQL) {
    return salesQuery(
        QStringLiteral(" where ventas.tipofactura in ('A','B','C','X') and ") +
        salesPeriodFilter(tag, desde, hasta) + QStringLiteral(" and ") +
        (isMSSQL
             ? QStringLiteral("(ventas.reemplazadoporid = 0 or coalesce(ventas.reemplazadoporid,'') = '' and "
                              "ventas.estado = 3) ")
             : QStringLiteral("(ventas.reemplazadoporid = 0 or isnull(ventas.reemplazadoporid) and "
                              "ventas.estado = 3) ")));
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

QString frmParametros::periodSalesQuery() {
    return invoiceLinesSalesQuery(cmdTurno.tag(), dtdesde.value(), dthasta.value(), gDB->isMSSQL);
}

void frmParametros::writeSales(data::Recordset& tmp, data::Recordset& ventas) {
    long contador = 0;
    SaleItemWriter items(*this, tmp);
    data::Recordset det; // opened for each sale in turn
    while (!ventas.eof() && !cancelRequested()) {
        ++contador;
        const bool anulada = ventas.fields(QStringLiteral("estado")).value().equals(3);
        det.open(
            saleItemsQuery(ventas.fields(QStringLiteral("idventa")).value().toText(), gDB->isMSSQL, true),
            gDB->dbaccess);
        items.beginSale(det);
        while (!det.eof() && !cancelRequested()) {
            if (items.isItem()) {
                pb.setValue(contador);
                runtime::DoEvents();
                tmp.addNew();
                copySale(tmp, ventas);
                items.write(anulada);
            }
            det.moveNext();
        }
        det.close();
        ventas.moveNext();
    }
}

void frmParametros::showBuiltReport() {
    ActiveReport1& report = framework::report<ActiveReport1>();
    report.local->setText(txtEtiqueta.text());
    framework::showReport(report);
}

} // namespace velmarsh

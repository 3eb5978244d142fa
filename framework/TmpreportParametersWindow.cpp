#include "TmpreportParametersWindow.h"

#include "ProgramSession.h"
#include "clsCajaHelpers.h"
#include "clsDataBase.h"

#include "data/Connection.h"
#include "data/Recordset.h"
#include "reports/Report.h"
#include "runtime/Program.h"

#include <QElapsedTimer>
#include <QGroupBox>

#include <algorithm>

namespace framework {

using runtime::Variant;

TmpreportParametersWindow::TmpreportParametersWindow() {
    frameFamilias.groupBox()->setFlat(true);
    cancelar.setEnabled(false);
    cmdVerListado.onClick([this] { cmdVerListado_Click(); });
    cancelar.onClick([this] { cancelar_Click(); });
}

void TmpreportParametersWindow::cmdVerListado_Click() {
    if (m_building) return;
    m_building = true;
    m_cancelRequested = false;
    struct BuildFlag {
        TmpreportParametersWindow& window;
        ~BuildFlag() { window.m_building = false; }
    } flag{*this};
    cancelar.setEnabled(true);
    runtime::setMousePointer(runtime::pointer::Hourglass);
    LlenaInforme();
    runtime::setMousePointer(runtime::pointer::Default);
    cancelar.setEnabled(false);
}

void TmpreportParametersWindow::cancelar_Click() {
    if (m_building) m_cancelRequested = true;
}

void TmpreportParametersWindow::LlenaInforme() {
    {
        clsCajaHelpers caja;
        caja.generaFechaCaja([this](long done, long total) {
            pb.setMax(total);
            pb.setValue(done);
            runtime::DoEvents();
        });
    }
    const QString sql = periodSalesQuery();

    runtime::setMousePointer(runtime::pointer::Hourglass);
    // tmpreport is shared by every program and workstation of the installation: the build's
    // writes are one transaction, kept however the build ends, that holds the table from its
    // emptying until the report has read it back. Its reads are one snapshot of the
    // point-of-sale database.
    data::CommitScope writes;
    if (!acquireTmpreport(writes)) {
        runtime::setMousePointer(runtime::pointer::Default);
        return;
    }
    data::CommitScope reads(gDB->dbaccess);
    gDB->spooler->execute(QStringLiteral("Delete from tmpreport"));
    data::Recordset tmp;
    tmp.open(QStringLiteral("select * from tmpReport"), gDB->spooler, data::adOpenStatic,
             data::adLockOptimistic);
    data::Recordset ventas;
    ventas.open(sql, gDB->dbaccess);
    if (!ventas.eof()) {
        ventas.moveLast();
        ventas.moveFirst();
        pb.setMax(ventas.recordCount());
    }
    writeSales(tmp, ventas);
    ventas.close();
    tmp.close();
    reads.commit();

    if (!m_cancelRequested) pb.setValue(pb.max());
    runtime::setMousePointer(runtime::pointer::Default);
    if (!m_cancelRequested) showBuiltReport();
    writes.commit();
}

const QString TmpreportParametersWindow::TmpreportBusyMessage =
    QStringLiteral("No se puede generar el informe: otro programa o puesto está generando un informe en "
                   "esta instalación. Intente nuevamente en unos minutos.");

bool TmpreportParametersWindow::acquireTmpreport(data::CommitScope& writes) {
    if (writes.tryBeginWrite(gDB->spooler, std::chrono::milliseconds(0))) return true;
    // Another build holds it: the window stays live and the bar shows the time waited.
    const double value = pb.value();
    QElapsedTimer waited;
    waited.start();
    bool taken = false;
    while (!taken && !m_cancelRequested) {
        const double share = double(waited.elapsed()) / double(std::max<qint64>(tmpreportWait.count(), 1));
        if (share >= 1) break;
        pb.setValue(pb.min() + (pb.max() - pb.min()) * share);
        runtime::DoEvents();
        if (!m_cancelRequested) taken = writes.tryBeginWrite(gDB->spooler, std::chrono::milliseconds(25));
    }
    pb.setValue(value);
    if (!taken && !m_cancelRequested) runtime::MsgBox(TmpreportBusyMessage, runtime::mb::Exclamation);
    return taken;
}

void TmpreportParametersWindow::showBuiltReport() {
    showReport(report());
}

void TmpreportParametersWindow::traeSuplementoAuditoria(double idventa, QString& usuario, QString& motivo) {
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

Variant TmpreportParametersWindow::nombreMesa(const Variant& mesa) {
    if (mesa.equals(0)) return QString();
    if (mesa.equals(1)) return QStringLiteral("T/");
    if (mesa.equals(2)) return QStringLiteral("D/");
    return QStringLiteral("-");
}

} // namespace framework

#include "frmSeleccionaTurno.h"

#include "GridHelpers.h"
#include "clsDataBase.h"
#include "funciones.h"

#include "data/Recordset.h"
#include "forms/Colors.h"
#include "runtime/DateSerial.h"
#include "runtime/Regional.h"
#include "runtime/Variant.h"

#include <QApplication>
#include <QStyle>

namespace framework {

using runtime::Variant;

namespace {
const QString Columns =
    QStringLiteral("id;0|Nro.;500|Apertura;1550|Usuario;950|Cierre;1550|Usuario;950|Rendición;800");
constexpr std::int16_t Slot = 15;
} // namespace

frmSeleccionaTurno::frmSeleccionaTurno(LastDayBounds lastDayBounds)
    : Form(QStringLiteral("frmSeleccionaTurno")), m_lastDayBounds(lastDayBounds) {
    setCaption(QStringLiteral("Selecciona Turno de Caja"));
    setClientSize(6960, 4740);
    Shape1.setBorderColor(forms::rgb(160, 160, 160));
    picSearching.setBorder(false);
    picSearching.setPicture(QApplication::style()->standardPixmap(QStyle::SP_BrowserReload));
    cmdTurno.onClick([this] { cmdTurno_Click(); });
    cmdOk.onClick([this] { cmdOk_Click(); });
    cmdSalir.onClick([this] { cmdSalir_Click(); });
    grdTurnos.onDblClick([this] { grdTurnos_DblClick(); });
}

void frmSeleccionaTurno::Form_Load() {
    CABGRILLA();
    picSearching.setVisible(false);
    Label3.setVisible(false);
    DTPicker1.setValue(runtime::now());
    DTPicker2.setValue(runtime::now());
}

double frmSeleccionaTurno::ask(QString& apertura, QString& cierre, double& nroturno) {
    mIdSesion = 0;
    show(forms::Modal);
    // Closed with the close box: the chooser starts afresh, with nothing listed.
    if (!isLoaded()) return 0;
    const int row = grdTurnos.row();
    if (grdTurnos.textMatrix(row, 1).isEmpty()) return 0;
    apertura = grdTurnos.textMatrix(row, 2);
    cierre = grdTurnos.textMatrix(row, 4);
    nroturno = Variant(grdTurnos.textMatrix(row, 1)).toDouble();
    return mIdSesion;
}

void frmSeleccionaTurno::CABGRILLA() {
    GPrep(grdTurnos, Slot, Columns);
}

void frmSeleccionaTurno::llenar() {
    CABGRILLA();
    data::Recordset rs;
    rs.open(
        QStringLiteral("SELECT sesion.Idsesion, usuarios.apodo AS uapertura, usuarios_1.apodo AS ucierre, "
                       "[sesion].[fechaapertura]+[sesion].[horaapertura] AS Apertura, "
                       "[sesion].[fechacierre]+[sesion].[horacierre] AS Cierre, sesion.NROTURNO, "
                       "sesion.TotalGeneral ") +
            QStringLiteral(" FROM (sesion LEFT JOIN usuarios ON sesion.idcajeroapertura = usuarios.Id) LEFT "
                           "JOIN usuarios AS usuarios_1 ON sesion.idcajerocierre = usuarios_1.Id ") +
            QStringLiteral(" Where ((([sesion].[fechaapertura] + [sesion].[horaapertura]) >= ") +
            FechaSQL(Variant::date(DTPicker1.value())) +
            (m_lastDayBounds == LastDayBounds::Closing
                 ? QStringLiteral(") And (([sesion].[fechacierre] + [sesion].[horacierre]) <= ")
                 : QStringLiteral(") And (([sesion].[fechaapertura] + [sesion].[horaapertura]) <= ")) +
            FechaSQL(Variant::date(DTPicker2.value())) +
            QStringLiteral(")) Or ((([sesion].[fechacierre] + [sesion].[horacierre]) Is Null)) ") +
            QStringLiteral(" ORDER BY [sesion].[fechaapertura]+[sesion].[horaapertura] DESC;"),
        gDB->dbaccess);
    const QString bar = QStringLiteral("|");
    while (!rs.eof()) {
        const QString row = rs.fields(QStringLiteral("idsesion")).value().toText() + bar +
                            rs.fields(QStringLiteral("nroturno")).value().toText() + bar +
                            FmtFechaHora(rs.fields(QStringLiteral("apertura")).value()) + bar +
                            rs.fields(QStringLiteral("uapertura")).value().toText() + bar +
                            FmtFechaHora(rs.fields(QStringLiteral("cierre")).value()) + bar +
                            rs.fields(QStringLiteral("ucierre")).value().toText() + bar +
                            FmtImporteNull(ValorNumerico(rs.fields(QStringLiteral("TOTALGENERAL")).value()));
        GAddItem(grdTurnos, Slot, row, false);
        rs.moveNext();
    }
    rs.close();
}

void frmSeleccionaTurno::cmdTurno_Click() {
    picSearching.setVisible(true);
    Label3.setVisible(true);
    llenar();
    frameSearching.setVisible(false);
}

void frmSeleccionaTurno::cmdOk_Click() {
    // An empty identifier cell (nothing listed) chooses nothing: the chooser stays open.
    const std::optional<double> id = runtime::parseNumber(grdTurnos.textMatrix(grdTurnos.row(), 0));
    if (!id) return;
    mIdSesion = *id;
    hide();
}

void frmSeleccionaTurno::grdTurnos_DblClick() {
    cmdOk_Click();
}

void frmSeleccionaTurno::cmdSalir_Click() {
    mIdSesion = 0;
    hide();
}

} // namespace framework

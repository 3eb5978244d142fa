#include "ParametersWindow.h"

#include "ExportToolPictures.h"
#include "ProgramSession.h"
#include "clsDataBase.h"
#include "frmSeleccionaTurno.h"

#include "forms/Events.h"
#include "runtime/Program.h"
#include "runtime/Variant.h"

namespace framework {

ParametersWindow::ParametersWindow(DatesOnShift datesOnShift)
    : Form(QStringLiteral("frmParametros")), m_datesOnShift(datesOnShift) {
    setCaption(QStringLiteral("Parametros"));
    setClientSize(6570, 5085);
    lblAperturaTurno.setFont(QStringLiteral("Arial"));
    lblCierreTurno.setFont(QStringLiteral("Arial"));
    lblAperturaTurno.setVisible(false);
    lblCierreTurno.setVisible(false);
    optF0.setValue(true);
    addExportToolPictures(ImageList1);
    cmdTurno.onClick([this] { cmdTurno_Click(); });
    cmdSalir.onClick([this] { cmdSalir_Click(); });
    forms::markExit(cmdSalir.widget());
}

void ParametersWindow::cmdSalir_Click() {
    gDB->CloseDatabase();
    runtime::End();
}

void ParametersWindow::cmdTurno_Click() {
    QString apertura;
    QString cierre;
    double nroturno = 0;
    const double id = shiftChooser().ask(apertura, cierre, nroturno);
    if (id == 0) return;
    lblAperturaTurno.setCaption(apertura);
    lblAperturaTurno.setVisible(true);
    lblCierreTurno.setCaption(cierre);
    lblCierreTurno.setVisible(true);
    mNroTurno = nroturno;
    cmdTurno.setTag(runtime::Variant(id).toString());
    turnDatesOff();
}

void ParametersWindow::turnDatesOff() {
    if (m_datesOnShift == DatesOnShift::Hide)
        Frame1.setVisible(false);
    else
        Frame1.setEnabled(false);
}

} // namespace framework

#include "frmSeleccionaTurno.h"

#include "runtime/RuntimeError.h"
#include "runtime/Variant.h"

namespace dorrindale {

double frmSeleccionaTurno::ask(QString& apertura, QString& cierre, double& nroturno) {
    try {
        mIdSesion = 0;
        show(forms::Modal);
        // Closed with the close box: the chooser starts afresh, with nothing listed.
        if (!isLoaded()) return 0;
        const int row = grdTurnos.row();
        apertura = grdTurnos.textMatrix(row, 2);
        cierre = grdTurnos.textMatrix(row, 4);
        nroturno = runtime::Variant(grdTurnos.textMatrix(row, 1)).toDouble();
        return mIdSesion;
    } catch (const runtime::RuntimeError&) {
        return 0;
    }
}

} // namespace dorrindale

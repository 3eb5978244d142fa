#pragma once

#include "framework/frmSeleccionaTurno.h"

namespace dorrindale {

// Dorrindale's shift chooser: the last day of the range bounds a shift's closing, and ask
// reads the chosen row without testing it first, any failure giving 0.
class frmSeleccionaTurno : public framework::frmSeleccionaTurno {
public:
    frmSeleccionaTurno() : framework::frmSeleccionaTurno(LastDayBounds::Closing) {}

    double ask(QString& apertura, QString& cierre, double& nroturno) override;
};

} // namespace dorrindale

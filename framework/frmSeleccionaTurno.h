#pragma once

#include "forms/CommandButton.h"
#include "forms/DatePicker.h"
#include "forms/Form.h"
#include "forms/Frame.h"
#include "forms/Grid.h"
#include "forms/Label.h"
#include "forms/PictureBox.h"
#include "forms/Shape.h"

#include <QString>

namespace framework {

// The shift chooser: lists the cash shifts of a range of days (and every shift still
// open) and hands the chosen one back through ask. Its buttons only hide it, so it keeps
// its list and dates from one call to the next.
class frmSeleccionaTurno : public forms::Form {
public:
    // Which moment of a shift the last day of the range bounds: its opening or its closing.
    // Shifts still open are listed either way.
    enum class LastDayBounds { Opening, Closing };

    explicit frmSeleccionaTurno(LastDayBounds lastDayBounds = LastDayBounds::Opening);

    // Shows the chooser modally; returns the chosen shift's identifier (0 for none) and
    // its opening and closing texts and number.
    virtual double ask(QString& apertura, QString& cierre, double& nroturno);
    void CABGRILLA();
    void llenar();

    forms::Shape Shape1{*this, QStringLiteral("Shape1"), {90, 60, 6780, 480}};
    forms::Label Label1{*this, QStringLiteral("Label1"), QStringLiteral("Desde"), {210, 195, 540, 255}};
    forms::DatePicker DTPicker1{*this, QStringLiteral("DTPicker1"), {765, 135, 1605, 330}};
    forms::Label Label2{*this, QStringLiteral("Label2"), QStringLiteral("Hasta"), {2625, 195, 540, 255}};
    forms::DatePicker DTPicker2{*this, QStringLiteral("DTPicker2"), {3180, 135, 1605, 330}};
    forms::CommandButton cmdTurno{
        *this, QStringLiteral("cmdTurno"), QStringLiteral("Buscar"), {5385, 120, 1335, 360}};
    forms::Grid grdTurnos{*this, QStringLiteral("grdTurnos"), {90, 660, 6780, 3375}};
    forms::Frame frameSearching{*this, QStringLiteral("frameSearching"), QString(), {90, 660, 6780, 3375}};
    forms::PictureBox picSearching{frameSearching, QStringLiteral("picSearching"), {2790, 1080, 480, 480}};
    forms::Label Label3{
        frameSearching, QStringLiteral("Label3"), QStringLiteral("Procesando..."), {3390, 1200, 1500, 255}};
    forms::CommandButton cmdOk{
        *this, QStringLiteral("cmdOk"), QStringLiteral("Aceptar"), {4095, 4170, 1335, 405}};
    forms::CommandButton cmdSalir{
        *this, QStringLiteral("cmdSalir"), QStringLiteral("Salir"), {5535, 4170, 1335, 405}};

protected:
    void Form_Load() override;
    // "Aceptar": takes the current row's shift and hides the chooser; on an empty list it
    // stays open.
    virtual void cmdOk_Click();

    double mIdSesion = 0;

private:
    void cmdTurno_Click();
    void grdTurnos_DblClick();
    void cmdSalir_Click();

    LastDayBounds m_lastDayBounds;
};

} // namespace framework

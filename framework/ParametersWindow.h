#pragma once

#include "forms/CommandButton.h"
#include "forms/CommonDialog.h"
#include "forms/DatePicker.h"
#include "forms/Form.h"
#include "forms/Frame.h"
#include "forms/ImageList.h"
#include "forms/Label.h"
#include "forms/OptionButton.h"

#include <QString>

namespace framework {

// What the parameters windows of the three programs share: the shift frame with its
// button and labels, the date frame, the view and exit buttons, the save dialog and the
// export pictures of the report export, and the shift and exit handlers. Each program's frmParametros derives
// from it, adds its own controls, wires cmdVerListado and moves what its layout places elsewhere.
class ParametersWindow : public forms::Form {
public:
    // What a chosen shift does to the date frame: disables it or hides it for good.
    enum class DatesOnShift { Disable, Hide };

    explicit ParametersWindow(DatesOnShift datesOnShift = DatesOnShift::Disable);

    forms::Frame Frame2{
        *this, QStringLiteral("Frame2"), QStringLiteral("Turno de Caja"), {60, 0, 2880, 1260}};
    forms::CommandButton cmdTurno{
        Frame2, QStringLiteral("cmdTurno"), QStringLiteral("Caja"), {105, 300, 960, 630}};
    forms::Label Label6_0{
        Frame2, QStringLiteral("Label6"), QStringLiteral("Apertura: "), {1125, 195, 1320, 225}, 0};
    forms::Label lblAperturaTurno{
        Frame2, QStringLiteral("lblAperturaTurno"), QStringLiteral("99/99/99 99:99"), {1125, 390, 1260, 210}};
    forms::Label Label6_1{
        Frame2, QStringLiteral("Label6"), QStringLiteral("Cierre:"), {1125, 615, 1320, 225}, 1};
    forms::Label lblCierreTurno{
        Frame2, QStringLiteral("lblCierreTurno"), QStringLiteral("99/99/99 99:99"), {1125, 795, 1260, 210}};

    forms::Frame Frame1{*this, QStringLiteral("Frame1"), QStringLiteral("Fecha"), {2970, 0, 2655, 1275}};
    forms::Label Label1{Frame1, QStringLiteral("Label1"), QStringLiteral("Desde:"), {210, 240, 1515, 270}};
    forms::DatePicker dtdesde{Frame1, QStringLiteral("dtdesde"), {840, 195, 1605, 330}};
    forms::Label Label2{Frame1, QStringLiteral("Label2"), QStringLiteral("Hasta:"), {255, 645, 1515, 270}};
    forms::DatePicker dthasta{Frame1, QStringLiteral("dthasta"), {840, 600, 1620, 345}};
    forms::OptionButton optF0{
        Frame1, QStringLiteral("optF"), QStringLiteral("Fechas"), {45, 960, 1215, 285}, 0};

    forms::CommandButton cmdVerListado{
        *this, QStringLiteral("cmdVerListado"), QStringLiteral("Ver Listado"), {3120, 4140, 1605, 900}};
    forms::CommandButton cmdSalir{
        *this, QStringLiteral("cmdSalir"), QStringLiteral("Salir"), {4935, 4140, 1455, 900}};
    forms::CommonDialog dlgDialog{*this, QStringLiteral("dlgDialog")};
    forms::ImageList ImageList1{*this, QStringLiteral("ImageList1")};

    // The number of the chosen shift.
    double mNroTurno = 0;

    // The texts of the selected items of a list view, in list order, joined by ",". The
    // list view offers count() and, for 1 to count(), selected(i) and text(i).
    template <class ListView> QString GetSelectedlv(const ListView& lv) const {
        QString result;
        const int count = lv.count();
        for (int i = 1; i <= count; ++i)
            if (lv.selected(i)) result += lv.text(i) + QLatin1Char(',');
        if (!result.isEmpty()) result.chop(1);
        return result;
    }

protected:
    void cmdSalir_Click();
    void cmdTurno_Click();
    // Turns the date range off once a shift is chosen.
    void turnDatesOff();

private:
    DatesOnShift m_datesOnShift;
};

} // namespace framework

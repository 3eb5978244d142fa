#pragma once

#include "forms/CheckBox.h"
#include "forms/ComboBox.h"
#include "forms/CommandButton.h"
#include "forms/DatePicker.h"
#include "forms/Form.h"
#include "forms/Frame.h"
#include "forms/Grid.h"
#include "forms/Label.h"
#include "forms/Menu.h"
#include "forms/OptionButton.h"
#include "forms/PictureBox.h"
#include "forms/Shape.h"
#include "forms/Timer.h"
#include "runtime/Variant.h"

#include <QString>

namespace quenbrook {

// The listing window: a result grid and a detail grid over a period (days with times of
// day, or a cash shift) and the filters of a listing mode. Listado opens it in a mode;
// "Quenbrook" lists deleted products, "InfVentas" the sales with deletions.
class frmPListado : public forms::Form {
public:
    frmPListado();

    bool Listado(const QString& pTipoListado);
    void InfVentasLlenaDetalle(double id);
    void MostarDetalle();
    void PreparaDetalle();
    void carga();
    void ArmaGrilla();
    void MuestraDatos();
    void Quenbrook();
    // A time of day as minutes since midnight, in text; s takes the "HH:MM" form.
    QString hFecha2Mins(QString& s);
    void PreparaOpciones();
    runtime::Variant GridToTmpReport();
    void PrintReport();
    void InfVentas();

    // The query texts of the two listings, as the window's controls set them.
    QString quenbrookQuery();
    QString infVentasQuery();

    QString mTipoListado;
    bool mPermiteOrdenar = false;
    bool mOcupado = false;
    double mFilasEncontradas = 0;

    forms::CommandButton cancelButton{
        *this, QStringLiteral("cancelButton"), QStringLiteral("Cerrar"), {13020, 8760, 1560, 435}};
    forms::CommandButton cmdExcel{
        *this, QStringLiteral("cmdExcel"), QStringLiteral("Excel"), {9780, 8760, 1560, 435}};
    forms::CommandButton cmdImprimir{
        *this, QStringLiteral("cmdImprimir"), QStringLiteral("Imprimir"), {11400, 8760, 1560, 435}};
    forms::CommandButton OKButton{
        *this, QStringLiteral("OKButton"), QStringLiteral("Ver datos"), {8160, 8760, 1560, 435}};
    forms::Timer tmrReimprimir{*this, QStringLiteral("tmrReimprimir"), 10000, false};

    forms::Frame Frame2{
        *this, QStringLiteral("Frame2"), QStringLiteral("Turno de Caja"), {60, 60, 2880, 1380}};
    forms::CommandButton cmdTurno{
        Frame2, QStringLiteral("cmdTurno"), QStringLiteral("Selecciona Turno"), {105, 300, 1440, 630}};
    forms::Label Label6_0{
        Frame2, QStringLiteral("Label6"), QStringLiteral("Apertura: "), {1620, 195, 1200, 225}, 0};
    forms::Label lblAperturaTurno{
        Frame2, QStringLiteral("lblAperturaTurno"), QStringLiteral("99/99/99 99:99"), {1620, 420, 1200, 210}};
    forms::Label Label6_1{
        Frame2, QStringLiteral("Label6"), QStringLiteral("Cierre:"), {1620, 690, 1200, 225}, 1};
    forms::Label lblCierreTurno{
        Frame2, QStringLiteral("lblCierreTurno"), QStringLiteral("99/99/99 99:99"), {1620, 915, 1200, 210}};

    forms::Frame Frame_2{*this,
                         QStringLiteral("Frame"),
                         QStringLiteral("Resultado de la busqueda"),
                         {60, 1500, 14640, 7140},
                         2};
    forms::PictureBox picGN{Frame_2, QStringLiteral("picGN"), {4320, 2520, 6000, 1080}};
    forms::Label lblInfo{picGN,
                         QStringLiteral("lblInfo"),
                         QStringLiteral("Seleccione datos para mostrar"),
                         {120, 360, 5760, 360}};
    forms::Grid g{Frame_2, QStringLiteral("g"), {120, 270, 14400, 6720}};
    forms::Grid GD{Frame_2, QStringLiteral("GD"), {120, 3990, 14400, 3000}};

    forms::Frame Frame_0{*this, QStringLiteral("Frame"), QStringLiteral("Hora"), {6120, 60, 2220, 1380}, 0};
    forms::CommandButton cmdReset{
        Frame_0, QStringLiteral("cmdReset"), QStringLiteral("Reset"), {780, 1005, 1320, 300}};
    forms::Label Label5{Frame_0, QStringLiteral("Label5"), QStringLiteral("Inicial:"), {120, 300, 645, 255}};
    forms::DatePicker hdesde{
        Frame_0, QStringLiteral("hdesde"), {780, 255, 1320, 330}, forms::DatePicker::Time};
    forms::Label Label4{Frame_0, QStringLiteral("Label4"), QStringLiteral("Final:"), {120, 675, 645, 255}};
    forms::DatePicker hhasta{
        Frame_0, QStringLiteral("hhasta"), {780, 630, 1320, 330}, forms::DatePicker::Time};

    forms::Frame Frame1{
        *this, QStringLiteral("Frame1"), QStringLiteral("Fecha de Caja"), {3000, 60, 3060, 1380}};
    forms::OptionButton optF0{
        Frame1, QStringLiteral("optF"), QStringLiteral("Fechas"), {120, 240, 990, 285}, 0};
    forms::OptionButton optF1{
        Frame1, QStringLiteral("optF"), QStringLiteral("Desde último cierre"), {1140, 240, 1860, 285}, 1};
    forms::Label Label1{Frame1, QStringLiteral("Label1"), QStringLiteral("Desde:"), {120, 645, 645, 255}};
    forms::DatePicker dtdesde{Frame1, QStringLiteral("dtdesde"), {780, 600, 1605, 330}};
    forms::Label Label2{Frame1, QStringLiteral("Label2"), QStringLiteral("Hasta:"), {120, 1005, 645, 255}};
    forms::DatePicker dthasta{Frame1, QStringLiteral("dthasta"), {780, 960, 1605, 330}};

    forms::Frame Rubro{*this, QStringLiteral("Rubro"), QStringLiteral("Rubro"), {8400, 60, 3000, 1380}};
    forms::ComboBox cmbRubros{Rubro, QStringLiteral("cmbRubros"), {120, 300, 2760, 315}};

    forms::Frame fraTipoFactura{
        *this, QStringLiteral("fraTipoFactura"), QStringLiteral("Tipo Factura"), {8400, 60, 1320, 1380}};
    forms::CheckBox chkFacA{
        fraTipoFactura, QStringLiteral("chkFacA"), QStringLiteral("A"), {120, 270, 1140, 285}};
    forms::CheckBox chkFacB{
        fraTipoFactura, QStringLiteral("chkFacB"), QStringLiteral("B"), {120, 600, 1140, 285}};
    forms::CheckBox chkFacX{
        fraTipoFactura, QStringLiteral("chkFacX"), QStringLiteral("X"), {120, 930, 1140, 285}};

    forms::Frame fraOrden3{
        *this, QStringLiteral("fraOrden3"), QStringLiteral("Orden"), {9780, 60, 2160, 1380}};
    forms::ComboBox cmbOrden3{fraOrden3, QStringLiteral("cmbOrden3"), {120, 300, 1920, 315}};

    forms::Frame frmLisIVaVtas{
        *this, QStringLiteral("frmLisIVaVtas"), QStringLiteral("Iva Ventas"), {9780, 60, 2160, 1380}};
    forms::Label Label3{
        frmLisIVaVtas, QStringLiteral("Label3"), QStringLiteral("Letra:"), {120, 345, 600, 255}};
    forms::ComboBox cmbIVALetra{frmLisIVaVtas, QStringLiteral("cmbIVALetra"), {780, 300, 1260, 315}};

    forms::Frame frmStockReponer{
        *this, QStringLiteral("frmStockReponer"), QStringLiteral("Filtros"), {11460, 60, 1500, 1380}};
    forms::OptionButton optStockR0{
        frmStockReponer, QStringLiteral("optStockR"), QStringLiteral("Todo"), {120, 270, 1260, 285}, 0};
    forms::OptionButton optStockR1{
        frmStockReponer, QStringLiteral("optStockR"), QStringLiteral("Bajo"), {120, 600, 1260, 285}, 1};
    forms::OptionButton optStockR2{
        frmStockReponer, QStringLiteral("optStockR"), QStringLiteral("Cero"), {120, 930, 1260, 285}, 2};

    forms::Frame fraFiltros3{
        *this, QStringLiteral("fraFiltros3"), QStringLiteral("Filtros"), {12000, 60, 2700, 1380}};
    forms::OptionButton opt3_0{
        fraFiltros3, QStringLiteral("opt3"), QStringLiteral("Detallado"), {120, 240, 1200, 255}, 0};
    forms::OptionButton opt3_1{
        fraFiltros3, QStringLiteral("opt3"), QStringLiteral("Opción 3"), {120, 510, 1200, 255}, 1};
    forms::OptionButton opt3_2{
        fraFiltros3, QStringLiteral("opt3"), QStringLiteral("Opcion 4"), {120, 780, 1200, 255}, 2};
    forms::OptionButton opt3_4{
        fraFiltros3, QStringLiteral("opt3"), QStringLiteral("Opción 5"), {120, 1050, 1200, 255}, 4};
    forms::CheckBox chkSalon{
        fraFiltros3, QStringLiteral("chkSalon"), QStringLiteral("Salon"), {1380, 240, 1200, 255}};
    forms::CheckBox chkMostrador{
        fraFiltros3, QStringLiteral("chkMostrador"), QStringLiteral("Mostrador"), {1380, 510, 1200, 255}};
    forms::CheckBox chkDelivery{
        fraFiltros3, QStringLiteral("chkDelivery"), QStringLiteral("Delivery"), {1380, 780, 1200, 255}};

    forms::Menu mnuPopup{*this, QStringLiteral("mnuPopup"), QStringLiteral("popup")};
    forms::MenuItem mnuReabrirMesa{mnuPopup, QStringLiteral("mnuReabrirMesa"),
                                   QStringLiteral("Copiar venta a mesa...")};
    forms::MenuItem mnuReimprimir{mnuPopup, QStringLiteral("mnuReimprimir"), QStringLiteral("ReImprimir")};

    forms::Shape Shape1{*this, QStringLiteral("Shape1"), {8100, 8700, 6540, 555}};
    forms::Shape Shape2{*this, QStringLiteral("Shape2"), {9750, 8760, 15, 435}};
    forms::Shape Shape3{*this, QStringLiteral("Shape3"), {11370, 8760, 15, 435}};
    forms::Shape Shape4{*this, QStringLiteral("Shape4"), {12990, 8760, 15, 435}};

protected:
    void Form_Load() override;

private:
    void cancelButton_Click();
    void cmdExcel_Click();
    void cmdImprimir_Click();
    void OKButton_Click();
    void cmdReset_Click();
    void cmdTurno_Click();
    void optF_Click();
    void g_MouseUp(int button, int shift, double x, double y);
    void tmrReimprimir_Timer();
    // The pickers of the period and "Reset" together.
    void enablePeriod(bool enabled);
    void resetCmbRubros();
};

} // namespace quenbrook

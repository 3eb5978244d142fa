#pragma once

#include "framework/frmParametrosBase.h"

#include "forms/CheckBox.h"
#include "forms/CommandButton.h"
#include "forms/Frame.h"
#include "forms/ProgressBar.h"
#include "runtime/Variant.h"

#include <QString>

namespace quenbrook {

// The texts of the sales query and of one sale's detail query, as the build sends them.
QString deletedItemsSalesQuery(const QString& tag, double desde, double hasta, bool isMSSQL);
QString deletedItemsDetailQuery(double idventa, bool isMSSQL);

// The parameters window of the deleted-items report: the period (a cash shift or a range
// of days), the two filters and the build of the report.
class frmParametros : public framework::frmParametrosBase {
public:
    frmParametros();

    // Fills tmpreport with the sales of the period that qualify and shows the report.
    void LlenaInforme();
    // The user and motive of the sale's audit entry of code 21; both stay as given without one.
    void traeSuplementoAuditoria(double idventa, QString& usuario, QString& motivo);
    // The prefix of a table kind: "" (0), "T/" (1), "D/" (2), "-" otherwise.
    runtime::Variant nombreMesa(const runtime::Variant& mesa);

    forms::Frame frameFamilias{*this, QStringLiteral("frameFamilias"), QString(), {75, 1320, 6420, 2655}};
    forms::Frame fraFiltros3{
        frameFamilias, QStringLiteral("fraFiltros3"), QStringLiteral("Filtros"), {360, 360, 5535, 1620}};
    forms::CheckBox chkDelivery{
        fraFiltros3,
        QStringLiteral("chkDelivery"),
        QStringLiteral("Solo mostrar datos cuando  se eliminen items luego de imprimir ticket"),
        {120, 360, 2220, 1020}};
    forms::CheckBox chkTodos{fraFiltros3,
                             QStringLiteral("chkTodos"),
                             QStringLiteral("Ver todas las ventas"),
                             {3120, 360, 2220, 1020}};
    forms::ProgressBar pb{frameFamilias, QStringLiteral("pb"), {240, 2160, 5175, 375}};
    forms::CommandButton cancelar{
        frameFamilias, QStringLiteral("cancelar"), QStringLiteral("Cancelar"), {5400, 2160, 975, 375}};

    // Whether a build is running (a second press of "Ver Listado" then does nothing).
    bool building() const { return m_building; }

protected:
    void Form_Load() override;

private:
    void cmdVerListado_Click();
    void cancelar_Click();

    bool m_building = false;
    bool m_cancelRequested = false;
};

} // namespace quenbrook

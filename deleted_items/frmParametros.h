#pragma once

#include "framework/TmpreportParametersWindow.h"

#include "forms/CheckBox.h"
#include "runtime/Variant.h"

#include <QString>

namespace quenbrook {

// The texts of the sales query and of one sale's detail query, as the build sends them.
QString deletedItemsSalesQuery(const QString& tag, double desde, double hasta, bool isMSSQL);
QString deletedItemsDetailQuery(double idventa, bool isMSSQL);

// The parameters window of the deleted-items report: the period (a cash shift or a range
// of days), the two filters and the build of the report.
class frmParametros : public framework::TmpreportParametersWindow {
public:
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

protected:
    void Form_Load() override;
    QString periodSalesQuery() override;
    // A header row and the item rows of each sale that qualifies: voided, with deleted items
    // (after its ticket's time with the first filter), or any with the second.
    void writeSales(data::Recordset& tmp, data::Recordset& ventas) override;
};

} // namespace quenbrook

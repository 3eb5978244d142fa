#pragma once

#include "framework/ParametersWindow.h"

#include "forms/CheckBox.h"
#include "forms/Frame.h"
#include "forms/ListView.h"

namespace dorrindale {

// The parameters window of the sales-by-dish report: the product families and their dishes,
// a range of days or a cash shift, and the build of the report.
class frmParametros : public framework::ParametersWindow {
public:
    frmParametros();

    // Lists the active families, all selected.
    void LlenaFamilias();
    // Lists the active dishes of the selected families.
    void LlenaArticulos();
    // Forms the report's queries from the choice, binds them and shows the report.
    void LlenaInforme();

    forms::Frame frameFamilias{*this,
                               QStringLiteral("frameFamilias"),
                               QStringLiteral("Familia, SubFamilia y Artículos: "),
                               {60, 1320, 8520, 3900}};
    forms::ListView FamiliasLista{frameFamilias, QStringLiteral("FamiliasLista"), {120, 300, 3000, 3450}};
    forms::ListView ArticulosLista{frameFamilias, QStringLiteral("ArticulosLista"), {3240, 300, 5160, 3450}};
    forms::CheckBox chkTodos{*this,
                             QStringLiteral("chkTodos"),
                             QStringLiteral("Todos Incluyendo borrados"),
                             {5760, 150, 2820, 375}};
    forms::CheckBox chkObservaciones{
        *this, QStringLiteral("chkObservaciones"), QStringLiteral("Observaciones "), {5760, 600, 2820, 375}};

protected:
    void Form_Load() override;

private:
    void FamiliasLista_Click();
    void cmdVerListado_Click();
};

} // namespace dorrindale

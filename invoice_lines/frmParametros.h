#pragma once

#include "framework/TmpreportParametersWindow.h"

#include "forms/Label.h"
#include "forms/TextBox.h"

#include <QString>

namespace velmarsh {

// The text of the sales query of the invoice-lines report, as the build sends it: the sales
// of invoice letters A, B, C and X of a shift (a non-zero tag) or of a range of days.
QString invoiceLinesSalesQuery(const QString& tag, double desde, double hasta, bool isMSSQL);

// The parameters window of the invoice-lines report: the period (a cash shift or a range of
// days), the location label that every line carries, stored in REGISTRY as CSNETIQUETA, and
// the build of the report.
class frmParametros : public framework::TmpreportParametersWindow {
public:
    frmParametros();

    forms::Label Label3{
        frameFamilias, QStringLiteral("Label3"), QStringLiteral("Etiqueta"), {240, 240, 2055, 255}};
    forms::TextBox txtEtiqueta{frameFamilias, QStringLiteral("txtEtiqueta"), {1680, 240, 1215, 375}};

protected:
    void Form_Load() override;
    QString periodSalesQuery() override;
    // One row per item of each sale, carrying the sale's columns.
    void writeSales(data::Recordset& tmp, data::Recordset& ventas) override;
    // Shows the report with the label on every line.
    void showBuiltReport() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;

private:
    void txtEtiqueta_LostFocus();
};

} // namespace velmarsh

#pragma once

#include "frmParametrosBase.h"

#include "forms/CommandButton.h"
#include "forms/Frame.h"
#include "forms/ProgressBar.h"
#include "runtime/Variant.h"

#include <QString>

namespace data {
class Recordset;
}

namespace framework {

// The parameters window of a report built into tmpreport (Quenbrook's and Velmarsh's): the
// frame with the progress bar and the cancel button, the view button that runs the
// program's LlenaInforme one build at a time, and the audit supplement and table-kind
// prefix that the builders call.
class frmParametrosInforme : public frmParametrosBase {
public:
    frmParametrosInforme();

    // Fills tmpreport for the chosen period and shows the report.
    virtual void LlenaInforme() = 0;
    // The user and motive of the sale's audit entry of code 21; both stay as given without one.
    void traeSuplementoAuditoria(double idventa, QString& usuario, QString& motivo);
    // The prefix of a table kind: "" (0), "T/" (1), "D/" (2), "-" otherwise.
    runtime::Variant nombreMesa(const runtime::Variant& mesa);

    forms::Frame frameFamilias{*this, QStringLiteral("frameFamilias"), QString(), {75, 1320, 6420, 2655}};
    forms::ProgressBar pb{frameFamilias, QStringLiteral("pb"), {240, 2160, 5175, 375}};
    forms::CommandButton cancelar{
        frameFamilias, QStringLiteral("cancelar"), QStringLiteral("Cancelar"), {5400, 2160, 975, 375}};

    // Whether a build is running (a second press of "Ver Listado" then does nothing).
    bool building() const { return m_building; }

protected:
    // Opens a build: fills the missing cash dates, shows the hourglass, empties tmpreport and
    // opens it for adding rows, and opens the sales query, whose count becomes the progress
    // bar's maximum (left as it was when there are no sales).
    void abreInforme(const QString& ventasSql, data::Recordset& tmp, data::Recordset& ventas);
    // Whether the user pressed "Cancelar" during the running build: the builder stops after
    // the sale or row in hand.
    bool cancelRequested() const { return m_cancelRequested; }
    // Closes a build and restores the pointer; false when it was cancelled (no report is
    // shown then), otherwise the progress bar is filled.
    bool cierraInforme(data::Recordset& tmp, data::Recordset& ventas);

private:
    void cmdVerListado_Click();
    void cancelar_Click();

    bool m_building = false;
    bool m_cancelRequested = false;
};

} // namespace framework

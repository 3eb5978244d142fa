#pragma once

#include "ParametersWindow.h"

#include "forms/CommandButton.h"
#include "forms/Frame.h"
#include "forms/ProgressBar.h"
#include "runtime/Variant.h"

#include <QString>

#include <chrono>

namespace data {
class Recordset;
class CommitScope;
} // namespace data

namespace framework {

// The parameters window of a report built into tmpreport (Quenbrook's and Velmarsh's): the
// frame with the progress bar and the cancel button, the view button that runs the
// program's LlenaInforme one build at a time, and the audit supplement and table-kind
// prefix that the builders call.
class TmpreportParametersWindow : public ParametersWindow {
public:
    TmpreportParametersWindow();

    // Fills tmpreport with the rows of the chosen period's sales and shows the report: the
    // missing cash dates first (counted on the progress bar when that pass is long), then,
    // under the hourglass, tmpreport emptied and the program's rows written sale by sale, the
    // progress bar counting up to the number of sales.
    void LlenaInforme();
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

    // How long a build waits for tmpreport while another program's or workstation's build holds it.
    std::chrono::milliseconds tmpreportWait{std::chrono::minutes(1)};
    // What the user is told when that wait runs out.
    static const QString TmpreportBusyMessage;

protected:
    // The program's sales query for the period chosen in the window.
    virtual QString periodSalesQuery() = 0;
    // Writes the program's rows for the sales into tmpreport; stops after the sale or row in
    // hand once the user has pressed "Cancelar".
    virtual void writeSales(data::Recordset& tmp, data::Recordset& ventas) = 0;
    // Shows the report over the rows written.
    virtual void showBuiltReport();
    // Whether the user pressed "Cancelar" during the running build (no report is shown then).
    bool cancelRequested() const { return m_cancelRequested; }

private:
    void cmdVerListado_Click();
    void cancelar_Click();
    // Begins the build's transaction on tmpreport, waiting while another build holds it; false when
    // the user cancels or the wait runs out (the user is told).
    bool acquireTmpreport(data::CommitScope& writes);

    bool m_building = false;
    bool m_cancelRequested = false;
};

} // namespace framework

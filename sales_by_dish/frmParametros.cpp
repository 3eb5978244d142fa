#include "frmParametros.h"

#include "ReportTexts.h"
#include "arDorrindale.h"
#include "subReportDctos.h"
#include "subReprotObs.h"

#include "data/Recordset.h"
#include "framework/CurrentUser.h"
#include "framework/ListViewHelpers.h"
#include "framework/ProgramSession.h"
#include "framework/clsDataBase.h"
#include "framework/funciones.h"
#include "runtime/DateSerial.h"
#include "runtime/Format.h"
#include "runtime/RuntimeError.h"

using namespace framework;

namespace dorrindale {

namespace {

constexpr std::int16_t Slot = 1;

// The columns of the main query, for a report that has no dish to show.
const QStringList MainColumns = {QStringLiteral("x_fecha"),        QStringLiteral("x_hora"),
                                 QStringLiteral("NombreArticulo"), QStringLiteral("SumOfcantidad"),
                                 QStringLiteral("monto"),          QStringLiteral("imp")};

// Appends a row per record of a query of an identifier and a name: "id|name".
void addRows(forms::ListView& lv, const QString& sql) {
    data::Recordset rs;
    rs.open(sql, gDB->dbaccess);
    while (!rs.eof()) {
        lvAddItem(lv, Slot, rs.fields(0).value().toText() + QLatin1Char('|') + rs.fields(1).value().toText());
        rs.moveNext();
    }
    rs.close();
}

} // namespace

frmParametros::frmParametros() : ParametersWindow(DatesOnShift::Hide) {
    setClientSize(8640, 6360);
    cmdVerListado.move(5160, 5340, 1605, 900);
    cmdSalir.move(6960, 5340, 1455, 900);
    for (forms::ListView* lv : {&FamiliasLista, &ArticulosLista})
        lv->setMultiSelect(true);
    FamiliasLista.onClick([this] { FamiliasLista_Click(); });
    cmdVerListado.onClick([this] { cmdVerListado_Click(); });
}

void frmParametros::Form_Load() {
    LlenaFamilias();
    FamiliasLista_Click();
    dtdesde.setValue(runtime::today());
    dthasta.setValue(runtime::today() + 1);
}

void frmParametros::LlenaFamilias() {
    lvPrep(FamiliasLista, Slot, QStringLiteral("id;0|Rubro;2000"));
    addRows(FamiliasLista,
            QStringLiteral("select idr, descripcion from rubros where estado = 1 order by descripcion"));
    lvSeleccionarTodos(FamiliasLista);
}

void frmParametros::FamiliasLista_Click() {
    LlenaArticulos();
    lvSeleccionarTodos(ArticulosLista);
}

void frmParametros::LlenaArticulos() {
    lvPrep(ArticulosLista, Slot, QStringLiteral("id;0|Articulo;4000"));
    QString familias;
    for (int i = 1; i <= FamiliasLista.count(); ++i)
        if (FamiliasLista.selected(i)) familias += FamiliasLista.text(i) + QStringLiteral(", ");
    if (familias.size() >= 2) familias.chop(2);
    // No family selected: no dish to list.
    if (familias.isEmpty()) return;

    addRows(ArticulosLista,
            QStringLiteral("select id, nombre from productos where estado = 1 and idrubro in (") + familias +
                QStringLiteral(") order by nombre"));
}

void frmParametros::cmdVerListado_Click() {
    LlenaInforme();
}

void frmParametros::LlenaInforme() {
    // On SQL Server each step that fails is passed over and the build goes on; on Access a
    // failure reaches the caller.
    const bool sqlServer = gDB->isMSSQL;
    auto step = [sqlServer](const std::function<void()>& body) {
        if (!sqlServer) return body();
        try {
            body();
        } catch (const runtime::RuntimeError&) {
        }
    };

    // A function of the SQL Server database (already there after the first build).
    if (sqlServer) step([] { gDB->dbaccess->execute(firstWordFunction()); });

    Choice choice;
    choice.allProducts = chkTodos.value() == 1;
    choice.dishes = GetSelectedlv(ArticulosLista);
    choice.tag = cmdTurno.tag();
    choice.shiftNumber = mNroTurno;
    choice.apertura = lblAperturaTurno.caption();
    choice.cierre = lblCierreTurno.caption();
    choice.desde = dtdesde.value();
    choice.hasta = dthasta.value();
    choice.categorizacion = gCategorizacion;
    const ReportTexts texts = reportTexts(choice);

    // The discount total: what was read counts, also when the reading fails half-way.
    double descuentos = 0;
    step([&] {
        data::Recordset rs;
        rs.open(texts.discountQuery, gDB->dbaccess);
        while (!rs.eof()) {
            descuentos += ValorNumerico(rs.fields(QStringLiteral("monto")).value());
            rs.moveNext();
        }
        rs.close();
    });

    arDorrindale& informe = report<arDorrindale>();
    subReportDctos& dctos = informe.discountsReport;
    subReprotObs& obs = informe.observationsReport;
    step([&] {
        informe.dao->setConnection(gDB->dbaccess);
        dctos.dao->setConnection(gDB->dbaccess);
        obs.dao->setConnection(gDB->dbaccess);
        informe.dao->setSource(texts.mainQuery);
        // No dish chosen: the report lists none, without sending a product list that begins
        // with a comma.
        if (texts.hasProducts)
            informe.dao->setRows(reports::DataControl::RowsFactory{});
        else
            informe.dao->setRows(MainColumns, {});
        dctos.dao->setSource(texts.discountQuery);
        obs.dao->setSource(texts.observationsQuery);
        informe.SubReportDescuentos->setReport(&dctos);
        informe.subReportObs->setReport(&obs);
        informe.params->setText(texts.title);
        informe.vDesc->setText(runtime::Format(runtime::Variant(descuentos), QStringLiteral("#,##0")));
    });
    step([&] { showReport(informe); });
}

} // namespace dorrindale

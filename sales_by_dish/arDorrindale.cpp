#include "arDorrindale.h"

#include "framework/funciones.h"
#include "runtime/Format.h"
#include "runtime/Regional.h"

using namespace framework;

namespace dorrindale {
using namespace reports;
using runtime::Variant;

namespace {

const QString Thousands = QStringLiteral("#,##0");

struct Caption {
    const char* name;
    const char* text;
    QRect rect;
};

const Caption ColumnCaptions[] = {
    {"Label28", "Fecha", {0, 850, 1276, 284}},     {"Label29", "Producto Local", {1276, 850, 4110, 284}},
    {"Label30", "Hora", {5386, 850, 567, 284}},    {"Label31", "Cantidad", {5953, 850, 1417, 284}},
    {"Label32", "Precio", {7370, 850, 1417, 284}}, {"Label33", "Importe", {8787, 850, 1559, 284}},
    {"Label34", "Mes", {10346, 850, 709, 284}},
};

const Caption FooterCaptions[] = {
    {"Label23", "Sub Total", {1276, 283, 4110, 284}},
    {"Label21", "Descuentos realizados:", {1276, 850, 4110, 284}},
    {"Label27", "Total descuentos:", {5386, 1276, 1984, 283}},
    {"Label22", "Total", {1276, 1843, 4110, 283}},
    {"Label36", "Opcionales", {0, 2268, 5386, 283}},
    {"Label35", "Cantidad", {0, 2551, 1276, 284}},
    {"Label37", "Opcional", {1276, 2551, 4110, 284}},
    {"Label38", "Importe", {7370, 2551, 1417, 284}},
    {"Label39", "Total", {8787, 2551, 2268, 284}},
};

Field* rightAligned(Field* field) {
    field->setAlignment(Alignment::Right);
    return field;
}

} // namespace

arDorrindale::arDorrindale() {
    setCaption(QStringLiteral("Dorrindale"));
    // Letter, with margins narrow enough for the 11,055 twips of the columns.
    pageSetup().paper = {12240, 15840};
    pageSetup().leftMargin = pageSetup().rightMargin = 560;
    pageSetup().topMargin = pageSetup().bottomMargin = 720;

    Section* header = addSection(SectionKind::ReportHeader, QStringLiteral("ReportHeader"), 1170);
    header->addLabel(QStringLiteral("Label1"), QStringLiteral("Dorrindale"), {0, 0, 5386, 850})->font().size =
        24;
    params = header->addField(QStringLiteral("params"), {}, {0, 567, 11055, 283});
    for (const Caption& c : ColumnCaptions)
        header->addLabel(QString::fromUtf8(c.name), QString::fromUtf8(c.text), c.rect);

    Section* detail = addSection(SectionKind::Detail, QStringLiteral("Detail"), 300);
    Field9 = detail->addField(QStringLiteral("Field9"), QStringLiteral("x_fecha"), {0, 0, 1276, 283},
                              QStringLiteral("d-mmm"));
    txtNombreArticulo = detail->addField(QStringLiteral("txtNombreArticulo"),
                                         QStringLiteral("NombreArticulo"), {1276, 0, 4110, 283});
    Field11 = rightAligned(
        detail->addField(QStringLiteral("Field11"), QStringLiteral("x_hora"), {5386, 0, 567, 283}));
    txtSumOfcantidad = rightAligned(detail->addField(QStringLiteral("txtSumOfcantidad"),
                                                     QStringLiteral("SumOfcantidad"), {5953, 0, 1417, 283}));
    txtmonto = rightAligned(detail->addField(QStringLiteral("txtmonto"), QStringLiteral("monto"),
                                             {7370, 0, 1417, 283}, Thousands));
    txtimp = rightAligned(
        detail->addField(QStringLiteral("txtimp"), QStringLiteral("imp"), {8787, 0, 1559, 283}, Thousands));
    Field10 = rightAligned(detail->addField(QStringLiteral("Field10"), QStringLiteral("x_fecha"),
                                            {10346, 0, 709, 283}, QStringLiteral("m")));
    dao = detail->addDataControl(QStringLiteral("dao"), {0, 0, 0, 0});

    Section* footer = addSection(SectionKind::ReportFooter, QStringLiteral("ReportFooter"), 3315);
    footer->addLine(QStringLiteral("Line6"), {3969, 142, 8787, 142});
    for (const Caption& c : FooterCaptions)
        footer->addLabel(QString::fromUtf8(c.name), QString::fromUtf8(c.text), c.rect);
    Field7 = rightAligned(
        footer->addField(QStringLiteral("Field7"), QStringLiteral("SumOfcantidad"), {5953, 283, 1417, 284}));
    Field8 = rightAligned(
        footer->addField(QStringLiteral("Field8"), QStringLiteral("imp"), {7370, 283, 1417, 284}, Thousands));
    Field7->setSummary(Field::Summary::GrandTotal);
    Field8->setSummary(Field::Summary::GrandTotal);
    SubReportDescuentos =
        footer->addSubReport(QStringLiteral("SubReportDescuentos"), {1276, 1134, 7511, 142});
    vDesc = rightAligned(footer->addField(QStringLiteral("vDesc"), {}, {7370, 1276, 1417, 283}, Thousands));
    vDesc->setText(QStringLiteral("0"));
    SuperTotal =
        rightAligned(footer->addField(QStringLiteral("SuperTotal"), {}, {7370, 1843, 1417, 283}, Thousands));
    SuperTotal->setText(QStringLiteral("0"));
    subReportObs = footer->addSubReport(QStringLiteral("subReportObs"), {0, 2835, 11055, 141});
    footer->onBeforePrint([this] { ReportFooter_BeforePrint(); });
}

void arDorrindale::ReportFooter_BeforePrint() {
    const double a = ValorNumerico(Field8->dataValue());
    const double b = runtime::parseNumber(vDesc->text()).value_or(0.0);
    SuperTotal->setText(runtime::Format(Variant(b + a), Thousands));
    SuperTotal->setOutputFormat(Thousands);
    vDesc->setOutputFormat(Thousands);
}

} // namespace dorrindale

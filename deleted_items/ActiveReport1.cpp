#include "ActiveReport1.h"

#include "framework/funciones.h"
#include "runtime/Format.h"
#include "runtime/RuntimeError.h"

using namespace framework;

namespace quenbrook {

using namespace reports;
using runtime::Format;
using runtime::Variant;

namespace {

const QColor SaleCaptionText(Qt::white);
const QColor SaleCaptionBack(128, 128, 128);
const QColor ItemCaptionText(64, 64, 64);
const QColor ItemCaptionBack(224, 224, 224);
constexpr long Green = 32768;
constexpr long Red = 255;

// A caption of the group header: name, text and place.
struct Caption {
    const char* name;
    const char* text;
    QRect rect;
};

const Caption SaleCaptions[] = {
    {"Label10", "Fecha T.", {15, 45, 1134, 283}},   {"Label1", "Hora T.", {1149, 45, 992, 283}},
    {"Label3", "Mesa", {2141, 45, 709, 283}},       {"Label2", "H.Apertura", {2850, 45, 1134, 283}},
    {"Label4", "H.Cierre", {3984, 45, 1133, 283}},  {"Label5", "Estado", {5117, 45, 851, 283}},
    {"Label7", "Nro. Fact", {5968, 45, 1842, 283}}, {"Label8", "Total", {7810, 45, 851, 283}},
    {"Label14", "Imp", {8655, 45, 480, 285}},       {"Label13", "Usuario", {9090, 45, 1275, 285}},
};

const Caption ItemCaptions[] = {
    {"Label22", "Hora", {15, 970, 1134, 284}},          {"Label15", "Cant.", {1149, 970, 567, 284}},
    {"Label24", "Descripción", {1710, 975, 2310, 285}}, {"Label17", "PV", {3984, 970, 708, 284}},
    {"Label16", "$", {4692, 970, 1134, 284}},           {"Label18", "T.Prep", {5401, 970, 1134, 284}},
    {"Label19", "T.Adic", {6165, 975, 990, 285}},       {"Label20", "Tipo / Motivo", {7125, 975, 1260, 285}},
    {"Label21", "Estado", {8235, 970, 900, 285}},       {"Label23", "Usuario", {9135, 970, 1245, 285}},
};

void captionLabel(Section* section, const Caption& caption, const QColor& fore, const QColor& back) {
    Label* label =
        section->addLabel(QString::fromUtf8(caption.name), QString::fromUtf8(caption.text), caption.rect);
    label->setForeColor(fore);
    label->setBackColor(back);
}

void largeFont(Control* control) {
    control->font().size = 11.5;
}

} // namespace

ActiveReport1::ActiveReport1() {
    setCaption(QStringLiteral("ActiveReport1"));
    pageSetup().paper = {12240, 15840};
    pageSetup().setMargins(770);

    addSection(SectionKind::ReportHeader, QStringLiteral("ReportHeader"), 0);

    PageHeader = addSection(SectionKind::PageHeader, QStringLiteral("PageHeader"), 315);
    largeFont(PageHeader->addLabel(QStringLiteral("Label11"), QStringLiteral("Items Eliminados"),
                                   {142, 0, 2976, 283}));

    GroupHeader1 = addGroupHeader(QStringLiteral("GroupHeader1"), 1200, QStringLiteral("campo1"));
    Section* g = GroupHeader1;
    for (const Caption& c : SaleCaptions)
        captionLabel(g, c, SaleCaptionText, SaleCaptionBack);

    g->addField(QStringLiteral("Field2"), QStringLiteral("campo13"), {15, 395, 1134, 284},
                QStringLiteral("d-mmm-yy"));
    txtcampo2 = g->addField(QStringLiteral("txtcampo2"), QStringLiteral("campo2"), {1149, 395, 992, 284},
                            QStringLiteral("h:mm"));
    g->addField(QStringLiteral("txtcampo3"), QStringLiteral("campo3"), {2130, 390, 2835, 285});
    g->addField(QStringLiteral("txtcampo4"), QStringLiteral("campo4"), {2991, 680, 1134, 284},
                QStringLiteral("h:mm"));
    g->addField(QStringLiteral("txtcampo5"), QStringLiteral("campo5"), {3984, 665, 1133, 284},
                QStringLiteral("h:mm"));
    txtcampo6 = g->addField(QStringLiteral("txtcampo6"), QStringLiteral("campo6"), {5117, 395, 851, 284});
    g->addField(QStringLiteral("txtcampo7"), QStringLiteral("campo7"), {6109, 395, 426, 284});
    g->addField(QStringLiteral("txtcampo8"), QStringLiteral("campo8"), {6535, 395, 1134, 284});
    txtcampo9 = g->addField(QStringLiteral("txtcampo9"), QStringLiteral("campo9"), {7669, 395, 992, 284},
                            QStringLiteral("$#,##0"));
    largeFont(txtcampo9);
    txtcampo10 = g->addField(QStringLiteral("txtcampo10"), QStringLiteral("campo10"), {8646, 680, 425, 284});
    g->addField(QStringLiteral("Field4"), QStringLiteral("campo15"), {9101, 680, 1275, 284});

    for (const Caption& c : ItemCaptions)
        captionLabel(g, c, ItemCaptionText, ItemCaptionBack);
    g->addLine(QStringLiteral("Line1"), {15, 328, 10361, 328});
    g->addLine(QStringLiteral("Line2"), {19, 30, 10365, 30});
    GroupHeader1->onFormat([this] { GroupHeader1_Format(); });

    Detail = addSection(SectionKind::Detail, QStringLiteral("Detail"), 315);
    txtcampo17 = Detail->addField(QStringLiteral("txtcampo17"), QStringLiteral("campo18"), {0, 0, 1080, 270},
                                  QStringLiteral("h:mm"));
    txtcampo18 =
        Detail->addField(QStringLiteral("txtcampo18"), QStringLiteral("campo19"), {1080, 0, 540, 270});
    txtcampo19 =
        Detail->addField(QStringLiteral("txtcampo19"), QStringLiteral("campo20"), {1620, 0, 2340, 270});
    txtcampo20 =
        Detail->addField(QStringLiteral("txtcampo20"), QStringLiteral("campo21"), {3960, 0, 720, 270});
    Field1 = Detail->addField(QStringLiteral("Field1"), {}, {4680, 0, 720, 270});
    txtcampo21 = Detail->addField(QStringLiteral("txtcampo21"), QStringLiteral("campo22"),
                                  {5400, 0, 720, 270}, QStringLiteral("h:mm"));
    txtcampo22 = Detail->addField(QStringLiteral("txtcampo22"), QStringLiteral("campo23"),
                                  {6120, 0, 990, 270}, QStringLiteral("h:mm"));
    txtcampo22->setForeColor(Green);
    txtcampo23 =
        Detail->addField(QStringLiteral("txtcampo23"), QStringLiteral("campo24"), {7110, 0, 1980, 270});
    Field5 = Detail->addField(QStringLiteral("Field5"), QStringLiteral("campo27"), {9090, 0, 1260, 270});
    txtcampo24 =
        Detail->addField(QStringLiteral("txtcampo24"), QStringLiteral("campo25"), {2490, 285, 7860, 270});
    txtcampo24->setCanGrow(true);
    DAODataControl1 = Detail->addDataControl(QStringLiteral("DAODataControl1"), {10575, 0, 825, 315});
    DAODataControl1->setSource(QStringLiteral("SELECT * from tmpreport"));
    Detail->onFormat([this] { Detail_Format(); });

    GroupFooter1 = addSection(SectionKind::GroupFooter, QStringLiteral("GroupFooter1"), 465);
    totalFac = GroupFooter1->addField(QStringLiteral("totalFac"), {}, {7650, 60, 992, 284},
                                      QStringLiteral("$#,##0"));
    totalFac->setText(QStringLiteral("0"));
    largeFont(totalFac);
    GroupFooter1->addLine(QStringLiteral("Line3"), {45, 15, 10290, 15});

    addSection(SectionKind::PageFooter, QStringLiteral("PageFooter"), 360);

    ReportFooter = addSection(SectionKind::ReportFooter, QStringLiteral("ReportFooter"), 1470);
    ReportFooter->addLine(QStringLiteral("Line5"), {45, 45, 10140, 45});
    ReportFooter->addLabel(QStringLiteral("Label25"), QStringLiteral("Total Vtas en el informe."),
                           {4305, 300, 2385, 285});
    sumaTotal = ReportFooter->addField(QStringLiteral("sumaTotal"), {}, {6750, 315, 1890, 285},
                                       QStringLiteral("$#,##0"));
    ReportFooter->addLabel(QStringLiteral("Label26"), QStringLiteral("Total Anulaciones"),
                           {4320, 660, 2370, 285});
    sumaAnulaciones = ReportFooter->addField(QStringLiteral("sumaAnulaciones"), {}, {6750, 675, 1890, 285},
                                             QStringLiteral("$#,##0"));
    ReportFooter->addLine(QStringLiteral("Line4"), {4050, 930, 8835, 930});
    ReportFooter->addLabel(QStringLiteral("Label27"), QStringLiteral("Ventas - Anulaciones"),
                           {4305, 990, 2370, 285});
    totalokbo = ReportFooter->addField(QStringLiteral("totalokbo"), {}, {6735, 1005, 1890, 285},
                                       QStringLiteral("$#,##0"));
    for (Field* total : {sumaTotal, sumaAnulaciones, totalokbo}) {
        total->setText(QStringLiteral("0"));
        largeFont(total);
    }
    ReportFooter->onFormat([this] { ReportFooter_Format(); });
}

void ActiveReport1::GroupHeader1_Format() {
    txtcampo10->setText(txtcampo10->text() == QLatin1String("1") ? QStringLiteral("Si")
                                                                 : QStringLiteral("No"));
    if (txtcampo6->text() == QLatin1String("3")) txtcampo6->setText(QStringLiteral("Anulado"));
    if (txtcampo6->text() == QLatin1String("2")) txtcampo6->setText(QStringLiteral("Cerrado"));
    if (txtcampo6->text() == QLatin1String("1")) txtcampo6->setText(QStringLiteral("Abierto"));
    totalFac->setText(Format(txtcampo9->dataValue(), QStringLiteral("#,##0.00")));
    if (txtcampo6->text() != QLatin1String("Anulado") && !txtcampo9->dataValue().isNull())
        mTotalVentas = runtime::checkedDouble(mTotalVentas + stod2(txtcampo9->dataValue()));
}

void ActiveReport1::Detail_Format() {
    // Only a sale's header row lacks the line type; an item may lack its time.
    if (txtcampo23->text().isEmpty()) {
        Detail->setVisible(false);
        return;
    }
    Detail->setVisible(true);
    const double importe =
        runtime::checkedDouble(stod2(txtcampo18->dataValue()) * stod2(txtcampo20->dataValue()));
    Field1->setText(Variant(importe).toString());

    const long color = txtcampo23->text() == QLatin1String("ADIC") ? Green : Red;
    for (Field* field :
         {txtcampo17, txtcampo18, txtcampo19, txtcampo20, txtcampo21, txtcampo22, txtcampo23, Field1})
        field->setForeColor(color);
    if (color == Green) return;
    if (fields(QStringLiteral("campo28")).toText() != QLatin1String("-8"))
        mTotalAnulaciones = runtime::checkedDouble(mTotalAnulaciones + importe);
}

void ActiveReport1::ReportFooter_Format() {
    sumaTotal->setText(Format(Variant(mTotalAnulaciones + mTotalVentas), QStringLiteral("#,##0.00")));
    sumaAnulaciones->setText(Format(Variant(mTotalAnulaciones), QStringLiteral("#,##0.00")));
    totalokbo->setText(Format(Variant(mTotalVentas), QStringLiteral("#,##0.00")));
}

} // namespace quenbrook

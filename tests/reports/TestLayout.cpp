#include "TestLayout.h"

#include "runtime/Format.h"

using namespace reports;

NotesReport::NotesReport() {
    Detail = addSection(SectionKind::Detail, QStringLiteral("Detail"), 250);
    nota = Detail->addField(QStringLiteral("nota"), QStringLiteral("nota"), {0, 0, 3000, 250});
    importe = Detail->addField(QStringLiteral("importe"), QStringLiteral("importe"), {3000, 0, 1200, 250},
                               QStringLiteral("#,##0"));
    importe->setAlignment(Alignment::Right);
    dao = Detail->addDataControl(QStringLiteral("dao"), {0, 0, 800, 250});
    Detail->onFormat([this] { nota->setText(nota->text().toUpper()); });
}

SalesReport::SalesReport() {
    setCaption(QStringLiteral("Ventas de prueba"));
    pageSetup().setMargins(720);

    ReportHeader = addSection(SectionKind::ReportHeader, QStringLiteral("ReportHeader"), 700);
    auto* title =
        ReportHeader->addLabel(QStringLiteral("Label1"), QStringLiteral("Ventas"), {0, 0, 4000, 400});
    title->font().size = 16;
    title->font().bold = true;
    params = ReportHeader->addField(QStringLiteral("params"), {}, {0, 400, 8000, 280});

    PageHeader = addSection(SectionKind::PageHeader, QStringLiteral("PageHeader"), 330);
    PageHeader->addLabel(QStringLiteral("Label2"), QStringLiteral("Listado de ventas"), {0, 0, 4000, 280});
    PageHeader->addLine(QStringLiteral("Line1"), {0, 300, 10000, 300});

    GroupHeader1 = addGroupHeader(QStringLiteral("GroupHeader1"), 600, QStringLiteral("grupo"));
    auto* caption =
        GroupHeader1->addLabel(QStringLiteral("Label3"), QStringLiteral("Grupo"), {0, 0, 1200, 280});
    caption->setForeColor(QColor(Qt::white));
    caption->setBackColor(QColor(128, 128, 128));
    grupo = GroupHeader1->addField(QStringLiteral("grupo"), QStringLiteral("grupo"), {1300, 0, 2000, 280});
    primerItem =
        GroupHeader1->addField(QStringLiteral("primerItem"), QStringLiteral("item"), {3400, 0, 3000, 280});
    GroupHeader1->onFormat([this] { GroupHeader1_Format(); });

    Detail = addSection(SectionKind::Detail, QStringLiteral("Detail"), 300);
    item = Detail->addField(QStringLiteral("item"), QStringLiteral("item"), {0, 0, 3000, 280});
    cantidad = Detail->addField(QStringLiteral("cantidad"), QStringLiteral("cantidad"), {3000, 0, 1000, 280},
                                QStringLiteral("#,##0"));
    cantidad->setAlignment(Alignment::Right);
    precio = Detail->addField(QStringLiteral("precio"), QStringLiteral("precio"), {4000, 0, 1500, 280},
                              QStringLiteral("$#,##0.00"));
    precio->setAlignment(Alignment::Right);
    total = Detail->addField(QStringLiteral("total"), {}, {5500, 0, 1500, 280});
    total->setAlignment(Alignment::Right);
    motivo = Detail->addField(QStringLiteral("motivo"), QStringLiteral("motivo"), {7200, 0, 2800, 280});
    motivo->setCanGrow(true);
    Detail->addLine(QStringLiteral("Line2"), {0, 295, 10000, 295});
    dao = Detail->addDataControl(QStringLiteral("dao"), {10000, 0, 800, 300});
    Detail->onFormat([this] { Detail_Format(); });

    GroupFooter1 = addSection(SectionKind::GroupFooter, QStringLiteral("GroupFooter1"), 400);
    totalGrupo = GroupFooter1->addField(QStringLiteral("totalGrupo"), {}, {5500, 50, 1500, 280});
    totalGrupo->setAlignment(Alignment::Right);
    GroupFooter1->onFormat([this] { GroupFooter1_Format(); });

    PageFooter = addSection(SectionKind::PageFooter, QStringLiteral("PageFooter"), 300);
    PageFooter->addLabel(QStringLiteral("Label4"), QStringLiteral("Pie de página"), {0, 0, 3000, 280});

    ReportFooter = addSection(SectionKind::ReportFooter, QStringLiteral("ReportFooter"), 1000);
    ReportFooter->addLabel(QStringLiteral("Label5"), QStringLiteral("Total"), {0, 0, 2000, 280});
    sumaCantidad = ReportFooter->addField(QStringLiteral("sumaCantidad"), QStringLiteral("cantidad"),
                                          {3000, 0, 1000, 280}, QStringLiteral("#,##0"));
    sumaCantidad->setSummary(Field::Summary::GrandTotal);
    sumaCantidad->setAlignment(Alignment::Right);
    sumaTotal = ReportFooter->addField(QStringLiteral("sumaTotal"), {}, {5500, 0, 1500, 280});
    sumaTotal->setAlignment(Alignment::Right);
    subNotas = ReportFooter->addSubReport(QStringLiteral("subNotas"), {1000, 400, 5000, 100});
    subNotas->setReport(&notes);
    ReportFooter->addLabel(QStringLiteral("Label6"), QStringLiteral("Fin"), {0, 600, 2000, 280});
    ReportFooter->onBeforePrint([this] { ReportFooter_BeforePrint(); });
}

QStringList SalesReport::columns() {
    return {QStringLiteral("grupo"),  QStringLiteral("item"),   QStringLiteral("cantidad"),
            QStringLiteral("precio"), QStringLiteral("motivo"), QStringLiteral("tipo")};
}

Row SalesReport::row(const QString& group, const QString& item, double quantity, double price,
                     const QString& motive, const QString& kind) {
    return {group, item, quantity, price, motive, kind};
}

void SalesReport::ActiveReport_ReportStart() {
    events << QStringLiteral("ReportStart");
    reportSum = 0;
}

void SalesReport::ActiveReport_ReportEnd() {
    events << QStringLiteral("ReportEnd");
}

void SalesReport::GroupHeader1_Format() {
    events << QStringLiteral("GroupHeader:") + grupo->text() + QStringLiteral("/") + primerItem->text();
    groupSum = 0;
}

void SalesReport::Detail_Format() {
    events << QStringLiteral("Detail:") + item->text();
    if (fields(QStringLiteral("tipo")).toText() == QStringLiteral("H")) {
        Detail->setVisible(false);
        return;
    }
    Detail->setVisible(true);
    const double amount = cantidad->dataValue().toDouble() * precio->dataValue().toDouble();
    total->setText(runtime::Format(amount, QStringLiteral("#,##0.00")));
    total->setForeColor(amount < 0 ? 255L : 32768L);
    groupSum += amount;
    reportSum += amount;
}

void SalesReport::GroupFooter1_Format() {
    events << QStringLiteral("GroupFooter:") + grupo->text() + QStringLiteral("/") + item->text();
    totalGrupo->setText(runtime::Format(groupSum, QStringLiteral("#,##0.00")));
}

void SalesReport::ReportFooter_BeforePrint() {
    events << QStringLiteral("ReportFooter:") + sumaCantidad->text();
    sumaTotal->setText(runtime::Format(reportSum, QStringLiteral("#,##0.00")));
}

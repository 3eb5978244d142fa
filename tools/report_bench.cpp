// Pages a large report and exports it to PDF, text, .doc and .xls, printing pages per
// second for each step.
//   report_bench [rows] [output folder]

#include "reports/PdfExport.h"
#include "reports/Report.h"
#include "reports/RtfExport.h"
#include "reports/TextExport.h"
#include "reports/XlsExport.h"
#include "runtime/Format.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

using namespace reports;

namespace {

// Sale lines grouped by sale, with a page header and footer, coloured amounts and totals.
class BenchReport : public Report {
public:
    explicit BenchReport(int rows) {
        setCaption(QStringLiteral("Benchmark"));
        pageSetup().setMargins(720);
        Section* pageHeader = addSection(SectionKind::PageHeader, QStringLiteral("PageHeader"), 330);
        auto* title = pageHeader->addLabel(QStringLiteral("Label1"), QStringLiteral("Items Eliminados"),
                                           {0, 0, 4000, 283});
        title->font().size = 11.5;
        pageHeader->addLine(QStringLiteral("Line1"), {0, 310, 10400, 310});

        Section* group = addGroupHeader(QStringLiteral("GroupHeader1"), 330, QStringLiteral("venta"));
        auto* caption =
            group->addLabel(QStringLiteral("Label2"), QStringLiteral("Venta"), {0, 20, 1100, 284});
        caption->setForeColor(QColor(Qt::white));
        caption->setBackColor(QColor(128, 128, 128));
        group->addField(QStringLiteral("venta"), QStringLiteral("venta"), {1150, 20, 1200, 284});
        group->addField(QStringLiteral("fecha"), QStringLiteral("fecha"), {2400, 20, 1200, 284},
                        QStringLiteral("d-mmm-yy"));

        Section* detail = addSection(SectionKind::Detail, QStringLiteral("Detail"), 300);
        detail->addField(QStringLiteral("hora"), QStringLiteral("hora"), {0, 0, 1000, 270},
                         QStringLiteral("h:mm"));
        detail->addField(QStringLiteral("producto"), QStringLiteral("producto"), {1000, 0, 3000, 270});
        auto* quantity =
            detail->addField(QStringLiteral("cantidad"), QStringLiteral("cantidad"), {4000, 0, 900, 270});
        quantity->setAlignment(Alignment::Right);
        auto* price = detail->addField(QStringLiteral("importe"), QStringLiteral("importe"),
                                       {4900, 0, 1400, 270}, QStringLiteral("$#,##0.00"));
        price->setAlignment(Alignment::Right);
        m_amount = detail->addField(QStringLiteral("total"), {}, {6300, 0, 1400, 270});
        m_amount->setAlignment(Alignment::Right);
        detail->addField(QStringLiteral("motivo"), QStringLiteral("motivo"), {7800, 0, 2600, 270});
        auto* dao = detail->addDataControl(QStringLiteral("dao"), {0, 0, 800, 300});
        detail->onFormat([this, quantity, price] {
            const double amount = quantity->dataValue().toDouble() * price->dataValue().toDouble();
            m_amount->setText(runtime::Format(amount, QStringLiteral("#,##0.00")));
            m_amount->setForeColor(amount < 0 ? 255L : 32768L);
        });

        Section* pageFooter = addSection(SectionKind::PageFooter, QStringLiteral("PageFooter"), 300);
        pageFooter->addLabel(QStringLiteral("Label3"), QStringLiteral("Pellicant"), {0, 0, 3000, 280});
        Section* footer = addSection(SectionKind::ReportFooter, QStringLiteral("ReportFooter"), 400);
        footer->addLabel(QStringLiteral("Label4"), QStringLiteral("Cantidad total"), {1000, 60, 3000, 284});
        auto* sum =
            footer->addField(QStringLiteral("suma"), QStringLiteral("cantidad"), {4000, 60, 900, 284});
        sum->setSummary(Field::Summary::GrandTotal);
        sum->setAlignment(Alignment::Right);

        const QStringList products{"Muzzarella", "Napolitana",         "Agua mineral",   "Flan con dulce",
                                   "Café",       "Milanesa con papas", "Ensalada mixta", "Empanada de carne"};
        QVector<Row> data;
        data.reserve(rows);
        for (int i = 0; i < rows; ++i) {
            const int day = 46000 + i / 2000; // 2000 rows a day
            data.append({runtime::Variant(1000 + i / 25), runtime::Variant::date(day),
                         runtime::Variant::date(0.5 + (i % 600) / 1440.0), products[i % products.size()],
                         runtime::Variant(i % 13 == 0 ? -1 : 1 + i % 4),
                         runtime::Variant(250.0 + (i * 37) % 4000),
                         i % 9 == 0 ? QStringLiteral("Error de carga") : QString()});
        }
        dao->setRows({"venta", "fecha", "hora", "producto", "cantidad", "importe", "motivo"}, data);
    }

private:
    Field* m_amount;
};

double timed(const std::function<void()>& step) {
    QElapsedTimer timer;
    timer.start();
    step();
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 50000;
    QTemporaryDir temporary;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : temporary.path();
    QDir().mkpath(folder);

    BenchReport report(rows);
    const double paging = timed([&] { report.run(); });
    const Pages& pages = report.pages();
    const double count = double(pages.size());
    std::printf("%d rows, %lld pages\n", rows, static_cast<long long>(pages.size()));
    std::printf("%-8s %8.2f s %10.0f pages/s\n", "paging", paging, count / paging);

    auto measure = [&](const char* name, ExportFilter&& filter, const QString& file) {
        filter.setFileName(QDir(folder).filePath(file));
        const double seconds = timed([&] { filter.exportPages(pages); });
        std::printf("%-8s %8.2f s %10.0f pages/s %10.1f MB\n", name, seconds, count / seconds,
                    QFileInfo(filter.fileName()).size() / 1e6);
    };
    measure("pdf", PdfExport(), QStringLiteral("bench.pdf"));
    measure("text", TextExport(), QStringLiteral("bench.txt"));
    measure("doc", RtfExport(), QStringLiteral("bench.doc"));
    XlsExport xls;
    xls.setRemoveVerticalSpace(true);
    xls.setShowGridLines(false);
    xls.setPageBreaks(true);
    xls.setMinColumnWidth(1);
    xls.setMinRowHeight(5);
    measure("xls", std::move(xls), QStringLiteral("bench.xls"));
    return 0;
}

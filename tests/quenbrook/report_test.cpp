#include "QuenbrookTest.h"

#include "../reports/PageQueries.h"
#include "../reports/Readers.h"
#include "../reports/SpreadsheetCheck.h"

#include "forms/Application.h"
#include "framework/ReportExport.h"
#include "reports/Printing.h"
#include "reports/TextExport.h"
#include "runtime/DateSerial.h"
#include "support/LocaleScope.h"
#include "support/Screenshot.h"
#include "support/UserInput.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>

using namespace framework;
using namespace quenbrook;

using posdb::day;
using posdb::time;
using reports::PageItem;
using runtime::Variant;

namespace {

const QColor Green(0, 128, 0);
const QColor Red(255, 0, 0);

QColor colorOf(const reports::Pages& pages, const QString& text) {
    for (qsizetype i = 0; i < pages.size(); ++i) {
        const reports::Page page = pages.unpack(i);
        if (const PageItem* item = findText(page, text)) return item->color;
    }
    return {};
}

} // namespace

TEST_F(QuenbrookTest, TheReportShowsGroupsColouredLinesAndTheThreeTotals) {
    LocaleScope locale("es_AR.UTF-8");
    frmParametros& window = logIn();
    ActiveReport1& report = firstOfDecember(window);
    ASSERT_TRUE(framework::preview() && framework::preview()->isVisible());
    const reports::Pages& pages = report.pages();
    ASSERT_EQ(pages.size(), 1);
    const QStringList texts = allTexts(pages);

    // One group per sale, headed by its ticket data.
    EXPECT_EQ(countText(pages, "Items Eliminados"), 1);
    EXPECT_EQ(countText(pages, "Fecha T."), 2);
    EXPECT_EQ(countText(pages, "1-dic-26"), 2);
    EXPECT_TRUE(texts.contains("12:30"));
    EXPECT_TRUE(texts.contains("T/5"));
    EXPECT_TRUE(texts.contains("Cerrado"));
    EXPECT_TRUE(texts.contains("Anulado"));
    EXPECT_EQ(countText(pages, "Si"), 2);
    EXPECT_TRUE(texts.contains("$1.500"));
    EXPECT_TRUE(texts.contains("1.500,00")); // the sale's total under its lines
    EXPECT_TRUE(texts.contains("600,00"));

    // Lines: remaining ones green, deleted and voided ones red; header rows print no line.
    EXPECT_EQ(colorOf(pages, "Muzzarella"), Green);
    EXPECT_EQ(colorOf(pages, "Agua"), Green);
    EXPECT_EQ(countText(pages, "Napolitana"), 2);
    EXPECT_EQ(colorOf(pages, "PRODUCTO"), Red);
    EXPECT_EQ(colorOf(pages, "ANULADO"), Red);
    EXPECT_TRUE(texts.contains("1000")); // 2 x 500
    EXPECT_TRUE(texts.contains("Cliente se fue"));

    // Sales 1500 (the voided sale adds nothing); deletions 600 + 600.
    EXPECT_DOUBLE_EQ(report.mTotalVentas, 1500);
    EXPECT_DOUBLE_EQ(report.mTotalAnulaciones, 1200);
    EXPECT_EQ(report.sumaTotal->text(), "2.700,00");
    EXPECT_EQ(report.sumaAnulaciones->text(), "1.200,00");
    EXPECT_EQ(report.totalokbo->text(), "1.500,00");
    EXPECT_TRUE(texts.contains("2.700,00"));

    // A total wider than its box runs on into the free space on its right; a name stops at the next column.
    const reports::Page first = pages.unpack(0);
    const PageItem* total = findText(first, "1.500,00");
    ASSERT_NE(total, nullptr);
    EXPECT_GT(total->room, total->rect.width());
    const PageItem* name = findText(first, "Muzzarella");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->room, name->rect.width()); // the unit price follows at once

    // The five export tools follow the engine's own.
    EXPECT_EQ(report.toolbar().tools(22).caption, "    Excel    ");
    EXPECT_EQ(report.toolbar().tools(21).caption, "                Exportar a:");

    saveScreenshot(window.window(), QStringLiteral("quenbrook-parametros"));
    saveScreenshot(framework::preview(), QStringLiteral("quenbrook-report"));
}

TEST_F(QuenbrookEmptyTest, TotalsLeaveOutProductMinusEightAndSpareRemainingLines) {
    LocaleScope locale("en_US.UTF-8");
    frmParametros& window = logIn();
    const qint64 sale = fx.addSale(1, day(2026, 12, 3), {{"SF_total", 1000.0}, {"estado", 7}});
    fx.addLine(sale, "Pan", 1, 50, {{"idproducto", -8}, {"HORA", time(11, 0)}});
    fx.addDeletion(sale, "Servicio", 2, 80, {{"idproducto", -8}, {"HORA", time(11, 1)}});
    fx.addDeletion(sale, "Vino", 1, 900, {{"HORA", time(11, 2)}, {"TIPO", "adic"}});
    verListado(window);

    ActiveReport1& report = framework::report<ActiveReport1>();
    const QStringList texts = allTexts(report.pages());
    EXPECT_TRUE(texts.contains("7")); // a state outside 1 to 3 prints as it is
    EXPECT_EQ(colorOf(report.pages(), "Servicio"), Red);
    EXPECT_TRUE(texts.contains("160"));
    EXPECT_EQ(colorOf(report.pages(), "adic"), Red); // letter case counts
    EXPECT_DOUBLE_EQ(report.mTotalAnulaciones, 900);
    EXPECT_DOUBLE_EQ(report.mTotalVentas, 1000);
    EXPECT_EQ(report.sumaTotal->text(), "1,900.00");
    EXPECT_EQ(report.sumaAnulaciones->text(), "900.00");
    EXPECT_EQ(report.totalokbo->text(), "1,000.00");

    // An empty period: no groups, the three totals at zero.
    fx.exec(QStringLiteral("delete from ventas"));
    verListado(window);
    EXPECT_EQ(countText(report.pages(), "Fecha T."), 0);
    EXPECT_EQ(report.sumaTotal->text(), "0.00");
    EXPECT_EQ(report.sumaAnulaciones->text(), "0.00");
    EXPECT_EQ(report.totalokbo->text(), "0.00");
}

TEST_F(QuenbrookTest, TheBuiltReportExportsToTheFourKinds) {
    LocaleScope locale("en_US.UTF-8");
    frmParametros& window = logIn();
    ActiveReport1& report = firstOfDecember(window);

    QTemporaryDir dir;
    const QStringList filters = exportToTheFourKinds(report, dir, "ventas");
    EXPECT_EQ(filters.first(), "xls File (*.xls)|*.xls|AllFiles (*.*)|*.*");
    EXPECT_TRUE(errorLog().isEmpty()) << errorLog().toStdString();

    if (auto cells = readXls(dir.filePath("ventas.xls"))) {
        EXPECT_TRUE(cells->contains("Items Eliminados"));
        EXPECT_TRUE(cells->contains("Napolitana"));
        EXPECT_TRUE(cells->contains("|n|2700.0")) << cells->toStdString();
        // The ticket's time (12:30) and date as date cells.
        EXPECT_TRUE(cells->contains("|d|0.5208333")) << cells->toStdString();
        EXPECT_TRUE(cells->contains(QStringLiteral("|d|%1.0").arg(day(2026, 12, 1).toDouble())));
    }
    if (auto text = runReader("pdftotext", {dir.filePath("ventas.pdf"), "-"})) {
        EXPECT_TRUE(text->contains("Items Eliminados"));
        EXPECT_TRUE(text->contains("Cliente se fue"));
    }
    QFile txt(dir.filePath("ventas.txt"));
    ASSERT_TRUE(txt.open(QIODevice::ReadOnly));
    const QString plain = QString::fromUtf8(txt.readAll());
    EXPECT_TRUE(plain.contains("Muzzarella"));
    EXPECT_TRUE(plain.contains("1,500.00"));
    if (auto doc = runReader("catdoc", {"-w", dir.filePath("ventas.doc")})) {
        EXPECT_TRUE(doc->contains("Total Anulaciones"));
        EXPECT_TRUE(doc->contains("1,200.00"));
    }
}

// Every cell of the spreadsheet shows what the preview shows: dates, times and amounts in the
// user's regional settings, read back through LibreOffice.
TEST_F(QuenbrookTest, TheSpreadsheetShowsWhatThePreviewShows) {
    frmParametros& window = logIn();
    setRange(window, day(2026, 12, 1), day(2026, 12, 1));
    expectSpreadsheetShowsThePreview([&]() -> reports::Report& {
        verListado(window);
        return framework::report<ActiveReport1>();
    });
}

// Another program or workstation builds into the installation's tmpreport between the preview
// and the export: the exports and a print still hold the pages the preview shows.
TEST_F(QuenbrookTest, ExportsAndPrintsHoldThePreviewsPagesWhateverTmpreportHoldsSince) {
    LocaleScope locale("es_AR.UTF-8");
    frmParametros& window = logIn();
    ActiveReport1& report = firstOfDecember(window);
    const QString shown = reports::TextExport::pagesText(report.pages());
    ASSERT_TRUE(shown.contains("Muzzarella"));
    QTemporaryDir dir;
    const auto read = [&dir](const QString& name) {
        return QString::fromUtf8(fileContents(dir.filePath(name)));
    };
    exTXTReport(report, dir.filePath("antes.txt"));

    // The second build, on a connection of its own.
    fx.spooler()->execute(QStringLiteral("delete from tmpreport"));
    for (int i = 0; i < 80; ++i)
        fx.spooler()->execute(QStringLiteral("insert into tmpreport (campo1, campo20) values ('%1', 'Flan')")
                                  .arg(900 + i / 10));
    exTXTReport(report, dir.filePath("despues.txt"));
    exPDFReport(report, dir.filePath("despues.pdf"));
    reports::setPrintDialog([&dir](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("impreso.pdf"));
        return true;
    });
    framework::preview()->action(0)->trigger();
    reports::setPrintDialog({});

    EXPECT_EQ(read("antes.txt").toStdString(), shown.toStdString());
    EXPECT_EQ(read("despues.txt").toStdString(), shown.toStdString());
    for (const char* pdf : {"despues.pdf", "impreso.pdf"}) {
        const auto text = runReader("pdftotext", {dir.filePath(pdf), "-"});
        if (!text) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
        EXPECT_EQ(text->count(u'\f'), report.pages().size()) << pdf;
        EXPECT_TRUE(text->contains("Muzzarella")) << pdf;
        EXPECT_FALSE(text->contains("Flan")) << pdf;
    }
    EXPECT_TRUE(errorLog().isEmpty()) << errorLog().toStdString();
}

// Only a header row lacks the line type: a deletion without time or product id prints and counts.
TEST_F(QuenbrookEmptyTest, ADeletionWithoutTimeOrProductIdPrintsAndCounts) {
    LocaleScope locale("es_AR.UTF-8");
    frmParametros& window = logIn();
    const qint64 sale = fx.addSale(1, day(2026, 12, 3), {{"SF_total", 1000.0}});
    fx.addDeletion(sale, "Flan", 2, 150.5, {{"HORA", Variant::null()}, {"idproducto", Variant::null()}});
    verListado(window);

    ActiveReport1& report = framework::report<ActiveReport1>();
    EXPECT_EQ(countText(report.pages(), "Flan"), 1);
    EXPECT_EQ(colorOf(report.pages(), "Flan"), Red);
    EXPECT_EQ(countText(report.pages(), "Fecha T."), 1);
    EXPECT_EQ(report.sumaAnulaciones->text(), "301,00");
    EXPECT_EQ(report.sumaTotal->text(), "1.301,00");
}

// Values the runtime cannot hold end the program with error 6 instead of printing as digits.
TEST_F(QuenbrookEmptyTest, OverflowingTotalsAndDatesRaiseOverflow) {
    LocaleScope locale("es_AR.UTF-8");
    for (const char* value : {"SF_total = 1.5e308", "SF_FECHA = 1e12", "SF_FECHA = -1e13"}) {
        SCOPED_TRACE(value);
        for (int i = 0; i < 2; ++i) {
            const qint64 sale = fx.addSale(1, day(2026, 12, 3));
            fx.addDeletion(sale, "Flan", 1, 10);
            fx.exec(QStringLiteral("update ventas set %1 where idventa = %2").arg(value).arg(sale));
        }
        verListado(logIn());
        ASSERT_EQ(host.boxes.size(), 1);
        EXPECT_TRUE(host.boxes[0].text.contains("Overflow")) << host.boxes[0].text.toStdString();
        EXPECT_TRUE(host.ended);

        host.boxes.clear();
        restart();
        fx.exec(QStringLiteral("delete from ventas"));
    }
}

// A report preview is one of the program's windows: closing the parameters window leaves the
// program running until the preview closes too.
TEST_F(QuenbrookTest, AnOpenPreviewOutlivesTheParametersWindow) {
    frmParametros& window = logIn();
    firstOfDecember(window);
    reports::PreviewWindow* preview = framework::preview();
    ASSERT_TRUE(preview && preview->isVisible());

    QObject context; // drops the timers when the program ends early
    bool previewOpen = false;
    forms::runProgram(QStringLiteral("Quenbrook"), [&] {
        QTimer::singleShot(0, &context, [&] {
            user::closeBox(window);
            QTimer::singleShot(0, &context, [&] {
                previewOpen = preview->isVisible();
                preview->close();
            });
        });
    });
    EXPECT_TRUE(previewOpen);
    EXPECT_FALSE(forms::isLoaded<frmParametros>());
    EXPECT_FALSE(preview->isVisible());
    EXPECT_FALSE(host.ended);
}

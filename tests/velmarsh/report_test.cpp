#include "VelmarshTest.h"

#include "../reports/PageQueries.h"
#include "../reports/Readers.h"
#include "../reports/SpreadsheetCheck.h"

#include "data/Recordset.h"
#include "support/LocaleScope.h"
#include "support/Screenshot.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

using posdb::day;
using reports::PageItem;
using runtime::Variant;

TEST_F(VelmarshTest, EveryLineCarriesTheLabelAndEveryColumnPrintsWhole) {
    LocaleScope locale("es_AR.UTF-8");
    velmarsh::frmParametros& window = logIn();
    window.txtEtiqueta.setText(QStringLiteral("Salón 1"));
    verListado(window, day(2026, 12, 1), day(2026, 12, 1));

    velmarsh::ActiveReport1& report = framework::report<velmarsh::ActiveReport1>();
    ASSERT_TRUE(framework::preview() && framework::preview()->isVisible());
    const reports::Pages& pages = report.pages();
    ASSERT_EQ(pages.size(), 1);
    const QStringList texts = allTexts(pages);
    EXPECT_EQ(countText(pages, "Items Eliminados"), 1);
    for (const char* caption :
         {"Local", "Fecha", "Ticket", "Comentario", "Usuario", "Hora", "Articulo", "Cantidad", "Px", "Total"})
        EXPECT_EQ(countText(pages, caption), 1) << caption;
    EXPECT_EQ(countText(pages, "Salón 1"), 5);
    EXPECT_EQ(countText(pages, "1-dic-26"), 5);
    EXPECT_EQ(countText(pages, "00000002"), 1);
    EXPECT_TRUE(texts.contains("12:05"));
    EXPECT_TRUE(texts.contains("Cliente se fue"));
    EXPECT_EQ(countText(pages, "1000"), 2); // 2 x 500, twice
    EXPECT_EQ(countText(pages, "600"), 4);  // unit amount and line total of both Napolitanas

    // Landscape letter; the Total column ends inside the right margin.
    const reports::Page first = pages.unpack(0);
    EXPECT_GT(first.size.width(), first.size.height());
    const PageItem* total = findText(first, "Total");
    ASSERT_NE(total, nullptr);
    EXPECT_LE(total->rect.left() + 1134, first.size.width() - report.pageSetup().rightMargin);
    EXPECT_GE(total->room, 1134);
    EXPECT_EQ(report.toolbar().tools(22).caption, "    Excel    ");

    saveScreenshot(window.window(), QStringLiteral("velmarsh-parametros"));
    framework::preview()->resize(1150, 800); // the whole width of the landscape page at 100%
    saveScreenshot(framework::preview(), QStringLiteral("velmarsh-report"));
}

TEST_F(VelmarshEmptyTest, LineTotalsReadTheLeadingNumberOfEachText) {
    LocaleScope locale("es_AR.UTF-8");
    logIn();
    struct Case {
        Variant cantidad;
        Variant importe;
        const char* total;
    };
    const Case cases[] = {
        {"2", "12.5", "25"}, {"2", "12,5", "24"}, {"", "500", "0"},      {"3", Variant::null(), "0"},
        {"2 u", "7x", "14"}, {2.0, 12.5, "25"},   {-1.0, 600.0, "-600"}, {"1.5", "3", "4,5"},
    };
    data::Recordset tmp;
    tmp.open(QStringLiteral("select * from tmpreport"), fx.spooler(), data::adOpenStatic,
             data::adLockOptimistic);
    int n = 0;
    for (const Case& c : cases) {
        tmp.addNew();
        tmp.fields(QStringLiteral("campo20")).setValue(QStringLiteral("L%1").arg(n++));
        tmp.fields(QStringLiteral("campo19")).setValue(c.cantidad);
        tmp.fields(QStringLiteral("campo21")).setValue(c.importe);
        tmp.update();
    }
    tmp.close();
    velmarsh::ActiveReport1& report = framework::report<velmarsh::ActiveReport1>();
    report.run();
    const reports::Page page = report.pages().unpack(0);
    for (int i = 0; i < n; ++i) {
        const PageItem* product = findText(page, QStringLiteral("L%1").arg(i));
        ASSERT_NE(product, nullptr);
        QString total;
        for (const PageItem& item : page.items)
            if (item.kind == PageItem::Kind::Text && item.rect.top() == product->rect.top() &&
                item.rect.left() == product->rect.left() + 13606 - 8504)
                total = item.text;
        EXPECT_EQ(total, QString::fromUtf8(cases[i].total)) << i;
    }
}

TEST_F(VelmarshEmptyTest, CaptionsOnlyOnTheFirstPageAndAnEmptyReport) {
    logIn();
    velmarsh::ActiveReport1& report = framework::report<velmarsh::ActiveReport1>();
    report.run();
    EXPECT_EQ(report.pages().size(), 1);
    EXPECT_EQ(countText(report.pages(), "Articulo"), 1);
    EXPECT_EQ(countText(report.pages(), "LOC1"), 0);

    for (int i = 0; i < 60; ++i)
        fx.spooler()->execute(QStringLiteral("insert into tmpreport (campo20) values ('Flan')"));
    report.local->setText(QString());
    report.run();
    ASSERT_GE(report.pages().size(), 2);
    EXPECT_EQ(countText(report.pages(), "Articulo"), 1);
    EXPECT_EQ(countText(report.pages(), "Flan"), 60);
}

// Every cell of the spreadsheet shows what the preview shows, read back through LibreOffice.
TEST_F(VelmarshTest, TheSpreadsheetShowsWhatThePreviewShows) {
    velmarsh::frmParametros& window = logIn();
    expectSpreadsheetShowsThePreview([&]() -> reports::Report& {
        verListado(window, day(2026, 12, 1), day(2026, 12, 1));
        return framework::report<velmarsh::ActiveReport1>();
    });
}

TEST_F(VelmarshTest, TheBuiltReportExportsToTheFourKinds) {
    LocaleScope locale("en_US.UTF-8");
    velmarsh::frmParametros& window = logIn();
    verListado(window, day(2026, 12, 1), day(2026, 12, 1));
    velmarsh::ActiveReport1& report = framework::report<velmarsh::ActiveReport1>();

    QTemporaryDir dir;
    exportToTheFourKinds(report, dir, "lineas");
    EXPECT_TRUE(errorLog().isEmpty()) << errorLog().toStdString();

    if (auto cells = readXls(dir.filePath("lineas.xls"))) {
        EXPECT_TRUE(cells->contains("Comentario"));
        EXPECT_TRUE(cells->contains("Cliente se fue"));
        EXPECT_TRUE(cells->contains("LOC1"));
    }
    if (auto text = runReader("pdftotext", {"-layout", dir.filePath("lineas.pdf"), "-"})) {
        EXPECT_TRUE(text->contains("Items Eliminados"));
        EXPECT_TRUE(text->contains("Total")) << text->toStdString();
        EXPECT_TRUE(text->contains("Napolitana"));
    }
    QFile txt(dir.filePath("lineas.txt"));
    ASSERT_TRUE(txt.open(QIODevice::ReadOnly));
    const QString plain = QString::fromUtf8(txt.readAll());
    EXPECT_TRUE(plain.contains("Muzzarella"));
    EXPECT_TRUE(plain.contains("1-Dec-26"));
    if (auto doc = runReader("catdoc", {dir.filePath("lineas.doc")})) {
        EXPECT_TRUE(doc->contains("Articulo"));
        EXPECT_TRUE(doc->contains("Cliente se fue"));
    }

    // LibreOffice opens the document on landscape pages and the workbook with every column's cells.
    const auto docPdf = convertWithOffice(dir.filePath("lineas.doc"), "pdf");
    if (!docPdf) GTEST_SKIP() << "LibreOffice is not installed";
    ASSERT_FALSE(docPdf->isEmpty());
    const auto info = runReader("pdfinfo", {*docPdf});
    EXPECT_TRUE(info->contains(QRegularExpression("Pages:\\s+1\\n"))) << info->toStdString();
    EXPECT_TRUE(info->contains(QRegularExpression("Page size:\\s+792 x 612"))) << info->toStdString();
    const auto docText = runReader("pdftotext", {"-layout", *docPdf, "-"});
    for (const char* text : {"Items Eliminados", "Comentario", "Cliente se fue", "LOC1", "Total"})
        EXPECT_TRUE(docText->contains(QLatin1String(text))) << text;
    const auto csv = convertWithOffice(dir.filePath("lineas.xls"),
                                       "csv:Text - txt - csv (StarCalc):44,34,76,1,,0,true,false,false");
    ASSERT_TRUE(csv && !csv->isEmpty());
    QFile sheet(*csv);
    ASSERT_TRUE(sheet.open(QIODevice::ReadOnly));
    const QString cells = QString::fromUtf8(sheet.readAll());
    for (const char* text : {"LOC1", "00000002", "Napolitana", "Cliente se fue", "1000"})
        EXPECT_TRUE(cells.contains(QLatin1String(text))) << text << "\n" << cells.toStdString();
}

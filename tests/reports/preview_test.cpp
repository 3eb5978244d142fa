#include "Readers.h"
#include "TestLayout.h"
#include "reports/PreviewWindow.h"
#include "reports/Printing.h"
#include "support/LocaleScope.h"
#include "support/ScriptedHost.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QPrinter>
#include <QTemporaryDir>
#include <QToolBar>

#include <gtest/gtest.h>

using namespace reports;

namespace {

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        QVector<Row> rows;
        const QStringList dishes{"Milanesa napolitana", "Ensalada mixta",    "Flan con dulce", "Agua mineral",
                                 "Pizza muzzarella",    "Empanada de carne", "Café cortado"};
        for (int i = 0; i < 90; ++i)
            rows << SalesReport::row(QStringLiteral("Mesa %1").arg(1 + i / 15), dishes[i % dishes.size()],
                                     1 + i % 3, 450 + (i * 37) % 900,
                                     i % 11 == 0 ? QStringLiteral("Cliente pidió cambio de plato")
                                                 : QString(),
                                     i % 13 == 5 ? QStringLiteral("H") : QStringLiteral("V"));
        rows[4][2] = -1.0; // a refund prints red
        report.params->setText(QStringLiteral("Período: 01/12/2026 al 07/12/2026"));
        report.dao->setRows(SalesReport::columns(), rows);
        report.notes.dao->setRows({QStringLiteral("nota"), QStringLiteral("importe")},
                                  {{QStringLiteral("Descuento empleados"), -1200.0},
                                   {QStringLiteral("Invitación de la casa"), -850.0}});
    }

    LocaleScope locale{"es_AR.UTF-8"};
    ScriptedHost host;
    SalesReport report;
};

} // namespace

TEST_F(PreviewTest, ShowsThePagesWithTheEnginesToolsAndNavigates) {
    report.show();
    PreviewWindow* preview = report.preview();
    ASSERT_TRUE(preview);
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->windowTitle(), "Ventas de prueba");
    ASSERT_GE(preview->pageCount(), 3);
    EXPECT_EQ(preview->toolBar()->actions().size(), Toolbar::engineToolCount());
    EXPECT_EQ(Toolbar::engineToolCount(), 21);
    EXPECT_EQ(preview->action(0)->text(), "Print...");
    EXPECT_EQ(preview->action(7)->text(), QStringLiteral("Page 1 of %1").arg(preview->pageCount()));

    preview->action(4)->trigger(); // next page
    EXPECT_EQ(preview->currentPage(), 1);
    EXPECT_EQ(preview->action(7)->text(), QStringLiteral("Page 2 of %1").arg(preview->pageCount()));
    preview->action(5)->trigger(); // last page
    EXPECT_EQ(preview->currentPage(), preview->pageCount() - 1);
    preview->action(4)->trigger(); // no page after the last
    EXPECT_EQ(preview->currentPage(), preview->pageCount() - 1);
    preview->action(2)->trigger(); // first page
    EXPECT_EQ(preview->currentPage(), 0);

    preview->action(15)->trigger(); // 200%
    EXPECT_DOUBLE_EQ(preview->zoom(), 2.0);
    preview->action(9)->trigger(); // zoom out
    EXPECT_DOUBLE_EQ(preview->zoom(), 1.6);
    preview->action(13)->trigger(); // 100%
    EXPECT_DOUBLE_EQ(preview->zoom(), 1.0);
    EXPECT_FALSE(host.ended);

    // Showing again runs the report again in the same window.
    report.events.clear();
    report.show();
    EXPECT_EQ(report.preview(), preview);
    EXPECT_EQ(report.events.first(), "ReportStart");
}

TEST_F(PreviewTest, PrintsThroughThePrintDialog) {
    QTemporaryDir dir;
    const QString output = dir.filePath("printed.pdf");
    int dialogs = 0;
    setPrintDialog([&](QPrinter& printer, QWidget*) {
        ++dialogs;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(output);
        return true;
    });
    report.show();
    report.preview()->action(0)->trigger();
    setPrintDialog({});
    EXPECT_EQ(dialogs, 1);
    const auto text = runReader("pdftotext", {"-layout", output, "-"});
    if (!text) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    EXPECT_EQ(text->count(u'\f'), report.pages().size());
    EXPECT_TRUE(text->contains("Período: 01/12/2026 al 07/12/2026"));
    EXPECT_TRUE(text->contains("DESCUENTO EMPLEADOS"));
}

TEST_F(PreviewTest, AScreenshotOfAPageLooksLikeAPrintedReport) {
    report.show();
    PreviewWindow* preview = report.preview();
    preview->resize(1000, 1150);
    preview->setZoom(1.0);
    // The build folder's test-output (the test program lies two folders below the build folder).
    const QString folder = qEnvironmentVariable("TEST_OUTPUT_DIR", QCoreApplication::applicationDirPath() +
                                                                       QStringLiteral("/../../test-output"));
    QDir().mkpath(folder);
    const QImage first = preview->grab().toImage();
    preview->setCurrentPage(preview->pageCount() - 1);
    const QImage last = preview->grab().toImage();
    ASSERT_TRUE(first.save(folder + "/report-preview-first-page.png"));
    ASSERT_TRUE(last.save(folder + "/report-preview-last-page.png"));
    // The page is white paper on a grey ground, with dark text on it.
    const QPoint inside = first.rect().center();
    int dark = 0, white = 0;
    for (int y = inside.y() - 200; y < inside.y() + 200; ++y)
        for (int x = 100; x < 800; ++x) {
            const QColor c = first.pixelColor(x, y);
            dark += c.lightness() < 100;
            white += c == Qt::white;
        }
    EXPECT_GT(white, dark);
    EXPECT_GT(dark, 500);
}

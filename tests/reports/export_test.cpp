#include "PageQueries.h"
#include "Readers.h"
#include "TestLayout.h"
#include "reports/PdfExport.h"
#include "reports/RtfExport.h"
#include "reports/TextExport.h"
#include "reports/XlsExport.h"
#include "runtime/RuntimeError.h"
#include "support/Files.h"
#include "support/LocaleScope.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace reports;

namespace {

// The test layout run over three groups of rows, on several pages.
class ExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        QVector<Row> rows;
        rows << SalesReport::row("A", "Pizza", 2, 100) << SalesReport::row("A", "Devolución", -1, 50);
        for (int i = 0; i < 120; ++i)
            rows << SalesReport::row(QStringLiteral("G%1").arg(i / 40), QStringLiteral("item %1").arg(i), 1,
                                     1234.5);
        report.params->setText(QStringLiteral("Periodo: 1/12 al 7/12"));
        report.dao->setRows(SalesReport::columns(), rows);
        report.notes.dao->setRows({QStringLiteral("nota"), QStringLiteral("importe")},
                                  {{QStringLiteral("observación"), 300.0}});
        report.run();
        ASSERT_GE(report.pages().size(), 3);
    }
    QString file(const QString& name) const { return dir.filePath(name); }

    LocaleScope locale{"en_US.UTF-8"};
    QTemporaryDir dir;
    SalesReport report;
};

} // namespace

TEST_F(ExportTest, PdfKeepsEveryPageAndItsText) {
    PdfExport filter;
    filter.setFileName(file("report.pdf"));
    filter.setTitle(QStringLiteral("Ventas de prueba"));
    filter.exportPages(report.pages());
    const auto text = runReader("pdftotext", {"-layout", file("report.pdf"), "-"});
    if (!text) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    EXPECT_EQ(text->count(u'\f'), report.pages().size());
    EXPECT_EQ(text->count("Listado de ventas"), report.pages().size());
    EXPECT_TRUE(text->contains("Periodo: 1/12 al 7/12"));
    EXPECT_TRUE(text->contains("Devolución"));
    EXPECT_TRUE(text->contains("item 119"));
    EXPECT_TRUE(text->contains("OBSERVACIÓN"));
    // A detail line keeps its columns in order.
    EXPECT_TRUE(text->contains(QRegularExpression("Pizza\\s+2\\s+\\$100\\.00\\s+200\\.00")));
    const auto info = runReader("pdfinfo", {file("report.pdf")});
    if (info) {
        EXPECT_TRUE(info->contains(QRegularExpression("Page size:\\s+612 x 792 pts")));
        EXPECT_TRUE(info->contains(QRegularExpression("Title:\\s+Ventas de prueba\n")));
        EXPECT_TRUE(
            info->contains(QRegularExpression("Creator:\\s+" + QCoreApplication::applicationName() + "\n")))
            << info->toStdString();
    }
}

TEST_F(ExportTest, TextLaysPagesOutInLinesAndColumns) {
    TextExport filter;
    filter.setFileName(file("report.txt"));
    filter.exportPages(report.pages());
    const QString text = QString::fromUtf8(fileContents(file("report.txt")));
    const QStringList pages = text.split(u'\f');
    ASSERT_EQ(pages.size(), report.pages().size());
    EXPECT_TRUE(pages[0].startsWith("Ventas\n"));
    const QStringList lines = pages[0].split(u'\n');
    const auto pizza =
        std::find_if(lines.begin(), lines.end(), [](const QString& l) { return l.startsWith("Pizza"); });
    ASSERT_NE(pizza, lines.end());
    // Item at column 0, the right-aligned price ending where its box ends (5500 twips / 120).
    EXPECT_TRUE(pizza->contains(QRegularExpression("^Pizza\\s+2\\s+\\$100\\.00\\s+200\\.00$")))
        << pizza->toStdString();
    EXPECT_EQ(pizza->indexOf("$100.00") + 7, 5500 / 120);
    const auto refund =
        std::find_if(lines.begin(), lines.end(), [](const QString& l) { return l.startsWith("Devolución"); });
    ASSERT_NE(refund, lines.end());
    EXPECT_EQ(refund->indexOf("-50.00") + 6, pizza->indexOf("200.00") + 6);
    for (const QString& page : pages)
        EXPECT_TRUE(page.trimmed().endsWith("Pie de página"));
}

TEST_F(ExportTest, DocIsAnRtfDocumentThatWordProcessorsRead) {
    RtfExport filter;
    filter.setFileName(file("report.doc"));
    filter.exportPages(report.pages());
    EXPECT_TRUE(fileContents(file("report.doc")).startsWith("{\\rtf1"));
    const auto text = runReader("catdoc", {"-d", "utf-8", file("report.doc")});
    if (!text) GTEST_SKIP() << "catdoc is not installed";
    EXPECT_TRUE(text->contains("Periodo: 1/12 al 7/12"));
    EXPECT_TRUE(text->contains("Devolución"));
    EXPECT_TRUE(text->contains("Pie de página"));
    EXPECT_TRUE(text->contains(QRegularExpression("Pizza\\s+2\\s+\\$100\\.00\\s+200\\.00")));
    EXPECT_EQ(text->count("Listado de ventas"), report.pages().size());
}

TEST_F(ExportTest, XlsIsABiff8WorkbookWithTextsAndNumbersInColumns) {
    XlsExport filter;
    filter.setFileName(file("report.xls"));
    filter.exportPages(report.pages());
    EXPECT_TRUE(fileContents(file("report.xls")).startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1")));
    const auto cells = readXls(file("report.xls"));
    if (!cells) GTEST_SKIP() << "python3-xlrd is not installed";
    ASSERT_FALSE(cells->startsWith("<")) << cells->toStdString();
    const QStringList lines = cells->split(u'\n', Qt::SkipEmptyParts);
    EXPECT_TRUE(lines.contains("Sheet1|0|0|s|Ventas"));
    // The first cell of a value, in the first column unless it is elsewhere only.
    auto cellOf = [&lines](const QString& value) -> QStringList {
        QStringList found;
        for (const QString& line : lines)
            if (line.section(u'|', 4) == value) {
                if (line.section(u'|', 2, 2) == "0") return line.split(u'|');
                if (found.isEmpty()) found = line.split(u'|');
            }
        return found;
    };
    const QStringList pizza = cellOf("Pizza");
    ASSERT_EQ(pizza.value(2), "0");
    ASSERT_FALSE(pizza.isEmpty());
    const QString row = pizza[1];
    // The quantity and the formatted amounts are numbers on the item's row, in later columns.
    const QStringList pizzaRow = lines.filter(QRegularExpression(QStringLiteral("^Sheet1\\|%1\\|").arg(row)));
    EXPECT_EQ(pizzaRow, (QStringList{"Sheet1|" + row + "|0|s|Pizza", "Sheet1|" + row + "|3|n|2.0",
                                     "Sheet1|" + row + "|5|n|100.0", "Sheet1|" + row + "|6|n|200.0"}))
        << cells->toStdString();
    EXPECT_EQ(cellOf("item 0")[2], pizza[2]);
    EXPECT_EQ(cellOf("item 119")[2], pizza[2]);
    EXPECT_FALSE(cellOf("Devolución").isEmpty());
    EXPECT_FALSE(cellOf("OBSERVACIÓN").isEmpty());
    EXPECT_EQ(lines.filter("|s|Listado de ventas").size(), report.pages().size());
}

TEST_F(ExportTest, AFileThatCannotBeWrittenRaisesAnError) {
    for (ExportFilter* filter :
         std::initializer_list<ExportFilter*>{new PdfExport, new TextExport, new RtfExport, new XlsExport}) {
        std::unique_ptr<ExportFilter> owned(filter);
        filter->setFileName(file("missing/folder/report.out"));
        try {
            filter->exportPages(report.pages());
            ADD_FAILURE() << "no error";
        } catch (const runtime::RuntimeError& error) {
            EXPECT_EQ(error.number(), 75);
        }
        EXPECT_FALSE(QFile::exists(file("missing/folder/report.out")));
    }
}

TEST(XlsExport, ManyStringsContinueTheirTableAndKeepTheirCharacters) {
    // 3000 distinct texts outgrow one record of the shared strings; some need UTF-16.
    Page page{QSize(12240, 15840), {}};
    Pages pages;
    for (int i = 0; i < 3000; ++i) {
        const QString text =
            i % 7 ? QStringLiteral("texto número %1").arg(i) : QStringLiteral("€ %1 ½").arg(i);
        page.items.append(PageItem::textBox(QRect(720 + (i % 3) * 3000, 720 + (i / 3 % 40) * 300, 2900, 280),
                                            text, Font(), Qt::black, Alignment::Left, false));
        if (i % 120 == 119) {
            pages.append(page);
            page.items.clear();
        }
    }
    QTemporaryDir dir;
    XlsExport filter;
    filter.setFileName(dir.filePath("many.xls"));
    filter.exportPages(pages);
    const auto cells = readXls(dir.filePath("many.xls"));
    if (!cells) GTEST_SKIP() << "python3-xlrd is not installed";
    const QStringList lines = cells->split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3000) << cells->left(500).toStdString();
    EXPECT_EQ(lines[0], "Sheet1|0|0|s|€ 0 ½");
    EXPECT_EQ(lines[1], "Sheet1|0|1|s|texto número 1");
    EXPECT_EQ(lines.last(), "Sheet1|999|2|s|texto número 2999");
}

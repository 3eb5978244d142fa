#include "PageQueries.h"
#include "reports/Report.h"
#include "runtime/Format.h"
#include "runtime/RuntimeError.h"
#include "support/LocaleScope.h"
#include "support/PosFixture.h"

#include <gtest/gtest.h>

using namespace reports;

namespace {

// The sales of the point-of-sale sample, grouped by shift, with summed totals.
class SalesByShift : public Report {
public:
    SalesByShift() {
        Section* header = addGroupHeader(QStringLiteral("GroupHeader1"), 300, QStringLiteral("idsesion"));
        header->addField(QStringLiteral("turno"), QStringLiteral("idsesion"), {0, 0, 1000, 280});
        Section* detail = addSection(SectionKind::Detail, QStringLiteral("Detail"), 300);
        detail->addField(QStringLiteral("fecha"), QStringLiteral("fecha"), {1000, 0, 1500, 280},
                         QStringLiteral("d-mmm-yy"));
        detail->addField(QStringLiteral("ticket"), QStringLiteral("NUMEROTICKET"), {2500, 0, 1500, 280});
        detail->addField(QStringLiteral("total"), QStringLiteral("total"), {4000, 0, 1500, 280},
                         QStringLiteral("#,##0.00"));
        dao = detail->addDataControl(QStringLiteral("dao"), {0, 0, 800, 300});
        Section* footer = addSection(SectionKind::ReportFooter, QStringLiteral("ReportFooter"), 300);
        auto* sum = footer->addField(QStringLiteral("suma"), QStringLiteral("total"), {4000, 0, 1500, 280},
                                     QStringLiteral("#,##0.00"));
        sum->setSummary(Field::Summary::GrandTotal);
    }
    DataControl* dao;
};

} // namespace

TEST(DataBinding, ReadsTheRowsOfAQueryOnAConnection) {
    LocaleScope locale("es_AR.UTF-8");
    PosFixture pos;
    SalesByShift report;
    report.dao->setConnection(pos.db());
    report.dao->setSource(
        QStringLiteral("select idsesion, fecha, NUMEROTICKET, total from ventas order by Idventa"));
    report.run();
    ASSERT_EQ(report.pages().size(), 1);
    const Page page = report.pages().unpack(0);
    EXPECT_EQ(countText(report.pages(), "1-dic-26"), 3);
    EXPECT_TRUE(findText(page, "00000001"));
    EXPECT_TRUE(findText(page, "1.500,00"));
    // Three shifts, three group headers; the sum covers every sale.
    EXPECT_TRUE(findText(page, "1") && findText(page, "2") && findText(page, "3"));
    const double sum = pos.scalar("select sum(total) from ventas").toDouble();
    EXPECT_TRUE(findText(page, runtime::Format(sum, "#,##0.00")));
}

TEST(DataBinding, AQueryErrorTravelsOutOfTheRun) {
    PosFixture pos;
    SalesByShift report;
    report.dao->setConnection(pos.db());
    report.dao->setSource(QStringLiteral("select * from no_such_table"));
    EXPECT_THROW(report.run(), runtime::RuntimeError);
}

TEST(DataBinding, FootersAndTheEndReadTheLastRowInColumnsNothingBinds) {
    PosFixture pos;
    // Per shift, the ticket of its last sale, read by the group footer's event alone.
    class LastTickets : public SalesByShift {
    public:
        LastTickets() {
            Section* footer = addSection(SectionKind::GroupFooter, QStringLiteral("GroupFooter1"), 300);
            footer->onFormat([this] { seen << fields(QStringLiteral("NUMEROTICKET")).toText(); });
        }
        QStringList seen;
    } report;
    report.dao->setConnection(pos.db());
    report.dao->setSource(
        QStringLiteral("select idsesion, fecha, NUMEROTICKET, total, Idventa from ventas order by Idventa"));
    report.run();
    QStringList expected;
    QString lastShift;
    for (const auto& sale : pos.rows("select idsesion, NUMEROTICKET from ventas order by Idventa")) {
        if (!expected.isEmpty() && sale[0].toText() == lastShift)
            expected.last() = sale[1].toText();
        else
            expected << sale[1].toText();
        lastShift = sale[0].toText();
    }
    EXPECT_EQ(report.seen, expected);
    // After the run, the last row: also a column the run never read.
    EXPECT_EQ(report.fields(QStringLiteral("Idventa")).toLong(),
              pos.scalar("select max(Idventa) from ventas").toLong());
}

TEST(DataBinding, AfterTheRunAColumnNotKeptOfTheLastRowIsAnErrorNotAnotherRun) {
    PosFixture pos;
    SalesByShift report;
    report.dao->setConnection(pos.db());
    report.dao->setSource(QStringLiteral("select idsesion, fecha, NUMEROTICKET, total, Idventa from ventas"));
    report.run();
    EXPECT_TRUE(report.fields(QStringLiteral("total")).isNumber()); // the report footer binds it
    try {
        report.fields(QStringLiteral("Idventa"));
        FAIL() << "a column nothing kept read after the run";
    } catch (const runtime::RuntimeError& error) {
        EXPECT_EQ(error.number(), 3021);
    }
}

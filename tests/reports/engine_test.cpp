#include "PageQueries.h"
#include "TestLayout.h"
#include "forms/CommandButton.h"
#include "forms/Events.h"
#include "forms/Form.h"
#include "forms/QtHost.h"
#include "reports/PdfExport.h"
#include "reports/SectionLayout.h"
#include "runtime/Program.h"
#include "runtime/RuntimeError.h"
#include "support/LocaleScope.h"

#include <QApplication>
#include <QMouseEvent>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

using namespace reports;

namespace {

constexpr int Margin = 720;

void feedSales(SalesReport& report, const QVector<Row>& rows) {
    report.dao->setRows(SalesReport::columns(), rows);
    report.notes.dao->setRows({QStringLiteral("nota"), QStringLiteral("importe")},
                              {{QStringLiteral("primera"), 1500.0},
                               {QStringLiteral("segunda"), 250.0},
                               {QStringLiteral("tercera"), runtime::Variant::null()}});
}

QVector<Row> smallSales() {
    return {SalesReport::row("A", "Pizza", 2, 100), SalesReport::row("A", "oculto", 9, 9, {}, "H"),
            SalesReport::row("A", "Devolución", -1, 50), SalesReport::row("B", "Flan", 3, 20)};
}

} // namespace

TEST(ReportRun, RaisesTheEventsInBandOrderWithTheGroupsRows) {
    LocaleScope locale("en_US.UTF-8");
    SalesReport report;
    feedSales(report, smallSales());
    report.run();
    const QStringList expected{
        "ReportStart",        "GroupHeader:A/Pizza",      "Detail:Pizza",       "Detail:oculto",
        "Detail:Devolución",  "GroupFooter:A/Devolución", "GroupHeader:B/Flan", "Detail:Flan",
        "GroupFooter:B/Flan", "ReportFooter:13",          "ReportEnd"};
    EXPECT_EQ(report.events, expected);

    // A second run starts afresh and gives the same pages.
    const Pages first = report.pages();
    report.events.clear();
    report.run();
    EXPECT_EQ(report.events, expected);
    ASSERT_EQ(report.pages().size(), first.size());
    EXPECT_EQ(pageTexts(report.pages().unpack(0)), pageTexts(first.unpack(0)));
}

TEST(ReportRun, PlacesSectionsAndControlsInTwips) {
    LocaleScope locale("en_US.UTF-8");
    SalesReport report;
    report.params->setText(QStringLiteral("Del 1 al 7"));
    feedSales(report, smallSales());
    report.run();
    ASSERT_EQ(report.pages().size(), 1);
    const Page page = report.pages().unpack(0);
    EXPECT_EQ(page.size, QSize(12240, 15840));

    // Report header first, then the page header, a group header and its details.
    const PageItem* title = findText(page, "Ventas");
    ASSERT_TRUE(title);
    EXPECT_EQ(title->rect, QRect(Margin, Margin, 4000, 400));
    EXPECT_TRUE(title->font.bold);
    EXPECT_EQ(title->font.size, 16);
    ASSERT_TRUE(findText(page, "Del 1 al 7"));
    EXPECT_EQ(findText(page, "Del 1 al 7")->rect.topLeft(), QPoint(Margin, Margin + 400));
    const int pageHeaderTop = Margin + 700;
    EXPECT_EQ(findText(page, "Listado de ventas")->rect.topLeft(), QPoint(Margin, pageHeaderTop));
    const auto rule = std::find_if(page.items.begin(), page.items.end(),
                                   [](const PageItem& item) { return item.kind == PageItem::Kind::Line; });
    ASSERT_NE(rule, page.items.end());
    EXPECT_EQ(rule->line, QLine(Margin, pageHeaderTop + 300, Margin + 10000, pageHeaderTop + 300));
    const int groupTop = pageHeaderTop + 330;
    const PageItem* caption = findText(page, "Grupo");
    ASSERT_TRUE(caption);
    EXPECT_EQ(caption->rect, QRect(Margin, groupTop, 1200, 280));
    EXPECT_EQ(caption->color, QColor(Qt::white));
    const auto back = std::find_if(page.items.begin(), page.items.end(), [&](const PageItem& item) {
        return item.kind == PageItem::Kind::Rect && item.rect == caption->rect;
    });
    ASSERT_NE(back, page.items.end());
    EXPECT_EQ(back->color, QColor(128, 128, 128));
    EXPECT_LT(back - page.items.begin(), caption - page.items.data()); // the back is painted first
    EXPECT_EQ(findText(page, "A")->rect.topLeft(), QPoint(Margin + 1300, groupTop));

    const int detailTop = groupTop + 600;
    const PageItem* pizza = findText(page, "Pizza");
    ASSERT_EQ(pizza, findText(page, "Pizza"));
    // "Pizza" appears in the group header (first row) and in the detail.
    EXPECT_EQ(countText(report.pages(), "Pizza"), 2);
    const PageItem* amount = findText(page, "200.00");
    ASSERT_TRUE(amount);
    EXPECT_EQ(amount->rect, QRect(Margin + 5500, detailTop, 1500, 280));
    EXPECT_EQ(amount->alignment, Alignment::Right);
    EXPECT_EQ(amount->color, QColor(0, 128, 0));
    EXPECT_TRUE(findText(page, "$100.00"));
    const PageItem* refund = findText(page, "-50.00");
    ASSERT_TRUE(refund);
    EXPECT_EQ(refund->color, QColor(255, 0, 0));
    // The hidden row takes no room: the next detail follows directly.
    EXPECT_EQ(refund->rect.top(), detailTop + 300);
    EXPECT_FALSE(findText(page, "oculto"));

    // Group footers with the events' totals, then the report footer.
    EXPECT_EQ(findText(page, "150.00")->rect.top(), detailTop + 600 + 50);
    EXPECT_TRUE(findText(page, "60.00"));
    EXPECT_EQ(findText(page, "13")->rect.left(), Margin + 3000); // summary over every row
    EXPECT_TRUE(findText(page, "210.00"));
    EXPECT_EQ(findText(page, "Pie de página")->rect.topLeft(), QPoint(Margin, 15840 - Margin - 300));
}

TEST(ReportRun, SubReportRowsGrowTheirSectionAndPushControlsDown) {
    LocaleScope locale("en_US.UTF-8");
    SalesReport report;
    feedSales(report, smallSales());
    report.run();
    const Page page = report.pages().unpack(0);
    const PageItem* total = findText(page, "Total");
    ASSERT_TRUE(total);
    const int footerTop = total->rect.top();
    const PageItem* first = findText(page, "PRIMERA");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->rect.topLeft(), QPoint(Margin + 1000, footerTop + 400));
    EXPECT_EQ(findText(page, "1,500")->rect, QRect(Margin + 1000 + 3000, footerTop + 400, 1200, 250));
    EXPECT_EQ(findText(page, "SEGUNDA")->rect.top(), footerTop + 650);
    EXPECT_EQ(findText(page, "TERCERA")->rect.top(), footerTop + 900);
    // Three rows of 250 in a control of 100: 650 more below it.
    EXPECT_EQ(findText(page, "Fin")->rect.top(), footerTop + 600 + 650);
}

TEST(ReportRun, GrowingFieldWrapsAndGrowsItsDetail) {
    LocaleScope locale("en_US.UTF-8");
    SalesReport report;
    const QString motive =
        QStringLiteral("un motivo largo que no cabe en una sola línea del campo de motivo y "
                       "debe continuar en las líneas siguientes");
    feedSales(report, {SalesReport::row("A", "Pizza", 1, 10, motive), SalesReport::row("A", "Flan", 1, 20)});
    report.run();
    const Page page = report.pages().unpack(0);
    const PageItem* wrapped = findText(page, motive);
    ASSERT_TRUE(wrapped);
    EXPECT_TRUE(wrapped->wrap);
    EXPECT_GT(wrapped->rect.height(), 560);
    const int pizzaTop = wrapped->rect.top();
    // The rule under the detail moves down with it, and the next row follows the taller band.
    EXPECT_EQ(findText(page, "Flan")->rect.top(), pizzaTop + 300 + wrapped->rect.height() - 280);
}

TEST(ReportRun, BreaksPagesWithPageHeadersAndFooters) {
    LocaleScope locale("en_US.UTF-8");
    SalesReport report;
    QVector<Row> rows;
    for (int i = 0; i < 150; ++i)
        rows.append(
            SalesReport::row(QStringLiteral("G%1").arg(i / 50), QStringLiteral("item %1").arg(i), 1, 1));
    feedSales(report, rows);
    report.run();
    const Pages& pages = report.pages();
    ASSERT_GE(pages.size(), 4);
    const int footerTop = 15840 - Margin - 300;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        SCOPED_TRACE(p);
        const Page page = pages.unpack(p);
        const PageItem* header = findText(page, "Listado de ventas");
        ASSERT_TRUE(header);
        EXPECT_EQ(header->rect.top(), p == 0 ? Margin + 700 : Margin);
        ASSERT_TRUE(findText(page, "Pie de página"));
        EXPECT_EQ(findText(page, "Pie de página")->rect.top(), footerTop);
        for (const PageItem& item : page.items) {
            if (item.kind == PageItem::Kind::Text && item.text != "Pie de página") {
                EXPECT_LE(item.rect.bottom(), footerTop) << item.text.toStdString();
            }
        }
    }
    for (int i = 0; i < 150; ++i)
        EXPECT_EQ(countText(pages, QStringLiteral("item %1").arg(i)), i % 50 == 0 ? 2 : 1);
    EXPECT_EQ(countText(pages, "G2"), 1);
    const Page last = pages.unpack(pages.size() - 1);
    EXPECT_TRUE(findText(last, "150"));
}

TEST(ReportRun, WithoutRowsPrintsHeadersAndFootersOnly) {
    LocaleScope locale("en_US.UTF-8");
    SalesReport report;
    feedSales(report, {});
    report.run();
    ASSERT_EQ(report.pages().size(), 1);
    const Page page = report.pages().unpack(0);
    EXPECT_FALSE(findText(page, "Grupo"));
    EXPECT_TRUE(findText(page, "Total"));
    EXPECT_TRUE(findText(page, "0")); // the summary
    EXPECT_TRUE(findText(page, "0.00"));
    EXPECT_EQ(report.events, (QStringList{"ReportStart", "ReportFooter:0", "ReportEnd"}));
}

TEST(ReportRun, UnknownColumnsRaiseItemNotFound) {
    SalesReport report;
    feedSales(report, smallSales());
    report.item->setDataField(QStringLiteral("nombre"));
    try {
        report.run();
        FAIL() << "no error";
    } catch (const runtime::RuntimeError& error) {
        EXPECT_EQ(error.number(), 3265);
    }
}

TEST(ReportRun, ASecondLineBelowTheDesignedHeightGrowsOnlyTheRowsThatFillIt) {
    // A detail of 315 with a growing motive on a second line at 285, as deleted items print.
    class TwoLines : public Report {
    public:
        TwoLines() {
            pageSetup().setMargins(720);
            Section* detail = addSection(SectionKind::Detail, QStringLiteral("Detail"), 315);
            detail->addField(QStringLiteral("item"), QStringLiteral("item"), {0, 0, 2000, 270});
            detail->addField(QStringLiteral("motivo"), QStringLiteral("motivo"), {2490, 285, 7860, 270})
                ->setCanGrow(true);
            detail->addDataControl(QStringLiteral("dao"), {0, 0, 800, 315})
                ->setRows({QStringLiteral("item"), QStringLiteral("motivo")},
                          {{QStringLiteral("uno"), QStringLiteral("Error de carga")},
                           {QStringLiteral("dos"), QString()},
                           {QStringLiteral("tres"), QString()}});
        }
    } report;
    report.run();
    const Page page = report.pages().unpack(0);
    EXPECT_EQ(findText(page, "Error de carga")->rect.top(), Margin + 285);
    EXPECT_EQ(findText(page, "dos")->rect.top(), Margin + 555);
    EXPECT_EQ(findText(page, "tres")->rect.top(), Margin + 555 + 315);
}

TEST(Pages, GiveBackEveryOperationAsPlaced) {
    PageItem date = PageItem::textBox({100, 200, 300, 40}, "1-dic-26", Font{"Arial", 11.5, true, false},
                                      QColor(255, 0, 0), Alignment::Right, false);
    date.value = runtime::Variant::date(46357.5);
    date.room = 900;
    PageItem name = PageItem::textBox({0, 0, 10, 10}, "Flan", Font(), Qt::black, Alignment::Left, true);
    name.value = runtime::Variant(QStringLiteral("Flan"));
    PageItem amount = PageItem::textBox({0, 50, 10, 10}, "12,5", Font(), Qt::black, Alignment::Center, false);
    amount.value = 12.5;
    const PageItem items[] = {date, name, amount,
                              PageItem::lineFrom({500, 40, 20, 40}, QColor(0, 128, 0), 30),
                              PageItem::filledRect({5, 6, 70, 80}, QColor(224, 224, 224))};
    Pages pages;
    pages.addPage({12240, 15840});
    for (const PageItem& item : items)
        pages.addItem(item, 720, 1000);
    pages.append(Page{{15840, 12240}, {name}});

    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(pages.pageSize(1), QSize(15840, 12240));
    const Page page = pages.unpack(0);
    ASSERT_EQ(page.items.size(), std::size(items));
    for (qsizetype i = 0; i < page.items.size(); ++i) {
        const PageItem& got = page.items[i];
        const PageItem& put = items[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(got.kind, put.kind);
        EXPECT_EQ(got.rect, put.rect.translated(720, 1000));
        if (put.kind == PageItem::Kind::Line) {
            EXPECT_EQ(got.line, put.line.translated(720, 1000));
        }
        EXPECT_EQ(got.text, put.text);
        EXPECT_EQ(got.font, put.font);
        EXPECT_EQ(got.color, put.color);
        EXPECT_EQ(got.alignment, put.alignment);
        EXPECT_EQ(got.wrap, put.wrap);
        EXPECT_EQ(got.room, put.room);
        EXPECT_EQ(got.lineWidth, put.lineWidth);
        EXPECT_EQ(got.value.type(), put.value.type());
        EXPECT_TRUE(got.value.isEmpty() || got.value.equals(put.value));
    }
    EXPECT_EQ(pages.mid(1, 5).unpack(0).items[0].text, "Flan");
}

// In the process language.
TEST(ReportRun, ALongReportShowsThePagesDoneWhileItRunsAndExports) {
    const struct {
        const char* locale;
        QStringList texts;
    } cases[] = {{"en_US.UTF-8", {"Running the report: page 1000", "Exporting page 1 of 1000"}},
                 {"es_AR.UTF-8", {"Generando el informe: página 1000", "Exportando la página 1 de 1000"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale);
        LocaleScope locale(c.locale);
        SalesReport report;
        QVector<Row> rows;
        for (int i = 0; i < 16000; ++i)
            rows.append(SalesReport::row(QString::number(i), "Pizza", 1, 10));
        feedSales(report, rows);
        // What a progress dialog shows, looked at from within the work.
        QStringList shown;
        auto look = [&shown] {
            QTimer::singleShot(0, [&shown] {
                for (QWidget* widget : QApplication::topLevelWidgets())
                    if (auto* dialog = qobject_cast<QProgressDialog*>(widget); dialog && dialog->isVisible())
                        shown << dialog->labelText();
            });
        };
        look();
        report.run();
        ASSERT_GE(report.pages().size(), 1000);
        look();
        QTemporaryDir dir;
        PdfExport pdf;
        pdf.setFileName(dir.filePath("long.pdf"));
        pdf.exportPages(report.pages().mid(0, 1000));
        EXPECT_EQ(shown, c.texts);
    }
}

namespace {

// Every property of a band's boxes, one line each.
QStringList boxes(const Band& band) {
    QStringList lines{QString::number(band.height)};
    for (const PageItem& item : band.items)
        lines << QStringLiteral(
                     "%1 %2,%3 %4x%5 %6 %7 %8 %9/%10/%11 room %12 wrap %13 align %14 value %15:%16")
                     .arg(int(item.kind))
                     .arg(item.rect.x())
                     .arg(item.rect.y())
                     .arg(item.rect.width())
                     .arg(item.rect.height())
                     .arg(item.text, item.color.name(), item.font.name)
                     .arg(item.font.size)
                     .arg(item.font.bold)
                     .arg(item.lineWidth)
                     .arg(item.room)
                     .arg(item.wrap)
                     .arg(int(item.alignment))
                     .arg(int(item.value.type()))
                     .arg(item.value.isString() ? item.value.rawString()
                                                : QString::number(item.value.rawNumber()));
    return lines;
}

class frmSalir : public forms::Form {
public:
    frmSalir() : Form(QStringLiteral("frmSalir")) {
        cmdSalir.onClick([] { runtime::End(); });
        forms::markExit(cmdSalir.widget());
    }
    forms::CommandButton cmdSalir{
        *this, QStringLiteral("cmdSalir"), QStringLiteral("Salir"), {100, 100, 1200, 400}};
};

// A click as the window system delivers it: to the window, which routes it to the widget under it.
void clickThroughWindow(QWidget* widget) {
    QWidget* window = widget->window();
    const QPointF at(widget->mapTo(window, widget->rect().center()));
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(
            window->windowHandle(),
            new QMouseEvent(type, at, at, window->mapToGlobal(at), Qt::LeftButton,
                            type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                            Qt::NoModifier));
}

} // namespace

// Occurrence after occurrence, with controls that events change between them, the band a section
// lays out from its fixed part laid out once is the band laid out whole.
TEST(SectionPainter, LaysOutEachOccurrenceAsALayoutOfTheWholeSection) {
    LocaleScope locale("en_US.UTF-8");
    Section section(SectionKind::Detail, QStringLiteral("Detail"), 300);
    Label* caption =
        section.addLabel(QStringLiteral("caption"), QStringLiteral("Caption"), {0, 0, 1000, 280});
    caption->setBackColor(QColor(224, 224, 224));
    Field* beside = section.addField(QStringLiteral("beside"), QStringLiteral("a"), {1200, 0, 800, 280});
    Field* amount = section.addField(QStringLiteral("amount"), QStringLiteral("b"), {2000, 0, 900, 280},
                                     QStringLiteral("#,##0.00"));
    amount->setBackColor(QColor(Qt::white));
    Field* when = section.addField(QStringLiteral("when"), QStringLiteral("c"), {3000, 0, 900, 280},
                                   QStringLiteral("h:mm"));
    Field* note = section.addField(QStringLiteral("note"), QStringLiteral("d"), {500, 300, 2000, 270});
    note->setCanGrow(true);
    section.addLine(QStringLiteral("rule"), {0, 290, 4000, 290});
    Label* tail = section.addLabel(QStringLiteral("tail"), QStringLiteral("Fin"), {4200, 0, 600, 280});

    const QString longNote =
        QStringLiteral("a motive long enough to take several lines within the box ").repeated(4);
    const struct {
        const char* besideText;
        double amount;
        bool noteLong;
        std::function<void()> change;
    } occurrences[] = {
        {"x", 12.5, false, {}},
        {"", 7, false, {}},
        {"y", -3, true, {}},
        {"z", 0, false, [&] { caption->setCaption(QStringLiteral("Other")); }},
        {"", 1, false, [&] { beside->setVisible(false); }},
        {"w", 2, false, [&] { beside->setVisible(true); }},
        {"v", 3, false, [&] { tail->setForeColor(255L); }},
        {"u", 4, false, [&] { amount->setBackColor(QColor(Qt::yellow)); }},
        {"", 5, true, [&] { caption->setCaption(QString()); }},
    };
    SectionPainter painter(section);
    for (const auto& o : occurrences) {
        SCOPED_TRACE(o.besideText);
        if (o.change) o.change();
        beside->setDataValue(QString::fromUtf8(o.besideText));
        amount->setDataValue(o.amount);
        amount->setForeColor(o.amount < 0 ? 255L : 32768L);
        when->setDataValue(runtime::Variant(0.5 + o.amount / 100));
        note->setDataValue(o.noteLong ? longNote : QString());
        Band planned;
        const int height = painter.layOut(10000);
        painter.render(10000, planned);
        Band whole;
        render(section, layOut(section), 10000, whole);
        EXPECT_EQ(height, whole.height);
        EXPECT_EQ(boxes(planned), boxes(whole));
    }
}

TEST(ReportRun, TheExitButtonEndsTheProgramWhileALongReportRuns) {
    forms::QtHost host;
    runtime::Host* previous = runtime::setHost(&host);
    runtime::resetProgramState();
    forms::FormRegistry registry;
    SalesReport report;
    QVector<Row> rows;
    for (int i = 0; i < 16000; ++i)
        rows.append(SalesReport::row(QString::number(i), "Pizza", 1, 10));
    feedSales(report, rows);
    frmSalir& form = forms::instance<frmSalir>();
    form.show();
    // The user clicks the exit button once the progress of the run shows.
    QTimer click;
    QObject::connect(&click, &QTimer::timeout, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (qobject_cast<QProgressDialog*>(widget) && widget->isVisible() && click.isActive()) {
                click.stop();
                clickThroughWindow(form.cmdSalir.widget());
            }
    });
    click.start(0);
    bool ran = false;
    forms::fire([&] {
        report.run();
        ran = true;
    });
    EXPECT_TRUE(runtime::hasEnded());
    EXPECT_FALSE(ran);
    runtime::setHost(previous);
    runtime::resetProgramState();
}

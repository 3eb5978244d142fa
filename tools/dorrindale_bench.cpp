// Dorrindale's steps over a year of a busy restaurant (240,000 sales), offscreen, each against a
// fair baseline in the same process, in alternating rounds, the baseline's output checked against
// the program's in every round:
//   build  LlenaInforme up to the report's start, against the discount rows stepped and summed
//   run    the report run, against the report's three queries prepared once on raw SQLite and the
//          same boxes laid out by hand
//   pdf    the PDF export of the pages, against a bare QPdfWriter loop drawing the same boxes

#include "tools/BenchSupport.h"
#include "tools/pos/DemoInstallation.h"
#include "tools/pos/PosDatabase.h"

#include "data/JetSql.h"
#include "framework/funciones.h"
#include "reports/PageModel.h"
#include "reports/SectionLayout.h"
#include "runtime/DateSerial.h"
#include "runtime/Format.h"
#include "runtime/Regional.h"
#include "runtime/Variant.h"
#include "sales_by_dish/Dorrindale.h"
#include "sales_by_dish/arDorrindale.h"
#include "sales_by_dish/frmParametros.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace bench;
using namespace reports;
using runtime::Variant;

namespace {

QElapsedTimer* benchClock = nullptr;

// The report, with the moment its run starts noted: the build ends there.
class TimedReport : public dorrindale::arDorrindale {
public:
    qint64 startedAt = 0;

protected:
    void ActiveReport_ReportStart() override { startedAt = benchClock->nsecsElapsed(); }
};

// The report's three queries by hand in SQLite's own dialect (dates as bound serials, DateValue
// and hour as arithmetic on the serial, iif and instr as SQLite has them), every product, names
// grouped and ordered as Jet compares them.
const char* const MainSql =
    "SELECT CAST(round(ventasdetail.fecha * 86400) / 86400 AS INTEGER) AS x_fecha, "
    "(CAST(round((ventasdetail.hora - CAST(ventasdetail.hora AS INTEGER)) * 86400) AS INTEGER) / 3600) % 24 "
    "AS x_hora, ventasDetail.NombreArticulo, Sum(iif(instr(tipofactura, 'N'), -ventasDetail.cantidad, "
    "ventasDetail.cantidad)) AS SumOfcantidad, ventasDetail.monto, ventasDetail.monto * "
    "Sum(iif(instr(tipofactura, 'N'), -ventasDetail.cantidad, ventasDetail.cantidad)) AS imp "
    "FROM ((ventas INNER JOIN ventasDetail ON ventas.Idventa = ventasDetail.idventa) LEFT JOIN productos ON "
    "ventasDetail.idproducto = productos.Id) LEFT JOIN rubros ON productos.idrubro = rubros.IdR "
    "WHERE ventas.estado <> 3 AND (ventasdetail.idproducto > 0 OR ventasdetail.idproducto IN "
    "(-5,-36,-35,-7,-6)) AND ventas.sf_fecha BETWEEN ?1 AND ?2 AND (ventasdetail.noimprimir IS NULL OR "
    "(ventasdetail.monto <> 0 AND ventasdetail.noimprimir <> 1)) AND ventasdetail.idproducto <> -7 "
    "GROUP BY 1, 2, ventasDetail.NombreArticulo COLLATE jet_text, ventasDetail.monto ORDER BY 1, 2, "
    "ventasDetail.NombreArticulo COLLATE jet_text";
const char* const DiscountSql =
    "SELECT ventas.sf_fecha, Sum(iif(instr(tipofactura, 'N'), -ventasDetail.cantidad, "
    "ventasDetail.cantidad)) "
    "AS SumaDecantidad, Sum(ventasDetail.monto) AS Monto FROM ((ventasDetail LEFT JOIN ventas ON "
    "ventasDetail.idventa = ventas.Idventa) LEFT JOIN productos ON ventasDetail.idproducto = productos.Id) "
    "LEFT JOIN rubros ON productos.idrubro = rubros.IdR WHERE ventas.sf_fecha BETWEEN ?1 AND ?2 AND "
    "ventasdetail.idproducto = -7 AND ventas.estado <> 3 GROUP BY ventas.sf_fecha";
const char* const ObservationsSql =
    "SELECT SUM(VentasDetail.CANTIDAD) AS qty, VentasDetailObservaciones.PRECIO, "
    "VentasDetailObservaciones.concepto FROM (VentasDetailObservaciones INNER JOIN VENTASDETAIL ON "
    "VENTASDETAIL.IDVENTADETAIL = VentasDetailObservaciones.IDVENTADETAIL) INNER JOIN VENTAS ON "
    "VENTASDETAIL.IDVENTA = VENTAS.IDVENTA WHERE ventas.sf_fecha BETWEEN ?1 AND ?2 GROUP BY "
    "VentasDetailObservaciones.idobservacion, VentasDetailObservaciones.PRECIO, "
    "VentasDetailObservaciones.concepto COLLATE jet_text";

// The statements of the hand-written passes, prepared once on an open connection.
struct RawQueries {
    // On a connection with Jet's functions and text collation, as the program's engine has them.
    explicit RawQueries(const QString& file)
        : jet(data::jetDialect(QLatin1String(posdb::Password))), db(openFile(file)),
          main((jet->attach(db), prepare(db, MainSql))), discounts(prepare(db, DiscountSql)),
          observations(prepare(db, ObservationsSql)) {}
    ~RawQueries() {
        for (sqlite3_stmt* stmt : {main, discounts, observations})
            sqlite3_finalize(stmt);
        sqlite3_close(db);
    }
    sqlite3_stmt* bound(sqlite3_stmt* stmt, double desde, double hasta) {
        sqlite3_reset(stmt);
        sqlite3_bind_double(stmt, 1, desde);
        sqlite3_bind_double(stmt, 2, hasta);
        return stmt;
    }
    std::unique_ptr<data::SqlDialect> jet;
    sqlite3* db;
    sqlite3_stmt *main, *discounts, *observations;
};

// The build by hand: the discount rows stepped and their amounts summed.
double rawBuild(RawQueries& q, double desde, double hasta) {
    sqlite3_stmt* stmt = q.bound(q.discounts, desde, hasta);
    double total = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        total += sqlite3_column_double(stmt, 2);
    return total;
}

const QString Thousands = QStringLiteral("#,##0");

// Boxes placed down pages of letter paper as the report places its sections; a section taller
// than the room left is cut between its boxes.
class RawPages {
public:
    RawPages() { newPage(); }

    void text(const QRect& rect, const QString& text, const Variant& value = {}, bool right = true,
              const Font& font = {}) {
        if (text.isEmpty()) return;
        m_band.push_back(PageItem::textBox(rect, text, font, Qt::black,
                                           right ? Alignment::Right : Alignment::Left, false));
        m_band.back().value = value;
    }
    void line(const QLine& line) { m_band.push_back(PageItem::lineFrom(line, Qt::black, 15)); }
    std::vector<PageItem>& band() { return m_band; }

    void place(int height) {
        giveRoom(m_band, Width);
        if (m_y + height > Limit && m_y > Top) newPage();
        if (m_y + height <= Limit) {
            for (const PageItem& item : m_band)
                m_pages.addItem(item, Left, m_y);
            m_y += height;
            m_band.clear();
            return;
        }
        std::stable_sort(m_band.begin(), m_band.end(),
                         [](const PageItem& a, const PageItem& b) { return a.rect.top() < b.rect.top(); });
        for (int from = 0; from < height;) {
            int to = from + std::max(1, Limit - m_y);
            if (to < height)
                for (const PageItem& item : m_band)
                    if (item.rect.top() > from && item.rect.top() < to && item.rect.bottom() + 1 > to)
                        to = std::min(to, item.rect.top());
            to = std::min(to, height);
            for (const PageItem& item : m_band)
                if (item.rect.top() >= from && item.rect.top() < to) m_pages.addItem(item, Left, m_y - from);
            m_y += to - from;
            from = to;
            if (from < height) newPage();
        }
        m_band.clear();
    }
    Pages finish() { return std::move(m_pages); }

private:
    static constexpr int Left = 560, Top = 720, Limit = 15840 - 720, Width = 12240 - 2 * 560;
    void newPage() {
        m_pages.addPage(QSize(12240, 15840));
        m_y = Top;
    }
    Pages m_pages;
    std::vector<PageItem> m_band;
    int m_y = Top;
};

// The report run by hand: the three queries stepped, their values formatted with the report's
// pictures into the report's boxes, the totals, and the two lists at the end stacked into the
// report's footer.
Pages rawRun(RawQueries& q, double desde, double hasta, const QString& title, const QString& discountsText) {
    RawPages out;
    Font large;
    large.size = 24;
    out.text({0, 0, 5386, 850}, QStringLiteral("Dorrindale"), {}, false, large);
    out.text({0, 567, 11055, 283}, title, {}, false);
    static const std::pair<const char*, QRect> columnCaptions[] = {
        {"Fecha", {0, 850, 1276, 284}},     {"Producto Local", {1276, 850, 4110, 284}},
        {"Hora", {5386, 850, 567, 284}},    {"Cantidad", {5953, 850, 1417, 284}},
        {"Precio", {7370, 850, 1417, 284}}, {"Importe", {8787, 850, 1559, 284}},
        {"Mes", {10346, 850, 709, 284}},
    };
    for (const auto& [caption, rect] : columnCaptions)
        out.text(rect, QString::fromUtf8(caption), {}, false);
    out.place(1170);

    const QString dayMonth = QStringLiteral("d-mmm"), monthOnly = QStringLiteral("m");
    double quantity = 0, amount = 0;
    sqlite3_stmt* m = q.bound(q.main, desde, hasta);
    while (sqlite3_step(m) == SQLITE_ROW) {
        const Variant day = Variant::date(sqlite3_column_double(m, 0));
        const Variant hour = cell(m, 1), sold = cell(m, 3), price = cell(m, 4), imp = cell(m, 5);
        quantity += sold.toDouble();
        amount += imp.toDouble();
        out.text({0, 0, 1276, 283}, runtime::Format(day, dayMonth), day, false);
        const Variant name = cell(m, 2);
        out.text({1276, 0, 4110, 283}, name.toText(), name, false);
        out.text({5386, 0, 567, 283}, hour.toText(), hour);
        out.text({5953, 0, 1417, 283}, sold.toText(), sold);
        out.text({7370, 0, 1417, 283}, runtime::Format(price, Thousands), price);
        out.text({8787, 0, 1559, 283}, runtime::Format(imp, Thousands), imp);
        out.text({10346, 0, 709, 283}, runtime::Format(day, monthOnly), day);
        out.place(300);
    }

    // The footer: its discounts and options lists grow it and push what lies below them down.
    std::vector<PageItem> discounts, options;
    int discountsHeight = 0, optionsHeight = 0;
    sqlite3_stmt* d = q.bound(q.discounts, desde, hasta);
    while (sqlite3_step(d) == SQLITE_ROW) {
        const Variant day = Variant::date(sqlite3_column_double(d, 0)), monto = cell(d, 2);
        discounts.push_back(PageItem::textBox({0, discountsHeight, 6094, 283}, day.toText(), {}, Qt::black,
                                              Alignment::Left, false));
        discounts.back().value = day;
        discounts.push_back(PageItem::textBox({6094, discountsHeight, 1417, 283},
                                              runtime::Format(monto, Thousands), {}, Qt::black,
                                              Alignment::Right, false));
        discounts.back().value = monto;
        discountsHeight += 345;
    }
    sqlite3_stmt* o = q.bound(q.observations, desde, hasta);
    while (sqlite3_step(o) == SQLITE_ROW) {
        const Variant qty = cell(o, 0), price = cell(o, 1), named = cell(o, 2);
        const QString lineTotal =
            Variant(framework::ValorNumerico(qty) * framework::ValorNumerico(price)).toString();
        for (const auto& [rect, text, value, right] :
             {std::tuple{QRect(0, optionsHeight, 1276, 283), qty.toText(), qty, true},
              std::tuple{QRect(1276, optionsHeight, 4110, 283), named.toText(), named, false},
              std::tuple{QRect(7370, optionsHeight, 1417, 283), price.toText(), price, true},
              std::tuple{QRect(8787, optionsHeight, 1417, 283), lineTotal, Variant(), true}}) {
            if (text.isEmpty()) continue;
            options.push_back(PageItem::textBox(rect, text, {}, Qt::black,
                                                right ? Alignment::Right : Alignment::Left, false));
            options.back().value = value;
        }
        optionsHeight += 315;
    }
    const int grown = std::max(0, discountsHeight - 142), optionsGrown = std::max(0, optionsHeight - 141);
    out.line({3969, 142, 8787, 142});
    static const std::pair<const char*, QRect> footerCaptions[] = {
        {"Sub Total", {1276, 283, 4110, 284}},
        {"Descuentos realizados:", {1276, 850, 4110, 284}},
        {"Total descuentos:", {5386, 1276, 1984, 283}},
        {"Total", {1276, 1843, 4110, 283}},
        {"Opcionales", {0, 2268, 5386, 283}},
        {"Cantidad", {0, 2551, 1276, 284}},
        {"Opcional", {1276, 2551, 4110, 284}},
        {"Importe", {7370, 2551, 1417, 284}},
        {"Total", {8787, 2551, 2268, 284}},
    };
    for (const auto& [caption, rect] : footerCaptions)
        out.text(rect.translated(0, rect.top() >= 1276 ? grown : 0), QString::fromUtf8(caption), {}, false);
    const Variant sumQuantity(quantity), sumAmount(amount);
    out.text({5953, 283, 1417, 284}, sumQuantity.toText(), sumQuantity);
    out.text({7370, 283, 1417, 284}, runtime::Format(sumAmount, Thousands), sumAmount);
    for (const PageItem& item : discounts)
        out.band().push_back(translated(item, 1276, 1134));
    out.text({7370, 1276 + grown, 1417, 283}, discountsText);
    const double b = runtime::parseNumber(discountsText).value_or(0.0);
    out.text({7370, 1843 + grown, 1417, 283},
             runtime::Format(Variant(b + framework::ValorNumerico(sumAmount)), Thousands));
    for (const PageItem& item : options)
        out.band().push_back(translated(item, 0, 2835 + grown));
    out.place(3315 + grown + optionsGrown);
    return out.finish();
}

} // namespace

int main(int argc, char** argv) {
    return bench::run(argc, argv, "dorrindale_bench", Options::over(240000, 365), {}, [](Bench& bench) {
        const Installation at(bench.options().trade);
        std::printf("Dorrindale over %d days: %d sales, %d lines, %d discounts, made in %.1f s\n",
                    bench.options().trade.days, at.made.sales, at.made.lines, at.made.discounts, at.seconds);
        const double desde = at.desde, hasta = at.hasta;

        QElapsedTimer clock;
        benchClock = &clock;
        TimingHost host(clock);
        framework::ProgramDescription description = dorrindale::program();
        description.report = [] { return std::make_unique<TimedReport>(); };
        const auto database = startProgram(host, at.folder.path(), std::move(description));

        auto& window = forms::instance<dorrindale::frmParametros>();
        window.chkTodos.setValue(1);
        window.dtdesde.setValue(desde);
        window.dthasta.setValue(hasta);
        auto& report = framework::report<TimedReport>();
        RawQueries raw(at.file("db/db.mdb"));

        double rawDiscounts = 0;
        bench.measure(
            {"Dorrindale", "build", 1.2, Unit::Seconds, true},
            [&] {
                clock.restart();
                window.LlenaInforme();
                return seconds(report.startedAt);
            },
            [&] { return timed([&] { rawDiscounts = rawBuild(raw, desde, hasta); }); },
            [&]() -> QString {
                const QString expected = runtime::Format(Variant(rawDiscounts), Thousands);
                if (report.vDesc->text() == expected) return {};
                return QStringLiteral("discounts %1 by the program, %2 by hand")
                    .arg(report.vDesc->text(), expected);
            });
        if (!bench.options().wants("build")) window.LlenaInforme();

        measureRun(bench, {"Dorrindale", "run", 1.2, Unit::Seconds, true}, report,
                   [&] { return rawRun(raw, desde, hasta, report.params->text(), report.vDesc->text()); });

        std::printf("Dorrindale: peak memory %.0f MiB\n", peakMiB());
        measurePdf(bench, "Dorrindale", report.pages(), at.file("report.pdf"), at.file("bare.pdf"));
    });
}

// Builds and runs the sales-by-dish report over a year of a busy restaurant, offscreen, and
// prints the seconds of the build (LlenaInforme up to the report's start) and of the report run,
// each against a hand-written pass over the same SQL, and the peak memory.
//   dorrindale_bench [--sales N] [--days D] [--seed S]

#include "tools/BenchSupport.h"
#include "tools/pos/DemoInstallation.h"

#include "forms/DesktopLook.h"
#include "forms/QtHost.h"
#include "framework/ProgramSession.h"
#include "framework/clsDataBase.h"
#include "reports/PageModel.h"
#include "runtime/DateSerial.h"
#include "runtime/Format.h"
#include "runtime/Program.h"
#include "runtime/RuntimeError.h"
#include "runtime/Variant.h"
#include "sales_by_dish/Dorrindale.h"
#include "sales_by_dish/arDorrindale.h"
#include "sales_by_dish/frmParametros.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sqlite3.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

using namespace framework;

namespace {

QElapsedTimer* benchClock = nullptr;

double seconds(qint64 nanoseconds) {
    return nanoseconds / 1e9;
}

// The report, with the moment its run starts noted: the build ends there.
class TimedReport : public dorrindale::arDorrindale {
public:
    qint64 startedAt = 0;

protected:
    void ActiveReport_ReportStart() override { startedAt = benchClock->nsecsElapsed(); }
};

// A message box (an error) is printed, not shown.
sqlite3* openRaw(const QString& file) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        throw runtime::RuntimeError(runtime::err::DatabaseError, QString::fromUtf8(sqlite3_errmsg(db)));
    return db;
}

sqlite3_stmt* prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK)
        throw runtime::RuntimeError(runtime::err::DatabaseError, QString::fromUtf8(sqlite3_errmsg(db)));
    return stmt;
}

// The report's three queries by hand in SQLite's own dialect (dates as bound serials, DateValue
// and hour as arithmetic on the serial, iif and instr as SQLite has them), every product.
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
    "GROUP BY 1, 2, ventasDetail.NombreArticulo, ventasDetail.monto ORDER BY 1, 2, "
    "ventasDetail.NombreArticulo";
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
    "VentasDetailObservaciones.concepto";

// The statements of the hand-written passes, prepared once on an open connection.
struct RawQueries {
    explicit RawQueries(const QString& file)
        : db(openRaw(file)), main(prepare(db, MainSql)), discounts(prepare(db, DiscountSql)),
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

// Boxes of text placed down pages of letter paper, as the report places its rows.
class RawPages {
public:
    explicit RawPages(int top) : m_y(top) { newPage(); }
    void row(int height, std::initializer_list<std::pair<QRect, QString>> boxes, bool right = false) {
        if (m_y + height > Bottom) {
            newPage();
            m_y = Top;
        }
        for (const auto& [rect, text] : boxes)
            pages.addItem(reports::PageItem::textBox(
                rect.translated(Left, m_y), text, {}, Qt::black,
                right ? reports::Alignment::Right : reports::Alignment::Left, false));
        m_y += height;
    }
    reports::Pages pages;

private:
    static constexpr int Left = 560, Top = 720, Bottom = 15840 - 720;
    void newPage() { pages.addPage(QSize(12240, 15840)); }
    int m_y;
};

QString number(double value) {
    return runtime::Variant(value).toString();
}

// The report run by hand: the three queries stepped, their values formatted with the report's
// pictures into the report's boxes, and the totals.
int rawRun(RawQueries& q, double desde, double hasta) {
    const QString thousands = QStringLiteral("#,##0");
    RawPages out(720 + 1170);
    double quantity = 0, amount = 0, discounts = 0;
    sqlite3_stmt* m = q.bound(q.main, desde, hasta);
    while (sqlite3_step(m) == SQLITE_ROW) {
        const runtime::Variant day = runtime::Variant::date(sqlite3_column_double(m, 0));
        const double sold = sqlite3_column_double(m, 3), imp = sqlite3_column_double(m, 5);
        quantity += sold;
        amount += imp;
        out.row(300, {{{0, 0, 1276, 283}, runtime::Format(day, QStringLiteral("d-mmm"))},
                      {{1276, 0, 4110, 283},
                       QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(m, 2)))},
                      {{5386, 0, 567, 283}, number(sqlite3_column_int(m, 1))},
                      {{5953, 0, 1417, 283}, number(sold)},
                      {{7370, 0, 1417, 283},
                       runtime::Format(runtime::Variant(sqlite3_column_double(m, 4)), thousands)},
                      {{8787, 0, 1559, 283}, runtime::Format(runtime::Variant(imp), thousands)},
                      {{10346, 0, 709, 283}, runtime::Format(day, QStringLiteral("m"))}});
    }
    out.row(1134, {{{5953, 283, 1417, 284}, number(quantity)},
                   {{7370, 283, 1417, 284}, runtime::Format(runtime::Variant(amount), thousands)}});
    sqlite3_stmt* d = q.bound(q.discounts, desde, hasta);
    while (sqlite3_step(d) == SQLITE_ROW) {
        discounts += sqlite3_column_double(d, 2);
        out.row(345, {{{1276, 0, 6094, 283}, runtime::Variant::date(sqlite3_column_double(d, 0)).toString()},
                      {{7370, 0, 1417, 283},
                       runtime::Format(runtime::Variant(sqlite3_column_double(d, 2)), thousands)}});
    }
    out.row(1134, {{{7370, 0, 1417, 283}, runtime::Format(runtime::Variant(discounts + amount), thousands)}});
    sqlite3_stmt* o = q.bound(q.observations, desde, hasta);
    while (sqlite3_step(o) == SQLITE_ROW) {
        const double qty = sqlite3_column_double(o, 0), price = sqlite3_column_double(o, 1);
        out.row(315, {{{0, 0, 1276, 283}, number(qty)},
                      {{1276, 0, 4110, 283},
                       QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(o, 2)))},
                      {{7370, 0, 1417, 283}, number(price)},
                      {{8787, 0, 1417, 283}, number(qty * price)}});
    }
    return int(out.pages.size());
}

int usage() {
    std::fprintf(stderr, "usage: dorrindale_bench [--sales N] [--days D] [--seed S]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    demo::Options options;
    options.sales = 240000;
    options.days = 365;
    if (!bench::readOptions(QCoreApplication::arguments().mid(1), options)) return usage();

    QTemporaryDir folder;
    QElapsedTimer clock;
    benchClock = &clock;
    clock.start();
    const demo::Counts made = demo::makeInstallation(folder.path(), options);
    std::printf("Trade: %d sales, %d lines, %d discounts, made in %.1f s\n", made.sales, made.lines,
                made.discounts, seconds(clock.nsecsElapsed()));
    const double desde = runtime::today() - (options.days - 1);
    const double hasta = runtime::today();

    bench::TimingHost host(clock);
    ProgramDescription description = dorrindale::program();
    description.report = [] { return std::make_unique<TimedReport>(); };
    const auto database = bench::startProgram(host, folder.path(), std::move(description));

    try {
        auto& window = forms::instance<dorrindale::frmParametros>();
        window.chkTodos.setValue(1);
        window.dtdesde.setValue(desde);
        window.dthasta.setValue(hasta);
        auto& report = framework::report<TimedReport>();
        RawQueries raw(folder.path() + QStringLiteral("/db/db.mdb"));

        // Each side in turns, the best of each counting: the machine's other work then weighs on
        // neither side.
        const int rounds = 3;
        double build = 1e9, rawBuildTime = 1e9, run = 1e9, rawRunTime = 1e9;
        int pages = 0, rawPages = 0;
        for (int round = 0; round < rounds; ++round) {
            clock.restart();
            rawBuild(raw, desde, hasta);
            rawBuildTime = std::min(rawBuildTime, seconds(clock.nsecsElapsed()));
            clock.restart();
            window.LlenaInforme();
            build = std::min(build, seconds(report.startedAt));

            clock.restart();
            rawPages = rawRun(raw, desde, hasta);
            rawRunTime = std::min(rawRunTime, seconds(clock.nsecsElapsed()));
            clock.restart();
            report.run();
            run = std::min(run, seconds(clock.nsecsElapsed()));
            pages = int(report.pages().size());
        }
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);

        std::printf("build, LlenaInforme to the report's start: %7.3f s   by hand: %7.3f s   ratio %.2f\n",
                    build, rawBuildTime, build / rawBuildTime);
        std::printf(
            "report run (%d pages):                    %7.3f s   by hand (%d pages): %7.3f s   ratio %.2f\n",
            pages, run, rawPages, rawRunTime, run / rawRunTime);
        std::printf("discount total %s; peak memory %ld MB (best of %d each; aim 1.5 or less)\n",
                    qPrintable(report.vDesc->text()), usage.ru_maxrss / 1024, rounds);
    } catch (const runtime::RuntimeError& e) {
        std::fprintf(stderr, "dorrindale_bench: error %ld: %s\n", e.number(), qPrintable(e.description()));
        return 1;
    }
    return 0;
}

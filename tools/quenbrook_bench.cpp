// Builds the deleted-items report over a busy month of a demo installation, offscreen, and
// prints the seconds of each step: the cash-date pass against the same updates written by hand
// on SQLite in one transaction, the build (LlenaInforme up to the report) against the same build
// written by hand on SQLite, the report run and the PDF export, and the listing window's two
// listings of the month.
//   quenbrook_bench [--sales N] [--days D] [--seed S] [--rounds R]

#include "tools/BenchSupport.h"
#include "tools/BuildBaseline.h"
#include "tools/pos/DemoInstallation.h"

#include "deleted_items/ActiveReport1.h"
#include "deleted_items/Quenbrook.h"
#include "deleted_items/frmPListado.h"
#include "deleted_items/frmParametros.h"
#include "forms/DesktopLook.h"
#include "forms/QtHost.h"
#include "framework/GridHelpers.h"
#include "framework/ReportExport.h"
#include "framework/clsCajaHelpers.h"
#include "framework/clsDataBase.h"
#include "runtime/DateSerial.h"
#include "runtime/Program.h"
#include "runtime/RuntimeError.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace framework;
using namespace quenbrook;
using namespace bench;

namespace {

sqlite3* openRaw(const QString& file) {
    return openFile(file);
}

long long scalar(sqlite3* db, const char* sql, double a = 0, double b = 0) {
    sqlite3_stmt* stmt = prepare(db, sql);
    sqlite3_bind_double(stmt, 1, a);
    sqlite3_bind_double(stmt, 2, b);
    const long long value = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : 0;
    sqlite3_finalize(stmt);
    return value;
}

int usage() {
    std::fprintf(stderr, "usage: quenbrook_bench [--sales N] [--days D] [--seed S] [--rounds R]\n");
    return 2;
}

// The cash-date pass written by hand: each sale without cash date given its shift's opening date
// as stored, the statements prepared once, all of it in one transaction.
class CashDatesBaseline {
public:
    explicit CashDatesBaseline(const QString& mainFile)
        : m_db(openFile(mainFile)),
          m_undated(prepare(m_db, "SELECT Idventa, idsesion FROM ventas WHERE fechacaja IS NULL")),
          m_opening(prepare(m_db, "SELECT fechaapertura FROM sesion WHERE idsesion = ?1")),
          m_update(prepare(m_db, "UPDATE ventas SET fechacaja = ?1 WHERE Idventa = ?2")),
          m_clear(prepare(m_db, "UPDATE ventas SET fechacaja = NULL WHERE Idventa = ?1")),
          m_dates(prepare(m_db, "SELECT Idventa, quote(fechacaja) FROM ventas ORDER BY Idventa")) {
        for (sqlite3_stmt* stmt = m_undated; sqlite3_step(stmt) == SQLITE_ROW;)
            m_sales.push_back(sqlite3_column_int64(stmt, 0));
        sqlite3_reset(m_undated);
    }
    ~CashDatesBaseline() {
        for (sqlite3_stmt* stmt : {m_undated, m_opening, m_update, m_clear, m_dates})
            sqlite3_finalize(stmt);
        sqlite3_close(m_db);
    }
    CashDatesBaseline(const CashDatesBaseline&) = delete;
    CashDatesBaseline& operator=(const CashDatesBaseline&) = delete;

    // Takes the cash dates off the sales that had none at the start.
    void clear() {
        exec(m_db, "BEGIN");
        for (qint64 idventa : m_sales) {
            sqlite3_bind_int64(m_clear, 1, idventa);
            if (sqlite3_step(m_clear) != SQLITE_DONE) failOn(m_db);
            sqlite3_reset(m_clear);
        }
        exec(m_db, "COMMIT");
    }

    void run() {
        exec(m_db, "BEGIN");
        struct Sale {
            qint64 idventa;
            sqlite3_value* idsesion;
        };
        std::vector<Sale> sales;
        while (sqlite3_step(m_undated) == SQLITE_ROW)
            sales.push_back(
                {sqlite3_column_int64(m_undated, 0), sqlite3_value_dup(sqlite3_column_value(m_undated, 1))});
        sqlite3_reset(m_undated);
        for (const Sale& sale : sales) {
            if (sqlite3_value_type(sale.idsesion) != SQLITE_NULL) {
                sqlite3_bind_value(m_opening, 1, sale.idsesion);
                if (sqlite3_step(m_opening) == SQLITE_ROW) {
                    sqlite3_bind_value(m_update, 1, sqlite3_column_value(m_opening, 0));
                    sqlite3_bind_int64(m_update, 2, sale.idventa);
                    if (sqlite3_step(m_update) != SQLITE_DONE) failOn(m_db);
                    sqlite3_reset(m_update);
                }
                sqlite3_reset(m_opening);
            }
            sqlite3_value_free(sale.idsesion);
        }
        exec(m_db, "COMMIT");
    }

    // Every sale's cash date as stored.
    QByteArray dates() {
        QByteArray all;
        while (sqlite3_step(m_dates) == SQLITE_ROW) {
            all += QByteArray::number(sqlite3_column_int64(m_dates, 0)) + ':';
            all += reinterpret_cast<const char*>(sqlite3_column_text(m_dates, 1));
            all += '\n';
        }
        sqlite3_reset(m_dates);
        return all;
    }

private:
    sqlite3* m_db;
    sqlite3_stmt *m_undated, *m_opening, *m_update, *m_clear, *m_dates;
    std::vector<qint64> m_sales;
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    demo::Options options;
    options.sales = 20000;
    options.days = 30;
    int rounds = 5;
    if (!readOptions(QCoreApplication::arguments().mid(1), options, &rounds)) return usage();

    QTemporaryDir folder;
    QElapsedTimer clock;
    clock.start();
    const demo::Counts made = demo::makeInstallation(folder.path(), options);
    const QString mainFile = folder.path() + QStringLiteral("/db/db.mdb");
    const QString spoolerFile = folder.path() + QStringLiteral("/spooler.mdb");
    const double desde = runtime::today() - (options.days - 1);
    const double hasta = runtime::today();
    {
        sqlite3* db = openRaw(mainFile);
        const char* inPeriod = "SELECT count(*) FROM ventas WHERE fecha BETWEEN ?1 AND ?2";
        std::printf(
            "Busy month: %lld sales, %lld lines, %lld deleted items (%lld sales without cash date), "
            "made in %.2f s\n",
            scalar(db, inPeriod, desde, hasta),
            scalar(db,
                   "SELECT count(*) FROM ventasdetail JOIN ventas ON ventas.Idventa = ventasdetail.IDVENTA "
                   "WHERE ventas.fecha BETWEEN ?1 AND ?2",
                   desde, hasta),
            scalar(db,
                   "SELECT count(*) FROM Quenbrook JOIN ventas ON ventas.Idventa = Quenbrook.IDVENTA WHERE "
                   "ventas.fecha BETWEEN ?1 AND ?2 AND Quenbrook.TIPO <> 'ITEM'",
                   desde, hasta),
            qint64(made.withoutCashDate), seconds(clock.nsecsElapsed()));
        sqlite3_close(db);
    }

    TimingHost host(clock);
    const auto database = startProgram(host, folder.path(), quenbrook::program());

    try {
        // The pass and its baseline in turns, each over the sales without cash date as made, and
        // checked to write the same dates.
        {
            CashDatesBaseline baseline(mainFile);
            std::vector<double> passes, baselines;
            for (int round = 0; round < rounds; ++round) {
                QByteArray written;
                for (int side = 0; side < 2; ++side) {
                    const bool program = (round + side) % 2 == 0;
                    baseline.clear();
                    clock.restart();
                    if (program)
                        clsCajaHelpers().generaFechaCaja();
                    else
                        baseline.run();
                    (program ? passes : baselines).push_back(seconds(clock.nsecsElapsed()));
                    const QByteArray dates = baseline.dates();
                    if (side == 1 && dates != written) {
                        std::fprintf(stderr, "quenbrook_bench: the cash-date baseline and the program wrote "
                                             "different dates\n");
                        return 1;
                    }
                    written = dates;
                }
            }
            std::printf(
                "Quenbrook cash-dates: program min %.3f s, median %.3f s | baseline min %.3f s, median "
                "%.3f s | ratio min %.2f, median %.2f | aim 2\n",
                minimum(passes), median(passes), minimum(baselines), median(baselines),
                minimum(passes) / minimum(baselines), median(passes) / median(baselines));
        }

        frmParametros& window = forms::instance<frmParametros>();
        window.dtdesde.setValue(desde);
        window.dthasta.setValue(hasta);

        // Builds and baseline passes in turns, min and median of each counting: the machine's
        // other work then weighs on neither side.
        BuildBaseline baseline(mainFile, spoolerFile);
        std::vector<double> builds, baselines, runsAndPreviews;
        long long built = 0;
        long raw = 0;
        bool sameRows = true;
        for (int round = 0; round < rounds; ++round) {
            clock.restart();
            raw = baseline.run(desde, hasta);
            baselines.push_back(seconds(clock.nsecsElapsed()));
            const QByteArray expected = baseline.tmpreportDigest();
            clock.restart();
            window.LlenaInforme();
            const qint64 shown = clock.nsecsElapsed();
            builds.push_back(seconds(host.defaultAt));
            runsAndPreviews.push_back(seconds(shown - host.defaultAt));
            sameRows = sameRows && baseline.tmpreportDigest() == expected;
            sqlite3* spooler = openRaw(spoolerFile);
            built = scalar(spooler, "SELECT count(*) FROM tmpreport");
            sqlite3_close(spooler);
        }
        const double build = minimum(builds), rawTime = minimum(baselines);
        const double runAndPreview = minimum(runsAndPreviews);

        // The report over the last build's rows.
        ActiveReport1& report = framework::report<ActiveReport1>();
        clock.restart();
        report.run();
        const double run = seconds(clock.nsecsElapsed());
        const int pages = int(report.pages().size());

        const QString pdf = folder.path() + QStringLiteral("/report.pdf");
        clock.restart();
        exPDFReport(report, pdf);
        const double exportTime = seconds(clock.nsecsElapsed());

        std::printf("build, LlenaInforme (%lld tmpreport rows): %7.2f s\n", built, build);
        std::printf("report run in the build's show, with the preview: %.2f s\n", runAndPreview);
        std::printf("report run (%d pages):               %7.2f s\n", pages, run);
        std::printf("PDF export of the pages shown (%lld KB): %7.2f s\n", QFileInfo(pdf).size() / 1024,
                    exportTime);
        std::printf("build baseline, by hand on SQLite (%ld rows): min %.3f s, median %.3f s\n", raw, rawTime,
                    median(baselines));
        std::printf("build, LlenaInforme: min %.3f s, median %.3f s\n", build, median(builds));
        std::printf("build / baseline: min %.2f, median %.2f (aim: 2 or less; %d rounds)\n", build / rawTime,
                    median(builds) / median(baselines), rounds);

        // The listing window over the month: its deleted-products listing with a sort on a text column,
        // and its sales with deletions.
        QString modo = QStringLiteral("Quenbrook");
        frmPListado& listado = forms::instance<frmPListado>();
        listado.Listado(modo);
        listado.dtdesde.setValue(desde);
        listado.dthasta.setValue(hasta);
        clock.restart();
        listado.MuestraDatos();
        QCoreApplication::processEvents();
        const double listing = seconds(clock.nsecsElapsed());
        clock.restart();
        OrdenaGrilla(listado.g, 8);
        QCoreApplication::processEvents();
        std::printf("listing window, deleted products (%.0f rows): %7.2f s, sorted by product %.2f s\n",
                    listado.mFilasEncontradas, listing, seconds(clock.nsecsElapsed()));
        modo = QStringLiteral("InfVentas");
        listado.Listado(modo);
        listado.optF0.setValue(true);
        listado.dtdesde.setValue(desde);
        listado.dthasta.setValue(hasta);
        clock.restart();
        listado.MuestraDatos();
        QCoreApplication::processEvents();
        std::printf("listing window, sales with deletions (%.0f rows): %7.2f s\n", listado.mFilasEncontradas,
                    seconds(clock.nsecsElapsed()));
        if (raw != built) std::printf("warning: the baseline wrote %ld rows, the build %lld\n", raw, built);
        if (!sameRows) std::printf("warning: the baseline and the build wrote different rows\n");
    } catch (const runtime::RuntimeError& e) {
        std::fprintf(stderr, "quenbrook_bench: error %ld: %s\n", e.number(), qPrintable(e.description()));
        return 1;
    }
    return 0;
}

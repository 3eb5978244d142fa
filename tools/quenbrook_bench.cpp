// Builds the deleted-items report over a busy month of a demo installation, offscreen, and
// prints the seconds of each step: the cash-date pass, the build (LlenaInforme up to the
// report) against the same build written by hand on SQLite, the report run and the PDF export,
// and the listing window's two listings of the month.
//   quenbrook_bench [--sales N] [--days D] [--seed S]

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
    std::fprintf(stderr, "usage: quenbrook_bench [--sales N] [--days D] [--seed S]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    demo::Options options;
    options.sales = 20000;
    options.days = 30;
    if (!readOptions(QCoreApplication::arguments().mid(1), options)) return usage();

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
        clock.restart();
        clsCajaHelpers().generaFechaCaja();
        const double cashDates = seconds(clock.nsecsElapsed());

        frmParametros& window = forms::instance<frmParametros>();
        window.dtdesde.setValue(desde);
        window.dthasta.setValue(hasta);

        // Builds and baseline passes in turns, min and median of each counting: the machine's
        // other work then weighs on neither side.
        const int rounds = 5;
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

        std::printf("cash-date pass (%d sales):            %7.2f s\n", made.withoutCashDate, cashDates);
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

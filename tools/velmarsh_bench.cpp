// Builds the invoice-lines report over a busy month of a demo installation, offscreen, and
// prints the seconds of each step against the same work written by hand: the build
// (LlenaInforme up to the report) against the same SQL on SQLite, and the report run against
// a hand-written layout of the same lines; then the PDF export.
//   velmarsh_bench [--sales N] [--days D] [--seed S] [--rounds R]

#include "tools/BenchSupport.h"
#include "tools/pos/DemoInstallation.h"

#include "data/JetFunctions.h"
#include "forms/DesktopLook.h"
#include "framework/ProgramSession.h"
#include "framework/ReportExport.h"
#include "framework/clsCajaHelpers.h"
#include "framework/clsDataBase.h"
#include "invoice_lines/ActiveReport1.h"
#include "invoice_lines/Velmarsh.h"
#include "invoice_lines/frmParametros.h"
#include "reports/PageModel.h"
#include "runtime/DateSerial.h"
#include "runtime/Format.h"
#include "runtime/Program.h"
#include "runtime/Regional.h"
#include "runtime/RuntimeError.h"
#include "runtime/Variant.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace bench;

const char* text(sqlite3_stmt* s, int column) {
    const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
    return value ? value : "";
}

// A cell as the data layer reads it and a field without format prints it.
QString cellText(sqlite3_stmt* s, int column) {
    switch (sqlite3_column_type(s, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return QString::number(sqlite3_column_int64(s, column));
    case SQLITE_FLOAT:
        return runtime::numberText(sqlite3_column_double(s, column));
    default:
        return QString::fromUtf8(text(s, column));
    }
}

// Velmarsh's build written by hand against SQLite: the same SQL texts (translated by hand
// where the Jet dialect differs), connections held open, each statement prepared once, results
// stepped row by row and every tmpreport write of a build in one transaction.
class BuildBaseline {
public:
    BuildBaseline(const QString& mainFile, const QString& spoolerFile)
        : db(openFile(mainFile)), spooler(openFile(spoolerFile)) {
        exec(spooler, "PRAGMA synchronous=OFF");
        data::registerJetFunctions(db); // First and Last in stored order
        cashDates = prepare(db, "SELECT * FROM ventas WHERE fechacaja IS NULL");
        clear = prepare(spooler, "DELETE FROM tmpreport");
        sales = prepare(
            db,
            "SELECT ventas.Idventa, ventas.SF_hora, ventas.smesa, ventas.horaapertura, ventas.horacierre, "
            "ventas.estado, ventas.TIPOFACTURA, ventas.NUMEROTICKET, ventas.SF_total, ventas.facturasacada, "
            "ventas.facturaimpresa, ventas.estado, ventas.SF_FECHA, ventas.fecha, usuarios.apodo, "
            "ventas.tmesa FROM (ventas LEFT JOIN mesas ON ventas.idmesa = mesas.Id) LEFT JOIN usuarios ON "
            "ventas.idusuario = usuarios.Id WHERE ventas.tipofactura COLLATE NOCASE IN ('A','B','C','X') "
            "AND ventas.fecha BETWEEN ?1 AND ?2 AND (ventas.reemplazadoporid = 0 OR "
            "ventas.reemplazadoporid IS NULL AND ventas.estado = 3) ORDER BY ventas.sf_fecha, "
            "ventas.sf_hora");
        detail = prepare(
            db,
            "SELECT IDVENTA, IDVENTADETAIL, HORA, CANTIDAD, PRODUCTO, IMPORTE, PREPARACION, DEMORA, TIPO, "
            "MOTIVO, usuario, 2 AS estado, idproducto FROM Quenbrook WHERE IDVENTA = ?1 AND cantidad > 0 "
            "UNION SELECT VENTASDETAIL.IDVENTA, jet_first(VENTASDETAIL.IDVENTADETAIL), "
            "jet_last(VENTASDETAIL.HORA), sum(VENTASDETAIL.CANTIDAD), VENTASDETAIL.NOMBREARTICULO, "
            "VENTASDETAIL.MONTO, 0, 0, 'ADIC', '', '', estado, idproducto FROM VENTASDETAIL "
            "WHERE VENTASDETAIL.IDVENTA = ?1 AND idproducto <> -8 GROUP BY VENTASDETAIL.IDVENTA, "
            "VENTASDETAIL.NOMBREARTICULO, VENTASDETAIL.MONTO, estado, idproducto ORDER BY hora, tipo");
        audit = prepare(db, "SELECT usuario, motivo FROM auditoria WHERE idventa = ?1 AND codigo = 21");
        std::string sql = "INSERT INTO tmpreport (";
        for (int i = 1; i <= 28; ++i)
            sql += (i > 1 ? ",campo" : "campo") + std::to_string(i);
        sql += ") VALUES (";
        for (int i = 1; i <= 28; ++i)
            sql += i > 1 ? ",?" : "?";
        insert = prepare(spooler, (sql + ")").c_str());
    }
    ~BuildBaseline() {
        for (sqlite3_stmt* s : {cashDates, clear, sales, detail, audit, insert})
            sqlite3_finalize(s);
        sqlite3_close(spooler);
        sqlite3_close(db);
    }

    // Fills tmpreport with the item rows of the sales dated from desde to hasta (midnights,
    // as the date literals bound them); returns the rows written.
    long run(double desde, double hasta) {
        while (sqlite3_step(cashDates) == SQLITE_ROW) {
        }
        sqlite3_reset(cashDates);
        exec(spooler, "BEGIN");
        sqlite3_step(clear);
        sqlite3_reset(clear);

        long written = 0;
        long long lastSupplemented = 0;
        sqlite3_bind_double(sales, 1, desde);
        sqlite3_bind_double(sales, 2, hasta);
        while (sqlite3_step(sales) == SQLITE_ROW) {
            const bool voided =
                sqlite3_column_type(sales, 5) != SQLITE_NULL && sqlite3_column_int(sales, 5) == 3;
            std::string motive;
            sqlite3_bind_int64(detail, 1, sqlite3_column_int64(sales, 0));
            while (sqlite3_step(detail) == SQLITE_ROW) {
                if (std::strcmp(text(detail, 8), "ITEM") == 0) {
                    motive = text(detail, 9);
                    continue;
                }
                if (sqlite3_column_type(detail, 8) == SQLITE_NULL) continue;
                for (int c = 0; c < 16; ++c)
                    sqlite3_bind_value(insert, c + 1, sqlite3_column_value(sales, c));
                if (sqlite3_column_type(sales, 12) == SQLITE_NULL)
                    sqlite3_bind_value(insert, 13, sqlite3_column_value(sales, 13));
                for (int c = 0; c < 13; ++c)
                    sqlite3_bind_value(insert, 16 + c, sqlite3_column_value(detail, c));
                sqlite3_bind_value(insert, 1, sqlite3_column_value(detail, 0));
                sqlite3_bind_value(insert, 27, sqlite3_column_value(detail, 10));
                if (voided) sqlite3_bind_text(insert, 24, "ANULADO", -1, SQLITE_STATIC);
                sqlite3_bind_text(insert, 25, motive.c_str(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_text(insert, 26, motive.c_str(), -1, SQLITE_TRANSIENT);
                const long long line = sqlite3_column_int64(detail, 0);
                if (!*text(detail, 10) && motive.empty() && line != lastSupplemented) {
                    sqlite3_bind_int64(audit, 1, line);
                    const bool found = sqlite3_step(audit) == SQLITE_ROW;
                    sqlite3_bind_text(insert, 27, found ? text(audit, 0) : "", -1, SQLITE_TRANSIENT);
                    sqlite3_bind_text(insert, 25, found ? text(audit, 1) : "", -1, SQLITE_TRANSIENT);
                    sqlite3_bind_text(insert, 26, found ? text(audit, 1) : "", -1, SQLITE_TRANSIENT);
                    sqlite3_reset(audit);
                    lastSupplemented = line;
                }
                if (sqlite3_step(insert) != SQLITE_DONE) failOn(spooler);
                sqlite3_reset(insert);
                sqlite3_clear_bindings(insert);
                ++written;
                motive.clear();
            }
            sqlite3_reset(detail);
        }
        sqlite3_reset(sales);
        exec(spooler, "COMMIT");
        return written;
    }

    // tmpreport's rows in stored order, numbers written by value.
    QStringList tmpreportRows() {
        sqlite3_stmt* rows = prepare(spooler, "SELECT * FROM tmpreport ORDER BY rowid");
        QStringList result;
        const int columns = sqlite3_column_count(rows);
        while (sqlite3_step(rows) == SQLITE_ROW) {
            QString row;
            for (int c = 0; c < columns; ++c) {
                const int type = sqlite3_column_type(rows, c);
                if (type == SQLITE_INTEGER || type == SQLITE_FLOAT)
                    row += QString::number(sqlite3_column_double(rows, c), 'g', 17);
                else if (type != SQLITE_NULL)
                    row += QLatin1Char('\'') + QString::fromUtf8(text(rows, c)) + QLatin1Char('\'');
                row += QLatin1Char('|');
            }
            result << row;
        }
        sqlite3_finalize(rows);
        return result;
    }

    sqlite3* db;
    sqlite3* spooler;

private:
    sqlite3_stmt* cashDates = nullptr;
    sqlite3_stmt* clear = nullptr;
    sqlite3_stmt* sales = nullptr;
    sqlite3_stmt* detail = nullptr;
    sqlite3_stmt* audit = nullptr;
    sqlite3_stmt* insert = nullptr;
};

// The report's lines laid out by hand: tmpreport stepped once, each line's ten texts
// formatted as the layout's fields format them, placed in twips on landscape letter pages
// with the title and captions on the first.
reports::Pages handLayout(sqlite3* spooler, const QString& label) {
    struct Column {
        int left, width, column;
        const char* caption;
        const char* format;
    };
    static const Column columns[] = {
        {0, 1134, -1, "Local", ""},       {1134, 1134, 12, "Fecha", "d-mmm-yy"},
        {2268, 1134, 7, "Ticket", ""},    {3402, 2834, 24, "Comentario", ""},
        {6236, 1134, 26, "Usuario", ""},  {7370, 1134, 17, "Hora", "h:mm"},
        {8504, 2835, 19, "Articulo", ""}, {11339, 1133, 18, "Cantidad", ""},
        {12472, 1134, 20, "Px", ""},      {13606, 1134, -2, "Total", ""},
    };
    const QSize paper(15840, 12240);
    const int left = 550, top = 770, bottom = 12240 - 770;
    const reports::Font font;
    reports::Font title;
    title.size = 11.5;

    reports::Pages pages;
    pages.addPage(paper);
    int y = top;
    pages.addItem(reports::PageItem::textBox({left, y, 13606, 283}, QStringLiteral("Items Eliminados"), title,
                                             Qt::black, reports::Alignment::Left, false));
    for (const Column& c : columns) {
        pages.addItem(
            reports::PageItem::filledRect({left + c.left, y + 283, c.width, 284}, QColor(128, 128, 128)));
        pages.addItem(reports::PageItem::textBox({left + c.left, y + 283, c.width, 284},
                                                 QString::fromUtf8(c.caption), font, Qt::white,
                                                 reports::Alignment::Left, false));
    }
    y += 570;

    sqlite3_stmt* rows = prepare(spooler, "SELECT * FROM tmpreport");
    while (sqlite3_step(rows) == SQLITE_ROW) {
        if (y + 315 > bottom) {
            pages.addPage(paper);
            y = top;
        }
        for (const Column& c : columns) {
            QString cell;
            if (c.column == -1) {
                cell = label;
            } else if (c.column == -2) {
                cell =
                    runtime::numberText(runtime::val(cellText(rows, 18)) * runtime::val(cellText(rows, 20)));
            } else if (*c.format && sqlite3_column_type(rows, c.column) != SQLITE_NULL) {
                cell = runtime::Format(runtime::Variant::date(sqlite3_column_double(rows, c.column)),
                                       QString::fromUtf8(c.format));
            } else {
                cell = cellText(rows, c.column);
            }
            if (cell.isEmpty()) continue;
            pages.addItem(reports::PageItem::textBox({left + c.left, y, c.width, 283}, cell, font, Qt::black,
                                                     reports::Alignment::Left, false));
        }
        y += 315;
    }
    sqlite3_finalize(rows);
    return pages;
}

void line(const char* step, const std::vector<double>& program, const std::vector<double>& baseline,
          double aim) {
    std::printf("%-34s %7.3f s (median %7.3f) | by hand %7.3f s (median %7.3f) | %5.2fx (aim %.1fx)\n", step,
                minimum(program), median(program), minimum(baseline), median(baseline),
                minimum(program) / minimum(baseline), aim);
}

int usage() {
    std::fprintf(stderr, "usage: velmarsh_bench [--sales N] [--days D] [--seed S] [--rounds R]\n");
    return 2;
}

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
    std::printf("Busy month: %d sales, %d lines, %d deleted items, made in %.2f s\n", made.sales, made.lines,
                made.deletions, seconds(clock.nsecsElapsed()));
    const QString mainFile = folder.path() + QStringLiteral("/db/db.mdb");
    const QString spoolerFile = folder.path() + QStringLiteral("/spooler.mdb");
    const double desde = runtime::today() - (options.days - 1);
    const double hasta = runtime::today();

    TimingHost host(clock);
    const auto database = startProgram(host, folder.path(), velmarsh::program());

    try {
        clock.restart();
        framework::clsCajaHelpers().generaFechaCaja();
        std::printf("cash-date pass (%d sales):          %7.2f s\n", made.withoutCashDate,
                    seconds(clock.nsecsElapsed()));

        velmarsh::frmParametros& window = forms::instance<velmarsh::frmParametros>();
        window.dtdesde.setValue(desde);
        window.dthasta.setValue(hasta);
        velmarsh::ActiveReport1& report = framework::report<velmarsh::ActiveReport1>();
        BuildBaseline baseline(mainFile, spoolerFile);

        // Program and baseline in turns, so that the machine's other work weighs on neither side.
        std::vector<double> build, rawBuild, run, handRun;
        long raw = 0;
        QStringList programRows, rawRows;
        int pages = 0, handPages = 0;
        for (int round = 0; round < rounds; ++round) {
            clock.restart();
            raw = baseline.run(desde, hasta);
            rawBuild.push_back(seconds(clock.nsecsElapsed()));
            rawRows = baseline.tmpreportRows();

            clock.restart();
            window.LlenaInforme();
            build.push_back(seconds(host.defaultAt));
            programRows = baseline.tmpreportRows();

            clock.restart();
            report.run();
            run.push_back(seconds(clock.nsecsElapsed()));
            pages = int(report.pages().size());

            clock.restart();
            handPages = int(handLayout(baseline.spooler, window.txtEtiqueta.text()).size());
            handRun.push_back(seconds(clock.nsecsElapsed()));
        }
        std::printf("tmpreport rows: %ld; pages: %d (by hand %d); best and median of %d rounds\n", raw, pages,
                    handPages, rounds);
        line("build, LlenaInforme", build, rawBuild, 2.0);
        line("report run", run, handRun, 1.5);
        for (qsizetype i = 0; i < std::max(programRows.size(), rawRows.size()); ++i)
            if (programRows.value(i) != rawRows.value(i)) {
                std::printf("warning: the build and the baseline differ from row %lld:\n  %s\n  %s\n",
                            qint64(i + 1), qPrintable(programRows.value(i)), qPrintable(rawRows.value(i)));
                break;
            }

        const QString pdf = folder.path() + QStringLiteral("/report.pdf");
        clock.restart();
        framework::exPDFReport(report, pdf);
        std::printf("PDF export of the pages shown (%lld KB): %.2f s\n", QFileInfo(pdf).size() / 1024,
                    seconds(clock.nsecsElapsed()));
    } catch (const runtime::RuntimeError& e) {
        std::fprintf(stderr, "velmarsh_bench: error %ld: %s\n", e.number(), qPrintable(e.description()));
        return 1;
    }
    return 0;
}

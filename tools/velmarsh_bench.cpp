// Velmarsh's steps over a busy month of a demo installation, offscreen, each against a fair
// baseline in the same process, in alternating rounds, the baseline's output checked against the
// program's in every round:
//   build  LlenaInforme up to the report, against the same SQL by hand on SQLite (BuildBaseline)
//   run    the report run, against the same lines laid out by hand: tmpreport stepped once, each
//          column read when printed
//   pdf    the PDF export of the pages, against a bare QPdfWriter loop drawing the same boxes

#include "tools/BenchSupport.h"
#include "tools/BuildBaseline.h"
#include "tools/pos/DemoInstallation.h"

#include "framework/clsCajaHelpers.h"
#include "invoice_lines/ActiveReport1.h"
#include "invoice_lines/Velmarsh.h"
#include "invoice_lines/frmParametros.h"
#include "reports/PageModel.h"
#include "runtime/DateSerial.h"
#include "runtime/Format.h"
#include "runtime/Regional.h"
#include "runtime/Variant.h"

#include <QScopeGuard>

#include <sqlite3.h>

#include <cstdio>
#include <vector>

using namespace bench;
using namespace reports;
using runtime::Variant;

namespace {

// The report's lines laid out by hand: tmpreport stepped once, each line's texts formatted as the
// layout's fields format them, placed on landscape letter pages with the title and captions first.
Pages handLayout(sqlite3* spooler, const QString& label) {
    struct Column {
        int left, width, column;
        const char* caption;
        const char* format;
        bool white;
    };
    static const Column columns[] = {
        {0, 1134, -1, "Local", "", false},       {1134, 1134, 12, "Fecha", "d-mmm-yy", true},
        {2268, 1134, 7, "Ticket", "", true},     {3402, 2834, 24, "Comentario", "", false},
        {6236, 1134, 26, "Usuario", "", false},  {7370, 1134, 17, "Hora", "h:mm", false},
        {8504, 2835, 19, "Articulo", "", false}, {11339, 1133, 18, "Cantidad", "", false},
        {12472, 1134, 20, "Px", "", false},      {13606, 1134, -2, "Total", "", false},
    };
    const QSize paper(15840, 12240);
    const int left = 550, top = 770, limit = 12240 - 770, width = 15840 - 2 * 550;
    const Font font;
    Font title;
    title.size = 11.5;
    QString captions[std::size(columns)], formats[std::size(columns)];
    for (size_t i = 0; i < std::size(columns); ++i) {
        captions[i] = QString::fromUtf8(columns[i].caption);
        formats[i] = QString::fromUtf8(columns[i].format);
    }

    Pages pages;
    pages.addPage(paper);
    int y = top;
    std::vector<PageItem> band;
    auto place = [&](int height) {
        giveRoom(band, width);
        if (y + height > limit && y > top) {
            pages.addPage(paper);
            y = top;
        }
        for (const PageItem& item : band)
            pages.addItem(item, left, y);
        y += height;
        band.clear();
    };
    band.push_back(PageItem::textBox({0, 0, 13606, 283}, QStringLiteral("Items Eliminados"), title, Qt::black,
                                     Alignment::Left, false));
    for (size_t i = 0; i < std::size(columns); ++i) {
        const QRect rect(columns[i].left, 283, columns[i].width, 284);
        band.push_back(PageItem::filledRect(rect, QColor(128, 128, 128)));
        band.push_back(PageItem::textBox(rect, captions[i], font, Qt::white, Alignment::Left, false));
    }
    place(570);

    sqlite3_stmt* rows = prepare(spooler, "SELECT * FROM tmpreport");
    while (sqlite3_step(rows) == SQLITE_ROW) {
        double quantity = 0, price = 0;
        for (size_t i = 0; i < std::size(columns); ++i) {
            const Column& c = columns[i];
            const QRect rect(c.left, 0, c.width, 283);
            if (c.white) band.push_back(PageItem::filledRect(rect, Qt::white));
            Variant value;
            QString text;
            if (c.column == -1) {
                text = label;
            } else if (c.column == -2) {
                text = Variant(quantity * price).toString();
            } else {
                value = cell(rows, c.column);
                text = *c.format ? runtime::Format(value, formats[i]) : value.toText();
                if (value.isNumber() && *c.format) value = Variant::date(value.rawNumber());
                // The quantity and the price as the line total reads them.
                if (c.column == 18 || c.column == 20) {
                    const double n = value.isNumber() ? value.toDouble() : runtime::val(text);
                    (c.column == 18 ? quantity : price) = n;
                }
            }
            if (text.isEmpty()) continue;
            band.push_back(PageItem::textBox(rect, text, font, Qt::black, Alignment::Left, false));
            band.back().value = value;
        }
        place(315);
    }
    sqlite3_finalize(rows);
    place(540); // the report footer
    return pages;
}

} // namespace

int main(int argc, char** argv) {
    return bench::run(argc, argv, "velmarsh_bench", Options::over(20000, 30), {}, [](Bench& bench) {
        const Installation at(bench.options().trade);
        std::printf("Velmarsh over %d days: %d sales, %d lines, %d deleted items, made in %.1f s\n",
                    bench.options().trade.days, at.made.sales, at.made.lines, at.made.deletions, at.seconds);
        const QString mainFile = at.file("db/db.mdb"), spoolerFile = at.file("spooler.mdb");

        QElapsedTimer clock;
        TimingHost host(clock);
        const auto database = startProgram(host, at.folder.path(), velmarsh::program());
        sqlite3* const spooler = openFile(spoolerFile);
        const auto closeSpooler = qScopeGuard([spooler] { sqlite3_close(spooler); });
        framework::clsCajaHelpers().generaFechaCaja();

        auto& window = forms::instance<velmarsh::frmParametros>();
        window.dtdesde.setValue(at.desde);
        window.dthasta.setValue(at.hasta);
        BuildBaseline baseline(BuildBaseline::Program::Velmarsh, mainFile, spoolerFile);
        measureBuild(bench, {"Velmarsh", "build", 1.3}, window, clock, host, baseline, spooler, at.desde,
                     at.hasta);
        if (!bench.options().wants("build")) window.LlenaInforme();
        std::printf("Velmarsh: %lld tmpreport rows\n", scalar(spooler, "SELECT count(*) FROM tmpreport"));

        auto& report = framework::report<velmarsh::ActiveReport1>();
        measureRun(bench, {"Velmarsh", "run", 1.2}, report,
                   [&] { return handLayout(spooler, window.txtEtiqueta.text()); });
        measurePdf(bench, "Velmarsh", report.pages(), at.file("report.pdf"), at.file("bare.pdf"));
    });
}

// Quenbrook's steps over a busy month of a demo installation, offscreen, each against a fair
// baseline in the same process, in alternating rounds, the baseline's output checked against the
// program's in every round:
//   cash-dates  the first cash-date pass, against the same updates by hand in one transaction
//   build       LlenaInforme up to the report, against the same build by hand (BuildBaseline)
//   run         the report run (read tmpreport, format, lay out, page), against the same boxes laid
//               out by hand: rows stepped straight from SQLite, each column read when used, the
//               layout's pictures formatted by small routines
//   pdf         the PDF export of the pages, against a bare QPdfWriter loop drawing the same boxes
//   memory      the peak memory of the build and its report shown over a year of trade (240,000
//               sales), against the build and the layout by hand over the same year
// then the listing window's two listings of the month. --all builds with "Ver todas las ventas".

#include "tools/BenchSupport.h"
#include "tools/BuildBaseline.h"
#include "tools/pos/DemoInstallation.h"

#include "deleted_items/ActiveReport1.h"
#include "deleted_items/Quenbrook.h"
#include "deleted_items/frmPListado.h"
#include "deleted_items/frmParametros.h"
#include "framework/GridHelpers.h"
#include "framework/clsCajaHelpers.h"
#include "framework/clsDataBase.h"
#include "reports/SectionLayout.h"
#include "runtime/DateSerial.h"
#include "runtime/Format.h"
#include "runtime/Regional.h"

#include <QCoreApplication>
#include <QScopeGuard>

#include <sqlite3.h>

#include <charconv>
#include <cstdio>
#include <vector>

using namespace bench;
using namespace reports;
using runtime::Variant;

namespace {

// ---- The cash-date pass by hand --------------------------------------------------------------

// Each sale without cash date given its shift's opening date as stored, the statements prepared
// once, all of it in one transaction.
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

    qsizetype undated() const { return qsizetype(m_sales.size()); }

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

// ---- The report laid out by hand ----------------------------------------------------------------

// "d", "h", "nn": digits of a small number.
void appendNumber(QString& out, int value, int width) {
    char buffer[12];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    for (qsizetype n = end - buffer; n < width; ++n)
        out += u'0';
    out += QLatin1StringView(buffer, end - buffer);
}

// "h:mm" of a serial.
QString hourMinute(double serial) {
    const QTime t = runtime::toTime(serial);
    QString out;
    appendNumber(out, t.hour(), 1);
    out += runtime::Regional::current().timeSeparator;
    appendNumber(out, t.minute(), 2);
    return out;
}

// "d-mmm-yy" of a serial.
QString dayMonthYear(double serial) {
    const QDate d = runtime::toDate(serial);
    QString out;
    appendNumber(out, d.day(), 1);
    out += u'-';
    out += runtime::Regional::current().monthNamesShort[d.month() - 1];
    out += u'-';
    appendNumber(out, d.year() % 100, 2);
    return out;
}

// A grouped amount with a number of decimals, rounded as the runtime rounds: "$#,##0" and
// "#,##0.00".
QString amount(double value, int decimals, const char* prefix) {
    std::string integer, fraction;
    runtime::roundDecimal(value, decimals, integer, fraction);
    const runtime::Regional& r = runtime::Regional::current();
    QString out;
    const bool zero = integer == "0" && fraction.find_first_not_of('0') == std::string::npos;
    if (value < 0 && !zero) out += u'-';
    out += QLatin1StringView(prefix);
    for (size_t i = 0; i < integer.size(); ++i) {
        out += QLatin1Char(integer[i]);
        const size_t left = integer.size() - 1 - i;
        if (left > 0 && left % 3 == 0) out += r.thousandsSeparator;
    }
    if (decimals > 0) {
        out += r.decimalSeparator;
        out += QLatin1StringView(fraction.data(), qsizetype(fraction.size()));
    }
    return out;
}

QString formatted(const Variant& value, QString (*fast)(double), const QString& picture) {
    if (value.isNull() || value.isEmpty()) return {};
    if (value.isNumber() && !value.isString()) return fast(value.rawNumber());
    return runtime::Format(value, picture);
}
QString money(double value) {
    return amount(value, 0, "$");
}
QString total(double value) {
    return amount(value, 2, "");
}
double number(const Variant& value) {
    if (value.isNumber()) return value.rawNumber();
    if (value.isNull() || value.isEmpty()) return 0;
    QString text = value.toString();
    text.replace(u'.', runtime::Regional::current().decimalSeparator);
    return runtime::parseNumber(text).value_or(0.0);
}
// A value shown under a date picture keeps a number as a date.
Variant dated(const Variant& value) {
    return value.isNumber() ? Variant::date(value.rawNumber()) : value;
}

const QColor Green(0, 128, 0);
const QColor Red(255, 0, 0);
const QColor SaleCaptionText(Qt::white);
const QColor SaleCaptionBack(128, 128, 128);
const QColor ItemCaptionText(64, 64, 64);
const QColor ItemCaptionBack(224, 224, 224);

struct Box {
    const char* text;
    QRect rect;
};
const Box SaleCaptions[] = {
    {"Fecha T.", {15, 45, 1134, 283}},    {"Hora T.", {1149, 45, 992, 283}},
    {"Mesa", {2141, 45, 709, 283}},       {"H.Apertura", {2850, 45, 1134, 283}},
    {"H.Cierre", {3984, 45, 1133, 283}},  {"Estado", {5117, 45, 851, 283}},
    {"Nro. Fact", {5968, 45, 1842, 283}}, {"Total", {7810, 45, 851, 283}},
    {"Imp", {8655, 45, 480, 285}},        {"Usuario", {9090, 45, 1275, 285}},
};
const Box ItemCaptions[] = {
    {"Hora", {15, 970, 1134, 284}},          {"Cant.", {1149, 970, 567, 284}},
    {"Descripción", {1710, 975, 2310, 285}}, {"PV", {3984, 970, 708, 284}},
    {"$", {4692, 970, 1134, 284}},           {"T.Prep", {5401, 970, 1134, 284}},
    {"T.Adic", {6165, 975, 990, 285}},       {"Tipo / Motivo", {7125, 975, 1260, 285}},
    {"Estado", {8235, 970, 900, 285}},       {"Usuario", {9135, 970, 1245, 285}},
};

// The deleted-items report laid out by hand onto pages: tmpreport stepped once, each column made
// into a value only where the layout prints or tests it.
class HandLayout {
public:
    Pages run(sqlite3* db) {
        m_large.size = 11.5;
        for (const Box& box : SaleCaptions)
            m_saleCaptions.append(QString::fromUtf8(box.text));
        for (const Box& box : ItemCaptions)
            m_itemCaptions.append(QString::fromUtf8(box.text));
        sqlite3_stmt* stmt = prepare(db, "SELECT * FROM tmpreport");
        m_stmt = stmt;

        newPage();
        QString key;
        QString totalText;
        bool started = false;
        double ventas = 0, anulaciones = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            const QString rowKey = campo(1).toText();
            if (!started || rowKey != key) {
                if (started) groupFooter(totalText);
                key = rowKey;
                const Variant saleTotal = campo(9);
                totalText = formatted(saleTotal, total, QStringLiteral("#,##0.00"));
                const Variant state = campo(6);
                QString estado = state.toText();
                if (estado == u"3") estado = QStringLiteral("Anulado");
                if (estado == u"2") estado = QStringLiteral("Cerrado");
                if (estado == u"1") estado = QStringLiteral("Abierto");
                if (estado != u"Anulado" && !saleTotal.isNull()) ventas += number(saleTotal);
                groupHeader(state, estado, saleTotal);
            }
            started = true;
            const Variant tipo = campo(24);
            if (tipo.toText().isEmpty()) continue;
            const Variant quantity = campo(19), price = campo(21);
            const double importe = number(quantity) * number(price);
            const QColor& color = tipo.toText() == u"ADIC" ? Green : Red;
            if (color == Red && campo(28).toText() != u"-8") anulaciones += importe;
            detail(tipo, quantity, price, color, Variant(importe).toString());
        }
        sqlite3_finalize(stmt);
        if (started) groupFooter(totalText);
        reportFooter(ventas, anulaciones);
        return std::move(m_pages);
    }

private:
    // A column of the row in hand.
    Variant campo(int n) const { return cell(m_stmt, n - 1); }

    void text(const QRect& rect, const QString& text, const Font& font, const QColor& color,
              bool wrap = false, const Variant& shown = {}) {
        if (text.isEmpty()) return;
        m_band.push_back(PageItem::textBox(rect, text, font, color, Alignment::Left, wrap));
        m_band.back().value = shown;
    }
    void field(const QRect& rect, const Variant& value, const QString& shown, const Font& font = {}) {
        text(rect, shown, font, Qt::black, false, value);
    }
    void plain(const QRect& rect, const Variant& value) { field(rect, value, value.toText()); }

    void place(int height) {
        giveRoom(m_band, Width);
        if (m_y + height > Limit && m_y > Top) newPage();
        for (const PageItem& item : m_band)
            m_pages.addItem(item, Left, m_y);
        m_y += height;
        m_band.clear();
    }

    void newPage() {
        m_pages.addPage(QSize(12240, 15840));
        m_y = Top;
        PageItem header = PageItem::textBox({142, 0, 2976, 283}, QStringLiteral("Items Eliminados"), m_large,
                                            Qt::black, Alignment::Left, false);
        header.room = Width - 142;
        m_pages.addItem(header, Left, m_y);
        m_y += 315;
    }

    void caption(const QRect& rect, const QString& caption, const QColor& fore, const QColor& back) {
        m_band.push_back(PageItem::filledRect(rect, back));
        text(rect, caption, Font(), fore);
    }

    void groupHeader(const Variant& state, const QString& estado, const Variant& saleTotal) {
        for (int i = 0; i < 10; ++i)
            caption(SaleCaptions[i].rect, m_saleCaptions[i], SaleCaptionText, SaleCaptionBack);
        const Variant fecha = campo(13);
        field({15, 395, 1134, 284}, dated(fecha), formatted(fecha, dayMonthYear, QStringLiteral("d-mmm-yy")));
        const Variant hora = campo(2);
        field({1149, 395, 992, 284}, dated(hora), formatted(hora, hourMinute, QStringLiteral("h:mm")));
        plain({2130, 390, 2835, 285}, campo(3));
        const Variant apertura = campo(4);
        field({2991, 680, 1134, 284}, dated(apertura),
              formatted(apertura, hourMinute, QStringLiteral("h:mm")));
        const Variant cierre = campo(5);
        field({3984, 665, 1133, 284}, dated(cierre), formatted(cierre, hourMinute, QStringLiteral("h:mm")));
        field({5117, 395, 851, 284}, estado != state.toText() ? Variant() : state, estado);
        plain({6109, 395, 426, 284}, campo(7));
        plain({6535, 395, 1134, 284}, campo(8));
        field({7669, 395, 992, 284}, saleTotal, formatted(saleTotal, money, QStringLiteral("$#,##0")),
              m_large);
        field({8646, 680, 425, 284}, {},
              campo(10).toText() == u"1" ? QStringLiteral("Si") : QStringLiteral("No"));
        plain({9101, 680, 1275, 284}, campo(15));
        for (int i = 0; i < 10; ++i)
            caption(ItemCaptions[i].rect, m_itemCaptions[i], ItemCaptionText, ItemCaptionBack);
        m_band.push_back(PageItem::lineFrom({15, 328, 10361, 328}, Qt::black, 15));
        m_band.push_back(PageItem::lineFrom({19, 30, 10365, 30}, Qt::black, 15));
        place(1260);
    }

    void detail(const Variant& tipo, const Variant& quantity, const Variant& price, const QColor& color,
                const QString& importe) {
        auto coloured = [&](const QRect& rect, const Variant& value, const QString& shown) {
            text(rect, shown, Font(), color, false, value);
        };
        auto time = [&](const QRect& rect, const Variant& value) {
            coloured(rect, dated(value), formatted(value, hourMinute, QStringLiteral("h:mm")));
        };
        time({0, 0, 1080, 270}, campo(18));
        coloured({1080, 0, 540, 270}, quantity, quantity.toText());
        const Variant product = campo(20);
        coloured({1620, 0, 2340, 270}, product, product.toText());
        coloured({3960, 0, 720, 270}, price, price.toText());
        coloured({4680, 0, 720, 270}, {}, importe);
        time({5400, 0, 720, 270}, campo(22));
        time({6120, 0, 990, 270}, campo(23));
        coloured({7110, 0, 1980, 270}, tipo, tipo.toText());
        plain({9090, 0, 1260, 270}, campo(27));
        const Variant motive = campo(25);
        const QString motiveText = motive.toText();
        int height = 315;
        if (!motiveText.isEmpty()) {
            const int needed = std::max(270, wrappedTextHeight(motiveText, Font(), 7860));
            text({2490, 285, 7860, needed}, motiveText, Font(), Qt::black, true, motive);
            height = std::max(315 + needed - 270, 285 + needed);
        }
        place(height);
    }

    void groupFooter(const QString& totalText) {
        text({7650, 60, 992, 284}, totalText, m_large, Qt::black);
        m_band.push_back(PageItem::lineFrom({45, 15, 10290, 15}, Qt::black, 15));
        place(465);
    }

    void reportFooter(double ventas, double anulaciones) {
        m_band.push_back(PageItem::lineFrom({45, 45, 10140, 45}, Qt::black, 15));
        text({4305, 300, 2385, 285}, QStringLiteral("Total Vtas en el informe."), Font(), Qt::black);
        text({6750, 315, 1890, 285}, total(anulaciones + ventas), m_large, Qt::black);
        text({4320, 660, 2370, 285}, QStringLiteral("Total Anulaciones"), Font(), Qt::black);
        text({6750, 675, 1890, 285}, total(anulaciones), m_large, Qt::black);
        m_band.push_back(PageItem::lineFrom({4050, 930, 8835, 930}, Qt::black, 15));
        text({4305, 990, 2370, 285}, QStringLiteral("Ventas - Anulaciones"), Font(), Qt::black);
        text({6735, 1005, 1890, 285}, total(ventas), m_large, Qt::black);
        place(1470);
    }

    static constexpr int Left = 770;
    static constexpr int Top = 770;
    static constexpr int Width = 12240 - 2 * 770;
    static constexpr int Limit = 15840 - 770 - 360;

    sqlite3_stmt* m_stmt = nullptr;
    Font m_large;
    QStringList m_saleCaptions;
    QStringList m_itemCaptions;
    std::vector<PageItem> m_band;
    Pages m_pages;
    int m_y = 0;
};

// ---- The program --------------------------------------------------------------------------------

quenbrook::frmParametros& parametersWindow(const Installation& at, bool everySale) {
    auto& window = forms::instance<quenbrook::frmParametros>();
    window.dtdesde.setValue(at.desde);
    window.dthasta.setValue(at.hasta);
    window.chkTodos.setValue(everySale ? 1 : 0);
    return window;
}

// The listing window over the period: its deleted-products listing with a sort on a text column,
// and its sales with deletions.
void listings(const Installation& at) {
    QString modo = QStringLiteral("Quenbrook");
    auto& listado = forms::instance<quenbrook::frmPListado>();
    listado.Listado(modo);
    listado.dtdesde.setValue(at.desde);
    listado.dthasta.setValue(at.hasta);
    const double listing = timed([&] {
        listado.MuestraDatos();
        QCoreApplication::processEvents();
    });
    const double sorted = timed([&] {
        framework::OrdenaGrilla(listado.g, 8);
        QCoreApplication::processEvents();
    });
    std::printf("listing window, deleted products (%.0f rows): %.2f s, sorted by product %.2f s\n",
                listado.mFilasEncontradas, listing, sorted);
    modo = QStringLiteral("InfVentas");
    listado.Listado(modo);
    listado.optF0.setValue(true);
    listado.dtdesde.setValue(at.desde);
    listado.dthasta.setValue(at.hasta);
    const double sales = timed([&] {
        listado.MuestraDatos();
        QCoreApplication::processEvents();
    });
    std::printf("listing window, sales with deletions (%.0f rows): %.2f s\n", listado.mFilasEncontradas,
                sales);
}

void month(Bench& bench) {
    const bool everySale = bench.options().given("--all");
    const Installation at(bench.options().trade);
    std::printf(
        "Quenbrook over %d days: %d sales (%d without cash date), %d lines, %d deleted items%s, made in "
        "%.1f s\n",
        bench.options().trade.days, at.made.sales, at.made.withoutCashDate, at.made.lines, at.made.deletions,
        everySale ? ", every sale listed" : "", at.seconds);

    QElapsedTimer clock;
    TimingHost host(clock);
    const auto database = startProgram(host, at.folder.path(), quenbrook::program());
    const QString mainFile = at.file("db/db.mdb");
    const QString spoolerFile = at.file("spooler.mdb");
    sqlite3* const spooler = openFile(spoolerFile);
    const auto closeSpooler = qScopeGuard([spooler] { sqlite3_close(spooler); });

    {
        CashDatesBaseline baseline(mainFile);
        QByteArray programDates, baselineDates;
        bench.measure(
            {"Quenbrook", "cash-dates", 2},
            [&] {
                baseline.clear();
                const double time = timed([] { framework::clsCajaHelpers().generaFechaCaja(); });
                programDates = baseline.dates();
                return time;
            },
            [&] {
                baseline.clear();
                const double time = timed([&] { baseline.run(); });
                baselineDates = baseline.dates();
                return time;
            },
            [&]() -> QString {
                return programDates == baselineDates ? QString() : QStringLiteral("different cash dates");
            });
    }
    // The dates the first build would fill are filled.
    framework::clsCajaHelpers().generaFechaCaja();

    quenbrook::frmParametros& window = parametersWindow(at, everySale);
    BuildBaseline baseline(BuildBaseline::Program::Quenbrook, mainFile, spoolerFile, everySale);
    measureBuild(bench, {"Quenbrook", "build", 1.5}, window, clock, host, baseline, spooler, at.desde,
                 at.hasta);
    if (!bench.options().wants("build")) window.LlenaInforme();
    std::printf("Quenbrook: %lld tmpreport rows\n", scalar(spooler, "SELECT count(*) FROM tmpreport"));

    auto& report = framework::report<quenbrook::ActiveReport1>();
    measureRun(bench, {"Quenbrook", "run", 1.2}, report, [spooler] { return HandLayout().run(spooler); });

    measurePdf(bench, "Quenbrook", report.pages(), at.file("report.pdf"), at.file("bare.pdf"));

    if (bench.options().steps.isEmpty()) listings(at);
}

// The peak memory of a build and its report shown, over a year of trade.
void year(Bench& bench) {
    if (!bench.options().wants("memory")) return;
    demo::Options trade;
    trade.sales = 240000;
    trade.days = 365;
    trade.seed = bench.options().trade.seed;
    const Installation at(trade);
    QElapsedTimer clock;
    TimingHost host(clock);
    auto session = startProgram(host, at.folder.path(), quenbrook::program());
    framework::clsCajaHelpers().generaFechaCaja();
    const QString mainFile = at.file("db/db.mdb"), spoolerFile = at.file("spooler.mdb");
    sqlite3* const spooler = openFile(spoolerFile);
    const auto closeSpooler = qScopeGuard([spooler] { sqlite3_close(spooler); });

    BuildBaseline baseline(BuildBaseline::Program::Quenbrook, mainFile, spoolerFile);
    TableRows programRows, baselineRows;
    std::vector<size_t> programPages, baselinePages;
    bench.measure(
        {"Quenbrook", "memory", 1.1, Unit::MiB},
        [&] {
            quenbrook::frmParametros& window = parametersWindow(at, false);
            const double peak = peakDuring([&] { window.LlenaInforme(); });
            programRows = tableRows(spooler, "tmpreport");
            programPages = pageHashes(framework::report().pages());
            // The report, its preview and the windows go with the session; a new one starts.
            session.reset();
            session = startProgram(host, at.folder.path(), quenbrook::program());
            return peak;
        },
        [&] {
            Pages pages;
            const double peak = peakDuring([&] {
                baseline.run(at.desde, at.hasta);
                baseline.commit();
                pages = HandLayout().run(spooler);
            });
            baselineRows = baseline.rows();
            baselinePages = pageHashes(pages);
            return peak;
        },
        [&] {
            const QString rows = rowsDiffer(programRows, baselineRows);
            return rows.isEmpty() ? pagesDiffer(programPages, baselinePages) : rows;
        },
        std::min(bench.options().rounds, 2));
    std::printf("Quenbrook over a year: %d sales, %zu tmpreport rows, %zu pages, made in %.1f s\n",
                at.made.sales, programRows.hashes.size(), programPages.size(), at.seconds);
}

} // namespace

int main(int argc, char** argv) {
    return bench::run(argc, argv, "quenbrook_bench", Options::over(20000, 30), {QStringLiteral("--all")},
                      [](Bench& bench) {
                          if (bench.options().wants("cash-dates") || bench.options().wants("build") ||
                              bench.options().wants("run") || bench.options().wants("pdf"))
                              month(bench);
                          year(bench);
                      });
}

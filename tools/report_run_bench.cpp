// Times the deleted-items report over a busy month of a demo installation, offscreen, against
// fair hand-written baselines in the same process and the same rounds:
//   the report run (read tmpreport, format, lay out, page) against the same boxes laid out by
//   hand: rows stepped straight from SQLite, the layout's pictures formatted by small routines,
//   the boxes placed on the same pages (checked: the same pages, boxes and texts);
//   the PDF export against a bare QPdfWriter loop drawing the same boxes.
// With --scale, "Ver todas las ventas" over 122,000 sales in 28 days: the build, the report
// run, the preview and the user's PDF export, with the process's memory after each step and its
// peak so far; then one round of the comparisons.
//   report_run_bench [--sales N] [--days D] [--seed S] [--rounds R] [--all] [--scale] [--run-only]

#include "tools/BenchSupport.h"
#include "tools/pos/DemoInstallation.h"

#include "deleted_items/ActiveReport1.h"
#include "deleted_items/Quenbrook.h"
#include "deleted_items/frmParametros.h"
#include "forms/DesktopLook.h"
#include "framework/ProgramSession.h"
#include "framework/ReportExport.h"
#include "framework/clsDataBase.h"
#include "reports/PagePainter.h"
#include "reports/PdfExport.h"
#include "reports/PreviewWindow.h"
#include "reports/SectionLayout.h"
#include "runtime/DateSerial.h"
#include "runtime/Format.h"
#include "runtime/Program.h"
#include "runtime/Regional.h"
#include "runtime/RuntimeError.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using namespace reports;
using runtime::Variant;

namespace {

// Resident and peak resident memory of the process, in MiB.
double statusMiB(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ').first().toDouble() / 1024;
    return 0;
}
double rssMiB() {
    return statusMiB("VmRSS:");
}
double peakMiB() {
    return statusMiB("VmHWM:");
}

struct Times {
    std::vector<double> values;
    double min() const { return bench::minimum(values); }
    double median() const { return bench::median(values); }
};

double timed(const std::function<void()>& work) {
    QElapsedTimer clock;
    clock.start();
    work();
    return clock.nsecsElapsed() / 1e9;
}

// ---- The hand-written layout -------------------------------------------------------------

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

// The deleted-items report laid out by hand onto pages.
class HandLayout {
public:
    Pages run(const QString& spoolerFile) {
        m_large.size = 11.5;
        for (const Box& box : SaleCaptions)
            m_saleCaptions.append(QString::fromUtf8(box.text));
        for (const Box& box : ItemCaptions)
            m_itemCaptions.append(QString::fromUtf8(box.text));
        sqlite3* db = nullptr;
        sqlite3_open_v2(spoolerFile.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, "SELECT * FROM tmpreport", -1, &stmt, nullptr);
        const int columns = sqlite3_column_count(stmt);
        std::vector<Variant> row;
        row.resize(size_t(columns));

        newPage();
        QString key;
        QString totalText;
        bool started = false;
        double ventas = 0, anulaciones = 0;
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int c = 0; c < columns; ++c)
                row[size_t(c)] = value(stmt, c);
            auto campo = [&row](int n) -> const Variant& { return row[size_t(n - 1)]; };
            const QString rowKey = campo(1).toText();
            if (!started || rowKey != key) {
                if (started) groupFooter(totalText);
                key = rowKey;
                totalText = formatted(campo(9), total, QStringLiteral("#,##0.00"));
                QString estado = campo(6).toText();
                if (estado == u"3") estado = QStringLiteral("Anulado");
                if (estado == u"2") estado = QStringLiteral("Cerrado");
                if (estado == u"1") estado = QStringLiteral("Abierto");
                if (estado != u"Anulado" && !campo(9).isNull()) ventas += number(campo(9));
                groupHeader(row, estado);
            }
            started = true;
            const QString tipo = campo(24).toText();
            if (tipo.isEmpty()) continue;
            const double importe = number(campo(19)) * number(campo(21));
            const QColor& color = tipo == u"ADIC" ? Green : Red;
            if (color == Red && campo(28).toText() != u"-8") anulaciones += importe;
            detail(row, color, Variant(importe).toString());
        }
        sqlite3_finalize(stmt);
        sqlite3_close(db);
        if (started) groupFooter(totalText);
        reportFooter(ventas, anulaciones);
        return std::move(m_pages);
    }

private:
    static Variant value(sqlite3_stmt* stmt, int c) {
        switch (sqlite3_column_type(stmt, c)) {
        case SQLITE_NULL:
            return Variant::null();
        case SQLITE_INTEGER: {
            const qint64 v = sqlite3_column_int64(stmt, c);
            return v >= INT32_MIN && v <= INT32_MAX ? Variant(int(v)) : Variant(std::int64_t(v));
        }
        case SQLITE_FLOAT:
            return Variant(sqlite3_column_double(stmt, c));
        default:
            return Variant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, c)),
                                             sqlite3_column_bytes(stmt, c)));
        }
    }

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

    // Each single line of text runs on to the right up to the next box beside it.
    void place(int height) {
        for (PageItem& item : m_band) {
            if (item.kind != PageItem::Kind::Text || item.wrap) continue;
            int right = Width;
            for (const PageItem& other : m_band)
                if (&other != &item && other.kind != PageItem::Kind::Line &&
                    other.rect.left() > item.rect.left() && other.rect.top() <= item.rect.bottom() &&
                    other.rect.bottom() >= item.rect.top())
                    right = std::min(right, other.rect.left());
            item.room = std::max(item.rect.width(), right - item.rect.left());
        }
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

    void groupHeader(const std::vector<Variant>& row, const QString& estado) {
        auto campo = [&row](int n) -> const Variant& { return row[size_t(n - 1)]; };
        for (int i = 0; i < 10; ++i)
            caption(SaleCaptions[i].rect, m_saleCaptions[i], SaleCaptionText, SaleCaptionBack);
        const Variant fecha = campo(13).isNumber() ? Variant::date(campo(13).rawNumber()) : campo(13);
        field({15, 395, 1134, 284}, fecha, formatted(campo(13), dayMonthYear, QStringLiteral("d-mmm-yy")));
        const Variant hora = campo(2).isNumber() ? Variant::date(campo(2).rawNumber()) : campo(2);
        field({1149, 395, 992, 284}, hora, formatted(campo(2), hourMinute, QStringLiteral("h:mm")));
        plain({2130, 390, 2835, 285}, campo(3));
        const Variant apertura = campo(4).isNumber() ? Variant::date(campo(4).rawNumber()) : campo(4);
        field({2991, 680, 1134, 284}, apertura, formatted(campo(4), hourMinute, QStringLiteral("h:mm")));
        const Variant cierre = campo(5).isNumber() ? Variant::date(campo(5).rawNumber()) : campo(5);
        field({3984, 665, 1133, 284}, cierre, formatted(campo(5), hourMinute, QStringLiteral("h:mm")));
        const bool named = estado != campo(6).toText();
        field({5117, 395, 851, 284}, named ? Variant() : campo(6), estado);
        plain({6109, 395, 426, 284}, campo(7));
        plain({6535, 395, 1134, 284}, campo(8));
        field({7669, 395, 992, 284}, campo(9), formatted(campo(9), money, QStringLiteral("$#,##0")), m_large);
        field({8646, 680, 425, 284}, {},
              campo(10).toText() == u"1" ? QStringLiteral("Si") : QStringLiteral("No"));
        plain({9101, 680, 1275, 284}, campo(15));
        for (int i = 0; i < 10; ++i)
            caption(ItemCaptions[i].rect, m_itemCaptions[i], ItemCaptionText, ItemCaptionBack);
        m_band.push_back(PageItem::lineFrom({15, 328, 10361, 328}, Qt::black, 15));
        m_band.push_back(PageItem::lineFrom({19, 30, 10365, 30}, Qt::black, 15));
        place(1260);
    }

    void detail(const std::vector<Variant>& row, const QColor& color, const QString& importe) {
        auto campo = [&row](int n) -> const Variant& { return row[size_t(n - 1)]; };
        auto coloured = [&](const QRect& rect, const Variant& value, const QString& shown) {
            text(rect, shown, Font(), color, false, value);
        };
        auto time = [&](const QRect& rect, const Variant& value) {
            coloured(rect, value.isNumber() ? Variant::date(value.rawNumber()) : value,
                     formatted(value, hourMinute, QStringLiteral("h:mm")));
        };
        time({0, 0, 1080, 270}, campo(18));
        coloured({1080, 0, 540, 270}, campo(19), campo(19).toText());
        coloured({1620, 0, 2340, 270}, campo(20), campo(20).toText());
        coloured({3960, 0, 720, 270}, campo(21), campo(21).toText());
        coloured({4680, 0, 720, 270}, {}, importe);
        time({5400, 0, 720, 270}, campo(22));
        time({6120, 0, 990, 270}, campo(23));
        coloured({7110, 0, 1980, 270}, campo(24), campo(24).toText());
        plain({9090, 0, 1260, 270}, campo(27));
        const QString motive = campo(25).toText();
        int height = 315;
        if (!motive.isEmpty()) {
            const int needed = std::max(270, wrappedTextHeight(motive, Font(), 7860));
            text({2490, 285, 7860, needed}, motive, Font(), Qt::black, true, campo(25));
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

    Font m_large;
    QStringList m_saleCaptions;
    QStringList m_itemCaptions;
    std::vector<PageItem> m_band;
    Pages m_pages;
    int m_y = 0;
};

// The pages' boxes as text, one line each, to compare two layouts.
QString describe(const Pages& pages) {
    QString out;
    pages.forEachPage([&out](const Page& page) {
        out += u'\f';
        for (const PageItem& item : page.items)
            out += QStringLiteral("%1 %2,%3,%4,%5 %6 %7 %8\n")
                       .arg(int(item.kind))
                       .arg(item.rect.left())
                       .arg(item.rect.top())
                       .arg(item.rect.width())
                       .arg(item.rect.height())
                       .arg(item.room)
                       .arg(item.color.name(), item.text);
    });
    return out;
}

// The same boxes drawn straight on a QPdfWriter.
void barePdf(const Pages& pages, const QString& file) {
    QPdfWriter writer(file);
    writer.setResolution(1440);
    writer.setPageSize(QPageSize(QSizeF(612, 792), QPageSize::Point));
    writer.setPageMargins({});
    QPainter painter(&writer);
    painter.setRenderHint(QPainter::Antialiasing, true);
    Font current;
    painter.setFont(qtFont(current));
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0) writer.newPage();
        const Page page = pages.unpack(i);
        for (const PageItem& item : page.items) {
            switch (item.kind) {
            case PageItem::Kind::Rect:
                painter.fillRect(item.rect, item.color);
                break;
            case PageItem::Kind::Line:
                painter.setPen(QPen(item.color, item.lineWidth));
                painter.drawLine(item.line);
                break;
            case PageItem::Kind::Text:
                if (!(item.font == current)) {
                    current = item.font;
                    painter.setFont(qtFont(current));
                }
                painter.setPen(item.color);
                painter.drawText(QRect(item.rect.topLeft(),
                                       QSize(item.wrap ? item.rect.width() : item.room, item.rect.height())),
                                 int(Qt::AlignLeft | Qt::AlignTop) |
                                     (item.wrap ? Qt::TextWordWrap : Qt::TextSingleLine),
                                 item.text);
                break;
            }
        }
    }
}

int usage() {
    std::fprintf(stderr, "usage: report_run_bench [--sales N] [--days D] [--seed S] [--rounds R] [--all] "
                         "[--scale] [--run-only]\n");
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
    QStringList args = QCoreApplication::arguments().mid(1);
    const bool all = args.removeAll(QStringLiteral("--all")) > 0 || args.contains(QStringLiteral("--scale"));
    const bool scale = args.removeAll(QStringLiteral("--scale")) > 0;
    const bool runOnly =
        args.removeAll(QStringLiteral("--run-only")) > 0; // for a profiler: report runs alone
    if (scale) {
        options.sales = 122000;
        options.days = 28;
        rounds = 1;
    }
    if (!bench::readOptions(args, options, &rounds)) return usage();

    QTemporaryDir folder;
    const demo::Counts made = demo::makeInstallation(folder.path(), options);
    const QString spoolerFile = folder.path() + QStringLiteral("/spooler.mdb");
    std::printf("%d sales over %d days%s\n", made.sales, options.days, all ? ", every sale" : "");

    QElapsedTimer clock;
    bench::TimingHost host(clock);
    const auto database = bench::startProgram(host, folder.path(), quenbrook::program());

    try {
        quenbrook::frmParametros& window = forms::instance<quenbrook::frmParametros>();
        window.dtdesde.setValue(runtime::today() - (options.days - 1));
        window.dthasta.setValue(runtime::today());
        window.chkTodos.setValue(all ? 1 : 0);
        const double idle = rssMiB();
        const double build = timed([&] { window.LlenaInforme(); });
        quenbrook::ActiveReport1& report = framework::report<quenbrook::ActiveReport1>();
        sqlite3* db = nullptr;
        sqlite3_open_v2(spoolerFile.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* count = nullptr;
        sqlite3_prepare_v2(db, "SELECT count(*) FROM tmpreport", -1, &count, nullptr);
        sqlite3_step(count);
        const long long rows = sqlite3_column_int64(count, 0);
        sqlite3_finalize(count);
        sqlite3_close(db);
        std::printf("build, run and preview (%lld tmpreport rows, %lld pages): %.2f s, %.0f MiB resident "
                    "(%.0f above idle, %.2f KB a row)\n",
                    rows, qint64(report.pages().size()), build, rssMiB(), rssMiB() - idle,
                    (rssMiB() - idle) * 1024 / std::max<long long>(1, rows));
        if (framework::preview()) framework::preview()->setCurrentPage(int(report.pages().size()) - 1);
        if (scale) {
            // The user's PDF export: the pages shown, written.
            const QString file = folder.filePath(QStringLiteral("export.pdf"));
            const double exported = timed([&] { framework::exPDFReport(report, file); });
            std::printf(
                "PDF export of the pages shown (%lld KB): %.2f s; resident %.0f MiB, peak %.0f MiB so far\n",
                QFileInfo(file).size() / 1024, exported, rssMiB(), peakMiB());
            QFile::remove(file);
        }

        Times run, hand, pdf, bare;
        Pages handPages;
        const QString pdfFile = folder.filePath(QStringLiteral("report.pdf"));
        const QString bareFile = folder.filePath(QStringLiteral("bare.pdf"));
        for (int round = 0; round < rounds; ++round) {
            run.values.push_back(timed([&] { report.run(); }));
            if (runOnly) continue;
            hand.values.push_back(timed([&] { handPages = HandLayout().run(spoolerFile); }));
            PdfExport filter;
            filter.setFileName(pdfFile);
            pdf.values.push_back(timed([&] { filter.exportPages(report.pages()); }));
            bare.values.push_back(timed([&] { barePdf(report.pages(), bareFile); }));
        }
        if (runOnly) {
            std::printf("report run: min %.3f s, median %.3f s\n", run.min(), run.median());
            return 0;
        }
        if (!scale) {
            const QStringList expected = describe(report.pages()).split(u'\n');
            const QStringList actual = describe(handPages).split(u'\n');
            for (qsizetype i = 0; i < std::max(expected.size(), actual.size()); ++i)
                if (expected.value(i) != actual.value(i)) {
                    std::printf(
                        "warning: the hand-written layout's boxes differ from the report's at box %lld:\n"
                        "  report: %s\n  by hand: %s\n",
                        qint64(i), qPrintable(expected.value(i)), qPrintable(actual.value(i)));
                    break;
                }
        }
        auto line = [&](const char* what, const Times& program, const Times& baseline) {
            std::printf(
                "%-34s min %6.3f s  median %6.3f s | baseline min %6.3f s  median %6.3f s | ratio %.2f "
                "(median %.2f)\n",
                what, program.min(), program.median(), baseline.min(), baseline.median(),
                program.min() / baseline.min(), program.median() / baseline.median());
        };
        std::printf("%d rounds, %lld pages, %lld KB of PDF\n", rounds, qint64(report.pages().size()),
                    QFileInfo(pdfFile).size() / 1024);
        line("report run vs hand-written layout", run, hand);
        line("PDF export vs bare QPdfWriter", pdf, bare);
        std::printf("resident %.0f MiB, peak %.0f MiB; pages' boxes %.1f MiB\n", rssMiB(), peakMiB(),
                    report.pages().itemBytes() / 1048576.0);
    } catch (const runtime::RuntimeError& e) {
        std::fprintf(stderr, "report_run_bench: error %ld: %s\n", e.number(), qPrintable(e.description()));
        return 1;
    }
    return 0;
}

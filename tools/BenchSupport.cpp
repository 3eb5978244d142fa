#include "BenchSupport.h"

#include "forms/DesktopLook.h"
#include "framework/clsDataBase.h"
#include "reports/PageModel.h"
#include "reports/PagePainter.h"
#include "reports/PdfExport.h"
#include "reports/Report.h"
#include "runtime/DateSerial.h"
#include "runtime/Program.h"
#include "runtime/RuntimeError.h"

#include <QApplication>
#include <QFile>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextStream>

#include <malloc.h>
#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cstdio>

namespace bench {

bool Options::wants(const char* step) const {
    return steps.isEmpty() || steps.contains(QLatin1String(step));
}

bool Options::given(const char* name) const {
    return switches.contains(QLatin1String(name));
}

namespace {

// The engine's PDF export draws what a bare loop draws, through the same painter calls, and adds a
// title, a creator and a progress callback per page.
constexpr double PdfAim = 1.15;

bool readOptions(const QStringList& args, Options& options, const QStringList& switches) {
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--check")) {
            options.check = true;
            continue;
        }
        if (switches.contains(arg)) {
            options.switches << arg;
            continue;
        }
        if (i + 1 >= args.size()) return false;
        const QString& value = args[++i];
        if (arg == QLatin1String("--steps")) {
            options.steps = value.split(QLatin1Char(','));
            continue;
        }
        bool ok = false;
        const int number = value.toInt(&ok);
        if (!ok || number <= 0) return false;
        if (arg == QLatin1String("--sales"))
            options.trade.sales = number;
        else if (arg == QLatin1String("--days"))
            options.trade.days = number;
        else if (arg == QLatin1String("--seed"))
            options.trade.seed = unsigned(number);
        else if (arg == QLatin1String("--rounds"))
            options.rounds = number;
        else
            return false;
    }
    return true;
}

QString load() {
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly)) return QStringLiteral("unknown");
    const QList<QByteArray> parts = file.readAll().split(' ');
    return parts.size() >= 3 ? QString::fromLatin1(parts[0] + ' ' + parts[1] + ' ' + parts[2])
                             : QStringLiteral("unknown");
}

double statusMiB(const char* key) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ').first().toDouble() / 1024;
    return 0;
}

QString measureText(double value, Unit unit) {
    return unit == Unit::Seconds ? QString::asprintf("%.3f s", value) : QString::asprintf("%.1f MiB", value);
}

} // namespace

void Bench::measure(const Step& step, const std::function<double()>& program,
                    const std::function<double()>& baseline, const std::function<QString()>& differs,
                    int rounds) {
    if (!m_options.wants(step.name)) return;
    std::vector<double> programs, baselines;
    const int count = rounds > 0 ? rounds : m_options.rounds;
    for (int round = 0; round < count; ++round) {
        for (int side = 0; side < 2; ++side) {
            if ((round + side) % 2 == 0)
                programs.push_back(program());
            else
                baselines.push_back(baseline());
        }
        const QString difference = differs();
        if (!difference.isEmpty())
            throw Difference{QStringLiteral("%1 %2: the baseline differs from the program in round %3: %4")
                                 .arg(QLatin1String(step.program), QLatin1String(step.name))
                                 .arg(round + 1)
                                 .arg(difference)};
    }
    const double ratioMin = minimum(programs) / minimum(baselines);
    const double ratioMedian = median(programs) / median(baselines);
    // Numbers with "." whatever the process locale: a script reads the line.
    const QString line =
        QString::asprintf("%s %s: program min %s, median %s | baseline min %s, median %s | ratio min %.2f, "
                          "median %.2f | aim %s\n",
                          step.program, step.name, qPrintable(measureText(minimum(programs), step.unit)),
                          qPrintable(measureText(median(programs), step.unit)),
                          qPrintable(measureText(minimum(baselines), step.unit)),
                          qPrintable(measureText(median(baselines), step.unit)), ratioMin, ratioMedian,
                          qPrintable(QString::number(step.aim)));
    std::fputs(qPrintable(line), stdout);
    std::fflush(stdout);
    if (m_options.check && (ratioMin > step.aim || (step.medianToo && ratioMedian > step.aim)))
        m_overAim = true;
}

int run(int argc, char** argv, const char* usage, Options defaults, const QStringList& switches,
        const std::function<void(Bench&)>& body) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Printed numbers take "." whatever the locale (a script reads the lines); the programs read
    // the regional settings through QLocale, never through the C library's locale.
    std::setlocale(LC_NUMERIC, "C");
    Options options = std::move(defaults);
    if (!readOptions(QCoreApplication::arguments().mid(1), options, switches)) {
        std::fprintf(
            stderr, "usage: %s [--sales N] [--days D] [--seed S] [--rounds R] [--steps a,b] [--check]%s\n",
            usage, qPrintable(switches.isEmpty() ? QString() : QLatin1Char(' ') + switches.join(' ')));
        return 2;
    }
    std::printf("load average at the start: %s\n", qPrintable(load()));
    Bench bench(std::move(options));
    int code = 0;
    try {
        body(bench);
        code = bench.exitCode();
    } catch (const runtime::RuntimeError& e) {
        std::fprintf(stderr, "%s: error %ld: %s\n", usage, e.number(), qPrintable(e.description()));
        code = 1;
    } catch (const Difference& d) {
        std::fprintf(stderr, "%s\n", qPrintable(d.what));
        code = 1;
    }
    std::printf("load average at the end: %s\n", qPrintable(load()));
    return code;
}

double seconds(qint64 nanoseconds) {
    return nanoseconds / 1e9;
}

double timed(const std::function<void()>& work) {
    QElapsedTimer clock;
    clock.start();
    work();
    return seconds(clock.nsecsElapsed());
}

double minimum(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

Installation::Installation(const demo::Options& trade) {
    seconds = timed([&] { made = demo::makeInstallation(folder.path(), trade); });
    desde = runtime::today() - (trade.days - 1);
    hasta = runtime::today();
}

double peakMiB() {
    return statusMiB("VmHWM:");
}

double peakDuring(const std::function<void()>& work) {
    malloc_trim(0);
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (!clear.open(QIODevice::WriteOnly) || clear.write("5") != 1)
        throw runtime::RuntimeError(runtime::err::DatabaseError,
                                    QStringLiteral("cannot reset the peak memory of the process"));
    clear.close();
    work();
    return peakMiB();
}

int TimingHost::messageBox(const QString& text, int buttons, const QString& caption) {
    std::fprintf(stderr, "message box: %s %s\n", qPrintable(caption), qPrintable(text));
    return (buttons & runtime::mb::ButtonsMask) == runtime::mb::YesNo ? runtime::mb::Yes : runtime::mb::OK;
}

void TimingHost::setMousePointer(int pointer) {
    if (pointer != runtime::pointer::Hourglass) defaultAt = m_clock.nsecsElapsed();
    QtHost::setMousePointer(pointer);
}

std::unique_ptr<framework::ProgramSession> startProgram(forms::QtHost& host, const QString& installation,
                                                        framework::ProgramDescription program) {
    runtime::setHost(&host);
    runtime::App::setPath(demo::programFolder(installation));
    forms::applyDesktopLook();
    auto session = std::make_unique<framework::ProgramSession>(std::move(program));
    session->newDatabase().OpenAccess();
    return session;
}

void failOn(sqlite3* db) {
    throw runtime::RuntimeError(runtime::err::DatabaseError, QString::fromUtf8(sqlite3_errmsg(db)));
}

sqlite3* openFile(const QString& file) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        throw runtime::RuntimeError(runtime::err::DatabaseError, message);
    }
    sqlite3_busy_timeout(db, 5000);
    return db;
}

sqlite3_stmt* prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK) failOn(db);
    return stmt;
}

void exec(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) failOn(db);
}

long long scalar(sqlite3* db, const char* sql) {
    sqlite3_stmt* stmt = prepare(db, sql);
    const long long value = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : 0;
    sqlite3_finalize(stmt);
    return value;
}

runtime::Variant cell(sqlite3_stmt* stmt, int column) {
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL:
        return runtime::Variant::null();
    case SQLITE_INTEGER: {
        const qint64 v = sqlite3_column_int64(stmt, column);
        return v >= INT32_MIN && v <= INT32_MAX ? runtime::Variant(int(v))
                                                : runtime::Variant(std::int64_t(v));
    }
    case SQLITE_FLOAT:
        return runtime::Variant(sqlite3_column_double(stmt, column));
    default:
        return runtime::Variant(
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                              sqlite3_column_bytes(stmt, column)));
    }
}

TableRows tableRows(sqlite3* db, const char* table) {
    TableRows result;
    result.hashes.reserve(size_t(scalar(db, (QByteArray("SELECT count(*) FROM ") + table).constData())));
    sqlite3_stmt* rows = prepare(db, (QByteArray("SELECT * FROM ") + table + " ORDER BY rowid").constData());
    const int columns = sqlite3_column_count(rows);
    QByteArray row;
    while (sqlite3_step(rows) == SQLITE_ROW) {
        row.clear();
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(rows, c)) {
            case SQLITE_NULL:
                row += "N|";
                break;
            case SQLITE_INTEGER:
            case SQLITE_FLOAT: {
                char digits[32];
                const auto end =
                    std::to_chars(digits, digits + sizeof digits, sqlite3_column_double(rows, c));
                row.append(digits, end.ptr - digits).append('|');
                break;
            }
            default:
                row.append(reinterpret_cast<const char*>(sqlite3_column_text(rows, c)),
                           sqlite3_column_bytes(rows, c));
                row += "T|";
            }
        }
        result.hashes.push_back(qHash(row));
    }
    sqlite3_finalize(rows);
    return result;
}

QString rowsDiffer(const TableRows& program, const TableRows& baseline) {
    const size_t common = std::min(program.hashes.size(), baseline.hashes.size());
    for (size_t i = 0; i < common; ++i)
        if (program.hashes[i] != baseline.hashes[i])
            return QStringLiteral("row %1 differs (of %2)").arg(i + 1).arg(program.hashes.size());
    if (program.hashes.size() != baseline.hashes.size())
        return QStringLiteral("the program wrote %1 rows, the baseline %2")
            .arg(program.hashes.size())
            .arg(baseline.hashes.size());
    return {};
}

namespace {

// Every property of a box, in one line.
QString describe(const reports::PageItem& item) {
    const runtime::Variant& value = item.value;
    QString line;
    QTextStream out(&line);
    out << int(item.kind) << ' ' << item.rect.left() << ',' << item.rect.top() << ',' << item.rect.width()
        << ',' << item.rect.height() << " line " << item.line.x1() << ',' << item.line.y1() << ','
        << item.line.x2() << ',' << item.line.y2() << " room " << item.room << " width " << item.lineWidth
        << ' ' << item.color.name(QColor::HexArgb) << ' ' << item.font.name << ' ' << item.font.size
        << (item.font.bold ? " bold" : "") << (item.font.italic ? " italic" : "") << " align "
        << int(item.alignment) << (item.wrap ? " wrap" : "") << " value " << int(value.type()) << ':'
        << (value.isString() ? value.rawString() : QString::number(value.rawNumber(), 'g', 17)) << " \""
        << item.text << '"';
    return line;
}

QStringList describe(const reports::Page& page) {
    QStringList lines;
    lines << QStringLiteral("size %1x%2").arg(page.size.width()).arg(page.size.height());
    for (const reports::PageItem& item : page.items)
        lines << describe(item);
    return lines;
}

} // namespace

std::vector<size_t> pageHashes(const reports::Pages& pages) {
    std::vector<size_t> hashes;
    hashes.reserve(size_t(pages.size())); // in one block: no small leftovers hold the heap's pages
    pages.forEachPage([&hashes](const reports::Page& page) { hashes.push_back(qHash(describe(page))); });
    return hashes;
}

QString pagesDiffer(const std::vector<size_t>& program, const std::vector<size_t>& baseline) {
    const size_t common = std::min(program.size(), baseline.size());
    for (size_t i = 0; i < common; ++i)
        if (program[i] != baseline[i])
            return QStringLiteral("page %1 differs (of %2)").arg(i + 1).arg(program.size());
    if (program.size() != baseline.size())
        return QStringLiteral("the program made %1 pages, the baseline %2")
            .arg(program.size())
            .arg(baseline.size());
    return {};
}

QString pagesDiffer(const reports::Pages& program, const reports::Pages& baseline) {
    const qsizetype common = std::min(program.size(), baseline.size());
    for (qsizetype i = 0; i < common; ++i) {
        const QStringList ours = describe(program.unpack(i));
        const QStringList theirs = describe(baseline.unpack(i));
        for (qsizetype b = 0; b < std::max(ours.size(), theirs.size()); ++b)
            if (ours.value(b) != theirs.value(b))
                return QStringLiteral("page %1, line %2:\n  program:  %3\n  baseline: %4")
                    .arg(i + 1)
                    .arg(b)
                    .arg(ours.value(b, QStringLiteral("(none)")), theirs.value(b, QStringLiteral("(none)")));
    }
    if (program.size() != baseline.size())
        return QStringLiteral("the program made %1 pages, the baseline %2")
            .arg(program.size())
            .arg(baseline.size());
    return {};
}

void giveRoom(std::vector<reports::PageItem>& band, int width) {
    for (reports::PageItem& item : band) {
        if (item.kind != reports::PageItem::Kind::Text || item.wrap) continue;
        int right = width;
        for (const reports::PageItem& other : band)
            if (&other != &item && other.kind != reports::PageItem::Kind::Line &&
                other.rect.left() > item.rect.left() && other.rect.top() <= item.rect.bottom() &&
                other.rect.bottom() >= item.rect.top())
                right = std::min(right, other.rect.left());
        item.room = std::max(item.rect.width(), right - item.rect.left());
    }
}

void measureRun(Bench& bench, const Step& step, reports::Report& report,
                const std::function<reports::Pages()>& byHand) {
    reports::Pages handPages;
    bench.measure(
        step, [&] { return timed([&] { report.run(); }); },
        [&] { return timed([&] { handPages = byHand(); }); },
        [&] { return pagesDiffer(report.pages(), handPages); });
    handPages = reports::Pages();
    if (bench.options().wants(step.name))
        std::printf("%s: %lld pages\n", step.program, qint64(report.pages().size()));
}

void barePdf(const reports::Pages& pages, const QString& file) {
    QPdfWriter writer(file);
    writer.setResolution(1440);
    QSize size;
    auto layout = [&writer, &size](const QSize& twips) {
        if (twips == size) return;
        size = twips;
        const bool landscape = twips.width() > twips.height();
        writer.setPageLayout(QPageLayout(QPageSize(QSizeF(landscape ? twips.transposed() : twips) / 20.0,
                                                   QPageSize::Point, {}, QPageSize::ExactMatch),
                                         landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                         QMarginsF()));
    };
    if (!pages.isEmpty()) layout(pages.pageSize(0));
    QPainter painter(&writer);
    painter.setRenderHint(QPainter::Antialiasing, true);
    reports::Font current;
    painter.setFont(reports::qtFont(current));
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0) {
            layout(pages.pageSize(i));
            writer.newPage();
        }
        const reports::Page page = pages.unpack(i);
        for (const reports::PageItem& item : page.items) {
            switch (item.kind) {
            case reports::PageItem::Kind::Rect:
                painter.fillRect(item.rect, item.color);
                break;
            case reports::PageItem::Kind::Line:
                painter.setPen(QPen(item.color, item.lineWidth));
                painter.drawLine(item.line);
                break;
            case reports::PageItem::Kind::Text: {
                if (!(item.font == current)) {
                    current = item.font;
                    painter.setFont(reports::qtFont(current));
                }
                painter.setPen(item.color);
                const bool left = item.alignment == reports::Alignment::Left;
                const int width =
                    !item.wrap && left ? std::max(item.room, item.rect.width()) : item.rect.width();
                const int align = left                                          ? Qt::AlignLeft
                                  : item.alignment == reports::Alignment::Right ? Qt::AlignRight
                                                                                : Qt::AlignHCenter;
                painter.drawText(QRect(item.rect.topLeft(), QSize(width, item.rect.height())),
                                 align | Qt::AlignTop | (item.wrap ? Qt::TextWordWrap : Qt::TextSingleLine),
                                 item.text);
                break;
            }
            }
        }
    }
}

int pdfPageCount(const QString& file) {
    QFile pdf(file);
    if (!pdf.open(QIODevice::ReadOnly)) return -1;
    const QByteArray bytes = pdf.readAll();
    int pages = 0;
    for (qsizetype at = 0; (at = bytes.indexOf("/Type /Page", at)) >= 0; at += 11)
        if (at + 11 >= bytes.size() || bytes[at + 11] != 's') ++pages;
    return pages;
}

void measurePdf(Bench& bench, const char* program, const reports::Pages& pages, const QString& pdf,
                const QString& bare) {
    bench.measure(
        {program, "pdf", PdfAim},
        [&] {
            reports::PdfExport filter;
            filter.setFileName(pdf);
            return timed([&] { filter.exportPages(pages); });
        },
        [&] { return timed([&] { barePdf(pages, bare); }); },
        [&]() -> QString {
            const int count = int(pages.size());
            if (pdfPageCount(pdf) == count && pdfPageCount(bare) == count) return {};
            return QStringLiteral("%1 pages written, %2 by hand, of %3")
                .arg(pdfPageCount(pdf))
                .arg(pdfPageCount(bare))
                .arg(count);
        },
        std::min(bench.options().rounds, 3));
}

} // namespace bench

#pragma once

#include "forms/QtHost.h"
#include "framework/ProgramSession.h"
#include "tools/pos/DemoInstallation.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace reports {
class Pages;
class Report;
struct PageItem;
} // namespace reports

namespace runtime {
class Variant;
}

// The benchmarks' helper: their command line, steps measured in rounds that alternate the
// program and a fair baseline (min and median of each, the ratios, the aim), the baseline
// checked against the program's output in every round, peak memory, and what their programs
// and baselines share.
namespace bench {

// What a benchmark runs with.
struct Options {
    // The defaults of a benchmark over sales spread over days.
    static Options over(int sales, int days) {
        Options options;
        options.trade.sales = sales;
        options.trade.days = days;
        return options;
    }
    demo::Options trade; // of its demo installation
    int rounds = 5;
    bool check = false;   // --check: a ratio's min over its aim fails the run
    QStringList steps;    // --steps a,b: only these; all when empty
    QStringList switches; // the benchmark's own switches given
    bool wants(const char* step) const;
    bool given(const char* name) const;
};

enum class Unit { Seconds, MiB };

// A step of a program, its aim for the ratio of program to baseline, and whether its median
// ratio is held to the aim too.
struct Step {
    const char* program; // as the program is called: "Quenbrook"
    const char* name;    // lower case: "build"
    double aim;
    Unit unit = Unit::Seconds;
    bool medianToo = false;
};

// Thrown when a baseline's output differs from the program's: the run fails.
struct Difference {
    QString what;
};

class Bench {
public:
    explicit Bench(Options options) : m_options(std::move(options)) {}
    const Options& options() const { return m_options; }

    // Measures a step in rounds (the options' unless given): in each round the program and the
    // baseline in turns, the other side first in the next round, each side giving its measure
    // (seconds or MiB); after each round differs tells how the baseline's output differs from the
    // program's (empty when they agree), and a difference ends the run. Prints the step's line:
    //   Quenbrook build: program min 0.301 s, median 0.310 s | baseline min 0.196 s, median 0.199 s |
    //   ratio min 1.53, median 1.56 | aim 1.5
    void measure(const Step& step, const std::function<double()>& program,
                 const std::function<double()>& baseline, const std::function<QString()>& differs,
                 int rounds = 0);

    // 0, or 1 when checking and a step's min ratio (or median, where held) is over its aim.
    int exitCode() const { return m_overAim ? 1 : 0; }

private:
    Options m_options;
    bool m_overAim = false;
};

// Runs a benchmark on an offscreen application: reads the command line over the defaults (its own
// switches besides --sales, --days, --seed, --rounds, --steps and --check), prints the machine's
// load before and after, and gives the exit code: 2 on a bad command line, 1 on an error or a
// difference, else the bench's.
int run(int argc, char** argv, const char* usage, Options defaults, const QStringList& switches,
        const std::function<void(Bench&)>& body);

double seconds(qint64 nanoseconds);
double timed(const std::function<void()>& work);
double minimum(const std::vector<double>& values);
double median(std::vector<double> values);

// A demo installation of a trade in a folder of its own, its days ending today.
struct Installation {
    explicit Installation(const demo::Options& trade);
    QString file(const char* name) const { return folder.filePath(QLatin1String(name)); }
    QTemporaryDir folder;
    demo::Counts made;
    double seconds = 0; // it took to make
    double desde = 0, hasta = 0;
};

// The process's peak resident memory since the last reset, in MiB.
double peakMiB();
// The peak of resident memory while work runs, counted from a process that has handed its free
// memory back to the system.
double peakDuring(const std::function<void()>& work);

// The program's own host, with the moment at which the build restores the mouse pointer, right
// before it shows the report, recorded. A message box (an error) is printed, not shown.
class TimingHost : public forms::QtHost {
public:
    explicit TimingHost(const QElapsedTimer& clock) : m_clock(clock) {}
    int messageBox(const QString& text, int buttons, const QString& caption) override;
    void setMousePointer(int pointer) override;

    qint64 defaultAt = 0;

private:
    const QElapsedTimer& m_clock;
};

// Starts a program beside a demo installation as its start routine does, without the login:
// the host, the program folder, the desktop look, and the program's session with its database
// object opened as gDB.
std::unique_ptr<framework::ProgramSession> startProgram(forms::QtHost& host, const QString& installation,
                                                        framework::ProgramDescription program);

// SQLite calls that throw the database's error (a runtime::RuntimeError) when they fail.
[[noreturn]] void failOn(sqlite3* db);
sqlite3* openFile(const QString& file);
sqlite3_stmt* prepare(sqlite3* db, const char* sql);
void exec(sqlite3* db, const char* sql);
long long scalar(sqlite3* db, const char* sql);

// A result column without declared type, as the data layer reads it.
runtime::Variant cell(sqlite3_stmt* stmt, int column);

// A table's rows in stored order, each as a hash of its values (numbers by value), in one block.
struct TableRows {
    std::vector<size_t> hashes;
};
TableRows tableRows(sqlite3* db, const char* table);
// Where two tables' rows first differ; empty when they agree.
QString rowsDiffer(const TableRows& program, const TableRows& baseline);

// Each page's boxes as a hash of every property of every box, in one block.
std::vector<size_t> pageHashes(const reports::Pages& pages);
// Where two reports' pages first differ, box by box; empty when they agree.
QString pagesDiffer(const reports::Pages& program, const reports::Pages& baseline);
QString pagesDiffer(const std::vector<size_t>& program, const std::vector<size_t>& baseline);

// Gives each single line of text of a band its room: up to the nearest box on its right beside
// it, or the band's width.
void giveRoom(std::vector<reports::PageItem>& band, int width);

// The run step: the report run against the same pages laid out by hand, checked box by box; then
// prints the number of pages.
void measureRun(Bench& bench, const Step& step, reports::Report& report,
                const std::function<reports::Pages()>& byHand);

// The pages' boxes drawn straight on a QPdfWriter, a page size set where it changes.
void barePdf(const reports::Pages& pages, const QString& file);
// The number of pages of a PDF file.
int pdfPageCount(const QString& file);
// The pdf step: the engine's PDF export of the pages into pdf, against barePdf into bare, checked
// to write as many pages.
void measurePdf(Bench& bench, const char* program, const reports::Pages& pages, const QString& pdf,
                const QString& bare);

} // namespace bench

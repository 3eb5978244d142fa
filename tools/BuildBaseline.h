#pragma once

#include "BenchSupport.h"

#include <QString>

#include <memory>

namespace framework {
class TmpreportParametersWindow;
}

// The builds of Quenbrook and Velmarsh written by hand against SQLite: the same SQL texts
// (translated by hand where the Jet dialect differs), connections held open across builds, each
// statement prepared once, results stepped row by row and every tmpreport write of a build in one
// transaction.
class BuildBaseline {
public:
    enum class Program { Quenbrook, Velmarsh };

    // everySale: Quenbrook's "Ver todas las ventas".
    BuildBaseline(Program program, const QString& mainFile, const QString& spoolerFile,
                  bool everySale = false);
    ~BuildBaseline();
    BuildBaseline(const BuildBaseline&) = delete;
    BuildBaseline& operator=(const BuildBaseline&) = delete;

    // Fills tmpreport with the rows of the sales from desde to hasta (whole days), as the
    // program's build does with its other filters cleared, in a transaction left open; returns the
    // rows written.
    long run(double desde, double hasta);
    // Commits the rows written (the program commits them once its report has read them back).
    void commit();
    // tmpreport's rows as they stand.
    bench::TableRows rows();

private:
    struct Statements;
    void writeSale(bool voided, bool headerRow, long& written);
    std::unique_ptr<Statements> m;
};

// The build step: the window's LlenaInforme up to the moment it restores the mouse pointer to show
// the report (the host records it on the clock), against the baseline over the same days, checked
// to write the same rows into tmpreport (read through spooler). The commit of the rows, which the
// program makes after its report, is timed on neither side.
void measureBuild(bench::Bench& bench, const bench::Step& step, framework::TmpreportParametersWindow& window,
                  QElapsedTimer& clock, const bench::TimingHost& host, BuildBaseline& baseline,
                  sqlite3* spooler, double desde, double hasta);

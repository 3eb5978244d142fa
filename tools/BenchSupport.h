#pragma once

#include "forms/QtHost.h"
#include "framework/ProgramSession.h"
#include "tools/pos/DemoInstallation.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// What the programs' benchmarks share: a host that records when a build changes the mouse
// pointer, the statistics of their rounds, and plain SQLite calls for their hand-written side.
namespace bench {

// The program's own host, with the moments at which the build changes the mouse pointer
// recorded: a build shows the hourglass once the cash dates are written, and restores the
// pointer right before it shows the report. A message box (an error) is printed, not shown.
class TimingHost : public forms::QtHost {
public:
    explicit TimingHost(const QElapsedTimer& clock) : m_clock(clock) {}
    int messageBox(const QString& text, int buttons, const QString& caption) override;
    void setMousePointer(int pointer) override;

    qint64 hourglassAt = 0;
    qint64 defaultAt = 0;

private:
    const QElapsedTimer& m_clock;
};

// The demo trade's options over the caller's defaults, changed by the command line's --sales N,
// --days D, --seed S and, where the benchmark takes them, --rounds R; false on anything else.
bool readOptions(const QStringList& args, demo::Options& options, int* rounds = nullptr);

// Starts a program beside a demo installation as its start routine does, without the login:
// the host, the program folder, the desktop look, and the program's session with its database
// object opened as gDB.
std::unique_ptr<framework::ProgramSession> startProgram(forms::QtHost& host, const QString& installation,
                                                        framework::ProgramDescription program);

double seconds(qint64 nanoseconds);
double minimum(const std::vector<double>& times);
double median(std::vector<double> times);

// SQLite calls that throw the database's error (a runtime::RuntimeError) when they fail.
[[noreturn]] void failOn(sqlite3* db);
sqlite3* openFile(const QString& file);
sqlite3_stmt* prepare(sqlite3* db, const char* sql);
void exec(sqlite3* db, const char* sql);

} // namespace bench

#include "BenchSupport.h"

#include "forms/DesktopLook.h"
#include "framework/clsDataBase.h"
#include "runtime/Program.h"
#include "runtime/RuntimeError.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>

namespace bench {

int TimingHost::messageBox(const QString& text, int buttons, const QString& caption) {
    std::fprintf(stderr, "message box: %s %s\n", qPrintable(caption), qPrintable(text));
    return (buttons & runtime::mb::ButtonsMask) == runtime::mb::YesNo ? runtime::mb::Yes : runtime::mb::OK;
}

void TimingHost::setMousePointer(int pointer) {
    (pointer == runtime::pointer::Hourglass ? hourglassAt : defaultAt) = m_clock.nsecsElapsed();
    QtHost::setMousePointer(pointer);
}

bool readOptions(const QStringList& args, demo::Options& options, int* rounds) {
    if (args.size() % 2 != 0) return false;
    for (int i = 0; i + 1 < args.size(); i += 2) {
        bool ok = false;
        const int value = args[i + 1].toInt(&ok);
        if (!ok || value <= 0) return false;
        if (args[i] == QLatin1String("--sales"))
            options.sales = value;
        else if (args[i] == QLatin1String("--days"))
            options.days = value;
        else if (args[i] == QLatin1String("--seed"))
            options.seed = unsigned(value);
        else if (rounds && args[i] == QLatin1String("--rounds"))
            *rounds = value;
        else
            return false;
    }
    return true;
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

double seconds(qint64 nanoseconds) {
    return nanoseconds / 1e9;
}

double minimum(const std::vector<double>& times) {
    return *std::min_element(times.begin(), times.end());
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
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

} // namespace bench

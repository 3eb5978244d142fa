#include "ErrorLog.h"

#include "runtime/DateSerial.h"
#include "runtime/FileSystem.h"
#include "runtime/Format.h"
#include "runtime/Program.h"
#include "runtime/Regional.h"

namespace framework {

QString errorMessage(const runtime::RuntimeError& error, const QString& procedure,
                     const ErrorOrigin& origin) {
    return QStringLiteral("Error ") + QString::number(error.number()) + QStringLiteral(" (") +
           error.description() + QStringLiteral(") in procedure ") + procedure + QStringLiteral(" of ") +
           origin.kind + QLatin1Char(' ') + origin.object;
}

bool trapErrors(const QString& procedure, const ErrorOrigin& origin, const std::function<void()>& body) {
    try {
        body();
        return true;
    } catch (const runtime::RuntimeError& error) {
        LogError(errorMessage(error, procedure, origin));
        return false;
    }
}

void LogError(const QString& message) {
    try {
        QString file = runtime::App::path() + QStringLiteral("\\ErrorLog") +
                       runtime::Format(runtime::Variant::date(runtime::today()), QStringLiteral("DDMMYY")) +
                       QStringLiteral(".log");
        QString line = QLatin1Char('[') + runtime::generalDate(runtime::now()) + QLatin1Char(']') + message;
        runtime::appendLine(file, line);
    } catch (...) {
        // The log never fails visibly.
    }
}

} // namespace framework

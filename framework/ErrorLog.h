#pragma once

#include "runtime/RuntimeError.h"

#include <QString>

#include <functional>

namespace framework {

// Where a trapping procedure lives, for its error-log line: a window ("Formulario") or a
// module ("Módulo").
struct ErrorOrigin {
    QString kind;
    QString object;

    static ErrorOrigin window(const QString& name) { return {QStringLiteral("Formulario"), name}; }
    static ErrorOrigin module(const QString& name) { return {QStringLiteral("Módulo"), name}; }
};

// "Error 9 (Subscript out of range) in procedure GPrep of Módulo mFunciones"
QString errorMessage(const runtime::RuntimeError& error, const QString& procedure, const ErrorOrigin& origin);

// Runs the body of a procedure that traps its own run-time errors: an error ends the body,
// its message goes to the error log and the caller goes on. Returns false when it trapped.
bool trapErrors(const QString& procedure, const ErrorOrigin& origin, const std::function<void()>& body);

// Appends one line to the program's error log of the day; never fails visibly.
void LogError(const QString& message);

} // namespace framework

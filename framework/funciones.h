#pragma once

#include "runtime/RuntimeError.h"
#include "runtime/Variant.h"

#include <QString>

#include <functional>

namespace framework {

// Where a trapping procedure lives, for its error-log line: a window ("Formulario") or a
// module ("Módulo").
struct ErrorOrigin {
    QString kind;
    QString object;

    static ErrorOrigin Formulario(const QString& window) { return {QStringLiteral("Formulario"), window}; }
    static ErrorOrigin Modulo(const QString& module) { return {QStringLiteral("Módulo"), module}; }
};

// "Error 9 (Subscript out of range) in procedure GPrep of Módulo mFunciones"
QString errorMessage(const runtime::RuntimeError& error, const QString& procedure, const ErrorOrigin& origin);

// Runs the body of a procedure that traps its own run-time errors: an error ends the body,
// its message goes to the error log and the caller goes on. Returns false when it trapped.
bool trapErrors(const QString& procedure, const ErrorOrigin& origin, const std::function<void()>& body);

// Appends one line to the program's error log of the day; never fails visibly.
void LogError(const QString& message);

// SQL literals of a date (the day only) and a time of day, in the form of the database kind.
QString FechaSQL(const runtime::Variant& value);
QString HoraSQL(const runtime::Variant& time);

// The tolerant number reader: empty and Null give 0; date and time texts give their serial;
// True/False and Verdadero/Falso give -1/0; other text that is no number raises 13.
double ValorNumerico(const runtime::Variant& value);
bool EsTextoFechaHora(const runtime::Variant& value);
int CuentaOcurrencias(const QString& character, const QString& text);

QString FmtHoraNull(const runtime::Variant& value);
QString FmtImporteNull(const runtime::Variant& value);
QString FmtFechaHora(const runtime::Variant& value);

// The regional decimal separator, and a number written with a point read whatever it is.
QString ObtieneSepDec();
double stod2(const runtime::Variant& value);

} // namespace framework

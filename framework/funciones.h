#pragma once

#include "runtime/Variant.h"

#include <QString>

namespace framework {

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

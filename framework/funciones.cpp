#include "funciones.h"

#include "ErrorLog.h"
#include "clsDataBase.h"
#include "runtime/Format.h"
#include "runtime/Regional.h"

#include <charconv>
#include <cmath>

namespace framework {

using runtime::Format;
using runtime::Variant;

namespace {

const ErrorOrigin Base = ErrorOrigin::module(QStringLiteral("base"));
const ErrorOrigin ModuleOrigin = ErrorOrigin::module(QStringLiteral("mFunciones"));

} // namespace

QString FechaSQL(const Variant& value) {
    try {
        if (!gDB) runtime::raise(runtime::err::ObjectNotSet);
        bool mssql = gDB->isMSSQL;
        bool isDate = value.isDate() || (value.isString() && runtime::isDateText(value.rawString()));
        if (isDate) {
            if (mssql)
                return QLatin1Char('\'') + Format(value, QStringLiteral("yyyymmdd")) + QLatin1Char('\'');
            return QLatin1Char('#') + Format(value, QStringLiteral("yyyy-mm-dd")) + QLatin1Char('#');
        }
        return value.toString();
    } catch (const runtime::RuntimeError&) {
        return QStringLiteral("#1980-01-01#");
    }
}

QString HoraSQL(const Variant& time) {
    QString result;
    trapErrors(QStringLiteral("HoraSQL"), Base, [&] {
        if (!gDB) runtime::raise(runtime::err::ObjectNotSet);
        QString text = Format(Variant::date(time.toDate()), QStringLiteral("HH:NN:SS"));
        result = gDB->isMSSQL ? QLatin1Char('\'') + text + QLatin1Char('\'')
                              : QLatin1Char('#') + text + QLatin1Char('#');
    });
    return result;
}

double ValorNumerico(const Variant& value) {
    if (value.isNull() || (value.isString() && value.rawString().isEmpty()) || value.isEmpty()) return 0.0;
    QString text = value.toString();
    text.remove(QStringLiteral(".0000000"));
    if (EsTextoFechaHora(text)) text = runtime::numberText(Variant(text).toDate());
    if (!runtime::isNumeric(text)) {
        text.replace(QStringLiteral("False"), QStringLiteral("0"));
        text.replace(QStringLiteral("True"), QStringLiteral("-1"));
        text.replace(QStringLiteral("Falso"), QStringLiteral("0"));
        text.replace(QStringLiteral("Verdadero"), QStringLiteral("-1"));
    }
    return Variant(text).toDouble();
}

namespace {

// The leading number of a text, as Val reads it: "09" is 9, "9:" is 9, no digits 0.
int leadingNumber(const QString& text) {
    int value = 0;
    for (QChar c : text) {
        if (!c.isDigit()) break;
        value = value * 10 + c.digitValue();
    }
    return value;
}

} // namespace

bool EsTextoFechaHora(const Variant& value) {
    QString text = value.toText();
    int dashes = CuentaOcurrencias(QStringLiteral("-"), text);
    int slashes = CuentaOcurrencias(QStringLiteral("/"), text);
    int colons = CuentaOcurrencias(QStringLiteral(":"), text);
    if ((dashes == 2 || slashes == 2) && runtime::isDateText(text)) return true;
    if (colons == 2 && (text.contains(QStringLiteral(" a.m.")) || text.contains(QStringLiteral(" p.m."))) &&
        (text.size() == 12 || text.size() == 13))
        return true;
    if (colons == 2 && text.size() == 8 && leadingNumber(text.left(2)) < 24) return true;
    return text == QStringLiteral("0:00:00");
}

int CuentaOcurrencias(const QString& character, const QString& text) {
    if (character.isEmpty() || !text.contains(character)) return 0;
    int count = 0;
    for (QChar c : text)
        if (QString(c) == character) ++count;
    return count;
}

QString FmtHoraNull(const Variant& value) {
    return value.isNull() ? QStringLiteral("--:--") : Format(value, QStringLiteral("HH:MM"));
}

QString FmtImporteNull(const Variant& value) {
    return value.isNull() ? QStringLiteral("0.00") : Format(value, QStringLiteral("0.00"));
}

QString FmtFechaHora(const Variant& value) {
    return value.isNull() ? QString() : Format(value, QStringLiteral("DD/MM/YY HH:MM"));
}

QString ObtieneSepDec() {
    // The separator Format writes in "0.0".
    return QString(runtime::Regional::current().decimalSeparator);
}

double stod2(const Variant& value) {
    using T = Variant::Type;
    const T type = value.type();
    if ((type == T::Integer || type == T::Long || type == T::Double) && std::isfinite(value.rawNumber())) {
        // The number as its text of 15 significant digits reads back.
        if (value.rawNumber() == 0) return 0.0;
        char buffer[32];
        const char* end =
            std::to_chars(buffer, buffer + sizeof buffer, value.rawNumber(), std::chars_format::general, 15)
                .ptr;
        double result = 0.0;
        std::from_chars(buffer, end, result);
        return result;
    }
    double result = 0.0;
    trapErrors(QStringLiteral("stod2"), ModuleOrigin, [&] {
        QString text = value.toString();
        text.replace(QLatin1Char('.'), ObtieneSepDec());
        auto number = runtime::parseNumber(text);
        result = number ? *number : 0.0;
    });
    return result;
}

} // namespace framework

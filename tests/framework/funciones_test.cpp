#include "framework/ErrorLog.h"
#include "framework/ProgramSession.h"
#include "framework/clsDataBase.h"
#include "framework/funciones.h"
#include "runtime/DateSerial.h"
#include "runtime/Program.h"
#include "support/LocaleScope.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace framework;

using runtime::dateSerial;
using runtime::timeSerial;
using runtime::Variant;

namespace {

// A program session whose database object gDB is of the given kind.
class DatabaseKind {
public:
    explicit DatabaseKind(bool mssql) { m_session.newDatabase().isMSSQL = mssql; }

private:
    ProgramSession m_session;
};

QDateTime g_clockValue;
QDateTime pinnedClock() {
    return g_clockValue;
}

} // namespace

TEST(FechaSQL, FollowsTheDatabaseKindAndDropsTheTime) {
    LocaleScope locale("es_AR.UTF-8");
    Variant moment = Variant::date(dateSerial(2026, 12, 8) + timeSerial(17, 45, 0));
    {
        DatabaseKind kind(true);
        EXPECT_EQ(FechaSQL(moment), "'20261208'");
        EXPECT_EQ(FechaSQL(Variant("08/12/2026 17:45")), "'20261208'"); // a date text
        EXPECT_EQ(FechaSQL(Variant::null()), "#1980-01-01#");           // the Access form whatever the kind
    }
    {
        DatabaseKind kind(false);
        EXPECT_EQ(FechaSQL(moment), "#2026-12-08#");
        EXPECT_EQ(FechaSQL(Variant("abc")), "abc");
        EXPECT_EQ(FechaSQL(Variant(5)), "5");
        EXPECT_EQ(FechaSQL(Variant::null()), "#1980-01-01#");
    }
    EXPECT_EQ(FechaSQL(moment), "#1980-01-01#"); // no database object
}

TEST(HoraSQL, FollowsTheDatabaseKindAndDropsTheDate) {
    LocaleScope locale("en_US.UTF-8");
    Variant time = Variant::date(dateSerial(2026, 12, 8) + timeSerial(7, 5, 9));
    {
        DatabaseKind kind(true);
        EXPECT_EQ(HoraSQL(time), "'07:05:09'");
    }
    {
        DatabaseKind kind(false);
        EXPECT_EQ(HoraSQL(time), "#07:05:09#");
        EXPECT_EQ(HoraSQL(Variant::date(timeSerial(19, 0, 0) - 1e-11)), "#19:00:00#");
    }
}

TEST(ValorNumerico, ReadsWhatTheDatabaseHandsOver) {
    for (const char* name : {"en_US.UTF-8", "es_AR.UTF-8"}) {
        LocaleScope locale(name);
        SCOPED_TRACE(name);
        EXPECT_EQ(ValorNumerico(Variant("")), 0.0);
        EXPECT_EQ(ValorNumerico(Variant::null()), 0.0);
        EXPECT_EQ(ValorNumerico(Variant("0:00:00")), 0.0);
        EXPECT_EQ(ValorNumerico(Variant("12.0000000")), 12.0);
        EXPECT_EQ(ValorNumerico(Variant("True")), -1.0);
        EXPECT_EQ(ValorNumerico(Variant("Verdadero")), -1.0);
        EXPECT_EQ(ValorNumerico(Variant("False")), 0.0);
        EXPECT_EQ(ValorNumerico(Variant("Falso")), 0.0);
        EXPECT_EQ(ValorNumerico(Variant(true)), -1.0);
        EXPECT_DOUBLE_EQ(ValorNumerico(Variant("10:30:00")), 0.4375);
        EXPECT_DOUBLE_EQ(ValorNumerico(Variant(2.5)), 2.5);
        EXPECT_THROW(ValorNumerico(Variant("abc")), runtime::RuntimeError);
    }
    LocaleScope locale("es_AR.UTF-8");
    EXPECT_DOUBLE_EQ(ValorNumerico(Variant("10:30:00 a.m.")), 0.4375);
    EXPECT_DOUBLE_EQ(ValorNumerico(Variant("08/12/2026")), dateSerial(2026, 12, 8));
}

TEST(EsTextoFechaHora, AcceptsOnlyDateAndTimeShapes) {
    LocaleScope locale("es_AR.UTF-8");
    EXPECT_TRUE(EsTextoFechaHora(Variant("23:59:59")));
    EXPECT_TRUE(EsTextoFechaHora(Variant("09:30:00 a.m.")));
    EXPECT_TRUE(EsTextoFechaHora(Variant("10:30:00 p.m.")));
    EXPECT_TRUE(EsTextoFechaHora(Variant("9:30:00 a.m.")));
    EXPECT_TRUE(EsTextoFechaHora(Variant("08/12/2026")));
    EXPECT_TRUE(EsTextoFechaHora(Variant("0:00:00")));
    EXPECT_FALSE(EsTextoFechaHora(Variant("24:00:00")));
    EXPECT_FALSE(EsTextoFechaHora(Variant("08-2026")));
    EXPECT_FALSE(EsTextoFechaHora(Variant("10:30")));
    EXPECT_FALSE(EsTextoFechaHora(Variant("31/02/2026x")));
    EXPECT_FALSE(EsTextoFechaHora(Variant::null()));
    EXPECT_EQ(CuentaOcurrencias("/", "08/12/2026"), 2);
    EXPECT_EQ(CuentaOcurrencias(":", "abc"), 0);
}

TEST(Formatters, NullsAndRegionalSeparators) {
    EXPECT_EQ(FmtHoraNull(Variant::null()), "--:--");
    EXPECT_EQ(FmtImporteNull(Variant::null()), "0.00");
    EXPECT_EQ(FmtFechaHora(Variant::null()), "");
    Variant moment = Variant::date(dateSerial(2026, 3, 5) + timeSerial(9, 7, 0));
    {
        LocaleScope locale("es_AR.UTF-8");
        EXPECT_EQ(FmtImporteNull(Variant(3.456)), "3,46");
        EXPECT_EQ(FmtFechaHora(moment), "05/03/26 09:07");
        EXPECT_EQ(FmtHoraNull(moment), "09:07");
        EXPECT_EQ(ObtieneSepDec(), ",");
        EXPECT_DOUBLE_EQ(stod2(Variant("3.5")), 3.5);
        EXPECT_DOUBLE_EQ(stod2(Variant("4345.40")), 4345.4);
        EXPECT_THROW(FmtFechaHora(Variant::date(1e13)), runtime::RuntimeError); // Overflow
    }
    {
        LocaleScope locale("de_DE.UTF-8");
        EXPECT_EQ(FmtFechaHora(moment), "05.03.26 09:07");
    }
    {
        LocaleScope locale("en_US.UTF-8");
        EXPECT_EQ(FmtImporteNull(Variant(3.456)), "3.46");
        EXPECT_EQ(ObtieneSepDec(), ".");
        EXPECT_DOUBLE_EQ(stod2(Variant("3.5")), 3.5);
        EXPECT_DOUBLE_EQ(stod2(Variant("tres")), 0.0);
    }
}

TEST(ErrorLog, OneLinePerErrorInTheFileOfTheDay) {
    LocaleScope locale("es_AR.UTF-8");
    QTemporaryDir dir;
    runtime::App::setPath(dir.path());
    g_clockValue = QDateTime(QDate(2026, 12, 8), QTime(23, 59, 58));
    runtime::setClock(pinnedClock);

    runtime::RuntimeError subscript(9);
    LogError(errorMessage(subscript, "GPrep", ErrorOrigin::module("mFunciones")));
    bool completed = trapErrors("Validar", ErrorOrigin::window("frmLogin"), [] { runtime::raise(13); });
    EXPECT_FALSE(completed);
    EXPECT_DOUBLE_EQ(stod2(Variant::null()), 0.0); // a trapped Null is logged too

    g_clockValue = QDateTime(QDate(2026, 12, 9), QTime(0, 0, 1));
    LogError("next day");
    runtime::setClock(nullptr);

    QFile first(dir.path() + "/ErrorLog081226.log");
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    QByteArray content = first.readAll();
    EXPECT_EQ(content.count("\r\n"), 3);
    QStringList lines = QString::fromUtf8(content).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0],
              "[8/12/2026 23:59:58]Error 9 (Subscript out of range) in procedure GPrep of Módulo mFunciones");
    EXPECT_TRUE(lines[1].endsWith("]Error 13 (Type mismatch) in procedure Validar of Formulario frmLogin"));
    EXPECT_TRUE(lines[2].endsWith("]Error 94 (Invalid use of Null) in procedure stod2 of Módulo mFunciones"));

    QFile second(dir.path() + "/ErrorLog091226.log");
    ASSERT_TRUE(second.open(QIODevice::ReadOnly));
    EXPECT_EQ(second.readAll(), QByteArray("[9/12/2026 00:00:01]next day\r\n"));

    runtime::App::setPath(dir.path() + "/missing/folder");
    LogError("lost without a trace"); // must not throw
    runtime::App::setPath({});
}

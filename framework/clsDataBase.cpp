#include "clsDataBase.h"

#include "ErrorLog.h"
#include "IniFile.h"
#include "data/Recordset.h"
#include "runtime/FileSystem.h"
#include "runtime/Program.h"

namespace framework {

clsDataBase* gDB = nullptr;

namespace {

const QString IniFile = QStringLiteral("\\..\\..\\bases.ini");
const ErrorOrigin Origin{QStringLiteral("Módulo de clase"), QStringLiteral("clsDataBase")};

QString jetConnection(const QString& file) {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + file +
           QStringLiteral(";Persist Security Info=False;Jet OLEDB:Database Password=47125830");
}

// Runs one step whose failure the caller passes over.
template <typename Step> void ignoringErrors(Step step) {
    try {
        step();
    } catch (const runtime::RuntimeError&) {
    }
}

// A key as a text literal of the settings queries: apostrophes doubled.
QString keyLiteral(const QString& key) {
    return QLatin1Char('\'') + QString(key).replace(QLatin1Char('\''), QLatin1String("''")) +
           QLatin1Char('\'');
}

} // namespace

bool clsDataBase::OpenAccess() {
    directorio =
        LeeIni(IniFile, QStringLiteral("Directorio"), runtime::App::path() + QStringLiteral("\\..\\..\\"));
    const QString mainFile = directorio + QStringLiteral("\\db\\db.mdb");
    if (!runtime::isOrdinaryFile(mainFile)) {
        runtime::MsgBox(QStringLiteral("No se puede encontrar la base de datos, ") + mainFile);
        runtime::End();
    }

    ignoringErrors([&] {
        dbaccess = std::make_shared<data::Connection>();
        if (m_options.cursorLocation) dbaccess->setCursorLocation(*m_options.cursorLocation);
    });
    // A connection that does not open is logged with its reason; the login reports it.
    const auto openMain = [&] {
        if (!dbaccess) return;
        try {
            dbaccess->open(cn, QString(), QString());
        } catch (const runtime::RuntimeError& error) {
            m_openError = error.description();
            LogError(errorMessage(error, QStringLiteral("OpenAccess"), Origin));
        }
    };
    QString kind;
    ignoringErrors([&] { kind = LeeIni(IniFile, QStringLiteral("DBKIND"), QStringLiteral("1")); });
    if (kind == QLatin1String("2")) {
        ignoringErrors([&] { cn = LeeIni(IniFile, QStringLiteral("CONNSTRING"), QString()); });
        openMain();
        isMSSQL = true;
    } else {
        isMSSQL = false;
        cn = jetConnection(mainFile);
        openMain();
    }

    if (!dbaccess) runtime::raise(runtime::err::ObjectNotSet);
    if (!m_options.scratch) return true;
    spooler = std::make_shared<data::Connection>();
    spooler->open(jetConnection(directorio + QStringLiteral("\\spooler.mdb")), QString(), QString());
    spooler->relaxDurability();
    return true;
}

bool clsDataBase::DBIsOpen() {
    if (!dbaccess) runtime::raise(runtime::err::ObjectNotSet);
    return !dbaccess->property(0).isEmpty();
}

void clsDataBase::CloseDatabase() {
    if (!dbaccess) runtime::raise(runtime::err::ObjectNotSet);
    dbaccess->close();
    dbaccess.reset();
    if (!m_options.scratch) return;
    if (!spooler) runtime::raise(runtime::err::ObjectNotSet);
    spooler->close();
    spooler.reset();
}

QString clsDataBase::dbgetsetting(const QString& mClave, const QString& pDefault) {
    if (!m_options.settingsTable) return pDefault;
    QString result;
    ignoringErrors([&] {
        data::Recordset rs;
        rs.open(QStringLiteral("Select VALOR from REGISTRY where CLAVE = ") + keyLiteral(mClave), dbaccess);
        if (!rs.eof())
            result = rs.fields(0).value().toText().remove(QLatin1Char('"'));
        else
            result = pDefault;
        rs.close();
    });
    return result;
}

void clsDataBase::DBSaveSetting(const QString& mClave, const QString& Setting) {
    if (!m_options.settingsTable) return;
    ignoringErrors([&] {
        data::Recordset rs;
        rs.open(QStringLiteral("Select CLAVE, VALOR from REGISTRY where CLAVE = ") + keyLiteral(mClave),
                dbaccess, data::adOpenStatic, data::adLockOptimistic);
        if (rs.eof()) rs.addNew();
        rs.fields(QStringLiteral("CLAVE")).setValue(mClave);
        rs.fields(QStringLiteral("VALOR")).setValue(Setting);
        rs.update();
        rs.close();
    });
}

QString LeeDBSetting(const QString& clave, const QString& defecto) {
    return gDB->dbgetsetting(clave, defecto);
}

} // namespace framework

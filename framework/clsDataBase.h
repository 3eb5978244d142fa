#pragma once

#include "data/Connection.h"

#include <QString>

#include <optional>

namespace framework {

// What the database object opens: the scratch database spooler.mdb, the cursor location of
// the point-of-sale connection (none keeps the provider's default, server-side cursors) and
// whether the settings table REGISTRY is read and written.
struct DatabaseOptions {
    bool scratch = true;
    std::optional<data::CursorLocation> cursorLocation = data::adUseClient;
    bool settingsTable = true;
};

// The program's database object: the point-of-sale connection, the database kind, the
// local scratch database and the settings table REGISTRY, as far as its options ask.
class clsDataBase {
public:
    explicit clsDataBase(DatabaseOptions options = {}) : m_options(options) {}

    data::ConnectionPtr dbaccess; // point-of-sale database, by default client-side cursors
    bool isMSSQL = false;         // true only when DBKIND is "2"
    data::ConnectionPtr spooler;  // local scratch database spooler.mdb, when opened
    QString directorio;           // point-of-sale folder
    QString cn;                   // connection string of dbaccess

    // Opens both connections. When the point-of-sale connection does not open, the driver's or
    // the server's reason goes to the error log and stays in openError(); the program goes on.
    bool OpenAccess();
    const QString& openError() const { return m_openError; }
    bool DBIsOpen();
    void CloseDatabase();
    // Without a settings table the read gives the default and the save writes nothing.
    QString dbgetsetting(const QString& mClave, const QString& pDefault = {});
    void DBSaveSetting(const QString& mClave, const QString& Setting);

private:
    DatabaseOptions m_options;
    QString m_openError;
};

// The one database object of the program, created by Main.
extern clsDataBase* gDB;

// LeeDBSetting: a key of the settings table REGISTRY through gDB.dbgetsetting.
QString LeeDBSetting(const QString& clave, const QString& defecto);

} // namespace framework

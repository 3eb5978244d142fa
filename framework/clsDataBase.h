#pragma once

#include "data/Connection.h"

#include <QString>

// The program's database object: the point-of-sale connection, the database kind, the
// local scratch database and the settings table REGISTRY.
class clsDataBase {
public:
    data::ConnectionPtr dbaccess; // point-of-sale database, client-side cursors
    bool isMSSQL = false;         // true only when DBKIND is "2"
    data::ConnectionPtr spooler;  // local scratch database spooler.mdb
    QString directorio;           // point-of-sale folder
    QString cn;                   // connection string of dbaccess

    bool OpenAccess();
    bool DBIsOpen();
    void CloseDatabase();
    QString dbgetsetting(const QString& mClave, const QString& pDefault = {});
    void DBSaveSetting(const QString& mClave, const QString& Setting);
};

// The one database object of the program, created by Main.
extern clsDataBase* gDB;

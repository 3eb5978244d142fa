#pragma once

#include "tools/pos/PosDatabase.h"

#include <QTemporaryDir>

// A whole point-of-sale folder in a temporary directory, for one test:
//   <root>/bases.ini        "Directorio|<root>"
//   <root>/db/db.mdb        every table, the sample data below, password 47125830
//   <root>/spooler.mdb      tmpreport, empty
//   <root>/prog/bin         the program's folder (App.Path while the fixture lives)
// Sample data (1 December 2026 unless said otherwise):
//   usuarios   1 admin (Admin 1, empty password), 2 ana/ana1 (reportes 1), 3 beto/beto (reportes 0),
//              4 baja/baja (estado 0)
//   sesion     1 turn 101 08:00-16:00, 2 turn 102 16:00-00:30 (closes 2 Dec), 3 turn 103 open since
//              2 Dec 08:00
//   ventas     1 shift 1, A 00000001, closed 12:30, 1500; 2 shift 1, B 00000002, voided 13:00, 600;
//              3 shift 2, X 00000003, closed 20:15, 1000; 4 shift 3 (2 Dec), open, no ticket
//   ventasdetail 1 sale 1 2 Muzzarella 500; 2 sale 1 1 Agua 500; 3 sale 2 1 Napolitana 600;
//              4 sale 3 2 Muzzarella 500; 5 sale 4 2 Agua 500
//   Quenbrook  1 sale 1, Napolitana 600 deleted at 12:20 by ana, "Error de carga"
//   auditoria  sale 2 code 21 by admin, "Cliente se fue"
//   rubros 1 Pizzas, 2 Bebidas, 3 Postres (estado 0); productos 10 Muzzarella, 11 Napolitana (1),
//   20 Agua (2), 30 Flan (3, estado 0); empleados 1 (7 Gomez Juan); clientes 1; mesas 1-3;
//   VentasDetailObservaciones on line 1 "Sin sal"; REGISTRY empty.
class PosFixture {
public:
    // With sampleData false the tables start empty.
    explicit PosFixture(bool sampleData = true);
    ~PosFixture();
    PosFixture(const PosFixture&) = delete;
    PosFixture& operator=(const PosFixture&) = delete;

    QString root() const;          // the point-of-sale folder (a POSIX path)
    QString programFolder() const; // <root>/prog/bin
    QString mainFile() const;      // <root>/db/db.mdb
    QString spoolerFile() const;   // <root>/spooler.mdb
    QString iniFile() const;       // <root>/bases.ini

    // Replaces bases.ini with these bytes (lines as given, e.g. "DBKIND|2\r\n").
    void writeIni(const QByteArray& content);

    // Makes the installation one of the SQL Server kind: db.mdb as it is now copied to
    // <root>/db/pos.mdf for the embedded engine, which bases.ini then names (DBKIND|2).
    void useSqlServer();
    QString sqlServerFile() const; // <root>/db/pos.mdf
    // A connection of the test's own on pos.mdf.
    data::ConnectionPtr sqlServer();

    // Closes the fixture's own connections, puts a file in the rollback-journal mode its owner
    // keeps it in and returns its bytes.
    QByteArray inRollbackJournal(const QString& file);

    // Connections of the test's own on the two files (opened on first use).
    data::ConnectionPtr db();
    data::ConnectionPtr spooler();

    // Adds a row to a table of db.mdb; returns its key.
    qint64 insert(const QString& table, const posdb::Row& row);
    // Runs a Jet statement on db.mdb.
    void exec(const QString& sql);
    // The rows of a Jet query on a connection (db.mdb by default), values by position.
    QVector<QVector<runtime::Variant>> rows(const QString& sql, data::ConnectionPtr on = {});
    // The first value of the first row, Empty when there is none.
    runtime::Variant scalar(const QString& sql, data::ConnectionPtr on = {});

    // Row helpers: the named values over a plain default row; each returns the new key.
    qint64 addUser(const QString& apodo, const QString& password, const posdb::Row& more = {});
    qint64 addShift(int nroturno, const runtime::Variant& opening, const runtime::Variant& openingTime,
                    const posdb::Row& more = {});
    qint64 addSale(int idsesion, const runtime::Variant& fecha, const posdb::Row& more = {});
    qint64 addLine(qint64 idventa, const QString& articulo, double cantidad, double monto,
                   const posdb::Row& more = {});
    qint64 addDeletion(qint64 idventa, const QString& producto, double cantidad, double importe,
                       const posdb::Row& more = {});
    void setSetting(const QString& clave, const QString& valor);

private:
    QTemporaryDir m_dir;
    QString m_previousPath;
    data::ConnectionPtr m_db;
    data::ConnectionPtr m_spooler;
};

// Rows of tmpreport as texts, to compare builds on the two kinds of database: the times of
// day (campo2, 4, 5, 18, 22, 23) as clock times, since a time alone lies on 30 December 1899
// in an Access file and on 1 January 1900 on SQL Server.
QStringList tmpreportTexts(const QVector<QVector<runtime::Variant>>& rows);

// SQLite's integrity check of a database file: "ok" when it is whole.
QString integrityCheck(const QString& file);

#include "PosDatabase.h"

#include "data/Connection.h"
#include "data/JetSql.h"
#include "data/Recordset.h"
#include "runtime/DateSerial.h"
#include "runtime/RuntimeError.h"

#include <QFile>

#include <sqlite3.h>

namespace posdb {

using runtime::Variant;

namespace {

// Texts compare without regard to letter case, as in Jet.
const char* const MainSchema = R"SQL(
CREATE TABLE ventas (
  Idventa INTEGER PRIMARY KEY, idsesion INTEGER, fechacaja DATETIME, fecha DATETIME, SF_FECHA DATETIME,
  SF_hora DATETIME, horaapertura DATETIME, horacierre DATETIME, estado INTEGER,
  TIPOFACTURA TEXT COLLATE NOCASE, NUMEROTICKET TEXT COLLATE NOCASE, NUMEROSUC INTEGER,
  SF_total DOUBLE, total DOUBLE, subtotal DOUBLE, descuento DOUBLE, montopagado DOUBLE, dinerodevuelto DOUBLE,
  facturasacada INTEGER, facturaimpresa INTEGER, reemplazadoporid INTEGER, smesa TEXT COLLATE NOCASE,
  tmesa INTEGER, idmesa INTEGER, idusuario INTEGER, idcliente INTEGER, idmozo INTEGER,
  TicketControl TEXT COLLATE NOCASE, apellidos TEXT COLLATE NOCASE, nombres TEXT COLLATE NOCASE,
  concepto TEXT COLLATE NOCASE, moto TEXT COLLATE NOCASE, interno TEXT COLLATE NOCASE,
  diraltura TEXT COLLATE NOCASE, dirpiso TEXT COLLATE NOCASE, direntrea TEXT COLLATE NOCASE,
  direntreb TEXT COLLATE NOCASE, direccion TEXT COLLATE NOCASE, localidad TEXT COLLATE NOCASE,
  codigopostal TEXT COLLATE NOCASE, notacliente TEXT COLLATE NOCASE, notarepartidor TEXT COLLATE NOCASE,
  teluno TEXT COLLATE NOCASE, provincia TEXT COLLATE NOCASE, tipo INTEGER, mediopago INTEGER,
  demoratotal DOUBLE, PagoL2 DOUBLE, PagoL2T DOUBLE, HoraRecibido DATETIME, HoraPedido DATETIME);
CREATE INDEX ventas_idsesion ON ventas (idsesion);
CREATE INDEX ventas_fecha ON ventas (fecha);
CREATE INDEX ventas_sf_fecha ON ventas (SF_FECHA);
CREATE INDEX ventas_fechacaja ON ventas (fechacaja);

CREATE TABLE ventasdetail (
  IDVENTADETAIL INTEGER PRIMARY KEY, IDVENTA INTEGER, HORA DATETIME, fecha DATETIME, CANTIDAD DOUBLE,
  NOMBREARTICULO TEXT COLLATE NOCASE, MONTO DOUBLE, estado INTEGER, idproducto INTEGER,
  Comentario TEXT COLLATE NOCASE, idmozo INTEGER, noimprimir INTEGER);
CREATE INDEX ventasdetail_idventa ON ventasdetail (IDVENTA);
CREATE INDEX ventasdetail_idproducto ON ventasdetail (idproducto);

CREATE TABLE Quenbrook (
  id INTEGER PRIMARY KEY, IDVENTA INTEGER, IDVENTADETAIL INTEGER, caja INTEGER, Fecha DATETIME, HORA DATETIME,
  CANTIDAD DOUBLE, PRODUCTO TEXT COLLATE NOCASE, IMPORTE DOUBLE, PREPARACION DATETIME, DEMORA DATETIME,
  TIPO TEXT COLLATE NOCASE, MOTIVO TEXT COLLATE NOCASE, usuario TEXT COLLATE NOCASE, mozo INTEGER,
  mesa INTEGER, idproducto INTEGER);
CREATE INDEX Quenbrook_idventa ON Quenbrook (IDVENTA);
CREATE INDEX Quenbrook_caja ON Quenbrook (caja);
CREATE INDEX Quenbrook_fecha ON Quenbrook (Fecha);

CREATE TABLE sesion (
  Idsesion INTEGER PRIMARY KEY, NROTURNO INTEGER, fechaapertura DATETIME, horaapertura DATETIME,
  fechacierre DATETIME, horacierre DATETIME, idcajeroapertura INTEGER, idcajerocierre INTEGER,
  TotalGeneral DOUBLE);
CREATE INDEX sesion_fechaapertura ON sesion (fechaapertura);

CREATE TABLE usuarios (
  id INTEGER PRIMARY KEY, apodo TEXT COLLATE NOCASE, password TEXT COLLATE NOCASE, estado INTEGER,
  Admin INTEGER, categorizacion INTEGER, reportes INTEGER);
CREATE INDEX usuarios_apodo ON usuarios (apodo);

CREATE TABLE UsuariosPasadas (id INTEGER PRIMARY KEY, idusuario INTEGER, fecha DATETIME, hora DATETIME);
CREATE TABLE mesas (Id INTEGER PRIMARY KEY, nombre TEXT COLLATE NOCASE);
CREATE TABLE auditoria (
  id INTEGER PRIMARY KEY, idventa INTEGER, codigo INTEGER, usuario TEXT COLLATE NOCASE,
  motivo TEXT COLLATE NOCASE);
CREATE INDEX auditoria_idventa ON auditoria (idventa);
CREATE TABLE rubros (IdR INTEGER PRIMARY KEY, descripcion TEXT COLLATE NOCASE, estado INTEGER);
CREATE TABLE productos (
  Id INTEGER PRIMARY KEY, nombre TEXT COLLATE NOCASE, estado INTEGER, idrubro INTEGER);
CREATE INDEX productos_idrubro ON productos (idrubro);
CREATE TABLE VentasDetailObservaciones (
  id INTEGER PRIMARY KEY, IDVENTADETAIL INTEGER, idobservacion INTEGER, PRECIO DOUBLE,
  concepto TEXT COLLATE NOCASE);
CREATE INDEX VentasDetailObservaciones_idventadetail ON VentasDetailObservaciones (IDVENTADETAIL);
CREATE TABLE empleados (
  Id INTEGER PRIMARY KEY, numero INTEGER, APELLIDOS TEXT COLLATE NOCASE, NOMBRES TEXT COLLATE NOCASE);
CREATE TABLE clientes (Id INTEGER PRIMARY KEY, nombres TEXT COLLATE NOCASE, estado INTEGER);
CREATE TABLE REGISTRY (CLAVE TEXT COLLATE NOCASE, VALOR TEXT COLLATE NOCASE);
)SQL";

void createDatabase(const QString& file, const QString& schema, const QString& password) {
    QFile::remove(file);
    QFile::remove(file + QStringLiteral("-wal"));
    QFile::remove(file + QStringLiteral("-shm"));
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw runtime::RuntimeError(runtime::err::DatabaseError, QStringLiteral("Cannot create ") + file);
    }
    QString script = QStringLiteral("PRAGMA journal_mode=WAL;") + schema;
    if (!password.isEmpty())
        script += QStringLiteral("CREATE TABLE %1 (Password TEXT); INSERT INTO %1 VALUES ('%2');")
                      .arg(QLatin1String(data::jetPasswordTable),
                           QString(password).replace(QLatin1Char('\''), QLatin1String("''")));
    char* message = nullptr;
    const int rc = sqlite3_exec(db, script.toUtf8().constData(), nullptr, nullptr, &message);
    const QString description = QString::fromUtf8(message);
    sqlite3_free(message);
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw runtime::RuntimeError(runtime::err::DatabaseError, description);
}

} // namespace

void createMainDatabase(const QString& file, const QString& password) {
    createDatabase(file, QLatin1String(MainSchema), password);
}

void createSpoolerDatabase(const QString& file, const QString& password) {
    QStringList columns;
    for (int i = 1; i <= 28; ++i)
        columns << QStringLiteral("campo%1").arg(i);
    createDatabase(file,
                   QStringLiteral("CREATE TABLE tmpreport (%1);").arg(columns.join(QStringLiteral(", "))),
                   password);
}

QString jetConnectionString(const QString& file, const QString& password) {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + file +
           QStringLiteral(";Persist Security Info=False;Jet OLEDB:Database Password=") + password;
}

void copyAsSqlServer(const QString& jetFile, const QString& sqlServerFile) {
    QFile::remove(sqlServerFile);
    sqlite3* db = nullptr;
    const QByteArray source = jetFile.toUtf8(), target = sqlServerFile.toUtf8();
    int rc = sqlite3_open_v2(source.constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    // VACUUM INTO writes a copy of a database in WAL mode with every committed row.
    const QByteArray vacuum = "VACUUM INTO '" + QByteArray(target).replace('\'', "''") + "'";
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, vacuum.constData(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    db = nullptr;
    if (rc == SQLITE_OK) rc = sqlite3_open_v2(target.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    QString script = QStringLiteral("DROP TABLE IF EXISTS %1;").arg(QLatin1String(data::jetPasswordTable));
    sqlite3_stmt* columns = nullptr;
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(db,
                                "SELECT m.name, c.name FROM sqlite_schema m, pragma_table_info(m.name) c "
                                "WHERE m.type = 'table' AND c.type LIKE '%DATE%'",
                                -1, &columns, nullptr);
    while (rc == SQLITE_OK && sqlite3_step(columns) == SQLITE_ROW) {
        const QString table =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(columns, 0)));
        const QString column =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(columns, 1)));
        script += QStringLiteral("UPDATE \"%1\" SET \"%2\" = \"%2\" + 2 WHERE \"%2\" >= 0 AND \"%2\" < 1;")
                      .arg(table, column);
    }
    sqlite3_finalize(columns);
    char* message = nullptr;
    if (rc == SQLITE_OK) rc = sqlite3_exec(db, script.toUtf8().constData(), nullptr, nullptr, &message);
    const QString description = message ? QString::fromUtf8(message) : QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_free(message);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        throw runtime::RuntimeError(runtime::err::DatabaseError,
                                    QStringLiteral("Cannot copy %1: %2").arg(jetFile, description));
}

QString sqlServerConnectionString(const QString& file) {
    return QStringLiteral("Provider=SQLOLEDB.1;Data Source=(localdb)\\MSSQLLocalDB;AttachDbFilename=") +
           file + QStringLiteral(";initial catalog=pos;User ID=sa;Password=");
}

data::ConnectionPtr openJet(const QString& file, const QString& password) {
    auto connection = std::make_shared<data::Connection>();
    connection->open(jetConnectionString(file, password));
    return connection;
}

qint64 insertRow(const data::ConnectionPtr& db, const QString& table, const Row& row) {
    return db->provider().insertRow(table, row);
}

QVector<QVector<Variant>> rows(const data::ConnectionPtr& db, const QString& sql) {
    data::Recordset rs;
    rs.open(sql, db, data::adOpenStatic);
    QVector<QVector<Variant>> result;
    for (; !rs.eof(); rs.moveNext()) {
        QVector<Variant> row;
        for (int i = 0; i < rs.fieldCount(); ++i)
            row.append(rs.fields(i).value());
        result.append(row);
    }
    rs.close();
    return result;
}

Variant day(int year, int month, int dayOfMonth) {
    return Variant::date(runtime::dateSerial(year, month, dayOfMonth));
}

Variant time(int hour, int minute, int second) {
    return Variant::date(runtime::timeSerial(hour, minute, second));
}

void seedSampleData(const data::ConnectionPtr& db) {
    const Variant null = Variant::null();
    auto add = [&](const char* table, const Row& row) { insertRow(db, QLatin1String(table), row); };

    // Users: admin (no password), ana (may see reports), beto (may not), baja (inactive).
    const char* users[][3] = {
        {"admin", "", "0"}, {"ana", "ana1", "1"}, {"beto", "beto", "0"}, {"baja", "baja", "1"}};
    for (int i = 0; i < 4; ++i)
        add("usuarios", {{"id", i + 1},
                         {"apodo", users[i][0]},
                         {"password", users[i][1]},
                         {"estado", i == 3 ? 0 : 1},
                         {"Admin", i == 0 ? 1 : 0},
                         {"categorizacion", 0},
                         {"reportes", QString::fromLatin1(users[i][2]).toInt()}});

    add("empleados", {{"Id", 1}, {"numero", 7}, {"APELLIDOS", "Gomez"}, {"NOMBRES", "Juan"}});
    add("clientes", {{"Id", 1}, {"nombres", "Cliente Uno"}, {"estado", 1}});
    for (int i = 1; i <= 3; ++i)
        add("mesas", {{"Id", i}, {"nombre", QStringLiteral("Mesa %1").arg(i)}});

    add("rubros", {{"IdR", 1}, {"descripcion", "Pizzas"}, {"estado", 1}});
    add("rubros", {{"IdR", 2}, {"descripcion", "Bebidas"}, {"estado", 1}});
    add("rubros", {{"IdR", 3}, {"descripcion", "Postres"}, {"estado", 0}});
    add("productos", {{"Id", 10}, {"nombre", "Muzzarella"}, {"estado", 1}, {"idrubro", 1}});
    add("productos", {{"Id", 11}, {"nombre", "Napolitana"}, {"estado", 1}, {"idrubro", 1}});
    add("productos", {{"Id", 20}, {"nombre", "Agua"}, {"estado", 1}, {"idrubro", 2}});
    add("productos", {{"Id", 30}, {"nombre", "Flan"}, {"estado", 0}, {"idrubro", 3}});

    // Shifts: 101 and 102 closed on 1 December 2026, 103 still open.
    add("sesion", {{"Idsesion", 1},
                   {"NROTURNO", 101},
                   {"fechaapertura", day(2026, 12, 1)},
                   {"horaapertura", time(8, 0)},
                   {"fechacierre", day(2026, 12, 1)},
                   {"horacierre", time(16, 0)},
                   {"idcajeroapertura", 2},
                   {"idcajerocierre", 2},
                   {"TotalGeneral", 2300.0}});
    add("sesion", {{"Idsesion", 2},
                   {"NROTURNO", 102},
                   {"fechaapertura", day(2026, 12, 1)},
                   {"horaapertura", time(16, 0)},
                   {"fechacierre", day(2026, 12, 2)},
                   {"horacierre", time(0, 30)},
                   {"idcajeroapertura", 2},
                   {"idcajerocierre", 1},
                   {"TotalGeneral", 1000.0}});
    add("sesion", {{"Idsesion", 3},
                   {"NROTURNO", 103},
                   {"fechaapertura", day(2026, 12, 2)},
                   {"horaapertura", time(8, 0)},
                   {"fechacierre", null},
                   {"horacierre", null},
                   {"idcajeroapertura", 2},
                   {"idcajerocierre", null},
                   {"TotalGeneral", 0.0}});

    // Sales: 1 closed (A), 2 voided (B), 3 closed (X) in the evening shift, 4 open without ticket.
    struct Sale {
        int id, shift, estado;
        const char* letter;
        const char* ticket;
        double total;
        int hour, minute;
    };
    const Sale sales[] = {{1, 1, 2, "A", "00000001", 1500, 12, 30},
                          {2, 1, 3, "B", "00000002", 600, 13, 0},
                          {3, 2, 2, "X", "00000003", 1000, 20, 15},
                          {4, 3, 1, "", "", 1000, 0, 0}};
    for (const Sale& s : sales) {
        const bool open = s.estado == 1;
        const Variant date = s.id == 4 ? day(2026, 12, 2) : day(2026, 12, 1);
        add("ventas", {{"Idventa", s.id},
                       {"idsesion", s.shift},
                       {"fechacaja", date},
                       {"fecha", date},
                       {"SF_FECHA", open ? null : date},
                       {"SF_hora", open ? null : time(s.hour, s.minute)},
                       {"horaapertura", time(open ? 9 : s.hour, 0)},
                       {"horacierre", open ? null : time(s.hour, s.minute + 5)},
                       {"estado", s.estado},
                       {"TIPOFACTURA", open ? null : Variant(s.letter)},
                       {"NUMEROTICKET", open ? null : Variant(s.ticket)},
                       {"NUMEROSUC", 1},
                       {"SF_total", open ? 0.0 : s.total},
                       {"total", s.total},
                       {"subtotal", s.total},
                       {"descuento", 0.0},
                       {"montopagado", open ? 0.0 : s.total},
                       {"dinerodevuelto", 0.0},
                       {"facturasacada", open ? 0 : 1},
                       {"facturaimpresa", open ? 0 : 1},
                       {"reemplazadoporid", 0},
                       {"smesa", QString::number(s.id + 4)},
                       {"tmesa", 1},
                       {"idmesa", s.id == 4 ? 2 : 1},
                       {"idusuario", 2},
                       {"idcliente", 1},
                       {"idmozo", 1},
                       {"apellidos", "Perez"},
                       {"nombres", "Maria"},
                       {"tipo", 0}});
    }

    // Lines: id, sale, hour, minute, quantity, product id, name, unit price.
    struct Line {
        int id, sale, hour, minute;
        double quantity;
        int product;
        const char* name;
        double price;
    };
    const Line lines[] = {{1, 1, 12, 5, 2, 10, "Muzzarella", 500},
                          {2, 1, 12, 10, 1, 20, "Agua", 500},
                          {3, 2, 12, 50, 1, 11, "Napolitana", 600},
                          {4, 3, 20, 0, 2, 10, "Muzzarella", 500},
                          {5, 4, 9, 10, 2, 20, "Agua", 500}};
    for (const Line& l : lines)
        add("ventasdetail", {{"IDVENTADETAIL", l.id},
                             {"IDVENTA", l.sale},
                             {"HORA", time(l.hour, l.minute)},
                             {"fecha", l.sale == 4 ? day(2026, 12, 2) : day(2026, 12, 1)},
                             {"CANTIDAD", l.quantity},
                             {"NOMBREARTICULO", l.name},
                             {"MONTO", l.price},
                             {"estado", 0},
                             {"idproducto", l.product},
                             {"idmozo", 1},
                             {"noimprimir", null}});
    add("VentasDetailObservaciones",
        {{"IDVENTADETAIL", 1}, {"idobservacion", 1}, {"PRECIO", 0.0}, {"concepto", "Sin sal"}});

    // A Napolitana deleted from sale 1 after its ticket's time was not yet printed (12:20 < 12:30).
    add("Quenbrook", {{"id", 1},
                      {"IDVENTA", 1},
                      {"IDVENTADETAIL", 6},
                      {"caja", 1},
                      {"Fecha", day(2026, 12, 1)},
                      {"HORA", time(12, 20)},
                      {"CANTIDAD", 1.0},
                      {"PRODUCTO", "Napolitana"},
                      {"IMPORTE", 600.0},
                      {"PREPARACION", time(0, 10)},
                      {"DEMORA", time(0, 2)},
                      {"TIPO", "PRODUCTO"},
                      {"MOTIVO", "Error de carga"},
                      {"usuario", "ana"},
                      {"mozo", 1},
                      {"mesa", 5},
                      {"idproducto", 11}});
    add("auditoria", {{"idventa", 2}, {"codigo", 21}, {"usuario", "admin"}, {"motivo", "Cliente se fue"}});
}

} // namespace posdb

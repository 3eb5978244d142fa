#include "PosFixture.h"

#include "Files.h"

#include "data/Recordset.h"
#include "runtime/Format.h"
#include "runtime/Program.h"

#include <QDir>
#include <QFile>

#include <sqlite3.h>

using runtime::Variant;

namespace {

// The given values over the defaults; a value given for a default column replaces it.
posdb::Row merged(posdb::Row defaults, const posdb::Row& more) {
    for (const auto& value : more) {
        bool replaced = false;
        for (auto& d : defaults) {
            if (d.first.compare(value.first, Qt::CaseInsensitive) == 0) {
                d.second = value.second;
                replaced = true;
            }
        }
        if (!replaced) defaults.append(value);
    }
    return defaults;
}

} // namespace

PosFixture::PosFixture(bool sampleData) : m_previousPath(runtime::App::path()) {
    QDir(root()).mkpath(QStringLiteral("db"));
    QDir(root()).mkpath(QStringLiteral("prog/bin"));
    writeIni("Directorio|" + root().toUtf8() + "\r\n");
    posdb::createMainDatabase(mainFile());
    posdb::createSpoolerDatabase(spoolerFile());
    if (sampleData) posdb::seedSampleData(db());
    runtime::App::setPath(programFolder());
}

PosFixture::~PosFixture() {
    m_db.reset();
    m_spooler.reset();
    runtime::App::setPath(m_previousPath);
}

QString PosFixture::root() const {
    return m_dir.path();
}
QString PosFixture::programFolder() const {
    return root() + QStringLiteral("/prog/bin");
}
QString PosFixture::mainFile() const {
    return root() + QStringLiteral("/db/db.mdb");
}
QString PosFixture::spoolerFile() const {
    return root() + QStringLiteral("/spooler.mdb");
}
QString PosFixture::iniFile() const {
    return root() + QStringLiteral("/bases.ini");
}

void PosFixture::writeIni(const QByteArray& content) {
    QFile file(iniFile());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(content);
}

QString PosFixture::sqlServerFile() const {
    return root() + QStringLiteral("/db/pos.mdf");
}

void PosFixture::useSqlServer() {
    posdb::copyAsSqlServer(mainFile(), sqlServerFile());
    writeIni("Directorio|" + root().toUtf8() + "\r\nDBKIND|2\r\nCONNSTRING|" +
             posdb::sqlServerConnectionString(sqlServerFile()).toUtf8() + "\r\n");
}

data::ConnectionPtr PosFixture::sqlServer() {
    auto connection = std::make_shared<data::Connection>();
    connection->open(posdb::sqlServerConnectionString(sqlServerFile()));
    return connection;
}

QByteArray PosFixture::inRollbackJournal(const QString& file) {
    m_db.reset();
    m_spooler.reset();
    sqlite3* db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    sqlite3_exec(db, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return fileContents(file);
}

data::ConnectionPtr PosFixture::db() {
    if (!m_db) m_db = posdb::openJet(mainFile());
    return m_db;
}

data::ConnectionPtr PosFixture::spooler() {
    if (!m_spooler) m_spooler = posdb::openJet(spoolerFile());
    return m_spooler;
}

qint64 PosFixture::insert(const QString& table, const posdb::Row& row) {
    return posdb::insertRow(db(), table, row);
}

void PosFixture::exec(const QString& sql) {
    db()->execute(sql);
}

QVector<QVector<Variant>> PosFixture::rows(const QString& sql, data::ConnectionPtr on) {
    return posdb::rows(on ? on : db(), sql);
}

Variant PosFixture::scalar(const QString& sql, data::ConnectionPtr on) {
    const auto result = rows(sql, std::move(on));
    return result.isEmpty() || result[0].isEmpty() ? Variant() : result[0][0];
}

qint64 PosFixture::addUser(const QString& apodo, const QString& password, const posdb::Row& more) {
    return insert(QStringLiteral("usuarios"), merged({{"apodo", apodo},
                                                      {"password", password},
                                                      {"estado", 1},
                                                      {"Admin", 0},
                                                      {"categorizacion", 0},
                                                      {"reportes", 1}},
                                                     more));
}

qint64 PosFixture::addShift(int nroturno, const Variant& opening, const Variant& openingTime,
                            const posdb::Row& more) {
    return insert(QStringLiteral("sesion"), merged({{"NROTURNO", nroturno},
                                                    {"fechaapertura", opening},
                                                    {"horaapertura", openingTime},
                                                    {"idcajeroapertura", 2},
                                                    {"TotalGeneral", 0.0}},
                                                   more));
}

qint64 PosFixture::addSale(int idsesion, const Variant& fecha, const posdb::Row& more) {
    return insert(QStringLiteral("ventas"), merged({{"idsesion", idsesion},
                                                    {"fechacaja", fecha},
                                                    {"fecha", fecha},
                                                    {"SF_FECHA", fecha},
                                                    {"SF_hora", posdb::time(12, 0)},
                                                    {"horaapertura", posdb::time(11, 30)},
                                                    {"horacierre", posdb::time(12, 5)},
                                                    {"estado", 2},
                                                    {"TIPOFACTURA", "B"},
                                                    {"NUMEROTICKET", "00000100"},
                                                    {"NUMEROSUC", 1},
                                                    {"SF_total", 0.0},
                                                    {"total", 0.0},
                                                    {"facturasacada", 1},
                                                    {"facturaimpresa", 1},
                                                    {"reemplazadoporid", 0},
                                                    {"smesa", "1"},
                                                    {"tmesa", 1},
                                                    {"idmesa", 1},
                                                    {"idusuario", 2},
                                                    {"idmozo", 1},
                                                    {"tipo", 0}},
                                                   more));
}

qint64 PosFixture::addLine(qint64 idventa, const QString& articulo, double cantidad, double monto,
                           const posdb::Row& more) {
    const Variant fecha = scalar(QStringLiteral("select fecha from ventas where idventa = %1").arg(idventa));
    return insert(QStringLiteral("ventasdetail"),
                  merged({{"IDVENTA", Variant(std::int64_t(idventa))},
                          {"HORA", posdb::time(11, 45)},
                          {"fecha", fecha.isEmpty() ? Variant::null() : fecha},
                          {"CANTIDAD", cantidad},
                          {"NOMBREARTICULO", articulo},
                          {"MONTO", monto},
                          {"estado", 0},
                          {"idproducto", 10},
                          {"idmozo", 1}},
                         more));
}

qint64 PosFixture::addDeletion(qint64 idventa, const QString& producto, double cantidad, double importe,
                               const posdb::Row& more) {
    const auto sale =
        rows(QStringLiteral("select idsesion, fecha from ventas where idventa = %1").arg(idventa));
    return insert(QStringLiteral("Quenbrook"),
                  merged({{"IDVENTA", Variant(std::int64_t(idventa))},
                          {"caja", sale.isEmpty() ? Variant::null() : sale[0][0]},
                          {"Fecha", sale.isEmpty() ? Variant::null() : sale[0][1]},
                          {"HORA", posdb::time(11, 50)},
                          {"CANTIDAD", cantidad},
                          {"PRODUCTO", producto},
                          {"IMPORTE", importe},
                          {"PREPARACION", posdb::time(0, 5)},
                          {"DEMORA", posdb::time(0, 0)},
                          {"TIPO", "PRODUCTO"},
                          {"MOTIVO", "Error"},
                          {"usuario", "ana"},
                          {"mozo", 1},
                          {"mesa", 1},
                          {"idproducto", 10}},
                         more));
}

void PosFixture::setSetting(const QString& clave, const QString& valor) {
    insert(QStringLiteral("REGISTRY"), {{"CLAVE", clave}, {"VALOR", valor}});
}

QStringList tmpreportTexts(const QVector<QVector<runtime::Variant>>& rows) {
    static const QSet<int> times = {2, 4, 5, 18, 22, 23};
    QStringList out;
    for (const auto& row : rows) {
        QStringList cells;
        for (int i = 0; i < row.size(); ++i)
            cells << (times.contains(i + 1) && !row[i].isNull()
                          ? runtime::Format(row[i], QStringLiteral("hh:nn:ss"))
                          : row[i].toText());
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

QString integrityCheck(const QString& file) {
    sqlite3* db = nullptr;
    QString result;
    if (sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr);
        while (stmt && sqlite3_step(stmt) == SQLITE_ROW)
            result += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        sqlite3_finalize(stmt);
    }
    if (result.isEmpty()) result = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_close(db);
    return result;
}

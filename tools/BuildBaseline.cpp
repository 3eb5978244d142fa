#include "BuildBaseline.h"
#include "BenchSupport.h"

#include "data/JetFunctions.h"
#include "runtime/RuntimeError.h"

#include <QCryptographicHash>

#include <sqlite3.h>

#include <charconv>
#include <cstring>
#include <string>

using namespace bench;

namespace {

bool textIs(sqlite3_stmt* s, int column, const char* text) {
    const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
    return value && std::strcmp(value, text) == 0;
}

// The sale's row of tmpreport: its columns, the table with its kind's prefix, the date when the
// shift's date is missing.
void bindSale(sqlite3_stmt* insert, sqlite3_stmt* sales) {
    for (int c = 0; c < 16; ++c)
        sqlite3_bind_value(insert, c + 1, sqlite3_column_value(sales, c));
    const int tmesa = sqlite3_column_int(sales, 15);
    const char* smesa = reinterpret_cast<const char*>(sqlite3_column_text(sales, 2));
    const std::string mesa = std::string(tmesa == 0   ? ""
                                         : tmesa == 1 ? "T/"
                                         : tmesa == 2 ? "D/"
                                                      : "-") +
                             (smesa ? smesa : "");
    sqlite3_bind_text(insert, 3, mesa.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_column_type(sales, 12) == SQLITE_NULL)
        sqlite3_bind_value(insert, 13, sqlite3_column_value(sales, 13));
}

// The user and motive of a line's deletion from the audit trail, blank when it has none.
void bindAudit(sqlite3_stmt* insert, sqlite3_stmt* audit, long long line) {
    sqlite3_bind_int64(audit, 1, line);
    const bool found = sqlite3_step(audit) == SQLITE_ROW;
    auto text = [&](int c) {
        const char* t = found ? reinterpret_cast<const char*>(sqlite3_column_text(audit, c)) : nullptr;
        return t ? t : "";
    };
    sqlite3_bind_text(insert, 27, text(0), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 25, text(1), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 26, text(1), -1, SQLITE_TRANSIENT);
    sqlite3_reset(audit);
}

} // namespace

struct BuildBaseline::Statements {
    sqlite3* db = nullptr;
    sqlite3* spooler = nullptr;
    sqlite3_stmt* cashDates = nullptr;
    sqlite3_stmt* clear = nullptr;
    sqlite3_stmt* sales = nullptr;
    sqlite3_stmt* deleted = nullptr;
    sqlite3_stmt* detail = nullptr;
    sqlite3_stmt* audit = nullptr;
    sqlite3_stmt* insert = nullptr;

    ~Statements() {
        for (sqlite3_stmt* s : {cashDates, clear, sales, deleted, detail, audit, insert})
            sqlite3_finalize(s);
        sqlite3_close(spooler);
        sqlite3_close(db);
    }
};

BuildBaseline::BuildBaseline(const QString& mainFile, const QString& spoolerFile)
    : m(std::make_unique<Statements>()) {
    m->db = openFile(mainFile);
    m->spooler = openFile(spoolerFile);
    exec(m->spooler, "PRAGMA synchronous=OFF"); // as the program opens its scratch database
    data::registerJetFunctions(m->db);          // First and Last in stored order
    m->cashDates = prepare(m->db, "SELECT * FROM ventas WHERE fechacaja IS NULL");
    m->clear = prepare(m->spooler, "DELETE FROM tmpreport");
    m->sales = prepare(
        m->db,
        "SELECT ventas.Idventa, ventas.SF_hora, ventas.smesa, ventas.horaapertura, ventas.horacierre, "
        "ventas.estado, ventas.TIPOFACTURA, ventas.NUMEROTICKET, ventas.SF_total, ventas.facturasacada, "
        "ventas.facturaimpresa, ventas.estado, ventas.SF_FECHA, ventas.fecha, usuarios.apodo, ventas.tmesa "
        "FROM (ventas LEFT JOIN mesas ON ventas.idmesa = mesas.Id) LEFT JOIN usuarios ON ventas.idusuario = "
        "usuarios.Id WHERE ventas.fecha BETWEEN ?1 AND ?2 AND (ventas.reemplazadoporid = 0 OR "
        "ventas.reemplazadoporid IS NULL OR ventas.estado <> 3) ORDER BY ventas.sf_fecha, ventas.sf_hora");
    m->deleted = prepare(m->db, "SELECT * FROM Quenbrook WHERE idventa = ?1");
    m->detail = prepare(
        m->db, "SELECT IDVENTA, IDVENTADETAIL, HORA, CANTIDAD, PRODUCTO, IMPORTE, PREPARACION, DEMORA, TIPO, "
               "MOTIVO, usuario, 2 AS estado, idproducto FROM Quenbrook WHERE IDVENTA = ?1 AND cantidad > 0 "
               "UNION SELECT VENTASDETAIL.IDVENTA, jet_first(VENTASDETAIL.IDVENTADETAIL), "
               "jet_last(VENTASDETAIL.HORA), sum(VENTASDETAIL.CANTIDAD), VENTASDETAIL.NOMBREARTICULO, "
               "VENTASDETAIL.MONTO, 0, 0, 'ADIC', '', '', estado, idproducto FROM VENTASDETAIL "
               "WHERE VENTASDETAIL.IDVENTA = ?1 GROUP BY VENTASDETAIL.IDVENTA, VENTASDETAIL.NOMBREARTICULO, "
               "VENTASDETAIL.MONTO, estado, idproducto ORDER BY hora, tipo");
    m->audit = prepare(m->db, "SELECT usuario, motivo FROM auditoria WHERE idventa = ?1 AND codigo = 21");
    std::string insert = "INSERT INTO tmpreport (";
    for (int i = 1; i <= 28; ++i)
        insert += (i > 1 ? ",campo" : "campo") + std::to_string(i);
    insert += ") VALUES (";
    for (int i = 1; i <= 28; ++i)
        insert += i > 1 ? ",?" : "?";
    insert += ")";
    m->insert = prepare(m->spooler, insert.c_str());
}

BuildBaseline::~BuildBaseline() = default;

long BuildBaseline::run(double desde, double hasta) {
    sqlite3_stmt* const sales = m->sales;
    sqlite3_stmt* const deleted = m->deleted;
    sqlite3_stmt* const detail = m->detail;
    sqlite3_stmt* const audit = m->audit;
    sqlite3_stmt* const insert = m->insert;
    auto save = [&] {
        if (sqlite3_step(insert) != SQLITE_DONE) failOn(m->spooler);
        sqlite3_reset(insert);
        sqlite3_clear_bindings(insert);
    };

    // The cash dates: none left to fill by the time the build is measured.
    while (sqlite3_step(m->cashDates) == SQLITE_ROW) {
    }
    sqlite3_reset(m->cashDates);

    exec(m->spooler, "BEGIN");
    sqlite3_step(m->clear);
    sqlite3_reset(m->clear);

    long written = 0;
    long long lastSupplemented = 0;
    sqlite3_bind_double(sales, 1, desde);
    sqlite3_bind_double(sales, 2, hasta);
    while (sqlite3_step(sales) == SQLITE_ROW) {
        const long long id = sqlite3_column_int64(sales, 0);
        const bool noState = sqlite3_column_type(sales, 5) == SQLITE_NULL;
        const int estado = sqlite3_column_int(sales, 5);
        sqlite3_bind_int64(deleted, 1, id);
        const bool hasDeleted = sqlite3_step(deleted) == SQLITE_ROW;
        sqlite3_reset(deleted);
        if (estado != 3 && !hasDeleted) continue;

        bool header = false;
        std::string motive;
        sqlite3_bind_int64(detail, 1, id);
        while (sqlite3_step(detail) == SQLITE_ROW) {
            if (!header && !noState && estado != 1) {
                header = true;
                bindSale(insert, sales);
                save();
                ++written;
            }
            if (textIs(detail, 8, "ITEM")) {
                const char* text = reinterpret_cast<const char*>(sqlite3_column_text(detail, 9));
                motive = text ? text : "";
            } else if (sqlite3_column_type(detail, 8) != SQLITE_NULL) {
                for (int c = 0; c < 13; ++c)
                    sqlite3_bind_value(insert, 16 + c, sqlite3_column_value(detail, c));
                sqlite3_bind_value(insert, 1, sqlite3_column_value(detail, 0));
                sqlite3_bind_value(insert, 27, sqlite3_column_value(detail, 10));
                if (estado == 3) sqlite3_bind_text(insert, 24, "ANULADO", -1, SQLITE_STATIC);
                sqlite3_bind_text(insert, 25, motive.c_str(), -1, SQLITE_TRANSIENT);
                sqlite3_bind_text(insert, 26, motive.c_str(), -1, SQLITE_TRANSIENT);
                const char* user = reinterpret_cast<const char*>(sqlite3_column_text(detail, 10));
                const long long line = sqlite3_column_int64(detail, 0);
                if ((!user || !*user) && motive.empty() && line != lastSupplemented) {
                    bindAudit(insert, audit, line);
                    lastSupplemented = line;
                }
                save();
                ++written;
                motive.clear();
            }
        }
        sqlite3_reset(detail);
    }
    sqlite3_reset(sales);
    exec(m->spooler, "COMMIT");
    return written;
}

QByteArray BuildBaseline::tmpreportDigest() {
    sqlite3_stmt* rows = prepare(m->spooler, "SELECT * FROM tmpreport ORDER BY rowid");
    QCryptographicHash hash(QCryptographicHash::Sha1);
    const int columns = sqlite3_column_count(rows);
    while (sqlite3_step(rows) == SQLITE_ROW) {
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(rows, c)) {
            case SQLITE_NULL:
                hash.addData("N|");
                break;
            case SQLITE_INTEGER:
            case SQLITE_FLOAT: {
                char digits[32];
                const auto end =
                    std::to_chars(digits, digits + sizeof digits, sqlite3_column_double(rows, c));
                hash.addData(QByteArrayView(digits, end.ptr - digits));
                hash.addData("|");
                break;
            }
            default:
                hash.addData(QByteArrayView(reinterpret_cast<const char*>(sqlite3_column_text(rows, c)),
                                            sqlite3_column_bytes(rows, c)));
                hash.addData("T|");
            }
        }
        hash.addData("\n");
    }
    sqlite3_finalize(rows);
    return hash.result();
}

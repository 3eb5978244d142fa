#include "BuildBaseline.h"

#include "data/JetFunctions.h"
#include "framework/TmpreportParametersWindow.h"

#include <sqlite3.h>

#include <cstring>
#include <string>

using namespace bench;

namespace {

const char* text(sqlite3_stmt* s, int column) {
    const auto* value = reinterpret_cast<const char*>(sqlite3_column_text(s, column));
    return value ? value : "";
}

const char* const SalesColumns =
    "SELECT ventas.Idventa, ventas.SF_hora, ventas.smesa, ventas.horaapertura, ventas.horacierre, "
    "ventas.estado, ventas.TIPOFACTURA, ventas.NUMEROTICKET, ventas.SF_total, ventas.facturasacada, "
    "ventas.facturaimpresa, ventas.estado, ventas.SF_FECHA, ventas.fecha, usuarios.apodo, ventas.tmesa "
    "FROM (ventas LEFT JOIN mesas ON ventas.idmesa = mesas.Id) LEFT JOIN usuarios ON ventas.idusuario = "
    "usuarios.Id WHERE ";
const char* const QuenbrookSales = "ventas.fecha BETWEEN ?1 AND ?2 AND (ventas.reemplazadoporid = 0 OR "
                                   "ventas.reemplazadoporid IS NULL OR ventas.estado <> 3) ORDER BY "
                                   "ventas.sf_fecha, ventas.sf_hora";
const char* const VelmarshSales =
    "ventas.tipofactura COLLATE NOCASE IN ('A','B','C','X') AND ventas.fecha BETWEEN ?1 AND ?2 AND "
    "(ventas.reemplazadoporid = 0 OR ventas.reemplazadoporid IS NULL AND ventas.estado = 3) ORDER BY "
    "ventas.sf_fecha, ventas.sf_hora";
const char* const DetailFirstPart =
    "SELECT IDVENTA, IDVENTADETAIL, HORA, CANTIDAD, PRODUCTO, IMPORTE, PREPARACION, DEMORA, TIPO, MOTIVO, "
    "usuario, 2 AS estado, idproducto FROM Quenbrook WHERE IDVENTA = ?1 AND cantidad > 0 UNION SELECT "
    "VENTASDETAIL.IDVENTA, jet_first(VENTASDETAIL.IDVENTADETAIL), jet_last(VENTASDETAIL.HORA), "
    "sum(VENTASDETAIL.CANTIDAD), VENTASDETAIL.NOMBREARTICULO, VENTASDETAIL.MONTO, 0, 0, 'ADIC', '', '', "
    "estado, "
    "idproducto FROM VENTASDETAIL WHERE VENTASDETAIL.IDVENTA = ?1 ";
const char* const DetailLastPart = "GROUP BY VENTASDETAIL.IDVENTA, VENTASDETAIL.NOMBREARTICULO, "
                                   "VENTASDETAIL.MONTO, estado, idproducto ORDER BY hora, tipo";

} // namespace

struct BuildBaseline::Statements {
    Program program;
    bool everySale;
    sqlite3* db = nullptr;
    sqlite3* spooler = nullptr;
    sqlite3_stmt* cashDates = nullptr;
    sqlite3_stmt* clear = nullptr;
    sqlite3_stmt* sales = nullptr;
    sqlite3_stmt* deleted = nullptr;
    sqlite3_stmt* detail = nullptr;
    sqlite3_stmt* audit = nullptr;
    sqlite3_stmt* insert = nullptr;
    long long lastSupplemented = 0;

    ~Statements() {
        for (sqlite3_stmt* s : {cashDates, clear, sales, deleted, detail, audit, insert})
            sqlite3_finalize(s);
        sqlite3_close(spooler);
        sqlite3_close(db);
    }
    void save() {
        if (sqlite3_step(insert) != SQLITE_DONE) failOn(spooler);
        sqlite3_reset(insert);
        sqlite3_clear_bindings(insert);
    }
    // The sale's 16 columns into campo1 to campo16, its date where it has no ticket date.
    void bindSale() {
        for (int c = 0; c < 16; ++c)
            sqlite3_bind_value(insert, c + 1, sqlite3_column_value(sales, c));
        if (sqlite3_column_type(sales, 12) == SQLITE_NULL)
            sqlite3_bind_value(insert, 13, sqlite3_column_value(sales, 13));
    }
};

BuildBaseline::BuildBaseline(Program program, const QString& mainFile, const QString& spoolerFile,
                             bool everySale)
    : m(std::make_unique<Statements>()) {
    m->program = program;
    m->everySale = everySale;
    m->db = openFile(mainFile);
    m->spooler = openFile(spoolerFile);
    exec(m->spooler, "PRAGMA synchronous=OFF"); // as the program opens its scratch database
    data::registerJetFunctions(m->db);          // First and Last in stored order
    const bool velmarsh = program == Program::Velmarsh;
    m->cashDates = prepare(m->db, "SELECT * FROM ventas WHERE fechacaja IS NULL");
    m->clear = prepare(m->spooler, "DELETE FROM tmpreport");
    m->sales =
        prepare(m->db, (std::string(SalesColumns) + (velmarsh ? VelmarshSales : QuenbrookSales)).c_str());
    m->deleted = prepare(m->db, "SELECT * FROM Quenbrook WHERE idventa = ?1");
    m->detail = prepare(
        m->db,
        (std::string(DetailFirstPart) + (velmarsh ? "AND idproducto <> -8 " : "") + DetailLastPart).c_str());
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

void BuildBaseline::writeSale(bool voided, bool headerRow, long& written) {
    sqlite3_stmt* const detail = m->detail;
    sqlite3_stmt* const insert = m->insert;
    const bool velmarsh = m->program == Program::Velmarsh;
    std::string motive;
    sqlite3_bind_int64(detail, 1, sqlite3_column_int64(m->sales, 0));
    while (sqlite3_step(detail) == SQLITE_ROW) {
        if (headerRow) {
            headerRow = false;
            m->bindSale();
            const int tmesa = sqlite3_column_int(m->sales, 15);
            const std::string mesa = std::string(tmesa == 0   ? ""
                                                 : tmesa == 1 ? "T/"
                                                 : tmesa == 2 ? "D/"
                                                              : "-") +
                                     text(m->sales, 2);
            sqlite3_bind_text(insert, 3, mesa.c_str(), -1, SQLITE_TRANSIENT);
            m->save();
            ++written;
        }
        if (std::strcmp(text(detail, 8), "ITEM") == 0) {
            motive = text(detail, 9);
            continue;
        }
        if (sqlite3_column_type(detail, 8) == SQLITE_NULL) continue;
        if (velmarsh) m->bindSale();
        for (int c = 0; c < 13; ++c)
            sqlite3_bind_value(insert, 16 + c, sqlite3_column_value(detail, c));
        sqlite3_bind_value(insert, 1, sqlite3_column_value(detail, 0));
        sqlite3_bind_value(insert, 27, sqlite3_column_value(detail, 10));
        if (voided) sqlite3_bind_text(insert, 24, "ANULADO", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 25, motive.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 26, motive.c_str(), -1, SQLITE_TRANSIENT);
        const long long line = sqlite3_column_int64(detail, 0);
        if (!*text(detail, 10) && motive.empty() && line != m->lastSupplemented) {
            sqlite3_stmt* const audit = m->audit;
            sqlite3_bind_int64(audit, 1, line);
            const bool found = sqlite3_step(audit) == SQLITE_ROW;
            sqlite3_bind_text(insert, 27, found ? text(audit, 0) : "", -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 25, found ? text(audit, 1) : "", -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 26, found ? text(audit, 1) : "", -1, SQLITE_TRANSIENT);
            sqlite3_reset(audit);
            m->lastSupplemented = line;
        }
        m->save();
        ++written;
        motive.clear();
    }
    sqlite3_reset(detail);
}

long BuildBaseline::run(double desde, double hasta) {
    // The cash dates: none left to fill by the time the build is measured.
    while (sqlite3_step(m->cashDates) == SQLITE_ROW) {
    }
    sqlite3_reset(m->cashDates);

    exec(m->spooler, "BEGIN");
    sqlite3_step(m->clear);
    sqlite3_reset(m->clear);

    long written = 0;
    m->lastSupplemented = 0;
    sqlite3_stmt* const sales = m->sales;
    sqlite3_bind_double(sales, 1, desde);
    sqlite3_bind_double(sales, 2, hasta);
    while (sqlite3_step(sales) == SQLITE_ROW) {
        const bool noState = sqlite3_column_type(sales, 5) == SQLITE_NULL;
        const int estado = sqlite3_column_int(sales, 5);
        if (m->program == Program::Velmarsh) {
            writeSale(estado == 3, false, written);
            continue;
        }
        sqlite3_bind_int64(m->deleted, 1, sqlite3_column_int64(sales, 0));
        const bool hasDeleted = sqlite3_step(m->deleted) == SQLITE_ROW;
        sqlite3_reset(m->deleted);
        if (estado == 3 || hasDeleted || m->everySale)
            writeSale(estado == 3, !noState && estado != 1, written);
    }
    sqlite3_reset(sales);
    return written;
}

void BuildBaseline::commit() {
    exec(m->spooler, "COMMIT");
}

TableRows BuildBaseline::rows() {
    return tableRows(m->spooler, "tmpreport");
}

void measureBuild(Bench& bench, const Step& step, framework::TmpreportParametersWindow& window,
                  QElapsedTimer& clock, const TimingHost& host, BuildBaseline& baseline, sqlite3* spooler,
                  double desde, double hasta) {
    TableRows programRows, baselineRows;
    bench.measure(
        step,
        [&] {
            clock.restart();
            window.LlenaInforme();
            const double time = seconds(host.defaultAt);
            programRows = tableRows(spooler, "tmpreport");
            return time;
        },
        [&] {
            const double time = timed([&] { baseline.run(desde, hasta); });
            baseline.commit();
            baselineRows = baseline.rows();
            return time;
        },
        [&] { return rowsDiffer(programRows, baselineRows); });
}

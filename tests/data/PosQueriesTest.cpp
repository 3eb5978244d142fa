// What the programs do with the recordsets of their texts on the Access kind: fields walked by
// position and name, rows updated and added, lists read whole. The rows of every text are in
// SqlTextsTest.

#include "data/Recordset.h"
#include "deleted_items/frmParametros.h"
#include "framework/ProgramSession.h"
#include "framework/SaleItems.h"
#include "framework/clsDataBase.h"
#include "framework/funciones.h"
#include "runtime/DateSerial.h"
#include "runtime/RuntimeError.h"
#include "support/LocaleScope.h"
#include "support/PosFixture.h"

#include <gtest/gtest.h>

using namespace framework;
using namespace quenbrook;

using runtime::Variant;
using Rows = QVector<QVector<Variant>>;

namespace {

Variant day(int y, int m, int d) {
    return posdb::day(y, m, d);
}

QDateTime moment(const Variant& v) {
    return runtime::toDateTime(v.toDate());
}
QTime clock(const Variant& v) {
    return runtime::toTime(v.toDate());
}

class PosQueries : public ::testing::Test {
protected:
    PosQueries() : m_locale("es_AR.UTF-8") {
        m_session.newDatabase().isMSSQL = false;
        cn = posdb::openJet(pos.mainFile());
        cn->setCursorLocation(data::adUseClient);
    }

    // The rows of a query opened with the provider's defaults on the client-side connection.
    Rows query(const QString& sql) { return pos.rows(sql, cn); }

    // Names of the result columns.
    QStringList names(const QString& sql) {
        data::Recordset rs;
        rs.open(sql, cn);
        QStringList result;
        for (int i = 0; i < rs.fieldCount(); ++i)
            result << rs.fields(i).name();
        return result;
    }

    LocaleScope m_locale;
    PosFixture pos;
    data::ConnectionPtr cn;
    ProgramSession m_session;
};

} // namespace

TEST_F(PosQueries, PermissionTestWalksEveryColumn) {
    data::Recordset rs;
    rs.open("SELECT * FROM USUARIOS WHERE ID = " + Variant(2).toString(), cn);
    EXPECT_EQ(rs.fields("Admin").value().toLong(), 0);
    QString permission;
    for (int i = 0; i < rs.fieldCount(); ++i)
        if (rs.fields(i).name().compare("REPORTES", Qt::CaseInsensitive) == 0)
            permission = rs.fields(i).value().toString();
    EXPECT_EQ(permission, "1");
}

TEST_F(PosQueries, CashDatesAreFilledThroughTheRecordset) {
    const qint64 sale = pos.addSale(2, day(2026, 12, 1), {{"fechacaja", Variant::null()}});
    data::Recordset rs;
    rs.open("select * from ventas where fechacaja is null ", cn, data::adOpenStatic, data::adLockOptimistic);
    ASSERT_EQ(rs.recordCount(), 1);
    while (!rs.eof()) {
        data::Recordset shift;
        shift.open("select fechaapertura from sesion where idsesion = " +
                       rs.fields("idsesion").value().toString(),
                   cn);
        rs.fields("fechacaja").setValue(shift.fields("fechaapertura").value());
        rs.update();
        rs.moveNext();
    }
    EXPECT_EQ(moment(pos.scalar(QString("select fechacaja from ventas where idventa = %1").arg(sale))),
              QDateTime(QDate(2026, 12, 1), QTime(0, 0)));
    EXPECT_THROW(pos.rows("select fechaapertura from sesion where idsesion = "), runtime::RuntimeError);
}

namespace {

QVector<long> ids(const Rows& rows, int column = 0) {
    QVector<long> result;
    for (const auto& row : rows)
        result.append(row[column].toLong());
    return result;
}

} // namespace

// The sales query gives its 16 columns, estado twice, its time columns as dates.
TEST_F(PosQueries, SalesQueryOfTheDeletedItemsReport) {
    data::Recordset rs;
    rs.open(deletedItemsSalesQuery("1", 0, 0, false), cn);
    ASSERT_EQ(rs.fieldCount(), 16);
    rs.moveLast();
    rs.moveFirst();
    EXPECT_EQ(rs.recordCount(), 2);
    EXPECT_EQ(rs.fields(5).name(), rs.fields(11).name());
    EXPECT_EQ(rs.fields("apodo").value().toString(), "ana");
    EXPECT_EQ(rs.fields("SF_hora").value().type(), Variant::Type::Date);
}

namespace {

QString detailQuery(long id, bool velmarsh) {
    return saleItemsQuery(QString::number(id), false, velmarsh);
}

} // namespace

TEST_F(PosQueries, DetailOfASaleJoinsDeletionsAndRemainingLines) {
    const QStringList expectedNames = {"IDVENTA", "IDVENTADETAIL", "HORA",      "CANTIDAD", "PRODUCTO",
                                       "IMPORTE", "PREPARACION",   "DEMORA",    "TIPO",     "MOTIVO",
                                       "usuario", "estado",        "idproducto"};
    EXPECT_EQ(names(detailQuery(1, false)), expectedNames);
    const Rows rows = query(detailQuery(1, false));
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0][4].toString(), "Muzzarella");
    EXPECT_EQ(rows[0][1].toLong(), 1);
    EXPECT_EQ(rows[0][3].toDouble(), 2);
    EXPECT_EQ(rows[0][8].toString(), "ADIC");
    EXPECT_TRUE(rows[0][2].isDate());
    EXPECT_EQ(clock(rows[0][2]), QTime(12, 5));
    EXPECT_EQ(rows[1][4].toString(), "Agua");
    EXPECT_EQ(rows[2][4].toString(), "Napolitana");
    EXPECT_EQ(rows[2][8].toString(), "PRODUCTO");
    EXPECT_EQ(rows[2][9].toString(), "Error de carga");
    EXPECT_EQ(rows[2][11].toLong(), 2);
    EXPECT_EQ(clock(rows[2][6]), QTime(0, 10));
}

TEST_F(PosQueries, ScratchTableIsEmptiedFilledAndReadInOrder) {
    auto spooler = pos.spooler();
    data::Recordset rs;
    rs.open("select * from tmpReport", spooler, data::adOpenStatic, data::adLockOptimistic);
    for (int id : {5, 3, 4}) {
        rs.addNew();
        rs.fields("campo1").setValue(id);
        rs.update();
    }
    rs.close();
    EXPECT_EQ(ids(pos.rows("select * from tmpreport", spooler)), (QVector<long>{5, 3, 4}));
    long affected = 0;
    spooler->execute("Delete from tmpreport", &affected);
    EXPECT_EQ(affected, 3);
    EXPECT_TRUE(pos.rows("select * from tmpreport", spooler).isEmpty());
}

TEST_F(PosQueries, ComboListsComeWholeThroughGetRows) {
    data::Recordset rs;
    rs.open("select idr,descripcion from rubros where estado = 1 order by descripcion", cn);
    ASSERT_FALSE(rs.bof() && rs.eof());
    rs.moveLast();
    rs.moveFirst();
    const auto block = rs.getRows(rs.recordCount());
    ASSERT_EQ(block.size(), 2);
    ASSERT_EQ(block[0].size(), 2);
    EXPECT_EQ(block[0][0].toLong(), 2);
    EXPECT_EQ(block[1][0].toString(), "Bebidas");
    EXPECT_EQ(block[1][1].toString(), "Pizzas");
    EXPECT_EQ(query("select id,nombres from clientes where estado = 1 order by nombres ").size(), 1);
}

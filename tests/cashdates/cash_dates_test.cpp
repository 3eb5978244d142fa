#include "framework/ProgramSession.h"
#include "framework/clsCajaHelpers.h"
#include "framework/clsDataBase.h"

#include "runtime/DateSerial.h"
#include "runtime/RuntimeError.h"
#include "support/PosFixture.h"
#include "support/ScriptedHost.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

using namespace framework;

namespace {

using posdb::day;
using posdb::time;
using runtime::Variant;
using std::chrono::milliseconds;

class CashDatesTest : public ::testing::Test {
protected:
    void SetUp() override { database.OpenAccess(); }

    // The cash date of a sale: its serial, or -1 when it has none.
    double cashDate(qint64 idventa) {
        const Variant value =
            fx.scalar(QStringLiteral("select fechacaja from ventas where idventa = %1").arg(idventa));
        return value.isNull() ? -1 : value.toDate();
    }

    // A connection of another program on db.mdb.
    std::unique_ptr<sqlite3, int (*)(sqlite3*)> other() {
        sqlite3* db = nullptr;
        sqlite3_open(fx.mainFile().toUtf8().constData(), &db);
        sqlite3_busy_timeout(db, 5000);
        // A first read opens the write-ahead log.
        sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
        return {db, sqlite3_close};
    }

    PosFixture fx;
    ScriptedHost host;
    ProgramSession session;
    clsDataBase& database = session.newDatabase();
};

TEST_F(CashDatesTest, SalesWithoutCashDateTakeTheOpeningDateOfTheirShift) {
    const qint64 shift = fx.addShift(201, day(2026, 12, 5), time(22, 0));
    const qint64 open = fx.addSale(int(shift), Variant::null());
    const qint64 dated = fx.addSale(int(shift), day(2026, 12, 6));
    const qint64 unknown = fx.addSale(999, Variant::null());
    const qint64 noShift = fx.addSale(0, Variant::null(), {{"idsesion", Variant::null()}});
    const qint64 after = fx.addSale(int(shift), Variant::null());
    for (int i = 0; i < 20; ++i)
        fx.addSale(int(shift), Variant::null());
    const auto db = other();
    ASSERT_EQ(sqlite3_wal_checkpoint_v2(db.get(), nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr),
              SQLITE_OK);

    clsCajaHelpers().generaFechaCaja();

    // One commit, not one per sale: fewer pages written to the log than sales updated.
    int logged = -1;
    sqlite3_wal_checkpoint_v2(db.get(), nullptr, SQLITE_CHECKPOINT_PASSIVE, &logged, nullptr);
    EXPECT_LT(logged, 20);

    EXPECT_EQ(cashDate(open), runtime::dateSerial(2026, 12, 5));
    EXPECT_EQ(cashDate(after), runtime::dateSerial(2026, 12, 5));
    EXPECT_EQ(cashDate(dated), runtime::dateSerial(2026, 12, 6));
    EXPECT_EQ(cashDate(unknown), -1);
    EXPECT_EQ(cashDate(noShift), -1);
    // The sample sales keep the cash dates they had.
    EXPECT_EQ(cashDate(1), runtime::dateSerial(2026, 12, 1));
    EXPECT_TRUE(host.boxes.isEmpty());
}

TEST_F(CashDatesTest, BetweenCommitsAnotherProgramReadsTheSalesDoneAndWrites) {
    const qint64 shift = fx.addShift(201, day(2026, 12, 5), time(22, 0));
    QVector<qint64> sales;
    for (int i = 0; i < 4; ++i)
        sales.append(fx.addSale(int(shift), Variant::null()));
    QVector<long> told;
    clsCajaHelpers(milliseconds(0)).generaFechaCaja([&](long done, long total) {
        told.append(done);
        EXPECT_EQ(total, sales.size());
        for (int i = 0; i < sales.size(); ++i)
            EXPECT_EQ(cashDate(sales[i]), i < done ? runtime::dateSerial(2026, 12, 5) : -1) << i;
        // No lock is held: the point-of-sale system writes at once.
        fx.exec(QStringLiteral("update ventas set total = %1 where idventa = 1").arg(done));
    });
    EXPECT_EQ(told, (QVector<long>{1, 2, 3, 4}));
    EXPECT_EQ(fx.scalar(QStringLiteral("select total from ventas where idventa = 1")).toDouble(), 4);
}

TEST_F(CashDatesTest, TheSalesUpdatedBeforeAFailureKeepTheirDate) {
    const qint64 shift = fx.addShift(201, day(2026, 12, 5), time(22, 0));
    const qint64 first = fx.addSale(int(shift), Variant::null());
    const qint64 second = fx.addSale(int(shift), Variant::null());
    const qint64 refused = fx.addSale(int(shift), Variant::null());
    const qint64 last = fx.addSale(int(shift), Variant::null());
    const QByteArray trigger =
        QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON ventas WHEN old.Idventa = "
                       "%1 BEGIN SELECT RAISE(ABORT, 'refused'); END")
            .arg(refused)
            .toUtf8();
    ASSERT_EQ(sqlite3_exec(other().get(), trigger.constData(), nullptr, nullptr, nullptr), SQLITE_OK);

    // One group for the whole pass.
    EXPECT_THROW(clsCajaHelpers(std::chrono::hours(1)).generaFechaCaja(), runtime::RuntimeError);
    EXPECT_EQ(cashDate(first), runtime::dateSerial(2026, 12, 5));
    EXPECT_EQ(cashDate(second), runtime::dateSerial(2026, 12, 5));
    EXPECT_EQ(cashDate(refused), -1);
    EXPECT_EQ(cashDate(last), -1);
}

TEST_F(CashDatesTest, FailureReachesTheCaller) {
    fx.addSale(1, Variant::null());
    database.dbaccess->close();
    EXPECT_THROW(clsCajaHelpers().generaFechaCaja(), runtime::RuntimeError);
}

} // namespace

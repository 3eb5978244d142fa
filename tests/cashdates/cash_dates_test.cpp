#include "framework/clsCajaHelpers.h"
#include "framework/clsDataBase.h"

#include "runtime/DateSerial.h"
#include "runtime/RuntimeError.h"
#include "support/PosFixture.h"
#include "support/ScriptedHost.h"

#include <gtest/gtest.h>

using namespace framework;

namespace {

using posdb::day;
using posdb::time;
using runtime::Variant;

class CashDatesTest : public ::testing::Test {
protected:
    void SetUp() override {
        gDB = &database;
        database.OpenAccess();
    }
    void TearDown() override { gDB = nullptr; }

    // The cash date of a sale: its serial, or -1 when it has none.
    double cashDate(qint64 idventa) {
        const Variant value =
            fx.scalar(QStringLiteral("select fechacaja from ventas where idventa = %1").arg(idventa));
        return value.isNull() ? -1 : value.toDate();
    }

    PosFixture fx;
    ScriptedHost host;
    clsDataBase database;
};

TEST_F(CashDatesTest, SalesWithoutCashDateTakeTheOpeningDateOfTheirShift) {
    const qint64 shift = fx.addShift(201, day(2026, 12, 5), time(22, 0));
    const qint64 open = fx.addSale(int(shift), Variant::null());
    const qint64 dated = fx.addSale(int(shift), day(2026, 12, 6));
    const qint64 unknown = fx.addSale(999, Variant::null());
    const qint64 noShift = fx.addSale(0, Variant::null(), {{"idsesion", Variant::null()}});
    const qint64 after = fx.addSale(int(shift), Variant::null());

    clsCajaHelpers().generaFechaCaja();

    EXPECT_EQ(cashDate(open), runtime::dateSerial(2026, 12, 5));
    EXPECT_EQ(cashDate(after), runtime::dateSerial(2026, 12, 5));
    EXPECT_EQ(cashDate(dated), runtime::dateSerial(2026, 12, 6));
    EXPECT_EQ(cashDate(unknown), -1);
    EXPECT_EQ(cashDate(noShift), -1);
    // The sample sales keep the cash dates they had.
    EXPECT_EQ(cashDate(1), runtime::dateSerial(2026, 12, 1));
    EXPECT_TRUE(host.boxes.isEmpty());
}

TEST_F(CashDatesTest, FailureReachesTheCaller) {
    fx.addSale(1, Variant::null());
    database.dbaccess->close();
    EXPECT_THROW(clsCajaHelpers().generaFechaCaja(), runtime::RuntimeError);
}

} // namespace

#include "QuenbrookTest.h"

#include "deleted_items/Quenbrook.h"
#include "forms/Form.h"
#include "framework/clsDataBase.h"
#include "runtime/DateSerial.h"
#include "support/LocaleScope.h"

using namespace framework;
using namespace quenbrook;

using runtime::Variant;

TEST_F(QuenbrookTest, TheWholeRoadOnTheSqlServerKindGivesTheRowsOfTheAccessKind) {
    LocaleScope locale("es_AR.UTF-8");
    auto build = [this] {
        frmParametros& window = logIn();
        setRange(window, posdb::day(2026, 12, 1), posdb::day(2026, 12, 1));
        verListado(window);
        const auto rows = tmpreport();
        install(quenbrook::program());
        forms::unloadAll();
        return rows;
    };
    const auto access = build();
    EXPECT_FALSE(gDB->isMSSQL);
    fx.useSqlServer();
    const auto server = build();
    EXPECT_TRUE(gDB->isMSSQL);
    ASSERT_EQ(server.size(), 6);
    EXPECT_EQ(tmpreportTexts(server), tmpreportTexts(access));
    EXPECT_EQ(errorLog(), "");
    // The login was recorded on the server, its time on the server's day 0.
    const auto logins = fx.rows("select fecha, hora from UsuariosPasadas order by id", fx.sqlServer());
    ASSERT_EQ(logins.size(), 2);
    EXPECT_EQ(runtime::toDateTime(logins[1][1].toDate()), QDateTime(QDate(1900, 1, 1), QTime(10, 30, 15)));
}

#include "VelmarshTest.h"

#include "invoice_lines/Velmarsh.h"

#include "forms/Form.h"
#include "framework/clsDataBase.h"
#include "support/LocaleScope.h"

#include <QLineEdit>

using runtime::Variant;

TEST_F(VelmarshTest, TheWholeRoadOnTheSqlServerKindGivesTheRowsOfTheAccessKindAndStoresTheLabel) {
    LocaleScope locale("es_AR.UTF-8");
    auto build = [this] {
        restart();
        velmarsh::frmParametros& window = logIn();
        window.txtEtiqueta.setText(QStringLiteral("BARRA"));
        verListado(window, posdb::day(2026, 12, 1), posdb::day(2026, 12, 1));
        const auto rows = tmpreport();
        framework::gDB->DBSaveSetting(QStringLiteral("CSNETIQUETA"), window.txtEtiqueta.text());
        return rows;
    };
    const auto access = build();
    fx.exec("delete from REGISTRY");
    fx.useSqlServer();
    const auto server = build();
    EXPECT_TRUE(framework::gDB->isMSSQL);
    ASSERT_EQ(server.size(), 5);
    EXPECT_EQ(tmpreportTexts(server), tmpreportTexts(access));
    EXPECT_TRUE(errorLog().isEmpty());
    // The label went to the server's REGISTRY, and comes back at the next start.
    EXPECT_EQ(fx.rows("select VALOR from REGISTRY", fx.sqlServer()).value(0).value(0).toText(), "BARRA");
    restart();
    EXPECT_EQ(logIn().txtEtiqueta.text(), "BARRA");
}

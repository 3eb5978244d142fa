#include "VelmarshTest.h"

#include "invoice_lines/Velmarsh.h"

#include "forms/Form.h"
#include "framework/clsDataBase.h"
#include "runtime/Format.h"
#include "support/LocaleScope.h"

#include <QLineEdit>

using runtime::Variant;

namespace {

// tmpreport as texts; times as clock times, since a time alone lies on 30 December 1899 in
// an Access file and on 1 January 1900 on SQL Server.
QStringList texts(const QVector<QVector<Variant>>& rows) {
    static const QSet<int> times = {2, 4, 5, 18, 22, 23};
    QStringList out;
    for (const auto& row : rows) {
        QStringList cells;
        for (int i = 0; i < row.size(); ++i)
            cells << (times.contains(i + 1) && !row[i].isNull()
                          ? runtime::Format(row[i], QStringLiteral("hh:nn:ss"))
                          : row[i].toText());
        out << cells.join('|');
    }
    return out;
}

} // namespace

TEST_F(VelmarshTest, TheWholeRoadOnTheSqlServerKindGivesTheRowsOfTheAccessKindAndStoresTheLabel) {
    LocaleScope locale("es_AR.UTF-8");
    auto build = [this] {
        velmarsh::frmParametros& window = logIn();
        window.txtEtiqueta.setText(QStringLiteral("BARRA"));
        verListado(window, posdb::day(2026, 12, 1), posdb::day(2026, 12, 1));
        const auto rows = tmpreport();
        framework::gDB->DBSaveSetting(QStringLiteral("CSNETIQUETA"), window.txtEtiqueta.text());
        framework::install(velmarsh::program());
        forms::unloadAll();
        return rows;
    };
    const auto access = build();
    fx.exec("delete from REGISTRY");
    fx.useSqlServer();
    const auto server = build();
    EXPECT_TRUE(framework::gDB->isMSSQL);
    ASSERT_EQ(server.size(), 5);
    EXPECT_EQ(texts(server), texts(access));
    EXPECT_TRUE(errorLog().isEmpty());
    // The label went to the server's REGISTRY, and comes back at the next start.
    EXPECT_EQ(fx.rows("select VALOR from REGISTRY", fx.sqlServer()).value(0).value(0).toText(), "BARRA");
    EXPECT_EQ(logIn().txtEtiqueta.text(), "BARRA");
}

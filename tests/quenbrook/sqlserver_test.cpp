#include "QuenbrookTest.h"

#include "deleted_items/Quenbrook.h"
#include "deleted_items/frmPListado.h"
#include "forms/Form.h"
#include "framework/clsDataBase.h"
#include "framework/frmSeleccionaTurno.h"
#include "runtime/DateSerial.h"
#include "support/LocaleScope.h"
#include "support/UserInput.h"

#include <QRegularExpression>
#include <QTimer>

using namespace framework;
using namespace quenbrook;

using runtime::Variant;

TEST_F(QuenbrookTest, TheWholeRoadOnTheSqlServerKindGivesTheRowsOfTheAccessKind) {
    LocaleScope locale("es_AR.UTF-8");
    // A range of days, then turn 101 chosen in the shift chooser: tmpreport after each, and the
    // chooser's list as the user reads it.
    struct Road {
        QVector<QVector<Variant>> range, shift;
        QStringList shifts;
    };
    auto build = [this] {
        restart();
        Road road;
        frmParametros& window = logIn();
        firstOfDecember(window);
        road.range = tmpreport();
        QTimer::singleShot(0, [&road] {
            frmSeleccionaTurno& chooser = forms::instance<frmSeleccionaTurno>();
            chooser.DTPicker1.setValue(posdb::day(2026, 12, 1));
            chooser.DTPicker2.setValue(posdb::day(2026, 12, 2));
            EXPECT_TRUE(user::click(chooser.cmdTurno.widget()));
            for (int r = 0; r < chooser.grdTurnos.rows(); ++r)
                for (int c = 0; c < chooser.grdTurnos.cols(); ++c)
                    road.shifts << chooser.grdTurnos.textMatrix(r, c);
            EXPECT_TRUE(user::clickCell(chooser.grdTurnos, 3, 1));
            EXPECT_TRUE(user::click(chooser.cmdOk.widget()));
        });
        EXPECT_TRUE(user::click(window.cmdTurno.widget()));
        verListado(window);
        road.shift = tmpreport();
        return road;
    };
    const Road access = build();
    EXPECT_FALSE(gDB->isMSSQL);
    fx.useSqlServer();
    const Road server = build();
    EXPECT_TRUE(gDB->isMSSQL);
    ASSERT_EQ(server.range.size(), 6);
    EXPECT_EQ(tmpreportTexts(server.range), tmpreportTexts(access.range));
    EXPECT_TRUE(server.shifts.contains("01/12/26 16:00"));
    EXPECT_EQ(server.shifts, access.shifts);
    EXPECT_FALSE(server.shift.isEmpty());
    EXPECT_EQ(tmpreportTexts(server.shift), tmpreportTexts(access.shift));
    EXPECT_EQ(errorLog(), "");
    // The login was recorded on the server, its time on the server's day 0.
    const auto logins = fx.rows("select fecha, hora from UsuariosPasadas order by id", fx.sqlServer());
    ASSERT_EQ(logins.size(), 2);
    EXPECT_EQ(runtime::toDateTime(logins[1][1].toDate()), QDateTime(QDate(1900, 1, 1), QTime(10, 30, 15)));
}

TEST_F(QuenbrookTest, TheListingsOnTheSqlServerKind) {
    LocaleScope locale("es_AR.UTF-8");
    // The deleted products of 1 December as the grid shows them; the sales listing's cells.
    auto listings = [this] {
        restart();
        logIn();
        QStringList cells;
        for (const QString mode : {"Quenbrook", "InfVentas"}) {
            QString name = mode;
            frmPListado& window = forms::instance<frmPListado>();
            EXPECT_FALSE(window.Listado(name));
            window.dtdesde.setValue(posdb::day(2026, 12, 1));
            window.dthasta.setValue(posdb::day(2026, 12, 1));
            EXPECT_TRUE(user::click(window.OKButton.widget()));
            for (int r = 0; r < window.g.rows(); ++r)
                for (int c = 0; c < window.g.cols(); ++c)
                    cells << mode + ':' + window.g.textMatrix(r, c);
            window.unload();
        }
        return cells;
    };
    const QStringList access = listings();
    EXPECT_EQ(errorLog(), "");
    fx.useSqlServer();
    const QStringList server = listings();
    EXPECT_TRUE(access.contains("Quenbrook:Napolitana"));
    EXPECT_EQ(server.filter(QRegularExpression("^Quenbrook:")),
              access.filter(QRegularExpression("^Quenbrook:")));
    // The sales listing's Access syntax fails on SQL Server, into the error log.
    EXPECT_TRUE(errorLog().contains(
        "incompatible in the '&' operator.) in procedure InfVentas of Formulario frmPListado"))
        << errorLog().toStdString();
    EXPECT_TRUE(host.boxes.isEmpty());
}

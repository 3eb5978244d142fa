#include "DorrindaleTest.h"

#include "framework/clsDataBase.h"
#include "runtime/DateSerial.h"
#include "sales_by_dish/frmSeleccionaTurno.h"

#include "support/Screenshot.h"
#include "support/UserInput.h"
#include <QFile>
#include <QTimer>

using dorrindale::frmParametros;

TEST_F(DorrindaleTest, FamiliesAndTheirActiveDishesAreListedAndSelected) {
    fx.insert("productos", {{"Id", 12}, {"nombre", "Fugazzeta"}, {"estado", 0}, {"idrubro", 1}});
    fx.insert("rubros", {{"IdR", 4}, {"descripcion", "Cafetería"}, {"estado", 1}});
    fx.insert("productos", {{"Id", 40}, {"nombre", "Café"}, {"estado", 1}, {"idrubro", 4}});
    frmParametros& window = logIn();
    // One connection, server-side cursors; no scratch database.
    EXPECT_FALSE(QFile::exists(fx.spoolerFile()));
    EXPECT_EQ(framework::gDB->dbaccess->cursorLocation(), data::adUseServer);
    EXPECT_EQ(framework::gDB->spooler, nullptr);

    // Active families by name, all selected; the active dishes of them by name, all selected.
    EXPECT_EQ(names(window.FamiliasLista), QStringList({"Bebidas", "Cafetería", "Pizzas"}));
    EXPECT_EQ(names(window.FamiliasLista, true), names(window.FamiliasLista));
    EXPECT_EQ(window.FamiliasLista.text(1), "2");
    EXPECT_EQ(window.FamiliasLista.columnWidth(1), 0);
    EXPECT_EQ(names(window.ArticulosLista), QStringList({"Agua", "Café", "Muzzarella", "Napolitana"}));
    EXPECT_EQ(names(window.ArticulosLista, true), names(window.ArticulosLista));
    EXPECT_EQ(window.GetSelectedlv(window.ArticulosLista), "20,40,10,11");
    EXPECT_EQ(window.dtdesde.value(), runtime::dateSerial(2026, 12, 3));
    EXPECT_EQ(window.dthasta.value(), runtime::dateSerial(2026, 12, 4));
    saveScreenshot(window.window(), QStringLiteral("dorrindale-parametros"));

    // A click on one family lists its dishes alone, all selected again.
    EXPECT_TRUE(user::clickItem(window.ArticulosLista, 1));
    EXPECT_EQ(names(window.ArticulosLista, true), QStringList({"Agua"}));
    EXPECT_TRUE(user::clickItem(window.FamiliasLista, 3));
    EXPECT_EQ(names(window.ArticulosLista), QStringList({"Muzzarella", "Napolitana"}));
    EXPECT_EQ(names(window.ArticulosLista, true), names(window.ArticulosLista));
    EXPECT_TRUE(user::clickItem(window.FamiliasLista, 1, Qt::ControlModifier));
    EXPECT_EQ(names(window.ArticulosLista), QStringList({"Agua", "Muzzarella", "Napolitana"}));

    // No family selected: no dish, and the program goes on.
    window.FamiliasLista.setSelected(1, false);
    EXPECT_TRUE(user::clickItem(window.FamiliasLista, 3, Qt::ControlModifier));
    EXPECT_TRUE(names(window.FamiliasLista, true).isEmpty());
    EXPECT_EQ(window.ArticulosLista.count(), 0);
    EXPECT_EQ(window.ArticulosLista.columnCount(), 2);
    EXPECT_TRUE(host.boxes.isEmpty());
    EXPECT_FALSE(host.ended);
}

TEST_F(DorrindaleTest, AcceptOnAnEmptyShiftListKeepsTheChooserOpenAndExitChoosesNothing) {
    fx.exec("delete from sesion");
    frmParametros& window = logIn();
    QTimer::singleShot(0, [] {
        auto& chooser = forms::instance<dorrindale::frmSeleccionaTurno>();
        EXPECT_TRUE(user::click(chooser.cmdTurno.widget()));
        EXPECT_TRUE(user::click(chooser.cmdOk.widget()));
        EXPECT_TRUE(chooser.visible());
        EXPECT_TRUE(user::click(chooser.cmdSalir.widget()));
    });
    EXPECT_TRUE(user::click(window.cmdTurno.widget()));
    EXPECT_EQ(window.cmdTurno.tag(), "");
    EXPECT_TRUE(window.Frame1.visible());
    EXPECT_FALSE(window.lblAperturaTurno.visible());
}

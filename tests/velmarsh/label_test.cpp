#include "VelmarshTest.h"

#include "forms/Events.h"
#include "framework/clsDataBase.h"
#include "support/UserInput.h"

#include <QLineEdit>

using posdb::day;

namespace {

QString stored(PosFixture& fx) {
    return fx.scalar(QStringLiteral("select VALOR from REGISTRY where CLAVE = 'CSNETIQUETA'")).toText();
}

// The user replaces the label's text and moves on to the "Ver Listado" button.
void typeLabel(velmarsh::frmParametros& window, const QString& text) {
    user::focus(window.txtEtiqueta.widget());
    window.txtEtiqueta.lineEdit()->clear();
    EXPECT_TRUE(user::type(window.txtEtiqueta.widget(), text));
    user::focus(window.cmdVerListado.widget());
}

} // namespace

TEST_F(VelmarshTest, TheLabelIsStoredWhenItLosesTheFocusAndComesBackAtTheNextLoad) {
    velmarsh::frmParametros* window = &logIn();
    EXPECT_EQ(window->txtEtiqueta.text(), "LOC1");
    EXPECT_TRUE(fx.scalar("select count(*) from REGISTRY").equals(0));

    // Texts as typed; double quotes are dropped when read back; an empty label stays empty.
    const QString long300(300, QLatin1Char('x'));
    struct Case {
        QString typed;
        QString loaded;
    };
    const Case cases[] = {
        {"Salón \"Norte\"", "Salón Norte"}, {"D'Angelo's", "D'Angelo's"}, {long300, long300}, {"", ""}};
    for (const Case& c : cases) {
        typeLabel(*window, c.typed);
        EXPECT_EQ(stored(fx), c.typed);
        EXPECT_TRUE(user::closeBox(*window)); // closing the window stores it once more
        EXPECT_EQ(stored(fx), c.typed);
        window = &forms::instance<velmarsh::frmParametros>();
        window->show();
        EXPECT_EQ(window->txtEtiqueta.text(), c.loaded);
    }
    EXPECT_TRUE(fx.scalar("select count(*) from REGISTRY").equals(1));

    // The text in the box, not the stored one, goes to the report's lines.
    window->txtEtiqueta.setText(QStringLiteral("BARRA"));
    verListado(*window, day(2026, 12, 1), day(2026, 12, 1));
    EXPECT_EQ(framework::report<velmarsh::ActiveReport1>().local->text(), "BARRA");
    EXPECT_EQ(stored(fx), "");
}

TEST_F(VelmarshTest, TwoWorkstationsOnOneDatabaseShareTheLabel) {
    // The other workstation stored its label last: this one loads it, and the other reads what this one
    // stores.
    framework::clsDataBase other;
    other.OpenAccess();
    other.DBSaveSetting(QStringLiteral("CSNETIQUETA"), QStringLiteral("CAJA2"));
    velmarsh::frmParametros& window = logIn();
    EXPECT_EQ(window.txtEtiqueta.text(), "CAJA2");
    typeLabel(window, QStringLiteral("CAJA1"));
    EXPECT_EQ(other.dbgetsetting(QStringLiteral("CSNETIQUETA"), QStringLiteral("LOC1")), "CAJA1");
    EXPECT_TRUE(fx.scalar("select count(*) from REGISTRY").equals(1));
    other.CloseDatabase();
}

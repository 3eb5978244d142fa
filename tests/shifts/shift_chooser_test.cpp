#include "framework/ParametersWindow.h"
#include "framework/ProgramSession.h"
#include "framework/clsDataBase.h"
#include "framework/frmSeleccionaTurno.h"

#include "forms/Events.h"
#include "runtime/DateSerial.h"
#include "support/LocaleScope.h"
#include "support/PosFixture.h"
#include "support/QtPrinters.h"
#include "support/Screenshot.h"
#include "support/ScriptedHost.h"
#include "support/UserInput.h"

#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using namespace framework;

namespace {

using posdb::day;
using posdb::time;

class frmParametrosPrueba : public ParametersWindow {};

// A window whose chosen shift hides the date frame, and a chooser whose last day bounds the
// shift's closing.
class frmParametrosSinFechas : public ParametersWindow {
public:
    frmParametrosSinFechas() : ParametersWindow(DatesOnShift::Hide) {}
};
class frmSeleccionaTurnoPorCierre : public frmSeleccionaTurno {
public:
    frmSeleccionaTurnoPorCierre() : frmSeleccionaTurno(LastDayBounds::Closing) {}
};

QDateTime fixedNow() {
    return QDateTime(QDate(2026, 12, 2), QTime(10, 0, 0));
}

// A list view as GetSelectedlv reads it.
struct ListaPrueba {
    QStringList texts;
    QList<bool> selection;
    int count() const { return texts.size(); }
    bool selected(int i) const { return selection[i - 1]; }
    QString text(int i) const { return texts[i - 1]; }
};

class ShiftChooserTest : public ::testing::Test {
protected:
    void SetUp() override {
        runtime::setClock(fixedNow);
        start({.parametros = []() -> ParametersWindow& { return forms::instance<frmParametrosPrueba>(); }});
        // 1234: number 7, opened 5 March 2026 09:07, still open.
        fx.addShift(7, day(2026, 3, 5), time(9, 7), {{"Idsesion", 1234}});
        forms::instance<frmParametrosPrueba>().show();
    }
    void TearDown() override { session.reset(); }

    frmParametrosPrueba& parametros() { return forms::instance<frmParametrosPrueba>(); }

    // A session of the description with its databases open.
    void start(ProgramDescription description) {
        session.reset();
        session.emplace(std::move(description));
        session->newDatabase().OpenAccess();
    }

    frmSeleccionaTurno& chooser() { return shiftChooser(); }

    // The user presses the parameters window's shift button and, in the chooser, does what
    // the actions say.
    void chooseShift(const std::function<void(frmSeleccionaTurno&)>& actions) {
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [this] {
            ADD_FAILURE() << "the chooser stayed open";
            chooser().hide();
        });
        guard.start(5000);
        QTimer::singleShot(0, [this, actions] { actions(chooser()); });
        EXPECT_TRUE(user::click(framework::parametros().cmdTurno.widget()));
    }

    QStringList rowTexts(frmSeleccionaTurno& form) {
        QStringList texts;
        forms::Grid& grid = form.grdTurnos;
        for (int r = 1; r < grid.rows(); ++r) {
            QStringList cells;
            for (int c = 0; c < grid.cols(); ++c)
                cells << grid.textMatrix(r, c);
            texts << cells.join('|');
        }
        return texts;
    }

    LocaleScope locale{"es_AR.UTF-8"};
    PosFixture fx;
    ScriptedHost host;
    std::optional<ProgramSession> session;
};

TEST_F(ShiftChooserTest, FirstSearchListsTheOpenShiftsAndAceptarTakesTheNewest) {
    fx.addShift(104, day(2026, 12, 2), time(0, 0),
                {{"Idsesion", 4},
                 {"fechacierre", day(2026, 12, 2)},
                 {"horacierre", time(6, 0)},
                 {"idcajerocierre", 1}});
    chooseShift([this](frmSeleccionaTurno& form) {
        EXPECT_EQ(form.caption(), QStringLiteral("Selecciona Turno de Caja"));
        EXPECT_DOUBLE_EQ(form.DTPicker1.value(), runtime::toSerial(fixedNow()));
        EXPECT_DOUBLE_EQ(form.DTPicker2.value(), runtime::toSerial(fixedNow()));
        EXPECT_TRUE(form.frameSearching.widget()->isVisible());
        EXPECT_TRUE(user::click(form.cmdTurno.widget()));
        EXPECT_FALSE(form.frameSearching.widget()->isVisible());
        EXPECT_EQ(rowTexts(form), (QStringList{"3|103|02/12/26 08:00|ana|||0,00",
                                               "4|104|02/12/26 00:00|ana|02/12/26 06:00|admin|0,00",
                                               "1234|7|05/03/26 09:07|ana|||0,00"}));
        EXPECT_FALSE(saveScreenshot(form.window(), QStringLiteral("shift-chooser")).isEmpty());
        EXPECT_TRUE(user::click(form.cmdOk.widget()));
    });
    EXPECT_EQ(parametros().cmdTurno.tag(), QStringLiteral("3"));
    EXPECT_EQ(parametros().mNroTurno, 103);
    EXPECT_EQ(parametros().lblAperturaTurno.caption(), QStringLiteral("02/12/26 08:00"));
    EXPECT_TRUE(parametros().lblAperturaTurno.visible());
    EXPECT_EQ(parametros().lblCierreTurno.caption(), QString());
    EXPECT_TRUE(parametros().lblCierreTurno.visible());
    EXPECT_FALSE(parametros().Frame1.enabled());
    EXPECT_FALSE(chooser().visible());
    EXPECT_TRUE(host.boxes.isEmpty());
    EXPECT_FALSE(saveScreenshot(parametros().window(), QStringLiteral("parameters-shift-chosen")).isEmpty());
}

TEST_F(ShiftChooserTest, RangeEndsAtTheMidnightThatStartsTheLastDay) {
    chooseShift([this](frmSeleccionaTurno& form) {
        form.DTPicker1.setValue(runtime::dateSerial(2026, 12, 1) + runtime::timeSerial(17, 0, 0));
        form.DTPicker2.setValue(runtime::dateSerial(2026, 12, 1) + runtime::timeSerial(23, 0, 0));
        user::click(form.cmdTurno.widget());
        EXPECT_EQ(rowTexts(form),
                  (QStringList{"3|103|02/12/26 08:00|ana|||0,00", "1234|7|05/03/26 09:07|ana|||0,00"}));
        form.DTPicker2.setValue(runtime::dateSerial(2026, 12, 2));
        user::click(form.cmdTurno.widget());
        EXPECT_EQ(rowTexts(form), (QStringList{"3|103|02/12/26 08:00|ana|||0,00",
                                               "2|102|01/12/26 16:00|ana|02/12/26 00:30|admin|1000,00",
                                               "1|101|01/12/26 08:00|ana|01/12/26 16:00|ana|2300,00",
                                               "1234|7|05/03/26 09:07|ana|||0,00"}));
        EXPECT_TRUE(user::clickCell(form.grdTurnos, 4, 2));
        EXPECT_TRUE(user::doubleClickCell(form.grdTurnos, 4, 2));
    });
    EXPECT_EQ(parametros().cmdTurno.tag(), QStringLiteral("1234"));
    EXPECT_EQ(parametros().mNroTurno, 7);
    EXPECT_EQ(parametros().lblAperturaTurno.caption(), QStringLiteral("05/03/26 09:07"));
    EXPECT_EQ(parametros().lblCierreTurno.caption(), QString());
    EXPECT_FALSE(parametros().Frame1.enabled());

    // The next call shows the last search as it was, and Salir keeps the choice.
    chooseShift([this](frmSeleccionaTurno& form) {
        EXPECT_EQ(form.grdTurnos.rows(), 5);
        EXPECT_EQ(form.grdTurnos.row(), 4);
        EXPECT_DOUBLE_EQ(form.DTPicker2.value(), runtime::dateSerial(2026, 12, 2));
        EXPECT_FALSE(form.frameSearching.widget()->isVisible());
        user::clickCell(form.grdTurnos, 1, 1);
        user::click(form.cmdSalir.widget());
    });
    EXPECT_EQ(parametros().cmdTurno.tag(), QStringLiteral("1234"));
}

TEST_F(ShiftChooserTest, AProgramMayBoundTheShiftsClosingAndHideTheDates) {
    start({.parametros = []() -> ParametersWindow& { return forms::instance<frmParametrosSinFechas>(); },
           .shiftChooser = []() -> frmSeleccionaTurno& {
               return forms::instance<frmSeleccionaTurnoPorCierre>();
           }});
    frmParametrosSinFechas& window = forms::instance<frmParametrosSinFechas>();
    window.show();
    chooseShift([this](frmSeleccionaTurno& form) {
        EXPECT_EQ(&form, &forms::instance<frmSeleccionaTurnoPorCierre>());
        form.DTPicker1.setValue(runtime::dateSerial(2026, 12, 1));
        form.DTPicker2.setValue(runtime::dateSerial(2026, 12, 2));
        user::click(form.cmdTurno.widget());
        EXPECT_EQ(rowTexts(form), (QStringList{"3|103|02/12/26 08:00|ana|||0,00",
                                               "1|101|01/12/26 08:00|ana|01/12/26 16:00|ana|2300,00",
                                               "1234|7|05/03/26 09:07|ana|||0,00"}));
        EXPECT_TRUE(user::doubleClickCell(form.grdTurnos, 2, 1));
    });
    EXPECT_EQ(window.cmdTurno.tag(), QStringLiteral("1"));
    EXPECT_FALSE(window.Frame1.visible());
    EXPECT_TRUE(window.Frame1.enabled());
}

TEST_F(ShiftChooserTest, EmptyListChoosesNothing) {
    fx.exec(QStringLiteral("delete from sesion"));
    bool stayedOpen = false;
    chooseShift([&](frmSeleccionaTurno& form) {
        user::click(form.cmdTurno.widget());
        EXPECT_EQ(form.grdTurnos.rows(), 2);
        user::click(form.cmdOk.widget());
        user::doubleClickCell(form.grdTurnos, 1, 1);
        stayedOpen = form.visible();
        user::click(form.cmdSalir.widget());
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(parametros().cmdTurno.tag(), QString());
    EXPECT_TRUE(parametros().Frame1.enabled());
    EXPECT_FALSE(parametros().lblAperturaTurno.visible());
}

TEST_F(ShiftChooserTest, CloseBoxReturnsNothingAndTheNextCallStartsAfresh) {
    chooseShift([](frmSeleccionaTurno& form) {
        form.DTPicker1.setValue(runtime::dateSerial(2026, 1, 1));
        user::click(form.cmdTurno.widget());
        user::clickCell(form.grdTurnos, 1, 1);
        user::closeBox(form);
    });
    EXPECT_EQ(parametros().cmdTurno.tag(), QString());
    EXPECT_TRUE(parametros().Frame1.enabled());
    chooseShift([](frmSeleccionaTurno& form) {
        EXPECT_EQ(form.grdTurnos.rows(), 2);
        EXPECT_EQ(form.grdTurnos.textMatrix(1, 0), QString());
        EXPECT_DOUBLE_EQ(form.DTPicker1.value(), runtime::toSerial(fixedNow()));
        EXPECT_TRUE(form.frameSearching.widget()->isVisible());
        user::click(form.cmdSalir.widget());
    });
}

TEST_F(ShiftChooserTest, ExitButtonClosesTheDatabasesAndEndsTheProgram) {
    EXPECT_TRUE(user::click(parametros().cmdSalir.widget()));
    EXPECT_TRUE(host.ended);
    EXPECT_FALSE(gDB->dbaccess);
    EXPECT_FALSE(gDB->spooler);
}

TEST_F(ShiftChooserTest, ExportReachesTheParametersWindowsDialogAndPictures) {
    EXPECT_EQ(&framework::parametros(), &parametros());
    EXPECT_EQ(parametros().ImageList1.count(), 4);
}

TEST_F(ShiftChooserTest, SelectedListItemsJoinWithCommas) {
    ListaPrueba lista{{"3", "5", "7", "12"}, {true, false, true, true}};
    EXPECT_EQ(parametros().GetSelectedlv(lista), QStringLiteral("3,7,12"));
    lista.selection = {false, false, false, false};
    EXPECT_EQ(parametros().GetSelectedlv(lista), QString());
}

} // namespace

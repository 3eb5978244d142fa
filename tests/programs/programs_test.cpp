#include "deleted_items/ActiveReport1.h"
#include "deleted_items/Quenbrook.h"
#include "deleted_items/frmParametros.h"
#include "framework/CurrentUser.h"
#include "framework/GridHelpers.h"
#include "framework/Main.h"
#include "framework/ProgramSession.h"
#include "framework/clsDataBase.h"
#include "framework/frmLogin.h"
#include "invoice_lines/ActiveReport1.h"
#include "invoice_lines/Velmarsh.h"
#include "invoice_lines/frmParametros.h"
#include "reports/PreviewWindow.h"
#include "sales_by_dish/Dorrindale.h"
#include "sales_by_dish/arDorrindale.h"
#include "sales_by_dish/frmParametros.h"
#include "support/PosFixture.h"
#include "support/ScriptedHost.h"
#include "support/SettingsScope.h"
#include "support/UserInput.h"

#include "forms/Events.h"

#include <QPointer>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// Starts the program, logs in as admin and checks its own window and report came up.
template <class Parametros, class Report>
void startsItsOwnWindowAndReport(framework::ProgramDescription description, const QString& title) {
    framework::ProgramSession session(std::move(description));
    forms::fire([] { framework::Main(); });
    ASSERT_TRUE(user::type(forms::instance<framework::frmLogin>().txtPass.widget(), QStringLiteral("\r")));
    EXPECT_EQ(runtime::App::title(), title);
    EXPECT_TRUE(forms::isLoaded<Parametros>());
    EXPECT_EQ(&framework::parametros(), &forms::instance<Parametros>());
    EXPECT_NE(dynamic_cast<Report*>(&framework::report()), nullptr);
}

} // namespace

// Classes of the same names from the three programs live in one binary, each program
// bringing its own.
TEST(Programs, EachDescriptionBringsItsOwnWindowAndReport) {
    SettingsScope settings;
    PosFixture fx;
    ScriptedHost host;
    for (int round = 0; round < 2; ++round) {
        startsItsOwnWindowAndReport<quenbrook::frmParametros, quenbrook::ActiveReport1>(
            quenbrook::program(), QStringLiteral("Quenbrook"));
        startsItsOwnWindowAndReport<velmarsh::frmParametros, velmarsh::ActiveReport1>(
            velmarsh::program(), QStringLiteral("Velmarsh"));
        startsItsOwnWindowAndReport<dorrindale::frmParametros, dorrindale::arDorrindale>(
            dorrindale::program(), QStringLiteral("Dorrindale"));
    }
}

// A session's end leaves nothing of its run behind: the windows still loaded and the preview
// are deleted and the program-wide values cleared.
TEST(Programs, ASessionsEndLeavesNothingOfItsRun) {
    SettingsScope settings;
    PosFixture fx;
    ScriptedHost host;
    QPointer<QWidget> window;
    QPointer<QWidget> preview;
    {
        framework::ProgramSession session(quenbrook::program());
        forms::fire([] { framework::Main(); });
        ASSERT_TRUE(
            user::type(forms::instance<framework::frmLogin>().txtPass.widget(), QStringLiteral("\r")));
        window = forms::instance<quenbrook::frmParametros>().window();
        framework::showReport(framework::report());
        preview = framework::preview();
        framework::gCategorizacion = true;
        framework::gFilasGrilla[9] = 4;
        framework::gColOrden = 2;
        framework::gSentidoOrden = 2;
        ASSERT_TRUE(window && preview);
        EXPECT_EQ(framework::gIdUsuario, 1);
    }
    EXPECT_FALSE(window);
    EXPECT_FALSE(preview);
    EXPECT_EQ(framework::gDB, nullptr);
    EXPECT_EQ(framework::gIdUsuario, 0);
    EXPECT_FALSE(framework::gCategorizacion);
    EXPECT_EQ(framework::gFilasGrilla[9], 0);
    EXPECT_EQ(framework::gColOrden, 0);
    EXPECT_EQ(framework::gSentidoOrden, 0);
    EXPECT_EQ(framework::preview(), nullptr);
    EXPECT_TRUE(host.boxes.isEmpty());
}

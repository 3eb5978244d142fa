#include "sales_by_dish/Dorrindale.h"
#include "sales_by_dish/arDorrindale.h"
#include "sales_by_dish/frmParametros.h"

#include "../reports/PageQueries.h"

#include "forms/Events.h"
#include "framework/Main.h"
#include "framework/ProgramSession.h"
#include "framework/frmLogin.h"
#include "runtime/DateSerial.h"
#include "runtime/Program.h"
#include "support/ScriptedHost.h"
#include "support/SettingsScope.h"
#include "support/UserInput.h"
#include "tools/pos/DemoInstallation.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(DorrindaleDemo, AWeekOfTheDemoTradeShowsEverySection) {
    QTemporaryDir dir;
    SettingsScope settings;
    ScriptedHost host;
    demo::Options options;
    options.days = 7;
    const demo::Counts made = demo::makeInstallation(dir.filePath("pos"), options);
    EXPECT_GT(made.discounts, 0);

    runtime::App::setPath(demo::programFolder(dir.filePath("pos")));
    framework::ProgramSession session(dorrindale::program());
    forms::fire([] { framework::Main(); });
    EXPECT_TRUE(user::type(forms::instance<framework::frmLogin>().txtPass.widget(), "\r"));
    ASSERT_TRUE(forms::isLoaded<dorrindale::frmParametros>());
    auto& window = forms::instance<dorrindale::frmParametros>();

    // The dishes off the menu are not listed, yet "Todos" reports their sales.
    QStringList dishes;
    for (int i = 1; i <= window.ArticulosLista.count(); ++i)
        dishes << window.ArticulosLista.subItem(i, 1);
    EXPECT_GT(dishes.size(), 30);
    EXPECT_FALSE(dishes.contains("Pizza de anchoas"));
    window.chkTodos.setValue(1);
    window.dtdesde.setValue(runtime::Variant::date(runtime::today() - 6));
    EXPECT_TRUE(user::click(window.cmdVerListado.widget()));
    EXPECT_TRUE(host.boxes.isEmpty());

    auto& report = framework::report<dorrindale::arDorrindale>();
    const reports::Pages& pages = report.pages();
    EXPECT_GT(pages.size(), 3);
    EXPECT_GT(countText(pages, "Pizza de anchoas"), 0);
    EXPECT_NE(report.vDesc->text(), "0");
    EXPECT_GT(countText(pages, "Extra queso"), 0);
    EXPECT_GT(countText(pages, "Sin sal"), 0);

    runtime::App::setPath(QString());
}

#include "deleted_items/ActiveReport1.h"
#include "deleted_items/Quenbrook.h"
#include "deleted_items/frmParametros.h"
#include "framework/ProgramDescription.h"
#include "framework/frmParametrosBase.h"
#include "support/ScriptedHost.h"

#include <gtest/gtest.h>

// A second program whose own classes carry the same names as Quenbrook's.
namespace velmarsh {

class frmParametros : public framework::frmParametrosBase {};

class ActiveReport1 : public framework::PreviewReport {};

framework::ProgramDescription program() {
    return {.title = QStringLiteral("Velmarsh"),
            .parametros = []() -> framework::frmParametrosBase& { return forms::instance<frmParametros>(); },
            .report = [] { return std::make_unique<ActiveReport1>(); }};
}

} // namespace velmarsh

TEST(TwoPrograms, EachDescriptionBringsItsOwnWindowAndReport) {
    ScriptedHost host;
    for (int round = 0; round < 2; ++round) {
        framework::install(quenbrook::program());
        EXPECT_EQ(runtime::App::title(), QStringLiteral("Quenbrook"));
        EXPECT_EQ(&framework::parametros(), &forms::instance<quenbrook::frmParametros>());
        EXPECT_NE(dynamic_cast<quenbrook::ActiveReport1*>(&framework::report()), nullptr);

        framework::install(velmarsh::program());
        EXPECT_EQ(runtime::App::title(), QStringLiteral("Velmarsh"));
        EXPECT_EQ(&framework::parametros(), &forms::instance<velmarsh::frmParametros>());
        EXPECT_NE(dynamic_cast<velmarsh::ActiveReport1*>(&framework::report()), nullptr);
    }
    framework::install({});
    forms::unloadAll();
}

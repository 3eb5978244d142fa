#include "DorrindaleTest.h"

#include "sales_by_dish/Dorrindale.h"

#include "forms/Events.h"
#include "framework/Main.h"
#include "framework/ProgramDescription.h"
#include "framework/frmLogin.h"
#include "runtime/DateSerial.h"
#include "support/UserInput.h"

#include <QFile>

namespace {

QDateTime fixedNow() {
    return QDateTime(QDate(2026, 12, 3), QTime(10, 30, 15));
}

} // namespace

void DorrindaleTest::SetUp() {
    runtime::setClock(fixedNow);
    QFile::remove(fx.spoolerFile());
    framework::install(dorrindale::program());
}

void DorrindaleTest::TearDown() {
    framework::install({});
    forms::unloadAll();
    runtime::setClock(nullptr);
}

dorrindale::frmParametros& DorrindaleTest::logIn() {
    forms::fire([] { framework::Main(); });
    framework::frmLogin& login = forms::instance<framework::frmLogin>();
    EXPECT_TRUE(user::type(login.txtPass.widget(), QStringLiteral("\r")));
    EXPECT_TRUE(forms::isLoaded<dorrindale::frmParametros>());
    return forms::instance<dorrindale::frmParametros>();
}

dorrindale::arDorrindale& DorrindaleTest::verListado(dorrindale::frmParametros& window, double desde,
                                                     double hasta) {
    window.dtdesde.setValue(runtime::Variant::date(desde));
    window.dthasta.setValue(runtime::Variant::date(hasta));
    return verListado(window);
}

dorrindale::arDorrindale& DorrindaleTest::verListado(dorrindale::frmParametros& window) {
    EXPECT_TRUE(user::click(window.cmdVerListado.widget()));
    return framework::report<dorrindale::arDorrindale>();
}

QStringList DorrindaleTest::names(const forms::ListView& lv, bool selectedOnly) {
    QStringList result;
    for (int i = 1; i <= lv.count(); ++i)
        if (!selectedOnly || lv.selected(i)) result << lv.subItem(i, 1);
    return result;
}
